// The POSIX backend of the serial-port component: the only file that talks to the
// terminal driver. It also picks the backend for a name.
#include "VaConst.h"
#include "VaOs.h"
#include "VaOsBackend.h"

#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using namespace VaConst;
using VaOsDetail::RetryEintr;

namespace {

// Per thread, so that a failure met by one of the port's threads is never reported with the
// code another thread has just stored.
thread_local int tLastError = 0;

struct SpeedEntry
{
    quint32 baud;
    speed_t code;
};

constexpr SpeedEntry kSpeeds[] = {{50, B50},         {75, B75},         {110, B110},        {134, B134},
                                  {150, B150},       {200, B200},       {300, B300},        {600, B600},
                                  {1200, B1200},     {1800, B1800},     {2400, B2400},      {4800, B4800},
                                  {9600, B9600},     {19200, B19200},   {38400, B38400},    {57600, B57600},
                                  {115200, B115200}, {230400, B230400}, {460800, B460800},  {500000, B500000},
                                  {576000, B576000}, {921600, B921600}, {1000000, B1000000}};

bool SymbolicSpeed(quint32 baud, speed_t& code)
{
    for (const auto& e : kSpeeds) {
        if (e.baud == baud) {
            code = e.code;
            return true;
        }
    }
    return false;
}

// A pseudo-terminal has no modem lines; older kernels say EINVAL, newer ENOTTY.
bool NoModemLines(int error)
{
    return error == ENOTTY || error == EINVAL;
}

class TtyBackend final : public TVaOsBackend
{
public:
    TtyBackend(int fd, const termios& saved) : fd_(fd), saved_(saved) {}
    ~TtyBackend() override;
    bool SetState(const TVaDcb& dcb) override;
    bool LineFunction(int function) override;
    qint64 Read(char* data, qint64 max) override;
    qint64 Write(const char* data, qint64 count) override;
    bool ReadCounters(TVaLineCounters& counters) override;
    TVaOsPort::WaitResult Wait(bool forRead, bool forWrite, const TVaHandle* events, int eventCount,
                               int timeoutMs) override;
    bool HungUp() override;
    int Descriptor() const override { return fd_; }

private:
    int fd_;
    termios saved_;
};

} // namespace

void VaOsDetail::SetLastError(int code)
{
    tLastError = code;
}

TVaOsPort::TVaOsPort(std::unique_ptr<TVaOsBackend> backend) : d(std::move(backend)) {}

TVaOsPort::~TVaOsPort() = default;

std::unique_ptr<TVaOsPort> TVaOsPort::Open(const QString& path, int& error, QString* serverText)
{
    VaOs::NetAddress address;
    if (!VaOs::ParseNetAddress(path, address)) {
        error = EINVAL;
        return nullptr;
    }
    if (address.kind != VaOs::NetAddress::Kind::None) {
        auto line = VaOsDetail::OpenNetLine(address, error, serverText);
        if (!line)
            return nullptr;
        return std::unique_ptr<TVaOsPort>(new TVaOsPort(std::move(line)));
    }
    const QByteArray native = QFile::encodeName(path);
    const int fd =
        RetryEintr([&] { return ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); });
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    auto fail = [&](int code) {
        error = code;
        ::close(fd);
        return nullptr;
    };
    // The lock comes before any setting is touched, so a busy port is left as it was;
    // flock holds against root too, where TIOCEXCL does not.
    if (RetryEintr([&] { return ::flock(fd, LOCK_EX | LOCK_NB); }) != 0)
        return fail(errno == EWOULDBLOCK ? EBUSY : errno);
    termios current{};
    if (::tcgetattr(fd, &current) != 0)
        return fail(errno);
    if (::ioctl(fd, TIOCEXCL) != 0 && !NoModemLines(errno))
        return fail(errno);
    ::tcflush(fd, TCIOFLUSH);

    return std::unique_ptr<TVaOsPort>(new TVaOsPort(std::make_unique<TtyBackend>(fd, current)));
}

