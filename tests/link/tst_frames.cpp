#include "link/AnswerAssembler.h"
#include "link/AnswerShapes.h"
#include "link/CommandCodes.h"
#include "link/Frame.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace tq3;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// A returned answer back in its wire form, so whole frames compare at once.
QByteArray Wire(const Answer& answer)
{
    return BuildAnswerFrame(answer.type, answer.payload);
}

QList<QByteArray> Drain(AnswerAssembler& assembler)
{
    QList<QByteArray> out;
    while (const auto answer = assembler.Next())
        out.append(Wire(*answer));
    return out;
}

QByteArray RandomBytes(QRandomGenerator& rng, int size)
{
    QByteArray out(size, '\0');
    for (char& c : out)
        c = static_cast<char>(rng.bounded(256));
    return out;
}

// A random frame whose payload holds no whole frame by chance (one that did
// would give way to it).
QByteArray RandomFrame(QRandomGenerator& rng, int maxPayload)
{
    for (;;) {
        const QByteArray frame = BuildAnswerFrame(static_cast<quint8>(rng.bounded(256)),
                                                  RandomBytes(rng, rng.bounded(maxPayload + 1)));
        AnswerAssembler inner;
        inner.Append(frame.mid(1, frame.size() - 2));
        if (!inner.Next())
            return frame;
    }
}

// Longest incomplete candidate: "m", type, length 100 and the payload, no checksum.
constexpr qsizetype MaxPending = 3 + MaxAnswerPayload;

} // namespace

class TstFrames : public QObject
{
    Q_OBJECT

private slots:
    void buildFrame_data();
    void buildFrame();
    void buildFrameLongestPayload();

    void noiseBeforeFrame();
    void frameSplitOverThreeAppends();
    void twoFramesInOneAppend();
    void lengthAbove100RejectedAtOnce();
    void badChecksumThenGoodFrame();
    void emptyPayload();
    void falseStartInNoise();
    void loneByteLeavesNothing();
    void longStreamInRandomChunks();
    void falseStartsGiveWay_data();
    void falseStartsGiveWay();
    void sameFramesWhateverTheSplit_data();
    void sameFramesWhateverTheSplit();
    void randomStreams_data();
    void randomStreams();
};

void TstFrames::buildFrame_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("status request") << 80 << QByteArray("G") << Bytes({0x4D, 0x50, 0x01, 0x47, 0xE5});
    QTest::newRow("logout") << 2 << QByteArray("W") << Bytes({0x4D, 0x02, 0x01, 0x57, 0xA7});
    QTest::newRow("empty payload") << 7 << QByteArray() << Bytes({0x4D, 0x07, 0x00, 0x54});
    QTest::newRow("zero bytes in payload")
        << 5 << Bytes({0, 1}) << Bytes({0x4D, 0x05, 0x02, 0x00, 0x01, 0x55});
    // 0x4D + 0xFF + 2 + 0xFF + 0xFF = 0x34C
    QTest::newRow("checksum wraps") << 255 << Bytes({0xFF, 0xFF})
                                    << Bytes({0x4D, 0xFF, 0x02, 0xFF, 0xFF, 0x4C});
}

void TstFrames::buildFrame()
{
    QFETCH(int, code);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, frame);
    QCOMPARE(BuildFrame(static_cast<quint8>(code), payload), frame);

    QByteArray answer = frame;
    answer[0] = AnswerStart;
    answer.back() = static_cast<char>(answer.back() + (AnswerStart - CommandStart));
    QCOMPARE(BuildAnswerFrame(static_cast<quint8>(code), payload), answer);
}

void TstFrames::buildFrameLongestPayload()
{
    // A firmware block: block number and 128 bytes.
    const QByteArray payload(129, '\x02');
    const QByteArray frame = BuildFrame(101, payload);
    QCOMPARE(frame.size(), 133);
    QCOMPARE(static_cast<quint8>(frame.at(2)), 129);
    QCOMPARE(frame.mid(3, 129), payload);
    // (0x4D + 101 + 129 + 129 * 2) % 256
    QCOMPARE(static_cast<quint8>(frame.back()), 0x35);
}

