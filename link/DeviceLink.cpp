#include "link/DeviceLink.h"

#include "link/Frame.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QMetaObject>
#include <thread>

namespace tq3 {

namespace {

// Every frame written and every answer taken, for a support call's trace.
Q_LOGGING_CATEGORY(lcLink, "tq3.link", QtInfoMsg)

} // namespace

void LetMessagesRun()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void WaitForMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

DeviceLink::DeviceLink(LinkHost& host, UserPrompts& prompts, QObject* parent)
    : QObject(parent), host_(host), prompts_(prompts)
{
    assembler_.SetAnswerFits(ControllerAnswerFits);
}

void DeviceLink::ReceiveChars(const QByteArray& read)
{
    LastSingleByte_ = read.size() == 1 ? read.at(0) : '.';
    qCDebug(lcLink).noquote() << "received" << read.toHex(' ');
    assembler_.Append(read);
    TakeAnswers();
}

void DeviceLink::TakeAnswers()
{
    // A receive event during a dispatch only adds its characters: the pass
    // below takes them in order once the dispatch in hand is done.
    if (assembling_)
        return;
    assembling_ = true;
    struct Reset
    {
        DeviceLink& link;
        ~Reset()
        {
            link.assembling_ = false;
            link.SchedulePending();
        }
    } reset{*this};
    while (auto answer = assembler_.Next())
        Deliver(*answer);
}

void DeviceLink::SetAwaited(int type)
{
    awaited_ = type;
    assembler_.SetAwaited(type);
    if (assembler_.RxBuffer().isEmpty() || reassemblyQueued_)
        return;
    // Not from inside the wait's own bookkeeping: the dispatch may start
    // other exchanges.
    reassemblyQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            reassemblyQueued_ = false;
            TakeAnswers();
        },
        Qt::QueuedConnection);
}

void DeviceLink::Deliver(const Answer& answer)
{
    qCDebug(lcLink).noquote() << "answer" << answer.type << answer.payload.toHex(' ');
    // Once a wait has its answer, later frames are still shown but cannot
    // take its place before the waiting side has read it.
    if (!answerLatched_) {
        AnswerType_ = answer.type;
        AnswerData_ = answer.payload;
        if (waitDepth_ > 0 && answer.type == awaited_)
            answerLatched_ = true;
    }
    host_.DispatchAnswer(answer.type, answer.payload);
}

void DeviceLink::Write(const QByteArray& frame)
{
    ++framesWritten_;
    // A trace goes to other people: the passwords stay out of it.
    const bool secret =
        frame.size() > 1 && (frame.at(1) == char(CodeLogin) || frame.at(1) == char(CodePassword));
    qCDebug(lcLink).noquote() << "sent"
                              << (secret ? frame.left(3).toHex(' ') + " (password)" : frame.toHex(' '));
    if (!writer_)
        return;
    // A frame the port did not take shows as a missing answer, with resends.
    try {
        writer_(frame);
    } catch (...) {
    }
}

void DeviceLink::SendCommand(quint8 code, const QByteArray& payload)
{
    Busy_ = true;
    LastFrame_ = BuildFrame(code, payload);
    // A command sent while a wait runs (a history stop request, from inside a
    // dispatch) waits for nothing and must not wipe out the answer that wait
    // is looking for.
    if (waitDepth_ == 0) {
        AnswerType_ = 0;
        AnswerData_.clear();
        answerLatched_ = false;
    }
    Write(LastFrame_);
    Busy_ = waitDepth_ > 0;
    PollTicks_ = 0;
}

bool DeviceLink::WaitAnswer(quint16 ticks, quint8 code)
{
    return WaitAnswer(ticks, code, {});
}

