// Network lines through the serial component itself, against small servers of the test's
// own that behave as converters and ser2net do in their corners: one that never answers the
// port commands, one that refuses the option, one that sends an error text and closes, one
// that closes at once, and one that drops the line mid-session.
#include "NetServer.h"
#include "VaComm.h"
#include "port/PortList.h"
#include "port/PortOpen.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QtTest>

#include <unistd.h>

using namespace tq3;
using Server = FakeServer;

namespace {

// The component as the program sets it up for the controller.
void Prepare(TVaComm& comm, const QString& name)
{
    ChoosePort(comm, name);
    comm.SetBaudrate(br4800);
    comm.SetDatabits(db8);
    comm.SetParity(paNone);
    comm.SetStopbits(sb1);
    SetNoFlowControl(comm);
}

QByteArray AllBytesTwice()
{
    QByteArray data;
    for (int i = 0; i < 512; ++i)
        data += char(i & 0xFF);
    return data;
}

} // namespace

class TestSerialNet : public QObject
{
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void lines_data();
    void lines();
    void openFailures_data();
    void openFailures();
    void serverGoesAway();
};

void TestSerialNet::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("raw, IPv4") << "socket://127.0.0.1:2000" << true << "127.0.0.1" << 2000;
    QTest::newRow("rfc2217, name") << "rfc2217://ser2net.local:7000" << true << "ser2net.local" << 7000;
    QTest::newRow("rfc2217, IPv6") << "rfc2217://[::1]:2001" << true << "::1" << 2001;
    QTest::newRow("scheme in capitals") << "RFC2217://box:1" << true << "box" << 1;
    QTest::newRow("no port") << "socket://box" << false << "" << 0;
    QTest::newRow("port too large") << "socket://box:70000" << false << "" << 0;
    QTest::newRow("IPv6 without brackets") << "socket://::1:2000" << false << "" << 0;
    QTest::newRow("a path") << "rfc2217://box:2000/x" << false << "" << 0;
    QTest::newRow("local device") << "/dev/ttyUSB0" << true << "" << 0;
}

void TestSerialNet::names()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QFETCH(QString, host);
    QFETCH(int, port);
    VaOs::NetAddress address;
    QCOMPARE(VaOs::ParseNetAddress(name, address), valid);
    QCOMPARE(address.host, host);
    QCOMPARE(int(address.port), port);
    // The port list and the port choice hand the name to the component as it is.
    QCOMPARE(ResolvePortName(name), name);
    QVERIFY(!ComPortNumber(name));
    TVaComm comm;
    ChoosePort(comm, name);
    QCOMPARE(comm.DevicePath(), name);
}

void TestSerialNet::lines_data()
{
    QTest::addColumn<int>("server");
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QByteArray>("commands"); // what the server must have received besides the data
    const QByteArray line4800 = Bytes({255, 250, 44,  1,   0,   0,   0x12, 0xC0, 255, 240, 255, 250, 44,
                                       2,   8,   255, 240, 255, 250, 44,   3,    1,   255, 240, 255, 250,
                                       44,  4,   1,   255, 240, 255, 250,  44,   5,   1,   255, 240});
    const QByteArray offers = Bytes({255, 251, 44, 255, 251, 0, 255, 253, 0, 255, 251, 3, 255, 253, 3});
    const QByteArray purge = Bytes({255, 250, 44, 12, 3, 255, 240});
    const QByteArray dtrOn = Bytes({255, 250, 44, 5, 8, 255, 240}),
                     dtrOff = Bytes({255, 250, 44, 5, 9, 255, 240}),
                     rtsOff = Bytes({255, 250, 44, 5, 12, 255, 240});
    QTest::newRow("raw") << int(Server::EchoRaw) << "socket" << QByteArray();
    // Offers, the line at open (purged), the component's line settings with its modem lines
    // (flow control off leaves both low), then the program's DTR and RTS: none waited for.
    QTest::newRow("rfc2217, no answers")
        << int(Server::TelnetQuiet) << "rfc2217"
        << offers + line4800 + purge + line4800 + dtrOff + rtsOff + dtrOn + rtsOff;
    QTest::newRow("rfc2217 refused") << int(Server::TelnetRefuses) << "rfc2217" << offers;
}

void TestSerialNet::lines()
{
    QFETCH(int, server);
    QFETCH(QString, scheme);
    QFETCH(QByteArray, commands);
    FakeServer fake{Server::Kind(server)};
    TVaComm comm;
    Prepare(comm, fake.Name(scheme.toLatin1().constData()));
    QByteArray rx;
    comm.OnRxChar = [&](QObject*, qint32) { rx += comm.ReadString(); };
    QElapsedTimer opening;
    opening.start();
    comm.Open();
    comm.SetDtrLine(true);
    comm.SetRtsLine(false);
    QVERIFY2(opening.elapsed() < 100, qPrintable(QString::number(opening.elapsed())));

    const QByteArray data = AllBytesTwice();
    QVERIFY(comm.WriteString(data));
    QTRY_COMPARE_WITH_TIMEOUT(rx.size(), data.size(), 5000);
    QCOMPARE(rx, data);
    const QByteArray received = fake.Received();
    const QByteArray escaped =
        scheme == "socket" ? data : QByteArray(data).replace(Bytes({255}), Bytes({255, 255}));
    QCOMPARE(received.toHex(' '), (commands + escaped).toHex(' '));
    comm.Close();
}

