#pragma once

#include "ControllerModel.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace tq3sim {

struct RunnerOptions
{
    bool pacing = true;
    int baud = 4800;
    QString linkPath; // a symbolic link to the slave device, made at start and removed at stop
    QString logPath;  // frame log file, one line per received frame (formatLogLine)
};

// Runs a ControllerModel behind a pseudo-terminal.
//
// Threads: start(), stop() and the destructor belong to the owning thread. The line thread,
// started by start(), alone reads and writes the pty descriptors and drives the model; it is
// woken for stop through an eventfd, never by closing a descriptor under it. The accessors may
// be called from any thread: they and the line thread meet under one mutex around the model.
//
// A hang-up that the model asks for on purpose ends the runner; a random one (a fault drawn by
// the model) closes the line and opens a new pseudo-terminal at once, the link moved over to it
// before the old line goes, so that a client that connects again finds the controller as it was.
class PtyRunner
{
public:
    explicit PtyRunner(ControllerOptions controller = {}, RunnerOptions runner = {});
    ~PtyRunner();
    PtyRunner(const PtyRunner&) = delete;
    PtyRunner& operator=(const PtyRunner&) = delete;

    // Opens the pty and starts the line thread; on failure errorString() says why.
    bool start();
    // Ends the line thread, closes the pty and removes the link. Safe to call twice.
    void stop();
    // False once stopped, and once the line has been hung up on purpose.
    bool isRunning() const { return running_.load(); }
    bool hungUp() const { return hungUp_.load(); }
    // Lines hung up by a random fault and opened again.
    int reconnects() const { return reconnects_.load(); }
    // The device of the current line.
    QString slavePath() const;
    QString errorString() const { return error_; }
    // How often the line thread has woken; a thread that spins shows here.
    quint64 wakeups() const { return wakeups_.load(); }

    std::vector<ReceivedFrame> frames() const;
    QByteArray setting(int readCode) const;
    QByteArray bootImage() const;
    // The model's complaints (protocol errors among them) followed by the line's own.
    std::vector<QString> errors() const;
    int protocolErrors() const;
    std::optional<ProtocolError> lastProtocolError() const;
    FaultCounts faultsInjected() const;

    // Any other look at the model, under the lock.
    template <typename F> auto inspect(F&& f) const
    {
        std::lock_guard lock(mutex_);
        return f(static_cast<const ControllerModel&>(model_));
    }

private:
    void run();
    bool fail(const QString& what);
    // A new master and its slave, made raw; the descriptors are set only when all went well.
    bool openLine(int& master, int& observer, QString& slave, QString& error);
    bool linkTo(const QString& slave, QString& error);
    bool reopenLine();
    void closeDescriptors();
    void writeLog(const std::vector<ReceivedFrame>& frames);
    void drainBeforeHangup();
    SimTime elapsed() const;

    const RunnerOptions options_;
    mutable std::mutex mutex_;
    ControllerModel model_;
    std::vector<QString> lineErrors_;

    int master_ = -1;
    int observer_ = -1; // our own slave descriptor: the master then never sees a hang-up
    int stopEvent_ = -1;
    int logFd_ = -1;
    QString slavePath_;
    QString linkMade_;
    QString error_;
    std::chrono::steady_clock::time_point startedAt_;
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> hungUp_{false};
    std::atomic<int> reconnects_{0};
    std::atomic<quint64> wakeups_{0};
};

} // namespace tq3sim
