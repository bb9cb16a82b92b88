#include "history/HistoryFormat.h"

#include "link/DeviceStatus.h"

#include "config/CodePage1250.h"

#include <QCoreApplication>

#include <array>

namespace tq3 {

namespace {

// A byte the record does not hold reads as 0; callers check the size where
// it matters.
int ByteAt(const QByteArray& bytes, qsizetype i)
{
    return i < bytes.size() ? static_cast<quint8>(bytes[i]) : 0;
}

QString TwoDigits(int value)
{
    return value < 10 ? QLatin1Char('0') + QString::number(value) : QString::number(value);
}

struct Event
{
    const char* logText; // the controller's words, padded as the log has them
    const char* name;    // the same trimmed, as the user is shown it
};

// By kind, from 4 (the cyclic record) to 13 (low temperature alarm).
constexpr Event Events[] = {
    {"       Zapis cykliczny temperatury  ",
     QT_TRANSLATE_NOOP("HistoryFormat", "Zapis cykliczny temperatury")},
    {"  Start urzadzenia ", QT_TRANSLATE_NOOP("HistoryFormat", "Start urzadzenia")},
    {"  Zestawienie łącza GSM ", QT_TRANSLATE_NOOP("HistoryFormat", "Zestawienie łącza GSM")},
    {"  Brak 230V ", QT_TRANSLATE_NOOP("HistoryFormat", "Brak 230V")},
    {"  Powrot 230V ", QT_TRANSLATE_NOOP("HistoryFormat", "Powrot 230V")},
    {"  Bateria rozladowana ", QT_TRANSLATE_NOOP("HistoryFormat", "Bateria rozladowana")},
    {"  Bateria naladowana ", QT_TRANSLATE_NOOP("HistoryFormat", "Bateria naladowana")},
    {"  Alarm!, Wysoka temperatura ", QT_TRANSLATE_NOOP("HistoryFormat", "Alarm!, Wysoka temperatura")},
    {"  Powrot do normy temperatury ", QT_TRANSLATE_NOOP("HistoryFormat", "Powrot do normy temperatury")},
    {"  Alarm!, Niska temperatura ", QT_TRANSLATE_NOOP("HistoryFormat", "Alarm!, Niska temperatura")},
};

const Event* EventOf(int kind)
{
    return kind >= 4 && kind <= 13 ? &Events[kind - 4] : nullptr;
}

} // namespace

QString FormatHistoryTimestamp(const QByteArray& record)
{
    return QString::number(ByteAt(record, 0) + 2000) + QLatin1Char('/') +
           TwoDigits(ByteAt(record, 1) & 0x0F) + QLatin1Char('/') + TwoDigits(ByteAt(record, 2)) +
           QLatin1Char(' ') + TwoDigits(ByteAt(record, 3)) + QLatin1Char(':') + TwoDigits(ByteAt(record, 4)) +
           QLatin1Char(':') + TwoDigits(ByteAt(record, 5));
}

QString FormatHistoryTemperature(quint16 raw)
{
    // The live temperature's scale and text, behind one blank.
    const QString text = TemperatureText(raw);
    // A whole-degree value of 127 means something of its own to the
    // controller, so it is written bare, without the blank and the sign.
    if (text.mid(1).section(QLatin1Char(','), 0, 0) == QLatin1String("127"))
        return text.mid(1);
    return QLatin1Char(' ') + text;
}

QString HistoryEventText(int kind)
{
    // Made once: reading a saved history compares every line with them.
    static const std::array<QString, std::size(Events)> texts = [] {
        std::array<QString, std::size(Events)> t;
        for (std::size_t i = 0; i < t.size(); ++i)
            t[i] = QString::fromUtf8(Events[i].logText);
        return t;
    }();
    return EventOf(kind) ? texts[std::size_t(kind - 4)] : QString();
}

QString HistoryEventName(int kind)
{
    return EventOf(kind) ? QCoreApplication::translate("HistoryFormat", EventOf(kind)->name) : QString();
}

bool HistoryKindHasTemperature(int kind)
{
    return kind == 4 || kind == 11 || kind == 12 || kind == 13;
}

std::optional<QString> HistoryLine(const QByteArray& record)
{
    // The controller always sends whole records; a short one is dropped
    // rather than shown with made-up fields.
    if (record.size() < HistoryRecordSize)
        return std::nullopt;
    const int kind = ByteAt(record, 1) >> 4;
    const QString text = HistoryEventText(kind);
    if (text.isEmpty())
        return std::nullopt;
    QString line = FormatHistoryTimestamp(record) + text;
    if (HistoryKindHasTemperature(kind))
        line += FormatHistoryTemperature(static_cast<quint16>(ByteAt(record, 6) | ByteAt(record, 7) << 8));
    return line;
}

std::optional<int> HistoryBytes(const QByteArray& payload)
{
    if (payload.size() < 2)
        return std::nullopt;
    return ByteAt(payload, 0) | ByteAt(payload, 1) << 8;
}

std::optional<int> HistoryTotal(const QByteArray& payload)
{
    const std::optional<int> total = HistoryBytes(payload);
    if (!total)
        return std::nullopt;
    return *total > HistoryGaugeCap ? HistoryGaugeCap : *total;
}

namespace {

// "z" takes the genitive: "z 1 rekordu", "z 2 rekordów", "z 200 rekordów".
const char* ShortfallSource(int announced)
{
    return announced == 1
               ? QT_TRANSLATE_NOOP("HistoryFormat", "Niepełna historia: odebrano %1 z %2 rekordu")
               : QT_TRANSLATE_NOOP("HistoryFormat", "Niepełna historia: odebrano %1 z %2 rekordów");
}

} // namespace

QString HistoryShortfallLine(int received, int announced)
{
    return QString::fromUtf8(ShortfallSource(announced)).arg(received).arg(announced);
}

QString HistoryShortfallText(int received, int announced)
{
    return QCoreApplication::translate("HistoryFormat", ShortfallSource(announced))
        .arg(received)
        .arg(announced);
}

QByteArray HistoryFileBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += ToCp1250(line);
        bytes += "\r\n";
    }
    return bytes;
}

QByteArray ClockPayload(const QDateTime& localTime)
{
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    const int fields[] = {date.year() % 100, date.month(),  date.day(),
                          time.hour(),       time.minute(), time.second()};
    QByteArray payload;
    for (int f : fields)
        payload.append(static_cast<char>(f));
    return payload;
}

} // namespace tq3
