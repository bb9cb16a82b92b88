#include "config/ConfigItems.h"

namespace tq3 {

namespace {

// Texts the controller sends as SMS, and the call flag, take longer to store.
constexpr quint16 ShortWrite = 10;
constexpr quint16 LongWrite = 60;

constexpr ConfigItem Item(quint8 readCode, ItemEncoding encoding, quint16 writeTicks, const char* control)
{
    return {readCode, static_cast<quint8>(readCode + 1), encoding, writeTicks, control};
}

using E = ItemEncoding;
constexpr std::array<ConfigItem, ItemCount> Items = {
    Item(4, E::Text, ShortWrite, "Edit_pin"),
    Item(6, E::SmsCentre, ShortWrite, "Edit_operator"),
    Item(8, E::Text, ShortWrite, "Edit_Tel1"),
    Item(10, E::Text, ShortWrite, "Edit_Tel2"),
    Item(12, E::Text, ShortWrite, "Edit_Tel3"),
    Item(14, E::Text, ShortWrite, "Edit_Tel4"),
    Item(16, E::Text, LongWrite, "Edit_IN1N"),
    Item(18, E::Text, LongWrite, "Edit_IN2N"),
    Item(20, E::Text, LongWrite, "Edit_IN1A"),
    Item(22, E::Text, LongWrite, "Edit_IN2A"),
    Item(24, E::Text, LongWrite, "Edit_IN3A"),
    Item(26, E::Text, ShortWrite, "Edit_Out2zal"),
    Item(28, E::SmsLimit, ShortWrite, "Edit_LimitSMS"),
    Item(30, E::Thresholds, ShortWrite, "TempMin"),
    Item(32, E::Correction, ShortWrite, "TempKorekta"),
    Item(34, E::Interval, ShortWrite, "TempZapisz"),
    Item(36, E::Text, LongWrite, "Edit_IN4N"),
    Item(38, E::Text, LongWrite, "Edit_IN4A"),
    Item(40, E::CallOnAlarm, LongWrite, "VoiceBox"),
    Item(42, E::VoiceLimit, ShortWrite, "Edit_LimitVoice"),
};

static_assert([] {
    for (int i = 0; i < ItemCount; ++i)
        if (Items[static_cast<size_t>(i)].readCode != 4 + 2 * i)
            return false;
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