TtyBackend::~TtyBackend()
{
    // Pending output would make close() wait for it; the settings go back as found.
    ::tcflush(fd_, TCOFLUSH);
    ::tcsetattr(fd_, TCSANOW, &saved_);
    ::ioctl(fd_, TIOCNXCL);
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
}

bool TtyBackend::SetState(const TVaDcb& dcb)
{
    const int fd = fd_;
    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        tLastError = errno;
        return false;
    }
    ::cfmakeraw(&t);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK | ISTRIP | IMAXBEL);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | HUPCL);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;

    auto invalid = [&] {
        tLastError = EINVAL;
        return false;
    };
    switch (dcb.ByteSize) {
    case 5:
        t.c_cflag |= CS5;
        break;
    case 6:
        t.c_cflag |= CS6;
        break;
    case 7:
        t.c_cflag |= CS7;
        break;
    case 8:
        t.c_cflag |= CS8;
        break;
    default:
        return invalid();
    }
    switch (dcb.Parity) {
    case NOPARITY:
        break;
    case ODDPARITY:
        t.c_cflag |= PARENB | PARODD;
        break;
    case EVENPARITY:
        t.c_cflag |= PARENB;
        break;
    case MARKPARITY:
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case SPACEPARITY:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        return invalid();
    }
    if (dcb.fParity)
        t.c_iflag |= INPCK;
    switch (dcb.StopBits) {
    case ONESTOPBIT:
        break;
    case ONE5STOPBITS: // with five data bits the line then runs 1.5 stop bits
    case TWOSTOPBITS:
        t.c_cflag |= CSTOPB;
        break;
    default:
        return invalid();
    }
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE)
        t.c_cflag |= CRTSCTS;
    if (dcb.fOutX)
        t.c_iflag |= IXON;
    if (dcb.fInX)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);

    if (dcb.BaudRate == 0)
        return invalid(); // speed 0 would hang the line up
    speed_t code = B38400;
    const bool symbolic = SymbolicSpeed(dcb.BaudRate, code);
    ::cfsetispeed(&t, code);
    ::cfsetospeed(&t, code);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        tLastError = errno;
        return false;
    }
    if (!symbolic && !VaOs::SetCustomSpeed(fd, dcb.BaudRate)) {
        tLastError = errno;
        return false;
    }

    // tcsetattr succeeds when any part of the request was taken: compare what matters.
    termios back{};
    if (::tcgetattr(fd, &back) != 0) {
        tLastError = errno;
        return false;
    }
    constexpr tcflag_t cmask = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CLOCAL | CREAD;
    constexpr tcflag_t imask = IXON | IXOFF | IXANY | INPCK | ICRNL | ISTRIP | PARMRK;
    constexpr tcflag_t lmask = ICANON | ECHO | ISIG | IEXTEN;
    if ((back.c_cflag & cmask) != (t.c_cflag & cmask) || (back.c_iflag & imask) != (t.c_iflag & imask) ||
        (back.c_lflag & lmask) != (t.c_lflag & lmask) || (back.c_oflag & OPOST) != (t.c_oflag & OPOST))
        return invalid();
    if (symbolic ? ::cfgetospeed(&back) != code : VaOs::DeviceSpeed(fd) != dcb.BaudRate)
        return invalid();

    // The modem lines follow the control record, after the speed is set. DTR cannot
    // take part in a handshake here, so it is simply raised; RTS under CRTSCTS is the
    // driver's.
    if (!LineFunction(dcb.fDtrControl == DTR_CONTROL_DISABLE ? CLRDTR : SETDTR))
        return false;
    if (dcb.fRtsControl != RTS_CONTROL_HANDSHAKE &&
        !LineFunction(dcb.fRtsControl == RTS_CONTROL_ENABLE ? SETRTS : CLRRTS))
        return false;
    return true;
}

bool TVaOsPort::SetState(const TVaDcb& dcb)
{
    return d->SetState(dcb);
}

