// The port list (COM1..COM8 first, then the devices under their stable names) and
// the detail line of a failed open, from the real serial component's open.
#include "PtyPair.h"
#include "VaClasses.h"
#include "VaComm.h"
#include "port/NetworkPorts.h"
#include "port/PortList.h"
#include "port/PortOpen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tq3;

namespace {

bool Touch(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly);
}

// Opens the device as the window does and returns the failure, if any.
std::optional<EVaOpenError> FailedOpen(TVaComm& comm, const QString& name)
{
    ChoosePort(comm, name);
    try {
        comm.Open();
    } catch (const EVaOpenError& e) {
        return e;
    }
    return std::nullopt;
}

} // namespace

class TestPorts : public QObject
{
    Q_OBJECT
private slots:
    void comPortsFirstThenDevicesByStableName();
    void resolvesNames_data();
    void resolvesNames();
    void missingDevice();
    void busyDevice();
    void deviceNotAllowed();
    void remembersNetworkLines();
};

void TestPorts::comPortsFirstThenDevicesByStableName()
{
    QTemporaryDir dir;
    QDir dev(dir.path());
    QVERIFY(dev.mkpath(QStringLiteral("serial/by-id")));
    for (const char* node : {"ttyUSB0", "ttyUSB1", "ttyACM0"})
        QVERIFY(Touch(dev.filePath(node)));
    QVERIFY(QFile::link(QStringLiteral("../../ttyUSB0"),
                        dev.filePath(QStringLiteral("serial/by-id/usb-FTDI_FT232R_A1-if00-port0"))));

    const std::vector<FoundPort> found{
        {dev.filePath("ttyUSB1"), "Prolific", "USB-Serial Controller", ""},
        {"/dev/ttyS0", "", "16550A", ""},
        {dev.filePath("ttyUSB0"), "FTDI", "FT232R USB UART", "A1"},
        {dev.filePath("ttyUSB0"), "FTDI", "FT232R USB UART", "A1"}, // listed twice by the system
        {dev.filePath("ttyACM0"), "", "", ""},
    };
    QStringList listed;
    std::vector<PortEntry> ports = ListPorts(found, ReadStableNames(dir.path()));
    for (const PortEntry& p : ports)
        listed << p.name + " " + QDir(dir.path()).relativeFilePath(p.device);

    QStringList expected;
    for (int n = 1; n <= 8; ++n)
        expected << QStringLiteral("COM%1 %2")
                        .arg(n)
                        .arg(QDir(dir.path()).relativeFilePath(QStringLiteral("/dev/ttyS%1").arg(n - 1)));
    // The adapter with a stable name is listed under it; the others under their node.
    expected << dev.filePath("ttyACM0") + " ttyACM0" << dev.filePath("ttyUSB1") + " ttyUSB1"
             << "usb-FTDI_FT232R_A1-if00-port0 ttyUSB0";
    QCOMPARE(listed, expected);

    QCOMPARE(PortToolTip(ports[0]), QStringLiteral("Opis: 16550A\nUrządzenie: /dev/ttyS0"));
    QCOMPARE(PortToolTip(ports[1]), QStringLiteral("Urządzenie: /dev/ttyS1"));
    QCOMPARE(PortToolTip(ports.back()),
             QStringLiteral("Producent: FTDI\nOpis: FT232R USB UART\nNumer seryjny: A1\n"
                            "Urządzenie: ") +
                 dev.filePath("ttyUSB0"));
}

void TestPorts::resolvesNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("resolved"); // relative to the fake /dev, or as it stands

    QTest::newRow("COM stays COM") << "com3"
                                   << "com3";
    QTest::newRow("stable name") << "usb-X-if00"
                                 << "@ttyUSB0";
    QTest::newRow("bare node") << "ttyUSB0"
                               << "@ttyUSB0";
    QTest::newRow("path") << "/tmp/tq3sim"
                          << "/tmp/tq3sim";
    QTest::newRow("unknown") << "ttyXYZ"
                             << "ttyXYZ";
    QTest::newRow("blanks around") << "  ttyUSB0 "
                                   << "@ttyUSB0";
}

void TestPorts::resolvesNames()
{
    QFETCH(QString, name);
    QFETCH(QString, resolved);
    QTemporaryDir dir;
    QDir dev(dir.path());
    QVERIFY(dev.mkpath(QStringLiteral("serial/by-id")));
    QVERIFY(Touch(dev.filePath("ttyUSB0")));
    QVERIFY(QFile::link(QStringLiteral("../../ttyUSB0"), dev.filePath("serial/by-id/usb-X-if00")));
    if (resolved.startsWith('@'))
        resolved = QFileInfo(dev.filePath(resolved.mid(1))).canonicalFilePath();
    QCOMPARE(ResolvePortName(name, dir.path()), resolved);
}

