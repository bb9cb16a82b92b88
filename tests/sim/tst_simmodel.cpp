#include "ControllerModel.h"
#include "SimTestUtil.h"

#include <QTest>

#include <set>

using namespace std::chrono_literals;
using tq3sim::ControllerModel;
using tq3sim::ControllerOptions;

namespace {

// One command in, the answers it produced out; a write that is not one clean frame shows as type -2.
std::vector<simtest::Answer> exchange(ControllerModel& model, int code, const QByteArray& payload)
{
    model.receive(simtest::command(code, payload));
    std::vector<simtest::Answer> out;
    for (const QByteArray& write : model.takeWrites()) {
        qsizetype used = 0;
        const std::vector<simtest::Answer> parsed = simtest::answers(write, &used);
        out.push_back(parsed.size() == 1 && used == write.size() ? parsed.front()
                                                                 : simtest::Answer{-2, write});
    }
    return out;
}

simtest::Answer only(ControllerModel& model, int code, const QByteArray& payload)
{
    const std::vector<simtest::Answer> all = exchange(model, code, payload);
    return all.size() == 1 ? all.front() : simtest::Answer{};
}

std::vector<simtest::Answer> drainStream(ControllerModel& model)
{
    std::vector<simtest::Answer> out;
    for (QByteArray w = model.nextStreamWrite(); !w.isEmpty(); w = model.nextStreamWrite())
        out.push_back(simtest::first(w));
    return out;
}

} // namespace

class TestSimModel : public QObject
{
    Q_OBJECT

private slots:
    void frameBytes()
    {
        QCOMPARE(tq3sim::buildCommand(80, "G"), QByteArray::fromHex("4d500147e5"));
        QCOMPARE(tq3sim::buildCommand(2, "W"), QByteArray::fromHex("4d020157a7"));
        QCOMPARE(tq3sim::buildAnswer(70, {}), QByteArray::fromHex("6d4600b3"));
        QCOMPARE(tq3sim::buildAnswer(4, QByteArray(150, 'x')).size(), 104); // never over the limit
    }