bool TVaOsPort::SetupQueues(qint32, qint32)
{
    // The driver or the socket sizes its own queues; the component keeps its receive buffer.
    return true;
}

bool TVaOsPort::SetImmediateTimeouts()
{
    // Non-blocking descriptors: a read returns what has arrived or EAGAIN, never waits.
    return true;
}

bool TVaOsPort::LineFunction(int function)
{
    return d->LineFunction(function);
}

qint64 TVaOsPort::Read(char* data, qint64 max)
{
    return d->Read(data, max);
}

qint64 TVaOsPort::Write(const char* data, qint64 count)
{
    return d->Write(data, count);
}

bool TVaOsPort::ReadCounters(TVaLineCounters& counters)
{
    return d->ReadCounters(counters);
}

TVaOsPort::WaitResult TVaOsPort::Wait(bool forRead, bool forWrite, const TVaHandle* events, int eventCount,
                                      int timeoutMs)
{
    return d->Wait(forRead, forWrite, events, eventCount, timeoutMs);
}

bool TVaOsPort::HungUp()
{
    return d->HungUp();
}

int TVaOsPort::Descriptor() const
{
    return d->Descriptor();
}

bool TtyBackend::LineFunction(int function)
{
    int bits = 0;
    unsigned long request = 0;
    switch (function) {
    case SETDTR:
        bits = TIOCM_DTR, request = TIOCMBIS;
        break;
    case CLRDTR:
        bits = TIOCM_DTR, request = TIOCMBIC;
        break;
    case SETRTS:
        bits = TIOCM_RTS, request = TIOCMBIS;
        break;
    case CLRRTS:
        bits = TIOCM_RTS, request = TIOCMBIC;
        break;
    default:
        tLastError = EINVAL;
        return false;
    }
    if (::ioctl(fd_, request, &bits) == 0 || NoModemLines(errno))
        return true;
    tLastError = errno;
    return false;
}

qint64 TtyBackend::Read(char* data, qint64 max)
{
    const qint64 n =
        RetryEintr([&] { return static_cast<int>(::read(fd_, data, static_cast<size_t>(max))); });
    if (n < 0)
        tLastError = errno;
    return n;
}

qint64 TtyBackend::Write(const char* data, qint64 count)
{
    const qint64 n =
        RetryEintr([&] { return static_cast<int>(::write(fd_, data, static_cast<size_t>(count))); });
    if (n < 0)
        tLastError = errno;
    return n;
}

bool TtyBackend::ReadCounters(TVaLineCounters& c)
{
    serial_icounter_struct ic{};
    if (::ioctl(fd_, TIOCGICOUNT, &ic) != 0) {
        tLastError = errno;
        return false;
    }
    c.frame = static_cast<quint32>(ic.frame);
    c.overrun = static_cast<quint32>(ic.overrun);
    c.parity = static_cast<quint32>(ic.parity);
    c.brk = static_cast<quint32>(ic.brk);
    c.bufOverrun = static_cast<quint32>(ic.buf_overrun);
    c.cts = static_cast<quint32>(ic.cts);
    c.dsr = static_cast<quint32>(ic.dsr);
    c.ring = static_cast<quint32>(ic.rng);
    c.dcd = static_cast<quint32>(ic.dcd);
    return true;
}

int TVaOsPort::LastError() const
{
    return tLastError;
}

bool TVaOsPort::WouldBlock() const
{
    return tLastError == EAGAIN || tLastError == EWOULDBLOCK;
}

