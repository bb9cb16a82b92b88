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

void LinePacer::enqueue(QByteArray element, Time now)
{
    if (element.isEmpty())
        return;
    if (queue_.empty() && now >= slotEnd()) {
        burstStart_ = now;
        scheduled_ = 0;
        sent_ = 0;
    }
    scheduled_ += element.size();
    queue_.push_back(std::move(element));
}

QByteArrayView LinePacer::writable(Time now) const
{
    if (queue_.empty())
        return {};
    QByteArrayView rest = QByteArrayView(queue_.front()).sliced(frontSent_);
    if (!pacing_)
        return rest;
    if (now < burstStart_)
        return {};
    // Bytes whose due time has come: byte n is due at burstStart_ + byteOffset(n), which is at
    // or before now exactly when n * 10 s < (elapsed + 1 ns) * baud.
    const qint64 elapsed = (now - burstStart_).count();
    const qint64 scale = BitsPerByte * NanosPerSecond;
    const qint64 due = std::min(scheduled_, ((elapsed + 1) * baud_ + scale - 1) / scale);
    return rest.first(std::clamp<qsizetype>(due - sent_, 0, rest.size()));
}

void LinePacer::consumed(qsizetype count)
{
    while (count > 0 && !queue_.empty()) {
        const qsizetype take = std::min(count, queue_.front().size() - frontSent_);
        frontSent_ += take;
        sent_ += take;
        count -= take;
        if (frontSent_ == queue_.front().size()) {
            queue_.pop_front();
            frontSent_ = 0;
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
        return now;
    return burstStart_ + byteOffset(sent_);
}

void LinePacer::clear()
{
    queue_.clear();
    frontSent_ = 0;
    scheduled_ = sent_;
}

} // namespace tq3sim
