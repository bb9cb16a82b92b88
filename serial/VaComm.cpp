#include "VaComm.h"

#include "VaLogging.h"
#include "VaUtils.h"

#include <QCoreApplication>
#include <QEvent>
#include <cerrno>
#include <cstring>

using namespace VaConst;

// ---------------------------------------------------------------------------------------
// Write queue

TVaCommBuffer::TVaCommBuffer(qint32 capacity)
    : data_(new char[static_cast<size_t>(qMax(capacity, 1))]), capacity_(qMax(capacity, 0))
{
}

void TVaCommBuffer::Append(const char* bytes, qint32 n)
{
    const qint32 count = Count();
    Q_ASSERT(n >= 0 && count + n <= capacity_);
    std::memcpy(data_.get() + count, bytes, static_cast<size_t>(n));
    count_.store(count + n, std::memory_order_release);
}

void TVaCommBuffer::Remove(qint32 n)
{
    const qint32 count = Count();
    n = qBound(0, n, count);
    std::memmove(data_.get(), data_.get() + n, static_cast<size_t>(count - n));
    count_.store(count - n, std::memory_order_release);
}

// ---------------------------------------------------------------------------------------
// Threads

namespace {

// The event that carries a worker's report to the component on the main thread.
QEvent::Type ReportEventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

} // namespace

TVaCommThread::TVaCommThread(TVaCustomComm* owner, TVaOsPort* port, const TVaOpenSettings& settings)
    : owner_(owner), port_(port), settings_(settings)
{
}

void TVaCommThread::run()
{
    Execute();
    finished_.store(true, std::memory_order_release);
}

void TVaCommThread::Join()
{
    wait();
    [[maybe_unused]] const bool finished = finished_.load(std::memory_order_acquire);
    Q_ASSERT(finished);
}

void TVaCommThread::MarkTerminated()
{
    terminated_.store(true);
}

void TVaCommEventThread::Stop()
{
    MarkTerminated();
    wakeEvent_.Signal();
}

void TVaCommEventThread::Execute()
{
    TVaCustomComm* o = owner_;
    quint32 pending = 0;  // events met and not yet handed over
    bool lost = false;    // the device has gone: hand over what is left, then end
    quint64 inFlight = 0; // the hand-off the main thread has not finished yet
    while (!Terminated()) {
        // Reset before looking, so that a hand-off finished meanwhile still wakes the wait.
        o->reportRunEvent_.Reset();
        if (inFlight != 0 && o->ReportRun(inFlight))
            inFlight = 0;
        if (inFlight == 0) {
            pending &= settings_.eventMask;
            // The loss of the device is told once, whichever thread meets it first.
            const bool report = lost && !o->lostReported_.exchange(true);
            if (pending != 0 || report) {
                inFlight = o->PostReport(settings_.session, pending, report, true);
                pending = 0;
            }
            if (lost)
                break;
        }
        TVaHandle events[3] = {wakeEvent_.Handle()};
        int count = 1;
        if (inFlight != 0)
            events[count++] = o->reportRunEvent_.Handle();
        if (lost) {
            // Only the last hand-off is awaited now; the device would report its loss for ever.
            VaOs::WaitAny(events, count, -1);
            continue;
        }
        // With the receive buffer full the device is left alone until a read makes room:
        // its own queue holds the rest, and nothing spins.
        const bool full = o->ReceiveBufferFull();
        if (full)
            events[count++] = o->rxRoomEvent_.Handle();
        const auto ready = port_->Wait(!full, false, events, count, -1);
        if (Terminated())
            break;
        switch (ready.ready) {
        case TVaOsPort::Ready::Device: {
            bool sawEventChar = false;
            qint64 n;
            qint32 size;
            {
                std::lock_guard lock(o->ReadLock);
                n = o->FillReceiveBuffer(&sawEventChar, &lost);
                size = static_cast<qint32>(o->rxBuffer_.size());
            }
            if (n > 0)
                pending |= EV_RXCHAR;
            if (sawEventChar)
                pending |= EV_RXFLAG;
            if (n > 0 && qint64(size) * 5 >= qint64(settings_.readSize) * 4)
                pending |= EV_RX80FULL;
            break;
        }
        case TVaOsPort::Ready::Gone:
        case TVaOsPort::Ready::Failed:
            lost = true;
            break;
        case TVaOsPort::Ready::Event:
        case TVaOsPort::Ready::Timeout:
            continue;
        }
        o->PickUpLineErrors(&pending);
    }
}

