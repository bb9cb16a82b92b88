// The Telnet codec of network lines: escaping, option negotiation and the COM-port
// commands, byte for byte, whichever way the stream is cut into reads.
#include "VaTelnet.h"

#include <QtTest>

using namespace VaTelnet;

namespace {

QByteArray B(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (const int b : bytes)
        out += char(b);
    return out;
}

// What the server sees for the client's offers, and ser2net's own first burst.
const QByteArray Ser2netOffers =
    B({IAC, WILL, 3, IAC, DO, 3, IAC, WILL, 1, IAC, DONT, 1, IAC, DO, 0, IAC, WILL, 0, IAC, DO, 44});
const QByteArray Line4800 =
    B({IAC, SB, 44, 1,   0,  0,   0x12, 0xC0, IAC, SE, IAC, SB, 44,  2,  8,  IAC, SE, IAC, SB,
       44,  3,  1,  IAC, SE, IAC, SB,   44,   4,   1,  IAC, SE, IAC, SB, 44, 5,   1,  IAC, SE});
const QByteArray Purge = B({IAC, SB, 44, 12, 3, IAC, SE});

struct Fed
{
    QByteArray data, replies;
};

// Opens a session as the backend does (offers, line, purge), then feeds the chunks.
Fed Run(const QList<QByteArray>& chunks, Session& session)
{
    session.Start();
    Fed fed;
    fed.replies += session.RequestLine({});
    fed.replies += session.RequestPurge(PurgeBoth);
    for (const QByteArray& chunk : chunks) {
        const Session::Output out = session.Feed(chunk);
        fed.data += out.data;
        fed.replies += out.replies;
    }
    return fed;
}

} // namespace

class TestTelnet : public QObject
{
    Q_OBJECT
private slots:
    void escape_data();
    void escape();
    void covered_data();
    void covered();
    void lineCommands_data();
    void lineCommands();
    void feed_data();
    void feed();
};

void TestTelnet::escape_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("escaped");
    QTest::newRow("plain") << QByteArray("m\x11\x13") << QByteArray("m\x11\x13");
    QTest::newRow("one IAC") << B({'a', 0xFF, 'b'}) << B({'a', 0xFF, 0xFF, 'b'});
    QTest::newRow("IAC run at the end") << B({0, 0xFF, 0xFF}) << B({0, 0xFF, 0xFF, 0xFF, 0xFF});
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestTelnet::escape()
{
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, escaped);
    QCOMPARE(Escape(data), escaped);
    // And back: the server's doubled IAC is one data byte again.
    Session session;
    QCOMPARE(session.Feed(escaped).data, data);
}

void TestTelnet::covered_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("whole");
    QTest::addColumn<bool>("halfPair");
    const QByteArray d = B({'a', 0xFF, 'b', 0xFF});
    QTest::newRow("nothing") << d << 0 << 0 << false;
    QTest::newRow("before the pair") << d << 1 << 1 << false;
    QTest::newRow("inside the pair") << d << 2 << 1 << true;
    QTest::newRow("after the pair") << d << 3 << 2 << false;
    QTest::newRow("inside the last pair") << d << 5 << 3 << true;
    QTest::newRow("all") << d << 6 << 4 << false;
}

void TestTelnet::covered()
{
    QFETCH(QByteArray, data);
    QFETCH(int, sent);
    QFETCH(int, whole);
    QFETCH(bool, halfPair);
    bool half = !halfPair;
    QCOMPARE(Covered(data, sent, &half), qsizetype(whole));
    QCOMPARE(half, halfPair);
}

