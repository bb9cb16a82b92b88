#include "firmware/FirmwareBlocks.h"

#include <algorithm>

namespace tq3 {

int FirmwareBlockCount(qsizetype imageSize)
{
    return int((imageSize + FirmwareBlockSize - 1) / FirmwareBlockSize);
}

QByteArray FirmwareBlockPayload(const QByteArray& image, int k)
{
    QByteArray payload(1 + FirmwareBlockSize, char(0xFF));
    payload[0] = char(k & 0xFF);
    const qsizetype from = qsizetype(k) * FirmwareBlockSize;
    const qsizetype n = std::clamp<qsizetype>(image.size() - from, 0, FirmwareBlockSize);
    if (n > 0)
        std::copy_n(image.constData() + from, n, payload.data() + 1);
    return payload;
}

QByteArray FirmwareImage(const QByteArray& container)
{
    return container.size() < 4 ? QByteArray() : container.mid(3, container.size() - 4);
}

} // namespace tq3
