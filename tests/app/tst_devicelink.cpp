// The command exchange against a scripted controller: resends, time-outs,
// answers that arrive together, the poll and commands held back while a wait runs.
#include "PromptRecorder.h"
#include "link/DeviceLink.h"
#include "link/Frame.h"

#include <QTest>
#include <QTimer>
#include <functional>

using namespace tq3;

namespace {

struct Host : LinkHost
{
    QList<QPair<int, QByteArray>> dispatched;
    int loggedOut = 0;
    std::function<void(quint8)> onDispatch;
    void DispatchAnswer(quint8 type, const QByteArray& payload) override
    {
        dispatched.append({type, payload});
        if (onDispatch)
            onDispatch(type);
    }
    void EnterLoggedOut() override { ++loggedOut; }
};

QByteArray AnswerFrame(quint8 type, const QByteArray& payload = {})
{
    return BuildAnswerFrame(type, payload);
}

} // namespace

class TestDeviceLink : public QObject
{
    Q_OBJECT

    Host host;
    PromptRecorder prompts;
    std::unique_ptr<DeviceLink> link;
    QList<QByteArray> written;
    // The scripted controller: what to answer to the n-th written frame.
    std::function<QByteArray(const QByteArray& frame, int n)> reply;
    QTimer ticks;

    void Deliver(const QByteArray& bytes)
    {
        QTimer::singleShot(0, link.get(), [this, bytes] { link->ReceiveChars(bytes); });
    }

private slots:
    void init()
    {
        host = Host{};
        prompts.Clear();
        written.clear();
        reply = nullptr;
        link = std::make_unique<DeviceLink>(host, prompts);
        link->SetPauseAfterExchange(std::chrono::milliseconds(0));
        link->SetWriter([this](const QByteArray& frame) {
            written << frame;
            if (reply) {
                const QByteArray out = reply(frame, int(written.size()));
                if (!out.isEmpty())
                    Deliver(out);
            }
            return true;
        });
        ticks.disconnect();
        ticks.setInterval(2);
        connect(&ticks, &QTimer::timeout, link.get(), [this] { link->Tick(); });
        ticks.start();
    }

    void cleanup()
    {
        ticks.stop();
        link.reset();
    }

    void answeredAfterResends_data()
    {
        QTest::addColumn<int>("answeredWrite");
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("writes");
        QTest::newRow("first write") << 1 << true << 1;
        QTest::newRow("after first resend") << 2 << true << 2;
        QTest::newRow("after last resend") << 4 << true << 4;
        QTest::newRow("never") << 0 << false << 4;
    }
    void answeredAfterResends()
    {
        QFETCH(int, answeredWrite);
        QFETCH(bool, result);
        QFETCH(int, writes);
        reply = [&](const QByteArray&, int n) {
            return n == answeredWrite ? AnswerFrame(1, "T5") : QByteArray();
        };
        link->SendCommand(1, "7391");
        QCOMPARE(link->WaitAnswer(3, 1), result);
        QCOMPARE(int(written.size()), writes);
        for (const QByteArray& f : written)
            QCOMPARE(f, BuildFrame(1, "7391")); // a resend writes exactly the same bytes
        QCOMPARE(host.loggedOut, result ? 0 : 1);
        const QStringList expected =
            result ? QStringList{} : QStringList{"beep", "Error: Brak odpowiedzi z TQ-3"};
        QCOMPARE(prompts.log, expected);
        QVERIFY(!link->Busy());
    }

    void unansweredPollIsSilent()
    {
        QVERIFY(!link->SendAndWait(CodeStatus, "G", 2));
        QCOMPARE(int(written.size()), 4);
        QCOMPARE(host.loggedOut, 1);
        QVERIFY(prompts.log.isEmpty());
    }