TVaCommWriteThread::TVaCommWriteThread(TVaCustomComm* owner, TVaOsPort* port, const TVaOpenSettings& settings,
                                       qint32 capacity)
    : TVaCommThread(owner, port, settings), queue_(capacity)
{
}

void TVaCommWriteThread::Stop()
{
    MarkTerminated();
    stopEvent_.Signal();
}

bool TVaCommWriteThread::Enqueue(const char* bytes, qint32 n)
{
    if (n <= 0)
        return true;
    if (Terminated())
        return false;
    if (queue_.Count() + n > queue_.Capacity()) {
        const TVaDeadline deadline =
            TVaDeadline::Begin(static_cast<quint32>(owner_->buffers_.WriteTimeout()));
        for (;;) {
            // Reset before looking, so that room made or an end met meanwhile still wakes.
            roomEvent_.Reset();
            if (Terminated())
                return false;
            if (queue_.Count() + n <= queue_.Capacity())
                break;
            if (deadline.Expired())
                return false;
            // In slices, so that a tick source driven by a test is followed too.
            roomEvent_.WaitFor(static_cast<qint32>(qBound<quint32>(1, deadline.Remaining(), 50)));
        }
    }
    std::lock_guard lock(owner_->WriteLock);
    queue_.Append(bytes, n);
    dataReady_.Signal();
    return true;
}

void TVaCommWriteThread::Completed(qint32 n)
{
    bool empty;
    {
        std::lock_guard lock(owner_->WriteLock);
        queue_.Remove(n);
        empty = queue_.Count() == 0;
        // Decided under the lock, so that bytes appended meanwhile keep their wake-up.
        if (empty)
            dataReady_.Reset();
        else
            dataReady_.Signal();
    }
    roomEvent_.Signal();
    if (empty && !Terminated())
        owner_->PostReport(settings_.session, EV_TXEMPTY, false, false);
}

void TVaCommWriteThread::Execute()
{
    TVaCustomComm* o = owner_;
    const TVaHandle events[2] = {stopEvent_.Handle(), dataReady_.Handle()};
    while (!Terminated()) {
        const int which = VaOs::WaitAny(events, 2, -1);
        if (which == 0 || Terminated())
            break;
        if (which < 0)
            break; // the events themselves failed: nothing sensible is left to wait on
        const char* data;
        qint32 count;
        {
            std::lock_guard lock(o->WriteLock);
            data = queue_.Data();
            count = queue_.Count();
            if (count == 0) {
                dataReady_.Reset();
                continue;
            }
        }
        // The main thread only appends behind these bytes, and only this thread removes.
        const qint64 n = port_->Write(data, count);
        if (n > 0) {
            Completed(static_cast<qint32>(n));
            continue;
        }
        if (n == 0 || port_->WouldBlock()) {
            const auto ready = port_->Wait(false, true, events, 1, -1);
            if (ready.ready == TVaOsPort::Ready::Event)
                break;
            if (ready.ready == TVaOsPort::Ready::Device || ready.ready == TVaOsPort::Ready::Timeout)
                continue;
        } else {
            const int error = port_->LastError();
            if (error != EIO && error != ENXIO && error != EBADF && error != EPIPE) {
                // A refusal that may pass: the line errors are read, the bytes stay queued.
                o->PostReport(settings_.session, EV_ERR, false, false);
                const TVaHandle stop = stopEvent_.Handle();
                VaOs::WaitAny(&stop, 1, 100);
                continue;
            }
        }
        if (!o->lostReported_.exchange(true))
            o->PostReport(settings_.session, 0, true, false);
        break;
    }
    MarkTerminated();
    // A write waiting for room gives up at once.
    roomEvent_.Signal();
}

