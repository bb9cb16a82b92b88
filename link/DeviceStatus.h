#pragma once
// What the window shows of the login answer (firmware version) and of the
// 12-byte status answer. Pure formatting; the window applies the result.
#include <QByteArray>
#include <QString>
#include <optional>

namespace tq3 {

// "TQ-3 v 1.5" from the login answer's second byte; nullopt when the answer is
// shorter than two bytes or the version character is below "0".
std::optional<QString> VersionText(const QByteArray& loginPayload);

// Text of the modem start-up stage, in the user's language; empty for the stages without one.
QString ModemStageText(quint8 stage);
// The same in Polish whatever the language, for what programs read (tq3ctl's JSON).
const char* ModemStageName(quint8 stage);

// Signal figure onto the 0..20 gauge (99 = no signal = 0, above 22 = 20).
int SignalBarValue(quint8 signal);

// Raw sensor reading as "+23,2" / "-13,4" (tenths of a degree).
QString TemperatureText(quint16 raw);

// Raw supply/battery reading as "+4,9V".
QString VoltageText(quint16 raw);

enum class TempColour
{
    Unchanged,
    Blue,
    Red,
    Lime
};

// The status answer decoded field by field. A field is set only when the
// payload holds all of its bytes, so a short answer never reads past its end.
struct DeviceStatusView
{
    std::optional<TempColour> tempColour; // flags bits 0-1
    std::optional<QString> pending;       // "Zd: 5"
    std::optional<QString> modemStage;    // first panel of the status bar
    std::optional<int> signalBar;         // 0..20
    std::optional<QString> smsCount;      // "3 z"
    std::optional<QString> voiceCount;    // "1 z"
    std::optional<QString> temperature;   // "+23,2"
    std::optional<QString> supply;        // "+4,9V"
    std::optional<bool> supplyGood;       // raw > 210
    std::optional<QString> battery;       // "+4,1V"
    std::optional<bool> batteryGood;      // raw > 183
};

DeviceStatusView DecodeStatus(const QByteArray& payload);

} // namespace tq3
