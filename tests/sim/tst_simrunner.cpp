#include "LinePacer.h"
#include "PtyRunner.h"
#include "SimCommandLine.h"
#include "SimTestUtil.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono_literals;
using tq3sim::LinePacer;

namespace {

// Bounds a wait for bytes; only a broken simulator ever runs into it.
constexpr int GuardMs = 10000;

// The PC's end of the line, with nothing but termios.
class Client
{
public:
    explicit Client(const QString& path)
        : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
    {
        termios tio{};
        if (fd_ >= 0 && ::tcgetattr(fd_, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(fd_, TCSANOW, &tio);
        }
    }
    ~Client() { ::close(fd_); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool send(const QByteArray& bytes)
    {
        return ::write(fd_, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Reads until `enough` holds for what has arrived, the line closes or the guard runs out.
    QByteArray readUntil(const std::function<bool(const QByteArray&)>& enough)
    {
        QByteArray got;
        const QDeadlineTimer guard(GuardMs);
        while (!enough(got)) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, int(guard.remainingTime())) <= 0)
                break;
            char buf[512];
            const ssize_t n = (p.revents & POLLIN) ? ::read(fd_, buf, sizeof buf) : 0;
            if (n <= 0) {
                hungUp = (p.revents & (POLLHUP | POLLERR)) != 0;
                break;
            }
            got.append(buf, n);
            ++reads;
        }
        return got;
    }
    QByteArray readUntilType(int type)
    {
        return readUntil([type](const QByteArray& b) {
            const std::vector<simtest::Answer> all = simtest::answers(b);
            return std::any_of(all.begin(), all.end(), [type](const auto& a) { return a.type == type; });
        });
    }

    int reads = 0;
    bool hungUp = false;

private:
    int fd_;
};

int countType(const QByteArray& bytes, int type)
{
    const std::vector<simtest::Answer> all = simtest::answers(bytes);
    return int(std::count_if(all.begin(), all.end(), [type](const auto& a) { return a.type == type; }));
}

tq3sim::ControllerOptions withHistory(int records)
{
    tq3sim::ControllerOptions options;
    options.historyRecords = records;
    return options;
}

} // namespace

class TestSimRunner : public QObject
{
    Q_OBJECT

private slots:
    void pacerSchedule()
    {
        LinePacer pacer(4800, true);
        const LinePacer::Time t0 = 1s;
        pacer.enqueue("abc", t0);
        QCOMPARE(pacer.writable(t0), QByteArrayView("a"));
        pacer.consumed(1, t0);
        QCOMPARE(pacer.nextDue(t0), std::optional(t0 + 2083333ns));
        QVERIFY(pacer.writable(t0 + 2083332ns).isEmpty());
        QCOMPARE(pacer.writable(t0 + 5ms), QByteArrayView("bc")); // a late writer catches up at once
        pacer.consumed(2, t0 + 5ms);
        // The last byte still holds its slot: what comes next follows it back to back...
        pacer.enqueue("d", t0 + 5ms);
        QCOMPARE(pacer.nextDue(t0 + 5ms), std::optional(t0 + pacer.byteOffset(3)));
        pacer.consumed(1, t0 + 5ms);
        // ...but after an idle line a new burst starts at once.
        pacer.enqueue("e", t0 + 1s);
        QCOMPARE(pacer.writable(t0 + 1s), QByteArrayView("e"));

        LinePacer unpaced(4800, false); // one element, one write
        unpaced.enqueue("first", 0ns);
        unpaced.enqueue("second", 0ns);
        unpaced.consumed(2, 0ns);
        QCOMPARE(unpaced.writable(0ns), QByteArrayView("rst"));
        unpaced.consumed(3, 0ns);
        QCOMPARE(unpaced.writable(0ns), QByteArrayView("second"));
    }

