#pragma once
// Finds the controller's answer frames in the characters received so far.
//
// Bytes are appended as they arrive; Next() takes out the next whole, valid
// frame, oldest first. Noise in front of a start byte "m" is dropped. Time
// plays no part: a line may pause anywhere, inside a frame too (converters
// pack bytes on their own timers, TCP and Wi-Fi deliver in bursts), so a
// frame still incomplete simply waits for the rest of its bytes. Whether an
// "m" starts a true frame is decided on what the bytes say, so that the same
// stream gives the same frames however it is split:
//   - a candidate of a type the other end never sends, or with a length its
//     type cannot have, is false as soon as its length byte is there;
//   - one whose checksum fails is false;
//   - one that holds a whole valid frame within its span gives way to it.
//     A false start in front of an answer claims bytes that the answer
//     fills, so the answer stands whole inside it; a true frame carries a
//     whole plausible frame in its payload only by a rare chance, and then
//     costs the resend of its request. The exception is a candidate of the
//     type the link is waiting for against a frame of another type: that is
//     taken for the awaited answer carrying bytes that look like a frame.
// A false candidate is dropped by its "m" alone, so the search resumes right
// behind it and a true frame behind a false start byte is still found. The
// buffer never holds more than one incomplete candidate frame (at most 103
// bytes) once Next() has returned no frame.
#include <QByteArray>
#include <functional>
#include <optional>

namespace tq3 {

struct Answer
{
    quint8 type = 0;
    QByteArray payload;
};

class AnswerAssembler
{
public:
    void Append(const QByteArray& bytes);
    // Whether the other end sends answers of this type with this many
    // payload bytes (at most 100 in any case). Unset, every frame fits.
    void SetAnswerFits(std::function<bool(quint8 type, int length)> fits) { fits_ = std::move(fits); }
    // The answer type being waited for, or NoneAwaited.
    static constexpr int NoneAwaited = -1;
    void SetAwaited(int type) { awaited_ = type; }
    int Awaited() const { return awaited_; }
    // The next valid frame, already removed from the buffer; nullopt when no
    // whole frame stands in the buffer yet.
    std::optional<Answer> Next();
    void Clear();

    const QByteArray& RxBuffer() const { return RxBuffer_; }
    // A start byte has been located at the front of the buffer.
    bool FrameFound() const { return FrameFound_; }

private:
    enum class Verdict
    {
        Frame,
        False,
        Incomplete,
    };
    // The candidate at the front of the buffer: its header as far as it is
    // there, the whole frames within its span, then its checksum.
    Verdict Judge() const;
    // A whole valid frame of a fitting type begins at the position and its
    // checksum byte stands before `before`; its type then.
    std::optional<quint8> WholeFrameAt(qsizetype at, qsizetype before) const;
    bool Fits(quint8 type, int length) const;

    QByteArray RxBuffer_;
    bool FrameFound_ = false;
    std::function<bool(quint8, int)> fits_;
    int awaited_ = NoneAwaited;
};

} // namespace tq3
