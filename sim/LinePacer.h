#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <chrono>
#include <deque>
#include <optional>

namespace tq3sim {

// Holds what the controller has written and lets it out at the speed of the serial line.
// Each byte has a due time counted from the start of the current burst, so rounding never adds
// up however long the burst runs; a burst begins when bytes arrive at an idle line.
// Without pacing every element is offered whole at once. Pure: the caller supplies the time.
class LinePacer
{
public:
    using Time = std::chrono::nanoseconds;

    LinePacer(int baud, bool pacing);

    // With a pause, the line holds still for that long before the element's first byte, counted
    // from the moment the bytes before it are out.
    void enqueue(QByteArray element, Time now, Time pauseBefore = {});
    // The part of the front element that may be written at `now`; it never spans two elements,
    // so an element written unpaced is one write.
    QByteArrayView writable(Time now) const;
    // `count` bytes of writable() went out at `now`.
    void consumed(qsizetype count, Time now);
    // When writable() is next non-empty (`now` without pacing); nothing when the queue is empty.
    std::optional<Time> nextDue(Time now) const;
    bool empty() const { return queue_.empty(); }
    void clear();
    bool pacing() const { return pacing_; }
    // Offset of the n-th byte of a burst from its start.
    Time byteOffset(qint64 n) const;

private:
    struct Element
    {
        QByteArray bytes;
        Time pauseBefore{};
    };

    Time slotEnd() const;
    // The front element's pause begins at `now`: the bytes from here on are due that much later.
    void startPause(Time now);

    const int baud_;
    const bool pacing_;
    std::deque<Element> queue_;
    Time resumeAt_{}; // unpaced: nothing goes out before this
    qsizetype frontSent_ = 0;
    Time burstStart_{};
    qint64 scheduled_ = 0;
    qint64 sent_ = 0;
};

} // namespace tq3sim
