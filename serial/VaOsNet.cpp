// The network backend of the serial-port component: a TCP connection to a serial server,
// as a raw byte stream or as Telnet with COM-port control. The only file with socket calls.
#include "VaConst.h"
#include "VaLogging.h"
#include "VaOsBackend.h"
#include "VaTelnet.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace VaConst;
using VaOsDetail::RetryEintr;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

std::atomic<int> gConnectTimeoutMs{5000};

// A peer that vanished without a word is given up within a minute, with or without
// unacknowledged data in flight.
constexpr int KeepIdleS = 20, KeepIntervalS = 10, KeepCount = 3;
constexpr unsigned UserTimeoutMs = (KeepIdleS + KeepIntervalS * KeepCount) * 1000;

// How long the line is watched after the connect for a server's error text and close: a
// few round trips, never so short that a busy loopback misses it nor so long that a far
// server makes every open slow.
constexpr auto GraceMin = 30ms, GraceMax = 500ms;
constexpr int GraceRoundTrips = 4;

constexpr int MaxServerText = 200;

int RemainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Polls one descriptor until something happens or the deadline passes; 0 then.
int PollUntil(pollfd& p, Clock::time_point deadline)
{
    for (;;) {
        p.revents = 0;
        const int r = ::poll(&p, 1, RemainingMs(deadline));
        if (r >= 0 || errno != EINTR)
            return r;
    }
}

// The errors after which the connection is gone; the write thread knows EPIPE as that.
int LossOnWrite(int error)
{
    switch (error) {
    case ECONNRESET:
    case ETIMEDOUT:
    case ENOTCONN:
    case EHOSTUNREACH:
    case ENETUNREACH:
    case ESHUTDOWN:
        return EPIPE;
    default:
        return error;
    }
}

int SocketError(int fd)
{
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
        return errno;
    return error;
}

void SetLineOptions(int fd)
{
    const int on = 1, idle = KeepIdleS, interval = KeepIntervalS, count = KeepCount;
    const unsigned userTimeout = UserTimeoutMs;
    // Frames are small and the controller answers each: no waiting for a fuller segment.
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
    ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &userTimeout, sizeof userTimeout);
}

// What a server wrote before it closed, as one line for the user.
QString ServerText(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes.left(MaxServerText * 2));
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return text.simplified().left(MaxServerText);
}

class NetBackend final : public TVaOsBackend
{
public:
    NetBackend(int fd, bool telnet) : fd_(fd), telnet_(telnet) {}
    ~NetBackend() override { ::close(fd_); }

    // Offers the Telnet options and watches the line for a while; false with error (and
    // serverText) set when the server turned the line down.
    bool Start(Clock::duration connectTime, int& error, QString* serverText);

    bool SetState(const TVaDcb& dcb) override;
    bool LineFunction(int function) override;
    qint64 Read(char* data, qint64 max) override;
    qint64 Write(const char* data, qint64 count) override;
    bool ReadCounters(TVaLineCounters&) override { return false; }
    TVaOsPort::WaitResult Wait(bool forRead, bool forWrite, const TVaHandle* events, int eventCount,
                               int timeoutMs) override;
    bool HungUp() override;
    int Descriptor() const override { return fd_; }

private:
    // Queues the bytes behind anything unsent and sends what the socket takes.
    void SendControl(const QByteArray& bytes);
    // With mutex_ held; false when the connection is gone (error in sendError_).
    bool FlushTail();
    // Takes what arrived; the payload goes to `data`, Telnet replies out at once.
    qint64 Receive(char* data, qint64 max);

    const int fd_;
    const bool telnet_;
    // One lock around every write to the socket and the Telnet state, so that an escaped
    // pair or a command never has another write in its middle.
    std::mutex mutex_;
    VaTelnet::Session session_;
    QByteArray tail_; // encoded bytes the socket did not take yet
    int sendError_ = 0;
    std::atomic<bool> hasTail_{false};
    std::atomic<bool> peerClosed_{false};
    // Payload that came during the open; only the reading thread touches it afterwards.
    QByteArray early_;
};