    void pacerNoDrift()
    {
        // A writer that always wakes 1.5 ms late: each byte keeps its slot, lateness does not add up.
        LinePacer pacer(4800, true);
        const LinePacer::Time t0 = 5s;
        pacer.enqueue(QByteArray(9600, 'x'), t0);
        LinePacer::Time now = t0;
        qint64 sent = 0;
        while (!pacer.empty()) {
            const LinePacer::Time due = *pacer.nextDue(now);
            QCOMPARE(due, t0 + pacer.byteOffset(sent));
            now = std::max(now, due + 1500us);
            sent += pacer.writable(now).size();
            pacer.consumed(pacer.writable(now).size(), now);
        }
        QCOMPARE(pacer.byteOffset(4800), LinePacer::Time(10s));
        QVERIFY(now <= t0 + pacer.byteOffset(9599) + 1500us);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("ok");
        QTest::newRow("defaults") << QStringList{} << true;
        QTest::newRow("everything") << QStringList{"--link",
                                                   "/tmp/tq3",
                                                   "--no-pacing",
                                                   "--password=12",
                                                   "--version-char",
                                                   "A",
                                                   "--history",
                                                   "4095",
                                                   "--silent",
                                                   "--drop",
                                                   "80:2",
                                                   "--drop",
                                                   "3",
                                                   "--noise",
                                                   "7",
                                                   "--noise-start",
                                                   "--bad-checksum",
                                                   "71:1",
                                                   "--glue",
                                                   "--lose-ack",
                                                   "1,5",
                                                   "--hangup-after",
                                                   "9",
                                                   "--pause-inside",
                                                   "300:50",
                                                   "--log",
                                                   "/tmp/f.log",
                                                   "--random-faults",
                                                   "0.05",
                                                   "--random-kinds",
                                                   "noise-m,hangup",
                                                   "--seed",
                                                   "42"}
                                    << true;
        for (const char* bad : {"--fast", "--history", "--history=8192", "--drop=256:1", "--drop=x",
                                "--lose-ack=1,,2", "--glue=1", "--version-char=55", "--random-faults=5",
                                "--random-kinds=noise,hum", "--pause-inside=0", "--pause-inside=80:x"})
            QTest::newRow(bad) << QString(bad).split(' ') << false;
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, ok);
        const tq3sim::CommandLine cl = tq3sim::parseCommandLine(QStringList{"tq3sim"} + args);
        QCOMPARE(cl.error.isEmpty(), ok);
        const tq3sim::FaultOptions& f = cl.controller.faults;
        if (QTest::currentDataTag() == QLatin1String("defaults")) {
            QVERIFY(cl.runner.pacing && !f.silent && f.drop.empty());
            QCOMPARE(cl.controller.historyRecords, 120);
        } else if (QTest::currentDataTag() == QLatin1String("everything")) {
            QVERIFY(!cl.runner.pacing && f.silent && f.glue && f.noiseWithStart);
            QCOMPARE(cl.runner.linkPath + cl.runner.logPath, QString("/tmp/tq3/tmp/f.log"));
            QCOMPARE(cl.controller.password + cl.controller.versionChar, QByteArray("12A"));
            QCOMPARE(cl.controller.historyRecords, 4095);
            QCOMPARE(f.drop.size(), size_t(2));
            QVERIFY(f.drop[0].code == 80 && f.drop[0].count == 2 &&
                    f.drop[1].code == tq3sim::CountedFault::AnyCode);
            QCOMPARE(f.badChecksum.at(0).code, 71);
            QCOMPARE(f.loseAck, (std::set<int>{1, 5}));
            QCOMPARE(f.noiseBytes + f.hangupAfterFrames, 16);
            QCOMPARE(f.randomRate, 0.05);
            QCOMPARE(f.randomKinds, 0b100010u);
            QCOMPARE(f.randomSeed, 42u);
            QCOMPARE(f.pauseInsideMs + f.randomPauseMs + f.pauseEvery, 650);
        }
    }