// ---------------------------------------------------------------------------------------
// Component

TVaCustomComm::TVaCustomComm(QObject* owner) : TVaComponent(owner)
{
    flowControl_.SetOnChange([this](TVaPersistent*) { ApplyLineSettings(); });
    eventChars_.SetOnChange([this](TVaPersistent*) {
        eventChar_.store(eventChars_.EventChar());
        ApplyLineSettings();
    });
    buffers_.SetOnChange([this](TVaPersistent*) {
        CheckClosed();
        ApplyBufferSizes();
        ApplyLineSettings();
    });
    ApplyEventMask();
}

TVaCustomComm::~TVaCustomComm()
{
    destroying_ = true;
    CloseDevice(false);
}

void TVaCustomComm::Loaded()
{
    if (autoOpen_)
        Open();
}

QString TVaCustomComm::DevicePath() const
{
    return VaFormatDeviceName(deviceName_, portNum_);
}

int TVaCustomComm::DeviceHandle() const
{
    return port_ ? port_->Descriptor() : -1;
}

void TVaCustomComm::CheckClosed() const
{
    if (IsOpen())
        throw EVaCommError(QCoreApplication::translate("VaConst", sPortOpen));
}

void TVaCustomComm::RaiseCommError(const char* templ, int code) const
{
    throw EVaCommError(VaFormatMessage(templ, code, VaOs::ErrorText(code)));
}

void TVaCustomComm::Open()
{
    CheckClosed();
    OpenDevice();
    try {
        ApplyLineSettings();
        ApplyBufferSizes();
        ApplyTimeouts();
        ApplyEventMask();
        TakeOpenSettings();
        StartThreads();
    } catch (...) {
        StopThreads();
        port_.reset();
        throw;
    }
    if (OnOpen)
        VaRunGuarded([&] { OnOpen(this); });
}

void TVaCustomComm::OpenDevice()
{
    int error = 0;
    QString serverText;
    const QString path = VaOs::DevicePath(DevicePath());
    auto port = TVaOsPort::Open(path, error, &serverText);
    if (!port) {
        qCDebug(lcVaSerial) << "open" << path << "failed:" << error << VaOs::ErrorText(error) << serverText;
        QString message =
            DevicePath() + QStringLiteral(": ") + VaFormatMessage(sOpenFailed, error, VaOs::ErrorText(error));
        if (!serverText.isEmpty())
            message += QStringLiteral(": ") + serverText;
        throw EVaOpenError(message, path, error, serverText);
    }
    qCDebug(lcVaSerial) << "opened" << path;
    port_ = std::move(port);
    ++session_;
    lostReported_.store(false);
    lineErrors_.store(0);
    {
        std::lock_guard lock(ReadLock);
        rxBuffer_.clear();
    }
    countersKnown_ = port_->ReadCounters(counters_);
}

void TVaCustomComm::Close()
{
    CloseDevice(true);
}

void TVaCustomComm::CloseDevice(bool raiseOnClose)
{
    if (!IsOpen())
        return;
    qCDebug(lcVaSerial) << "closing" << DevicePath();
    StopThreads();
    port_.reset();
    {
        std::lock_guard lock(ReadLock);
        rxBuffer_.clear();
    }
    if (raiseOnClose && !destroying_ && OnClose)
        OnClose(this);
}

void TVaCustomComm::TakeOpenSettings()
{
    openSettings_.session = session_;
    openSettings_.eventMask = eventMask_;
    openSettings_.readSize = buffers_.ReadSize();
    openSettings_.receiveLimit = qMax(buffers_.ReadSize(), 1024);
    eventChar_.store(eventChars_.EventChar());
}

void TVaCustomComm::StartThreads()
{
    if (eventMask_ != 0) {
        eventThread_ = new TVaCommEventThread(this, port_.get(), openSettings_);
        eventThread_->start(VaQtThreadPriority(eventPriority_));
    }
    if (!directWrite_) {
        writeThread_ = new TVaCommWriteThread(this, port_.get(), openSettings_, buffers_.WriteSize());
        writeThread_->start(VaQtThreadPriority(writePriority_));
    }
}

