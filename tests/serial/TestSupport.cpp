#include "TestSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

int CountEntries(const char* dir)
{
    DIR* d = opendir(dir);
    if (!d)
        return -1;
    int n = 0;
    while (const dirent* e = readdir(d))
        if (e->d_name[0] != '.')
            ++n;
    closedir(d);
    return n;
}

} // namespace

void ApplyWindowSettings(TVaComm& comm)
{
    comm.SetPortNum(1);
    comm.SetBaudrate(br4800);
    comm.SetParity(paNone);
    comm.SetDatabits(db8);
    comm.SetStopbits(sb1);
}

void UsePty(TVaComm& comm, const PtyPair& pty)
{
    ApplyWindowSettings(comm);
    comm.SetDeviceName(pty.SlavePath());
}

bool CanLock(const QString& path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool locked = flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd); // also drops our lock
    return locked;
}

QString ExceptionText(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("<unknown exception>");
    }
}

int OpenFdCount()
{
    return CountEntries("/proc/self/fd") - 1; // less the directory's own descriptor
}

int ThreadCount()
{
    return CountEntries("/proc/self/task");
}

double CpuTimeMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

Watchdog::Watchdog(int timeoutMs, const char* what)
{
    thread_ = std::thread([this, timeoutMs, what] {
        std::unique_lock lock(mutex_);
        if (!cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return done_; })) {
            std::fprintf(stderr, "FAIL! deadlock: %s did not return within %d ms\n", what, timeoutMs);
            std::fflush(stderr);
            std::_Exit(3);
        }
    });
}

Watchdog::~Watchdog()
{
    {
        std::lock_guard lock(mutex_);
        done_ = true;
    }
    cv_.notify_all();
    thread_.join();
}

CommRecorder::CommRecorder(TVaComm& c) : comm(c)
{
    comm.OnOpen = [this](QObject*) { log << QStringLiteral("open"); };
    comm.OnClose = [this](QObject*) { log << QStringLiteral("close"); };
    comm.OnTxEmpty = [this](QObject*) { log << QStringLiteral("txempty"); };
    comm.OnError = [this](QObject*, quint32 flags) {
        log << QStringLiteral("error");
        errors << flags;
    };
    comm.OnRxChar = [this](QObject*, qint32 count) {
        log << QStringLiteral("rx");
        rxCounts << count;
        if (readInHandler)
            received += comm.ReadString();
    };
}

QByteArray AllByteValues()
{
    QByteArray b(256, 0);
    for (int i = 0; i < 256; ++i)
        b[i] = char(i);
    return b;
}

QByteArray Pattern(int size, int seed)
{
    QByteArray b(size, 0);
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + i / 251 + seed) & 0xFF);
    return b;
}
