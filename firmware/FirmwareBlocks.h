#pragma once
// The firmware image cut into the bootloader's numbered 128-byte blocks.
#include <QByteArray>

namespace tq3 {

inline constexpr int FirmwareBlockSize = 128;
inline constexpr char BlockAcknowledgement = '!';

// Blocks needed for an image: its length divided by 128, rounded up.
int FirmwareBlockCount(qsizetype imageSize);

// Payload of the block command: the block number (mod 256), then image bytes
// 128·k .. 128·k+127, the last block filled up with 0xFF.
QByteArray FirmwareBlockPayload(const QByteArray& image, int k);

// The firmware image of a container that passed its checks: bytes 3 .. n-2.
QByteArray FirmwareImage(const QByteArray& container);

} // namespace tq3
