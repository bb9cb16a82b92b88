#include "history/HistoryModel.h"

#include "config/CodePage1250.h"
#include "history/HistoryFormat.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

namespace tq3 {

namespace {

constexpr int FirstKind = 4, LastKind = 13;
constexpr int UnknownWholeDegrees = 127;
constexpr qint64 EpochDay = 2451545; // the Julian day of 2000-01-01
constexpr qint64 DaySeconds = 86400;

const QByteArray Bom("\xEF\xBB\xBF");
const QString CtlCsvHeader = QStringLiteral("timestamp,event,temperature");
const QString SpreadsheetHeader = QStringLiteral("Data i czas;Zdarzenie;Temperatura [°C]");

std::optional<int> KnownTenths(int tenths)
{
    if (qAbs(tenths) / 10 == UnknownWholeDegrees)
        return std::nullopt;
    return tenths;
}

// "2024/09/07 00:05:03" or "2024-09-07 00:05:03" at the start of a text.
std::optional<HistoryTime> TimeAtStart(const QString& text, QChar dateSeparator, qsizetype& end)
{
    static const QRegularExpression slashes(
        QStringLiteral("^(\\d{4})/(\\d{2})/(\\d{2}) (\\d{2}):(\\d{2}):(\\d{2})"));
    static const QRegularExpression dashes(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2}) (\\d{2}):(\\d{2}):(\\d{2})"));
    const QRegularExpressionMatch m = (dateSeparator == QLatin1Char('/') ? slashes : dashes).match(text);
    if (!m.hasMatch())
        return std::nullopt;
    end = m.capturedEnd();
    const auto n = [&](int i) { return m.captured(i).toInt(); };
    return MakeHistoryTime(n(1), n(2), n(3), n(4), n(5), n(6));
}

// A temperature as tq3ctl's CSV writes it ("21.5", "-0.2") or as the spreadsheet
// CSV does ("21,5"): the sign, the whole degrees, the separator and one digit.
std::optional<int> TenthsOf(const QString& text, QChar separator)
{
    static const QRegularExpression point(QStringLiteral("^([+-]?)(\\d+)\\.(\\d)$"));
    static const QRegularExpression comma(QStringLiteral("^([+-]?)(\\d+),(\\d)$"));
    const QRegularExpressionMatch m = (separator == QLatin1Char('.') ? point : comma).match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int magnitude = m.captured(2).toInt() * 10 + m.captured(3).toInt();
    return m.captured(1) == QLatin1String("-") ? -magnitude : magnitude;
}

// The kind whose trimmed event text this is; 0 for none.
int KindOfEvent(const QString& text)
{
    for (int kind = FirstKind; kind <= LastKind; ++kind)
        if (HistoryEventText(kind).trimmed() == text)
            return kind;
    return 0;
}

// The fields of one CSV row; quoted fields may hold the separator and doubled quotes.
std::optional<QStringList> CsvFields(const QString& row, QChar separator)
{
    QStringList fields;
    QString field;
    bool quoted = false, wasQuoted = false;
    for (qsizetype i = 0; i < row.size(); ++i) {
        const QChar c = row[i];
        if (quoted) {
            if (c != QLatin1Char('"'))
                field += c;
            else if (i + 1 < row.size() && row[i + 1] == QLatin1Char('"'))
                field += row[++i];
            else
                quoted = false;
        } else if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == separator) {
            fields << field;
            field.clear();
            wasQuoted = false;
        } else if (wasQuoted) {
            return std::nullopt; // text after a closing quote
        } else {
            field += c;
        }
    }
    if (quoted)
        return std::nullopt;
    fields << field;
    return fields;
}

// A CSV row of either form: time, event, temperature (empty for the kinds without one).
std::optional<HistoryEntry> CsvEntry(const QString& row, QChar separator, QChar decimal)
{
    const std::optional<QStringList> f = CsvFields(row, separator);
    if (!f || f->size() != 3)
        return std::nullopt;
    qsizetype end = 0;
    const std::optional<HistoryTime> time = TimeAtStart(f->at(0), QLatin1Char('-'), end);
    const int kind = KindOfEvent(f->at(1));
    if (!time || end != f->at(0).size() || kind == 0)
        return std::nullopt;
    HistoryEntry entry{*time, kind, std::nullopt};
    if (!HistoryKindHasTemperature(kind))
        return f->at(2).isEmpty() ? std::optional(entry) : std::nullopt;
    const std::optional<int> tenths = TenthsOf(f->at(2), decimal);
    if (!tenths)
        return std::nullopt;
    entry.tenths = KnownTenths(*tenths);
    return entry;
}

QString TwoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

std::optional<HistoryTime> MakeHistoryTime(int year, int month, int day, int hour, int minute, int second)
{
    const QDate date(year, month, day);
    if (!date.isValid() || !QTime::isValid(hour, minute, second))
        return std::nullopt;
    return (date.toJulianDay() - EpochDay) * DaySeconds + hour * 3600 + minute * 60 + second;
}

void SplitHistoryTime(HistoryTime t, int& year, int& month, int& day, int& hour, int& minute, int& second)
{
    qint64 days = t / DaySeconds, rest = t % DaySeconds;
    if (rest < 0) {
        rest += DaySeconds;
        --days;
    }
    QDate::fromJulianDay(EpochDay + days).getDate(&year, &month, &day);
    hour = int(rest / 3600);
    minute = int(rest / 60 % 60);
    second = int(rest % 60);
}

void HistoryModel::Clear()
{
    entries_.clear();
    ++revision_;
}

void HistoryModel::Add(const HistoryEntry& entry)
{
    entries_.push_back(entry);
    ++revision_;
}

