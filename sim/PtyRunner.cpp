#include "PtyRunner.h"

#include "LinePacer.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace tq3sim {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// While nobody holds the slave open, look again this often instead of spinning on POLLHUP.
constexpr auto NoClientRetry = 50ms;
// How long a hang-up waits for the client to read the last answer before closing the line.
constexpr auto DrainLimit = 2s;
constexpr auto DrainCheck = 10ms;

QString osError(const char* call, int error)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(call), QString::fromLocal8Bit(std::strerror(error)));
}

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

timespec toTimespec(std::chrono::nanoseconds d)
{
    if (d < 0ns)
        d = 0ns;
    const auto secs = std::chrono::duration_cast<std::chrono::seconds>(d);
    return timespec{static_cast<time_t>(secs.count()), static_cast<long>((d - secs).count())};
}

// Waits on the stop event alone; true when stop was asked.
bool stopRequested(int stopEvent, std::chrono::milliseconds wait)
{
    pollfd fd{stopEvent, POLLIN, 0};
    const int rc = ::poll(&fd, 1, static_cast<int>(wait.count()));
    return rc > 0 && (fd.revents & POLLIN);
}

} // namespace

PtyRunner::PtyRunner(ControllerOptions controller, RunnerOptions runner)
    : options_(std::move(runner)), model_(std::move(controller))
{
}

PtyRunner::~PtyRunner()
{
    stop();
}

bool PtyRunner::fail(const QString& what)
{
    error_ = what;
    closeDescriptors();
    return false;
}

void PtyRunner::closeDescriptors()
{
    closeFd(master_);
    closeFd(observer_);
    closeFd(stopEvent_);
    closeFd(logFd_);
}

bool PtyRunner::openLine(int& master, int& observer, QString& slave, QString& error)
{
    const int m = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m < 0) {
        error = osError("posix_openpt", errno);
        return false;
    }
    auto failed = [&](const char* call, int code) {
        error = osError(call, code);
        ::close(m);
        return false;
    };
    if (::grantpt(m) != 0)
        return failed("grantpt", errno);
    if (::unlockpt(m) != 0)
        return failed("unlockpt", errno);
    char name[128] = {};
    if (const int rc = ::ptsname_r(m, name, sizeof name); rc != 0)
        return failed("ptsname_r", rc);

    // The master's termios calls act on the slave: make it raw before any client opens it,
    // or it would echo and translate the controller's bytes.
    termios tio{};
    if (::tcgetattr(m, &tio) != 0)
        return failed("tcgetattr", errno);
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, B4800);
    ::cfsetospeed(&tio, B4800);
    if (::tcsetattr(m, TCSANOW, &tio) != 0)
        return failed("tcsetattr", errno);

    const int o = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (o < 0)
        return failed("open slave", errno);
    master = m;
    observer = o;
    slave = QString::fromLocal8Bit(name);
    return true;
}

bool PtyRunner::linkTo(const QString& slave, QString& error)
{
    if (options_.linkPath.isEmpty())
        return true;
    const QByteArray link = QFile::encodeName(options_.linkPath);
    // Replace a link of an earlier line or run, but never a file that is not a link.
    const QByteArray fresh = link + ".new";
    for (const QByteArray& name : {link, fresh}) {
        struct stat st = {};
        if (::lstat(name.constData(), &st) == 0 && !S_ISLNK(st.st_mode)) {
            error = osError("symlink", EEXIST);
            return false;
        }
    }
    // Renamed over the old one, so that a client never finds the name missing.
    ::unlink(fresh.constData());
    if (::symlink(QFile::encodeName(slave).constData(), fresh.constData()) != 0) {
        error = osError("symlink", errno);
        return false;
    }
    if (::rename(fresh.constData(), link.constData()) != 0) {
        error = osError("rename link", errno);
        ::unlink(fresh.constData());
        return false;
    }
    linkMade_ = options_.linkPath;
    return true;
}

