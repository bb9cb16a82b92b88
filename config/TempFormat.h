#pragma once
// Display texts of the raw temperature settings.
#include <QString>

namespace tq3 {

// Alarm threshold, raw = degrees + 128: 132 -> "+4", 127 -> "-1", 0 -> "-128".
QString ThresholdText(quint8 raw);

// Correction, sign bit 7 and quarter degrees in bits 0-6:
// 6 -> "+1,50", 129 -> "-0,25", 128 -> "+0,0".
QString CorrectionText(quint8 raw);

} // namespace tq3