void TstFrames::noiseBeforeFrame()
{
    const QByteArray frame = BuildAnswerFrame(80, QByteArray(12, '\x01'));
    AnswerAssembler assembler;
    assembler.Append("xx" + frame);
    QCOMPARE(Drain(assembler), QList<QByteArray>{frame});
    QVERIFY(assembler.RxBuffer().isEmpty());
    QVERIFY(!assembler.FrameFound());
}

void TstFrames::frameSplitOverThreeAppends()
{
    const QByteArray frame = BuildAnswerFrame(80, "0123456789AB");
    AnswerAssembler assembler;

    assembler.Append(frame.left(1));
    QVERIFY(!assembler.Next());
    QVERIFY(assembler.FrameFound());

    assembler.Append(frame.mid(1, 2));
    QVERIFY(!assembler.Next());
    QCOMPARE(assembler.RxBuffer(), frame.left(3));

    assembler.Append(frame.mid(3));
    const auto answer = assembler.Next();
    QVERIFY(answer);
    QCOMPARE(answer->type, 80);
    QCOMPARE(answer->payload, QByteArray("0123456789AB"));
    QVERIFY(!assembler.Next());
    QVERIFY(assembler.RxBuffer().isEmpty());
}

void TstFrames::twoFramesInOneAppend()
{
    const QByteArray first = BuildAnswerFrame(4, "1234");
    const QByteArray second = BuildAnswerFrame(80, QByteArray(12, 'm'));
    AnswerAssembler assembler;
    assembler.Append(first + second);

    // Taken out one at a time: the second stays until asked for.
    const auto answer = assembler.Next();
    QVERIFY(answer);
    QCOMPARE(Wire(*answer), first);
    QCOMPARE(assembler.RxBuffer(), second);
    QCOMPARE(Drain(assembler), QList<QByteArray>{second});
}

void TstFrames::lengthAbove100RejectedAtOnce()
{
    AnswerAssembler assembler;
    assembler.Append(Bytes({'m', 80, 101}));
    QVERIFY(!assembler.Next());
    QVERIFY(assembler.RxBuffer().isEmpty());
    QVERIFY(!assembler.FrameFound());

    const QByteArray frame = BuildAnswerFrame(6, "abc");
    assembler.Append(Bytes({'m', 80, 101}) + frame);
    QCOMPARE(Drain(assembler), QList<QByteArray>{frame});

    // The largest valid length is kept waiting.
    assembler.Append(Bytes({'m', 80, 100}));
    QVERIFY(!assembler.Next());
    QCOMPARE(assembler.RxBuffer().size(), 3);
}

void TstFrames::badChecksumThenGoodFrame()
{
    const QByteArray good = BuildAnswerFrame(80, QByteArray(12, '\x07'));
    QByteArray bad = good;
    bad.back() = static_cast<char>(bad.back() + 1);

    AnswerAssembler assembler;
    assembler.Append(bad + good);
    QCOMPARE(Drain(assembler), QList<QByteArray>{good});
    QVERIFY(assembler.RxBuffer().isEmpty());
}

void TstFrames::emptyPayload()
{
    const QByteArray frame = Bytes({'m', 2, 0, 0x6F});
    QCOMPARE(BuildAnswerFrame(2, {}), frame);

    AnswerAssembler assembler;
    assembler.Append(frame);
    const auto answer = assembler.Next();
    QVERIFY(answer);
    QCOMPARE(answer->type, 2);
    QVERIFY(answer->payload.isEmpty());
}

void TstFrames::falseStartInNoise()
{
    const QByteArray frame = BuildAnswerFrame(80, QByteArray(12, '\x10'));
    // The stray "m" claims five payload bytes; with the frame behind it its
    // checksum byte lands inside the true frame and does not match.
    const QByteArray noise = Bytes({'a', 'b', 'm', 1, 5, 'c', 'd'});
    const QByteArray stream = noise + frame;
    QVERIFY(FrameChecksum(stream.constData() + 2, 8) != static_cast<quint8>(stream.at(10)));

    AnswerAssembler assembler;
    assembler.Append(noise);
    QVERIFY(!assembler.Next());
    QCOMPARE(assembler.RxBuffer(), noise.mid(2)); // waits on the stray start

    assembler.Append(frame);
    QCOMPARE(Drain(assembler), QList<QByteArray>{frame});
    QVERIFY(assembler.RxBuffer().isEmpty());
}

