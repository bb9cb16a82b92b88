// Opening, configuring and closing the port on a pseudo-terminal: failures, settings that
// reach the device, settings that must wait for a closed port, exclusive use, lifecycle.

#include "PtyPair.h"
#include "TestSupport.h"
#include "VaComm.h"
#include "VaUtils.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>
#include <memory>

namespace {

speed_t OutputSpeed(const termios& t)
{
    return cfgetospeed(&t);
}

} // namespace

class TestSerialOpen : public QObject
{
    Q_OBJECT

private:
    // Main thread and the test library's own; any other thread left is a leak.
    int baseThreads_ = 0;

private slots:
    void initTestCase() { baseThreads_ = ThreadCount(); }
    void cleanup() { VaSetApplicationExceptionHandler({}); }

    void openFailure_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"missing path", "missing COM port", "regular file", "directory",
                                 "locked pty", "pty of a closed master"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void openFailure()
    {
        QFETCH(QString, kind);
        PtyPair good; // first, so that it cannot take over the number of a closed pty below
        QVERIFY(good.IsValid());
        QTemporaryFile file;
        QTemporaryDir dir;
        std::unique_ptr<PtyPair> bad;
        QString name;
        int port = 1;
        if (kind == "missing path") {
            name = "/dev/tq3-no-such-port";
        } else if (kind == "missing COM port") {
            name = "COM%d";
            port = 250;
        } else if (kind == "regular file") {
            QVERIFY(file.open());
            name = file.fileName();
        } else if (kind == "directory") {
            name = dir.path();
        } else if (kind == "locked pty") {
            bad =
                std::make_unique<PtyPair>(PtyPair::Options{.observer = false, .unlock = false, .raw = false});
            name = bad->SlavePath();
        } else {
            // The observer keeps the number reserved, so that a test running beside
            // this one cannot get a new pty under the same path meanwhile.
            bad = std::make_unique<PtyPair>(PtyPair::Options{.observer = true, .unlock = true, .raw = true});
            name = bad->SlavePath();
            bad->CloseMaster();
        }
        TVaComm comm;
        CommRecorder rec(comm);
        const int fds = OpenFdCount();

        ApplyWindowSettings(comm);
        comm.SetDeviceName(name);
        comm.SetPortNum(port);
        QVERIFY(ThrownMessage<EConvertError>([&] { comm.Open(); }) != kNothingThrown);
        QVERIFY(!comm.IsOpen());
        QCOMPARE(comm.DeviceHandle(), -1);
        QVERIFY(!comm.EventThreadRunning());
        QVERIFY(!comm.WriteThreadRunning());
        QCOMPARE(rec.log, QStringList());
        QCOMPARE(OpenFdCount(), fds);
        QTRY_COMPARE_WITH_TIMEOUT(ThreadCount(), baseThreads_, 2000);

        // The user picks another port and connects.
        comm.SetDeviceName(good.SlavePath());
        comm.Open();
        QVERIFY(comm.IsOpen());
        QCOMPARE(rec.log, QStringList{"open"});
        comm.Close();
        QCOMPARE(OpenFdCount(), fds);
    }

