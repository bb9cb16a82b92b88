#include "config/TempFormat.h"

namespace tq3 {

QString ThresholdText(quint8 raw)
{
    // Raw 128 is 0 degrees, which shows with a plus.
    if (raw >= 128)
        return QLatin1Char('+') + QString::number(raw - 128);
    return QLatin1Char('-') + QString::number(128 - raw);
}

QString CorrectionText(quint8 raw)
{
    // 128 is a negative zero and shows as +0,0. The fraction is not
    // zero-padded, so quarters read 0, 25, 50, 75 ("+1,0", "+1,50").
    const QChar sign = raw > 128 ? QLatin1Char('-') : QLatin1Char('+');
    const int hundredths = (raw & 0x7F) * 25;
    return sign + QString::number(hundredths / 100) + QLatin1Char(',') + QString::number(hundredths % 100);
}

} // namespace tq3
