#pragma once
// The command exchange with the controller: sending a frame, waiting for its
// answer with time-out and resends, assembling and routing received answers,
// and the periodic status poll.
//
// Main thread only. A wait keeps the event loop running (ticks, received
// characters, repaints, clicks) and blocks only for the next event, so it never
// spins. Only one exchange is under way at a time: commands the user starts go
// through WhenIdle, which holds them back until the running exchange or
// operation has ended; a wait only ever resends the frame it sent itself.
#include "link/AnswerAssembler.h"
#include "link/AnswerShapes.h"
#include "link/CommandCodes.h"
#include "link/UserPrompts.h"

#include <QByteArray>
#include <QObject>
#include <chrono>
#include <deque>
#include <functional>

namespace tq3 {

// Lets the pending window messages run once: processes what is queued and
// returns at once.
void LetMessagesRun();
// Processes what is queued, or sleeps until the next event (a tick, received
// characters, user input) when nothing is: the step of every wait.
void WaitForMessages();

inline constexpr int PollEveryTicks = 15;

// What the link needs of the window.
class LinkHost
{
public:
    virtual ~LinkHost() = default;
    // Every valid answer, once, in arrival order.
    virtual void DispatchAnswer(quint8 type, const QByteArray& payload) = 0;
    // A waited command went unanswered: the window shows the logged-out state.
    virtual void EnterLoggedOut() = 0;
};

class DeviceLink : public QObject
{
    Q_OBJECT
public:
    using Writer = std::function<bool(const QByteArray&)>;

    DeviceLink(LinkHost& host, UserPrompts& prompts, QObject* parent = nullptr);

    // Where frames go (the serial port's WriteString).
    void SetWriter(Writer writer) { writer_ = std::move(writer); }
    // The pause after each send-and-wait; tests set it to zero.
    void SetPauseAfterExchange(std::chrono::milliseconds pause) { pause_ = pause; }
    // Characters read from the port in one receive event.
    void ReceiveChars(const QByteArray& read);

    void SendCommand(quint8 code, const QByteArray& payload);
    bool WaitAnswer(quint16 ticks, quint8 code);
    // The same, for a command whose answer may be lost while what it asked for
    // still comes (the history's records): taken() also ends the wait, answered.
    bool WaitAnswer(quint16 ticks, quint8 code, const std::function<bool()>& taken);
    // The one wait of the program: runs the event loop until arrived() holds,
    // counting ticks down from the given number; each time they run out,
    // expired() decides whether to go on (it may resend first) or give up.
    bool Await(quint16 ticks, const std::function<bool()>& arrived, const std::function<bool()>& expired);
    bool SendAndWait(quint8 code, const QByteArray& payload, quint16 ticks);

    // One tick of the window's timer: counts the wait down and starts the
    // status poll every PollEveryTicks ticks while logged in and idle.
    void Tick();

    // Runs the action at once when nothing is being exchanged, otherwise as soon
    // as the running exchange or operation has ended. Actions run one at a time.
    void WhenIdle(std::function<void()> action);
    // The same for a click on a control: a held click runs only if the control
    // still takes clicks (stillWanted) when its turn comes, since the window may
    // have changed meanwhile (logged out, locked by an operation), and a control
    // holds at most one click, so a double click is one.
    void WhenIdle(const void* control, std::function<bool()> stillWanted, std::function<void()> action);
    bool IsIdle() const;

    // Held by a long operation for its whole length (a transfer, a modal window
    // that talks to the controller), so that nothing else starts in between.
    class Operation
    {
    public:
        explicit Operation(DeviceLink& link);
        ~Operation();
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;

    private:
        DeviceLink& link_;
    };

    // Receive state: the last valid answer, and the byte of the last receive
    // event that brought exactly one (the bootloader's acknowledgement).
    quint8 AnswerType() const { return AnswerType_; }
    const QByteArray& AnswerData() const { return AnswerData_; }
    char LastSingleByte() const { return LastSingleByte_; }
    // A marker that no receive event leaves, so that the next lone byte is seen afresh.
    void SetLastSingleByte(char marker) { LastSingleByte_ = marker; }
    const AnswerAssembler& Assembler() const { return assembler_; }

    // Exchange and connection state. The window says when it is logged in and
    // when its commands are unlocked; the link alone decides when to poll.
    const QByteArray& LastFrame() const { return LastFrame_; }
    bool Busy() const { return Busy_; }
    quint8 PollTicks() const { return PollTicks_; }
    // Starts the count to the next poll afresh (every exchange does).
    void SetPollTicks(quint8 ticks) { PollTicks_ = ticks; }
    bool LoggedIn() const { return LoggedIn_; }
    void SetLoggedIn(bool loggedIn) { LoggedIn_ = loggedIn; }
    bool ControlsUnlocked() const { return ControlsUnlocked_; }
    void SetControlsUnlocked(bool unlocked) { ControlsUnlocked_ = unlocked; }

    // Frames written so far (resends included).
    quint64 FramesWritten() const { return framesWritten_; }

signals:
    // A status poll is about to be sent (lets tests and benches count polls).
    void PollStarted();

private:
    void Write(const QByteArray& frame);
    // Takes the whole frames out of the receive buffer and dispatches them.
    void TakeAnswers();
    void Deliver(const Answer& answer);
    // The assembler judges candidates by the type being waited for: when that
    // changes, what it held back may be whole now.
    void SetAwaited(int type);
    void Poll();
    void SchedulePending();
    void RunPending();

    quint8 AnswerType_ = 0;
    QByteArray AnswerData_;
    char LastSingleByte_ = '.';
    QByteArray LastFrame_;
    quint16 Countdown = 0; // ticks left in the current wait
    bool Busy_ = false;
    quint8 PollTicks_ = 0;
    bool LoggedIn_ = false;
    bool ControlsUnlocked_ = false;

    LinkHost& host_;
    UserPrompts& prompts_;
    Writer writer_;
    std::chrono::milliseconds pause_{10};
    AnswerAssembler assembler_;
    bool assembling_ = false;
    int waitDepth_ = 0;
    int operationDepth_ = 0;
    int awaited_ = -1; // the type the innermost wait looks for
    bool answerLatched_ = false;
    bool pollQueued_ = false;
    bool pendingScheduled_ = false;
    struct Held
    {
        const void* control = nullptr;
        std::function<bool()> stillWanted;
        std::function<void()> action;
    };
    std::deque<Held> pending_;
    bool reassemblyQueued_ = false;
    quint64 framesWritten_ = 0;
};

} // namespace tq3
