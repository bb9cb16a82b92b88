#include "NetServer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in Loopback(quint16 port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    return a;
}

void Signal(int fd)
{
    const quint64 one = 1;
    [[maybe_unused]] const ssize_t r = ::write(fd, &one, sizeof one);
}

void Send(int fd, const QByteArray& bytes)
{
    [[maybe_unused]] const ssize_t r = ::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
}

} // namespace

QByteArray Bytes(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (const int b : bytes)
        out += char(b);
    return out;
}

QByteArray TelnetData(const QByteArray& in)
{
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (quint8(in[i]) != 0xFF)
            out += in[i];
        else if (i + 1 < in.size() && quint8(in[i + 1]) == 0xFF)
            out += in[++i];
        else if (i + 1 < in.size() && quint8(in[i + 1]) == 250) {
            const qsizetype end = in.indexOf(Bytes({255, 240}), i);
            if (end < 0)
                break;
            i = end + 1;
        } else
            i += 2;
    }
    return out;
}

int ListenOnLoopback(quint16& port, int backlog)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(0);
    socklen_t size = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(fd, backlog);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    port = ntohs(a.sin_port);
    return fd;
}

quint16 FreeLoopbackPort()
{
    quint16 port = 0;
    ::close(ListenOnLoopback(port));
    return port;
}

int ConnectToLoopback(quint16 port, bool nonBlocking)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
    const sockaddr_in a = Loopback(port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 && !nonBlocking) {
        ::close(fd);
        return -1;
    }
    return fd;
}

FakeServer::FakeServer(Kind kind)
    : kind_(kind), listen_(ListenOnLoopback(port_)), stop_(::eventfd(0, EFD_CLOEXEC)),
      drop_(::eventfd(0, EFD_CLOEXEC)), thread_([this] { Run(); })
{
}

FakeServer::~FakeServer()
{
    Signal(stop_);
    thread_.join();
    for (int fd : {listen_, stop_, drop_})
        ::close(fd);
}

QString FakeServer::Name(const char* scheme) const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(scheme).arg(port_);
}

QByteArray FakeServer::Received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

void FakeServer::Drop()
{
    Signal(drop_);
}

void FakeServer::Greet(int client)
{
    if (kind_ == TelnetQuiet)
        Send(client, Bytes({255, 253, 44, 255, 251, 0, 255, 253, 0, 255, 251, 3, 255, 253, 3}));
    else if (kind_ == TelnetRefuses)
        Send(client, Bytes({255, 254, 44, 255, 252, 0, 255, 254, 0}));
    else if (kind_ == ErrorText)
        Send(client, "Port already in use\r\n");
}

void FakeServer::Echo(int client, const char* bytes, qsizetype n)
{
    if (kind_ == EchoRaw) {
        Send(client, QByteArray(bytes, n));
        return;
    }
    // Whole Telnet units only, escaped again.
    pending_.append(bytes, n);
    qsizetype cut = pending_.size();
    while (cut > 0 && quint8(pending_[cut - 1]) == 0xFF)
        --cut;
    if ((pending_.size() - cut) % 2 != 0 ||
        pending_.lastIndexOf(Bytes({255, 250})) > pending_.lastIndexOf(Bytes({255, 240})))
        return;
    Send(client, TelnetData(std::exchange(pending_, {})).replace(Bytes({255}), Bytes({255, 255})));
}

void FakeServer::Run()
{
    int client = -1;
    auto hangUp = [&] {
        if (client >= 0)
            ::close(client);
        client = -1;
    };
    for (;;) {
        pollfd fds[4] = {{stop_, POLLIN, 0}, {drop_, POLLIN, 0}, {listen_, POLLIN, 0}, {client, POLLIN, 0}};
        if (::poll(fds, client >= 0 ? 4 : 3, -1) < 0)
            continue;
        if (fds[0].revents)
            break;
        if (fds[1].revents) {
            quint64 v;
            [[maybe_unused]] const ssize_t r = ::read(drop_, &v, sizeof v);
            hangUp();
        }
        if (fds[2].revents & POLLIN) {
            hangUp();
            client = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            Greet(client);
            if (kind_ == ErrorText || kind_ == CloseAtOnce)
                hangUp();
            continue;
        }
        if (client >= 0 && fds[3].revents) {
            char buf[4096];
            const ssize_t n = ::recv(client, buf, sizeof buf, 0);
            if (n <= 0) {
                hangUp();
                continue;
            }
            {
                std::lock_guard lock(mutex_);
                received_.append(buf, n);
            }
            Echo(client, buf, n);
        }
    }
    hangUp();
}
