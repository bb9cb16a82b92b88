#include "link/AnswerShapes.h"

#include "config/ConfigItems.h"
#include "history/HistoryFormat.h"
#include "link/CommandCodes.h"
#include "link/Frame.h"

namespace tq3 {

namespace {

constexpr int LoginAnswerSize = 2; // verdict, version character
constexpr int HistorySizeAnswer = 2;
constexpr int StatusAnswerSize = 12;

} // namespace

bool IsAnswerType(quint8 type)
{
    // Login, logout and password change; the settings' reads and writes; the
    // history's size, records, end, stop and erase; the status.
    return (type >= CodeLogin && type <= CodeLastSetting) || type == CodeHistoryEnd ||
           type == CodeHistoryRecord || type == CodeHistory || type == CodeHistoryStop || type == CodeErase ||
           type == CodeStatus;
}

bool ControllerAnswerFits(quint8 type, int length)
{
    if (!IsAnswerType(type) || length < 0 || length > MaxAnswerPayload)
        return false;
    switch (type) {
    case CodeLogin:
        return length <= LoginAnswerSize;
    case CodeHistoryRecord:
        return length == HistoryRecordSize;
    case CodeHistory:
        return length == HistorySizeAnswer;
    case CodeStatus:
        return length == StatusAnswerSize;
    default:
        break;
    }
    if (const ConfigItem* item = FindItem(type)) {
        const std::optional<int> size = ValueSize(item->encoding);
        return !size || length <= *size;
    }
    return true; // an answer whose payload nobody reads
}

} // namespace tq3
