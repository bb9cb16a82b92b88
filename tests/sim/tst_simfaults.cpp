#include "ControllerModel.h"
#include "SimTestUtil.h"

#include <QTest>

#include <functional>
#include <set>

using namespace std::chrono_literals;
using tq3sim::ControllerModel;
using tq3sim::ControllerOptions;
using tq3sim::CountedFault;
using tq3sim::FaultKind;
using Writes = std::vector<QByteArray>;

namespace {

QByteArray block(int number, char fill)
{
    return char(number) + QByteArray(128, fill);
}

Writes send(ControllerModel& model, int code, const QByteArray& payload)
{
    model.receive(simtest::command(code, payload));
    return model.takeWrites();
}

const Writes Ack{QByteArray("!")};

ControllerModel bootloader(ControllerOptions options = {}) // entered at 1 s
{
    ControllerModel model(std::move(options));
    model.advanceTo(1s);
    send(model, 100, "B");
    return model;
}

ControllerModel withFaults(const std::function<void(tq3sim::FaultOptions&)>& set)
{
    ControllerOptions options;
    set(options.faults);
    return ControllerModel(options);
}

} // namespace

class TestSimFaults : public QObject
{
    Q_OBJECT

private slots:
    void blocks_data()
    {
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<QList<bool>>("acked");
        QTest::addColumn<int>("errors");
        QTest::newRow("in order") << QList<int>{0, 1, 2} << QList<bool>{true, true, true} << 0;
        QTest::newRow("resend of last") << QList<int>{0, 1, 1, 2} << QList<bool>{true, true, true, true} << 0;
        QTest::newRow("skips one") << QList<int>{0, 2, 1} << QList<bool>{true, false, true} << 1;
        QTest::newRow("back two") << QList<int>{0, 1, 2, 0} << QList<bool>{true, true, true, false} << 1;
        QTest::newRow("starts at 1") << QList<int>{1, 0} << QList<bool>{false, true} << 1;
    }
    void blocks()
    {
        QFETCH(QList<int>, numbers);
        QFETCH(QList<bool>, acked);
        QFETCH(int, errors);
        ControllerModel model = bootloader();
        QByteArray expected;
        for (qsizetype i = 0; i < numbers.size(); ++i) {
            const char fill = char('a' + numbers[i]);
            QCOMPARE(send(model, 101, block(numbers[i], fill)), acked[i] ? Ack : Writes{});
            if (acked[i] && expected.size() == numbers[i] * 128)
                expected += QByteArray(128, fill);
        }
        QCOMPARE(model.bootImage(), expected); // a resend is not stored twice
        QCOMPARE(int(model.errors().size()), errors);
    }

    void bootloaderSession()
    {
        ControllerModel model = bootloader();
        QCOMPARE(send(model, 1, "7391"), Writes{}); // the application is not there to answer
        QCOMPARE(send(model, 80, "G"), Writes{});
        QCOMPARE(send(model, 101, QByteArray(64, 'x')), Writes{}); // a short block
        QCOMPARE(model.errors().size(), size_t(1));
        // 300 image bytes: the last block holds 44 bytes and 84 of fill.
        QByteArray image;
        for (int i = 0; i < 300; ++i)
            image += char(i * 7);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(send(model, 101, char(k) + image.mid(k * 128, 128).leftJustified(128, char(0xFF))), Ack);
        QCOMPARE(model.bootImage().left(300), image);
        QVERIFY(model.bootImagePaddedAfter(300) && !model.bootImagePaddedAfter(299) &&
                !model.bootImagePaddedAfter(385));

        const size_t records = model.history().size();
        QCOMPARE(send(model, 102, "K"), Writes{});
        QCOMPARE(model.mode(), ControllerModel::Mode::Application);
        QCOMPARE(model.modemStage(), 0);
        QVERIFY(!model.loggedIn());
        QCOMPARE(int(model.history().back().kind), 5);
        model.advanceTo(20s); // the modem is through its stages: link-up logged
        QCOMPARE(model.history().size(), records + 2);
        QCOMPARE(int(model.history().back().kind), 6);
        QCOMPARE(simtest::first(send(model, 1, "7391").at(0)).payload, QByteArray("T5"));
    }