bool PtyRunner::start()
{
    if (thread_.joinable() || master_ >= 0)
        return fail(QStringLiteral("already started"));
    error_.clear();

    QString slave;
    if (!openLine(master_, observer_, slave, error_))
        return fail(error_);
    slavePath_ = slave;
    stopEvent_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopEvent_ < 0)
        return fail(osError("eventfd", errno));

    if (!options_.logPath.isEmpty()) {
        logFd_ = ::open(QFile::encodeName(options_.logPath).constData(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (logFd_ < 0)
            return fail(osError("open log", errno));
    }
    if (!linkTo(slavePath_, error_))
        return fail(error_);

    startedAt_ = Clock::now();
    running_ = true;
    thread_ = std::thread(&PtyRunner::run, this);
    return true;
}

void PtyRunner::stop()
{
    if (thread_.joinable()) {
        const quint64 one = 1;
        [[maybe_unused]] const ssize_t rc = ::write(stopEvent_, &one, sizeof one);
        thread_.join();
    }
    running_ = false;
    closeDescriptors();
    if (!linkMade_.isEmpty()) {
        // Only our own link goes: another run may have taken the name meanwhile.
        if (QFileInfo(linkMade_).symLinkTarget() == QFileInfo(slavePath_).absoluteFilePath())
            ::unlink(QFile::encodeName(linkMade_).constData());
        linkMade_.clear();
    }
}

SimTime PtyRunner::elapsed() const
{
    return std::chrono::duration_cast<SimTime>(Clock::now() - startedAt_);
}

void PtyRunner::writeLog(const std::vector<ReceivedFrame>& frames)
{
    if (logFd_ < 0)
        return;
    QByteArray text;
    for (const ReceivedFrame& frame : frames)
        text += formatLogLine(frame);
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(logFd_, text.constData() + done, static_cast<size_t>(text.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            std::lock_guard lock(mutex_);
            lineErrors_.push_back(osError("write log", errno));
            closeFd(logFd_);
            return;
        }
        done += n;
    }
}

void PtyRunner::drainBeforeHangup()
{
    // Bytes still queued when the master closes are lost; wait until the client has read
    // them, seen through our own slave descriptor, within a bound.
    const auto limit = Clock::now() + DrainLimit;
    int quietChecks = 0;
    while (Clock::now() < limit && quietChecks < 2) {
        if (stopRequested(stopEvent_, DrainCheck))
            return;
        int queued = 0;
        if (::ioctl(observer_, FIONREAD, &queued) != 0)
            return;
        quietChecks = queued == 0 ? quietChecks + 1 : 0;
    }
}

bool PtyRunner::reopenLine()
{
    int master = -1;
    int observer = -1;
    QString slave;
    QString error;
    if (!openLine(master, observer, slave, error) || !linkTo(slave, error)) {
        closeFd(master);
        closeFd(observer);
        std::lock_guard lock(mutex_);
        lineErrors_.push_back(error);
        return false;
    }
    // The client sees its hang-up only now, with the link already on the new line.
    closeFd(master_);
    closeFd(observer_);
    master_ = master;
    observer_ = observer;
    {
        std::lock_guard lock(mutex_);
        slavePath_ = slave;
        model_.lineRestored();
    }
    ++reconnects_;
    return true;
}

void PtyRunner::run()
{
    LinePacer pacer(options_.baud, options_.pacing);
    quint64 framesLogged = 0;
    bool noClient = false;
    bool blocked = false;
    bool stopping = false;
    char buffer[4096];
    // With pacing, what the PC writes also reaches the controller at the line's
    // speed: a pseudo-terminal would hand it over at once.
    const LinePacer::Time byteTime{10'000'000'000LL / std::max(1, options_.baud)};
    QByteArray inbound;
    LinePacer::Time inboundBase{}; // when the byte before inbound[0] was complete

    const auto paceTime = [this] {
        return std::chrono::duration_cast<LinePacer::Time>(Clock::now() - startedAt_);
    };

    while (!stopping) {
        // How long to sleep: until the next paced byte, the model's next deadline, or input.
        std::optional<std::chrono::nanoseconds> wait;
        auto shorten = [&wait](std::chrono::nanoseconds d) { wait = wait ? std::min(*wait, d) : d; };
        const LinePacer::Time now = paceTime();
        if (noClient)
            shorten(NoClientRetry);
        if (!blocked) {
            if (std::optional<LinePacer::Time> due = pacer.nextDue(now))
                shorten(*due - now);
        }
        bool streamWaiting = false;
        std::optional<SimTime> deadline;
        {
            std::lock_guard lock(mutex_);
            streamWaiting = pacer.empty() && model_.streaming();
            deadline = model_.nextDeadline();
        }
        if (streamWaiting)
            shorten(0ns);
        if (!inbound.isEmpty())
            shorten(std::max(LinePacer::Time{}, inboundBase + byteTime - now));
        if (deadline)
            shorten(*deadline - std::chrono::duration_cast<SimTime>(now) + 1ms);

        // Without a client the master reports POLLHUP whatever we ask, so leave it out for a while.
        pollfd fds[2] = {{noClient ? -1 : master_, static_cast<short>(POLLIN | (blocked ? POLLOUT : 0)), 0},
                         {stopEvent_, POLLIN, 0}};
        timespec ts{};
        if (wait)
            ts = toTimespec(*wait);
        const int rc = ::ppoll(fds, 2, wait ? &ts : nullptr, nullptr);
        if (rc < 0 && errno != EINTR) {
            std::lock_guard lock(mutex_);
            lineErrors_.push_back(osError("ppoll", errno));
            break;
        }
        ++wakeups_;
        if (fds[1].revents & POLLIN)
            break;

        QByteArray input;
        noClient = false;
        if (fds[0].revents & (POLLHUP | POLLERR))
            noClient = true; // nobody has the slave open; a client may come later
        if (fds[0].revents & POLLIN) {
            for (;;) {
                const ssize_t n = ::read(master_, buffer, sizeof buffer);
                if (n > 0) {
                    input.append(buffer, n);
                    continue;
                }
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0 && errno == EIO)
                    noClient = true;
                break;
            }
        }
        if (fds[0].revents & POLLOUT)
            blocked = false;

        if (options_.pacing) {
            const LinePacer::Time at = paceTime();
            if (!input.isEmpty()) {
                if (inbound.isEmpty())
                    inboundBase = std::max(inboundBase, at);
                inbound += input;
            }
            const qint64 complete = std::min<qint64>(inbound.size(), (at - inboundBase) / byteTime);
            input = inbound.left(complete);
            inbound.remove(0, complete);
            inboundBase += complete * byteTime;
        }

        std::vector<ReceivedFrame> newFrames;
        bool hangup = false;
        {
            std::lock_guard lock(mutex_);
            if (input.isEmpty())
                model_.advanceTo(elapsed());
            else
                model_.receiveAt(elapsed(), input);
            const auto put = [&](LineWrite&& write) {
                if (write.pauseAt > 0 && write.pauseAt < write.bytes.size()) {
                    pacer.enqueue(write.bytes.left(write.pauseAt), paceTime());
                    write.bytes.remove(0, write.pauseAt);
                    pacer.enqueue(std::move(write.bytes), paceTime(), write.pause);
                } else {
                    pacer.enqueue(std::move(write.bytes), paceTime());
                }
            };
            for (LineWrite& write : model_.takeLineWrites())
                put(std::move(write));
            hangup = model_.hangupRequested();
            // The next record only when the line is idle, after any answer just queued.
            if (pacer.empty() && !hangup)
                put(model_.nextStreamLineWrite());
            // Frames the model no longer keeps are missing from the log.
            const std::vector<ReceivedFrame>& frames = model_.frames();
            const auto fresh = static_cast<std::ptrdiff_t>(
                std::min<quint64>(model_.frameCount() - framesLogged, frames.size()));
            newFrames.assign(frames.end() - fresh, frames.end());
            framesLogged = model_.frameCount();
        }
        writeLog(newFrames);

        while (!blocked) {
            const QByteArrayView out = pacer.writable(paceTime());
            if (out.isEmpty())
                break;
            const ssize_t n = ::write(master_, out.data(), static_cast<size_t>(out.size()));
            if (n > 0) {
                pacer.consumed(n, paceTime());
                // Unpaced, one element per pass, so that input is looked at between records.
                if (!pacer.pacing() && out.size() == n)
                    break;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                blocked = true;
                break;
            }
            // The line refuses the bytes for good: drop them rather than retry for ever.
            std::lock_guard lock(mutex_);
            lineErrors_.push_back(osError("write", n < 0 ? errno : EIO));
            pacer.clear();
        }

        if (hangup && pacer.empty()) {
            drainBeforeHangup();
            bool brief = false;
            {
                std::lock_guard lock(mutex_);
                brief = model_.hangupIsBrief();
            }
            if (brief && reopenLine()) {
                noClient = false;
                blocked = false;
                inbound.clear();
                continue;
            }
            closeFd(master_);
            closeFd(observer_);
            hungUp_ = true;
            stopping = true;
        }
    }
    running_ = false;
}

QString PtyRunner::slavePath() const
{
    std::lock_guard lock(mutex_);
    return slavePath_;
}

int PtyRunner::protocolErrors() const
{
    std::lock_guard lock(mutex_);
    return model_.protocolErrors();
}

std::optional<ProtocolError> PtyRunner::lastProtocolError() const
{
    std::lock_guard lock(mutex_);
    return model_.lastProtocolError();
}

FaultCounts PtyRunner::faultsInjected() const
{
    std::lock_guard lock(mutex_);
    return model_.faultsInjected();
}

std::vector<ReceivedFrame> PtyRunner::frames() const
{
    std::lock_guard lock(mutex_);
    return model_.frames();
}

QByteArray PtyRunner::setting(int readCode) const
{
    std::lock_guard lock(mutex_);
    return model_.setting(readCode);
}

QByteArray PtyRunner::bootImage() const
{
    std::lock_guard lock(mutex_);
    return model_.bootImage();
}

std::vector<QString> PtyRunner::errors() const
{
    std::lock_guard lock(mutex_);
    std::vector<QString> all = model_.errors();
    all.insert(all.end(), lineErrors_.begin(), lineErrors_.end());
    return all;
}

} // namespace tq3sim
