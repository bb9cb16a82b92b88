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
#include <condition_variable>
#include <memory>

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

// What a worker thread shares with the main thread for its synchronous hand-offs; it
// outlives the thread, so a late hand-off still finds it.
struct TVaHandOffState
{
    std::mutex mutex;
    std::condition_variable done;
    quint64 posted = 0;
    quint64 finished = 0;
    bool stopping = false;
};

class TVaCommThread : public QThread
{
public:
    explicit TVaCommThread(TVaCustomComm* owner);
    bool Terminated() const { return terminated_.load(); }

protected:
    // Runs call on the main thread and waits until it has run; returns at once when the
    // thread is told to stop meanwhile.
    void Synchronize(quint32 mask, bool lost);
    void MarkTerminated();

    TVaCustomComm* owner_;
    std::shared_ptr<TVaHandOffState> handOff_ = std::make_shared<TVaHandOffState>();

private:
    std::atomic<bool> terminated_{false};
};

// Waits for line events of the open port and hands each to the main thread.
class TVaCommEventThread : public TVaCommThread
{
public:
    explicit TVaCommEventThread(TVaCustomComm* owner);
    void Stop();

protected:
    void run() override;

private:
    TVaWaitEvent wakeEvent_;
};

// Drains the write queue to the device and reports the end of transmission.
class TVaCommWriteThread : public TVaCommThread
{
public:
    TVaCommWriteThread(TVaCustomComm* owner, qint32 capacity);
    void Stop();
    // Queues the bytes, waiting at most the owner's WriteTimeout for room.
    bool Enqueue(const char* bytes, qint32 n);
    const TVaCommBuffer& Queue() const { return queue_; }

protected:
    void run() override;

private:
    void Completed(qint32 n);

    TVaCommBuffer queue_;
    TVaWaitEvent dataReady_;
    TVaWaitEvent stopEvent_;
    TVaWaitEvent roomEvent_; // signalled whenever the thread has taken bytes off the queue
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

    template <typename T> void SetLive(T& field, T v)
    {
        if (field == v)
            return;
        field = v;
        ApplyLineSettings();
    }
    void CloseDevice(bool raiseOnClose);
    // Main thread: runs the events a worker handed over, unless the port they belong to
    // has been closed since.
    void DeliverEvents(quint64 session, quint32 mask, bool lost);
    // Moves what the device has received into the receive buffer, up to its limit;
    // called with ReadLock held. Returns the bytes moved.
    qint64 FillReceiveBuffer(bool* sawEventChar, bool* gone);
    qint32 ReceiveLimit() const;
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
    TVaLineCounters counters_;
    bool countersKnown_ = false;
    std::atomic<bool> lostReported_{false};
    // Counts the openings, so that a hand-off that outlived its port is recognised.
    quint64 session_ = 0;
    bool destroying_ = false;
};

// The component as the window uses it: every setting published.
class TVaComm : public TVaCustomComm
{
    Q_OBJECT
public:
    explicit TVaComm(QObject* owner = nullptr) : TVaCustomComm(owner) {}
};