    void loginAndHistoryUnpaced()
    {
        tq3sim::RunnerOptions unpaced;
        unpaced.pacing = false;
        tq3sim::PtyRunner runner(withHistory(300), unpaced);
        QVERIFY2(runner.start(), qPrintable(runner.errorString()));
        Client pc(runner.slavePath());
        pc.send(simtest::command(1, "7391"));
        QCOMPARE(simtest::first(pc.readUntilType(1)).payload, QByteArray("T5"));
        pc.send(simtest::command(73, "h"));
        const QByteArray bytes = pc.readUntilType(70);
        qsizetype used = 0;
        const std::vector<simtest::Answer> all = simtest::answers(bytes, &used);
        QCOMPARE(used, bytes.size());
        QCOMPARE(simtest::le16(all.front().payload, 0), 300 * 8);
        QCOMPARE(countType(bytes, 71), 300);
        QCOMPARE(all.back().type, 70);
        QVERIFY(runner.inspect([](const tq3sim::ControllerModel& m) { return m.loggedIn(); }));
        QVERIFY(runner.errors().empty());
    }

    void pacedStream()
    {
        tq3sim::PtyRunner runner(withHistory(20));
        QVERIFY(runner.start());
        Client pc(runner.slavePath());
        pc.send(simtest::command(73, "h"));
        QCOMPARE(countType(pc.readUntilType(70), 71), 20);
        // 250 bytes take half a second on the line: they cannot all come in one read.
        QVERIFY2(pc.reads > 1, qPrintable(QString::number(pc.reads)));
    }

    void stopMidStream()
    {
        tq3sim::PtyRunner runner(withHistory(400)); // ten seconds of records on a paced line
        QVERIFY(runner.start());
        Client pc(runner.slavePath());
        pc.send(simtest::command(73, "h"));
        QByteArray bytes = pc.readUntilType(71);
        pc.send(simtest::command(75, "x"));
        bytes += pc.readUntilType(75);
        QCOMPARE(simtest::answers(bytes).back().type, 75);
        QCOMPARE(countType(bytes, 70), 0);
        QVERIFY(countType(bytes, 71) < 400);
        pc.send(simtest::command(80, "G")); // nothing of the stream follows
        QCOMPARE(simtest::first(pc.readUntilType(80)).type, 80);
    }

    void bootloaderOverLine()
    {
        tq3sim::PtyRunner runner;
        QVERIFY(runner.start());
        Client pc(runner.slavePath());
        pc.send(simtest::command(100, "B"));
        QByteArray image;
        for (int k = 0; k < 3; ++k) {
            image += QByteArray(128, char('0' + k));
            pc.send(simtest::command(101, char(k) + image.right(128)));
            const int readsBefore = pc.reads;
            QCOMPARE(pc.readUntil([](const QByteArray& b) { return !b.isEmpty(); }), QByteArray("!"));
            QCOMPARE(pc.reads, readsBefore + 1); // the acknowledgement comes on its own
        }
        pc.send(simtest::command(102, "K") + simtest::command(1, "7391"));
        QCOMPARE(simtest::first(pc.readUntilType(1)).type, 1);
        QCOMPARE(runner.bootImage(), image);
    }

    void hangupClosesLine()
    {
        tq3sim::ControllerOptions options;
        options.faults.hangupAfterFrames = 2;
        tq3sim::PtyRunner runner(options);
        QVERIFY(runner.start());
        Client pc(runner.slavePath());
        pc.send(simtest::command(1, "7391"));
        QCOMPARE(simtest::first(pc.readUntilType(1)).type, 1);
        pc.send(simtest::command(80, "G"));
        QCOMPARE(simtest::first(pc.readUntilType(80)).type, 80); // delivered before the line goes
        pc.readUntil([](const QByteArray&) { return false; });
        QVERIFY(pc.hungUp);
        QTRY_VERIFY(runner.hungUp() && !runner.isRunning());
    }

