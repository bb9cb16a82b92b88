#pragma once
// The history download: the request, then the controller's stream of answers
// (the size, one answer per record, the end or, after a stop request, the
// stopped answer), taken as the link dispatches them.
#include <QByteArray>
#include <chrono>
#include <optional>

namespace tq3 {

class DeviceLink;

class HistoryListener
{
public:
    virtual ~HistoryListener() = default;
    // The log's size in bytes (8 per record), capped at HistoryGaugeCap.
    virtual void SizeKnown(int /*total*/) {}
    // A record of 8 bytes, whatever its kind.
    virtual void RecordReceived(const QByteArray& /*record*/) {}
    // The end of the log; whether a stop request went out before it.
    virtual void Ended() {}
    virtual void Stopped() {}
};

// A download that ended with fewer records than the controller announced.
struct HistoryShortfall
{
    int received = 0;  // records
    int announced = 0; // records
};

class HistoryDownload
{
public:
    HistoryDownload(DeviceLink& link, HistoryListener& listener) : link_(link), listener_(listener) {}

    // One of the eleven steps of the pause before the request (100 ms); tests shorten it.
    void SetPauseStep(std::chrono::milliseconds step) { pauseStep_ = step; }

    // The pause (answers still on their way come in), then the request; true
    // when the controller answered with the log's size. The records follow
    // as answers of their own.
    bool Start();
    // A stop request goes out with every record that arrives from now on,
    // until the controller answers that it stopped (or ended).
    void RequestStop() { stopRequested_ = true; }
    void ClearStop() { stopRequested_ = false; }
    bool StopRequested() const { return stopRequested_; }

    // Answers 70, 71, 73 and 75, whenever they arrive (also outside a download).
    void Answer(quint8 type, const QByteArray& payload);

    // An end or stopped answer has come since Start.
    bool Finished() const { return finished_; }
    // After the end answer, when fewer record bytes came than the size answer
    // announced (a size of 0 is unknown). A stop is never short.
    std::optional<HistoryShortfall> Shortfall() const;

private:
    DeviceLink& link_;
    HistoryListener& listener_;
    std::chrono::milliseconds pauseStep_{100};
    bool stopRequested_ = false;
    bool finished_ = false;
    bool ended_ = false;      // by the end answer, not by a stop
    bool streamSeen_ = false; // a record or the end has come since the request
    int records_ = 0;
    int announcedBytes_ = 0; // 0: unknown
};

} // namespace tq3
