#pragma once
// Small utilities of the serial-port library: the millisecond tick counter, deadlines,
// thread priorities, message formatting and the application-wide error handler.

#include "VaTypes.h"

#include <QString>
#include <QThread>
#include <exception>
#include <functional>

// The 32-bit millisecond tick counter; it wraps after about 49.7 days.
quint32 VaGetTickCount();
// Replaces the tick counter (tests drive it through a wrap); an empty function restores
// the system's.
void VaSetTickSource(std::function<quint32()> source);

// A period measured from a start tick, counting through one wrap of the counter.
struct TVaDeadline
{
    quint32 Start = 0;
    quint32 Period = 0;

    static TVaDeadline Begin(quint32 periodMs) { return {VaGetTickCount(), periodMs}; }
    static quint32 Elapsed(quint32 start, quint32 now)
    {
        return now >= start ? now - start : now + (0xFFFFFFFFu - start);
    }
    quint32 ElapsedAt(quint32 now) const { return Elapsed(Start, now); }
    bool ExpiredAt(quint32 now) const { return ElapsedAt(now) > Period; }
    bool Expired() const { return ExpiredAt(VaGetTickCount()); }
    // Milliseconds left before the deadline expires, 0 once it has.
    quint32 Remaining() const
    {
        const quint32 e = ElapsedAt(VaGetTickCount());
        return e >= Period ? 0 : Period - e;
    }
};

// The operating-system priority a thread priority stands for: -15 (idle) to 15
// (time-critical).
int VaOsThreadPriority(TThreadPriority p);
QThread::Priority VaQtThreadPriority(TThreadPriority p);

// Fills a message template (one of VaConst's, in the language in use): "%d" takes
// the code and "%s" the text.
QString VaFormatMessage(const char* templ, int code, const QString& text);
// The device path: DeviceName used as a template whose "%d" takes PortNum. Nothing
// else in the name is interpreted.
QString VaFormatDeviceName(const QString& deviceName, qint32 portNum);

// Errors that escape event handlers go to the application's handler; without one they
// are dropped.
using TVaExceptionHandler = std::function<void(std::exception_ptr)>;
void VaSetApplicationExceptionHandler(TVaExceptionHandler handler);
void VaHandleApplicationException(std::exception_ptr error);
// Runs a handler; whatever it throws goes to the application's handler.
template <typename F> void VaRunGuarded(F&& f)
{
    try {
        f();
    } catch (...) {
        VaHandleApplicationException(std::current_exception());
    }
}
