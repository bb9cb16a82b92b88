#pragma once
// The controller's history records as lines of the event log, the export's
// bytes, and the clock command's payload. Pure functions.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace tq3 {

inline constexpr int HistoryRecordSize = 8;
inline constexpr int HistoryGaugeCap = 32760;

// "2024/09/07 00:05:03" from the first six bytes of a record (year byte + 2000).
// The record must hold at least 6 bytes.
QString FormatHistoryTimestamp(const QByteArray& record);

// " +21,5" / " -0,2": a blank, the sign and the temperature in tenths of a
// degree; a whole-degree magnitude of exactly 127 is written as "127,<tenths>"
// without the blank and the sign.
QString FormatHistoryTemperature(quint16 raw);

// The event text of a kind (high nibble of byte 1), empty for the kinds without one.
// It is the log's and the files' text, compared when they are read back: never translated.
QString HistoryEventText(int kind);
// The same event as the user is shown it outside the log (the chart's read-out), in
// the language in use: in Polish, the event text trimmed.
QString HistoryEventName(int kind);
bool HistoryKindHasTemperature(int kind);

// The log line of a record; nullopt for a kind without text, or for a record
// shorter than 8 bytes.
std::optional<QString> HistoryLine(const QByteArray& record);

// The log's size in bytes from answer 73 (16-bit little-endian, 8 a record);
// nullopt when the answer is shorter than 2 bytes.
std::optional<int> HistoryBytes(const QByteArray& payload);
// The gauge's maximum for it: the size, capped at 32760.
std::optional<int> HistoryTotal(const QByteArray& payload);

// The line that says a download ended with fewer records than announced. It closes
// the log and its saved file, where reading it back looks for it: never translated.
QString HistoryShortfallLine(int received, int announced);
// The same said to the user in the language in use (tq3ctl's message); in Polish
// the line itself.
QString HistoryShortfallText(int received, int announced);

// The log as a history text file: every line ended by CR LF, code page 1250.
QByteArray HistoryFileBytes(const QStringList& lines);

// Payload of the clock command: year % 100, month, day, hour, minute, second.
QByteArray ClockPayload(const QDateTime& localTime);

} // namespace tq3
