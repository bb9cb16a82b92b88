#include "history/HistoryFormat.h"

#include "RecordBytes.h"

#include <QTest>

using namespace tq3;

namespace {

const QString Stamp = QStringLiteral("2024/09/07 00:05:03");

} // namespace

class TstHistoryFormat : public QObject
{
    Q_OBJECT

private slots:
    void timestamp_data();
    void timestamp();
    void temperature_data();
    void temperature();
    void line_data();
    void line();
    void total_data();
    void total();
    void fileBytes();
    void clockPayload_data();
    void clockPayload();
};

void TstHistoryFormat::timestamp_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("text");
    QTest::newRow("padded") << Record(24, 9, 7, 7, 0, 5, 3) << Stamp;
    QTest::newRow("year 255") << Record(255, 1, 0, 1, 0, 0, 0) << QStringLiteral("2255/01/01 00:00:00");
    // The kind in the high nibble must not leak into the month.
    QTest::newRow("kind 15, month 0")
        << Record(24, 0, 15, 9, 9, 10, 10) << QStringLiteral("2024/00/09 09:10:10");
    QTest::newRow("three digits") << Record(24, 5, 0, 123, 100, 255, 199)
                                  << QStringLiteral("2024/05/123 100:255:199");
    QTest::newRow("six bytes") << Record(24, 9, 7, 7, 0, 5, 3).left(6) << Stamp;
}

void TstHistoryFormat::timestamp()
{
    QFETCH(QByteArray, record);
    QFETCH(QString, text);
    QCOMPARE(FormatHistoryTimestamp(record), text);
}

void TstHistoryFormat::temperature_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("text");
    QTest::newRow("21,5") << 293 << QStringLiteral(" +21,5");
    QTest::newRow("zero") << 205 << QStringLiteral(" +0,0");
    QTest::newRow("just below zero") << 204 << QStringLiteral(" -0,2");
    QTest::newRow("-3,7") << 190 << QStringLiteral(" -3,7");
    QTest::newRow("-25,6") << 100 << QStringLiteral(" -25,6");
    QTest::newRow("lowest") << 0 << QStringLiteral(" -50,0");
    // 127 whole degrees is reachable only above zero: raw 725..729.
    QTest::newRow("below 127") << 724 << QStringLiteral(" +126,7");
    QTest::newRow("127 first") << 725 << QStringLiteral("127,0");
    QTest::newRow("127 last") << 729 << QStringLiteral("127,9");
    QTest::newRow("above 127") << 730 << QStringLiteral(" +128,2");
    QTest::newRow("highest") << 65535 << QStringLiteral(" +15949,7");
}

void TstHistoryFormat::temperature()
{
    QFETCH(int, raw);
    QFETCH(QString, text);
    QCOMPARE(FormatHistoryTemperature(static_cast<quint16>(raw)), text);
}

void TstHistoryFormat::line_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("text");
    const auto kind = [](int k, int raw = 293) { return Record(24, 9, k, 7, 0, 5, 3, raw); };
    const QString t = QStringLiteral(" +21,5");
    QTest::newRow("4 cyclic") << kind(4) << true
                              << Stamp + QStringLiteral("       Zapis cykliczny temperatury   +21,5");
    QTest::newRow("5 start") << kind(5) << true << Stamp + QStringLiteral("  Start urzadzenia ");
    QTest::newRow("6 gsm") << kind(6) << true << Stamp + QStringLiteral("  Zestawienie łącza GSM ");
    QTest::newRow("7 mains lost") << kind(7) << true << Stamp + QStringLiteral("  Brak 230V ");
    QTest::newRow("8 mains back") << kind(8) << true << Stamp + QStringLiteral("  Powrot 230V ");
    QTest::newRow("9 battery low") << kind(9) << true << Stamp + QStringLiteral("  Bateria rozladowana ");
    QTest::newRow("10 battery charged")
        << kind(10) << true << Stamp + QStringLiteral("  Bateria naladowana ");
    QTest::newRow("11 high") << kind(11) << true
                             << Stamp + QStringLiteral("  Alarm!, Wysoka temperatura ") + t;
    QTest::newRow("12 normal") << kind(12) << true
                               << Stamp + QStringLiteral("  Powrot do normy temperatury ") + t;
    QTest::newRow("13 low") << kind(13) << true << Stamp + QStringLiteral("  Alarm!, Niska temperatura ") + t;
    // Byte 7 is the high byte of the reading.
    QTest::newRow("little-endian") << kind(13, 0x02D5) << true
                                   << Stamp + QStringLiteral("  Alarm!, Niska temperatura 127,0");
    for (int k : {0, 3, 14, 15})
        QTest::addRow("kind %d", k) << kind(k) << false << QString();
    QTest::newRow("7 bytes") << kind(7).left(7) << false << QString();
}

void TstHistoryFormat::line()
{
    QFETCH(QByteArray, record);
    QFETCH(bool, shown);
    QFETCH(QString, text);
    const std::optional<QString> line = HistoryLine(record);
    QCOMPARE(line.has_value(), shown);
    if (shown)
        QCOMPARE(*line, text);
}

void TstHistoryFormat::total_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("total"); // -1: none
    QTest::newRow("0") << QByteArray("\x00\x00", 2) << 0;
    QTest::newRow("8") << QByteArray("\x08\x00", 2) << 8;
    QTest::newRow("high byte") << QByteArray("\x00\x01", 2) << 256;
    QTest::newRow("cap") << QByteArray("\xF8\x7F", 2) << 32760;
    QTest::newRow("33000") << QByteArray("\xE8\x80", 2) << 32760;
    QTest::newRow("1 byte") << QByteArray("\x08", 1) << -1;
    QTest::newRow("empty") << QByteArray() << -1;
}

void TstHistoryFormat::total()
{
    QFETCH(QByteArray, payload);
    QFETCH(int, total);
    QCOMPARE(HistoryTotal(payload).value_or(-1), total);
}

void TstHistoryFormat::fileBytes()
{
    const QStringList lines = {Stamp + QStringLiteral("  Zestawienie łącza GSM "),
                               Stamp + QStringLiteral("  Brak 230V "), QStringLiteral("Koniec historii")};
    QCOMPARE(HistoryFileBytes(lines), QByteArray("2024/09/07 00:05:03  Zestawienie \xB3\xB9"
                                                 "cza GSM \r\n"
                                                 "2024/09/07 00:05:03  Brak 230V \r\n"
                                                 "Koniec historii\r\n"));
    QVERIFY(HistoryFileBytes({}).isEmpty());
}

void TstHistoryFormat::clockPayload_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QByteArray>("payload");
    QTest::newRow("2031") << QDateTime(QDate(2031, 3, 5), QTime(7, 8, 9))
                          << QByteArray("\x1F\x03\x05\x07\x08\x09");
    QTest::newRow("2100") << QDateTime(QDate(2100, 1, 1), QTime(23, 59, 59))
                          << QByteArray("\x00\x01\x01\x17\x3B\x3B", 6);
}

void TstHistoryFormat::clockPayload()
{
    QFETCH(QDateTime, time);
    QFETCH(QByteArray, payload);
    QCOMPARE(ClockPayload(time), payload);
}

QTEST_GUILESS_MAIN(TstHistoryFormat)
#include "tst_historyformat.moc"