void TestSerialNet::openFailures_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("failure");
    QTest::addColumn<QString>("detail"); // %1: the server's host:port
    QTest::addColumn<QString>("serverText");
    QTest::newRow("refused") << "closed port" << int(OpenFailure::Refused) << "Serwer %1 odmówił połączenia."
                             << "";
    QTest::newRow("timed out") << "full backlog" << int(OpenFailure::Unreachable)
                               << "Brak połączenia z %1 (brak trasy albo upłynął czas)."
                               << "";
    QTest::newRow("error text") << "error text" << int(OpenFailure::ServerSaid)
                                << "Serwer %1 odpowiedział: Port already in use"
                                << "Port already in use";
    QTest::newRow("closes at once") << "closes" << int(OpenFailure::Dropped)
                                    << "Serwer %1 zamknął połączenie zaraz po jego nawiązaniu."
                                    << "";
    QTest::newRow("unknown host") << "unknown host" << int(OpenFailure::UnknownHost)
                                  << "Nieznany host tq3-no-such-host.invalid ("
                                  << "";
    QTest::newRow("bad name") << "bad name" << int(OpenFailure::Other)
                              << "Nieprawidłowy adres socket://box: oczekiwano socket://HOST:PORT albo "
                                 "rfc2217://HOST:PORT."
                              << "";
}

void TestSerialNet::openFailures()
{
    QFETCH(QString, setup);
    QFETCH(int, failure);
    QFETCH(QString, detail);
    QFETCH(QString, serverText);

    std::unique_ptr<FakeServer> fake;
    QString name;
    std::vector<int> sockets;
    auto closeAll = qScopeGuard([&] {
        for (int fd : sockets)
            ::close(fd);
        VaOs::SetNetConnectTimeout(5000);
    });
    if (setup == "closed port") {
        // A port just given up is free and nothing listens on it.
        fake = std::make_unique<FakeServer>(Server::EchoRaw);
        name = fake->Name("socket");
        fake.reset();
    } else if (setup == "full backlog") {
        // A listener that never accepts, its queue full: the handshake's first step goes unanswered.
        quint16 port = 0;
        sockets.push_back(ListenOnLoopback(port, 0));
        for (int i = 0; i < 3; ++i)
            sockets.push_back(ConnectToLoopback(port, true));
        name = QStringLiteral("rfc2217://127.0.0.1:%1").arg(port);
        VaOs::SetNetConnectTimeout(300);
    } else if (setup == "error text" || setup == "closes") {
        fake = std::make_unique<FakeServer>(setup == "closes" ? Server::CloseAtOnce : Server::ErrorText);
        name = fake->Name("rfc2217");
    } else if (setup == "unknown host") {
        name = QStringLiteral("socket://tq3-no-such-host.invalid:2000");
    } else {
        name = QStringLiteral("socket://box");
    }

    TVaComm comm;
    Prepare(comm, name);
    QElapsedTimer timer;
    timer.start();
    std::optional<EVaOpenError> error;
    try {
        comm.Open();
    } catch (const EVaOpenError& e) {
        error = e;
    }
    QVERIFY(error);
    QVERIFY(!comm.IsOpen());
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(error->Device(), name);
    QCOMPARE(int(ClassifyOpenFailure(error->OsError())), failure);
    QCOMPARE(error->ServerText(), serverText);
    VaOs::NetAddress address;
    VaOs::ParseNetAddress(name, address);
    const QString expected = detail.contains("%1") ? detail.arg(address.Shown()) : detail;
    const QString shown = OpenFailureDetail(name, *error);
    QVERIFY2(shown.startsWith(expected), qPrintable(shown));
    // Without the server's text the line still names the server.
    if (!serverText.isEmpty())
        QCOMPARE(OpenFailureDetail(name, error->Device(), error->OsError()),
                 QStringLiteral("Serwer %1 odpowiedział błędem i zamknął połączenie.").arg(address.Shown()));
}

void TestSerialNet::serverGoesAway()
{
    FakeServer fake(Server::TelnetQuiet);
    TVaComm comm;
    Prepare(comm, fake.Name("rfc2217"));
    QList<quint32> errors;
    int closes = 0;
    comm.OnError = [&](QObject*, quint32 flags) { errors << flags; };
    comm.OnClose = [&](QObject*) { ++closes; };
    for (int round = 0; round < 2; ++round) {
        const qsizetype before = fake.Received().size();
        comm.Open();
        QVERIFY(comm.WriteString("ping"));
        QTRY_VERIFY_WITH_TIMEOUT(TelnetData(fake.Received().mid(before)).endsWith("ping"), 5000);
        fake.Drop();
        // Reported once, as an unplugged adapter is, and the port counts as closed.
        QTRY_COMPARE_WITH_TIMEOUT(closes, round + 1, 5000);
        QVERIFY(!comm.IsOpen());
        QCOMPARE(errors.size(), round + 1);
        QVERIFY(errors.last() & VaConst::CE_IOE);
    }
}

QTEST_GUILESS_MAIN(TestSerialNet)
#include "tst_serial_net.moc"
