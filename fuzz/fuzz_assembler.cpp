// libFuzzer harness for the answer assembler (clang, -fsanitize=fuzzer).
// The input's first four bytes seed the chunk sizes, the rest is the stream.
// Checked on every input: chunking does not change the frames found, each
// frame found stands in the stream behind the one before, and the buffer
// keeps at most one incomplete candidate once drained.
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
    return 0;
}
