#pragma once
// The serial-port component: one serial device with its line settings, a background
// write queue, and received bytes and line events announced on the main thread.

#include "VaClasses.h"
#include "VaConst.h"
#include "VaObjects.h"
#include "VaOs.h"
#include "VaPrst.h"
#include "VaTypes.h"

#include <QByteArray>
#include <QThread>
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

class TVaCustomComm;
class TVaOsPort;

// The write queue: a block of fixed capacity, appended to at the back by the main
// thread and removed from the front by the write thread.
class TVaCommBuffer
{
public:
    explicit TVaCommBuffer(qint32 capacity);
    void Append(const char* bytes, qint32 n);
    void Remove(qint32 n);
    const char* Data() const { return data_.get(); }
    qint32 Count() const { return count_.load(std::memory_order_acquire); }
    qint32 Capacity() const { return capacity_; }

private:
    std::unique_ptr<char[]> data_;
    std::atomic<qint32> count_{0};
    qint32 capacity_;
};

// What the worker threads read of the owner's settings, taken when the port opens and
// before the threads start: a setting changed while the port is open never reaches them.
struct TVaOpenSettings
{
    quint64 session = 0;     // the opening the threads serve
    quint32 eventMask = 0;   // the port's EventMask
    qint32 receiveLimit = 0; // bytes the receive buffer may hold
    qint32 readSize = 0;     // Buffers.ReadSize, for the 80%-full report
};

// Thread contract. Every public operation of the component, every event and every hand-off
// runs on the main thread. The event thread alone reads the device (while it runs) and
// fills the receive buffer under ReadLock, as a driver fills its queue; every fill is
// followed by a hand-off that announces it. It has one hand-off at a time with the main
// thread: what it meets meanwhile goes into the next, posted once the last one has run. The
// write thread alone writes the device from the queue (a network line's backend also sends
// its Telnet replies from the reading thread and line commands from the main thread, under
// a lock of its own, so that nothing splits an escaped pair); its reports (end of transmission,
// write error, device lost) are posted and never waited for. No worker ever blocks on the
// main thread, so the main thread may wait for room in the queue without running any
// hand-off, and may join the threads at any time. Both threads stop on their atomic flag
// and wake event, and are joined before the device is closed.
class TVaCommThread : public QThread
{
public:
    TVaCommThread(TVaCustomComm* owner, TVaOsPort* port, const TVaOpenSettings& settings);
    bool Terminated() const { return terminated_.load(); }
    // Waits until the thread's loop has ended; afterwards nothing of the thread touches the
    // owner or the port.
    void Join();

protected:
    void run() final;
    virtual void Execute() = 0;
    void MarkTerminated();

    TVaCustomComm* owner_;
    TVaOsPort* port_;
    const TVaOpenSettings settings_;

private:
    std::atomic<bool> terminated_{false};
    // Set when the loop has ended, read after QThread::wait: Qt orders the two through a lock
    // ThreadSanitizer cannot see, this pair it can.
    std::atomic<bool> finished_{false};
};

// Waits for line events of the open port and hands each to the main thread.
class TVaCommEventThread : public TVaCommThread
{
public:
    using TVaCommThread::TVaCommThread;
    void Stop();

protected:
    void Execute() override;

private:
    TVaWaitEvent wakeEvent_;
};

// Drains the write queue to the device and reports the end of transmission.
class TVaCommWriteThread : public TVaCommThread
{
public:
    TVaCommWriteThread(TVaCustomComm* owner, TVaOsPort* port, const TVaOpenSettings& settings,
                       qint32 capacity);
    void Stop();
    // Queues the bytes, waiting at most the owner's WriteTimeout for room; false when there
    // was no room in time, or when the thread has ended (the device is gone). Runs nothing of
    // the main thread's while it waits.
    bool Enqueue(const char* bytes, qint32 n);
    const TVaCommBuffer& Queue() const { return queue_; }

protected:
    void Execute() override;

private:
    void Completed(qint32 n);

    TVaCommBuffer queue_;
    TVaWaitEvent dataReady_;
    TVaWaitEvent stopEvent_;
    TVaWaitEvent roomEvent_; // signalled when the thread has taken bytes off the queue, or ended
};