void TstFrames::loneByteLeavesNothing()
{
    AnswerAssembler assembler;
    assembler.Append("!");
    QVERIFY(!assembler.Next());
    QVERIFY(assembler.RxBuffer().isEmpty());
}

void TstFrames::longStreamInRandomChunks()
{
    QRandomGenerator rng(20240611);
    QList<QByteArray> sent;
    QByteArray stream;
    for (int i = 0; i < 5000; ++i) {
        sent.append(RandomFrame(rng, MaxAnswerPayload));
        stream += sent.back();
    }

    AnswerAssembler assembler;
    QList<QByteArray> received;
    for (qsizetype at = 0; at < stream.size();) {
        const qsizetype chunk = 1 + rng.bounded(rng.bounded(4) == 0 ? 600 : 40);
        assembler.Append(stream.mid(at, chunk));
        at += chunk;
        received += Drain(assembler);
        QVERIFY2(assembler.RxBuffer().size() <= MaxPending, qPrintable(QString::number(at)));
    }
    QCOMPARE(received.size(), sent.size());
    QCOMPARE(received, sent);
    QVERIFY(assembler.RxBuffer().isEmpty());
}

Q_DECLARE_METATYPE(QList<QByteArray>)

void TstFrames::falseStartsGiveWay_data()
{
    QTest::addColumn<QByteArray>("heard");           // what the line brought first
    QTest::addColumn<QList<QByteArray>>("released"); // the frames found in it at once

    const QByteArray alarm = BuildAnswerFrame(12, "Alarm Zasilanie");
    QByteArray spoiled = alarm;
    spoiled.back() = static_cast<char>(spoiled.back() ^ 0x01);
    const QByteArray status = BuildAnswerFrame(80, QByteArray(12, '\x05'));
    const QByteArray end = BuildAnswerFrame(70, {});

    // The search resumes inside the payload, on the "m" of "Alarm", which
    // claims 90 bytes ("Z"): the answers after it stand whole inside that span.
    QTest::newRow("spoiled text answer") << spoiled << QList<QByteArray>{};
    QTest::newRow("text answer cut short") << alarm.left(alarm.size() - 3) << QList<QByteArray>{};
    QTest::newRow("two spoiled answers") << spoiled + spoiled << QList<QByteArray>{};
    // A stray "m" claiming 64 bytes stands in front of whole answers.
    QTest::newRow("stray start in front of an answer")
        << Bytes({'m', 80, 64}) + status << QList<QByteArray>{status};
    QTest::newRow("stray start in front of two answers")
        << Bytes({'z', 'm', 1, 60}) + status + end << QList<QByteArray>{status, end};
    QTest::newRow("spoiled answer, then a whole one held by it") << spoiled + end << QList<QByteArray>{end};
}

// A candidate that is never completed costs at most the resend that brings the
// answer again, and it never swallows that answer, however long the line
// stays silent in between.
void TstFrames::falseStartsGiveWay()
{
    QFETCH(QByteArray, heard);
    QFETCH(QList<QByteArray>, released);

    AnswerAssembler assembler;
    assembler.Append(heard);
    QCOMPARE(Drain(assembler), released);

    // The resend's answer, in two pieces.
    const QByteArray resent = BuildAnswerFrame(12, "Alarm Zasilanie");
    assembler.Append(resent.left(5));
    QVERIFY(Drain(assembler).isEmpty());
    assembler.Append(resent.mid(5));
    QCOMPARE(Drain(assembler), QList<QByteArray>{resent});
    QVERIFY(assembler.RxBuffer().isEmpty());
}

