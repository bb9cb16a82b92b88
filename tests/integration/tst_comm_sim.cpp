// The configurator's end of the line: the real serial component, opened as the program
// opens it, against the simulated controller on a pseudo-terminal.

#include "PtyRunner.h"
#include "VaComm.h"

#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QtTest>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

// Bounds every wait for an answer; only a broken line runs into it.
constexpr int GuardMs = 10000;
constexpr int Baud = 4800;
const QByteArray Password = "7391";

tq3sim::RunnerOptions Runner(bool paced)
{
    tq3sim::RunnerOptions options;
    options.pacing = paced;
    options.baud = Baud;
    return options;
}

struct Answer
{
    int type = -1; // -1: the bytes did not frame; payload then holds them
    QByteArray payload;
    bool checksumOk = false;
};

// The PC's side: frames are built and cut here, apart from the simulator's codec, so that a
// fault in one is not hidden by the same fault in the other.
class Line
{
public:
    explicit Line(const QString& path)
    {
        comm.SetPortNum(1);
        comm.SetBaudrate(br4800);
        comm.SetParity(paNone);
        comm.SetDatabits(db8);
        comm.SetStopbits(sb1);
        comm.SetDeviceName(path);
        comm.OnRxChar = [this](QObject*, qint32) { rx += comm.ReadString(); };
        comm.OnError = [this](QObject*, quint32 flags) { errors << flags; };
        comm.OnClose = [this](QObject*) { ++closes; };
    }

    static QByteArray Command(int code, const QByteArray& payload)
    {
        QByteArray frame = QByteArray("M") + char(code) + char(payload.size()) + payload;
        int sum = 0;
        for (char c : frame)
            sum += quint8(c);
        return frame + char(sum & 0xFF);
    }

    // The next whole answer, or nothing when none came within the guard.
    std::optional<Answer> Next()
    {
        if (!QTest::qWaitFor([this] { return Complete(); }, GuardMs))
            return std::nullopt;
        const int length = quint8(rx[2]);
        if (rx[0] != 'm' || length > 100) {
            Answer junk{-1, rx, false};
            rx.clear();
            return junk;
        }
        int sum = 0;
        for (int i = 0; i < length + 3; ++i)
            sum += quint8(rx[i]);
        Answer answer{quint8(rx[1]), rx.mid(3, length), quint8(sum) == quint8(rx[length + 3])};
        rx.remove(0, length + 4);
        return answer;
    }

    std::optional<Answer> Ask(int code, const QByteArray& payload)
    {
        if (!comm.WriteString(Command(code, payload)))
            return std::nullopt;
        return Next();
    }

    TVaComm comm;
    QByteArray rx;
    QList<quint32> errors;
    int closes = 0;

private:
    bool Complete() const
    {
        if (rx.size() < 3)
            return false;
        return rx[0] != 'm' || quint8(rx[2]) > 100 || rx.size() >= quint8(rx[2]) + 4;
    }
};

// A value for every item, each within what its item takes and distinct from the others, with
// what a line eating or changing bytes would spoil wherever the item allows it: the answer
// start, XON and XOFF, 0xFF and 0x00; the texts also carry a length of their own.
QByteArray ItemValue(int index)
{
    switch (index) {
    case 0: // PIN
        return "1357";
    case 1:
    case 2:
    case 3:
    case 4:
    case 5: // SMS centre and telephone numbers
        return "+4860100031" + QByteArray::number(index);
    case 11: // status query
        return "m\x11\x13\xff";
    case 12:
        return "\x11";
    case 13: // thresholds
        return "\x13\xff";
    case 14:
        return "m";
    case 15:
        return "\xff";
    case 18: // call on alarm
        return QByteArray(1, '\0');
    case 19:
        return "\x13";
    default: // the SMS texts
        return QByteArray("m\x11\x13\xff\x00", 5) + char(index) + QByteArray(index, char(0x80 + index));
    }
}

} // namespace

class TestCommSim : public QObject
{
    Q_OBJECT

private slots:
    void login_data()
    {
        QTest::addColumn<bool>("paced");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("accepted") << false << Password << true;
        QTest::newRow("wrong password") << false << QByteArray("1234") << false;
        QTest::newRow("accepted at line speed") << true << Password << true;
    }
    void login()
    {
        QFETCH(bool, paced);
        QFETCH(QByteArray, password);
        QFETCH(bool, accepted);
        tq3sim::ControllerOptions controller;
        controller.versionChar = '7';
        tq3sim::PtyRunner sim(controller, Runner(paced));
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        Line line(sim.slavePath());
        line.comm.Open();

        const auto answer = line.Ask(1, password);
        QVERIFY(answer);
        QCOMPARE(answer->type, 1);
        QVERIFY(answer->checksumOk);
        if (accepted) {
            QCOMPARE(answer->payload, QByteArray("T7"));
        } else {
            QVERIFY(!answer->payload.isEmpty());
            QVERIFY(answer->payload[0] != 'T');
        }

        // A status poll: at line speed its answer of 16 bytes takes a time that shows.
        QElapsedTimer timer;
        timer.start();
        const auto status = line.Ask(80, "G");
        const qint64 elapsedNs = timer.nsecsElapsed();
        QVERIFY(status);
        QCOMPARE(status->type, 80);
        QVERIFY(status->checksumOk);
        QCOMPARE(status->payload.size(), 12);
        QVERIFY(line.rx.isEmpty());
        if (paced) {
            // Ten bits a byte: the last of the 16 bytes leaves 15 byte times after the first.
            const qint64 leastNs = 15 * 10 * 1000000000LL / Baud;
            QVERIFY2(elapsedNs >= leastNs,
                     qPrintable(QStringLiteral("answer in %1 us").arg(elapsedNs / 1000)));
        }
        const std::vector<tq3sim::ReceivedFrame> frames = sim.frames();
        QCOMPARE(frames.size(), size_t(2));
        QVERIFY(frames[0].checksumOk && frames[1].checksumOk);
        QCOMPARE(frames[0].code, quint8(1));
        QCOMPARE(frames[0].payload, password);
        QCOMPARE(sim.inspect([](const tq3sim::ControllerModel& m) { return m.loggedIn(); }), accepted);
        QCOMPARE(line.errors, QList<quint32>());
    }

