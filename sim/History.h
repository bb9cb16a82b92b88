#pragma once

#include <QByteArray>
#include <QDateTime>

#include <vector>

namespace tq3sim {

// Event kinds as the controller files them (high nibble of the record's month byte).
enum class EventKind : quint8
{
    CyclicTemperature = 4,
    DeviceStart = 5,
    GsmLinkUp = 6,
    MainsLost = 7,
    MainsRestored = 8,
    BatteryLow = 9,
    BatteryCharged = 10,
    HighTemperatureAlarm = 11,
    TemperatureNormal = 12,
    LowTemperatureAlarm = 13,
};

struct HistoryRecord
{
    QDateTime time;
    quint8 kind = 0;
    quint16 temperatureRaw = 0;

    // The 8 bytes of answer 71.
    QByteArray encode() const;
};

// A log of `count` records ending before `end`, one an hour, with every kind that has a text and
// a few that have none, so that a download exercises the whole event table.
std::vector<HistoryRecord> makeHistory(int count, const QDateTime& end);

} // namespace tq3sim
