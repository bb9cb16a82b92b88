#pragma once
// The history as structured records: each record's time, kind, temperature and
// event text, in log order. Built from a download as the records arrive, or from
// a saved history (the text file the window and `tq3ctl history -o` write, or
// tq3ctl's CSV). Beside the event log, never instead of it: the log's lines and
// the export stay what they are.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tq3 {

// The controller's clock as it was written into a record, in seconds since
// 2000-01-01 00:00:00 of that clock. No time zone and no daylight saving: the
// controller's clock knows neither, and a chart must not move its records.
using HistoryTime = qint64;

// The time of a calendar date and time of day; nullopt when it is no date
// (month 13, 31 February, hour 24 ...).
std::optional<HistoryTime> MakeHistoryTime(int year, int month, int day, int hour, int minute, int second);
// The date and time back, for the texts of the chart and the CSV.
void SplitHistoryTime(HistoryTime t, int& year, int& month, int& day, int& hour, int& minute, int& second);

struct HistoryEntry
{
    HistoryTime time = 0;
    int kind = 0; // the record's kind: 4 cyclic temperature, 5 start ... 13 low temperature alarm
    // Tenths of a degree Celsius, for the kinds that carry a temperature. None for the
    // other kinds, and none for a reading whose whole degrees are 127 (the controller's
    // mark of a reading it has not got), since that is no temperature.
    std::optional<int> tenths;

    bool operator==(const HistoryEntry&) const = default;
};

// What reading a saved history found.
struct HistoryReadResult
{
    int records = 0; // lines taken as records
    int skipped = 0; // lines that are not records ("Koniec historii", foreign lines), never guessed at
    int closing = 0; // of those, the log's own closing lines ("Koniec historii", "Niepełna historia: ...")
};

class HistoryModel
{
public:
    void Clear();

    // A record of a download (8 bytes); false, and nothing added, for a kind without
    // a line or a record whose date is no date.
    bool AddRecord(const QByteArray& record);

    // A line of the event log ("2024/09/07 00:05:03  Brak 230V "); false, and nothing
    // added, when the line is not exactly such a record.
    bool AddLogLine(const QString& line);

    // A saved history: the history text file (lines ended by CR LF, code page 1250),
    // or tq3ctl's CSV (its header "timestamp,event,temperature" first), or the CSV for
    // spreadsheets (byte-order mark, ";" and the decimal comma). The records are added
    // after those already held.
    HistoryReadResult AddFile(const QByteArray& bytes);

    const std::vector<HistoryEntry>& Entries() const { return entries_; }
    bool IsEmpty() const { return entries_.empty(); }
    // Grows with every change, so that a view can tell it has something to redraw.
    quint64 Revision() const { return revision_; }

private:
    void Add(const HistoryEntry& entry);

    std::vector<HistoryEntry> entries_;
    quint64 revision_ = 0;
};

// "2024/09/07 00:05:03", the log's form; with '-' between the date's parts, the CSV's.
QString HistoryTimeText(HistoryTime t, QChar dateSeparator = QLatin1Char('/'));
// "21,5", "-0,2": tenths of a degree with the decimal comma, a sign only below zero.
QString TenthsText(int tenths);

// The event log's line of an entry, as the download writes it. A temperature kind
// without a reading gets no temperature text: the reading's tenths are not kept.
QString HistoryEntryLine(const HistoryEntry& entry);

// The CSV for Polish spreadsheets: UTF-8 with a byte-order mark, ";" between
// fields, the decimal comma, CR LF, one header row ("Data i czas;Zdarzenie;Temperatura [°C]").
QByteArray HistorySpreadsheetCsv(const std::vector<HistoryEntry>& entries);
// The same in pieces, for a CSV written as the records come: the mark and the header
// row, then one row an entry.
QByteArray HistorySpreadsheetStart();
QByteArray HistorySpreadsheetRow(const HistoryEntry& entry);

} // namespace tq3