    void bootWindow_data()
    {
        QTest::addColumn<int>("blockAtMs"); // -1: none
        QTest::addColumn<int>("checkAtMs");
        QTest::addColumn<bool>("stillInBootloader");
        QTest::newRow("just inside") << -1 << 4999 << true;
        QTest::newRow("window over") << -1 << 5000 << false;
        QTest::newRow("block in time") << 4900 << 60000 << true;
        QTest::newRow("block too late") << 5100 << 5100 << false;
    }
    void bootWindow()
    {
        QFETCH(int, blockAtMs);
        QFETCH(int, checkAtMs);
        QFETCH(bool, stillInBootloader);
        ControllerModel model = bootloader();
        QCOMPARE(model.nextDeadline(), std::optional<tq3sim::SimTime>(6s));
        if (blockAtMs >= 0) {
            model.advanceTo(1s + std::chrono::milliseconds(blockAtMs));
            send(model, 101, block(0, 'b'));
        }
        model.advanceTo(1s + std::chrono::milliseconds(checkAtMs));
        QCOMPARE(model.mode() == ControllerModel::Mode::Bootloader, stillInBootloader);
    }

    void lostAcknowledgement()
    {
        ControllerOptions options;
        options.faults.loseAck = {1, 3};
        ControllerModel model = bootloader(options);
        const QList<int> sent{0, 1, 1, 2, 3, 3};
        const QList<bool> acked{true, false, true, true, false, true};
        for (qsizetype i = 0; i < sent.size(); ++i)
            QCOMPARE(send(model, 101, block(sent[i], char('a' + sent[i]))), acked[i] ? Ack : Writes{});
        QCOMPARE(model.bootImage(),
                 QByteArray(128, 'a') + QByteArray(128, 'b') + QByteArray(128, 'c') + QByteArray(128, 'd'));
        QVERIFY(model.errors().empty());
    }

    void silentAndDropped()
    {
        ControllerModel silent = withFaults([](auto& f) { f.silent = true; });
        QCOMPARE(send(silent, 1, "7391"), Writes{});
        QCOMPARE(send(silent, 73, "h"), Writes{});
        QVERIFY(silent.nextStreamWrite().isEmpty());
        send(silent, 100, "B");
        QCOMPARE(send(silent, 101, block(0, 'a')), Writes{});
        QCOMPARE(silent.frames().size(), size_t(4));

        ControllerModel model = withFaults([](auto& f) {
            f.drop = {CountedFault{80, 2}, CountedFault{71, 1}};
        });
        QCOMPARE(send(model, 80, "G"), Writes{});
        QCOMPARE(send(model, 1, "7391").size(), size_t(1)); // other types pass
        QCOMPARE(send(model, 80, "G"), Writes{});
        QCOMPARE(send(model, 80, "G").size(), size_t(1));
        send(model, 73, "h"); // the first record is lost from the stream
        QCOMPARE(simtest::first(model.nextStreamWrite()).payload, model.history().at(1).encode());
    }

