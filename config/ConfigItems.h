#pragma once
// The controller's twenty settings: the record that holds them, and the one
// table that says, item by item, how each is asked for, written, received,
// encoded and refused. Everything that moves settings (the transfer, the
// configuration file, the window's fields, tq3ctl) goes through it.
#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace tq3 {

// The settings as the controller and the configuration file hold them: texts
// as bytes in code page 1250, numbers as their bytes.
struct Settings
{
    QByteArray password; // the access password: in files only, never written as a setting
    QByteArray pin;
    QByteArray smsCentre;
    std::array<QByteArray, 4> tel;
    QByteArray in1n, in2n, in1a, in2a, in3a;
    QByteArray out2zal;
    quint8 smsLimit = 0; // limit + 128 with the filter
    quint8 voiceLimit = 0;
    quint8 tempMin = 132, tempMax = 138, korekta = 0;
    quint8 interval = 60;
    QByteArray in4a, in4n;
    quint8 callOnAlarm = 0; // 1 on, 0 off

    bool operator==(const Settings&) const = default;
};

enum class ItemEncoding
{
    Text,        // the text itself, code page 1250, no terminator
    SmsCentre,   // text, with the operator preset matching
    SmsLimit,    // 1 byte: limit + 128 with the SMS filter
    Thresholds,  // 2 bytes: minimum raw, maximum raw
    Correction,  // 1 byte, sign bit 7 and quarter degrees
    Interval,    // 1 byte, minutes
    CallOnAlarm, // 1 byte: 1 on, 0 off
    VoiceLimit,  // 1 byte
};

struct ConfigItem
{
    quint8 readCode;  // even 4..42; the answer carrying the value has this type
    quint8 writeCode; // readCode + 1
    ItemEncoding encoding;
    quint16 writeTicks;         // time-out of the write's answer, in ticks
    const char* control;        // object name of the window's field holding the value
    const char* key;            // the item's name in tq3ctl's output
    const char* label;          // how the user knows the item, in Polish as on the window: see ItemLabel
    QByteArray Settings::*text; // where a text item keeps its value (the telephones: see TextOf)
    quint32 baseRgb;            // the field's colour when it holds the controller's value
    quint8 writeProgress;       // the transfer's progress, in percent, once this item is written
};

// Where a text item keeps its value in the record; null for the other items.
const QByteArray* TextOf(const ConfigItem& item, const Settings& settings);
QByteArray* TextOf(const ConfigItem& item, Settings& settings);

inline constexpr int ItemCount = 20;
const std::array<ConfigItem, ItemCount>& ConfigItems();
// Null for a code that is not a read code.
const ConfigItem* FindItem(quint8 readCode);
const ConfigItem* FindItemByKey(const QString& key);

// A text's length byte cannot count further; frames and files alike.
inline constexpr int MaxSettingText = 255;

// How many bytes the item's value takes; nullopt for a text, which may be
// of any length.
std::optional<int> ValueSize(ItemEncoding encoding);

// The payload of the item's write, from the record.
QByteArray EncodeItem(const ConfigItem& item, const Settings& settings);
// Takes the item's value from its answer into the record; false (and the
// record unchanged) when the answer is too short to hold one. A text keeps
// what stands before its first zero byte, as its field shows it.
bool DecodeItem(const ConfigItem& item, const QByteArray& payload, Settings& settings);
// The item's label in the language in use.
QString ItemLabel(const ConfigItem& item);
// Empty when the item can go as the record holds it; otherwise why not.
QString RefuseItem(const ConfigItem& item, const Settings& settings);
// The item's value as a person reads it (tq3ctl show, diff).
QString ItemText(const ConfigItem& item, const Settings& settings);

// SMS limit byte: the limit, plus 128 when the filter is on (a byte addition).
quint8 SmsLimitByte(int limit, bool filter);
struct SmsLimit
{
    int limit = 0;
    bool filter = false;
};
SmsLimit DecodeSmsLimit(quint8 byte);
// The largest SMS limit that leaves the filter bit alone.
inline constexpr int MaxSmsLimit = 127;

// The correction's spin steps, a quarter degree at a time between -31,50 and +31,75.
quint8 CorrectionStepDown(quint8 raw);
quint8 CorrectionStepUp(quint8 raw);

struct OperatorPreset
{
    const char* name;
    const char* number; // null for "inny"
};
inline constexpr int OtherOperator = 4; // "inny"
const std::array<OperatorPreset, 5>& OperatorPresets();
// The preset an SMS-centre number received from the controller selects: the
// payload must equal a preset number followed by one zero byte (13 bytes).
int PresetForReceived(const QByteArray& payload);
// The preset a number loaded from a file selects: equal to the 12 characters.
int PresetForLoaded(const QByteArray& text);

// A received text as its field shows it: up to its first zero byte.
QByteArray UpToZero(const QByteArray& bytes);

} // namespace tq3