void TestTelnet::lineCommands_data()
{
    QTest::addColumn<quint32>("baud");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("flow");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("4800 8N1, no flow control") << 4800u << int(ParityNone) << int(FlowNone) << Line4800;
    QByteArray odd = Line4800;
    odd.replace(B({IAC, SB, 44, 3, 1}), B({IAC, SB, 44, 3, 2}));
    odd.replace(B({IAC, SB, 44, 5, 1}), B({IAC, SB, 44, 5, 3}));
    QTest::newRow("odd parity, hardware flow") << 4800u << int(ParityOdd) << int(FlowHardware) << odd;
    // A speed with an 0xFF byte keeps it doubled inside the subnegotiation.
    QByteArray ff = Line4800;
    ff.replace(B({IAC, SB, 44, 1, 0, 0, 0x12, 0xC0}), B({IAC, SB, 44, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    QTest::newRow("65535 baud") << 65535u << int(ParityNone) << int(FlowNone) << ff;
}

void TestTelnet::lineCommands()
{
    QFETCH(quint32, baud);
    QFETCH(int, parity);
    QFETCH(int, flow);
    QFETCH(QByteArray, bytes);
    Line line;
    line.baud = baud;
    line.parity = quint8(parity);
    line.flow = quint8(flow);
    QCOMPARE(LineCommands(line), bytes);
}

void TestTelnet::feed_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("replies");
    QTest::addColumn<int>("portControl");
    QTest::addColumn<int>("notes");

    const int asked = int(Session::ComPort::Asked), agreed = int(Session::ComPort::Agreed),
              refused = int(Session::ComPort::Refused);
    QTest::newRow("no answer yet: nothing held back goes out")
        << QByteArray() << QByteArray() << QByteArray() << asked << 0;
    // Agreement releases the held settings; the echo offer is refused; nothing answers our own
    // offers crossing the server's.
    QTest::newRow("ser2net's offers") << Ser2netOffers + "m\x01" << QByteArray("m\x01")
                                      << B({IAC, DONT, 1}) + Line4800 + Purge << agreed << 0;
    QTest::newRow("refused option") << B({IAC, DONT, 44, IAC, WONT, 0}) + "x" << QByteArray("x")
                                    << QByteArray() << refused << 0;
    QTest::newRow("unknown options refused")
        << B({IAC, DO, 24, IAC, WILL, 31, IAC, DO, 44}) << QByteArray()
        << B({IAC, WONT, 24, IAC, DONT, 31}) + Line4800 + Purge << agreed << 0;
    QTest::newRow("an agreed option withdrawn")
        << B({IAC, DO, 0, IAC, DONT, 0}) << QByteArray() << B({IAC, WONT, 0}) << asked << 0;
    QTest::newRow("doubled IAC in data")
        << B({'a', IAC, IAC, IAC, IAC, 'b'}) << B({'a', 0xFF, 0xFF, 'b'}) << QByteArray() << asked << 0;
    QTest::newRow("answers with an escaped IAC inside")
        << B({IAC, SB, 44, 101, 0, 0, IAC, IAC, IAC, IAC, IAC, SE, 'k', IAC, SB, 44, 107, 0, IAC, SE})
        << QByteArray("k") << QByteArray() << asked << 2;
    QTest::newRow("other commands carry nothing")
        << B({IAC, 241, 'a', IAC, 249, 'b', IAC, SE}) << QByteArray("ab") << QByteArray() << asked << 0;
    QTest::newRow("subnegotiation cut short by a command")
        << B({IAC, SB, 44, 106, 1, IAC, DO, 44, 'z'}) << QByteArray("z") << Line4800 + Purge << agreed << 1;
}

void TestTelnet::feed()
{
    QFETCH(QByteArray, received);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, replies);
    QFETCH(int, portControl);
    QFETCH(int, notes);

    // Whole, byte by byte, and in pairs: every cut gives the same.
    QList<QList<QByteArray>> cuts{{received}, {}, {}};
    for (qsizetype i = 0; i < received.size(); ++i)
        cuts[1] << received.mid(i, 1);
    for (qsizetype i = 0; i < received.size(); i += 2)
        cuts[2] << received.mid(i, 2);
    for (const auto& chunks : cuts) {
        Session session;
        const Fed fed = Run(chunks, session);
        QCOMPARE(fed.data, data);
        QCOMPARE(fed.replies, replies);
        QCOMPARE(int(session.PortControl()), portControl);
        QCOMPARE(session.ServerNotes(), notes);
    }
    // Once agreed, modem-line commands go out at once; once refused, never.
    Session session;
    Run({received}, session);
    const QByteArray dtr = session.RequestControl(DtrOn);
    QCOMPARE(dtr,
             portControl == int(Session::ComPort::Agreed) ? B({IAC, SB, 44, 5, 8, IAC, SE}) : QByteArray());
}

QTEST_GUILESS_MAIN(TestTelnet)
#include "tst_telnet.moc"