// Receives the worker threads' hand-off events on the main thread and runs the reports they
// stand for. It dies with its component, and Qt then drops the events still on their way.
class TVaHandOffTarget : public QObject
{
public:
    explicit TVaHandOffTarget(TVaCustomComm* owner) : owner_(owner) {}

protected:
    void customEvent(QEvent* event) override;

private:
    TVaCustomComm* owner_;
};

class TVaCustomComm : public TVaComponent
{
    Q_OBJECT
public:
    explicit TVaCustomComm(QObject* owner = nullptr);
    ~TVaCustomComm() override;

    // Operations
    void Open();
    void Close();
    bool IsOpen() const { return port_ != nullptr; }
    qint32 WriteData(const char* bytes, qint32 count);
    bool WriteString(const QByteArray& text);
    qint32 ReadData(char* destination, qint32 count);
    QByteArray ReadString();
    qint32 InputCount();
    void ReadLineStatus(quint32& errors, TVaComStat& stat);
    void SetDtrLine(bool on);
    void SetRtsLine(bool on);
    // Opens the port when AutoOpen asks for it, once the owner has set the stored values.
    virtual void Loaded();

    // Settings
    bool AutoOpen() const { return autoOpen_; }
    void SetAutoOpen(bool v) { autoOpen_ = v; }
    TVaBaudrate Baudrate() const { return baudrate_; }
    void SetBaudrate(TVaBaudrate v);
    TVaParity Parity() const { return parity_; }
    void SetParity(TVaParity v) { SetLive(parity_, v); }
    bool ParityCheck() const { return parityCheck_; }
    void SetParityCheck(bool v) { SetLive(parityCheck_, v); }
    TVaDatabits Databits() const { return databits_; }
    void SetDatabits(TVaDatabits v) { SetLive(databits_, v); }
    TVaStopbits Stopbits() const { return stopbits_; }
    void SetStopbits(TVaStopbits v) { SetLive(stopbits_, v); }
    TVaEventChars& EventChars() { return eventChars_; }
    const TVaEventChars& EventChars() const { return eventChars_; }
    void SetEventChars(const TVaEventChars& v) { eventChars_.Assign(v); }
    TVaFlowControl& FlowControl() { return flowControl_; }
    const TVaFlowControl& FlowControl() const { return flowControl_; }
    void SetFlowControl(const TVaFlowControl& v) { flowControl_.Assign(v); }
    TVaCommOptions Options() const { return options_; }
    void SetOptions(TVaCommOptions v) { SetLive(options_, v); }
    TVaPortInt PortNum() const { return portNum_; }
    void SetPortNum(TVaPortInt v);
    QString DeviceName() const { return deviceName_; }
    void SetDeviceName(const QString& v);
    TVaCommEvents MonitorEvents() const { return monitorEvents_; }
    void SetMonitorEvents(TVaCommEvents v);
    TVaBuffers& Buffers() { return buffers_; }
    const TVaBuffers& Buffers() const { return buffers_; }
    void SetBuffers(const TVaBuffers& v);
    TThreadPriority EventPriority() const { return eventPriority_; }
    void SetEventPriority(TThreadPriority v);
    TThreadPriority WritePriority() const { return writePriority_; }
    void SetWritePriority(TThreadPriority v);
    bool DirectWrite() const { return directWrite_; }
    void SetDirectWrite(bool v);
    bool UpdateDCB() const { return updateDCB_; }
    void SetUpdateDCB(bool v);
    qint32 UserBaudrate() const { return userBaudrate_; }
    void SetUserBaudrate(qint32 v);

    // Events
    TNotifyEvent OnOpen, OnClose, OnCts, OnDsr, OnRlsd, OnRing, OnBreak, OnRxFlag, OnTxEmpty, OnPErr,
        OnRx80Full, OnEvent1, OnEvent2;
    TVaCommErrorEvent OnError;
    TVaCommRxCharEvent OnRxChar;

    // The state behind the operations, for diagnostics and tests.
    QString DevicePath() const;
    quint32 EventMask() const { return eventMask_; }
    // The control record the current settings give.
    TVaDcb BuildDcb() const;
    bool EventThreadRunning() const { return eventThread_ != nullptr; }
    bool WriteThreadRunning() const { return writeThread_ != nullptr; }
    // The device's own handle while open, -1 otherwise.
    int DeviceHandle() const;

protected:
    virtual void OpenDevice();
    virtual void StartThreads();
    virtual void HandleRxChar();
    virtual void HandleEvents(quint32 mask);