    void otherTypeDuringWaitDoesNotEndIt()
    {
        reply = [&](const QByteArray&, int n) {
            if (n == 1)
                return AnswerFrame(CodeStatus, QByteArray(12, '\0')); // a late status answer
            return AnswerFrame(4, "1234");
        };
        link->SendCommand(4, "G");
        QVERIFY(link->WaitAnswer(3, 4));
        QCOMPARE(int(written.size()), 2);
        QCOMPARE(host.dispatched.size(), 2);
        QCOMPARE(host.dispatched[0].first, int(CodeStatus));
        QCOMPARE(link->AnswerData(), QByteArray("1234"));
    }

    void answersInOneRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray awaited = AnswerFrame(4, "1234");
        const QByteArray status = AnswerFrame(CodeStatus, QByteArray(12, 'x'));
        QTest::newRow("awaited, then another") << awaited + status;
        QTest::newRow("another, then awaited") << status + awaited;
        QTest::newRow("noise, awaited, another") << QByteArray("zzm\x04\x70") + awaited + status;
    }
    void answersInOneRead()
    {
        QFETCH(QByteArray, bytes);
        reply = [&](const QByteArray&, int) { return bytes; };
        link->SendCommand(4, "G");
        QVERIFY(link->WaitAnswer(3, 4));
        QCOMPARE(link->AnswerType(), quint8(4));
        QCOMPARE(link->AnswerData(), QByteArray("1234"));
        QCOMPARE(int(written.size()), 1);
        QCOMPARE(host.dispatched.size(), 2);
    }

    void damagedAnswerCostsOneResend_data()
    {
        QTest::addColumn<QByteArray>("first"); // what comes back for the first write
        const QByteArray alarm = AnswerFrame(12, "Alarm Zasilanie");
        QByteArray spoiled = alarm;
        spoiled.back() = char(spoiled.back() ^ 0x40);
        QTest::newRow("spoiled checksum, m in the text") << spoiled;
        QTest::newRow("answer cut short") << alarm.left(alarm.size() - 2);
        QTest::newRow("noise holding m") << QByteArray("\x01m\x0c\x50"
                                                       "Alarm");
        QTest::newRow("nothing") << QByteArray();
    }
    void damagedAnswerCostsOneResend()
    {
        QFETCH(QByteArray, first);
        ticks.setInterval(5);
        reply = [&](const QByteArray&, int n) { return n == 1 ? first : AnswerFrame(12, "Alarm Zasilanie"); };
        link->SendCommand(12, "G");
        QVERIFY(link->WaitAnswer(20, 12));
        QCOMPARE(int(written.size()), 2);
        QCOMPARE(link->AnswerData(), QByteArray("Alarm Zasilanie"));
        QCOMPARE(host.dispatched.size(), 1);
        QVERIFY(prompts.log.isEmpty());
    }

    void pausedAnswerArrivesWhole_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("pauseTicks");
        const QList<std::pair<const char*, QByteArray>> answers{
            {"record", AnswerFrame(71, QByteArray::fromHex("1849070a141e6d01"))},
            {"status", AnswerFrame(CodeStatus, QByteArray::fromHex("0300141200002b0109"
                                                                   "01dc00"))},
            {"text", AnswerFrame(16, "Alarm: brak zasilania 230V")},
            {"login", AnswerFrame(1, "T5")},
        };
        // A pause of about 80 ms, 300 ms and the whole time-out of the answer.
        for (const auto& [name, frame] : answers)
            for (int pause : {1, 3, 10})
                QTest::addRow("%s, %d ticks", name, pause) << frame << pause;
    }
    // The line holds still at every position inside the awaited answer: it is
    // taken whole, once, with no resend.
    void pausedAnswerArrivesWhole()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, pauseTicks);
        const quint8 type = quint8(frame.at(1));
        for (qsizetype at = 1; at < frame.size(); ++at) {
            host.dispatched.clear();
            written.clear();
            int ticksLeft = 0;
            const auto pause = connect(&ticks, &QTimer::timeout, this, [&] {
                if (ticksLeft > 0 && --ticksLeft == 0)
                    link->ReceiveChars(frame.mid(at));
            });
            reply = [&](const QByteArray&, int n) {
                ticksLeft = n == 1 ? pauseTicks : 0;
                return n == 1 ? frame.left(at) : QByteArray();
            };
            link->SendCommand(type, "G");
            QVERIFY2(link->WaitAnswer(10, type), qPrintable(QStringLiteral("paused after byte %1").arg(at)));
            disconnect(pause);
            QCOMPARE(int(written.size()), 1);
            QCOMPARE(host.dispatched,
                     (QList<QPair<int, QByteArray>>{{type, frame.mid(3, frame.size() - 4)}}));
        }
    }

    void resendIsTheWaitsOwnFrame()
    {
        // A record's dispatch sends the history stop request while the start of
        // the download still waits; the awaited answer is lost once.
        host.onDispatch = [&](quint8 type) {
            if (type == 71)
                link->SendCommand(75, "x");
        };
        reply = [&](const QByteArray& f, int n) {
            if (n == 1)
                return AnswerFrame(71, QByteArray(8, '\x01'));
            return f.at(1) == char(73) ? AnswerFrame(73, QByteArray(2, '\0')) : QByteArray();
        };
        link->SendCommand(73, "h");
        QVERIFY(link->WaitAnswer(3, 73));
        QCOMPARE(written, (QList<QByteArray>{BuildFrame(73, "h"), BuildFrame(75, "x"), BuildFrame(73, "h")}));
    }

    void heldClicks()
    {
        // Three clicks of one control and one of another while the link is busy.
        int first = 0, second = 0;
        bool firstEnabled = true;
        auto busy = std::make_unique<DeviceLink::Operation>(*link);
        const int a = 0, b = 0;
        for (int i = 0; i < 3; ++i)
            link->WhenIdle(
                &a, [&] { return firstEnabled; }, [&] { ++first; });
        link->WhenIdle(
            &b, [] { return true; }, [&] { ++second; });
        QCoreApplication::processEvents();
        QCOMPARE(first + second, 0);
        busy.reset();
        QTRY_COMPARE(second, 1);
        QCOMPARE(first, 1);

        // A control disabled meanwhile: its held click does nothing.
        busy = std::make_unique<DeviceLink::Operation>(*link);
        link->WhenIdle(
            &a, [&] { return firstEnabled; }, [&] { ++first; });
        link->WhenIdle(
            &b, [] { return true; }, [&] { ++second; });
        firstEnabled = false;
        busy.reset();
        QTRY_COMPARE(second, 2);
        QCOMPARE(first, 1);
    }

    void strayFrameOfNoKnownTypeHidesNothing()
    {
        // Noise whose "m" starts a frame with a matching checksum by chance,
        // right in front of history records: its type is no answer's, so the
        // records it covers are still taken.
        QByteArray records;
        for (int i = 0; i < 4; ++i)
            records += AnswerFrame(71, QByteArray(8, char('0' + i)));
        const QByteArray header = QByteArrayLiteral("m\xf0") + char(records.size() - 1);
        const QByteArray stray = header + records;
        // Make the stray frame whole and valid: its last byte is the last record's checksum.
        const quint8 need = quint8(stray.back());
        QByteArray fixed = header;
        fixed[1] =
            char(quint8(fixed.at(1)) + quint8(need - FrameChecksum(stray.constData(), stray.size() - 1)));
        QVERIFY(!IsAnswerType(quint8(fixed.at(1))));
        const QByteArray line = fixed + records;
        QCOMPARE(FrameChecksum(line.constData(), line.size() - 1), quint8(line.back()));
        link->ReceiveChars(line);
        QCOMPARE(host.dispatched.size(), 4);
        for (const auto& [type, payload] : host.dispatched)
            QCOMPARE(type, 71);
    }

    void receiveDuringDispatchKeepsOrder()
    {
        // The second frame arrives while the first is being dispatched.
        host.onDispatch = [&](quint8 type) {
            if (type == 71)
                link->ReceiveChars(AnswerFrame(75, "b"));
        };
        const QByteArray record(8, 'a');
        link->ReceiveChars(AnswerFrame(71, record) + AnswerFrame(70));
        QCOMPARE(host.dispatched, (QList<QPair<int, QByteArray>>{{71, record}, {70, ""}, {75, "b"}}));
    }

    void lastSingleByte_data()
    {
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<char>("expected");
        QTest::newRow("lone !") << QByteArray("!") << '!';
        QTest::newRow("nothing") << QByteArray() << '.';
        QTest::newRow("two bytes") << QByteArray("!!") << '.';
    }
    void lastSingleByte()
    {
        QFETCH(QByteArray, read);
        QFETCH(char, expected);
        link->SetLastSingleByte('x');
        link->ReceiveChars(read);
        QCOMPARE(link->LastSingleByte(), expected);
        QVERIFY(link->Assembler().RxBuffer().isEmpty());
    }

    void pollOnlyWhileLoggedInIdleAndUnlocked()
    {
        ticks.stop(); // ticks are driven here
        reply = [&](const QByteArray& f, int) {
            return f.at(1) == char(CodeStatus) ? AnswerFrame(CodeStatus, QByteArray(12, '\0')) : QByteArray();
        };
        auto runTicks = [&](int n) {
            for (int i = 0; i < n; ++i) {
                link->Tick();
                QCoreApplication::processEvents();
                QCoreApplication::processEvents();
            }
        };
        runTicks(30);
        QCOMPARE(written.size(), 0); // logged out
        link->SetLoggedIn(true);
        runTicks(30);
        QCOMPARE(written.size(), 0); // locked
        link->SetControlsUnlocked(true);
        link->SetPollTicks(0);
        runTicks(14);
        QCOMPARE(written.size(), 0);
        runTicks(1);
        QCOMPARE(written.size(), 1);
        runTicks(15);
        QCOMPARE(written.size(), 2);
        QCOMPARE(written.last(), BuildFrame(CodeStatus, "G"));
        // Every exchange restarts the count.
        runTicks(10);
        link->SendCommand(81, "G");
        runTicks(14);
        QCOMPARE(written.size(), 3);
        runTicks(1);
        QCOMPARE(written.size(), 4);
    }

    void commandHeldBackWhileThePollWaits()
    {
        // The controller answers the poll only after its first resend.
        reply = [&](const QByteArray& f, int) {
            if (f.at(1) == char(CodeStatus) && written.count(f) == 2)
                return AnswerFrame(CodeStatus, QByteArray(12, '\0'));
            if (f.at(1) == char(2))
                return AnswerFrame(2);
            return QByteArray();
        };
        link->SetLoggedIn(true);
        link->SetControlsUnlocked(true);
        bool clickRan = false;
        bool pollWasOver = false;
        connect(link.get(), &DeviceLink::PollStarted, this, [&] {
            // A click during the poll's wait: a logout.
            QTimer::singleShot(1, this, [&] {
                link->WhenIdle([&] {
                    pollWasOver = !link->Busy();
                    link->SendCommand(2, "W");
                    clickRan = link->WaitAnswer(3, 2);
                });
            });
        });
        QTRY_VERIFY_WITH_TIMEOUT(clickRan, 5000);
        link->SetLoggedIn(false);
        link->disconnect(this);
        QVERIFY(pollWasOver);
        const QByteArray poll = BuildFrame(CodeStatus, "G");
        QCOMPARE(written.mid(0, 3), (QList<QByteArray>{poll, poll, BuildFrame(2, "W")}));
    }
};

QTEST_GUILESS_MAIN(TestDeviceLink)
#include "tst_devicelink.moc"
