#pragma once

#include "History.h"
#include "SimFrames.h"
#include "SimOptions.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <random>
#include <set>
#include <vector>

namespace tq3sim {

// One write to the line. With a pause, the line holds still for that long after the first
// pauseAt bytes.
struct LineWrite
{
    QByteArray bytes;
    qsizetype pauseAt = 0; // 0: no pause
    SimTime pause{};
};

// A command the controller did not act on: a bad check byte, an unknown code, a payload its code
// does not take, or a frame that stopped half-way.
struct ProtocolError
{
    ReceivedFrame frame;
    QString problem;

    // "code 80, payload 58: expected "G"", for a person to read.
    QString describe() const;
};

// The TQ-3 as seen from its serial line. No I/O, no threads and no clock of its own: the owner
// feeds received bytes, moves time forward and takes what the controller writes, each element
// of takeWrites() being one write to the line. Not thread-safe; the runner guards it.
class ControllerModel
{
public:
    enum class Mode
    {
        Application,
        Bootloader
    };

    static constexpr int ItemCount = 20;
    static constexpr int FirstReadCode = 4;
    static constexpr int LastWriteCode = 43;
    static constexpr char BlockAck = '!';

    explicit ControllerModel(ControllerOptions options = {});

    // Time never goes back; an earlier value is ignored.
    void advanceTo(SimTime now);
    SimTime now() const { return now_; }
    void receive(QByteArrayView bytes);
    // Bytes in hand at `at`: taken in before a partial frame is judged stale at that time, so that
    // an owner that wakes late does not give up a frame whose rest it holds.
    void receiveAt(SimTime at, QByteArrayView bytes);

    std::vector<LineWrite> takeLineWrites();
    // The same, the bytes alone.
    std::vector<QByteArray> takeWrites();
    bool hasWrites() const { return !writes_.empty(); }
    // History records go out one at a time, only when the line is idle, so that a stop request
    // is acted on before the next record. Empty when no stream is running.
    LineWrite nextStreamLineWrite();
    QByteArray nextStreamWrite() { return nextStreamLineWrite().bytes; }
    bool streaming() const { return streaming_; }
    bool hangupRequested() const { return hangup_; }
    // The hang-up is a random fault: the line comes back, and lineRestored() is called then.
    bool hangupIsBrief() const { return hangupBrief_; }
    // Whatever was on its way over the dead line is gone.
    void lineRestored();
    // The earliest time at which advanceTo() would change something by itself.
    std::optional<SimTime> nextDeadline() const;

    // The frames received, the newest last (only the newest few with ControllerOptions::framesKept).
    const std::vector<ReceivedFrame>& frames() const { return frames_; }
    // Frames received in all, and those acted on (good check byte, known code, fitting payload).
    quint64 frameCount() const { return frameCount_; }
    int acceptedFrames() const { return goodFrames_; }
    int protocolErrors() const { return protocolErrors_; }
    const std::optional<ProtocolError>& lastProtocolError() const { return lastProtocolError_; }
    const FaultCounts& faultsInjected() const { return injected_; }
    // Answers the line has paused inside, set and random.
    int pausesMade() const { return pausesMade_; }
    // What a read of the item would answer; empty for a code that is not a read code.
    QByteArray setting(int readCode) const;
    const QByteArray& password() const { return password_; }
    bool loggedIn() const { return loggedIn_; }
    Mode mode() const { return mode_; }
    QByteArray status() const;
    int modemStage() const;
    int signal() const;
    quint16 temperatureRaw() const;
    int temperatureState() const;
    int smsCount() const { return sms_; }
    int callCount() const { return calls_; }
    QDateTime clock() const;
    const std::vector<HistoryRecord>& history() const { return history_; }
    // How many records, from the start of history(), the last history request covers.
    size_t streamLength() const { return streamEnd_; }
    int applicationStarts() const { return applicationStarts_; }
    const QByteArray& bootImage() const { return image_; }
    // True when everything the bootloader stored past `length` bytes is 0xFF fill.
    bool bootImagePaddedAfter(qsizetype length) const;
    // Everything the controller found wrong, protocol errors included, as text.
    const std::vector<QString>& errors() const { return errors_; }

private:
    void processFrames();
    void protocolError(const ReceivedFrame& frame, QString problem);
    void keepFrame(const ReceivedFrame& frame);
    void handleApplication(const ReceivedFrame& frame);
    void handleBootloader(const ReceivedFrame& frame);
    void handleBlock(const QByteArray& payload);
    void enterBootloader();
    void startApplication();
    void updateApplication();
    void noteTemperatureChange(int from, int to);
    void addEvent(EventKind kind);

    void answer(quint8 type, QByteArrayView payload);
    LineWrite nextStreamElement();
    std::optional<LineWrite> shapeAnswer(quint8 type, QByteArrayView payload, bool streamed = false);
    // A pause somewhere inside the frame that begins at `frameAt` of the write, each position in
    // turn over the answers paused.
    void pauseInside(LineWrite& write, qsizetype frameAt, qsizetype frameSize, SimTime pause);
    std::optional<FaultKind> drawFault(bool streamed);
    static bool takeFault(std::vector<CountedFault>& faults, quint8 type);
    QByteArray noise(int bytes, bool withStart);

    ControllerOptions options_;
    SimTime now_{};
    SimTime appStartedAt_{};
    QDateTime clockBase_;
    SimTime clockSetAt_{};

    CommandParser parser_;
    std::vector<ReceivedFrame> frames_;
    quint64 frameCount_ = 0;
    int goodFrames_ = 0;
    int protocolErrors_ = 0;
    std::optional<ProtocolError> lastProtocolError_;
    std::vector<LineWrite> writes_;

    std::array<QByteArray, ItemCount> items_;
    QByteArray password_;
    bool loggedIn_ = false;
    int sms_ = 0;
    int calls_ = 0;
    int temperatureState_ = 0;
    bool logStartEvents_ = false;
    bool linkUpLogged_ = false;
    int applicationStarts_ = 1;

    std::vector<HistoryRecord> history_;
    bool streaming_ = false;
    size_t streamNext_ = 0;
    size_t streamEnd_ = 0;

    Mode mode_ = Mode::Application;
    SimTime bootEnteredAt_{};
    bool blockSeen_ = false;
    quint8 expectedBlock_ = 0;
    std::optional<quint8> lastBlock_;
    std::set<int> lostAcks_;
    QByteArray image_;

    std::vector<CountedFault> drop_;
    std::vector<CountedFault> badChecksum_;
    int noisyAnswers_ = 0;
    int answersShaped_ = 0;
    int pausesMade_ = 0;
    quint32 noiseState_ = 0x2545F491u;
    bool hangup_ = false;
    bool hangupBrief_ = false;
    std::mt19937 random_;
    FaultCounts injected_{};
    bool glueStream_ = false; // the record just shaped shares its write with the next element
    std::vector<QString> errors_;
};

} // namespace tq3sim
