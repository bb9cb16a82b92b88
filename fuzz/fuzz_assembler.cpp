// libFuzzer harness for the answer assembler (clang, -fsanitize=fuzzer).
// The input's first four bytes seed the chunk sizes and choose the rules (the
// controller's answer shapes or none, the awaited type), the rest is the
// stream. Checked on every input: the same frames come out whatever the split
// of the stream (whole, in random chunks, byte by byte); each frame found
// stands in the stream behind the one before; the buffer keeps at most one
// incomplete candidate once drained; and a valid frame that follows is lost
// only to a frame taken over its first byte or found whole within it, or held
// by an incomplete candidate of the awaited type until more bytes come.
#include "link/AnswerAssembler.h"
#include "link/AnswerShapes.h"
#include "link/Frame.h"

#include <QList>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void Require(bool ok)
{
    if (!ok)
        std::abort();
}

struct Rules
{
    bool controllerShapes = false;
    int awaited = tq3::AnswerAssembler::NoneAwaited;
};

// The stream cut where next() says; the frames, and the buffer left at the end.
template <typename NextCut>
QList<QByteArray> Receive(const QByteArray& stream, const Rules& rules, NextCut next,
                          QByteArray* left = nullptr)
{
    tq3::AnswerAssembler assembler;
    if (rules.controllerShapes)
        assembler.SetAnswerFits(tq3::ControllerAnswerFits);
    assembler.SetAwaited(rules.awaited);
    QList<QByteArray> found;
    for (qsizetype at = 0; at < stream.size();) {
        const qsizetype chunk = next();
        assembler.Append(stream.mid(at, chunk));
        at += chunk;
        while (const auto answer = assembler.Next()) {
            Require(answer->payload.size() <= tq3::MaxAnswerPayload);
            found.append(tq3::BuildAnswerFrame(answer->type, answer->payload));
        }
        Require(assembler.RxBuffer().size() <= 3 + tq3::MaxAnswerPayload);
        Require(assembler.RxBuffer().isEmpty() || assembler.RxBuffer().front() == tq3::AnswerStart);
    }
    if (left)
        *left = assembler.RxBuffer();
    return found;
}

// Where each frame stands in the stream, each behind the one before.
QList<qsizetype> Positions(const QByteArray& stream, const QList<QByteArray>& frames)
{
    QList<qsizetype> at;
    qsizetype from = 0;
    for (const QByteArray& frame : frames) {
        const qsizetype here = stream.indexOf(frame, from);
        Require(here >= 0);
        at.append(here);
        from = here + frame.size();
    }
    return at;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    uint32_t state = 0;
    std::memcpy(&state, data, 4);
    Rules rules;
    rules.controllerShapes = state & 1;
    if (state & 2)
        rules.awaited = static_cast<quint8>(state >> 8);
    state |= 1;
    const QByteArray input(reinterpret_cast<const char*>(data + 4), static_cast<qsizetype>(size - 4));

    // A valid frame behind whatever the input holds.
    const QByteArray after = tq3::BuildAnswerFrame(static_cast<quint8>(state >> 16), input.left(state % 101));
    const QByteArray stream = input + after;

    uint32_t random = state;
    const auto chunks = [&random] {
        random ^= random << 13;
        random ^= random >> 17;
        random ^= random << 5;
        return 1 + static_cast<qsizetype>(random % 128);
    };
    QByteArray chunkedLeft;
    const QList<QByteArray> found = Receive(stream, rules, chunks, &chunkedLeft);
    QByteArray wholeLeft;
    Require(Receive(
                stream, rules, [&] { return stream.size(); }, &wholeLeft) == found);
    Require(Receive(stream, rules, [] { return qsizetype(1); }) == found);
    Require(wholeLeft == chunkedLeft);

    const QList<qsizetype> at = Positions(stream, found);
    const qsizetype afterAt = input.size();
    bool accounted = false;
    for (qsizetype i = 0; i < found.size(); ++i) {
        const qsizetype begin = at[i], end = at[i] + found[i].size();
        accounted = accounted || (begin == afterAt && end == stream.size()) ||
                    (begin <= afterAt && afterAt < end) || (afterAt < begin && end < stream.size());
    }
    const bool held = chunkedLeft.size() >= 2 && static_cast<quint8>(chunkedLeft.at(1)) == rules.awaited &&
                      static_cast<quint8>(after.at(1)) != rules.awaited;
    // With the controller's shapes the frame behind may be one it never sends.
    const bool foreign =
        rules.controllerShapes &&
        !tq3::ControllerAnswerFits(static_cast<quint8>(after.at(1)), static_cast<quint8>(after.at(2)));
    Require(accounted || held || foreign);
    return 0;
}
