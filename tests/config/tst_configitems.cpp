#include "config/ConfigFile.h"
#include "config/ConfigItems.h"
#include "config/TempFormat.h"

#include <QTest>

using namespace tq3;

class TstConfigItems : public QObject
{
    Q_OBJECT

private slots:
    void itemTable();
    void roundTrip_data();
    void roundTrip();
    void smsLimit_data();
    void smsLimit();
    void correctionWalk();
    void correctionSteps_data();
    void correctionSteps();
    void presets_data();
    void presets();
    void upToZero();
};

void TstConfigItems::itemTable()
{
    const QList<int> longWrites = {16, 18, 20, 22, 24, 36, 38, 40};
    const auto& items = ConfigItems();
    for (int i = 0; i < ItemCount; ++i) {
        const ConfigItem& item = items[static_cast<size_t>(i)];
        QCOMPARE(item.readCode, 4 + 2 * i);
        QCOMPARE(item.writeCode, item.readCode + 1);
        QCOMPARE(item.writeTicks, longWrites.contains(item.readCode) ? 60 : 10);
        QCOMPARE(FindItem(item.readCode), &item);
    }
    for (int code : {0, 2, 5, 43, 44, 255})
        QVERIFY(!FindItem(static_cast<quint8>(code)));
    QCOMPARE(FindItem(6)->encoding, ItemEncoding::SmsCentre);
    QCOMPARE(FindItem(28)->encoding, ItemEncoding::SmsLimit);
    QCOMPARE(FindItem(42)->encoding, ItemEncoding::VoiceLimit);
    QCOMPARE(FindItem(38)->control, "Edit_IN4A");
    QCOMPARE(FindItem(40)->control, "VoiceBox");
}

Q_DECLARE_METATYPE(tq3::Settings)

void TstConfigItems::roundTrip_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QByteArray>("payload"); // of the item's write, and of its answer
    QTest::addColumn<QString>("refusal");

    const auto with = [](auto change) {
        Settings s;
        change(s);
        return s;
    };
    const QString tooLong = QStringLiteral("Tekst w polu \"%1\" jest za długi (najwyżej 255 znaków).");
    QTest::newRow("pin") << 4 << with([](Settings& s) { s.pin = "1234"; }) << QByteArray("1234") << QString();
    QTest::newRow("empty SMS centre") << 6 << Settings() << QByteArray() << QString();
    QTest::newRow("tel4 with +") << 14 << with([](Settings& s) { s.tel[3] = "+48123456789"; })
                                 << QByteArray("+48123456789") << QString();
    QTest::newRow("text of 255 bytes, cp1250")
        << 22 << with([](Settings& s) { s.in2a = QByteArray(255, '\xb3'); }) << QByteArray(255, '\xb3')
        << QString();
    QTest::newRow("text of 256 bytes") << 36 << with([](Settings& s) { s.in4n = QByteArray(256, 'x'); })
                                       << QByteArray(256, 'x') << tooLong.arg("Bateria: Rozład.");
    QTest::newRow("SMS limit 127 filtered")
        << 28 << with([](Settings& s) { s.smsLimit = 255; }) << QByteArray("\xff") << QString();
    QTest::newRow("SMS limit 0") << 28 << with([](Settings& s) { s.smsLimit = 0; }) << QByteArray(1, '\0')
                                 << QString();
    QTest::newRow("thresholds at the ends") << 30 << with([](Settings& s) {
        s.tempMin = 0;
        s.tempMax = 255;
    }) << QByteArray("\x00\xff", 2) << QString();
    QTest::newRow("correction -31,75")
        << 32 << with([](Settings& s) { s.korekta = 255; }) << QByteArray("\xff") << QString();
    QTest::newRow("interval 0") << 34 << with([](Settings& s) { s.interval = 0; }) << QByteArray(1, '\0')
                                << QString();
    QTest::newRow("call on alarm") << 40 << with([](Settings& s) { s.callOnAlarm = 1; }) << QByteArray("\x01")
                                   << QString();
    QTest::newRow("voice limit 255") << 42 << with([](Settings& s) { s.voiceLimit = 255; })
                                     << QByteArray("\xff") << QString();
}

// Every item through its write payload, its answer and the configuration file.
void TstConfigItems::roundTrip()
{
    QFETCH(int, code);
    QFETCH(Settings, settings);
    QFETCH(QByteArray, payload);
    QFETCH(QString, refusal);
    const ConfigItem& item = *FindItem(quint8(code));
    QCOMPARE(EncodeItem(item, settings), payload);
    QCOMPARE(RefuseItem(item, settings), refusal);
    if (!refusal.isEmpty())
        return;

    Settings received;
    QVERIFY(DecodeItem(item, payload, received));
    QCOMPARE(EncodeItem(item, received), payload);
    // The controller pads some texts with zero bytes; the value ends before them.
    if (TextOf(item, received)) {
        Settings padded;
        QVERIFY(DecodeItem(item, payload + QByteArray(3, '\0') + "junk", padded));
        QCOMPARE(EncodeItem(item, padded), payload);
    } else {
        Settings untouched = received;
        QVERIFY(!DecodeItem(item, payload.left(payload.size() - 1), untouched));
        QCOMPARE(untouched, received);
    }

    const auto fromFile = ParseConfigFile(BuildConfigFile(settings));
    QVERIFY(fromFile);
    QCOMPARE(EncodeItem(item, *fromFile), payload);
    QCOMPARE(FindItemByKey(QString::fromLatin1(item.key)), &item);
}