void TstFrames::sameFramesWhateverTheSplit_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<int>("awaited");
    QTest::addColumn<QList<QByteArray>>("frames");

    QByteArray records;
    QList<QByteArray> recordFrames;
    for (int i = 0; i < 3; ++i) {
        // A temperature byte 0x6D, an "m", in every record.
        recordFrames << BuildAnswerFrame(71, Bytes({24, 0x49, 7, 10, 20 + i, 30, 0x6D, 0x01}));
        records += recordFrames.back();
    }
    const QByteArray status = BuildAnswerFrame(80, Bytes({3, 0, 20, 18, 0, 0, 0x2B, 1, 9, 1, 0xDC, 0}));
    const QByteArray text = BuildAnswerFrame(16, "Alarm: brak zasilania 230V m m");
    const QByteArray size = BuildAnswerFrame(73, Bytes({24, 0}));
    const QByteArray end = BuildAnswerFrame(70, {});
    QByteArray spoiled = text;
    spoiled.back() = static_cast<char>(spoiled.back() ^ 0x10);
    // A status whose temperature and supply bytes happen to spell a whole
    // login answer: the awaited status keeps it.
    const QByteArray lookalike =
        BuildAnswerFrame(80, Bytes({3, 0, 20, 18, 0, 0, 0x6D, 0x01, 0x02, 0x01, 0x8F, 0x00}));

    QTest::newRow("history stream") << size + records + end << int(CodeHistory)
                                    << (QList<QByteArray>{size} + recordFrames + QList<QByteArray>{end});
    QTest::newRow("false start in front of records")
        << Bytes({'m', 71, 8}) + records << AnswerAssembler::NoneAwaited << recordFrames;
    QTest::newRow("noise with starts, then status")
        << QByteArray("\x01m\x10\x40xm") + status << int(CodeStatus) << QList<QByteArray>{status};
    QTest::newRow("spoiled text, then its resend") << spoiled + text << int(16) << QList<QByteArray>{text};
    QTest::newRow("awaited status holding a login lookalike")
        << lookalike + status << int(CodeStatus) << QList<QByteArray>{lookalike, status};
}

// The line may pause anywhere: whole, in two pieces split at every position,
// or byte by byte, a stream gives the same frames.
void TstFrames::sameFramesWhateverTheSplit()
{
    QFETCH(QByteArray, stream);
    QFETCH(int, awaited);
    QFETCH(QList<QByteArray>, frames);

    const auto receive = [&](const QList<qsizetype>& cuts) {
        AnswerAssembler assembler;
        assembler.SetAnswerFits(ControllerAnswerFits);
        assembler.SetAwaited(awaited);
        QList<QByteArray> out;
        qsizetype from = 0;
        for (qsizetype cut : cuts + QList<qsizetype>{stream.size()}) {
            assembler.Append(stream.mid(from, cut - from));
            from = cut;
            out += Drain(assembler);
        }
        return out;
    };

    QCOMPARE(receive({}), frames);
    QList<qsizetype> everyByte;
    for (qsizetype at = 1; at < stream.size(); ++at) {
        everyByte << at;
        QVERIFY2(receive({at}) == frames, qPrintable(QStringLiteral("split at %1").arg(at)));
    }
    QCOMPARE(receive(everyByte), frames);
}

void TstFrames::randomStreams_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("strayStarts"); // noise may hold "m"
    QTest::addColumn<bool>("nested");      // some frames carry a whole frame in their payload

    QTest::newRow("clean noise") << 11u << false << false;
    QTest::newRow("stray starts") << 12u << true << false;
    QTest::newRow("nested frames") << 13u << false << true;
    QTest::newRow("stray starts, nested") << 14u << true << true;
}