bool NetBackend::Start(Clock::duration connectTime, int& error, QString* serverText)
{
    if (telnet_) {
        // One at a time: the line must be set before what came at the old settings is purged.
        QByteArray opening = session_.Start();
        opening += session_.RequestLine({});
        opening += session_.RequestPurge(VaTelnet::PurgeBoth);
        SendControl(opening);
    }
    const auto grace = qBound<Clock::duration>(GraceMin, connectTime * GraceRoundTrips, GraceMax);
    const auto deadline = Clock::now() + grace;
    for (;;) {
        pollfd p{fd_, POLLIN | POLLRDHUP, 0};
        const int r = PollUntil(p, deadline);
        if (r == 0)
            return true;
        if (r < 0) {
            error = errno;
            return false;
        }
        char chunk[4096];
        const qint64 n = Receive(chunk, sizeof chunk);
        if (n > 0) {
            early_.append(chunk, n);
            continue;
        }
        if (n < 0 && errno == EAGAIN)
            continue;
        // The server closed: what it wrote before is its reason.
        const QString text = ServerText(early_);
        if (!text.isEmpty()) {
            error = VaOs::ServerRefusedLine;
            if (serverText)
                *serverText = text;
        } else {
            error = VaOs::ServerClosedAtOnce;
        }
        return false;
    }
}

qint64 NetBackend::Receive(char* data, qint64 max)
{
    for (;;) {
        char chunk[4096];
        const size_t want = static_cast<size_t>(qMin<qint64>(max, sizeof chunk));
        const qint64 n = RetryEintr([&] { return static_cast<int>(::recv(fd_, chunk, want, 0)); });
        if (n < 0) {
            VaOsDetail::SetLastError(errno == EWOULDBLOCK ? EAGAIN : errno);
            return -1;
        }
        if (n == 0) {
            peerClosed_.store(true);
            return 0;
        }
        // Acknowledge at once. A server that sends an answer in two segments (ser2net,
        // many converters: Nagle's rule on their side) holds the second until the
        // first is acknowledged, and a delayed acknowledgement costs 40 ms an answer.
        // Linux clears the flag again on its own, so it is set after every read.
        const int on = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
        if (!telnet_) {
            std::memcpy(data, chunk, static_cast<size_t>(n));
            return n;
        }
        QByteArray payload;
        {
            std::lock_guard lock(mutex_);
            VaTelnet::Session::Output out = session_.Feed(QByteArrayView(chunk, n));
            payload = std::move(out.data);
            if (!out.replies.isEmpty()) {
                tail_ += out.replies;
                FlushTail();
            }
        }
        if (!payload.isEmpty()) {
            std::memcpy(data, payload.constData(), static_cast<size_t>(payload.size()));
            return payload.size();
        }
        // Only commands came: look again, and an empty socket says would-block, never end.
    }
}

qint64 NetBackend::Read(char* data, qint64 max)
{
    if (!early_.isEmpty()) {
        const qint64 n = qMin<qint64>(max, early_.size());
        std::memcpy(data, early_.constData(), static_cast<size_t>(n));
        early_.remove(0, n);
        return n;
    }
    return Receive(data, max);
}