    void login_data()
    {
        QTest::addColumn<QByteArray>("newPassword"); // empty: not changed first
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("right") << QByteArray() << QByteArray("7391") << QByteArray("T5");
        QTest::newRow("wrong") << QByteArray() << QByteArray("1234") << QByteArray("N5");
        QTest::newRow("changed, new") << QByteArray("12") << QByteArray("12") << QByteArray("T5");
        QTest::newRow("changed, old") << QByteArray("12") << QByteArray("7391") << QByteArray("N5");
    }
    void login()
    {
        QFETCH(QByteArray, newPassword);
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, expected);
        ControllerModel model;
        if (!newPassword.isEmpty())
            QCOMPARE(only(model, 3, newPassword).type, 3);
        const simtest::Answer a = only(model, 1, sent);
        QCOMPARE(a.type, 1);
        QCOMPARE(a.payload, expected);
        QCOMPARE(model.loggedIn(), expected.startsWith('T'));
        QCOMPARE(only(model, 2, "W").type, 2);
        QVERIFY(!model.loggedIn());
    }

    void startupValues_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("value");
        const QByteArray zero(1, '\0');
        QTest::newRow("4 PIN") << 4 << QByteArray("7391");
        QTest::newRow("6 SMS centre") << 6 << QByteArray("+48501200777\0", 13);
        for (int code : {8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 36, 38})
            QTest::addRow("%d text", code) << code << QByteArray();
        QTest::newRow("28 SMS limit") << 28 << zero;
        QTest::newRow("30 thresholds") << 30 << QByteArray::fromHex("848a");
        QTest::newRow("32 correction") << 32 << zero;
        QTest::newRow("34 interval") << 34 << QByteArray(1, char(60));
        QTest::newRow("40 call on alarm") << 40 << zero;
        QTest::newRow("42 voice limit") << 42 << zero;
    }
    void startupValues()
    {
        QFETCH(int, code);
        QFETCH(QByteArray, value);
        ControllerModel model;
        const simtest::Answer a = only(model, code, "G");
        QCOMPARE(a.type, code);
        QVERIFY(a.checksumOk);
        QCOMPARE(a.payload, value);
    }

    void writeThenRead_data()
    {
        QTest::addColumn<int>("readCode");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QByteArray>("readBack");
        const QByteArray text40("Temperatura za wysoka w chlodni nr 2 !!!");
        QTest::newRow("PIN") << 4 << QByteArray("0000") << QByteArray("0000");
        QTest::newRow("SMS centre padded")
            << 6 << QByteArray("+48601000310") << QByteArray("+48601000310\0", 13);
        QTest::newRow("SMS centre short")
            << 6 << QByteArray("+4812") << QByteArray("+4812").leftJustified(13, '\0');
        QTest::newRow("SMS centre full") << 6 << QByteArray("+486010003101") << QByteArray("+486010003101");
        QTest::newRow("40-char text") << 18 << text40 << text40;
        QTest::newRow("zero byte kept") << 38 << QByteArray("ab\0cd", 5) << QByteArray("ab\0cd", 5);
        QTest::newRow("text cleared") << 16 << QByteArray() << QByteArray();
        QTest::newRow("thresholds") << 30 << QByteArray::fromHex("7fff") << QByteArray::fromHex("7fff");
        QTest::newRow("as long as an answer") << 36 << QByteArray(100, 'z') << QByteArray(100, 'z');
    }
    void writeThenRead()
    {
        QFETCH(int, readCode);
        QFETCH(QByteArray, written);
        QFETCH(QByteArray, readBack);
        ControllerModel model;
        QCOMPARE(only(model, readCode + 1, written).type, readCode + 1);
        QCOMPARE(only(model, readCode, "G").payload, readBack);
        QCOMPARE(model.setting(readCode), readBack);
    }

    void unlistedCodesAreNotAnswered()
    {
        ControllerModel model;
        for (int code : {0, 44, 70, 71, 72, 77, 79, 82, 99, 101, 102, 255})
            QVERIFY2(exchange(model, code, "G").empty(), qPrintable(QString::number(code)));
        QCOMPARE(int(model.frames().size()), 12); // logged all the same
        QCOMPARE(model.protocolErrors(), 12);
        QCOMPARE(model.lastProtocolError()->describe(), QStringLiteral("code 255, payload 47: unknown code"));
    }

    // Every command is judged before the controller acts on it; a malformed one is ignored whole.
    void payloads_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("good");
        auto row = [](const char* name, int code, const QByteArray& payload, bool good) {
            QTest::newRow(name) << simtest::command(code, payload) << good;
        };
        const QByteArray block = '\0' + QByteArray(128, '\xff');
        row("1 password", 1, "7391", true);
        row("1 other digits", 1, "1234", true);
        row("1 three digits", 1, "739", false);
        row("1 letters", 1, "abcd", false);
        row("2", 2, "W", true);
        row("2 lower case", 2, "w", false);
        row("3 new password", 3, "12", true);
        row("3 empty", 3, "", false);
        row("4 read", 4, "G", true);
        row("42 read", 42, "G", true);
        row("4 read, other letter", 4, "H", false);
        row("42 read, empty", 42, "", false);
        row("5 PIN", 5, "0000", true);
        row("5 PIN cut short", 5, "12", true);
        row("5 PIN with a letter", 5, "12a4", false);
        row("5 PIN of 5", 5, "12345", false);
        row("7 SMS centre", 7, "+48601000310", true);
        row("7 with its padding", 7, QByteArray("+48601000310\0", 13), false);
        row("9 number cleared", 9, "", true);
        row("15 number of 14", 15, "+4860100031011", false);
        row("17 text of 100", 17, QByteArray(100, '\xb9'), true);
        row("39 text of 101", 39, QByteArray(101, 'x'), false);
        row("27 query", 27, "STAN", true);
        row("27 with a blank", 27, "ST N", false);
        row("27 of 5", 27, "STANY", false);
        row("29 limit and filter", 29, "\x85", true);
        row("29 two bytes", 29, QByteArray("\x05\x00", 2), false);
        row("31 thresholds", 31, "\x84\x8a", true);
        row("31 one byte", 31, "\x84", false);
        row("33 empty", 33, "", false);
        row("35 interval", 35, "\xff", true);
        row("41 on", 41, "\x01", true);
        row("41 two", 41, "\x02", false);
        row("43 limit", 43, QByteArray(1, '\0'), true);
        row("73", 73, "h", true);
        row("73 other letter", 73, "H", false);
        row("74 clock", 74, QByteArray::fromHex("1f0305070809"), true);
        row("74 month 13", 74, QByteArray::fromHex("1f0d05070809"), false);
        row("74 hour 24", 74, QByteArray::fromHex("1f0305180809"), false);
        row("74 five bytes", 74, QByteArray::fromHex("1f03050708"), false);
        row("75", 75, "x", true);
        row("75 other letter", 75, "X", false);
        row("76", 76, "x", true);
        row("76 the start's letter", 76, "h", false);
        row("80", 80, "G", true);
        row("80 twice", 80, "GG", false);
        row("81", 81, "G", true);
        row("81 empty", 81, "", false);
        row("100", 100, "B", true);
        row("100 lower case", 100, "b", false);
        row("101 block", 101, block, true);
        row("101 block cut short", 101, block.left(128), false);
        row("102", 102, "K", true);
        row("102 other letter", 102, "G", false);
        row("unknown 44", 44, "G", false);
        row("unknown 0", 0, "", false);
        QByteArray spoiled = simtest::command(80, "G");
        spoiled.back() = char(spoiled.back() + 1);
        QTest::newRow("bad checksum") << spoiled << false;
    }
    void payloads()
    {
        QFETCH(QByteArray, frame);
        QFETCH(bool, good);
        ControllerModel model;
        // What a command could change, to see that a refused one changed nothing.
        auto state = [&model] {
            QByteArray s = model.password() + char(model.loggedIn()) + char(model.mode()) +
                           char(model.streaming()) + QByteArray::number(qint64(model.history().size())) +
                           model.clock().toString(Qt::ISODate).toLatin1();
            for (int code = 4; code <= 42; code += 2)
                s += model.setting(code) + '|';
            return s;
        };
        const QByteArray before = state();
        model.receive(frame);
        QCOMPARE(model.protocolErrors(), good ? 0 : 1);
        QCOMPARE(model.acceptedFrames(), good ? 1 : 0);
        if (good)
            return;
        QVERIFY(model.takeWrites().empty());
        QCOMPARE(state(), before);
        QCOMPARE(model.lastProtocolError()->frame.code, quint8(frame[1]));
        QCOMPARE(model.lastProtocolError()->frame.payload, frame.mid(3, frame.size() - 4));
        QCOMPARE(model.errors().size(), size_t(1));
    }

    void status()
    {
        ControllerModel model;
        model.advanceTo(60s);
        const simtest::Answer a = only(model, 80, "G");
        QCOMPARE(a.payload.size(), 12);
        QCOMPARE(quint8(a.payload[0]), 2); // +22 C is above the +10 start-up maximum
        QCOMPARE(a.payload.mid(1, 5), QByteArray::fromHex("0014120000"));
        QCOMPARE(simtest::le16(a.payload, 8), 265);
        QCOMPARE(simtest::le16(a.payload, 10), 220);
        std::set<int> temperatures; // it moves, but only a little
        for (int s = 0; s < 60; s += 3) {
            model.advanceTo(60s + std::chrono::seconds(s));
            temperatures.insert(simtest::le16(model.status(), 6));
        }
        QVERIFY(temperatures.size() > 1 && *temperatures.begin() >= 290 && *temperatures.rbegin() <= 300);

        ControllerOptions bare;
        bare.supplyMissing = bare.batteryMissing = true;
        const QByteArray s = ControllerModel(bare).status();
        QCOMPARE(quint8(s[0]) & 0x0C, 0x0C);
        QVERIFY(simtest::le16(s, 8) <= 210 && simtest::le16(s, 10) <= 183);
    }

    void modemClimb_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("signal");
        // One stage per 500 ms; the signal is unknown (99) until the modem reads it at stage 17.
        QTest::newRow("start") << 0 << 0 << 99;
        QTest::newRow("stage 16") << 8400 << 16 << 99;
        QTest::newRow("stage 17") << 8500 << 17 << 8;
        QTest::newRow("stage 19") << 9500 << 19 << 16;
        QTest::newRow("linked") << 10000 << 20 << 18;
        QTest::newRow("much later") << 600000 << 20 << 18;
    }
    void modemClimb()
    {
        QFETCH(int, ms);
        QFETCH(int, stage);
        QFETCH(int, signal);
        ControllerModel model;
        model.advanceTo(std::chrono::milliseconds(ms));
        QCOMPARE(quint8(model.status()[2]), stage);
        QCOMPARE(quint8(model.status()[3]), signal);
        // The same climb again after a restart that the bootloader's window ends.
        ControllerModel restarted;
        restarted.advanceTo(30s);
        QVERIFY(exchange(restarted, 100, "B").empty());
        restarted.advanceTo(35s);
        restarted.advanceTo(35s + std::chrono::milliseconds(ms));
        QCOMPARE(quint8(restarted.status()[2]), stage);
        QCOMPARE(quint8(restarted.status()[3]), signal);
    }

    void alarmsCountAndReset()
    {
        ControllerModel model;
        const size_t before = model.history().size();
        exchange(model, 9, "+48600100200");
        exchange(model, 11, "+48600100201");
        exchange(model, 41, QByteArray(1, '\1'));
        exchange(model, 31, QByteArray::fromHex("a0aa")); // +32..+42: now too cold
        QCOMPARE(quint8(model.status()[0]), 1);
        model.advanceTo(1s);
        QCOMPARE(model.history().size(), before + 1);
        QCOMPARE(int(model.history().back().kind), 13);
        exchange(model, 31, QByteArray::fromHex("80a0")); // back in range
        model.advanceTo(2s);
        QCOMPARE(quint8(model.status()[0]), 3);
        QCOMPARE(int(model.history().back().kind), 12);
        // One SMS to each number per change, one call for the alarm.
        QCOMPARE(only(model, 80, "G").payload.mid(4, 2), QByteArray::fromHex("0401"));
        QVERIFY(exchange(model, 81, "G").empty());
        QCOMPARE(only(model, 80, "G").payload.mid(4, 2), QByteArray::fromHex("0000"));
    }

    void history_data()
    {
        QTest::addColumn<int>("records");
        for (int n : {0, 1, 120, 4095, 8191})
            QTest::addRow("%d", n) << n;
    }
    void history()
    {
        QFETCH(int, records);
        ControllerOptions options;
        options.historyRecords = records;
        ControllerModel model(options);
        const simtest::Answer head = only(model, 73, "h");
        QCOMPARE(head.type, 73);
        QCOMPARE(simtest::le16(head.payload, 0), records * 8);
        const std::vector<simtest::Answer> stream = drainStream(model);
        QCOMPARE(int(stream.size()), records + 1);
        QCOMPARE(stream.back().type, 70);
        std::set<int> kinds;
        QDateTime last;
        for (int i = 0; i < records; ++i) {
            const QByteArray& r = stream[size_t(i)].payload;
            QCOMPARE(stream[size_t(i)].type, 71);
            kinds.insert(quint8(r[1]) >> 4);
            const QDateTime t(QDate(2000 + quint8(r[0]), quint8(r[1]) & 0x0F, quint8(r[2])),
                              QTime(quint8(r[3]), quint8(r[4]), quint8(r[5])), Qt::UTC);
            QVERIFY2(t.isValid() && t < model.clock() && (!last.isValid() || t > last),
                     qPrintable(r.toHex(' ')));
            last = t;
        }
        if (records >= 120)
            QCOMPARE(kinds, (std::set<int>{0, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    }

    void historyStopAndErase()
    {
        ControllerModel model;
        only(model, 73, "h");
        for (int i = 0; i < 3; ++i)
            QCOMPARE(simtest::first(model.nextStreamWrite()).type, 71);
        QCOMPARE(only(model, 75, "x").type, 75);
        QVERIFY(model.nextStreamWrite().isEmpty()); // no end answer after a stop
        QVERIFY(exchange(model, 75, "x").empty());  // nor an answer to a stop without a stream

        QCOMPARE(only(model, 76, "x").type, 76);
        QCOMPARE(simtest::le16(only(model, 73, "h").payload, 0), 0);
        const std::vector<simtest::Answer> stream = drainStream(model);
        QCOMPARE(int(stream.size()), 1);
        QCOMPARE(stream[0].type, 70);
    }

    void clock()
    {
        ControllerModel model;
        model.advanceTo(10s);
        QVERIFY(exchange(model, 74, QByteArray::fromHex("1f0305070809")).empty());
        model.advanceTo(71s);
        QCOMPARE(model.clock(), QDateTime(QDate(2031, 3, 5), QTime(7, 9, 10), Qt::UTC));
        exchange(model, 100, "B"); // the start after the bootloader is logged with that clock
        exchange(model, 102, "K");
        QCOMPARE(model.history().back().time, QDateTime(QDate(2031, 3, 5), QTime(7, 9, 10), Qt::UTC));
        QCOMPARE(int(model.history().back().kind), 5);
        exchange(model, 74, QByteArray::fromHex("1f0d05070809")); // month 13
        QCOMPARE(int(model.errors().size()), 1);
        QCOMPARE(model.clock().date(), QDate(2031, 3, 5));
    }
};

QTEST_GUILESS_MAIN(TestSimModel)
#include "tst_simmodel.moc"
