#include "config/ConfigItems.h"

#include "config/CodePage1250.h"
#include "config/TempFormat.h"

#include <QCoreApplication>

namespace tq3 {

namespace {

// Texts the controller sends as SMS, and the call flag, take longer to store.
constexpr quint16 ShortWrite = 10;
constexpr quint16 LongWrite = 60;

using E = ItemEncoding;
using S = Settings;

// Field colours of the window's design.
constexpr quint32 Yellow = 0xFFFF99;
constexpr quint32 Orange = 0xFFCC99;
constexpr quint32 Green = 0xCCFF99;
constexpr quint32 Sky = 0xA6CAF0;

constexpr std::array<ConfigItem, ItemCount> Items = {{
    {4, 5, E::Text, ShortWrite, "Edit_pin", "pin", QT_TRANSLATE_NOOP("ConfigItems", "PIN karty SIM"), &S::pin,
     Yellow, 4},
    {6, 7, E::SmsCentre, ShortWrite, "Edit_operator", "sms_centre",
     QT_TRANSLATE_NOOP("ConfigItems", "Centrum SMS"), &S::smsCentre, Yellow, 8},
    {8, 9, E::Text, ShortWrite, "Edit_Tel1", "tel1", QT_TRANSLATE_NOOP("ConfigItems", "Telefon nr. 1"),
     nullptr, Yellow, 12},
    {10, 11, E::Text, ShortWrite, "Edit_Tel2", "tel2", QT_TRANSLATE_NOOP("ConfigItems", "Telefon nr. 2"),
     nullptr, Yellow, 16},
    {12, 13, E::Text, ShortWrite, "Edit_Tel3", "tel3", QT_TRANSLATE_NOOP("ConfigItems", "Telefon nr. 3"),
     nullptr, Yellow, 20},
    {14, 15, E::Text, ShortWrite, "Edit_Tel4", "tel4", QT_TRANSLATE_NOOP("ConfigItems", "Telefon nr. 4"),
     nullptr, Yellow, 22},
    {16, 17, E::Text, LongWrite, "Edit_IN1N", "mains_lost",
     QT_TRANSLATE_NOOP("ConfigItems", "Zasilacz 5V: Brak"), &S::in1n, Orange, 26},
    {18, 19, E::Text, LongWrite, "Edit_IN2N", "temp_high",
     QT_TRANSLATE_NOOP("ConfigItems", "Temperatura: Wysoka"), &S::in2n, Orange, 30},
    {20, 21, E::Text, LongWrite, "Edit_IN1A", "mains_back",
     QT_TRANSLATE_NOOP("ConfigItems", "Zasilacz 5V: Powrót"), &S::in1a, Green, 46},
    {22, 23, E::Text, LongWrite, "Edit_IN2A", "temp_low",
     QT_TRANSLATE_NOOP("ConfigItems", "Temperatura: Niska"), &S::in2a, Sky, 50},
    {24, 25, E::Text, LongWrite, "Edit_IN3A", "temp_normal",
     QT_TRANSLATE_NOOP("ConfigItems", "Temperatura: Norma"), &S::in3a, Green, 54},
    {26, 27, E::Text, ShortWrite, "Edit_Out2zal", "status_query",
     QT_TRANSLATE_NOOP("ConfigItems", "Zapytanie o stan"), &S::out2zal, Yellow, 70},
    {28, 29, E::SmsLimit, ShortWrite, "Edit_LimitSMS", "sms_limit",
     QT_TRANSLATE_NOOP("ConfigItems", "Limit [24h]: SMS"), nullptr, Yellow, 94},
    {30, 31, E::Thresholds, ShortWrite, "TempMin", "temp_alarms",
     QT_TRANSLATE_NOOP("ConfigItems", "Alarm temperatury: Min, Max"), nullptr, Yellow, 95},
    {32, 33, E::Correction, ShortWrite, "TempKorekta", "temp_correction",
     QT_TRANSLATE_NOOP("ConfigItems", "Korekta temperatury"), nullptr, Yellow, 96},
    {34, 35, E::Interval, ShortWrite, "TempZapisz", "log_interval",
     QT_TRANSLATE_NOOP("ConfigItems", "Zapis temp. co [min]"), nullptr, Yellow, 97},
    {36, 37, E::Text, LongWrite, "Edit_IN4N", "battery_low",
     QT_TRANSLATE_NOOP("ConfigItems", "Bateria: Rozład."), &S::in4n, Orange, 98},
    {38, 39, E::Text, LongWrite, "Edit_IN4A", "battery_charged",
     QT_TRANSLATE_NOOP("ConfigItems", "Bateria: Naład."), &S::in4a, Green, 99},
    {40, 41, E::CallOnAlarm, LongWrite, "VoiceBox", "call_on_alarm",
     QT_TRANSLATE_NOOP("ConfigItems", "Dzwon przy alarmie"), nullptr, Yellow, 100},
    {42, 43, E::VoiceLimit, ShortWrite, "Edit_LimitVoice", "voice_limit",
     QT_TRANSLATE_NOOP("ConfigItems", "Limit [24h]: Dzwon"), nullptr, Yellow, 100},
}};

// The four telephone numbers live in one array of the record.
const QByteArray* TelOf(const ConfigItem& item, const Settings& s)
{
    if (item.readCode >= 8 && item.readCode <= 14)
        return &s.tel[static_cast<size_t>((item.readCode - 8) / 2)];
    return nullptr;
}

static_assert([] {
    for (int i = 0; i < ItemCount; ++i) {
        const ConfigItem& item = Items[static_cast<size_t>(i)];
        if (item.readCode != 4 + 2 * i || item.writeCode != item.readCode + 1)
            return false;
    }
    return true;
}());

constexpr std::array<OperatorPreset, 5> Presets = {{
    {"ORANGE", "+48501200777"},
    {"T-MOBILE", "+48602951111"},
    {"PLUS", "+48601000310"},
    {"PLAY", "+48790998250"},
    {"inny", nullptr},
}};

constexpr quint8 FilterBit = 128;

} // namespace

const std::array<ConfigItem, ItemCount>& ConfigItems()
{
    return Items;
}

const ConfigItem* FindItem(quint8 readCode)
{
    if (readCode < 4 || readCode > 42 || readCode % 2 != 0)
        return nullptr;
    return &Items[(readCode - 4u) / 2];
}

const QByteArray* TextOf(const ConfigItem& item, const Settings& s)
{
    return item.text ? &(s.*item.text) : TelOf(item, s);
}

QByteArray* TextOf(const ConfigItem& item, Settings& s)
{
    return const_cast<QByteArray*>(TextOf(item, static_cast<const Settings&>(s)));
}

const ConfigItem* FindItemByKey(const QString& key)
{
    for (const ConfigItem& item : Items)
        if (key == QLatin1String(item.key))
            return &item;
    return nullptr;
}

std::optional<int> ValueSize(ItemEncoding encoding)
{
    switch (encoding) {
    case ItemEncoding::Text:
    case ItemEncoding::SmsCentre:
        return std::nullopt;
    case ItemEncoding::Thresholds:
        return 2;
    case ItemEncoding::SmsLimit:
    case ItemEncoding::Correction:
    case ItemEncoding::Interval:
    case ItemEncoding::CallOnAlarm:
    case ItemEncoding::VoiceLimit:
        return 1;
    }
    return std::nullopt;
}

QByteArray EncodeItem(const ConfigItem& item, const Settings& s)
{
    switch (item.encoding) {
    case ItemEncoding::Text:
    case ItemEncoding::SmsCentre:
        return *TextOf(item, s);
    case ItemEncoding::SmsLimit:
        return QByteArray(1, static_cast<char>(s.smsLimit));
    case ItemEncoding::Thresholds:
        return QByteArray{} + static_cast<char>(s.tempMin) + static_cast<char>(s.tempMax);
    case ItemEncoding::Correction:
        return QByteArray(1, static_cast<char>(s.korekta));
    case ItemEncoding::Interval:
        return QByteArray(1, static_cast<char>(s.interval));
    case ItemEncoding::CallOnAlarm:
        return QByteArray(1, s.callOnAlarm == 1 ? '\1' : '\0');
    case ItemEncoding::VoiceLimit:
        return QByteArray(1, static_cast<char>(s.voiceLimit));
    }
    return {};
}

bool DecodeItem(const ConfigItem& item, const QByteArray& payload, Settings& s)
{
    const auto byte = [&](int i) { return static_cast<quint8>(payload.at(i)); };
    // A value shorter than its size leaves the item as it was.
    if (payload.size() < ValueSize(item.encoding).value_or(0))
        return false;
    switch (item.encoding) {
    case ItemEncoding::Text:
    case ItemEncoding::SmsCentre:
        *TextOf(item, s) = UpToZero(payload);
        break;
    case ItemEncoding::Thresholds:
        s.tempMin = byte(0);
        s.tempMax = byte(1);
        break;
    case ItemEncoding::SmsLimit:
        s.smsLimit = byte(0);
        break;
    case ItemEncoding::Correction:
        s.korekta = byte(0);
        break;
    case ItemEncoding::Interval:
        s.interval = byte(0);
        break;
    case ItemEncoding::CallOnAlarm:
        s.callOnAlarm = byte(0) != 0 ? 1 : 0;
        break;
    case ItemEncoding::VoiceLimit:
        s.voiceLimit = byte(0);
        break;
    }
    return true;
}

QString ItemLabel(const ConfigItem& item)
{
    return QCoreApplication::translate("ConfigItems", item.label);
}

QString RefuseItem(const ConfigItem& item, const Settings& s)
{
    if (const QByteArray* text = TextOf(item, s)) {
        if (text->size() > MaxSettingText)
            return QCoreApplication::translate("ConfigItems",
                                               "Tekst w polu \"%1\" jest za długi (najwyżej %2 znaków).")
                .arg(ItemLabel(item))
                .arg(MaxSettingText);
    }
    return {};
}

QString ItemText(const ConfigItem& item, const Settings& s)
{
    switch (item.encoding) {
    case ItemEncoding::Text:
    case ItemEncoding::SmsCentre:
        return FromCp1250(*TextOf(item, s));
    case ItemEncoding::SmsLimit: {
        const SmsLimit limit = DecodeSmsLimit(s.smsLimit);
        return QString::number(limit.limit) +
               (limit.filter ? QCoreApplication::translate("ConfigItems", ", Filtr SMS") : QString());
    }
    case ItemEncoding::Thresholds:
        return ThresholdText(s.tempMin) + QStringLiteral(", ") + ThresholdText(s.tempMax);
    case ItemEncoding::Correction:
        return CorrectionText(s.korekta);
    case ItemEncoding::Interval:
        return QString::number(s.interval);
    case ItemEncoding::CallOnAlarm:
        return s.callOnAlarm == 1 ? QCoreApplication::translate("ConfigItems", "tak")
                                  : QCoreApplication::translate("ConfigItems", "nie");
    case ItemEncoding::VoiceLimit:
        return QString::number(s.voiceLimit);
    }
    return {};
}

quint8 SmsLimitByte(int limit, bool filter)
{
    // The byte addition lets a limit above 127 spill into the filter bit, as
    // the controller has always received it.
    return static_cast<quint8>(static_cast<quint8>(limit) + (filter ? FilterBit : 0));
}

SmsLimit DecodeSmsLimit(quint8 byte)
{
    if (byte > 127)
        return {byte - FilterBit, true};
    return {byte, false};
}

// Both steps work on the 8-bit store. The raw values 128 ("-0") and 255
// (-31,75) only come from the controller or a file; from them the steps go on
// from what the field shows instead of wrapping round.
quint8 CorrectionStepDown(quint8 raw)
{
    if (raw == 128) // "-0", shown as +0,0: step from +0,0
        raw = 0;
    if (raw == 0)
        return 129;
    // -31,75 arrives only from the controller or a file; stepping further
    // down would wrap round to +0,0, so it goes to the coldest step instead.
    if (raw == 255)
        return 254;
    if (raw < 128)
        --raw;
    if (raw > 128)
        ++raw;
    if (raw == 255)
        raw = 254;
    return raw;
}

quint8 CorrectionStepUp(quint8 raw)
{
    if (raw == 128) // "-0", shown as +0,0: step from +0,0, not round to +31,75
        raw = 0;
    if (raw == 129)
        return 0;
    if (raw < 128)
        ++raw;
    if (raw > 129)
        --raw;
    if (raw == 128)
        raw = 127;
    return raw;
}

const std::array<OperatorPreset, 5>& OperatorPresets()
{
    return Presets;
}

int PresetForReceived(const QByteArray& payload)
{
    // The controller keeps the number zero-terminated; only the stored form of
    // a preset counts as that preset.
    for (int i = 0; i < OtherOperator; ++i)
        if (payload == QByteArray(Presets[static_cast<size_t>(i)].number) + '\0')
            return i;
    return OtherOperator;
}

int PresetForLoaded(const QByteArray& text)
{
    for (int i = 0; i < OtherOperator; ++i)
        if (text == Presets[static_cast<size_t>(i)].number)
            return i;
    return OtherOperator;
}

QByteArray UpToZero(const QByteArray& bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

} // namespace tq3