    void CheckClosed() const;
    void ApplyLineSettings();
    void ApplyBufferSizes();
    void ApplyTimeouts();
    void ApplyEventMask();
    void StopThreads();
    [[noreturn]] void RaiseCommError(const char* templ, int code) const;

private:
    friend class TVaCommThread;
    friend class TVaCommEventThread;
    friend class TVaCommWriteThread;
    friend class TVaHandOffTarget;

    template <typename T> void SetLive(T& field, T v)
    {
        if (field == v)
            return;
        field = v;
        ApplyLineSettings();
    }
    void CloseDevice(bool raiseOnClose);
    void TakeOpenSettings();
    // A worker's report, waiting for the main thread.
    struct TVaReport
    {
        quint64 session = 0;
        quint32 mask = 0;
        bool lost = false;
        quint64 ticket = 0; // non-zero when the worker wants to know that it has run
    };
    // Any thread: queues the report and posts its hand-off; returns its ticket (0 without
    // track).
    quint64 PostReport(quint64 session, quint32 mask, bool lost, bool track);
    // Any thread: whether the report with this ticket has run.
    bool ReportRun(quint64 ticket);
    // Main thread: runs the oldest report waiting.
    void RunReport();
    // Main thread: runs the events a worker handed over, unless the port they belong to
    // has been closed since.
    void DeliverEvents(quint64 session, quint32 mask, bool lost);
    // Moves what the device has received into the receive buffer, up to its limit;
    // called with ReadLock held, by the event thread or, when none runs, the main thread.
    // Returns the bytes moved.
    qint64 FillReceiveBuffer(bool* sawEventChar, bool* gone);
    void FillWhenNoEventThread();
    bool ReceiveBufferFull();
    void PickUpLineErrors(quint32* events);

    bool autoOpen_ = false;
    TVaBaudrate baudrate_ = br1200;
    TVaParity parity_ = paNone;
    bool parityCheck_ = false;
    TVaDatabits databits_ = db8;
    TVaStopbits stopbits_ = sb1;
    TVaEventChars eventChars_;
    TVaFlowControl flowControl_;
    TVaCommOptions options_;
    TVaPortInt portNum_ = 0;
    QString deviceName_ = QStringLiteral("COM%d");
    TVaCommEvents monitorEvents_{ceError, ceRxChar, ceTxEmpty};
    TVaBuffers buffers_;
    TThreadPriority eventPriority_ = tpNormal;
    TThreadPriority writePriority_ = tpHighest;
    bool directWrite_ = false;
    bool updateDCB_ = true;
    qint32 userBaudrate_ = 0;

    std::unique_ptr<TVaOsPort> port_;
    TVaCriticalSection WriteLock;
    TVaCriticalSection ReadLock;
    TVaWaitEvent waitEvent_;
    TVaCommEventThread* eventThread_ = nullptr;
    TVaCommWriteThread* writeThread_ = nullptr;
    quint32 eventMask_ = 0;

    // Received bytes not yet read; guarded by ReadLock.
    QByteArray rxBuffer_;
    TVaWaitEvent rxRoomEvent_; // signalled when a read has made room in rxBuffer_
    std::atomic<quint32> lineErrors_{0};
    // The event thread's own once the port is open.
    TVaLineCounters counters_;
    bool countersKnown_ = false;
    std::atomic<bool> lostReported_{false};
    // Counts the openings, so that a hand-off that outlived its port is recognised.
    quint64 session_ = 0;
    // Fixed at Open for the threads and for the receive buffer.
    TVaOpenSettings openSettings_;
    // The event character the event thread looks for: a line setting, so it follows
    // EventChars at once.
    std::atomic<char> eventChar_{0};
    bool destroying_ = false;

    // Reports of the worker threads, in the order they were made; each has one posted
    // hand-off event that runs the oldest.
    std::mutex reportMutex_;
    std::deque<TVaReport> reports_;
    quint64 lastTicket_ = 0;
    quint64 lastTicketRun_ = 0;
    TVaWaitEvent reportRunEvent_; // signalled when a tracked report has run
    TVaHandOffTarget handOffTarget_{this};
};

// The component as the window uses it: every setting published.
class TVaComm : public TVaCustomComm
{
    Q_OBJECT
public:
    explicit TVaComm(QObject* owner = nullptr) : TVaCustomComm(owner) {}
};
