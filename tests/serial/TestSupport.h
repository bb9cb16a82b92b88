#pragma once
// What the serial tests share besides the pty: process counters, a deadlock watchdog,
// exception capture and a recorder of the component's events.

#include "PtyPair.h"
#include "VaComm.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <mutex>
#include <thread>

using CommAction = std::function<void(TVaComm&)>;
using CommCheck = std::function<bool(const TVaComm&)>;
Q_DECLARE_METATYPE(CommAction)
Q_DECLARE_METATYPE(CommCheck)

// The settings the main window gives its port before the first connect.
void ApplyWindowSettings(TVaComm& comm);
// The window's settings, on the slave of pty.
void UsePty(TVaComm& comm, const PtyPair& pty);

// True when nobody holds the exclusive lock on the device at path.
bool CanLock(const QString& path);

// The text of a caught exception, for the application handler's record.
QString ExceptionText(std::exception_ptr error);

// Open descriptors and live threads of this process; leaks show up as growth.
int OpenFdCount();
int ThreadCount();
// User plus system CPU time of the whole process, in milliseconds.
double CpuTimeMs();

// Ends the test process when it is still alive after timeoutMs: a deadlock must fail fast
// and name itself rather than hang until the runner's time-out.
class Watchdog
{
public:
    Watchdog(int timeoutMs, const char* what);
    ~Watchdog();

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread thread_;
};

inline const QString kNothingThrown = QStringLiteral("<nothing thrown>");

// The message of the E that f throws, or kNothingThrown.
template <typename E, typename F> QString ThrownMessage(F&& f)
{
    try {
        f();
    } catch (const E& e) {
        return e.Message();
    }
    return kNothingThrown;
}

// Records what the component raises, in order; the receive handler takes the bytes as the
// window does.
class CommRecorder
{
public:
    explicit CommRecorder(TVaComm& comm);

    TVaComm& comm;
    QStringList log;        // "open", "close", "txempty", "error", "rx"
    QList<qint32> rxCounts; // Count of every OnRxChar
    QList<quint32> errors;  // Errors of every OnError
    QByteArray received;    // what the receive handler read
    bool readInHandler = true;

    int Count(const QString& entry) const { return int(log.count(entry)); }
};

// Every byte value once, in order: shows any byte the line discipline would eat or change.
QByteArray AllByteValues();
// A recognisable stream: position i holds a byte derived from i, so a lost, doubled or
// reordered piece shows.
QByteArray Pattern(int size, int seed = 0);