    void randomHangupComesBack()
    {
        QTemporaryDir dir;
        tq3sim::ControllerOptions options;
        options.faults.randomRate = 1;
        options.faults.randomKinds = 1u << int(tq3sim::FaultKind::Hangup);
        tq3sim::RunnerOptions line;
        line.pacing = false;
        line.linkPath = dir.filePath("port");
        tq3sim::PtyRunner runner(options, line);
        QVERIFY(runner.start());
        for (int round = 0; round < 3; ++round) {
            const QString device = QFileInfo(line.linkPath).symLinkTarget();
            Client pc(line.linkPath);
            pc.send(simtest::command(1, "7391"));
            QCOMPARE(simtest::first(pc.readUntilType(1)).payload, QByteArray("T5")); // before the line goes
            pc.readUntil([](const QByteArray&) { return false; });
            QVERIFY(pc.hungUp);
            QTRY_COMPARE(runner.reconnects(), round + 1);
            // A new line, opened while the old one still held its number.
            QCOMPARE(QFileInfo(line.linkPath).symLinkTarget(), runner.slavePath());
            QVERIFY(runner.slavePath() != device);
        }
        QVERIFY(runner.isRunning() && !runner.hungUp());
        QCOMPARE(runner.faultsInjected()[size_t(tq3sim::FaultKind::Hangup)], 3);
        QVERIFY(runner.errors().empty());
    }

    void clientComesAndGoes()
    {
        tq3sim::PtyRunner runner;
        QVERIFY(runner.start());
        {
            Client first(runner.slavePath());
            first.send(simtest::command(1, "7391"));
            QCOMPARE(simtest::first(first.readUntilType(1)).type, 1);
        }
        // Without a client the runner must neither spin nor give up.
        const quint64 before = runner.wakeups();
        Client second(runner.slavePath());
        second.send(simtest::command(4, "G"));
        QCOMPARE(simtest::first(second.readUntilType(4)).payload, QByteArray("7391"));
        QVERIFY2(runner.wakeups() - before < 200, qPrintable(QString::number(runner.wakeups() - before)));
    }

    void executableWithLinkAndLog()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath("port");
        const QString log = dir.filePath("frames.log");
        QProcess sim;
        sim.start(TQ3SIM_PATH, {"--no-pacing", "--link", link, "--log", log, "--password", "1111"});
        QTRY_VERIFY(sim.canReadLine());
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        QVERIFY2(device.startsWith("tq3sim: /dev/pts/"), qPrintable(device));
        QTRY_VERIFY(sim.canReadLine());
        QCOMPARE(QString::fromLocal8Bit(sim.readLine()).trimmed(), "tq3sim: link " + link);
        QCOMPARE("tq3sim: " + QFileInfo(link).symLinkTarget(), device);
        {
            Client pc(link);
            pc.send(simtest::command(1, "1111") + QByteArray("M\x50\x01G\x00", 5) +
                    simtest::command(80, "G"));
            QCOMPARE(countType(pc.readUntilType(80), 1), 1);
        }
        sim.terminate();
        QVERIFY(sim.waitForFinished(GuardMs));
        QVERIFY(sim.exitStatus() == QProcess::NormalExit && sim.exitCode() == 0);
        // The spoilt frame is told as it comes and again at the end.
        const QString complaints = QString::fromLocal8Bit(sim.readAllStandardError());
        QCOMPARE(complaints.count("protocol error: code 80, payload 47: bad checksum"), 1);
        QVERIFY2(complaints.contains("1 protocol errors, the last: code 80"), qPrintable(complaints));
        QVERIFY(!QFileInfo(link).isSymLink());
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(file.readAll());
        QVERIFY2(QRegularExpression("^\\d+ 1 ok 31313131\n\\d+ 80 bad 47\n\\d+ 80 ok 47\n$")
                     .match(text)
                     .hasMatch(),
                 qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestSimRunner)
#include "tst_simrunner.moc"
