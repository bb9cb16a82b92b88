#pragma once
// The one seam between the serial-port component and the operating system. Only the
// backends behind it talk to the device (a terminal, or a network line for the names
// socket://HOST:PORT and rfc2217://HOST:PORT); everything above works on these calls.

#include "VaObjects.h"
#include "VaTypes.h"

#include <QByteArray>
#include <QString>
#include <memory>

// Counters of line errors and line events the driver keeps, where it keeps them.
struct TVaLineCounters
{
    quint32 frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
    quint32 cts = 0, dsr = 0, ring = 0, dcd = 0;
};

class TVaOsBackend;

// One open serial device.
class TVaOsPort
{
public:
    // Opens the device for exclusive use; on failure returns null and sets error, and for a
    // server that answered with an error text instead of the line, serverText.
    static std::unique_ptr<TVaOsPort> Open(const QString& path, int& error, QString* serverText = nullptr);
    // Drops pending output, restores the settings found at open, releases the device.
    ~TVaOsPort();
    TVaOsPort(const TVaOsPort&) = delete;
    TVaOsPort& operator=(const TVaOsPort&) = delete;

    // Hands the control record to the device; false with the error code set.
    bool SetState(const TVaDcb& dcb);
    bool SetupQueues(qint32 inSize, qint32 outSize);
    // Reads return at once with what has arrived; writes have no time-out of the OS.
    bool SetImmediateTimeouts();
    // One of SETDTR, CLRDTR, SETRTS, CLRRTS; a device without modem lines takes it
    // as done.
    bool LineFunction(int function);

    // Non-blocking read and write: bytes moved, 0 from Read on hang-up, -1 with the
    // error code set (WouldBlock() tells an empty or full queue).
    qint64 Read(char* data, qint64 max);
    qint64 Write(const char* data, qint64 count);
    bool ReadCounters(TVaLineCounters& counters);

    // Waits for the device (readable, or writable) or any of the events; no limit
    // when timeoutMs is negative.
    enum class Ready
    {
        Timeout,
        Device,
        Event,
        Gone,
        Failed
    };
    struct WaitResult
    {
        Ready ready = Ready::Timeout;
        int eventIndex = -1;
    };
    WaitResult Wait(bool forRead, bool forWrite, const TVaHandle* events, int eventCount, int timeoutMs);

    // True when the device reports a hang-up or an error state right now.
    bool HungUp();

    // The error of the calling thread's last failed call, as errno is: the event thread,
    // the write thread and the main thread share a port but never each other's errors.
    int LastError() const;
    bool WouldBlock() const;
    // The descriptor, for diagnostics and tests.
    int Descriptor() const;

private:
    explicit TVaOsPort(std::unique_ptr<TVaOsBackend> backend);
    std::unique_ptr<TVaOsBackend> d;
};

namespace VaOs {
// Open failures that no errno names: the resolver's own code is added to the first, the
// second is a server that sent an error text and closed, the third one that closed at once.
inline constexpr int ResolverErrorBase = 0x10000;
inline constexpr int ServerRefusedLine = 0x20000;
inline constexpr int ServerClosedAtOnce = 0x20001;

// Why a port would not open, for the user.
enum class OpenFailure
{
    Missing,
    Busy,
    NotAllowed,
    Refused,     // nothing listens on the server's port
    UnknownHost, // the resolver does not know the name
    Unreachable, // no route, or the connection timed out
    ServerSaid,  // the server sent its error text instead of the line
    Dropped,     // the server closed the connection at once
    Other
};
OpenFailure ClassifyOpenFailure(int osError);

// A network line's name taken apart; kind None for a local device.
struct NetAddress
{
    enum class Kind
    {
        None,
        Raw,
        Rfc2217
    };
    Kind kind = Kind::None;
    QString host; // without the brackets of an IPv6 address
    quint16 port = 0;
    // host:port as the user wrote it, with brackets for IPv6.
    QString Shown() const;
};
// False for a name with a network scheme but no usable host and port.
bool ParseNetAddress(const QString& name, NetAddress& address);
// Connect time-out of network lines; tests shorten it.
void SetNetConnectTimeout(int ms);

QString ErrorText(int code);
int LastError();
// Manual-reset event handles.
TVaHandle CreateEvent();
void CloseHandle(TVaHandle h);
void SignalEvent(TVaHandle h);
void ResetEvent(TVaHandle h);
// Waits for any of the events; the index of a signalled one, -1 on time-out, -2 on failure.
int WaitAny(const TVaHandle* events, int count, int timeoutMs);
// The device path the operating system knows for a port name: "COM<n>" is the n-th
// serial port, /dev/ttyS<n-1>; anything else is a path already.
QString DevicePath(const QString& name);
// The speed the device runs at, for diagnostics and tests; 0 when unknown.
quint32 DeviceSpeed(int descriptor);
bool SetCustomSpeed(int descriptor, quint32 baud);
} // namespace VaOs