bool NetBackend::FlushTail()
{
    while (!tail_.isEmpty()) {
        const qint64 n = RetryEintr([&] {
            return static_cast<int>(
                ::send(fd_, tail_.constData(), static_cast<size_t>(tail_.size()), MSG_NOSIGNAL));
        });
        if (n > 0) {
            tail_.remove(0, n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        sendError_ = LossOnWrite(n < 0 ? errno : EPIPE);
        tail_.clear();
        break;
    }
    hasTail_.store(!tail_.isEmpty());
    return sendError_ == 0;
}

void NetBackend::SendControl(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    std::lock_guard lock(mutex_);
    tail_ += bytes;
    // A failure here is the reader's to find: the socket reports it there too.
    FlushTail();
}

qint64 NetBackend::Write(const char* data, qint64 count)
{
    std::lock_guard lock(mutex_);
    if (!FlushTail()) {
        VaOsDetail::SetLastError(sendError_);
        return -1;
    }
    if (!tail_.isEmpty()) {
        VaOsDetail::SetLastError(EAGAIN);
        return -1;
    }
    // A slice at a time, so that a full socket does not make us escape the whole queue again.
    const QByteArrayView raw(data, qMin<qint64>(count, 4096));
    const QByteArray encoded = telnet_ ? VaTelnet::Escape(raw) : QByteArray();
    const QByteArrayView out = telnet_ ? QByteArrayView(encoded) : raw;
    const qint64 n = RetryEintr([&] {
        return static_cast<int>(::send(fd_, out.data(), static_cast<size_t>(out.size()), MSG_NOSIGNAL));
    });
    if (n < 0) {
        const int error = errno == EWOULDBLOCK ? EAGAIN : errno;
        VaOsDetail::SetLastError(LossOnWrite(error));
        return -1;
    }
    if (!telnet_)
        return n;
    // The raw bytes count as taken once their encoding is out, or its second half queued here.
    bool halfPair = false;
    qsizetype taken = VaTelnet::Covered(raw, n, &halfPair);
    if (halfPair) {
        tail_ = QByteArray(1, char(VaTelnet::IAC));
        hasTail_.store(true);
        ++taken;
    }
    return taken;
}

bool NetBackend::SetState(const TVaDcb& dcb)
{
    if (!telnet_)
        return true; // the server's own settings hold for a raw line
    if (dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.BaudRate == 0) {
        VaOsDetail::SetLastError(EINVAL);
        return false;
    }
    VaTelnet::Line line;
    line.baud = dcb.BaudRate;
    line.dataSize = dcb.ByteSize;
    static constexpr quint8 parities[] = {VaTelnet::ParityNone, VaTelnet::ParityOdd, VaTelnet::ParityEven,
                                          VaTelnet::ParityMark, VaTelnet::ParitySpace};
    static constexpr quint8 stops[] = {VaTelnet::Stop1, VaTelnet::Stop15, VaTelnet::Stop2};
    if (dcb.Parity > SPACEPARITY || dcb.StopBits > TWOSTOPBITS) {
        VaOsDetail::SetLastError(EINVAL);
        return false;
    }
    line.parity = parities[dcb.Parity];
    line.stopSize = stops[dcb.StopBits];
    const bool hardware = dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE;
    line.flow = hardware                ? VaTelnet::FlowHardware
                : dcb.fOutX || dcb.fInX ? VaTelnet::FlowXonXoff
                                        : VaTelnet::FlowNone;
    QByteArray commands;
    {
        std::lock_guard lock(mutex_);
        commands = session_.RequestLine(line);
        commands += session_.RequestControl(dcb.fDtrControl == DTR_CONTROL_DISABLE ? VaTelnet::DtrOff
                                                                                   : VaTelnet::DtrOn);
        if (!hardware)
            commands += session_.RequestControl(dcb.fRtsControl == RTS_CONTROL_ENABLE ? VaTelnet::RtsOn
                                                                                      : VaTelnet::RtsOff);
    }
    SendControl(commands);
    return true;
}

bool NetBackend::LineFunction(int function)
{
    quint8 value = 0;
    switch (function) {
    case SETDTR:
        value = VaTelnet::DtrOn;
        break;
    case CLRDTR:
        value = VaTelnet::DtrOff;
        break;
    case SETRTS:
        value = VaTelnet::RtsOn;
        break;
    case CLRRTS:
        value = VaTelnet::RtsOff;
        break;
    default:
        VaOsDetail::SetLastError(EINVAL);
        return false;
    }
    if (!telnet_)
        return true;
    QByteArray command;
    {
        std::lock_guard lock(mutex_);
        command = session_.RequestControl(value);
    }
    // Never waited for: a server in front of a device without modem lines does not answer.
    SendControl(command);
    return true;
}

TVaOsPort::WaitResult NetBackend::Wait(bool forRead, bool forWrite, const TVaHandle* events, int eventCount,
                                       int timeoutMs)
{
    using Ready = TVaOsPort::Ready;
    constexpr int kMax = 4;
    const int n = qMin(eventCount, kMax);
    const auto deadline = Clock::now() + std::chrono::milliseconds(qMax(timeoutMs, 0));
    for (;;) {
        if (forRead && !early_.isEmpty())
            return {Ready::Device, -1};
        // Unsent Telnet replies go out as soon as there is room, whoever waits.
        const bool tail = hasTail_.load();
        pollfd fds[kMax + 1];
        fds[0] = {fd_,
                  static_cast<short>((forRead ? POLLIN | POLLRDHUP : 0) | (forWrite || tail ? POLLOUT : 0)),
                  0};
        for (int i = 0; i < n; ++i)
            fds[i + 1] = {events[i], POLLIN, 0};
        const int wait = timeoutMs < 0 ? -1 : RemainingMs(deadline);
        const int r = RetryEintr([&] { return ::poll(fds, static_cast<nfds_t>(n + 1), wait); });
        if (r < 0) {
            VaOsDetail::SetLastError(errno);
            return {Ready::Failed, -1};
        }
        if (r == 0)
            return {Ready::Timeout, -1};
        for (int i = 0; i < n; ++i) {
            if (fds[i + 1].revents & POLLIN)
                return {Ready::Event, i};
        }
        const short rev = fds[0].revents;
        // Data that came before the close is still read; the read then tells the loss.
        if ((rev & (POLLIN | POLLRDHUP)) && forRead)
            return {Ready::Device, -1};
        if (rev & (POLLHUP | POLLERR | POLLNVAL)) {
            const int error = SocketError(fd_);
            VaOsDetail::SetLastError(error != 0 ? error : EPIPE);
            return {Ready::Gone, -1};
        }
        if ((rev & POLLOUT) && forWrite)
            return {Ready::Device, -1};
        if (!(rev & POLLOUT) || !tail)
            return {Ready::Timeout, -1};
        std::lock_guard lock(mutex_);
        FlushTail();
    }
}

bool NetBackend::HungUp()
{
    if (peerClosed_.load())
        return true;
    pollfd p{fd_, POLLRDHUP, 0};
    if (::poll(&p, 1, 0) < 0)
        return false;
    return (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// Connects to one of the addresses before the deadline; the socket, or -1 with error set.
int Connect(const addrinfo* list, Clock::time_point deadline, int& error)
{
    error = ETIMEDOUT;
    for (const addrinfo* ai = list; ai; ai = ai->ai_next) {
        const int fd =
            ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) {
            error = errno;
            continue;
        }
        if (::connect(fd, ai->ai_addr, ai->ai_addrlen) == 0)
            return fd;
        if (errno != EINPROGRESS && errno != EINTR) {
            error = errno;
            ::close(fd);
            continue;
        }
        pollfd p{fd, POLLOUT, 0};
        const int r = PollUntil(p, deadline);
        if (r > 0) {
            const int result = SocketError(fd);
            if (result == 0)
                return fd;
            error = result;
        } else {
            error = r == 0 ? ETIMEDOUT : errno;
        }
        ::close(fd);
        if (r == 0)
            break; // no time left for the next address
    }
    return -1;
}

} // namespace

std::unique_ptr<TVaOsBackend> VaOsDetail::OpenNetLine(const VaOs::NetAddress& address, int& error,
                                                      QString* serverText)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    const QByteArray host = address.host.toUtf8();
    const QByteArray port = QByteArray::number(address.port);
    const int rc = ::getaddrinfo(host.constData(), port.constData(), &hints, &list);
    if (rc != 0) {
        error = rc == EAI_SYSTEM ? errno : VaOs::ResolverErrorBase + qAbs(rc);
        qCDebug(lcVaNetwork) << "no address for" << address.Shown() << ":" << error;
        return nullptr;
    }
    const auto started = Clock::now();
    const int fd = Connect(list, started + std::chrono::milliseconds(gConnectTimeoutMs.load()), error);
    ::freeaddrinfo(list);
    if (fd < 0) {
        qCDebug(lcVaNetwork) << "connect to" << address.Shown() << "failed:" << error;
        return nullptr;
    }
    const auto connectTime = Clock::now() - started;
    SetLineOptions(fd);
    const bool telnet = address.kind == VaOs::NetAddress::Kind::Rfc2217;
    auto line = std::make_unique<NetBackend>(fd, telnet);
    if (!line->Start(connectTime, error, serverText)) {
        qCDebug(lcVaNetwork) << "line at" << address.Shown() << "refused:" << error
                             << (serverText ? *serverText : QString());
        return nullptr;
    }
    qCDebug(lcVaNetwork)
        << (telnet ? "RFC 2217" : "raw TCP") << "line open at" << address.Shown() << "after"
        << std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started).count() << "us";
    return line;
}

