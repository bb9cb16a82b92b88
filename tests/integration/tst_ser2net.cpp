// tq3ctl over network lines, as installers reach controllers: Debian's ser2net on
// loopback in front of the simulated controller's pseudo-terminal, once as a raw TCP
// port and once as Telnet with COM-port control. Each result is compared with the same
// operation over the pseudo-terminal itself.
#include "CommandLine.h"
#include "CtlTestUtil.h"
#include "NetServer.h"
#include "Ser2netServer.h"
#include "VaComm.h"
#include "link/CommandCodes.h"
#include "link/Frame.h"
#include "port/PortOpen.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace tq3ctl;

namespace {

const QString Password = QStringLiteral("7391");

QStringList Args(const QString& port, const QStringList& rest)
{
    return QStringList{"-p", port, "-P", Password} + rest;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Settings with 0xFF in both threshold bytes, and something unusual in every other kind.
tq3sim::ControllerOptions FfController()
{
    tq3sim::ControllerOptions c = UnusualController();
    c.settings[30] = QByteArray("\xff\xff");
    return c;
}

void SchemeRows()
{
    QTest::addColumn<bool>("telnet");
    QTest::newRow("raw") << false;
    QTest::newRow("rfc2217") << true;
}

// The first line of tq3ctl's error output that begins with the detail.
bool HasDetail(const CtlRun& run, const QString& detail)
{
    return QString::fromUtf8(run.err).contains(QStringLiteral("tq3ctl: ") + detail);
}

} // namespace

class TestSer2net : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { QVERIFY(dir.isValid()); }
    void settings_data() { SchemeRows(); }
    void settings();
    void history_data() { SchemeRows(); }
    void history();
    void firmware_data() { SchemeRows(); }
    void firmware();
    void refused_data();
    void refused();
    void lineDropped_data() { SchemeRows(); }
    void lineDropped();

private:
    QString Path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

void TestSer2net::initTestCase()
{
    QVERIFY(QFile::exists(QStringLiteral(TQ3CTL_PATH)));
    // Missing ser2net fails the run: scripts/install-deps.sh installs it.
    QVERIFY2(!Ser2netPath().isEmpty(), "ser2net is not installed (apt-get install ser2net)");
}

// Login and status, all twenty settings read into a file, and a write read back, each
// holding 0xFF bytes.
void TestSer2net::settings()
{
    QFETCH(bool, telnet);
    auto netSim = StartSim(FfController());
    auto freshSim = StartSim();
    auto ptySim = StartSim(FfController());
    QVERIFY(netSim && freshSim && ptySim);
    const Accepter a{telnet, FreeLoopbackPort(), netSim->slavePath()},
        fresh{telnet, FreeLoopbackPort(), freshSim->slavePath()};
    Ser2net server;
    QVERIFY(server.Start({a, fresh}));

    // Connect and negotiation, the figure printed (speed is a benchmark's to judge).
    {
        TVaComm comm;
        tq3::ChoosePort(comm, a.Name());
        QElapsedTimer timer;
        timer.start();
        comm.Open();
        qInfo("open with negotiation: %lld ms", timer.elapsed());
    }
    const CtlRun status = RunCtl(Args(a.Name(), {"status"}));
    QCOMPARE(status.code, 0);
    QVERIFY2(status.out.contains("Wersja:"), status.out.constData());

    const QString overNet = Path("net.tcf"), overPty = Path("pty.tcf");
    QCOMPARE(RunCtl(Args(a.Name(), {"read", overNet})).code, 0);
    QCOMPARE(RunCtl(Args(ptySim->slavePath(), {"read", overPty})).code, 0);
    QCOMPARE(ReadFile(overNet), ReadFile(overPty));

    // The file goes to a controller with its factory settings; write reads every item back.
    const CtlRun write = RunCtl(Args(fresh.Name(), {"write", overNet}));
    QVERIFY2(write.code == 0, write.err.constData());
    QCOMPARE(freshSim->setting(30), QByteArray("\xff\xff"));
    const QString back = Path("back.tcf");
    QCOMPARE(RunCtl(Args(fresh.Name(), {"read", back})).code, 0);
    QCOMPARE(ReadFile(back), ReadFile(overNet));
}

// A history of 4095 records comes byte for byte as over the pseudo-terminal.
void TestSer2net::history()
{
    QFETCH(bool, telnet);
    tq3sim::ControllerOptions controller;
    controller.historyRecords = 4095;
    auto netSim = StartSim(controller);
    auto ptySim = StartSim(controller);
    QVERIFY(netSim && ptySim);
    const auto records = [](const tq3sim::PtyRunner& sim) {
        return sim.inspect([](const auto& m) {
            QByteArray all;
            for (const auto& record : m.history())
                all += record.encode();
            return all;
        });
    };
    QCOMPARE(records(*netSim), records(*ptySim));
    const Accepter a{telnet, FreeLoopbackPort(), netSim->slavePath()};
    Ser2net server;
    QVERIFY(server.Start({a}));

    const QString overNet = Path("net.txt"), overPty = Path("pty.txt");
    const CtlRun net = RunCtl(Args(a.Name(), {"history", "-o", overNet}));
    QVERIFY2(net.code == 0, net.err.constData());
    QCOMPARE(RunCtl(Args(ptySim->slavePath(), {"history", "-o", overPty})).code, 0);
    QVERIFY(ReadFile(overPty).size() > 4095 * 20);
    QVERIFY(ReadFile(overNet) == ReadFile(overPty));
}

// Firmware blocks full of 0xFF reach the bootloader unchanged.
void TestSer2net::firmware()
{
    QFETCH(bool, telnet);
    QByteArray image(256, char(0xFF));
    for (int i = 0; i < 300; ++i)
        image += char(i % 3 == 0 ? 0xFF : (i * 37 + 11) & 0xFF);
    const QString file = Path("fw.tfr");
    const QByteArray body = "tfr" + image;
    char check = 0;
    for (const char c : body)
        check ^= c;
    QVERIFY(WriteFile(file, body + check));

    auto sim = StartSim();
    QVERIFY(sim);
    const Accepter a{telnet, FreeLoopbackPort(), sim->slavePath()};
    Ser2net server;
    QVERIFY(server.Start({a}));
    const CtlRun run = RunCtl(Args(a.Name(), {"firmware", file}));
    QVERIFY2(run.code == 0, run.err.constData());
    QCOMPARE(sim->bootImage().left(image.size()).toHex(), image.toHex());
}

void TestSer2net::refused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("telnet");
    QTest::addColumn<QString>("detail");     // %1: 127.0.0.1:port
    QTest::addColumn<QString>("serverText"); // what the component gets from ser2net itself
    QTest::newRow("closed port") << "closed" << false << "Serwer %1 odmówił połączenia."
                                 << "";
    QTest::newRow("closes at once") << "slam" << true
                                    << "Serwer %1 zamknął połączenie zaraz po jego nawiązaniu."
                                    << "";
    for (const bool telnet : {false, true}) {
        const char* scheme = telnet ? "rfc2217" : "raw";
        QTest::addRow("%s, port in use", scheme) << "in use" << telnet << "Serwer %1 odpowiedział"
                                                 << "Port already in use";
        QTest::addRow("%s, device missing", scheme) << "no device" << telnet << "Serwer %1 odpowiedział"
                                                    << "Device open failure";
    }
}

