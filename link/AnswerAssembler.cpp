#include "link/AnswerAssembler.h"

#include "link/Frame.h"

namespace tq3 {

namespace {

constexpr qsizetype HeaderSize = 3; // start, type, length

quint8 At(const QByteArray& bytes, qsizetype at)
{
    return static_cast<quint8>(bytes.at(at));
}

} // namespace

void AnswerAssembler::Append(const QByteArray& bytes)
{
    RxBuffer_.append(bytes);
}

void AnswerAssembler::Clear()
{
    RxBuffer_.clear();
    FrameFound_ = false;
}

bool AnswerAssembler::Fits(quint8 type, int length) const
{
    return length <= MaxAnswerPayload && (!fits_ || fits_(type, length));
}

std::optional<quint8> AnswerAssembler::WholeFrameAt(qsizetype at, qsizetype before) const
{
    if (RxBuffer_.at(at) != AnswerStart || at + HeaderSize > RxBuffer_.size())
        return std::nullopt;
    const quint8 type = At(RxBuffer_, at + 1);
    const int length = At(RxBuffer_, at + 2);
    const qsizetype checksumAt = at + HeaderSize + length;
    if (checksumAt >= before || checksumAt >= RxBuffer_.size() || !Fits(type, length) ||
        FrameChecksum(RxBuffer_.constData() + at, HeaderSize + length) != At(RxBuffer_, checksumAt))
        return std::nullopt;
    return type;
}

AnswerAssembler::Verdict AnswerAssembler::Judge() const
{
    if (RxBuffer_.size() < HeaderSize)
        return Verdict::Incomplete;
    const quint8 type = At(RxBuffer_, 1);
    const int length = At(RxBuffer_, 2);
    if (!Fits(type, length))
        return Verdict::False;

    const qsizetype checksumAt = HeaderSize + length;
    // Decided on the bytes within the span alone, so a frame that is whole
    // already and one whose tail is still on its way fare the same.
    const bool awaited = type == awaited_;
    for (qsizetype at = 1; at < checksumAt && at < RxBuffer_.size(); ++at) {
        if (const auto inner = WholeFrameAt(at, checksumAt); inner && (!awaited || *inner == awaited_))
            return Verdict::False;
    }

    if (RxBuffer_.size() <= checksumAt)
        return Verdict::Incomplete;
    if (FrameChecksum(RxBuffer_.constData(), checksumAt) != At(RxBuffer_, checksumAt))
        return Verdict::False;
    return Verdict::Frame;
}

std::optional<Answer> AnswerAssembler::Next()
{
    for (;;) {
        if (!FrameFound_) {
            const qsizetype start = RxBuffer_.indexOf(AnswerStart);
            if (start < 0) {
                // Nothing here can begin a frame any more.
                RxBuffer_.clear();
                return std::nullopt;
            }
            // Dropping from the front does not move the rest of the bytes.
            RxBuffer_.remove(0, start);
            FrameFound_ = true;
        }

        // The buffer now begins with a start byte.
        switch (Judge()) {
        case Verdict::Incomplete:
            return std::nullopt;
        case Verdict::False:
            // That "m" was noise; a true frame may begin right behind it.
            RxBuffer_.remove(0, 1);
            FrameFound_ = false;
            continue;
        case Verdict::Frame:
            break;
        }

        const int length = At(RxBuffer_, 2);
        Answer answer;
        answer.type = At(RxBuffer_, 1);
        answer.payload = RxBuffer_.mid(HeaderSize, length);
        // Out of the buffer before the caller acts on it, so a receive that
        // runs during the dispatch cannot hand the same frame out again.
        RxBuffer_.remove(0, HeaderSize + length + 1);
        FrameFound_ = false;
        return answer;
    }
}

} // namespace tq3
