#include "config/TempFormat.h"
#include "link/DeviceStatus.h"

#include <QTest>

using namespace tq3;

Q_DECLARE_METATYPE(tq3::TempColour)

namespace {

// The 12-byte status answer; words low byte first.
QByteArray StatusPayload(quint8 flags, quint8 pending, quint8 stage, quint8 signal, quint8 sms, quint8 voice,
                         quint16 temperature, quint16 supply, quint16 battery)
{
    QByteArray p;
    for (int b : {flags, pending, stage, signal, sms, voice})
        p.append(static_cast<char>(b));
    for (quint16 w : {temperature, supply, battery}) {
        p.append(static_cast<char>(w & 0xFF));
        p.append(static_cast<char>(w >> 8));
    }
    return p;
}

const QString Powering = QStringLiteral("Załączenie modemu GSM");
const QString Detecting = QStringLiteral("Wykrywanie modemu GSM");
const QString SimCheck = QStringLiteral("Sprawdzenie karty SIM");
const QString Pin = QStringLiteral("Wprowadzanie PIN");
const QString LoggingIn = QStringLiteral("Logowanie do sieci GSM");
const QString Connected = QStringLiteral("Połączony z siecią GSM");

} // namespace

class TstStatus : public QObject
{
    Q_OBJECT

private slots:
    void version_data();
    void version();
    void signalBar_data();
    void signalBar();
    void modemStage_data();
    void modemStage();
    void temperature_data();
    void temperature();
    void voltage_data();
    void voltage();

    void decodeWholeAnswer();
    void tempColour_data();
    void tempColour();
    void voltageGood_data();
    void voltageGood();
    void shortAnswerSetsOnlyWholeFields_data();
    void shortAnswerSetsOnlyWholeFields();

    void threshold_data();
    void threshold();
    void correction_data();
    void correction();
};

void TstStatus::version_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("text"); // null: label stays as it is

    QTest::newRow("5") << QByteArray("T5") << QStringLiteral("TQ-3 v 1.5");
    QTest::newRow("0") << QByteArray("T0") << QStringLiteral("TQ-3 v 1.0");
    QTest::newRow(":") << QByteArray("T:") << QStringLiteral("TQ-3 v 2.0");
    QTest::newRow("A") << QByteArray("TA") << QStringLiteral("TQ-3 v 2.7");
    QTest::newRow("verdict ignored") << QByteArray("N5") << QStringLiteral("TQ-3 v 1.5");
    QTest::newRow("byte 255") << QByteArray("T\xFF") << QStringLiteral("TQ-3 v 21.7");
    QTest::newRow("/") << QByteArray("T/") << QString();
    QTest::newRow("one byte") << QByteArray("T") << QString();
    QTest::newRow("empty") << QByteArray() << QString();
}

void TstStatus::version()
{
    QFETCH(QByteArray, payload);
    QFETCH(QString, text);
    const auto version = VersionText(payload);
    QCOMPARE(version.has_value(), !text.isNull());
    if (version)
        QCOMPARE(*version, text);
}

void TstStatus::signalBar_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("bar");

    QTest::newRow("no signal") << 99 << 0;
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("15") << 15 << 15;
    QTest::newRow("21 passes") << 21 << 21;
    QTest::newRow("22 passes") << 22 << 22;
    QTest::newRow("23") << 23 << 20;
    QTest::newRow("25") << 25 << 20;
    QTest::newRow("98") << 98 << 20;
    QTest::newRow("100") << 100 << 20;
    QTest::newRow("255") << 255 << 20;
}

void TstStatus::signalBar()
{
    QFETCH(int, signal);
    QFETCH(int, bar);
    QCOMPARE(SignalBarValue(static_cast<quint8>(signal)), bar);
}

void TstStatus::modemStage_data()
{
    QTest::addColumn<int>("stage");
    QTest::addColumn<QString>("text");

    const QList<std::pair<int, QString>> rows = {
        {0, Powering},
        {2, Powering},
        {3, Detecting},
        {6, Detecting},
        {7, SimCheck},
        {8, SimCheck},
        {9, Pin},
        {10, Pin},
        {11, LoggingIn},
        {12, QStringLiteral("Kasowanie SMS")},
        {13, QStringLiteral("Konfiguracja SMS")},
        {14, QStringLiteral("Konfiguracja SMS")},
        {15, QStringLiteral("Zapis SMSC")},
        {16, QStringLiteral("Zapis SMSC")},
        {17, QStringLiteral("Odczyt poziomu RSSI")},
        {18, QString()},
        {19, Connected},
        {20, Connected},
        {21, QString()},
        {50, QString()},
        {99, QString()},
        {100, QStringLiteral("RESET modemu GSM")},
        {101, QString()},
        {255, QString()},
    };
    for (const auto& [stage, text] : rows)
        QTest::addRow("%d", stage) << stage << text;
}