void TstConfigItems::smsLimit_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("filter");
    QTest::addColumn<int>("byte");
    QTest::newRow("5") << 5 << false << 5;
    QTest::newRow("5 filtered") << 5 << true << 133;
    QTest::newRow("99 filtered") << 99 << true << 227;
    QTest::newRow("7 filtered") << 7 << true << 135;
    QTest::newRow("10 filtered") << 10 << true << 138;
    QTest::newRow("2 filtered") << 2 << true << 130;
    QTest::newRow("0") << 0 << false << 0;
}

void TstConfigItems::smsLimit()
{
    QFETCH(int, limit);
    QFETCH(bool, filter);
    QFETCH(int, byte);
    QCOMPARE(SmsLimitByte(limit, filter), byte);
    const SmsLimit decoded = DecodeSmsLimit(static_cast<quint8>(byte));
    QCOMPARE(decoded.limit, limit);
    QCOMPARE(decoded.filter, filter);
}

// The buttons pass every quarter degree once, in order, and stop at the ends.
void TstConfigItems::correctionWalk()
{
    auto value = [](quint8 raw) {
        return CorrectionText(raw).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    };

    quint8 raw = 0;
    for (int steps = 0; steps < 126; ++steps) {
        const quint8 next = CorrectionStepDown(raw);
        QCOMPARE(value(next), value(raw) - 0.25);
        raw = next;
    }
    QCOMPARE(raw, 254);
    QCOMPARE(CorrectionText(raw), QStringLiteral("-31,50"));
    QCOMPARE(CorrectionStepDown(raw), raw);

    for (int steps = 0; steps < 126 + 127; ++steps) {
        const quint8 next = CorrectionStepUp(raw);
        QCOMPARE(value(next), value(raw) + 0.25);
        raw = next;
    }
    QCOMPARE(raw, 127);
    QCOMPARE(CorrectionText(raw), QStringLiteral("+31,75"));
    QCOMPARE(CorrectionStepUp(raw), raw);
}

void TstConfigItems::correctionSteps_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("down");
    QTest::addColumn<int>("up");
    QTest::newRow("+0,0") << 0 << 129 << 1;
    QTest::newRow("-0,25") << 129 << 130 << 0;
    QTest::newRow("+31,75") << 127 << 126 << 127;
    QTest::newRow("-31,50") << 254 << 254 << 253;
    // Only the controller or a file gives these two; the steps go on from
    // what the field shows instead of wrapping round.
    QTest::newRow("negative zero") << 128 << 129 << 1;
    QTest::newRow("-31,75") << 255 << 254 << 254;
}

void TstConfigItems::correctionSteps()
{
    QFETCH(int, raw);
    QFETCH(int, down);
    QFETCH(int, up);
    QCOMPARE(CorrectionStepDown(static_cast<quint8>(raw)), down);
    QCOMPARE(CorrectionStepUp(static_cast<quint8>(raw)), up);
}

void TstConfigItems::presets_data()
{
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<int>("received");
    QTest::addColumn<int>("loaded");
    QTest::newRow("PLUS stored") << QByteArray("+48601000310\0", 13) << 2 << OtherOperator;
    QTest::newRow("PLUS bare") << QByteArray("+48601000310") << OtherOperator << 2;
    QTest::newRow("T-MOBILE bare") << QByteArray("+48602951111") << OtherOperator << 1;
    QTest::newRow("ORANGE stored") << QByteArray("+48501200777\0", 13) << 0 << OtherOperator;
    QTest::newRow("PLAY two zeros") << QByteArray("+48790998250\0\0", 14) << OtherOperator << OtherOperator;
    QTest::newRow("other") << QByteArray("+48601000311") << OtherOperator << OtherOperator;
    QTest::newRow("empty") << QByteArray() << OtherOperator << OtherOperator;
}

void TstConfigItems::presets()
{
    QFETCH(QByteArray, number);
    QFETCH(int, received);
    QFETCH(int, loaded);
    QCOMPARE(PresetForReceived(number), received);
    QCOMPARE(PresetForLoaded(number), loaded);
    QVERIFY(!OperatorPresets()[OtherOperator].number);
    QCOMPARE(OperatorPresets()[2].name, "PLUS");
}

void TstConfigItems::upToZero()
{
    QCOMPARE(UpToZero(QByteArray("+48601000310\0", 13)), QByteArray("+48601000310"));
    QCOMPARE(UpToZero(QByteArray("ab\0cd", 5)), QByteArray("ab"));
    QCOMPARE(UpToZero(QByteArray("abc")), QByteArray("abc"));
    QCOMPARE(UpToZero(QByteArray("\0", 1)), QByteArray());
}

QTEST_GUILESS_MAIN(TstConfigItems)
#include "tst_configitems.moc"
