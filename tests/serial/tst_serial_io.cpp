// Moving bytes through the open port on a pseudo-terminal: transparency, the write queue
// and its limits, receive events, closing under way, and the other side hanging up.

#include "PtyPair.h"
#include "TestSupport.h"
#include "VaComm.h"
#include "VaUtils.h"

#include <QElapsedTimer>
#include <QtTest>
#include <atomic>
#include <memory>
#include <thread>

namespace {

QString Difference(const QByteArray& got, const QByteArray& want)
{
    qsizetype i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i])
        ++i;
    return QStringLiteral("got %1 bytes, want %2, first difference at %3")
        .arg(got.size())
        .arg(want.size())
        .arg(i);
}

// WriteString that cannot abort the test: empty when accepted, else what went wrong.
QString TryWrite(TVaComm& comm, const QByteArray& bytes)
{
    bool accepted = false;
    const QString thrown = ThrownMessage<EVaCommError>([&] { accepted = comm.WriteString(bytes); });
    if (thrown != kNothingThrown)
        return thrown;
    return accepted ? QString() : QStringLiteral("refused");
}

// Plays the controller reading the line on a thread of its own, so that the main thread may
// block in WriteString meanwhile.
class MasterReader
{
public:
    // With a delay, the controller starts reading only that long after it was created.
    MasterReader(PtyPair& pty, int expected, int delayMs = 0)
        : thread_([this, &pty, expected, delayMs] {
              std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
              QElapsedTimer t;
              t.start();
              while (data_.size() < expected && !stop_ && t.elapsed() < 10000)
                  data_ += pty.ReadMaster(int(expected - data_.size()), 50, false);
              done_ = true;
          })
    {
    }
    ~MasterReader()
    {
        Stop();
        Take();
    }
    QByteArray Take()
    {
        if (thread_.joinable())
            thread_.join();
        return data_;
    }
    void Stop() { stop_ = true; }
    bool Done() const { return done_; }

private:
    QByteArray data_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// Plays a controller that talks without pause.
class MasterWriter
{
public:
    explicit MasterWriter(PtyPair& pty)
        : thread_([this, &pty] {
              int i = 0;
              while (!stop_) {
                  pty.WriteMaster(Pattern(64, i++), 20, false);
                  std::this_thread::sleep_for(std::chrono::microseconds(500));
              }
          })
    {
    }
    ~MasterWriter() { Stop(); }
    void Stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Queues pieces of stream while the other side is not reading, until the line and the
// queue are both full and a piece is refused; returns the bytes accepted. Events run
// between the pieces, as between the program's frames.
int FillLine(TVaComm& comm, const QByteArray& stream, int piece)
{
    comm.Buffers().SetWriteTimeout(20);
    int queued = 0;
    while (queued + piece <= stream.size()) {
        QCoreApplication::processEvents();
        const QString refused =
            ThrownMessage<EVaCommError>([&] { comm.WriteString(stream.mid(queued, piece)); });
        if (refused != kNothingThrown)
            return refused == VaConst::sBufferFull ? queued : -1;
        queued += piece;
    }
    return -1; // the line never pushed back
}

} // namespace

class TestSerialIo : public QObject
{
    Q_OBJECT

private:
    // Main thread and the test library's own; any other thread left is a leak.
    int baseThreads_ = 0;

private slots:
    void initTestCase() { baseThreads_ = ThreadCount(); }
    void cleanup() { VaSetApplicationExceptionHandler({}); }

    void transparentBothWays()
    {
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, pty);
        comm.Open();
        QVERIFY(comm.WriteString(AllByteValues()));
        QCOMPARE(pty.ReadMaster(256), AllByteValues());
        QVERIFY(pty.WriteMaster(AllByteValues()));
        QTRY_COMPARE(rec.received, AllByteValues());

        // A long burst, arriving faster than the main thread takes it.
        const QByteArray burst = Pattern(12 * 1024, 1);
        rec.received.clear();
        QVERIFY(pty.WriteMaster(burst));
        QTRY_VERIFY(rec.received.size() >= burst.size());
        QVERIFY2(rec.received == burst, qPrintable(Difference(rec.received, burst)));
        QVERIFY(!rec.rxCounts.contains(0));
    }