    void readAllSettings()
    {
        tq3sim::PtyRunner sim({}, Runner(false));
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        Line line(sim.slavePath());
        line.comm.Open();
        const auto login = line.Ask(1, Password);
        QVERIFY(login && login->payload.startsWith('T'));

        // Distinct values first, so that an answer given for the wrong item shows.
        for (int index = 0; index < 20; ++index) {
            const auto stored = line.Ask(5 + 2 * index, ItemValue(index));
            QVERIFY2(stored && stored->type == 5 + 2 * index, qPrintable(QString::number(index)));
        }
        int read = 0;
        for (int code = 4; code <= 42; code += 2) {
            const auto answer = line.Ask(code, "G");
            QVERIFY2(answer, qPrintable(QStringLiteral("no answer to %1").arg(code)));
            QCOMPARE(answer->type, code);
            QVERIFY(answer->checksumOk);
            QVERIFY(!sim.setting(code).isEmpty());
            QCOMPARE(answer->payload, sim.setting(code));
            const QByteArray written = ItemValue((code - 4) / 2);
            QCOMPARE(answer->payload.left(written.size()), written); // the SMS centre comes padded
            ++read;
        }
        QCOMPARE(read, 20);
        QVERIFY(line.rx.isEmpty());
        // Every command went out whole: nothing the controller saw failed its check.
        const std::vector<tq3sim::ReceivedFrame> frames = sim.frames();
        QCOMPARE(frames.size(), size_t(41));
        for (const tq3sim::ReceivedFrame& frame : frames)
            QVERIFY(frame.checksumOk);
        QCOMPARE(sim.protocolErrors(), 0);
        QCOMPARE(line.errors, QList<quint32>());
    }

    void historyDownload()
    {
        tq3sim::ControllerOptions controller;
        controller.historyRecords = 150;
        tq3sim::PtyRunner sim(controller, Runner(false));
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        Line line(sim.slavePath());
        line.comm.Open();
        QVERIFY(line.Ask(1, Password));

        const auto size = line.Ask(73, "h");
        QVERIFY(size);
        QCOMPARE(size->type, 73);
        QCOMPARE(size->payload.size(), 2);
        const int announced = quint8(size->payload[0]) | (quint8(size->payload[1]) << 8);
        QCOMPARE(announced, 150 * 8);

        const auto history = sim.inspect([](const tq3sim::ControllerModel& m) { return m.history(); });
        int records = 0;
        for (;;) {
            const auto answer = line.Next();
            QVERIFY2(answer, qPrintable(QStringLiteral("stalled after %1 records").arg(records)));
            QVERIFY(answer->checksumOk);
            if (answer->type == 70)
                break;
            QCOMPARE(answer->type, 71);
            QVERIFY2(records < announced / 8, "more records than announced");
            QCOMPARE(answer->payload, history[size_t(records)].encode());
            ++records;
        }
        QCOMPARE(records, announced / 8);
        // Nothing trails the end: the next answer is the one asked for.
        const auto status = line.Ask(80, "G");
        QVERIFY(status);
        QCOMPARE(status->type, 80);
        QVERIFY(line.rx.isEmpty());
        QCOMPARE(line.errors, QList<quint32>());
    }

    void hangUp()
    {
        tq3sim::ControllerOptions controller;
        controller.faults.hangupAfterFrames = 2;
        tq3sim::PtyRunner sim(controller, Runner(false));
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        const QString path = sim.slavePath();
        // While any slave descriptor lives the pty keeps its number, so no other pty can
        // appear under the path once the controller has gone.
        const int holder =
            ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(holder >= 0);
        const auto release = qScopeGuard([holder] { ::close(holder); });
        Line line(path);
        line.comm.Open();

        const auto login = line.Ask(1, Password);
        QVERIFY(login && login->payload.startsWith('T'));
        // The answer to the last frame still comes before the line goes.
        const auto status = line.Ask(80, "G");
        QVERIFY(status);
        QCOMPARE(status->type, 80);
        QTRY_COMPARE_WITH_TIMEOUT(line.closes, 1, GuardMs);
        QVERIFY(sim.hungUp());
        QCOMPARE(line.errors.size(), 1);
        QVERIFY(line.errors[0] & VaConst::CE_IOE);
        QVERIFY(!line.comm.IsOpen());

        // Connecting to the vanished line again fails, naming the device, and is no new report.
        QString failure;
        try {
            line.comm.Open();
        } catch (const EConvertError& e) {
            failure = e.Message();
        }
        QVERIFY2(failure.contains(path), qPrintable(failure));
        QVERIFY(!line.comm.IsOpen());
        QCOMPARE(line.errors.size(), 1);

        // The controller back on a fresh line: the same component connects and is let in.
        tq3sim::PtyRunner again({}, Runner(false));
        QVERIFY2(again.start(), qPrintable(again.errorString()));
        line.comm.SetDeviceName(again.slavePath());
        line.comm.Open();
        const auto relogin = line.Ask(1, Password);
        QVERIFY(relogin);
        QCOMPARE(relogin->payload.left(1), QByteArray("T"));
        QCOMPARE(line.errors.size(), 1);
        line.comm.Close();
    }
};

QTEST_GUILESS_MAIN(TestCommSim)
#include "tst_comm_sim.moc"