QString VaOsDetail::NetErrorText(int code)
{
    if (code == VaOs::ServerRefusedLine)
        return QCoreApplication::translate("VaOsNet", "The server refused the line");
    if (code == VaOs::ServerClosedAtOnce)
        return QCoreApplication::translate("VaOsNet", "The server closed the connection");
    return QString::fromLocal8Bit(::gai_strerror(-(code - VaOs::ResolverErrorBase)));
}

namespace VaOs {

QString NetAddress::Shown() const
{
    const QString h = host.contains(u':') ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("%1:%2").arg(h).arg(port);
}

bool ParseNetAddress(const QString& name, NetAddress& address)
{
    address = {};
    static const QRegularExpression scheme(QStringLiteral("^(socket|rfc2217)://(.*)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression endpoint(
        QStringLiteral("^(?:\\[([^\\]]+)\\]|([^:\\[\\]/]+)):([0-9]{1,5})$"));
    const auto m = scheme.match(name);
    if (!m.hasMatch())
        return true;
    const auto e = endpoint.match(m.captured(2));
    const int port = e.hasMatch() ? e.captured(3).toInt() : 0;
    if (port < 1 || port > 65535)
        return false;
    address.kind = m.captured(1).compare(QLatin1String("socket"), Qt::CaseInsensitive) == 0
                       ? NetAddress::Kind::Raw
                       : NetAddress::Kind::Rfc2217;
    address.host = e.captured(1).isEmpty() ? e.captured(2) : e.captured(1);
    address.port = static_cast<quint16>(port);
    return true;
}

void SetNetConnectTimeout(int ms)
{
    gConnectTimeoutMs.store(qMax(ms, 1));
}

} // namespace VaOs