void TestPorts::missingDevice()
{
    TVaComm comm;
    const auto failure = FailedOpen(comm, QStringLiteral("/dev/tq3-no-such-port"));
    QVERIFY(failure);
    QCOMPARE(failure->Device(), QStringLiteral("/dev/tq3-no-such-port"));
    QCOMPARE(ClassifyOpenFailure(failure->OsError()), OpenFailure::Missing);
    QCOMPARE(
        OpenFailureDetail(QStringLiteral("/dev/tq3-no-such-port"), failure->Device(), failure->OsError()),
        QStringLiteral("Urządzenie /dev/tq3-no-such-port nie istnieje: adapter nie jest podłączony "
                       "albo port ma inną nazwę."));
    // A COM name shows the node it stands for.
    QVERIFY(OpenFailureDetail(QStringLiteral("COM9"), QStringLiteral("/dev/ttyS8"), ENOENT)
                .startsWith(QStringLiteral("Urządzenie COM9 (/dev/ttyS8) nie istnieje")));
}

void TestPorts::busyDevice()
{
    PtyPair pty;
    QVERIFY(pty.IsValid());
    TVaComm holder; // another program with the port open
    ChoosePort(holder, pty.SlavePath());
    holder.Open();

    TVaComm comm;
    const auto failure = FailedOpen(comm, pty.SlavePath());
    QVERIFY(failure);
    QCOMPARE(ClassifyOpenFailure(failure->OsError()), OpenFailure::Busy);
    QCOMPARE(OpenFailureDetail(pty.SlavePath(), failure->Device(), failure->OsError()),
             QStringLiteral("Urządzenie %1 jest zajęte: używa go inny program.").arg(pty.SlavePath()));
    QVERIFY(!comm.IsOpen());

    // Once the other program lets go, the port opens.
    holder.Close();
    QVERIFY(!FailedOpen(comm, pty.SlavePath()));
    QVERIFY(comm.IsOpen());
}

void TestPorts::deviceNotAllowed()
{
    PtyPair pty;
    QVERIFY(pty.IsValid());
    const QByteArray path = QFile::encodeName(pty.SlavePath());
    // Root passes every permission check: its file system checks run as nobody
    // for the open (this thread only).
    const bool root = ::geteuid() == 0;
    QVERIFY(::chmod(path.constData(), root ? 0600 : 0) == 0);
    if (root) {
        ::setfsuid(65534);
        if (::setfsuid(uid_t(-1)) != 65534)
            QSKIP("cannot check permissions as another user here");
    }
    TVaComm comm;
    const auto failure = FailedOpen(comm, pty.SlavePath());
    if (root)
        ::setfsuid(0);
    QVERIFY(failure);
    QCOMPARE(ClassifyOpenFailure(failure->OsError()), OpenFailure::NotAllowed);
    const QString detail = OpenFailureDetail(pty.SlavePath(), failure->Device(), failure->OsError());
    QVERIFY2(detail.startsWith(
                 QStringLiteral("Brak uprawnień do urządzenia %1. Dodaj użytkownika ").arg(pty.SlavePath())),
             qPrintable(detail));
    // The slave belongs to the tty group, which may not read it: the remedy is dialout.
    QVERIFY2(detail.contains(QStringLiteral(" do grupy dialout (sudo adduser ")) &&
                 detail.endsWith(QStringLiteral("dialout), a potem wyloguj się i zaloguj ponownie.")),
             qPrintable(detail));
}

QTEST_GUILESS_MAIN(TestPorts)

// The last five network lines that opened, newest first, each once; local
// ports are listed anyway and are not kept.
void TestPorts::remembersNetworkLines()
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    for (const char* name :
         {"socket://10.0.0.7:4001", "/dev/ttyUSB0", "COM2", "rfc2217://[::1]:2000", "rfc2217://box:2001",
          "socket://10.0.0.7:4001", "RFC2217://a:1", "socket://b:2", "socket://c:3"})
        RememberNetworkPort(QString::fromLatin1(name));
    QCOMPARE(RecentNetworkPorts(), (QStringList{"socket://c:3", "socket://b:2", "RFC2217://a:1",
                                                "socket://10.0.0.7:4001", "rfc2217://box:2001"}));
    QCOMPARE(RecentNetworkEntries().front().device, QStringLiteral("socket://c:3"));
}

#include "tst_ports.moc"
