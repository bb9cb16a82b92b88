#pragma once
// Frames on the controller's serial line.
//   command (PC -> TQ-3): "M", code, N, N payload bytes, checksum
//   answer  (TQ-3 -> PC): "m", type, N (0..100), N payload bytes, checksum
// The checksum is the 8-bit sum of every byte before it.
#include <QByteArray>

namespace tq3 {

inline constexpr char CommandStart = 'M';
inline constexpr char AnswerStart = 'm';
inline constexpr int MaxAnswerPayload = 100;
// The length byte cannot count further than this; callers refuse longer
// payloads before anything is sent.
inline constexpr int MaxCommandPayload = 255;

// 8-bit additive sum of the bytes.
quint8 FrameChecksum(const char* data, qsizetype size);

// The command frame for the code and payload. The caller keeps the payload
// within MaxCommandPayload.
QByteArray BuildFrame(quint8 code, const QByteArray& payload);

// An answer frame as the controller sends it (used by tests and benches).
QByteArray BuildAnswerFrame(quint8 type, const QByteArray& payload);

} // namespace tq3
