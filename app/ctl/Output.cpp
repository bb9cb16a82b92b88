#include "Output.h"

#include "config/CodePage1250.h"
#include "history/HistoryFormat.h"
#include "link/DeviceStatus.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <set>

namespace tq3ctl {

namespace {

using tq3::ConfigItem;
using tq3::ItemEncoding;
using tq3::Settings;

// The listings' labels; the JSON and the CSV are for programs and stay as they are.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(tq3ctl::Output)
};

// Labels and values in two columns.
QString Columns(const std::vector<std::pair<QString, QString>>& rows)
{
    qsizetype width = 0;
    for (const auto& [label, value] : rows)
        width = qMax(width, label.size());
    QString out;
    for (const auto& [label, value] : rows)
        out += value.isEmpty()
                   ? label + QStringLiteral(":\n")
                   : (label + QLatin1Char(':')).leftJustified(width + 2) + value + QLatin1Char('\n');
    return out;
}

// "+23,2" or "+4,9V" as a number.
double Number(QString text)
{
    if (text.endsWith(QLatin1Char('V')))
        text.chop(1);
    return text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

int Byte(const QByteArray& bytes, int i)
{
    return quint8(bytes.at(i));
}

int Word(const QByteArray& bytes, int i)
{
    return Byte(bytes, i) | (Byte(bytes, i + 1) << 8);
}

// The correction in degrees: bit 7 the sign, bits 0-6 quarter degrees.
double CorrectionDegrees(quint8 raw)
{
    const double magnitude = (raw & 0x7F) * 0.25;
    return raw > 128 ? -magnitude : magnitude;
}

QJsonValue ItemJson(const ConfigItem& item, const Settings& s)
{
    switch (item.encoding) {
    case ItemEncoding::Text:
    case ItemEncoding::SmsCentre:
        return tq3::FromCp1250(*tq3::TextOf(item, s));
    case ItemEncoding::SmsLimit: {
        const tq3::SmsLimit limit = tq3::DecodeSmsLimit(s.smsLimit);
        return QJsonObject{{QStringLiteral("limit"), limit.limit}, {QStringLiteral("filter"), limit.filter}};
    }
    case ItemEncoding::Thresholds:
        return QJsonObject{{QStringLiteral("min"), int(s.tempMin) - 128},
                           {QStringLiteral("max"), int(s.tempMax) - 128}};
    case ItemEncoding::Correction:
        return CorrectionDegrees(s.korekta);
    case ItemEncoding::Interval:
        return int(s.interval);
    case ItemEncoding::CallOnAlarm:
        return s.callOnAlarm == 1;
    case ItemEncoding::VoiceLimit:
        return int(s.voiceLimit);
    }
    return {};
}

QString TemperatureState(int flags)
{
    switch (flags & 3) {
    case 1:
        return Texts::tr("niska");
    case 2:
        return Texts::tr("wysoka");
    case 3:
        return Texts::tr("w normie");
    default:
        return {};
    }
}

} // namespace

QString SettingsText(const Settings& settings)
{
    std::vector<std::pair<QString, QString>> rows;
    rows.emplace_back(Texts::tr("Hasło dostępu"), tq3::FromCp1250(settings.password));
    for (const ConfigItem& item : tq3::ConfigItems())
        rows.emplace_back(tq3::ItemLabel(item), tq3::ItemText(item, settings));
    return Columns(rows);
}

QJsonObject SettingsJson(const Settings& settings)
{
    QJsonObject items;
    for (const ConfigItem& item : tq3::ConfigItems())
        items.insert(QLatin1String(item.key), ItemJson(item, settings));
    return QJsonObject{{QStringLiteral("password"), tq3::FromCp1250(settings.password)},
                       {QStringLiteral("settings"), items}};
}

std::vector<Difference> Differences(const Settings& file, const Settings& device)
{
    std::vector<Difference> out;
    for (const ConfigItem& item : tq3::ConfigItems())
        if (tq3::EncodeItem(item, file) != tq3::EncodeItem(item, device))
            out.push_back({&item, tq3::ItemText(item, file), tq3::ItemText(item, device)});
    return out;
}

QString DifferencesText(const std::vector<Difference>& differences)
{
    QString out;
    for (const Difference& d : differences) {
        out += tq3::ItemLabel(*d.item) + QLatin1Char('\n');
        //: The file's value; its colon and blanks line up with the controller's line below.
        out += Texts::tr("  plik:      %1\n").arg(d.file);
        //: The controller's value; lines up with the file's line above.
        out += Texts::tr("  sterownik: %1\n").arg(d.device);
    }
    return out;
}

QString StatusText(const QByteArray& status, const QString& version)
{
    std::vector<std::pair<QString, QString>> rows;
    if (!version.isEmpty())
        rows.emplace_back(Texts::tr("Wersja"), version);
    const tq3::DeviceStatusView view = tq3::DecodeStatus(status);
    if (view.modemStage) {
        //: The modem's start-up stage, by its number when the controller's stage has no name.
        const QString numbered = Texts::tr("etap %1").arg(Byte(status, 2));
        rows.emplace_back(Texts::tr("Modem GSM"), view.modemStage->isEmpty() ? numbered : *view.modemStage);
    }
    if (view.signalBar)
        rows.emplace_back(Texts::tr("Sygnał GSM"), Texts::tr("%1 z 20").arg(*view.signalBar));
    // The count alone: the window's "Zd:" prefix would only repeat the row's name.
    if (view.pending) {
        //: Events waiting to be sent.
        rows.emplace_back(Texts::tr("Zdarzenia"), QString::number(Byte(status, 1) & 0x7F));
    }
    if (status.size() > 5) {
        rows.emplace_back(Texts::tr("SMS (24h)"), QString::number(Byte(status, 4)));
        rows.emplace_back(Texts::tr("Połączenia (24h)"), QString::number(Byte(status, 5)));
    }
    if (view.temperature) {
        const QString state = TemperatureState(Byte(status, 0));
        rows.emplace_back(Texts::tr("Aktualna temperatura"),
                          *view.temperature +
                              (state.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(state)));
    }
    const auto voltage = [](const std::optional<QString>& text, const std::optional<bool>& good) {
        return *text + (good && !*good ? Texts::tr(" (za niskie)") : QString());
    };
    if (view.supply)
        rows.emplace_back(Texts::tr("Zasilacz 5V"), voltage(view.supply, view.supplyGood));
    if (view.battery)
        rows.emplace_back(Texts::tr("Bateria"), voltage(view.battery, view.batteryGood));
    return Columns(rows);
}

QJsonObject StatusJson(const QByteArray& status, const QString& version)
{
    QJsonObject o;
    if (!version.isEmpty())
        o.insert(QStringLiteral("version"), version.section(QLatin1Char(' '), -1));
    const tq3::DeviceStatusView view = tq3::DecodeStatus(status);
    if (!status.isEmpty()) {
        const int flags = Byte(status, 0);
        o.insert(QStringLiteral("temperature_state"), flags & 3);
        o.insert(QStringLiteral("battery_missing"), (flags & 4) != 0);
        o.insert(QStringLiteral("supply_missing"), (flags & 8) != 0);
    }
    if (view.pending)
        o.insert(QStringLiteral("pending_events"), Byte(status, 1) & 0x7F);
    if (view.modemStage) {
        o.insert(QStringLiteral("modem_stage"), Byte(status, 2));
        o.insert(QStringLiteral("modem_stage_text"), QString::fromUtf8(tq3::ModemStageName(Byte(status, 2))));
    }
    if (view.signalBar) {
        o.insert(QStringLiteral("signal"), Byte(status, 3));
        o.insert(QStringLiteral("signal_bar"), *view.signalBar);
    }
    if (status.size() > 5) {
        o.insert(QStringLiteral("sms_count"), Byte(status, 4));
        o.insert(QStringLiteral("call_count"), Byte(status, 5));
    }
    if (view.temperature) {
        o.insert(QStringLiteral("temperature"), Number(*view.temperature));
        o.insert(QStringLiteral("temperature_raw"), Word(status, 6));
    }
    if (view.supply) {
        o.insert(QStringLiteral("supply_voltage"), Number(*view.supply));
        o.insert(QStringLiteral("supply_raw"), Word(status, 8));
        o.insert(QStringLiteral("supply_ok"), view.supplyGood.value_or(false));
    }
    if (view.battery) {
        o.insert(QStringLiteral("battery_voltage"), Number(*view.battery));
        o.insert(QStringLiteral("battery_raw"), Word(status, 10));
        o.insert(QStringLiteral("battery_ok"), view.batteryGood.value_or(false));
    }
    return o;
}

QString CsvField(const QString& field)
{
    static const QString special = QStringLiteral(",\"\r\n");
    bool quote = false;
    for (const QChar c : field)
        quote = quote || special.contains(c);
    if (!quote)
        return field;
    return QLatin1Char('"') + QString(field).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString HistoryCsvHeader()
{
    return QStringLiteral("timestamp,event,temperature\r\n");
}

std::optional<QString> HistoryCsvRow(const QByteArray& record)
{
    if (!tq3::HistoryLine(record))
        return std::nullopt;
    const int kind = Byte(record, 1) >> 4;
    // The log's own texts, with a decimal point instead of the comma so that
    // the column reads as a number.
    const QString timestamp = tq3::FormatHistoryTimestamp(record).replace(QLatin1Char('/'), QLatin1Char('-'));
    QString temperature;
    if (tq3::HistoryKindHasTemperature(kind)) {
        temperature = tq3::FormatHistoryTemperature(quint16(Word(record, 6))).trimmed();
        if (temperature.startsWith(QLatin1Char('+')))
            temperature.remove(0, 1);
        temperature.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    return CsvField(timestamp) + QLatin1Char(',') + CsvField(tq3::HistoryEventText(kind).trimmed()) +
           QLatin1Char(',') + CsvField(temperature) + QStringLiteral("\r\n");
}

} // namespace tq3ctl
