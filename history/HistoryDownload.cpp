#include "history/HistoryDownload.h"

#include "history/HistoryFormat.h"
#include "link/DeviceLink.h"

#include <thread>

namespace tq3 {

namespace {

constexpr quint16 HistoryTicks = 110;
constexpr int PauseSteps = 11;

} // namespace

bool HistoryDownload::Start()
{
    // Answers still on their way (a status poll's) come in before the request.
    for (int i = 0; i < PauseSteps; ++i) {
        std::this_thread::sleep_for(pauseStep_);
        LetMessagesRun();
    }
    // Counted afresh for this request: what came during the pause was not its.
    finished_ = false;
    ended_ = false;
    streamSeen_ = false;
    records_ = 0;
    announcedBytes_ = 0;
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
        if (const auto bytes = HistoryBytes(payload)) {
            announcedBytes_ = *bytes;
            listener_.SizeKnown(*HistoryTotal(payload));
        }
        break;
    case CodeHistoryRecord:
        if (payload.size() < HistoryRecordSize)
            return; // not a record: nothing in it can be read
        ++records_;
        streamSeen_ = true;
        listener_.RecordReceived(payload);
        if (stopRequested_)
            link_.SendCommand(CodeHistoryStop, QByteArrayLiteral("x"));
        break;
    case CodeHistoryEnd:
        finished_ = true;
        ended_ = true;
        streamSeen_ = true;
        listener_.Ended();
        break;
    case CodeHistoryStop:
        finished_ = true;
        ended_ = false;
        streamSeen_ = true;
        listener_.Stopped();
        break;
    default:
        break;
    }
}

std::optional<HistoryShortfall> HistoryDownload::Shortfall() const
{
    if (!ended_ || announcedBytes_ == 0 || qint64(records_) * HistoryRecordSize >= announcedBytes_)
        return std::nullopt;
    return HistoryShortfall{records_, (announcedBytes_ + HistoryRecordSize - 1) / HistoryRecordSize};
}

} // namespace tq3
