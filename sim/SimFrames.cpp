#include "SimFrames.h"

namespace tq3sim {

quint8 frameChecksum(QByteArrayView bytes)
{
    quint8 sum = 0;
    for (char c : bytes)
        sum = static_cast<quint8>(sum + static_cast<quint8>(c));
    return sum;
}

static QByteArray buildFrame(char start, quint8 code, QByteArrayView payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + 4);
    frame.append(start);
    frame.append(static_cast<char>(code));
    frame.append(static_cast<char>(payload.size()));
    frame.append(payload);
    frame.append(static_cast<char>(frameChecksum(frame)));
    return frame;
}

QByteArray buildAnswer(quint8 type, QByteArrayView payload)
{
    return buildFrame(AnswerStart, type, payload.first(std::min(payload.size(), MaxAnswerPayload)));
}

QByteArray buildCommand(quint8 code, QByteArrayView payload)
{
    return buildFrame(CommandStart, code, payload.first(std::min<qsizetype>(payload.size(), 255)));
}

void CommandParser::append(QByteArrayView bytes, SimTime now)
{
    if (bytes.isEmpty())
        return;
    buffer_.append(bytes);
    lastByteAt_ = now;
}

void CommandParser::skipToStart()
{
    const qsizetype start = buffer_.indexOf(CommandStart);
    if (start < 0)
        buffer_.clear();
    else if (start > 0)
        buffer_.remove(0, start);
}

std::optional<ReceivedFrame> CommandParser::next()
{
    skipToStart();
    if (buffer_.size() < 3)
        return std::nullopt;
    const qsizetype length = static_cast<quint8>(buffer_[2]);
    const qsizetype total = length + 4;
    if (buffer_.size() < total)
        return std::nullopt;

    ReceivedFrame frame;
    frame.time = lastByteAt_;
    frame.code = static_cast<quint8>(buffer_[1]);
    frame.payload = buffer_.mid(3, length);
    frame.checksumOk =
        frameChecksum(QByteArrayView(buffer_).first(total - 1)) == static_cast<quint8>(buffer_[total - 1]);
    // A bad frame may have started on a stray "M": only that byte is known to be wrong.
    buffer_.remove(0, frame.checksumOk ? total : 1);
    return frame;
}

std::optional<QByteArray> CommandParser::expireStale(SimTime now)
{
    skipToStart();
    if (buffer_.isEmpty() || now - lastByteAt_ < FrameGap)
        return std::nullopt;
    QByteArray stale = buffer_;
    buffer_.remove(0, 1);
    skipToStart();
    return stale;
}

std::optional<SimTime> CommandParser::deadline() const
{
    if (buffer_.isEmpty())
        return std::nullopt;
    return lastByteAt_ + FrameGap;
}

} // namespace tq3sim

namespace tq3sim {

QByteArray formatLogLine(const ReceivedFrame& frame)
{
    QByteArray line = QByteArray::number(static_cast<qint64>(frame.time.count()));
    line += ' ';
    line += QByteArray::number(frame.code);
    line += frame.checksumOk ? " ok " : " bad ";
    line += frame.payload.isEmpty() ? QByteArray("-") : frame.payload.toHex();
    line += '\n';
    return line;
}

} // namespace tq3sim
