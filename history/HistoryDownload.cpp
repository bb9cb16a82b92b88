#include "history/HistoryDownload.h"

#include "history/HistoryFormat.h"
#include "link/DeviceLink.h"

#include <thread>

namespace tq3 {

namespace {

constexpr quint8 CodeEnd = 70;
constexpr quint8 CodeRecord = 71;
constexpr quint8 CodeHistory = 73;
constexpr quint8 CodeStop = 75;
constexpr quint16 HistoryTicks = 110;
constexpr int PauseSteps = 11;

} // namespace

bool HistoryDownload::Start()
{
    finished_ = false;
    records_ = 0;
    // Answers still on their way (a status poll's) come in before the request.
    for (int i = 0; i < PauseSteps; ++i) {
        std::this_thread::sleep_for(pauseStep_);
        LetMessagesRun();
    }
    streamSeen_ = false;
    link_.SendCommand(CodeHistory, QByteArrayLiteral("h"));
    // With the size answer lost on the line the records still come: they
    // answer the request as well, and a resend would only start it all again.
    if (!link_.WaitAnswer(HistoryTicks, CodeHistory, [this] { return streamSeen_; }))
        return false;
    LetMessagesRun();
    return true;
}

void HistoryDownload::Answer(quint8 type, const QByteArray& payload)
{
    switch (type) {
    case CodeHistory:
        if (const auto total = HistoryTotal(payload))
            listener_.SizeKnown(*total);
        break;
    case CodeRecord:
        if (payload.size() < HistoryRecordSize)
            return; // not a record: nothing in it can be read
        ++records_;
        streamSeen_ = true;
        listener_.RecordReceived(payload);
        if (stopRequested_)
            link_.SendCommand(CodeStop, QByteArrayLiteral("x"));
        break;
    case CodeEnd:
        finished_ = true;
        streamSeen_ = true;
        listener_.Ended();
        break;
    case CodeStop:
        finished_ = true;
        streamSeen_ = true;
        listener_.Stopped();
        break;
    default:
        break;
    }
}

} // namespace tq3
