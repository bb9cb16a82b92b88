#include "PtyPair.h"

#include <QCoreApplication>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point end)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for the descriptor; with pump, in short slices between which the main thread's
// events run.
bool WaitFd(int fd, short events, int timeoutMs, bool pump = false)
{
    if (pump) {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            QCoreApplication::processEvents();
            if (WaitFd(fd, events, qMin(MsLeft(end), 5)))
                return true;
            if (MsLeft(end) == 0)
                return false;
        }
    }
    pollfd p{fd, events, 0};
    for (;;) {
        const int r = poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR)
            continue;
        return r > 0 && (p.revents & events) != 0;
    }
}

} // namespace

PtyPair::PtyPair() : PtyPair(Options{}) {}

PtyPair::PtyPair(Options options)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0)
        return;
    char name[128] = {};
    if (grantpt(master_) != 0 || (options.unlock && unlockpt(master_) != 0) ||
        ptsname_r(master_, name, sizeof name) != 0) {
        ::close(master_);
        master_ = -1;
        return;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    if (options.raw) {
        termios t = SlaveTermios();
        cfmakeraw(&t);
        SetSlaveTermios(t);
    }
    if (options.observer && options.unlock)
        observer_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

PtyPair::~PtyPair()
{
    if (observer_ >= 0)
        ::close(observer_);
    CloseMaster();
}

bool PtyPair::WriteMaster(const QByteArray& bytes, int timeoutMs, bool pump)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return false;
        if (!WaitFd(master_, POLLOUT, MsLeft(end), pump))
            return false;
    }
    return true;
}

QByteArray PtyPair::ReadMaster(int count, int timeoutMs, bool pump)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    QByteArray out;
    char buf[4096];
    while (out.size() < count) {
        const ssize_t n = ::read(master_, buf, qMin<size_t>(sizeof buf, size_t(count - out.size())));
        if (n > 0) {
            out.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN)
            break;
        if (!WaitFd(master_, POLLIN, MsLeft(end), pump))
            break;
    }
    return out;
}

QByteArray PtyPair::DrainMaster(int windowMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(windowMs);
    QByteArray out;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            out.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN || MsLeft(end) == 0)
            break;
        WaitFd(master_, POLLIN, MsLeft(end), true);
    }
    return out;
}

termios PtyPair::SlaveTermios() const
{
    termios t{};
    tcgetattr(master_, &t);
    return t;
}

bool PtyPair::SetSlaveTermios(const termios& t)
{
    return tcsetattr(master_, TCSANOW, &t) == 0;
}

unsigned PtyPair::SlaveSpeed() const
{
    return TerminalSpeed(master_);
}

void PtyPair::CloseMaster()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}
