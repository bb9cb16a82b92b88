#include "link/AnswerAssembler.h"

#include "link/Frame.h"

namespace tq3 {

namespace {

constexpr qsizetype HeaderSize = 3; // start, type, length

} // namespace

void AnswerAssembler::Append(const QByteArray& bytes)
{
    RxBuffer_.append(bytes);
}

QList<Answer> AnswerAssembler::LineSilent()
{
    QList<Answer> found;
    for (;;) {
        while (auto answer = Next())
            found.append(std::move(*answer));
        if (RxBuffer_.isEmpty())
            return found;
        // What stands at the front is a candidate that will never be completed:
        // a frame may still begin inside it.
        RxBuffer_.remove(0, 1);
        FrameFound_ = false;
    }
}

void AnswerAssembler::Clear()
{
    RxBuffer_.clear();
    FrameFound_ = false;
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
        if (RxBuffer_.size() < HeaderSize)
            return std::nullopt;

        const int length = static_cast<quint8>(RxBuffer_.at(2));
        if (length > MaxAnswerPayload) {
            // That "m" was noise; a true frame may begin right behind it.
            RxBuffer_.remove(0, 1);
            FrameFound_ = false;
            continue;
        }

        const qsizetype checksumAt = HeaderSize + length;
        if (RxBuffer_.size() <= checksumAt)
            return std::nullopt;

        if (FrameChecksum(RxBuffer_.constData(), checksumAt) !=
                static_cast<quint8>(RxBuffer_.at(checksumAt)) ||
            (known_ && !known_(static_cast<quint8>(RxBuffer_.at(1))))) {
            RxBuffer_.remove(0, 1);
            FrameFound_ = false;
            continue;
        }

        Answer answer;
        answer.type = static_cast<quint8>(RxBuffer_.at(1));
        answer.payload = RxBuffer_.mid(HeaderSize, length);
        // Out of the buffer before the caller acts on it, so a receive that
        // runs during the dispatch cannot hand the same frame out again.
        RxBuffer_.remove(0, checksumAt + 1);
        FrameFound_ = false;
        return answer;
    }
}

} // namespace tq3
