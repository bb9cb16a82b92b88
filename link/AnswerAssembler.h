#pragma once
// Finds the controller's answer frames in the characters received so far.
//
// Bytes are appended as they arrive; Next() takes out the next whole, valid
// frame, oldest first. Noise in front of a start byte "m" is dropped. A
// candidate whose length byte is above 100 or whose checksum is wrong is
// abandoned and the search resumes at the byte after its "m", so a true frame
// behind a false start byte is still found. A partial frame waits for more
// characters. The buffer never holds more than one incomplete candidate frame
// (at most 103 bytes) once Next() has returned no frame.
#include <QByteArray>
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
    // The next valid frame, already removed from the buffer; nullopt when no
    // whole frame stands in the buffer yet.
    std::optional<Answer> Next();
    void Clear();

    const QByteArray& RxBuffer() const { return RxBuffer_; }
    // A start byte has been located at the front of the buffer.
    bool FrameFound() const { return FrameFound_; }

private:
    QByteArray RxBuffer_;
    bool FrameFound_ = false;
};

} // namespace tq3
