// libFuzzer harness for the answer assembler (clang, -fsanitize=fuzzer).
// The input's first four bytes seed the chunk sizes, the rest is the stream.
// Checked on every input: chunking does not change the frames found, each
// frame found stands in the stream behind the one before, and the buffer
// keeps at most one incomplete candidate once drained, and a valid frame
// that follows a silence of the line is never lost, whatever came before.
#include "link/AnswerAssembler.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    uint32_t state = 0;
    std::memcpy(&state, data, 4);
    state |= 1;
    const QByteArray stream(reinterpret_cast<const char*>(data + 4), static_cast<qsizetype>(size - 4));

    tq3::AnswerAssembler chunked;
    QList<QByteArray> found;
    for (qsizetype at = 0; at < stream.size();) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const qsizetype chunk = 1 + static_cast<qsizetype>(state % 128);
        chunked.Append(stream.mid(at, chunk));
        at += chunk;
        while (const auto answer = chunked.Next()) {
            Require(answer->payload.size() <= tq3::MaxAnswerPayload);
            found.append(tq3::BuildAnswerFrame(answer->type, answer->payload));
        }
        Require(chunked.RxBuffer().size() <= 3 + tq3::MaxAnswerPayload);
        Require(chunked.RxBuffer().isEmpty() || chunked.RxBuffer().front() == tq3::AnswerStart);
    }

    tq3::AnswerAssembler whole;
    whole.Append(stream);
    qsizetype from = 0;
    for (const QByteArray& frame : found) {
        const auto answer = whole.Next();
        Require(answer.has_value());
        Require(tq3::BuildAnswerFrame(answer->type, answer->payload) == frame);
        const qsizetype at = stream.indexOf(frame, from);
        Require(at >= 0);
        from = at + frame.size();
    }
    Require(!whole.Next());
    Require(whole.RxBuffer() == chunked.RxBuffer());

    // The line falls silent: what is left are frames that can never be
    // completed; then an answer arrives in two pieces and is found whole.
    for (const tq3::Answer& answer : chunked.LineSilent())
        Require(answer.payload.size() <= tq3::MaxAnswerPayload);
    Require(chunked.RxBuffer().isEmpty());
    const QByteArray after = tq3::BuildAnswerFrame(static_cast<quint8>(state), stream.left(state % 101));
    chunked.Append(after.left(static_cast<qsizetype>(state % static_cast<uint32_t>(after.size()))));
    chunked.Append(after.mid(static_cast<qsizetype>(state % static_cast<uint32_t>(after.size()))));
    const auto answer = chunked.Next();
    Require(answer.has_value());
    Require(tq3::BuildAnswerFrame(answer->type, answer->payload) == after);
    Require(!chunked.Next() && chunked.RxBuffer().isEmpty());
    return 0;
}
