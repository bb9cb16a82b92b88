#pragma once
// Finds the controller's answer frames in the characters received so far.
//
// Bytes are appended as they arrive; Next() takes out the next whole, valid
// frame, oldest first. Noise in front of a start byte "m" is dropped. A
// candidate whose length byte is above 100 or whose checksum is wrong is
// abandoned and the search resumes at the byte after its "m", so a true frame
// behind a false start byte is still found. A partial frame waits for more
// characters, but not for ever: the controller sends an answer back to back,
// so a candidate still incomplete when the line has gone silent is dead, and
// LineSilent() abandons it (and whatever else is left) in the same way.
// The buffer never holds more than one incomplete candidate frame (at most
// 103 bytes) once Next() has returned no frame.
#include <QByteArray>
#include <QList>
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
    // The answer types the other end sends. A candidate of any other type is
    // noise whose checksum matched by chance (one time in 256): it is passed
    // over like a wrong checksum, so the answers it would cover are kept.
    // Unset, every type is taken.
    void SetKnownTypes(std::function<bool(quint8)> known) { known_ = std::move(known); }
    // The next valid frame, already removed from the buffer; nullopt when no
    // whole frame stands in the buffer yet.
    std::optional<Answer> Next();
    // The line has been silent since the last Append: every frame still in the
    // buffer is returned, in order, and every incomplete candidate abandoned,
    // so that the next characters begin afresh.
    QList<Answer> LineSilent();
    void Clear();

    const QByteArray& RxBuffer() const { return RxBuffer_; }
    // A start byte has been located at the front of the buffer.
    bool FrameFound() const { return FrameFound_; }

private:
    QByteArray RxBuffer_;
    bool FrameFound_ = false;
    std::function<bool(quint8)> known_;
};

} // namespace tq3
