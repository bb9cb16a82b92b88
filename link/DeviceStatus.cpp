#include "link/DeviceStatus.h"

#include <QCoreApplication>

namespace tq3 {

namespace {

quint8 ByteAt(const QByteArray& payload, qsizetype i)
{
    return static_cast<quint8>(payload.at(i));
}

quint16 WordAt(const QByteArray& payload, qsizetype i)
{
    return static_cast<quint16>(ByteAt(payload, i) | (ByteAt(payload, i + 1) << 8));
}

// Readings above these mean the supply or the battery is present and healthy.
constexpr quint16 SupplyGoodAbove = 210;
constexpr quint16 BatteryGoodAbove = 183;

} // namespace

std::optional<QString> VersionText(const QByteArray& loginPayload)
{
    if (loginPayload.size() < 2)
        return std::nullopt;
    const int c = ByteAt(loginPayload, 1);
    if (c < '0')
        return std::nullopt;
    // The character counts minor versions from 1.0: "0" is 1.0, ":" is 2.0.
    const int v = c - '0';
    return QStringLiteral("TQ-3 v %1.%2").arg(v / 10 + 1).arg(v % 10);
}

const char* ModemStageName(quint8 stage)
{
    // The status bar's panel is narrow and its font never shrinks: a translation
    // must be no wider than "RESET modemu GSM".
    if (stage <= 2)
        return QT_TRANSLATE_NOOP("DeviceStatus", "Załączenie modemu GSM");
    if (stage <= 6)
        return QT_TRANSLATE_NOOP("DeviceStatus", "Wykrywanie modemu GSM");
    if (stage <= 8)
        return QT_TRANSLATE_NOOP("DeviceStatus", "Sprawdzenie karty SIM");
    if (stage <= 10)
        return QT_TRANSLATE_NOOP("DeviceStatus", "Wprowadzanie PIN");
    if (stage == 11)
        return QT_TRANSLATE_NOOP("DeviceStatus", "Logowanie do sieci GSM");
    if (stage == 12)
        return QT_TRANSLATE_NOOP("DeviceStatus", "Kasowanie SMS");
    if (stage <= 14)
        return QT_TRANSLATE_NOOP("DeviceStatus", "Konfiguracja SMS");
    if (stage <= 16)
        return QT_TRANSLATE_NOOP("DeviceStatus", "Zapis SMSC");
    if (stage == 17)
        return QT_TRANSLATE_NOOP("DeviceStatus", "Odczyt poziomu RSSI");
    if (stage == 19 || stage == 20)
        return QT_TRANSLATE_NOOP("DeviceStatus", "Połączony z siecią GSM");
    if (stage == 100)
        return QT_TRANSLATE_NOOP("DeviceStatus", "RESET modemu GSM");
    return "";
}

QString ModemStageText(quint8 stage)
{
    return QCoreApplication::translate("DeviceStatus", ModemStageName(stage));
}

int SignalBarValue(quint8 signal)
{
    if (signal == 99) // the modem detects no signal
        return 0;
    // 21 and 22 pass through; the gauge stops at 20 and shows them full.
    if (signal > 22)
        return 20;
    return signal;
}

QString TemperatureText(quint16 raw)
{
    // Tenths of a degree; raw 205 is about 0 degrees.
    const int m = static_cast<int>(raw) * 2500 / 1024;
    const QChar sign = m < 500 ? QLatin1Char('-') : QLatin1Char('+');
    const int a = m < 500 ? 500 - m : m - 500;
    return sign + QString::number(a / 10) + QLatin1Char(',') + QString::number(a % 10);
}

QString VoltageText(quint16 raw)
{
    const int tenths = static_cast<int>(raw) * 1885 / 10000;
    return QLatin1Char('+') + QString::number(tenths / 10) + QLatin1Char(',') + QString::number(tenths % 10) +
           QLatin1Char('V');
}

DeviceStatusView DecodeStatus(const QByteArray& payload)
{
    DeviceStatusView view;
    const qsizetype n = payload.size();

    if (n >= 1) {
        // Bits 2 and 3 (battery, supply missing) are not shown: the voltages
        // below tell the same.
        static constexpr TempColour colours[] = {TempColour::Unchanged, TempColour::Blue, TempColour::Red,
                                                 TempColour::Lime};
        view.tempColour = colours[ByteAt(payload, 0) & 0x03];
    }
    if (n >= 2)
        //: Events waiting to be handled, in a narrow label
        view.pending = QCoreApplication::translate("DeviceStatus", "Zd: %1").arg(ByteAt(payload, 1) & 0x7F);
    if (n >= 3)
        view.modemStage = ModemStageText(ByteAt(payload, 2));
    if (n >= 4)
        view.signalBar = SignalBarValue(ByteAt(payload, 3));
    if (n >= 5)
        //: Used of the daily limit, read against the limit field to its right; no wider than "0 z"
        view.smsCount = QCoreApplication::translate("DeviceStatus", "%1 z").arg(ByteAt(payload, 4));
    if (n >= 6)
        view.voiceCount = QCoreApplication::translate("DeviceStatus", "%1 z").arg(ByteAt(payload, 5));
    if (n >= 8)
        view.temperature = TemperatureText(WordAt(payload, 6));
    if (n >= 10) {
        const quint16 supply = WordAt(payload, 8);
        view.supply = VoltageText(supply);
        view.supplyGood = supply > SupplyGoodAbove;
    }
    if (n >= 12) {
        const quint16 battery = WordAt(payload, 10);
        view.battery = VoltageText(battery);
        view.batteryGood = battery > BatteryGoodAbove;
    }
    return view;
}

} // namespace tq3
