#include "link/Frame.h"

namespace tq3 {

quint8 FrameChecksum(const char* data, qsizetype size)
{
    quint8 sum = 0;
    for (qsizetype i = 0; i < size; ++i)
        sum = static_cast<quint8>(sum + static_cast<quint8>(data[i]));
    return sum;
}

namespace {

QByteArray Build(char start, quint8 code, const QByteArray& payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + 4);
    frame.append(start);
    frame.append(static_cast<char>(code));
    // The length byte only counts to 255; callers stay within that.
    frame.append(static_cast<char>(static_cast<quint8>(payload.size())));
    frame.append(payload);
    frame.append(static_cast<char>(FrameChecksum(frame.constData(), frame.size())));
    return frame;
}

} // namespace

QByteArray BuildFrame(quint8 code, const QByteArray& payload)
{
    return Build(CommandStart, code, payload);
}

QByteArray BuildAnswerFrame(quint8 type, const QByteArray& payload)
{
    return Build(AnswerStart, type, payload);
}

} // namespace tq3