void TstStatus::modemStage()
{
    QFETCH(int, stage);
    QFETCH(QString, text);
    const QString shown = ModemStageText(static_cast<quint8>(stage));
    QCOMPARE(shown, text);
    QCOMPARE(shown.toUtf8(), text.toUtf8()); // diacritics intact
}

void TstStatus::temperature_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("text");

    QTest::newRow("0") << 0 << QStringLiteral("-50,0");
    QTest::newRow("150") << 150 << QStringLiteral("-13,4");
    QTest::newRow("204 just below zero") << 204 << QStringLiteral("-0,2");
    QTest::newRow("205") << 205 << QStringLiteral("+0,0");
    QTest::newRow("300") << 300 << QStringLiteral("+23,2");
    QTest::newRow("1023") << 1023 << QStringLiteral("+199,7");
    QTest::newRow("65535") << 65535 << QStringLiteral("+15949,7");
}

void TstStatus::temperature()
{
    QFETCH(int, raw);
    QFETCH(QString, text);
    QCOMPARE(TemperatureText(static_cast<quint16>(raw)), text);
}

void TstStatus::voltage_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("text");

    QTest::newRow("265") << 265 << QStringLiteral("+4,9V");
    QTest::newRow("220") << 220 << QStringLiteral("+4,1V");
    QTest::newRow("211") << 211 << QStringLiteral("+3,9V");
    QTest::newRow("210") << 210 << QStringLiteral("+3,9V");
    QTest::newRow("184") << 184 << QStringLiteral("+3,4V");
    QTest::newRow("183") << 183 << QStringLiteral("+3,4V");
    QTest::newRow("0") << 0 << QStringLiteral("+0,0V");
    QTest::newRow("65535") << 65535 << QStringLiteral("+1235,3V");
}

void TstStatus::voltage()
{
    QFETCH(int, raw);
    QFETCH(QString, text);
    QCOMPARE(VoltageText(static_cast<quint16>(raw)), text);
}

void TstStatus::decodeWholeAnswer()
{
    // Bits 2-3 and 4-7 of the flags do not disturb the colour state.
    const auto v = DecodeStatus(StatusPayload(0xFE, 0x85, 19, 99, 3, 200, 300, 265, 220));
    QCOMPARE(v.tempColour, TempColour::Red);
    QCOMPARE(v.pending, QStringLiteral("Zd: 5"));
    QCOMPARE(v.modemStage, Connected);
    QCOMPARE(v.signalBar, 0);
    QCOMPARE(v.smsCount, QStringLiteral("3 z"));
    QCOMPARE(v.voiceCount, QStringLiteral("200 z"));
    QCOMPARE(v.temperature, QStringLiteral("+23,2"));
    QCOMPARE(v.supply, QStringLiteral("+4,9V"));
    QCOMPARE(v.supplyGood, true);
    QCOMPARE(v.battery, QStringLiteral("+4,1V"));
    QCOMPARE(v.batteryGood, true);
}

void TstStatus::tempColour_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<TempColour>("colour");

    QTest::newRow("0") << 0x00 << TempColour::Unchanged;
    QTest::newRow("1") << 0x01 << TempColour::Blue;
    QTest::newRow("2") << 0x02 << TempColour::Red;
    QTest::newRow("3") << 0x03 << TempColour::Lime;
    QTest::newRow("0 with other bits") << 0xFC << TempColour::Unchanged;
    QTest::newRow("1 with other bits") << 0x0D << TempColour::Blue;
}

void TstStatus::tempColour()
{
    QFETCH(int, flags);
    QFETCH(TempColour, colour);
    QCOMPARE(DecodeStatus(QByteArray(1, static_cast<char>(flags))).tempColour, colour);
}