    void queriesOnIdleAndClosedPort()
    {
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        rec.readInHandler = false;
        UsePty(comm, pty);
        char buf[8] = {};
        quint32 errors = 7;
        TVaComStat stat{5, 6};
        QVERIFY(!comm.WriteString("abc"));
        QCOMPARE(comm.WriteData("abc", 3), 0);
        QCOMPARE(comm.ReadString(), QByteArray());
        QCOMPARE(comm.ReadData(buf, 8), 0);
        QCOMPARE(comm.InputCount(), 0);
        comm.ReadLineStatus(errors, stat);
        QCOMPARE(errors, 0u);
        QCOMPARE(stat.cbInQue + stat.cbOutQue, 0u);

        comm.Open();
        QCOMPARE(comm.ReadString(), QByteArray());
        QCOMPARE(comm.InputCount(), 0);
        QVERIFY(comm.WriteString(QByteArray()));
        QVERIFY(comm.WriteString(QByteArray("z\0y", 3)));
        QCOMPARE(pty.ReadMaster(3), QByteArray("z\0y", 3));

        // The handler leaves the bytes; they wait for whoever reads.
        QVERIFY(pty.WriteMaster("hello"));
        QTRY_COMPARE(rec.rxCounts, QList<qint32>{5});
        QCOMPARE(comm.InputCount(), 5);
        comm.ReadLineStatus(errors, stat);
        QCOMPARE(errors, 0u);
        QCOMPARE(stat.cbInQue, 5u);
        QCOMPARE(comm.ReadData(buf, 2), 2);
        QCOMPARE(QByteArray(buf, 2), QByteArray("he"));
        QCOMPARE(comm.InputCount(), 3);
        QCOMPARE(comm.ReadString(), QByteArray("llo"));
        QCOMPARE(comm.InputCount(), 0);
    }

    void writeQueueLimits_data()
    {
        QTest::addColumn<int>("writeSize");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty text") << 2048 << 0 << true;
        QTest::newRow("one byte") << 2048 << 1 << true;
        QTest::newRow("exactly the queue") << 2048 << 2048 << true;
        QTest::newRow("one more than the queue") << 2048 << 2049 << false;
        QTest::newRow("small queue, exactly") << 16 << 16 << true;
        QTest::newRow("small queue, one more") << 16 << 17 << false;
    }
    void writeQueueLimits()
    {
        QFETCH(int, writeSize);
        QFETCH(int, size);
        QFETCH(bool, accepted);
        PtyPair pty;
        TVaComm comm;
        UsePty(comm, pty);
        comm.Buffers().SetWriteSize(writeSize);
        comm.Open();
        const int timeout = accepted ? 3000 : 50;
        comm.Buffers().SetWriteTimeout(timeout);
        const QByteArray block = Pattern(size);
        bool result = false;
        QElapsedTimer t;
        t.start();
        const QString thrown = ThrownMessage<EVaCommError>([&] { result = comm.WriteString(block); });
        const qint64 elapsed = t.elapsed();
        if (accepted) {
            QCOMPARE(thrown, kNothingThrown);
            QVERIFY(result);
            QVERIFY2(elapsed < timeout / 2, "an empty queue took the block only after waiting");
        } else {
            QCOMPARE(thrown, QString(VaConst::sBufferFull));
            QVERIFY2(elapsed >= timeout, qPrintable(QStringLiteral("refused after %1 ms").arg(elapsed)));
        }
        // A refused block leaves nothing behind.
        QVERIFY(comm.WriteString("tail"));
        const QByteArray want = (accepted ? block : QByteArray()) + "tail";
        QCOMPARE(pty.ReadMaster(int(want.size())), want);
    }

    void framesLeaveInOrder()
    {
        PtyPair pty;
        TVaComm comm;
        UsePty(comm, pty);
        comm.Open();
        const QByteArray first("M\x04\x01G\x9c"), second("M\x06\x01G\x9e");
        QVERIFY(comm.WriteString(first));
        QVERIFY(comm.WriteString(second));
        QCOMPARE(pty.ReadMaster(10), first + second);

        // Frames of every length, back to back, within one queue's worth.
        QByteArray all;
        for (int i = 1; i <= 60; ++i) {
            all += Pattern(i, i);
            QVERIFY(comm.WriteString(Pattern(i, i)));
        }
        const QByteArray got = pty.ReadMaster(int(all.size()));
        QVERIFY2(got == all, qPrintable(Difference(got, all)));
    }