// Random noise with frames spliced in, appended in random chunks. The frames
// are found wherever they stand, except that a frame (true or one that stray
// noise happens to form) taken out of the stream hides whatever it covers, and
// a frame gives way to a whole frame within it.
void TstFrames::randomStreams()
{
    QFETCH(quint32, seed);
    QFETCH(bool, strayStarts);
    QFETCH(bool, nested);

    QRandomGenerator rng(seed);
    const auto noise = [&](int size, bool mayStart) {
        QByteArray out;
        for (int i = 0; i < size; ++i) {
            if (!mayStart) {
                const int b = rng.bounded(255);
                out.append(static_cast<char>(b >= AnswerStart ? b + 1 : b));
                continue;
            }
            // Many starts with short lengths, so stray candidates complete
            // and now and then pass their checksum.
            const int kind = rng.bounded(4);
            out.append(kind == 0 ? AnswerStart : static_cast<char>(rng.bounded(kind == 1 ? 16 : 256)));
        }
        return out;
    };

    int hidden = 0;
    for (int iteration = 0; iteration < 1000; ++iteration) {
        QByteArray stream;
        QList<qsizetype> starts;
        QList<QByteArray> frames;
        const int count = rng.bounded(7);
        for (int i = 0; i < count; ++i) {
            stream += noise(rng.bounded(40), strayStarts);
            if (nested && rng.bounded(3) == 0) {
                const QByteArray inner = RandomFrame(rng, 60);
                const QByteArray before = noise(rng.bounded(10), strayStarts);
                const QByteArray outer =
                    BuildAnswerFrame(static_cast<quint8>(rng.bounded(256)),
                                     before + inner + noise(rng.bounded(10), strayStarts));
                starts << stream.size() << stream.size() + 3 + before.size();
                frames << outer << inner;
                stream += outer;
            } else {
                starts << stream.size();
                frames << RandomFrame(rng, MaxAnswerPayload);
                stream += frames.back();
            }
        }
        // Enough clean bytes behind the last frame to settle every candidate.
        stream += noise(MaxPending + 1, false);

        AnswerAssembler assembler;
        QList<QByteArray> received;
        for (qsizetype at = 0; at < stream.size();) {
            const qsizetype chunk = 1 + rng.bounded(rng.bounded(8) == 0 ? 400 : 24);
            assembler.Append(stream.mid(at, chunk));
            at += chunk;
            received += Drain(assembler);
            QVERIFY(assembler.RxBuffer().size() <= MaxPending);
        }
        QVERIFY(assembler.RxBuffer().isEmpty());

        // The same stream in one piece gives the same frames.
        AnswerAssembler whole;
        whole.Append(stream);
        QCOMPARE(Drain(whole), received);

        // Each returned frame stands in the stream behind the one before. Its
        // first copy there is where it was taken: an earlier copy would have
        // been a valid frame and taken first.
        QList<std::pair<qsizetype, qsizetype>> taken;
        qsizetype from = 0;
        for (const QByteArray& frame : received) {
            const qsizetype at = stream.indexOf(frame, from);
            QVERIFY2(at >= 0, "returned a frame that was not sent in this order");
            QVERIFY2(strayStarts || starts.contains(at), "clean noise formed a frame");
            taken.append({at, at + frame.size()});
            from = at + frame.size();
        }

        for (qsizetype i = 0; i < frames.size(); ++i) {
            const qsizetype a = starts.at(i);
            const bool returned = std::any_of(taken.cbegin(), taken.cend(), [&](const auto& t) {
                return t.first == a && t.second == a + frames.at(i).size();
            });
            const bool covered = std::any_of(taken.cbegin(), taken.cend(),
                                             [&](const auto& t) { return t.first < a && a < t.second; });
            const qsizetype end = a + frames.at(i).size();
            const bool gaveWay = std::any_of(taken.cbegin(), taken.cend(),
                                             [&](const auto& t) { return a < t.first && t.second < end; });
            QVERIFY2(returned || covered || gaveWay,
                     qPrintable(QStringLiteral("iteration %1: frame at %2 lost").arg(iteration).arg(a)));
            hidden += covered || gaveWay ? 1 : 0;
        }
    }
    // The seeds are such that hiding and giving way do occur.
    if (strayStarts || nested)
        QVERIFY(hidden > 0);
}

QTEST_GUILESS_MAIN(TstFrames)
#include "tst_frames.moc"