    void openWhileOpen()
    {
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, pty);
        comm.Open();
        const int handle = comm.DeviceHandle();
        QCOMPARE(ThrownMessage<EVaCommError>([&] { comm.Open(); }), QString(VaConst::sPortOpen));
        QVERIFY(comm.IsOpen());
        QCOMPARE(comm.DeviceHandle(), handle);
        QCOMPARE(rec.log, QStringList{"open"});
        QVERIFY(comm.WriteString("ping"));
        QCOMPARE(pty.ReadMaster(4), QByteArray("ping"));
        QVERIFY(pty.WriteMaster("pong"));
        QTRY_COMPARE(rec.received, QByteArray("pong"));
    }

    void closedOnlyWhileOpen_data()
    {
        QTest::addColumn<CommAction>("change");
        QTest::addColumn<CommCheck>("unchanged");
        QTest::newRow("PortNum") << CommAction([](TVaComm& c) { c.SetPortNum(5); })
                                 << CommCheck([](const TVaComm& c) { return c.PortNum() == 1; });
        QTest::newRow("DeviceName") << CommAction([](TVaComm& c) {
            c.SetDeviceName("/dev/null");
        }) << CommCheck([](const TVaComm& c) { return c.DeviceName() != "/dev/null"; });
        QTest::newRow("MonitorEvents")
            << CommAction([](TVaComm& c) { c.SetMonitorEvents({}); })
            << CommCheck([](const TVaComm& c) { return !c.MonitorEvents().IsEmpty(); });
        QTest::newRow("Buffers") << CommAction([](TVaComm& c) {
            TVaBuffers b;
            b.SetReadSize(8192);
            b.SetWriteSize(16);
            c.SetBuffers(b);
        }) << CommCheck([](const TVaComm& c) {
            return c.Buffers().ReadSize() == 4096 && c.Buffers().WriteSize() == 2048;
        });
        QTest::newRow("DirectWrite") << CommAction([](TVaComm& c) { c.SetDirectWrite(true); })
                                     << CommCheck([](const TVaComm& c) { return !c.DirectWrite(); });
        QTest::newRow("UpdateDCB") << CommAction([](TVaComm& c) { c.SetUpdateDCB(false); })
                                   << CommCheck([](const TVaComm& c) { return c.UpdateDCB(); });
    }
    void closedOnlyWhileOpen()
    {
        QFETCH(CommAction, change);
        QFETCH(CommCheck, unchanged);
        PtyPair pty;
        TVaComm comm;
        UsePty(comm, pty);
        comm.Open();
        QCOMPARE(ThrownMessage<EVaCommError>([&] { change(comm); }), QString(VaConst::sPortOpen));
        QVERIFY(unchanged(comm));
        QVERIFY(comm.IsOpen());
        comm.Close();
        change(comm); // closed: taken
        QVERIFY(!unchanged(comm));
    }

    void bufferSizeWhileOpen()
    {
        PtyPair pty;
        TVaComm comm;
        UsePty(comm, pty);
        comm.Open();
        comm.Buffers().SetWriteTimeout(30); // time-outs may change while open
        QCOMPARE(comm.Buffers().WriteTimeout(), 30);
        QCOMPARE(ThrownMessage<EVaCommError>([&] { comm.Buffers().SetWriteSize(4096); }),
                 QString(VaConst::sPortOpen));
        QCOMPARE(comm.Buffers().WriteSize(), 4096);
        QCOMPARE(ThrownMessage<EVaCommError>([&] { comm.Buffers().SetReadSize(2000); }),
                 QString(VaConst::sPortOpen));
        QCOMPARE(comm.Buffers().ReadSize(), 2000);
        QVERIFY(comm.IsOpen());

        // The open port keeps the queue and the receive buffer it was opened with; the next
        // opening takes the new sizes.
        const QByteArray block = Pattern(3000);
        QCOMPARE(ThrownMessage<EVaCommError>([&] { comm.WriteString(block); }),
                 QString(VaConst::sBufferFull));
        QVERIFY(pty.WriteMaster(Pattern(6000)));
        QTRY_COMPARE(comm.InputCount(), 4096);
        comm.Close();
        comm.Open();
        QVERIFY(comm.WriteString(block));
        QCOMPARE(pty.ReadMaster(block.size()), block);
        QVERIFY(pty.WriteMaster(Pattern(6000)));
        QTRY_COMPARE(comm.InputCount(), 2000);
    }

    void lineSpeed_data()
    {
        QTest::addColumn<int>("baudrate");
        QTest::addColumn<int>("userBaudrate");
        QTest::addColumn<unsigned>("speed");
        QTest::newRow("4800") << int(br4800) << 0 << 4800u;
        QTest::newRow("1200") << int(br1200) << 0 << 1200u;
        QTest::newRow("9600") << int(br9600) << 0 << 9600u;
        QTest::newRow("115200") << int(br115200) << 0 << 115200u;
        QTest::newRow("14400, no symbolic speed") << int(br14400) << 0 << 14400u;
        QTest::newRow("56000, no symbolic speed") << int(br56000) << 0 << 56000u;
        QTest::newRow("user 250000") << int(brUser) << 250000 << 250000u;
    }
    void lineSpeed()
    {
        QFETCH(int, baudrate);
        QFETCH(int, userBaudrate);
        QFETCH(unsigned, speed);
        PtyPair pty;
        TVaComm comm;
        UsePty(comm, pty);
        if (userBaudrate)
            comm.SetUserBaudrate(userBaudrate);
        else
            comm.SetBaudrate(TVaBaudrate(baudrate));
        comm.Open();
        QCOMPARE(pty.SlaveSpeed(), speed);
    }

    void speedChangeReachesOpenPortOnly()
    {
        PtyPair pty;
        termios t = pty.SlaveTermios();
        cfsetspeed(&t, B1200);
        QVERIFY(pty.SetSlaveTermios(t));
        TVaComm comm;
        UsePty(comm, pty);
        comm.SetBaudrate(br9600); // closed: stored for the next opening
        QCOMPARE(pty.SlaveSpeed(), 1200u);
        comm.Open();
        QCOMPARE(pty.SlaveSpeed(), 9600u);
        comm.SetBaudrate(br4800);
        QCOMPARE(OutputSpeed(pty.SlaveTermios()), speed_t(B4800));
        comm.SetUserBaudrate(250000);
        QCOMPARE(pty.SlaveSpeed(), 250000u);
        comm.SetBaudrate(br19200);
        QCOMPARE(pty.SlaveSpeed(), 19200u);
        QCOMPARE(comm.UserBaudrate(), 0);
    }

    void updateDcbOffLeavesDevice()
    {
        PtyPair pty;
        termios t = pty.SlaveTermios();
        cfsetspeed(&t, B1200);
        QVERIFY(pty.SetSlaveTermios(t));
        TVaComm comm;
        UsePty(comm, pty);
        comm.SetUpdateDCB(false);
        comm.Open();
        QCOMPARE(pty.SlaveSpeed(), 1200u);
        comm.SetBaudrate(br9600);
        QCOMPARE(pty.SlaveSpeed(), 1200u);
        QVERIFY(comm.IsOpen());
    }

    void rawTermiosAppliedAndRestored()
    {
        PtyPair pty;
        // What another program might have left on the port.
        termios dirty = pty.SlaveTermios();
        dirty.c_iflag |= IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | PARMRK | BRKINT;
        dirty.c_oflag |= OPOST | ONLCR;
        dirty.c_lflag |= ICANON | ECHO | ECHONL | ISIG | IEXTEN;
        dirty.c_cflag |= CRTSCTS | CSTOPB | HUPCL;
        dirty.c_cflag &= ~tcflag_t(CLOCAL);
        cfsetspeed(&dirty, B38400);
        QVERIFY(pty.SetSlaveTermios(dirty));
        const termios before = pty.SlaveTermios();

        TVaComm comm;
        UsePty(comm, pty);
        comm.Open();
        const termios t = pty.SlaveTermios();
        QCOMPARE(OutputSpeed(t), speed_t(B4800));
        QCOMPARE(t.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS | HUPCL), tcflag_t(0));
        QCOMPARE(t.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
        QCOMPARE(t.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), tcflag_t(0));
        QCOMPARE(t.c_oflag & OPOST, tcflag_t(0));
        QCOMPARE(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | PARMRK | BRKINT),
                 tcflag_t(0));
        // With O_NONBLOCK an empty queue is EAGAIN and only a hang-up reads 0.
        QCOMPARE(int(t.c_cc[VMIN]), 1);
        QCOMPARE(int(t.c_cc[VTIME]), 0);

        comm.Close();
        const termios after = pty.SlaveTermios();
        QCOMPARE(after.c_iflag, before.c_iflag);
        QCOMPARE(after.c_oflag, before.c_oflag);
        QCOMPARE(after.c_lflag, before.c_lflag);
        QCOMPARE(after.c_cflag, before.c_cflag);
        QCOMPARE(OutputSpeed(after), OutputSpeed(before));
    }

    void framingThePtyCannotHold_data()
    {
        QTest::addColumn<CommAction>("setting");
        QTest::newRow("7 data bits") << CommAction([](TVaComm& c) { c.SetDatabits(db7); });
        QTest::newRow("even parity") << CommAction([](TVaComm& c) { c.SetParity(paEven); });
    }
    void framingThePtyCannotHold()
    {
        QFETCH(CommAction, setting);
        const QRegularExpression dcbError(QStringLiteral("^Error writing dcb \\(-?\\d+\\), \\S"));
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, pty);
        const int fds = OpenFdCount();
        setting(comm);
        const QString opening = ThrownMessage<EVaCommError>([&] { comm.Open(); });
        QVERIFY2(dcbError.match(opening).hasMatch(), qPrintable(opening));
        QVERIFY(!comm.IsOpen());
        QVERIFY(!comm.EventThreadRunning() && !comm.WriteThreadRunning());
        QCOMPARE(rec.log, QStringList());
        QCOMPARE(OpenFdCount(), fds);
        QTRY_COMPARE_WITH_TIMEOUT(ThreadCount(), baseThreads_, 2000);
        QVERIFY(CanLock(pty.SlavePath()));

        // Asked for while open: refused the same way, and the connection stays.
        ApplyWindowSettings(comm);
        comm.Open();
        const QString live = ThrownMessage<EVaCommError>([&] { setting(comm); });
        QVERIFY2(dcbError.match(live).hasMatch(), qPrintable(live));
        QVERIFY(comm.IsOpen());
    }

    void eventMask_data()
    {
        QTest::addColumn<quint16>("events");
        QTest::addColumn<bool>("directWrite");
        QTest::addColumn<quint32>("mask");
        QTest::addColumn<bool>("eventThread");
        QTest::addColumn<bool>("writeThread");
        const quint16 defaults = TVaCommEvents{ceError, ceRxChar, ceTxEmpty}.ToBits();
        QTest::newRow("defaults") << defaults << false << 0x0081u << true << true;
        QTest::newRow("direct write") << defaults << true << 0x0085u << true << false;
        QTest::newRow("nothing monitored") << quint16(0) << false << 0u << false << true;
        QTest::newRow("only end of transmission")
            << TVaCommEvents{ceTxEmpty}.ToBits() << false << 0u << false << true;
        QTest::newRow("only received chars")
            << TVaCommEvents{ceRxChar}.ToBits() << false << 0x0001u << true << true;
    }
    void eventMask()
    {
        QFETCH(quint16, events);
        QFETCH(bool, directWrite);
        QFETCH(quint32, mask);
        QFETCH(bool, eventThread);
        QFETCH(bool, writeThread);
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, pty);
        comm.SetMonitorEvents(TVaCommEvents::FromBits(events));
        comm.SetDirectWrite(directWrite);
        comm.Open();
        QCOMPARE(comm.EventMask(), mask);
        QCOMPARE(comm.EventThreadRunning(), eventThread);
        QCOMPARE(comm.WriteThreadRunning(), writeThread);

        QVERIFY(comm.WriteString("ping"));
        QCOMPARE(pty.ReadMaster(4), QByteArray("ping"));
        QVERIFY(pty.WriteMaster("pong"));
        if (eventThread) {
            QTRY_COMPARE(rec.received, QByteArray("pong"));
        } else {
            // Nobody announces the bytes, but they wait for the reader.
            QTRY_COMPARE(comm.InputCount(), 4);
            QCOMPARE(comm.ReadString(), QByteArray("pong"));
            QTest::qWait(50);
            QCOMPARE(rec.rxCounts, QList<qint32>());
        }
        comm.Close();
        QVERIFY(!comm.EventThreadRunning() && !comm.WriteThreadRunning());
    }

    void exclusiveUse()
    {
        PtyPair pty;
        TVaComm first, second;
        UsePty(first, pty);
        UsePty(second, pty);
        first.Open();
        QVERIFY(!CanLock(pty.SlavePath()));
        QVERIFY(ThrownMessage<EConvertError>([&] { second.Open(); }) != kNothingThrown);
        QVERIFY(!second.IsOpen());
        QVERIFY(!second.EventThreadRunning() && !second.WriteThreadRunning());
        QVERIFY(first.WriteString("still mine"));
        QCOMPARE(pty.ReadMaster(10), QByteArray("still mine"));

        first.Close();
        second.Open();
        QVERIFY(second.IsOpen());
        QVERIFY(ThrownMessage<EConvertError>([&] { first.Open(); }) != kNothingThrown);
    }

    void openCloseCycles()
    {
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, pty);
        const int fds = OpenFdCount();
        constexpr int cycles = 40;
        for (int i = 0; i < cycles; ++i) {
            comm.Open();
            QVERIFY(!CanLock(pty.SlavePath()));
            QVERIFY(comm.WriteString("x"));
            comm.Close();
            QVERIFY2(CanLock(pty.SlavePath()), qPrintable(QStringLiteral("lock kept after cycle %1").arg(i)));
        }
        QCOMPARE(rec.Count("open"), cycles);
        QCOMPARE(rec.Count("close"), cycles);
        QCOMPARE(OpenFdCount(), fds);
        QTRY_COMPARE_WITH_TIMEOUT(ThreadCount(), baseThreads_, 2000);
    }

    void modemLines_data()
    {
        QTest::addColumn<int>("controlDtr");
        QTest::addColumn<int>("controlRts");
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("dtr");
        QTest::addColumn<QString>("message");
        const QString dtrRefused = VaConst::sDtrHandshake, rtsRefused = VaConst::sRtsHandshake,
                      none = kNothingThrown;
        QTest::newRow("DTR handshake")
            << int(dtrHandshake) << int(rtsDisabled) << false << true << dtrRefused;
        QTest::newRow("RTS handshake")
            << int(dtrDisabled) << int(rtsHandshake) << false << false << rtsRefused;
        QTest::newRow("RTS toggle") << int(dtrDisabled) << int(rtsToggle) << false << false << rtsRefused;
        QTest::newRow("RTS beside DTR handshake")
            << int(dtrHandshake) << int(rtsDisabled) << false << false << none;
        QTest::newRow("DTR disabled, closed")
            << int(dtrDisabled) << int(rtsDisabled) << false << true << none;
        QTest::newRow("DTR on a pty") << int(dtrDisabled) << int(rtsDisabled) << true << true << none;
        QTest::newRow("RTS on a pty") << int(dtrDisabled) << int(rtsDisabled) << true << false << none;
    }
    void modemLines()
    {
        QFETCH(int, controlDtr);
        QFETCH(int, controlRts);
        QFETCH(bool, open);
        QFETCH(bool, dtr);
        QFETCH(QString, message);
        PtyPair pty;
        TVaComm comm;
        UsePty(comm, pty);
        if (open)
            comm.Open();
        comm.FlowControl().SetControlDtr(TVaControlDtr(controlDtr));
        comm.FlowControl().SetControlRts(TVaControlRts(controlRts));
        // Both directions: the window raises DTR and lowers RTS.
        for (bool on : {true, false})
            QCOMPARE(ThrownMessage<EVaCommError>([&] { dtr ? comm.SetDtrLine(on) : comm.SetRtsLine(on); }),
                     message);
        QCOMPARE(comm.IsOpen(), open);
    }

    void openAndCloseEvents()
    {
        PtyPair pty;
        const int fds = OpenFdCount();
        auto comm = std::make_unique<TVaComm>();
        UsePty(*comm, pty);
        QStringList log;
        comm->OnOpen = [&](QObject* sender) {
            QCOMPARE(sender, comm.get());
            log << (comm->IsOpen() ? "open, port open" : "open, port closed");
        };
        comm->OnClose = [&](QObject*) {
            log << (comm->IsOpen() ? "close, port open" : "close, port closed");
        };
        comm->Close();
        QCOMPARE(log, QStringList());
        comm->Open();
        comm->Close();
        comm->Close();
        QCOMPARE(log, (QStringList{"open, port open", "close, port closed"}));

        // A failing OnOpen handler is the application's business; the port is open.
        QStringList application;
        VaSetApplicationExceptionHandler([&](std::exception_ptr e) { application << ExceptionText(e); });
        comm->OnOpen = [](QObject*) { throw EVaCommError("handler failed"); };
        comm->Open();
        QVERIFY(comm->IsOpen());
        QCOMPARE(application, QStringList{"handler failed"});

        // Destroying the open component closes the port quietly.
        log.clear();
        comm.reset();
        QCOMPARE(log, QStringList());
        QVERIFY(CanLock(pty.SlavePath()));
        QCOMPARE(OpenFdCount(), fds);
    }
};

QTEST_GUILESS_MAIN(TestSerialOpen)
#include "tst_serial_open.moc"