    void noise_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<bool>("withStart");
        QTest::addColumn<int>("answers"); // 0: all
        QTest::newRow("3 bytes") << 3 << false << 0;
        QTest::newRow("40 bytes") << 40 << false << 0;
        QTest::newRow("false start") << 5 << true << 0;
        QTest::newRow("first answer only") << 4 << false << 1;
    }
    void noise()
    {
        QFETCH(int, bytes);
        QFETCH(bool, withStart);
        QFETCH(int, answers);
        ControllerModel model = withFaults([&](auto& f) {
            f.noiseBytes = bytes;
            f.noiseWithStart = withStart;
            f.noiseAnswers = answers;
        });
        for (int round = 0; round < 3; ++round) {
            const Writes w = send(model, 4, "G");
            const int junk = answers == 0 || round < answers ? bytes : 0;
            QCOMPARE(w.size(), size_t(1)); // the junk shares the answer's write
            QCOMPARE(w[0].size(), junk + 8);
            QCOMPARE(w[0].left(junk).count('m'), withStart ? 1 : 0);
            QCOMPARE(w[0].startsWith('m'), withStart || junk == 0);
            const simtest::Answer a = simtest::first(w[0].mid(junk));
            QVERIFY(a.checksumOk && a.payload == "7391");
        }
    }

    void badChecksum_data()
    {
        QTest::addColumn<int>("code"); // -1: any
        QTest::addColumn<QList<bool>>("statusOk");
        QTest::addColumn<QList<bool>>("pinOk");
        QTest::newRow("first two of any type")
            << -1 << QList<bool>{false, true, true} << QList<bool>{false, true, true};
        QTest::newRow("two of type 80")
            << 80 << QList<bool>{false, false, true} << QList<bool>{true, true, true};
    }
    void badChecksum()
    {
        QFETCH(int, code);
        QFETCH(QList<bool>, statusOk);
        QFETCH(QList<bool>, pinOk);
        ControllerModel model = withFaults([&](auto& f) { f.badChecksum = {CountedFault{code, 2}}; });
        for (qsizetype i = 0; i < statusOk.size(); ++i) {
            QCOMPARE(simtest::first(send(model, 80, "G").at(0)).checksumOk, statusOk[i]);
            QCOMPARE(simtest::first(send(model, 4, "G").at(0)).checksumOk, pinOk[i]);
        }
    }

    void glue()
    {
        ControllerModel model = withFaults([](auto& f) { f.glue = true; });
        const Writes w = send(model, 1, "7391");
        QCOMPARE(w.size(), size_t(1));
        qsizetype used = 0;
        const std::vector<simtest::Answer> a = simtest::answers(w[0], &used);
        QVERIFY(used == w[0].size() && a.size() == 2);
        QVERIFY(a[0].type == 1 && a[1].type == 80 && a[1].payload.size() == 12);
        send(model, 100, "B");
        QCOMPARE(send(model, 101, block(0, 'x')), Ack); // acknowledgements stay alone
    }

    void hangup()
    {
        ControllerModel model = withFaults([](auto& f) { f.hangupAfterFrames = 2; });
        model.receive(QByteArray("M\x50\x01G\x00", 5)); // a bad frame does not count
        QCOMPARE(send(model, 1, "7391").size(), size_t(1));
        QVERIFY(!model.hangupRequested());
        // The last frame is still answered; what follows it is not looked at.
        model.receive(simtest::command(4, "G") + simtest::command(6, "G"));
        QCOMPARE(model.takeWrites().size(), size_t(1));
        QVERIFY(model.hangupRequested());
        QCOMPARE(send(model, 80, "G"), Writes{});
    }

    void resync_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<int>>("answered");
        QTest::addColumn<int>("badFrames");
        const QByteArray pin = simtest::command(4, "G");
        const QByteArray status = simtest::command(80, "G");
        QTest::newRow("noise before") << QByteArray("\x00\xffxyz", 5) + pin << QList<int>{4} << 0;
        QTest::newRow("stray M, short") << QByteArray("M\x07\x01") + pin << QList<int>{4} << 1;
        QTest::newRow("stray M over the frame") << QByteArray("M\x07\x02") + pin << QList<int>{4} << 1;
        QTest::newRow("bad checksum, then good") << status.left(4) + char(0) + pin << QList<int>{4} << 1;
        QTest::newRow("two frames, one write") << status + pin << QList<int>{80, 4} << 0;
        QTest::newRow("half a frame") << pin.left(2) << QList<int>{} << 0;
    }
    void resync()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, answered);
        QFETCH(int, badFrames);
        ControllerModel model;
        model.receive(bytes);
        QList<int> types;
        for (const QByteArray& w : model.takeWrites())
            types.append(simtest::first(w).type);
        QCOMPARE(types, answered);
        const auto& frames = model.frames();
        QCOMPARE(
            int(std::count_if(frames.begin(), frames.end(), [](const auto& f) { return !f.checksumOk; })),
            badFrames);
    }

    void staleFrameGivesUp()
    {
        // A stray "M" claiming 200 bytes, then quiet: the PC's resend must not become its tail.
        ControllerModel model;
        model.receive(QByteArray("M\x50\xc8", 3));
        QCOMPARE(model.nextDeadline(), std::optional<tq3sim::SimTime>(200ms));
        model.advanceTo(150ms);
        model.receive(simtest::command(80, "G"));
        QVERIFY(model.takeWrites().empty());
        model.advanceTo(400ms); // the rescan after the false start finds the swallowed frame
        const Writes w = model.takeWrites();
        QCOMPARE(w.size(), size_t(1));
        QCOMPARE(simtest::first(w[0]).type, 80);
        QVERIFY(!model.nextDeadline());
        QCOMPARE(model.protocolErrors(), 1);
        QCOMPARE(model.lastProtocolError()->problem, QStringLiteral("incomplete frame"));
    }

    void randomKind_data()
    {
        QTest::addColumn<int>("kind");
        for (int k = 0; k < tq3sim::FaultKindCount; ++k)
            QTest::newRow(tq3sim::faultKindName(FaultKind(k))) << k;
    }
    void randomKind()
    {
        QFETCH(int, kind);
        ControllerModel model = withFaults([&](auto& f) {
            f.randomRate = 1;
            f.randomKinds = 1u << kind;
        });
        const QByteArray clean = tq3sim::buildAnswer(4, "7391");
        const Writes w = send(model, 4, "G");
        QCOMPARE(model.faultsInjected()[size_t(kind)], 1);
        if (FaultKind(kind) == FaultKind::Drop) {
            QVERIFY(w.empty());
            return;
        }
        QCOMPARE(w.size(), size_t(1));
        const QByteArray& out = w[0];
        const QByteArray junk = out.left(out.size() - clean.size());
        switch (FaultKind(kind)) {
        case FaultKind::Noise:
        case FaultKind::NoiseWithStart:
            QVERIFY(out.endsWith(clean));
            QVERIFY2(junk.size() >= 1 && junk.size() <= 8, qPrintable(out.toHex(' ')));
            QCOMPARE(junk.count('m'), FaultKind(kind) == FaultKind::Noise ? 0 : 1);
            QCOMPARE(junk.startsWith('m'), FaultKind(kind) == FaultKind::NoiseWithStart);
            break;
        case FaultKind::BadChecksum:
            QCOMPARE(out.chopped(1), clean.chopped(1));
            QVERIFY(out.back() != clean.back());
            break;
        case FaultKind::Glue: // the awaited answer second, where a naive receiver drops it
            QCOMPARE(out, tq3sim::buildAnswer(80, model.status()) + clean);
            break;
        case FaultKind::PauseInside: // only the line's timing changes
            QCOMPARE(out, clean);
            break;
        default: // hang-up: the answer still goes out whole, nothing more is heard
            QCOMPARE(out, clean);
            QVERIFY(model.hangupRequested() && model.hangupIsBrief());
            QCOMPARE(send(model, 80, "G"), Writes{});
            model.lineRestored();
            QCOMPARE(send(model, 4, "G"), Writes{clean});
            break;
        }
    }

    // The pause falls inside the answer itself, past any junk in front of it, each
    // position in turn; the bytes are those of an answer without a pause.
    void pausesInsideAnswers()
    {
        ControllerModel model = withFaults([](auto& f) {
            f.pauseInsideMs = 80;
            f.pauseEvery = 2;
            f.noiseBytes = 3;
        });
        const QByteArray clean = tq3sim::buildAnswer(4, "7391");
        std::set<qsizetype> positions;
        for (int i = 1; i <= 2 * 8; ++i) {
            model.receive(simtest::command(4, "G"));
            const std::vector<tq3sim::LineWrite> w = model.takeLineWrites();
            QCOMPARE(w.size(), size_t(1));
            QVERIFY(w[0].bytes.endsWith(clean));
            QCOMPARE(w[0].pauseAt > 0, i % 2 == 0);
            if (w[0].pauseAt > 0) {
                QCOMPARE(w[0].pause, tq3sim::SimTime(80ms));
                QVERIFY(w[0].pauseAt > 3 && w[0].pauseAt < w[0].bytes.size());
                positions.insert(w[0].pauseAt);
            }
        }
        QCOMPARE(int(positions.size()), int(clean.size()) - 1);
    }

    void randomFaultsFollowTheSeed()
    {
        auto run = [](quint32 seed) {
            ControllerOptions options;
            options.faults.randomRate = 0.3;
            options.faults.randomSeed = seed;
            ControllerModel model(options);
            Writes all;
            for (int i = 0; i < 400; ++i) {
                for (const QByteArray& w : send(model, 80, "G"))
                    all.push_back(w);
                if (model.hangupRequested())
                    model.lineRestored();
            }
            return std::pair(all, model.faultsInjected());
        };
        const auto [writes, faults] = run(7);
        QCOMPARE(run(7).first, writes);
        QVERIFY(run(8).first != writes);
        int hit = 0;
        for (int n : faults) {
            QVERIFY(n > 0); // every kind drawn
            hit += n;
        }
        QVERIFY2(hit > 90 && hit < 150, qPrintable(QString::number(hit))); // about 3 in 10
    }

    void recordsGetOnlyFaultsThatCanBeSurvived()
    {
        ControllerOptions options;
        options.historyRecords = 500;
        options.faults.randomRate = 1;
        ControllerModel model(options);
        send(model, 73, "h");
        // A receiver that looks for a good frame at every "m" finds every record, once.
        std::vector<simtest::Answer> found;
        int writes = 0;
        for (QByteArray w = model.nextStreamWrite(); !w.isEmpty(); w = model.nextStreamWrite(), ++writes) {
            for (qsizetype at = w.indexOf('m'); at >= 0; at = w.indexOf('m', at + 1)) {
                const simtest::Answer a = simtest::first(w.mid(at));
                if (a.checksumOk) {
                    if (a.type != 80) // a status answer glued in front of the end
                        found.push_back(a);
                    at += a.payload.size() + 3;
                }
            }
        }
        QCOMPARE(int(found.size()), 501);
        for (int i = 0; i < 500; ++i)
            QCOMPARE(found[size_t(i)].payload, model.history()[size_t(i)].encode());
        QCOMPARE(found.back().type, 70);
        const tq3sim::FaultCounts& faults = model.faultsInjected();
        QCOMPARE(faults[size_t(FaultKind::BadChecksum)] + faults[size_t(FaultKind::Drop)] +
                     faults[size_t(FaultKind::Hangup)],
                 0);
        QVERIFY(faults[size_t(FaultKind::Glue)] > 0 && writes < 501); // glued records share a write
    }
};

QTEST_GUILESS_MAIN(TestSimFaults)
#include "tst_simfaults.moc"
