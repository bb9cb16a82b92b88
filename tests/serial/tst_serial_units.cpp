// The component's pure parts: deadlines, the write queue, names, priorities, the
// settings objects' notifications and the device-control record.

#include "TestSupport.h"
#include "VaComm.h"
#include "VaUtils.h"

#include <QtTest>
#include <memory>

using PersistentFactory = std::function<std::unique_ptr<TVaPersistent>()>;
using PersistentAction = std::function<void(TVaPersistent&)>;
using DcbEdit = std::function<void(TVaDcb&)>;
Q_DECLARE_METATYPE(PersistentFactory)
Q_DECLARE_METATYPE(PersistentAction)
Q_DECLARE_METATYPE(DcbEdit)

namespace {

// The whole record as text, so that a mismatch names its field.
QString DcbText(const TVaDcb& d)
{
    const std::pair<const char*, int> fields[] = {{"BaudRate", int(d.BaudRate)},
                                                  {"fBinary", d.fBinary},
                                                  {"fParity", d.fParity},
                                                  {"fOutxCtsFlow", d.fOutxCtsFlow},
                                                  {"fOutxDsrFlow", d.fOutxDsrFlow},
                                                  {"fDtrControl", d.fDtrControl},
                                                  {"fDsrSensitivity", d.fDsrSensitivity},
                                                  {"fTXContinueOnXoff", d.fTXContinueOnXoff},
                                                  {"fOutX", d.fOutX},
                                                  {"fInX", d.fInX},
                                                  {"fErrorChar", d.fErrorChar},
                                                  {"fNull", d.fNull},
                                                  {"fRtsControl", d.fRtsControl},
                                                  {"fAbortOnError", d.fAbortOnError},
                                                  {"XonLim", d.XonLim},
                                                  {"XoffLim", d.XoffLim},
                                                  {"ByteSize", d.ByteSize},
                                                  {"Parity", d.Parity},
                                                  {"StopBits", d.StopBits},
                                                  {"XonChar", quint8(d.XonChar)},
                                                  {"XoffChar", quint8(d.XoffChar)},
                                                  {"ErrorChar", quint8(d.ErrorChar)},
                                                  {"EofChar", quint8(d.EofChar)},
                                                  {"EvtChar", quint8(d.EvtChar)}};
    QStringList out;
    for (const auto& [name, value] : fields)
        out << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(value);
    return out.join(u' ');
}

// What the window's settings must give: 4800 8N1, no flow control, default characters.
TVaDcb WindowDcb()
{
    TVaDcb d;
    d.BaudRate = 4800;
    d.fBinary = 1;
    d.XonLim = d.XoffLim = 1024;
    d.ByteSize = 8;
    d.XonChar = 17;
    d.XoffChar = 19;
    return d;
}

template <typename T> PersistentFactory Make()
{
    return [] { return std::unique_ptr<TVaPersistent>(new T); };
}

template <typename T> PersistentAction On(std::function<void(T&)> f)
{
    return [f](TVaPersistent& p) { f(static_cast<T&>(p)); };
}

} // namespace

