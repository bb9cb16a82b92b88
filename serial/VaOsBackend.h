#pragma once
// Inside the OS seam: what each backend of TVaOsPort implements. Private to the backends.

#include "VaOs.h"

#include <cerrno>

class TVaOsBackend
{
public:
    virtual ~TVaOsBackend() = default;
    virtual bool SetState(const TVaDcb& dcb) = 0;
    virtual bool LineFunction(int function) = 0;
    virtual qint64 Read(char* data, qint64 max) = 0;
    virtual qint64 Write(const char* data, qint64 count) = 0;
    virtual bool ReadCounters(TVaLineCounters& counters) = 0;
    virtual TVaOsPort::WaitResult Wait(bool forRead, bool forWrite, const TVaHandle* events, int eventCount,
                                       int timeoutMs) = 0;
    virtual bool HungUp() = 0;
    virtual int Descriptor() const = 0;
};

namespace VaOsDetail {
// A system call, again as long as a signal interrupts it.
int RetryEintr(auto&& call)
{
    int r;
    do {
        r = call();
    } while (r < 0 && errno == EINTR);
    return r;
}
// The calling thread's error, as TVaOsPort::LastError reports it.
void SetLastError(int code);
// Null with error (and serverText) set when the line cannot be had.
std::unique_ptr<TVaOsBackend> OpenNetLine(const VaOs::NetAddress& address, int& error, QString* serverText);
// The text of the codes beyond errno's range.
QString NetErrorText(int code);
} // namespace VaOsDetail