TVaOsPort::WaitResult TtyBackend::Wait(bool forRead, bool forWrite, const TVaHandle* events, int eventCount,
                                       int timeoutMs)
{
    using Ready = TVaOsPort::Ready;
    constexpr int kMax = 4;
    pollfd fds[kMax + 1];
    const int n = qMin(eventCount, kMax);
    fds[0] = {fd_, static_cast<short>((forRead ? POLLIN : 0) | (forWrite ? POLLOUT : 0)), 0};
    for (int i = 0; i < n; ++i)
        fds[i + 1] = {events[i], POLLIN, 0};
    const int r = RetryEintr([&] { return ::poll(fds, static_cast<nfds_t>(n + 1), timeoutMs); });
    if (r < 0) {
        tLastError = errno;
        return {Ready::Failed, -1};
    }
    for (int i = 0; i < n; ++i) {
        if (fds[i + 1].revents & POLLIN)
            return {Ready::Event, i};
    }
    const short rev = fds[0].revents;
    // Data that came with the hang-up is still read; the read then tells the loss.
    if ((rev & POLLIN) && forRead)
        return {Ready::Device, -1};
    if (rev & (POLLHUP | POLLERR | POLLNVAL)) {
        tLastError = EIO;
        return {Ready::Gone, -1};
    }
    if (rev & (POLLIN | POLLOUT))
        return {Ready::Device, -1};
    return {Ready::Timeout, -1};
}

namespace VaOs {

QString ErrorText(int code)
{
    if (code >= ResolverErrorBase)
        return VaOsDetail::NetErrorText(code);
    return QString::fromLocal8Bit(::strerror(code));
}

OpenFailure ClassifyOpenFailure(int osError)
{
    if (osError == ServerRefusedLine)
        return OpenFailure::ServerSaid;
    if (osError == ServerClosedAtOnce)
        return OpenFailure::Dropped;
    if (osError >= ResolverErrorBase)
        return OpenFailure::UnknownHost;
    switch (osError) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
    case EIO: // a ttyS node with no port behind it
        return OpenFailure::Missing;
    case EBUSY:
    case EAGAIN:
        return OpenFailure::Busy;
    case EACCES:
    case EPERM:
    case EROFS:
        return OpenFailure::NotAllowed;
    case ECONNREFUSED:
        return OpenFailure::Refused;
    case EHOSTUNREACH:
    case ENETUNREACH:
    case EHOSTDOWN:
    case ENETDOWN:
    case ETIMEDOUT:
        return OpenFailure::Unreachable;
    case ECONNRESET:
    case EPIPE:
        return OpenFailure::Dropped;
    default:
        return OpenFailure::Other;
    }
}

int LastError()
{
    return errno;
}

TVaHandle CreateEvent()
{
    return ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

void CloseHandle(TVaHandle h)
{
    if (h >= 0)
        ::close(h);
}

void SignalEvent(TVaHandle h)
{
    const quint64 one = 1;
    [[maybe_unused]] const ssize_t r = ::write(h, &one, sizeof one);
}

void ResetEvent(TVaHandle h)
{
    quint64 value = 0;
    [[maybe_unused]] const ssize_t r = ::read(h, &value, sizeof value);
}

int WaitAny(const TVaHandle* events, int count, int timeoutMs)
{
    constexpr int kMax = 8;
    pollfd fds[kMax];
    const int n = qMin(count, kMax);
    for (int i = 0; i < n; ++i)
        fds[i] = {events[i], POLLIN, 0};
    const int r = RetryEintr([&] { return ::poll(fds, static_cast<nfds_t>(n), timeoutMs); });
    if (r < 0)
        return -2;
    for (int i = 0; i < n; ++i) {
        if (fds[i].revents & POLLIN)
            return i;
        if (fds[i].revents & (POLLERR | POLLNVAL)) {
            errno = EBADF;
            return -2;
        }
    }
    return -1;
}

QString DevicePath(const QString& name)
{
    static const QRegularExpression com(QStringLiteral("^COM([1-9][0-9]{0,8})$"));
    const auto m = com.match(name);
    if (m.hasMatch())
        return QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toLongLong() - 1);
    return name;
}

} // namespace VaOs

bool TtyBackend::HungUp()
{
    pollfd p{fd_, 0, 0};
    if (::poll(&p, 1, 0) < 0)
        return false;
    return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}