bool DeviceLink::WaitAnswer(quint16 ticks, quint8 code, const std::function<bool()>& taken)
{
    Busy_ = true;
    int resendsLeft = 3;
    const QByteArray sent = LastFrame_;
    const int outerAwaited = awaited_;
    SetAwaited(code);
    ++waitDepth_;
    // An answer that came in before the wait began counts too.
    answerLatched_ = AnswerType_ == code;

    // However the wait ends, the link is free again afterwards.
    struct End
    {
        DeviceLink& link;
        int outerAwaited;
        ~End()
        {
            --link.waitDepth_;
            link.SetAwaited(outerAwaited);
            link.answerLatched_ = false;
            link.Busy_ = link.waitDepth_ > 0;
            link.PollTicks_ = 0;
            link.SchedulePending();
        }
    } end{*this, outerAwaited};

    return Await(
        ticks, [&] { return AnswerType_ == code || (taken && taken()); },
        [&] {
            if (resendsLeft > 0) {
                --resendsLeft;
                qCDebug(lcLink) << "no answer of type" << code << "in time: sent again";
                Write(sent);
                LetMessagesRun();
                return true;
            }
            qCDebug(lcLink) << "no answer of type" << code << "after the resends";
            if (code != CodeStatus) {
                prompts_.Beep();
                // A context of its own rather than tr()'s "tq3::DeviceLink", which lupdate
                // gets right only when it finds the class's header.
                prompts_.Message(MessageKind::Error,
                                 QCoreApplication::translate("DeviceLink", "Brak odpowiedzi z TQ-3"));
            }
            LetMessagesRun();
            host_.EnterLoggedOut();
            return false;
        });
}

bool DeviceLink::Await(quint16 ticks, const std::function<bool()>& arrived,
                       const std::function<bool()>& expired)
{
    Countdown = ticks;
    for (;;) {
        WaitForMessages();
        // An answer that has arrived ends the wait, also in the pass in which
        // the count runs out.
        if (arrived())
            return true;
        if (Countdown > 0)
            continue;
        Countdown = ticks;
        if (!expired())
            return false;
    }
}

bool DeviceLink::SendAndWait(quint8 code, const QByteArray& payload, quint16 ticks)
{
    SendCommand(code, payload);
    const bool answered = WaitAnswer(ticks, code);
    if (pause_.count() > 0)
        std::this_thread::sleep_for(pause_);
    return answered;
}

void DeviceLink::Tick()
{
    if (Countdown > 0)
        --Countdown;
    ++PollTicks_;
    if (PollTicks_ >= PollEveryTicks) {
        PollTicks_ = 0;
        // The poll's wait must not run inside the timer's own handler (the
        // timer would stop ticking for it), so it starts from the event loop.
        if (LoggedIn_ && !Busy_ && ControlsUnlocked_ && !pollQueued_) {
            pollQueued_ = true;
            QMetaObject::invokeMethod(this, &DeviceLink::Poll, Qt::QueuedConnection);
        }
    }
}

void DeviceLink::Poll()
{
    pollQueued_ = false;
    if (!LoggedIn_ || !ControlsUnlocked_ || !IsIdle())
        return;
    Operation poll(*this);
    emit PollStarted();
    SendAndWait(CodeStatus, QByteArrayLiteral("G"), 10);
}

bool DeviceLink::IsIdle() const
{
    return !Busy_ && waitDepth_ == 0 && operationDepth_ == 0 && !assembling_;
}

void DeviceLink::WhenIdle(std::function<void()> action)
{
    WhenIdle(nullptr, nullptr, std::move(action));
}

void DeviceLink::WhenIdle(const void* control, std::function<bool()> stillWanted,
                          std::function<void()> action)
{
    if (IsIdle() && pending_.empty()) {
        Operation op(*this);
        action();
        return;
    }
    if (control) {
        for (const Held& held : pending_)
            if (held.control == control)
                return;
    }
    pending_.push_back({control, std::move(stillWanted), std::move(action)});
    SchedulePending();
}

void DeviceLink::SchedulePending()
{
    if (pending_.empty() || pendingScheduled_ || !IsIdle())
        return;
    pendingScheduled_ = true;
    QMetaObject::invokeMethod(this, &DeviceLink::RunPending, Qt::QueuedConnection);
}

void DeviceLink::RunPending()
{
    pendingScheduled_ = false;
    if (pending_.empty() || !IsIdle())
        return; // scheduled again when the running exchange ends
    Held held = std::move(pending_.front());
    pending_.pop_front();
    if (!held.stillWanted || held.stillWanted()) {
        Operation op(*this);
        held.action();
    }
    SchedulePending();
}

DeviceLink::Operation::Operation(DeviceLink& link) : link_(link)
{
    ++link_.operationDepth_;
}

DeviceLink::Operation::~Operation()
{
    --link_.operationDepth_;
    link_.SchedulePending();
}

} // namespace tq3
