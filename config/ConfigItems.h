#pragma once
// The controller's twenty settings: codes, encodings, write time-outs, and the
// operator presets. The one table every part of the program uses.
#include <QByteArray>
#include <array>

namespace tq3 {

enum class ItemEncoding {
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
    quint8 readCode;     // even 4..42; the answer carrying the value has this type
    quint8 writeCode;    // readCode + 1
    ItemEncoding encoding;
    quint16 writeTicks;  // time-out of the write's answer, in ticks
    const char* control; // object name of the field holding the value
};

inline constexpr int ItemCount = 20;
const std::array<ConfigItem, ItemCount>& ConfigItems();
// Null for a code that is not a read code.
const ConfigItem* FindItem(quint8 readCode);

// SMS limit byte: the limit, plus 128 when the filter is on (a byte addition).
quint8 SmsLimitByte(int limit, bool filter);
struct SmsLimit
{
    int limit = 0;
    bool filter = false;
};
SmsLimit DecodeSmsLimit(quint8 byte);

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