class TestSerialUnits : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { VaSetTickSource({}); }

    void deadlineArithmetic_data()
    {
        QTest::addColumn<quint32>("start");
        QTest::addColumn<quint32>("now");
        QTest::addColumn<quint32>("period");
        QTest::addColumn<quint32>("elapsed");
        QTest::addColumn<bool>("expired");
        QTest::newRow("no time") << 1000u << 1000u << 50u << 0u << false;
        QTest::newRow("exactly the period") << 1000u << 1050u << 50u << 50u << false;
        QTest::newRow("one past") << 1000u << 1051u << 50u << 51u << true;
        QTest::newRow("wrapped, within") << 0xFFFFFFF0u << 0x10u << 50u << 0x1Fu << false;
        QTest::newRow("wrapped, past") << 0xFFFFFF00u << 0x40u << 100u << 0x13Fu << true;
        QTest::newRow("start at the top") << 0xFFFFFFFFu << 5u << 10u << 5u << false;
    }
    void deadlineArithmetic()
    {
        QFETCH(quint32, start);
        QFETCH(quint32, now);
        QFETCH(quint32, period);
        QFETCH(quint32, elapsed);
        QFETCH(bool, expired);
        const TVaDeadline d{start, period};
        QCOMPARE(d.ElapsedAt(now), elapsed);
        QCOMPARE(d.ExpiredAt(now), expired);
    }

    void deadlineFollowsInjectedTicks()
    {
        quint32 tick = 0xFFFFFFFFu - 30;
        VaSetTickSource([&tick] { return tick; });
        const TVaDeadline d = TVaDeadline::Begin(100);
        QCOMPARE(d.Start, 0xFFFFFFFFu - 30);
        tick += 60; // through the wrap
        QVERIFY(!d.Expired());
        QCOMPARE(d.Remaining(), 100u - 59u);
        tick += 42;
        QVERIFY(d.Expired());
        QCOMPARE(d.Remaining(), 0u);
    }

    void commBufferAppendRemove()
    {
        TVaCommBuffer b(8);
        b.Append("abcd", 4);
        b.Append("efg", 3);
        QCOMPARE(QByteArray(b.Data(), b.Count()), QByteArray("abcdefg"));
        b.Remove(2);
        QCOMPARE(QByteArray(b.Data(), b.Count()), QByteArray("cdefg"));
        b.Append("hij", 3); // exactly the capacity
        QCOMPARE(QByteArray(b.Data(), b.Count()), QByteArray("cdefghij"));
        b.Remove(8);
        QCOMPARE(b.Count(), 0);
        b.Append("zz", 2);
        QCOMPARE(QByteArray(b.Data(), b.Count()), QByteArray("zz"));
    }

    void deviceNames_data()
    {
        QTest::addColumn<QString>("deviceName");
        QTest::addColumn<int>("portNum");
        QTest::addColumn<QString>("formatted");
        QTest::addColumn<QString>("osPath");
        QTest::newRow("COM1") << "COM%d" << 1 << "COM1"
                              << "/dev/ttyS0";
        QTest::newRow("COM10") << "COM%d" << 10 << "COM10"
                               << "/dev/ttyS9";
        QTest::newRow("device path") << "/dev/ttyUSB0" << 3 << "/dev/ttyUSB0"
                                     << "/dev/ttyUSB0";
    }
    void deviceNames()
    {
        QFETCH(QString, deviceName);
        QFETCH(int, portNum);
        QFETCH(QString, formatted);
        QFETCH(QString, osPath);
        QCOMPARE(VaFormatDeviceName(deviceName, portNum), formatted);
        QCOMPARE(VaOs::DevicePath(formatted), osPath);
        TVaComm comm;
        comm.SetDeviceName(deviceName);
        comm.SetPortNum(portNum);
        QCOMPARE(comm.DevicePath(), formatted);
    }

    void threadPriorities()
    {
        QList<int> os;
        for (TThreadPriority p : {tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical})
            os << VaOsThreadPriority(p);
        QCOMPARE(os, (QList<int>{-15, -2, -1, 0, 1, 2, 15}));
    }

    void settingNotifications_data()
    {
        QTest::addColumn<PersistentFactory>("make");
        QTest::addColumn<PersistentAction>("setSame");
        QTest::addColumn<PersistentAction>("setOther");
        QTest::addColumn<int>("onSame");
        QTest::addColumn<int>("onOther");
        using FC = TVaFlowControl;
        using EC = TVaEventChars;
        using BU = TVaBuffers;
        QTest::newRow("OutCtsFlow") << Make<FC>() << On<FC>([](FC& f) { f.SetOutCtsFlow(false); })
                                    << On<FC>([](FC& f) { f.SetOutCtsFlow(true); }) << 0 << 1;
        QTest::newRow("ControlDtr") << Make<FC>() << On<FC>([](FC& f) { f.SetControlDtr(dtrDisabled); })
                                    << On<FC>([](FC& f) { f.SetControlDtr(dtrHandshake); }) << 0 << 1;
        QTest::newRow("ControlRts") << Make<FC>() << On<FC>([](FC& f) { f.SetControlRts(rtsDisabled); })
                                    << On<FC>([](FC& f) { f.SetControlRts(rtsToggle); }) << 0 << 1;
        // The characters share one setter that notifies whether or not the value changed.
        QTest::newRow("XonChar") << Make<EC>() << On<EC>([](EC& e) { e.SetXonChar(17); })
                                 << On<EC>([](EC& e) { e.SetXonChar(1); }) << 1 << 1;
        QTest::newRow("EofChar") << Make<EC>() << On<EC>([](EC& e) { e.SetEofChar(0); })
                                 << On<EC>([](EC& e) { e.SetEofChar(26); }) << 1 << 1;
        QTest::newRow("ReadSize") << Make<BU>() << On<BU>([](BU& b) { b.SetReadSize(4096); })
                                  << On<BU>([](BU& b) { b.SetReadSize(8192); }) << 0 << 1;
        QTest::newRow("WriteSize") << Make<BU>() << On<BU>([](BU& b) { b.SetWriteSize(2048); })
                                   << On<BU>([](BU& b) { b.SetWriteSize(16); }) << 0 << 1;
        // Time-outs change at any time, even while open, so they must not reach the owner.
        QTest::newRow("ReadTimeout") << Make<BU>() << On<BU>([](BU& b) { b.SetReadTimeout(1000); })
                                     << On<BU>([](BU& b) { b.SetReadTimeout(5); }) << 0 << 0;
        QTest::newRow("WriteTimeout") << Make<BU>() << On<BU>([](BU& b) { b.SetWriteTimeout(1000); })
                                      << On<BU>([](BU& b) { b.SetWriteTimeout(5); }) << 0 << 0;
    }
    void settingNotifications()
    {
        QFETCH(PersistentFactory, make);
        QFETCH(PersistentAction, setSame);
        QFETCH(PersistentAction, setOther);
        QFETCH(int, onSame);
        QFETCH(int, onOther);
        auto p = make();
        int notified = 0;
        p->SetOnChange([&](TVaPersistent*) { ++notified; });
        setSame(*p);
        QCOMPARE(notified, onSame);
        notified = 0;
        setOther(*p);
        QCOMPARE(notified, onOther);
        // Held back while updating, then one notification for all of it.
        notified = 0;
        p->BeginUpdate();
        setSame(*p);
        setOther(*p);
        QCOMPARE(notified, 0);
        p->EndUpdate();
        QCOMPARE(notified, 1);
    }

    void assignNotifiesOnce()
    {
        TVaFlowControl flow, flowSource;
        int flowNotified = 0;
        flow.SetOnChange([&](TVaPersistent*) { ++flowNotified; });
        flow.Assign(flowSource); // nothing differs
        QCOMPARE(flowNotified, 1);
        flowSource.SetControlDtr(dtrHandshake);
        flowSource.SetXonXoffIn(true);
        flow.Assign(flowSource);
        QCOMPARE(flowNotified, 2);
        QVERIFY(flow.ControlDtr() == dtrHandshake && flow.XonXoffIn() && !flow.OutCtsFlow());

        TVaEventChars chars, charsSource;
        int charsNotified = 0;
        chars.SetOnChange([&](TVaPersistent*) { ++charsNotified; });
        charsSource.SetEofChar(26);
        chars.Assign(charsSource);
        QCOMPARE(charsNotified, 1);
        QVERIFY(chars.EofChar() == 26 && chars.EventChar() == 0 && chars.XonChar() == 17);

        TVaBuffers buffers, buffersSource;
        int buffersNotified = 0;
        buffers.SetOnChange([&](TVaPersistent*) { ++buffersNotified; });
        buffersSource.SetReadSize(2000);
        buffersSource.SetWriteTimeout(9);
        buffers.Assign(buffersSource);
        QCOMPARE(buffersNotified, 1);
        QVERIFY(buffers.ReadSize() == 2000 && buffers.WriteSize() == 2048 && buffers.WriteTimeout() == 9);

        // Another class is no source: refused, nothing changed, no update left open.
        QVERIFY(ThrownMessage<EConvertError>([&] { buffers.Assign(flowSource); }) != kNothingThrown);
        QCOMPARE(buffers.ReadSize(), 2000);
        QCOMPARE(buffers.UpdateCount(), 0);
    }

    void updateCounterNeverNegative()
    {
        TVaFlowControl flow;
        int notified = 0;
        flow.SetOnChange([&](TVaPersistent*) { ++notified; });
        flow.EndUpdate();
        flow.EndUpdate();
        QCOMPARE(flow.UpdateCount(), 0);
        flow.BeginUpdate();
        flow.BeginUpdate();
        notified = 0;
        flow.SetOutCtsFlow(true);
        flow.EndUpdate();
        QCOMPARE(notified, 0); // still inside the outer update
        flow.EndUpdate();
        QCOMPARE(notified, 1);
        QCOMPARE(flow.UpdateCount(), 0);
    }

    void windowDcb()
    {
        TVaComm comm;
        ApplyWindowSettings(comm);
        QCOMPARE(DcbText(comm.BuildDcb()), DcbText(WindowDcb()));
    }

    void dcbFields_data()
    {
        QTest::addColumn<CommAction>("setup");
        QTest::addColumn<DcbEdit>("expect");
        const std::pair<TVaBaudrate, quint32> speeds[] = {
            {br110, 110},     {br300, 300},       {br600, 600},       {br1200, 1200},    {br2400, 2400},
            {br9600, 9600},   {br14400, 14400},   {br19200, 19200},   {br38400, 38400},  {br56000, 56000},
            {br57600, 57600}, {br115200, 115200}, {br128000, 128000}, {br256000, 256000}};
        for (const auto& [br, baud] : speeds)
            QTest::addRow("speed %u", baud) << CommAction([br](TVaComm& c) { c.SetBaudrate(br); })
                                            << DcbEdit([baud](TVaDcb& d) { d.BaudRate = baud; });
        auto row = [](const char* name, CommAction setup, DcbEdit expect) {
            QTest::newRow(name) << setup << expect;
        };
        row(
            "user speed", [](TVaComm& c) { c.SetUserBaudrate(250000); },
            [](TVaDcb& d) { d.BaudRate = 250000; });
        row(
            "parity check", [](TVaComm& c) { c.SetParityCheck(true); }, [](TVaDcb& d) { d.fParity = 1; });
        row(
            "DTR handshake", [](TVaComm& c) { c.FlowControl().SetControlDtr(dtrHandshake); },
            [](TVaDcb& d) { d.fDtrControl = 2; });
        row(
            "RTS toggle", [](TVaComm& c) { c.FlowControl().SetControlRts(rtsToggle); },
            [](TVaDcb& d) { d.fRtsControl = 3; });
        row(
            "Xon/Xoff both ways",
            [](TVaComm& c) {
                c.FlowControl().SetXonXoffIn(true);
                c.FlowControl().SetXonXoffOut(true);
            },
            [](TVaDcb& d) { d.fInX = d.fOutX = 1; });
        row(
            "options",
            [](TVaComm& c) {
                c.SetOptions({coErrorChar, coNullStrip});
            },
            [](TVaDcb& d) { d.fErrorChar = d.fNull = 1; });
        row(
            "7E2",
            [](TVaComm& c) {
                c.SetDatabits(db7);
                c.SetParity(paEven);
                c.SetStopbits(sb2);
            },
            [](TVaDcb& d) {
                d.ByteSize = 7;
                d.Parity = 2;
                d.StopBits = 2;
            });
        row(
            "space parity, 1.5 stop bits",
            [](TVaComm& c) {
                c.SetParity(paSpace);
                c.SetStopbits(sb15);
            },
            [](TVaDcb& d) {
                d.Parity = 4;
                d.StopBits = 1;
            });
        row(
            "event char", [](TVaComm& c) { c.EventChars().SetEventChar('\r'); },
            [](TVaDcb& d) { d.EvtChar = '\r'; });
        row(
            "EOF char is not the event char", [](TVaComm& c) { c.EventChars().SetEofChar(26); },
            [](TVaDcb& d) { d.EofChar = 26; });
        row(
            "read size 2000", [](TVaComm& c) { c.Buffers().SetReadSize(2000); },
            [](TVaDcb& d) { d.XonLim = d.XoffLim = 500; });
        row(
            "read size 8192", [](TVaComm& c) { c.Buffers().SetReadSize(8192); }, [](TVaDcb&) {});
    }
    void dcbFields()
    {
        QFETCH(CommAction, setup);
        QFETCH(DcbEdit, expect);
        TVaComm comm;
        ApplyWindowSettings(comm);
        setup(comm);
        TVaDcb expected = WindowDcb();
        expect(expected);
        QCOMPARE(DcbText(comm.BuildDcb()), DcbText(expected));
    }

    void userBaudrateInterplay()
    {
        TVaComm comm;
        ApplyWindowSettings(comm);
        comm.SetUserBaudrate(57600);
        QCOMPARE(comm.Baudrate(), brUser);
        QCOMPARE(comm.BuildDcb().BaudRate, 57600u);
        comm.SetBaudrate(br9600);
        QCOMPARE(comm.UserBaudrate(), 0);
        QCOMPARE(comm.BuildDcb().BaudRate, 9600u);
    }
};

QTEST_GUILESS_MAIN(TestSerialUnits)
#include "tst_serial_units.moc"
