#include "History.h"

#include <array>

namespace tq3sim {

QByteArray HistoryRecord::encode() const
{
    const QDate d = time.date();
    const QTime t = time.time();
    QByteArray bytes(8, '\0');
    bytes[0] = static_cast<char>((d.year() - 2000) & 0xFF);
    bytes[1] = static_cast<char>((d.month() & 0x0F) | (kind << 4));
    bytes[2] = static_cast<char>(d.day());
    bytes[3] = static_cast<char>(t.hour());
    bytes[4] = static_cast<char>(t.minute());
    bytes[5] = static_cast<char>(t.second());
    bytes[6] = static_cast<char>(temperatureRaw & 0xFF);
    bytes[7] = static_cast<char>(temperatureRaw >> 8);
    return bytes;
}

std::vector<HistoryRecord> makeHistory(int count, const QDateTime& end)
{
    // Kinds 0 and 14 have no text on the PC; the log carries them anyway.
    static constexpr std::array<quint8, 9> events{7, 8, 9, 10, 11, 12, 13, 0, 14};
    constexpr qint64 hour = 3600;

    std::vector<HistoryRecord> records;
    records.reserve(static_cast<size_t>(std::max(count, 0)));
    const QDateTime first = end.addSecs(-hour * (count + 1));
    for (int i = 0; i < count; ++i) {
        HistoryRecord r;
        r.time = first.addSecs(hour * i);
        r.temperatureRaw = static_cast<quint16>(285 + (i * 7) % 20);
        if (i == 0) {
            r.kind = static_cast<quint8>(EventKind::DeviceStart);
        } else if (i == 1) {
            r.kind = static_cast<quint8>(EventKind::GsmLinkUp);
            r.time = r.time.addSecs(-hour + 95);
        } else if (i % 6 == 0) {
            r.kind = events[static_cast<size_t>(i / 6) % events.size()];
            // Events fall between the hourly readings, so the times still increase.
            r.time = r.time.addSecs(60 * (7 + i % 40) + i % 60);
            if (r.kind == static_cast<quint8>(EventKind::HighTemperatureAlarm))
                r.temperatureRaw = 320;
            else if (r.kind == static_cast<quint8>(EventKind::LowTemperatureAlarm))
                r.temperatureRaw = 215;
        } else {
            r.kind = static_cast<quint8>(EventKind::CyclicTemperature);
        }
        records.push_back(r);
    }
    return records;
}

} // namespace tq3sim
