#pragma once
// JPEG pictures held in memory (the program's own resources), decoded with
// libjpeg directly so that the program needs no image plugin of Qt's.
#include <QByteArray>
#include <QImage>

// Decodes a baseline or progressive JPEG, colour or greyscale, into a
// Format_RGB888 image. A damaged, truncated or unsupported file (CMYK, more
// than MaxJpegPixels) gives a null image; libjpeg's complaints go nowhere.
QImage DecodeJpeg(const QByteArray& data);

// Large enough for any picture of ours, small enough that a bogus size in a
// damaged header cannot make the decoder ask for gigabytes.
inline constexpr qint64 MaxJpegPixels = qint64(1) << 24;