void TVaCustomComm::StopThreads()
{
    TVaCommEventThread* events;
    TVaCommWriteThread* writes;
    {
        std::lock_guard lock(ReadLock);
        events = std::exchange(eventThread_, nullptr);
        writes = std::exchange(writeThread_, nullptr);
        if (events)
            events->Stop();
        if (writes)
            writes->Stop();
    }
    // No worker ever waits for the main thread, so joining here is bounded, also inside a
    // hand-off; and the device is closed only when no thread can touch it.
    if (events) {
        events->Join();
        delete events;
    }
    if (writes) {
        writes->Join();
        delete writes;
    }
}

TVaDcb TVaCustomComm::BuildDcb() const
{
    static constexpr quint32 speeds[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                         14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    TVaDcb dcb;
    dcb.BaudRate = baudrate_ == brUser ? static_cast<quint32>(userBaudrate_) : speeds[baudrate_];
    dcb.fBinary = 1;
    dcb.fParity = parityCheck_;
    dcb.fOutxCtsFlow = flowControl_.OutCtsFlow();
    dcb.fOutxDsrFlow = flowControl_.OutDsrFlow();
    dcb.fDtrControl = static_cast<quint8>(flowControl_.ControlDtr());
    dcb.fDsrSensitivity = flowControl_.DsrSensitivity();
    dcb.fTXContinueOnXoff = flowControl_.TxContinueOnXoff();
    dcb.fOutX = flowControl_.XonXoffOut();
    dcb.fInX = flowControl_.XonXoffIn();
    dcb.fErrorChar = options_.Contains(coErrorChar);
    dcb.fNull = options_.Contains(coNullStrip);
    dcb.fRtsControl = static_cast<quint8>(flowControl_.ControlRts());
    dcb.XonLim = dcb.XoffLim = static_cast<quint16>(qMin(buffers_.ReadSize() / 4, 1024));
    dcb.ByteSize = static_cast<quint8>(databits_ + 4);
    dcb.Parity = static_cast<quint8>(parity_);
    dcb.StopBits = static_cast<quint8>(stopbits_);
    dcb.XonChar = eventChars_.XonChar();
    dcb.XoffChar = eventChars_.XoffChar();
    dcb.ErrorChar = eventChars_.ErrorChar();
    dcb.EofChar = eventChars_.EofChar();
    dcb.EvtChar = eventChars_.EventChar();
    return dcb;
}

void TVaCustomComm::ApplyLineSettings()
{
    if (!IsOpen() || !updateDCB_)
        return;
    if (!port_->SetState(BuildDcb()))
        RaiseCommError(sWriteDcb, port_->LastError());
}

void TVaCustomComm::ApplyBufferSizes()
{
    if (IsOpen() && !port_->SetupQueues(buffers_.ReadSize(), buffers_.WriteSize()))
        RaiseCommError(sInitBuffers, port_->LastError());
}

void TVaCustomComm::ApplyTimeouts()
{
    if (IsOpen() && !port_->SetImmediateTimeouts())
        RaiseCommError(sSetTimeouts, port_->LastError());
}

void TVaCustomComm::ApplyEventMask()
{
    static constexpr quint32 bits[] = {EV_BREAK,    EV_CTS,    EV_DSR,     EV_ERR,    EV_RING,
                                       EV_RLSD,     EV_RXCHAR, EV_TXEMPTY, EV_RXFLAG, EV_PERR,
                                       EV_RX80FULL, EV_EVENT1, EV_EVENT2};
    quint32 mask = 0;
    for (int e = ceBreak; e <= ceEvent2; ++e) {
        if (monitorEvents_.Contains(static_cast<TVaCommEvent>(e)))
            mask |= bits[e];
    }
    // The write thread tells the end of transmission itself.
    if (!directWrite_)
        mask &= ~EV_TXEMPTY;
    eventMask_ = mask;
}

// ---------------------------------------------------------------------------------------
// Settings

void TVaCustomComm::SetBaudrate(TVaBaudrate v)
{
    if (v == baudrate_)
        return;
    baudrate_ = v;
    if (v != brUser)
        userBaudrate_ = 0;
    ApplyLineSettings();
}

void TVaCustomComm::SetUserBaudrate(qint32 v)
{
    if (v == userBaudrate_)
        return;
    userBaudrate_ = v;
    baudrate_ = brUser;
    ApplyLineSettings();
}

void TVaCustomComm::SetPortNum(TVaPortInt v)
{
    CheckClosed();
    portNum_ = qMax(0, v);
}

void TVaCustomComm::SetDeviceName(const QString& v)
{
    CheckClosed();
    deviceName_ = v;
}

void TVaCustomComm::SetMonitorEvents(TVaCommEvents v)
{
    CheckClosed();
    monitorEvents_ = v;
    ApplyEventMask();
}

void TVaCustomComm::SetBuffers(const TVaBuffers& v)
{
    CheckClosed();
    buffers_.Assign(v);
}

void TVaCustomComm::SetEventPriority(TThreadPriority v)
{
    eventPriority_ = v;
    if (eventThread_)
        eventThread_->setPriority(VaQtThreadPriority(v));
}

void TVaCustomComm::SetWritePriority(TThreadPriority v)
{
    writePriority_ = v;
    if (writeThread_)
        writeThread_->setPriority(VaQtThreadPriority(v));
}

void TVaCustomComm::SetDirectWrite(bool v)
{
    CheckClosed();
    directWrite_ = v;
    ApplyEventMask();
}

void TVaCustomComm::SetUpdateDCB(bool v)
{
    CheckClosed();
    updateDCB_ = v;
}

// ---------------------------------------------------------------------------------------
// Writing and reading

qint32 TVaCustomComm::WriteData(const char* bytes, qint32 count)
{
    if (!IsOpen() || count < 0)
        return 0;
    if (!directWrite_) {
        if (!writeThread_)
            return 0;
        if (writeThread_->Enqueue(bytes, count))
            return count;
        // The device has gone and the write thread with it: nothing more is sent, as on a
        // closed port; the loss itself is on its way to OnError.
        if (writeThread_->Terminated())
            return 0;
        throw EVaCommError(QCoreApplication::translate("VaConst", sBufferFull));
    }
    std::lock_guard lock(WriteLock);
    const TVaDeadline deadline = TVaDeadline::Begin(static_cast<quint32>(buffers_.ReadTimeout()));
    qint32 written = 0;
    while (written < count) {
        const qint64 n = port_->Write(bytes + written, count - written);
        if (n > 0) {
            written += static_cast<qint32>(n);
            continue;
        }
        if (n < 0 && !port_->WouldBlock()) {
            if (written == 0)
                RaiseCommError(sWriteError, port_->LastError());
            break;
        }
        if (deadline.Expired())
            break;
        const auto ready =
            port_->Wait(false, true, nullptr, 0, static_cast<int>(qMax<quint32>(deadline.Remaining(), 1)));
        if (ready.ready == TVaOsPort::Ready::Gone || ready.ready == TVaOsPort::Ready::Failed)
            break;
    }
    return written;
}

bool TVaCustomComm::WriteString(const QByteArray& text)
{
    // A closed port sends nothing, and says so even for an empty text.
    if (!IsOpen())
        return false;
    return WriteData(text.constData(), static_cast<qint32>(text.size())) == text.size();
}

bool TVaCustomComm::ReceiveBufferFull()
{
    std::lock_guard lock(ReadLock);
    if (rxBuffer_.size() < openSettings_.receiveLimit)
        return false;
    // Reset before the next wait, under the lock the readers signal under.
    rxRoomEvent_.Reset();
    return true;
}

qint64 TVaCustomComm::FillReceiveBuffer(bool* sawEventChar, bool* gone)
{
    if (!port_)
        return 0;
    const qint32 limit = openSettings_.receiveLimit;
    const bool watchFlag = (openSettings_.eventMask & EV_RXFLAG) != 0;
    const char eventChar = eventChar_.load();
    qint64 total = 0;
    char chunk[4096];
    while (rxBuffer_.size() < limit) {
        const qint64 want = qMin<qint64>(sizeof chunk, limit - rxBuffer_.size());
        const qint64 n = port_->Read(chunk, want);
        if (n > 0) {
            if (watchFlag && std::memchr(chunk, eventChar, static_cast<size_t>(n)))
                *sawEventChar = true;
            rxBuffer_.append(chunk, n);
            total += n;
            continue;
        }
        if (n < 0 && port_->WouldBlock())
            break;
        // End of file, or an error: a hang-up unless the device says it is still there
        // (a read of 0 can also come from settings this component did not make).
        if (n < 0 || port_->HungUp())
            *gone = true;
        break;
    }
    return total;
}

void TVaCustomComm::PickUpLineErrors(quint32* events)
{
    if (!countersKnown_)
        return;
    TVaLineCounters now;
    if (!port_->ReadCounters(now))
        return;
    const TVaLineCounters before = counters_;
    counters_ = now;
    quint32 errors = 0;
    if (now.frame != before.frame)
        errors |= CE_FRAME;
    if (now.overrun != before.overrun)
        errors |= CE_OVERRUN;
    if (now.parity != before.parity)
        errors |= CE_RXPARITY;
    if (now.bufOverrun != before.bufOverrun)
        errors |= CE_RXOVER;
    if (now.brk != before.brk) {
        errors |= CE_BREAK;
        *events |= EV_BREAK;
    }
    if (errors & ~CE_BREAK)
        *events |= EV_ERR;
    if (now.cts != before.cts)
        *events |= EV_CTS;
    if (now.dsr != before.dsr)
        *events |= EV_DSR;
    if (now.ring != before.ring)
        *events |= EV_RING;
    if (now.dcd != before.dcd)
        *events |= EV_RLSD;
    lineErrors_.fetch_or(errors);
}

qint32 TVaCustomComm::ReadData(char* destination, qint32 count)
{
    if (!IsOpen() || count <= 0)
        return 0;
    std::lock_guard lock(ReadLock);
    FillWhenNoEventThread();
    const qint32 n = qMin(count, static_cast<qint32>(rxBuffer_.size()));
    if (n <= 0)
        return 0;
    std::memcpy(destination, rxBuffer_.constData(), static_cast<size_t>(n));
    rxBuffer_.remove(0, n);
    rxRoomEvent_.Signal();
    return n;
}

QByteArray TVaCustomComm::ReadString()
{
    const qint32 n = InputCount();
    if (n <= 0)
        return {};
    QByteArray text(n, Qt::Uninitialized);
    text.resize(ReadData(text.data(), n));
    return text;
}

qint32 TVaCustomComm::InputCount()
{
    if (!IsOpen())
        return 0;
    quint32 errors = 0;
    TVaComStat stat;
    ReadLineStatus(errors, stat);
    // The errors were fetched and cleared here; they still belong to the next report.
    if (errors)
        lineErrors_.fetch_or(errors);
    return static_cast<qint32>(stat.cbInQue);
}

void TVaCustomComm::ReadLineStatus(quint32& errors, TVaComStat& stat)
{
    std::lock_guard lock(ReadLock);
    errors = 0;
    stat = {};
    if (!IsOpen())
        return;
    FillWhenNoEventThread();
    errors = lineErrors_.exchange(0);
    stat.cbInQue = static_cast<quint32>(rxBuffer_.size());
    stat.cbOutQue = writeThread_ ? static_cast<quint32>(writeThread_->Queue().Count()) : 0;
}

void TVaCustomComm::SetDtrLine(bool on)
{
    if (flowControl_.ControlDtr() == dtrHandshake)
        throw EVaCommError(QCoreApplication::translate("VaConst", sDtrHandshake));
    if (IsOpen() && !port_->LineFunction(on ? SETDTR : CLRDTR))
        RaiseCommError(sCommFunction, port_->LastError());
}

void TVaCustomComm::SetRtsLine(bool on)
{
    if (flowControl_.ControlRts() == rtsHandshake || flowControl_.ControlRts() == rtsToggle)
        throw EVaCommError(QCoreApplication::translate("VaConst", sRtsHandshake));
    if (IsOpen() && !port_->LineFunction(on ? SETRTS : CLRRTS))
        RaiseCommError(sCommFunction, port_->LastError());
}

// ---------------------------------------------------------------------------------------
// Events

void TVaCustomComm::FillWhenNoEventThread()
{
    // With an event thread only it reads the device, so that every byte taken in is also
    // announced; without one nothing is announced and what the device holds counts as
    // received, as a driver's queue would.
    if (eventThread_)
        return;
    bool sawEventChar = false, gone = false;
    FillReceiveBuffer(&sawEventChar, &gone);
}

quint64 TVaCustomComm::PostReport(quint64 session, quint32 mask, bool lost, bool track)
{
    quint64 ticket = 0;
    {
        std::lock_guard lock(reportMutex_);
        if (track)
            ticket = ++lastTicket_;
        reports_.push_back({session, mask, lost, ticket});
    }
    QCoreApplication::postEvent(&handOffTarget_, new QEvent(ReportEventType()));
    return ticket;
}

bool TVaCustomComm::ReportRun(quint64 ticket)
{
    std::lock_guard lock(reportMutex_);
    return lastTicketRun_ >= ticket;
}

void TVaHandOffTarget::customEvent(QEvent*)
{
    // Every event this object gets is a hand-off.
    owner_->RunReport();
}

void TVaCustomComm::RunReport()
{
    TVaReport report;
    {
        std::lock_guard lock(reportMutex_);
        if (reports_.empty())
            return;
        report = reports_.front();
        reports_.pop_front();
    }
    DeliverEvents(report.session, report.mask, report.lost);
    if (report.ticket == 0)
        return;
    {
        std::lock_guard lock(reportMutex_);
        lastTicketRun_ = qMax(lastTicketRun_, report.ticket);
    }
    reportRunEvent_.Signal();
}

void TVaCustomComm::DeliverEvents(quint64 session, quint32 mask, bool lost)
{
    // A hand-off that outlived its port finds nothing to do.
    auto current = [&] { return IsOpen() && session == session_; };
    if (!current())
        return;
    if (mask & EV_RXCHAR) {
        VaRunGuarded([&] { HandleRxChar(); });
        mask &= ~EV_RXCHAR;
    }
    if (mask != 0 && current())
        VaRunGuarded([&] { HandleEvents(mask); });
    if (lost && current()) {
        qCDebug(lcVaSerial) << "device lost:" << DevicePath();
        const quint32 errors = CE_IOE | lineErrors_.exchange(0);
        if (OnError)
            VaRunGuarded([&] { OnError(this, errors); });
        // The device is gone: the next connect opens it afresh.
        if (current())
            VaRunGuarded([&] { CloseDevice(true); });
    }
}

void TVaCustomComm::HandleRxChar()
{
    const qint32 n = InputCount();
    if (n > 0 && OnRxChar)
        OnRxChar(this, n);
}

void TVaCustomComm::HandleEvents(quint32 mask)
{
    if (mask & EV_ERR) {
        quint32 errors = 0;
        TVaComStat stat;
        ReadLineStatus(errors, stat);
        if (errors != 0 && OnError)
            VaRunGuarded([&] { OnError(this, errors); });
    }
    auto raise = [&](quint32 bit, const TNotifyEvent& handler) {
        if ((mask & bit) && handler)
            handler(this);
    };
    raise(EV_RXFLAG, OnRxFlag);
    raise(EV_CTS, OnCts);
    raise(EV_DSR, OnDsr);
    raise(EV_RING, OnRing);
    raise(EV_RLSD, OnRlsd);
    raise(EV_TXEMPTY, OnTxEmpty);
    raise(EV_BREAK, OnBreak);
    raise(EV_PERR, OnPErr);
    raise(EV_RX80FULL, OnRx80Full);
    raise(EV_EVENT1, OnEvent1);
    raise(EV_EVENT2, OnEvent2);
}