bool HistoryModel::AddRecord(const QByteArray& record)
{
    if (!HistoryLine(record))
        return false;
    const auto byte = [&](int i) { return int(quint8(record[i])); };
    const int kind = byte(1) >> 4;
    const std::optional<HistoryTime> time =
        MakeHistoryTime(2000 + byte(0), byte(1) & 0x0F, byte(2), byte(3), byte(4), byte(5));
    if (!time)
        return false;
    HistoryEntry entry{*time, kind, std::nullopt};
    if (HistoryKindHasTemperature(kind))
        entry.tenths = KnownTenths((byte(6) | byte(7) << 8) * 2500 / 1024 - 500);
    Add(entry);
    return true;
}

bool HistoryModel::AddLogLine(const QString& line)
{
    qsizetype end = 0;
    const std::optional<HistoryTime> time = TimeAtStart(line, QLatin1Char('/'), end);
    if (!time)
        return false;
    const QStringView rest = QStringView(line).mid(end);
    for (int kind = FirstKind; kind <= LastKind; ++kind) {
        const QString text = HistoryEventText(kind);
        if (!rest.startsWith(text))
            continue;
        const QStringView tail = rest.mid(text.size());
        HistoryEntry entry{*time, kind, std::nullopt};
        if (!HistoryKindHasTemperature(kind)) {
            if (!tail.isEmpty())
                return false;
            Add(entry);
            return true;
        }
        // " +21,5", " -0,2", or the bare "127,5" of a reading the controller has not got.
        static const QRegularExpression temperature(QStringLiteral("^(?: ([+-])(\\d+)|(127)),(\\d)$"));
        const QRegularExpressionMatch m = temperature.match(tail);
        if (!m.hasMatch())
            return false;
        if (m.capturedLength(3) == 0) {
            const int magnitude = m.captured(2).toInt() * 10 + m.captured(4).toInt();
            entry.tenths = KnownTenths(m.captured(1) == QLatin1String("-") ? -magnitude : magnitude);
        }
        Add(entry);
        return true;
    }
    return false;
}

HistoryReadResult HistoryModel::AddFile(const QByteArray& bytes)
{
    // The history text file is code page 1250; both CSV forms are UTF-8, the
    // spreadsheet's behind a byte-order mark.
    const bool spreadsheet = bytes.startsWith(Bom);
    const bool ctlCsv = !spreadsheet && bytes.startsWith(CtlCsvHeader.toLatin1());
    const QString text = spreadsheet ? QString::fromUtf8(bytes.mid(Bom.size()))
                         : ctlCsv    ? QString::fromUtf8(bytes)
                                     : FromCp1250(bytes);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (lines.last().isEmpty())
        lines.removeLast();
    // A CSV's header is no record and is not counted as a skipped line either.
    const bool csv = ctlCsv || (spreadsheet && !lines.isEmpty() && lines.first() == SpreadsheetHeader);
    const QChar separator = ctlCsv ? QLatin1Char(',') : QLatin1Char(';');
    const QChar decimal = ctlCsv ? QLatin1Char('.') : QLatin1Char(',');
    HistoryReadResult result;
    for (qsizetype i = csv ? 1 : 0; i < lines.size(); ++i) {
        bool taken = false;
        if (!csv) {
            taken = AddLogLine(lines[i]);
            if (lines[i] == QLatin1String("Koniec historii") ||
                lines[i].startsWith(QStringLiteral("Niepełna historia: ")))
                ++result.closing;
        } else if (const std::optional<HistoryEntry> entry = CsvEntry(lines[i], separator, decimal)) {
            Add(*entry);
            taken = true;
        }
        ++(taken ? result.records : result.skipped);
    }
    return result;
}

QString HistoryTimeText(HistoryTime t, QChar dateSeparator)
{
    int year, month, day, hour, minute, second;
    SplitHistoryTime(t, year, month, day, hour, minute, second);
    return QString::number(year) + dateSeparator + TwoDigits(month) + dateSeparator + TwoDigits(day) +
           QLatin1Char(' ') + TwoDigits(hour) + QLatin1Char(':') + TwoDigits(minute) + QLatin1Char(':') +
           TwoDigits(second);
}

QString TenthsText(int tenths)
{
    const int a = qAbs(tenths);
    return (tenths < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 10) + QLatin1Char(',') +
           QString::number(a % 10);
}

QString HistoryEntryLine(const HistoryEntry& entry)
{
    QString line = HistoryTimeText(entry.time) + HistoryEventText(entry.kind);
    if (entry.tenths)
        line += (*entry.tenths < 0 ? QStringLiteral(" ") : QStringLiteral(" +")) + TenthsText(*entry.tenths);
    return line;
}

QByteArray HistorySpreadsheetStart()
{
    return Bom + (SpreadsheetHeader + QStringLiteral("\r\n")).toUtf8();
}

QByteArray HistorySpreadsheetRow(const HistoryEntry& entry)
{
    // No event text holds ";" or a quote, so none needs quoting.
    QString row = HistoryTimeText(entry.time, QLatin1Char('-')) + QLatin1Char(';') +
                  HistoryEventText(entry.kind).trimmed() + QLatin1Char(';');
    if (entry.tenths)
        row += TenthsText(*entry.tenths);
    return (row + QStringLiteral("\r\n")).toUtf8();
}

QByteArray HistorySpreadsheetCsv(const std::vector<HistoryEntry>& entries)
{
    QByteArray bytes = HistorySpreadsheetStart();
    for (const HistoryEntry& e : entries)
        bytes += HistorySpreadsheetRow(e);
    return bytes;
}

} // namespace tq3
