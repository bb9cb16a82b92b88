#include "LinePacer.h"

#include <algorithm>

namespace tq3sim {

namespace {
// Ten bits a byte on an 8N1 line: start, eight data, stop.
constexpr qint64 BitsPerByte = 10;
constexpr qint64 NanosPerSecond = 1'000'000'000;
} // namespace

LinePacer::LinePacer(int baud, bool pacing) : baud_(std::max(baud, 1)), pacing_(pacing) {}

LinePacer::Time LinePacer::byteOffset(qint64 n) const
{
    return Time(n * BitsPerByte * NanosPerSecond / baud_);
}

LinePacer::Time LinePacer::slotEnd() const
{
    return burstStart_ + byteOffset(scheduled_);
}

void LinePacer::enqueue(QByteArray element, Time now, Time pauseBefore)
{
    if (element.isEmpty())
        return;
    const bool idle = queue_.empty();
    if (idle && now >= slotEnd()) {
        burstStart_ = now;
        scheduled_ = 0;
        sent_ = 0;
    }
    scheduled_ += element.size();
    queue_.push_back({std::move(element), pauseBefore});
    if (idle)
        startPause(now);
}

void LinePacer::startPause(Time now)
{
    Element& front = queue_.front();
    if (front.pauseBefore <= Time::zero())
        return;
    if (pacing_)
        burstStart_ += front.pauseBefore;
    else
        resumeAt_ = now + front.pauseBefore;
    front.pauseBefore = {};
}

QByteArrayView LinePacer::writable(Time now) const
{
    if (queue_.empty())
        return {};
    QByteArrayView rest = QByteArrayView(queue_.front().bytes).sliced(frontSent_);
    if (!pacing_)
        return now < resumeAt_ ? QByteArrayView() : rest;
    if (now < burstStart_)
        return {};
    // Bytes whose due time has come: byte n is due at burstStart_ + byteOffset(n), which is at
    // or before now exactly when n * 10 s < (elapsed + 1 ns) * baud.
    const qint64 elapsed = (now - burstStart_).count();
    const qint64 scale = BitsPerByte * NanosPerSecond;
    const qint64 due = std::min(scheduled_, ((elapsed + 1) * baud_ + scale - 1) / scale);
    return rest.first(std::clamp<qsizetype>(due - sent_, 0, rest.size()));
}

void LinePacer::consumed(qsizetype count, Time now)
{
    while (count > 0 && !queue_.empty()) {
        const qsizetype take = std::min(count, queue_.front().bytes.size() - frontSent_);
        frontSent_ += take;
        sent_ += take;
        count -= take;
        if (frontSent_ == queue_.front().bytes.size()) {
            queue_.pop_front();
            frontSent_ = 0;
            if (!queue_.empty())
                startPause(now);
        }
    }
    // Move the burst start on by whole seconds' worth of bytes (exact, no rounding) so the
    // products above stay small on a line that never goes idle.
    const qint64 block = baud_;
    while (sent_ >= block) {
        burstStart_ += byteOffset(block);
        sent_ -= block;
        scheduled_ -= block;
    }
}

std::optional<LinePacer::Time> LinePacer::nextDue(Time now) const
{
    if (queue_.empty())
        return std::nullopt;
    if (!pacing_)
        return std::max(now, resumeAt_);
    return burstStart_ + byteOffset(sent_);
}

void LinePacer::clear()
{
    queue_.clear();
    frontSent_ = 0;
    scheduled_ = sent_;
}

} // namespace tq3sim