// Refused lines end tq3ctl with its port exit and the server named; the component has the
// server's own text.
void TestSer2net::refused()
{
    QFETCH(QString, kind);
    QFETCH(bool, telnet);
    QFETCH(QString, detail);
    QFETCH(QString, serverText);

    auto sim = StartSim();
    QVERIFY(sim);
    Accepter a{telnet, FreeLoopbackPort(),
               kind == "no device" ? QStringLiteral("/dev/tq3-no-such-port") : sim->slavePath()};
    Ser2net server;
    std::unique_ptr<FakeServer> slammer;
    int holder = -1;
    auto release = qScopeGuard([&] {
        if (holder >= 0)
            ::close(holder);
    });
    if (kind == "slam") {
        slammer = std::make_unique<FakeServer>(FakeServer::CloseAtOnce);
        a.port = slammer->Port();
    } else if (kind != "closed") {
        QVERIFY(server.Start({a}));
    }
    size_t heldFrames = 0;
    if (kind == "in use") {
        // The first client holds the line: its frame has reached the controller.
        holder = ConnectToLoopback(a.port);
        QVERIFY(holder >= 0);
        const QByteArray status = tq3::BuildFrame(tq3::CodeStatus, QByteArrayLiteral("G"));
        QCOMPARE(::write(holder, status.constData(), size_t(status.size())), ssize_t(status.size()));
        QVERIFY(QTest::qWaitFor([&] { return !sim->frames().empty(); }, 5000));
        heldFrames = sim->frames().size();
    }

    const CtlRun run = RunCtl(Args(a.Name(), {"status"}));
    QCOMPARE(run.code, int(ExitPort));
    QVERIFY2(HasDetail(run, detail.arg(QStringLiteral("127.0.0.1:%1").arg(a.port))), run.err.constData());
    QCOMPARE(sim->frames().size(), heldFrames);

    TVaComm comm;
    tq3::ChoosePort(comm, a.Name());
    try {
        comm.Open();
        QFAIL("the line opened");
    } catch (const EVaOpenError& e) {
        QVERIFY2(serverText.isEmpty() ? e.ServerText().isEmpty() : e.ServerText().startsWith(serverText),
                 qPrintable(e.ServerText()));
        QVERIFY(serverText.isEmpty() || tq3::OpenFailureDetail(a.Name(), e).contains(serverText));
    }
}

// ser2net goes away while tq3ctl downloads the history: tq3ctl ends with its no-answer or
// port exit, and does not hang.
void TestSer2net::lineDropped()
{
    QFETCH(bool, telnet);
    tq3sim::ControllerOptions controller;
    controller.historyRecords = 4095;
    controller.modemStep = std::chrono::hours(1);
    auto sim = std::make_unique<tq3sim::PtyRunner>(controller); // paced: the download takes a while
    QVERIFY(sim->start());
    const Accepter a{telnet, FreeLoopbackPort(), sim->slavePath()};
    Ser2net server;
    QVERIFY(server.Start({a}));

    QProcess ctl;
    PrepareCtl(ctl, Args(a.Name(), {"history", "-o", Path("dropped.txt")}));
    ctl.start();
    // The request is in: the size and the records are on their way, for seconds.
    QVERIFY(QTest::qWaitFor([&] { return FrameCodes(*sim).contains(73); }, 10000));
    QElapsedTimer timer;
    timer.start();
    server.Stop();
    QVERIFY(ctl.waitForFinished(20000));
    QVERIFY2(ctl.exitCode() == ExitNoAnswer || ctl.exitCode() == ExitPort, ctl.readAllStandardError());
    QVERIFY(!QFile::exists(Path("dropped.txt")));
    qInfo("tq3ctl ended with %d, %lld ms after the server was told to go", ctl.exitCode(), timer.elapsed());
}

QTEST_GUILESS_MAIN(TestSer2net)
#include "tst_ser2net.moc"