void TstStatus::voltageGood_data()
{
    QTest::addColumn<int>("supply");
    QTest::addColumn<int>("battery");
    QTest::addColumn<bool>("supplyGood");
    QTest::addColumn<bool>("batteryGood");

    QTest::newRow("both good") << 211 << 184 << true << true;
    QTest::newRow("both at limit") << 210 << 183 << false << false;
    // Each word's high byte counts.
    QTest::newRow("high bytes") << 0x100 << 0x100 << true << true;
    QTest::newRow("crossed") << 183 << 210 << false << true;
}

void TstStatus::voltageGood()
{
    QFETCH(int, supply);
    QFETCH(int, battery);
    QFETCH(bool, supplyGood);
    QFETCH(bool, batteryGood);
    const auto v = DecodeStatus(
        StatusPayload(0, 0, 0, 0, 0, 0, 0, static_cast<quint16>(supply), static_cast<quint16>(battery)));
    QCOMPARE(v.supplyGood, supplyGood);
    QCOMPARE(v.batteryGood, batteryGood);
    QCOMPARE(v.supply, VoltageText(static_cast<quint16>(supply)));
    QCOMPARE(v.battery, VoltageText(static_cast<quint16>(battery)));
}

void TstStatus::shortAnswerSetsOnlyWholeFields_data()
{
    QTest::addColumn<int>("size");
    for (int size : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})
        QTest::addRow("%d bytes", size) << size;
}

void TstStatus::shortAnswerSetsOnlyWholeFields()
{
    QFETCH(int, size);
    // A heap copy of exactly that size, so a read past it shows under ASan.
    const QByteArray whole = StatusPayload(1, 2, 100, 15, 4, 5, 300, 265, 220);
    const QByteArray payload(whole.constData(), size);
    const auto v = DecodeStatus(payload);

    QCOMPARE(v.tempColour.has_value(), size >= 1);
    QCOMPARE(v.pending.has_value(), size >= 2);
    QCOMPARE(v.modemStage.has_value(), size >= 3);
    QCOMPARE(v.signalBar.has_value(), size >= 4);
    QCOMPARE(v.smsCount.has_value(), size >= 5);
    QCOMPARE(v.voiceCount.has_value(), size >= 6);
    QCOMPARE(v.temperature.has_value(), size >= 8);
    QCOMPARE(v.supply.has_value(), size >= 10);
    QCOMPARE(v.supplyGood.has_value(), size >= 10);
    QCOMPARE(v.battery.has_value(), size >= 12);
    QCOMPARE(v.batteryGood.has_value(), size >= 12);
    if (size >= 8)
        QCOMPARE(v.temperature, QStringLiteral("+23,2"));
    if (size >= 10)
        QCOMPARE(v.supply, QStringLiteral("+4,9V"));
}

void TstStatus::threshold_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("text");

    QTest::newRow("132") << 132 << QStringLiteral("+4");
    QTest::newRow("138") << 138 << QStringLiteral("+10");
    QTest::newRow("128") << 128 << QStringLiteral("+0");
    QTest::newRow("127") << 127 << QStringLiteral("-1");
    QTest::newRow("0") << 0 << QStringLiteral("-128");
    QTest::newRow("255") << 255 << QStringLiteral("+127");
}

void TstStatus::threshold()
{
    QFETCH(int, raw);
    QFETCH(QString, text);
    QCOMPARE(ThresholdText(static_cast<quint8>(raw)), text);
}

void TstStatus::correction_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("text");

    QTest::newRow("0") << 0 << QStringLiteral("+0,0");
    QTest::newRow("1") << 1 << QStringLiteral("+0,25");
    QTest::newRow("2") << 2 << QStringLiteral("+0,50");
    QTest::newRow("3") << 3 << QStringLiteral("+0,75");
    QTest::newRow("4") << 4 << QStringLiteral("+1,0");
    QTest::newRow("6") << 6 << QStringLiteral("+1,50");
    QTest::newRow("127") << 127 << QStringLiteral("+31,75");
    QTest::newRow("128 negative zero") << 128 << QStringLiteral("+0,0");
    QTest::newRow("129") << 129 << QStringLiteral("-0,25");
    QTest::newRow("132") << 132 << QStringLiteral("-1,0");
    QTest::newRow("254") << 254 << QStringLiteral("-31,50");
    QTest::newRow("255") << 255 << QStringLiteral("-31,75");
}

void TstStatus::correction()
{
    QFETCH(int, raw);
    QFETCH(QString, text);
    QCOMPARE(CorrectionText(static_cast<quint8>(raw)), text);
}

QTEST_GUILESS_MAIN(TstStatus)
#include "tst_status.moc"
