#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <chrono>
#include <optional>

namespace tq3sim {

// Model time: how long the controller has been powered, as the runner or a test says.
using SimTime = std::chrono::microseconds;

inline constexpr char CommandStart = 'M';
inline constexpr char AnswerStart = 'm';
inline constexpr qsizetype MaxAnswerPayload = 100;

// 8-bit additive sum, the only check the line has.
quint8 frameChecksum(QByteArrayView bytes);

// An answer frame; a payload above the line's limit is cut to 100 bytes rather than sent malformed.
QByteArray buildAnswer(quint8 type, QByteArrayView payload);

// A command frame as the PC sends it (tests and tools use it).
QByteArray buildCommand(quint8 code, QByteArrayView payload);

struct ReceivedFrame
{
    SimTime time{};
    quint8 code = 0;
    QByteArray payload;
    bool checksumOk = false;
};

// Finds command frames in the received bytes. A frame that fails its checksum is reported
// (the log wants it) and the search goes on from the byte after its start, so a true frame
// hidden behind a stray "M" is still found.
class CommandParser
{
public:
    // A started frame that stops growing for this long was a false start.
    static constexpr SimTime FrameGap = std::chrono::milliseconds(200);

    void append(QByteArrayView bytes, SimTime now);
    // The next complete frame, good or bad; nothing while the buffer holds no whole frame.
    std::optional<ReceivedFrame> next();
    // Gives up a stalled partial frame and returns it; the search goes on from its second byte.
    std::optional<QByteArray> expireStale(SimTime now);
    // When expireStale would next have something to do.
    std::optional<SimTime> deadline() const;
    qsizetype buffered() const { return buffer_.size(); }

private:
    void skipToStart();

    QByteArray buffer_;
    SimTime lastByteAt_{};
};

} // namespace tq3sim

namespace tq3sim {

// One line of the frame log file, newline included:
//   <microseconds since start> <code> <ok|bad> <payload in hex, "-" when empty>
// for example "1523041 80 ok 47". Codes are decimal; the payload is lowercase hex without spaces.
QByteArray formatLogLine(const ReceivedFrame& frame);

} // namespace tq3sim