    void roomWhileTxEmptyReportWaits()
    {
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, pty);
        comm.Open();
        comm.Buffers().SetWriteTimeout(200);
        // The first frame has left and emptied the queue, and the main thread has processed
        // no events since.
        QCOMPARE(TryWrite(comm, "frame"), QString());
        QCOMPARE(pty.ReadMaster(5, 5000, false), QByteArray("frame"));
        const QByteArray block = Pattern(2048);
        QCOMPARE(TryWrite(comm, block), QString());
        // The line is free, so the block leaves and makes room for one more byte.
        QCOMPARE(TryWrite(comm, "!"), QString());
        QCOMPARE(pty.ReadMaster(2049), block + "!");
        QTRY_VERIFY(rec.Count("txempty") >= 1);
    }

    void txEmptyOncePerEmptying()
    {
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, pty);
        comm.Open();
        for (int round = 1; round <= 3; ++round) {
            QVERIFY(comm.WriteString("frame"));
            QCOMPARE(pty.ReadMaster(5), QByteArray("frame"));
            QTRY_COMPARE(rec.Count("txempty"), round);
            QTest::qWait(30); // and no second report for the same emptying
            QCOMPARE(rec.Count("txempty"), round);
        }
    }

    void backPressure()
    {
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, pty);
        comm.Open();
        const QByteArray stream = Pattern(256 * 1024, 3);
        constexpr int piece = 1000;
        int queued = FillLine(comm, stream, piece);
        QVERIFY2(queued > 0, "the line never pushed back, or refused with another error");

        // The write thread waits for room; waiting must not cost CPU.
        const double cpu = CpuTimeMs();
        QTest::qWait(150);
        const double spent = CpuTimeMs() - cpu;
        QVERIFY2(spent < 60, qPrintable(QStringLiteral("%1 ms CPU while the line was full").arg(spent)));

        // The other side reads again; the rest is queued while it does.
        MasterReader reader(pty, int(stream.size()));
        comm.Buffers().SetWriteTimeout(1000);
        for (; queued < stream.size(); queued += piece) {
            QCoreApplication::processEvents();
            const QString error = TryWrite(comm, stream.mid(queued, piece));
            QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("piece at %1: %2").arg(queued).arg(error)));
        }
        QTRY_VERIFY_WITH_TIMEOUT(reader.Done(), 10000);
        const QByteArray got = reader.Take();
        QVERIFY2(got == stream, qPrintable(Difference(got, stream)));
        QTRY_VERIFY(rec.Count("txempty") >= 1);
    }

    void writeWhileLineGoesAway_data()
    {
        QTest::addColumn<int>("writeTimeout");
        QTest::newRow("600 ms") << 600;
        // Waiting out this one would trip the watchdog: the wait must end with the thread.
        QTest::newRow("a minute") << 60000;
    }
    void writeWhileLineGoesAway()
    {
        QFETCH(int, writeTimeout);
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, pty);
        comm.Open();
        QVERIFY(FillLine(comm, Pattern(64 * 1024), 500) > 0);
        comm.Buffers().SetWriteTimeout(writeTimeout);
        // The controller goes away while the next frame waits for room in the queue.
        std::thread hangUp([&pty] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            pty.CloseMaster();
        });
        bool accepted = true;
        QString thrown;
        {
            Watchdog dog(10000, "WriteString on a line that goes away");
            thrown = ThrownMessage<EVaCommError>([&] { accepted = comm.WriteString(Pattern(500, 9)); });
        }
        hangUp.join();
        // Nothing was sent and nothing is blamed on a full queue; the loss is told afterwards.
        QCOMPARE(thrown, kNothingThrown);
        QVERIFY(!accepted);
        QVERIFY(!rec.log.contains("error") && !rec.log.contains("close"));
        QTRY_VERIFY_WITH_TIMEOUT(rec.log.contains("close"), 3000);
        QCOMPARE(rec.Count("error"), 1);
        QVERIFY(rec.errors[0] & VaConst::CE_IOE);
        QVERIFY(!comm.IsOpen());
        QVERIFY(!comm.WriteString("x"));
        QTRY_COMPARE_WITH_TIMEOUT(ThreadCount(), baseThreads_, 2000);
    }

    void noHandlerInsideWriteString()
    {
        PtyPair pty;
        TVaComm comm;
        UsePty(comm, pty);
        bool writing = false;
        QStringList inside; // handlers that ran while a WriteString was under way
        bool replied = false;
        comm.OnTxEmpty = [&](QObject*) {
            if (writing)
                inside << "OnTxEmpty";
        };
        comm.OnError = [&](QObject*, quint32) {
            if (writing)
                inside << "OnError";
        };
        comm.OnRxChar = [&](QObject*, qint32) {
            if (writing)
                inside << "OnRxChar";
            comm.ReadString();
            // The handler answers with a frame of its own, as the link's dispatch may.
            if (!std::exchange(replied, true)) {
                writing = true;
                comm.WriteString("reply");
                writing = false;
            }
        };
        comm.Open();
        const QByteArray stream = Pattern(64 * 1024, 4);
        const int queued = FillLine(comm, stream, 500);
        QVERIFY(queued > 0);

        // Bytes arrive and their hand-off waits while the main thread is busy; then the next
        // frame has to wait for room, until the controller reads again.
        QVERIFY(pty.WriteMaster("ping", 5000, false));
        QTest::qSleep(50);
        const QByteArray frame = Pattern(500, 7);
        const QByteArray want = stream.left(queued) + frame + "reply";
        MasterReader reader(pty, int(want.size()), 50);
        comm.Buffers().SetWriteTimeout(5000);
        writing = true;
        const QString error = TryWrite(comm, frame);
        writing = false;
        QCOMPARE(error, QString());
        QTRY_VERIFY(replied);
        QTRY_VERIFY_WITH_TIMEOUT(reader.Done(), 10000);
        const QByteArray got = reader.Take();
        QVERIFY2(got == want, qPrintable(Difference(got, want)));
        QCOMPARE(inside, QStringList());
    }

    void everyByteAnnouncedOrReturned_data()
    {
        QTest::addColumn<QString>("query");
        QTest::newRow("InputCount") << "InputCount";
        QTest::newRow("ReadLineStatus") << "ReadLineStatus";
        QTest::newRow("ReadData of one byte") << "ReadData";
    }
    void everyByteAnnouncedOrReturned()
    {
        QFETCH(QString, query);
        PtyPair pty;
        TVaComm comm;
        UsePty(comm, pty);
        QByteArray got; // what the handler read and what the main thread's calls returned, in order
        comm.OnRxChar = [&](QObject*, qint32) { got += comm.ReadString(); };
        comm.Open();
        QByteArray sent;
        for (int i = 0; i < 20; ++i) {
            const QByteArray piece = Pattern(15, i);
            sent += piece;
            QVERIFY(pty.WriteMaster(piece, 5000, false));
            // The main thread asks, processing no events, until it sees something arrive.
            QElapsedTimer t;
            t.start();
            bool seen = false;
            while (!seen && t.elapsed() < 5000) {
                if (query == "InputCount") {
                    seen = comm.InputCount() > 0;
                } else if (query == "ReadLineStatus") {
                    quint32 errors = 0;
                    TVaComStat stat;
                    comm.ReadLineStatus(errors, stat);
                    seen = stat.cbInQue > 0;
                } else {
                    char c = 0;
                    seen = comm.ReadData(&c, 1) == 1;
                    if (seen)
                        got += c;
                }
                if (!seen)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            QVERIFY(seen);
            // Whatever the call did not return is announced.
            QTRY_COMPARE(got, sent);
        }
    }

    void settingsChangedWhileReceiving()
    {
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, pty);
        comm.SetMonitorEvents({ceError, ceRxChar, ceTxEmpty, ceRxFlag, ceRx80Full});
        int flags = 0;
        comm.OnRxFlag = [&](QObject*) { ++flags; };
        comm.EventChars().SetEventChar('X');
        comm.Open();
        // The event character is a line setting: it counts at once.
        comm.EventChars().SetEventChar('Y');
        QVERIFY(pty.WriteMaster("X"));
        QTRY_COMPARE(rec.received, QByteArray("X"));
        QVERIFY(pty.WriteMaster("Y"));
        QTRY_COMPARE(rec.received, QByteArray("XY"));
        QCOMPARE(flags, 1);

        // The controller talks without pause while the settings change under the threads.
        rec.received.clear();
        std::atomic<bool> stop{false};
        QByteArray sent; // the writer's own until it has ended
        std::thread writer([&] {
            for (int i = 0; !stop; ++i) {
                const QByteArray piece = Pattern(64, i);
                if (!pty.WriteMaster(piece, 5000, false))
                    break;
                sent += piece;
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
        });
        for (int i = 0; i < 40; ++i) {
            comm.EventChars().SetEventChar(char(i));
            ThrownMessage<EVaCommError>([&] { comm.Buffers().SetReadSize(i % 2 ? 1024 : 8192); });
            comm.Buffers().SetWriteTimeout(100 + i);
            comm.Buffers().SetReadTimeout(100 + i);
            QVERIFY(comm.WriteString("w"));
            QTest::qWait(2);
        }
        stop = true;
        writer.join();
        QVERIFY(!sent.isEmpty());
        QTRY_COMPARE(rec.received.size(), sent.size());
        QVERIFY2(rec.received == sent, qPrintable(Difference(rec.received, sent)));
        QVERIFY(comm.IsOpen());
    }

    void bytesWhileMainThreadBusy()
    {
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, pty);
        comm.Open();
        // The main thread is busy (it processes no events) while the bytes come in pieces.
        for (const char* piece : {"abc", "def", "ghi"}) {
            QVERIFY(pty.WriteMaster(piece));
            QTest::qSleep(20);
        }
        QTRY_VERIFY(!rec.rxCounts.isEmpty());
        QTest::qWait(50);
        QCOMPARE(rec.rxCounts, QList<qint32>{9});
        QCOMPARE(rec.received, QByteArray("abcdefghi"));
    }

    void rxHandlerExceptionGoesToApplication()
    {
        PtyPair pty;
        TVaComm comm;
        UsePty(comm, pty);
        QStringList application;
        VaSetApplicationExceptionHandler([&](std::exception_ptr e) { application << ExceptionText(e); });
        QByteArray got;
        int calls = 0;
        comm.OnRxChar = [&](QObject*, qint32) {
            got += comm.ReadString();
            if (++calls == 1)
                throw EVaCommError("handler failed");
        };
        comm.Open();
        QVERIFY(pty.WriteMaster("one"));
        QTRY_COMPARE(got, QByteArray("one"));
        QCOMPARE(application, QStringList{"handler failed"});
        QVERIFY(pty.WriteMaster("two"));
        QTRY_COMPARE(got, QByteArray("onetwo"));
        QVERIFY(comm.IsOpen());
    }

    void closePromptly_data()
    {
        QTest::addColumn<QString>("activity");
        QTest::newRow("idle") << "idle";
        QTest::newRow("receiving") << "receiving";
        QTest::newRow("sending") << "sending";
    }
    void closePromptly()
    {
        QFETCH(QString, activity);
        PtyPair pty;
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, pty);
        const int fds = OpenFdCount();
        comm.Open();
        std::unique_ptr<MasterWriter> writer;
        const QByteArray stream = Pattern(64 * 1024, 5);
        int queued = 0;
        if (activity == "idle") {
            const double cpu = CpuTimeMs();
            QTest::qWait(150);
            const double spent = CpuTimeMs() - cpu;
            QVERIFY2(spent < 50, qPrintable(QStringLiteral("%1 ms CPU on an idle port").arg(spent)));
        } else if (activity == "receiving") {
            writer = std::make_unique<MasterWriter>(pty);
            QTRY_VERIFY(rec.received.size() > 2000);
        } else {
            queued = FillLine(comm, stream, 500);
            QVERIFY(queued > 0);
        }

        QElapsedTimer t;
        t.start();
        {
            Watchdog dog(10000, "Close");
            comm.Close();
        }
        QVERIFY2(t.elapsed() < 2000, qPrintable(QStringLiteral("Close took %1 ms").arg(t.elapsed())));
        QVERIFY(!comm.IsOpen());
        QVERIFY(!comm.EventThreadRunning() && !comm.WriteThreadRunning());
        const QStringList atClose = rec.log;
        QCOMPARE(atClose.last(), QStringLiteral("close"));
        if (writer)
            writer->Stop();
        QTest::qWait(100);
        QCOMPARE(rec.log, atClose); // nothing after Close returned
        QVERIFY(!rec.rxCounts.contains(0));
        if (activity == "sending") {
            // What reached the line is the start of what was queued; the rest was dropped.
            const QByteArray got = pty.DrainMaster(50);
            QVERIFY(got.size() <= queued);
            QVERIFY2(got == stream.left(got.size()), qPrintable(Difference(got, stream.left(got.size()))));
        }
        QCOMPARE(OpenFdCount(), fds);
        QTRY_COMPARE_WITH_TIMEOUT(ThreadCount(), baseThreads_, 2000);
    }

    void closeInsideRxHandler()
    {
        PtyPair pty;
        TVaComm comm;
        UsePty(comm, pty);
        QStringList log;
        comm.OnClose = [&](QObject*) { log << "close"; };
        comm.OnRxChar = [&](QObject*, qint32) {
            Watchdog dog(10000, "Close inside OnRxChar");
            comm.Close();
            log << (comm.IsOpen() ? "still open" : "closed inside");
        };
        comm.Open();
        QVERIFY(pty.WriteMaster("abc"));
        QTRY_COMPARE(log, (QStringList{"close", "closed inside"}));
        QVERIFY(pty.WriteMaster("more"));
        QTest::qWait(50);
        QCOMPARE(log.size(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(ThreadCount(), baseThreads_, 2000);

        // Connecting again on the same line works, without the bytes of the last session.
        QByteArray got;
        comm.OnRxChar = [&](QObject*, qint32) { got += comm.ReadString(); };
        comm.Open();
        QVERIFY(pty.WriteMaster("def"));
        QTRY_COMPARE(got, QByteArray("def"));
        QVERIFY(comm.WriteString("ok"));
        QCOMPARE(pty.ReadMaster(2), QByteArray("ok"));
    }

    void destroyWithHandOffPending()
    {
        PtyPair pty;
        auto comm = std::make_unique<TVaComm>();
        UsePty(*comm, pty);
        int events = 0;
        comm->OnRxChar = [&](QObject*, qint32) { ++events; };
        comm->Open();
        QVERIFY(pty.WriteMaster("late"));
        QTest::qSleep(30); // lets the event thread post its hand-off
        {
            Watchdog dog(10000, "destroying the open component");
            comm.reset();
        }
        QTest::qWait(50); // a late hand-off must find nothing to call
        QCOMPARE(events, 0);
        QVERIFY(CanLock(pty.SlavePath()));
    }

    void hangUp_data()
    {
        QTest::addColumn<QString>("activity");
        QTest::newRow("idle") << "idle";
        QTest::newRow("sending") << "sending";
        QTest::newRow("error handler throws") << "throwing";
    }
    void hangUp()
    {
        QFETCH(QString, activity);
        QStringList application;
        VaSetApplicationExceptionHandler([&](std::exception_ptr e) { application << ExceptionText(e); });
        auto pty = std::make_unique<PtyPair>();
        TVaComm comm;
        CommRecorder rec(comm);
        UsePty(comm, *pty);
        if (activity == "throwing") {
            comm.OnError = [&](QObject*, quint32 errors) {
                rec.log << "error";
                rec.errors << errors;
                throw EVaCommError("handler failed");
            };
        }
        const int fds = OpenFdCount();
        comm.Open();
        if (activity == "sending")
            QVERIFY(FillLine(comm, Pattern(64 * 1024), 500) > 0);

        pty.reset(); // the controller's side goes away
        QTRY_VERIFY_WITH_TIMEOUT(rec.log.contains("close"), 3000);
        // An end of transmission from before the hang-up may still come first.
        QCOMPARE(rec.log.mid(rec.log.indexOf("error")).join(", "), QStringLiteral("error, close"));
        QCOMPARE(rec.errors.size(), 1);
        QVERIFY2(rec.errors[0] & VaConst::CE_IOE, qPrintable(QString::number(rec.errors[0], 16)));
        QVERIFY(!comm.IsOpen());
        QCOMPARE(comm.DeviceHandle(), -1);
        QVERIFY(!comm.EventThreadRunning() && !comm.WriteThreadRunning());
        QCOMPARE(application, activity == "throwing" ? QStringList{"handler failed"} : QStringList());

        // Reported once, and nothing keeps running.
        const double cpu = CpuTimeMs();
        const QStringList atHangUp = rec.log;
        QTest::qWait(300);
        const double spent = CpuTimeMs() - cpu;
        QVERIFY2(spent < 60, qPrintable(QStringLiteral("%1 ms CPU after the hang-up").arg(spent)));
        comm.Close();
        QCOMPARE(rec.log, atHangUp);
        QVERIFY(!comm.WriteString("x"));
        QCOMPARE(OpenFdCount(), fds - 2); // less the master and the observer
        QTRY_COMPARE_WITH_TIMEOUT(ThreadCount(), baseThreads_, 2000);

        // A fresh line: the next connect opens it.
        PtyPair fresh;
        comm.SetDeviceName(fresh.SlavePath());
        comm.Open();
        QVERIFY(comm.WriteString("again"));
        QCOMPARE(fresh.ReadMaster(5), QByteArray("again"));
        QVERIFY(fresh.WriteMaster("back"));
        QTRY_COMPARE(rec.received, QByteArray("back"));
    }
};

QTEST_GUILESS_MAIN(TestSerialIo)
#include "tst_serial_io.moc"
