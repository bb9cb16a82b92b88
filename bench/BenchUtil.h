#pragma once
// Shared by the benchmarks: the simulated controller as a separate process (so
// that its CPU time is not counted as ours), CPU and memory figures.
#include "NetServer.h"
#include "Ser2netServer.h"
#include "ui/Main.h"
#include "ui/MainForm.h"
#include <QCoreApplication>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

inline double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

inline long PeakMemoryKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// Starts tq3sim with the arguments; returns its device path, or empty.
inline QString StartSim(QProcess& sim, const QStringList& args)
{
    sim.setProgram(QStringLiteral(TQ3SIM_PATH));
    sim.setArguments(args);
    sim.setProcessChannelMode(QProcess::SeparateChannels);
    sim.start();
    if (!sim.waitForStarted(5000))
        return {};
    QElapsedTimer t;
    t.start();
    QByteArray out;
    while (t.elapsed() < 5000) {
        sim.waitForReadyRead(100);
        out += sim.readAllStandardOutput();
        const auto m = QRegularExpression(QStringLiteral("tq3sim: (\\S+)")).match(QString::fromUtf8(out));
        if (m.hasMatch())
            return m.captured(1);
    }
    return {};
}

inline void StopSim(QProcess& sim)
{
    sim.terminate();
    if (!sim.waitForFinished(3000))
        sim.kill();
}

// Where a benchmark reaches the simulated controller: its pseudo-terminal, or Debian's
// ser2net on loopback in front of it ("--via socket" or "--via rfc2217"), with one
// line of ser2net's connection options if given ("--ser2net-option 'chardelay: false'").
struct Via
{
    QString scheme; // empty: the pseudo-terminal itself
    QString option;
    // Takes the two options out of the arguments; false on a scheme it does not know.
    bool Take(QStringList& args)
    {
        for (int i = 0; i + 1 < args.size();) {
            if (args[i] == QLatin1String("--via") || args[i] == QLatin1String("--ser2net-option")) {
                (args[i] == QLatin1String("--via") ? scheme : option) = args[i + 1];
                args.remove(i, 2);
            } else {
                ++i;
            }
        }
        if (scheme == QLatin1String("pty"))
            scheme.clear();
        return scheme.isEmpty() || scheme == QLatin1String("socket") || scheme == QLatin1String("rfc2217");
    }
    QString Describe() const
    {
        if (scheme.isEmpty())
            return QStringLiteral("the pseudo-terminal");
        return QStringLiteral("ser2net on loopback, ") + scheme + QStringLiteral("://") +
               (option.isEmpty() ? QString() : QStringLiteral(", ") + option);
    }
    // The name to open for the device: the device itself, or a ser2net accepter in front of it.
    QString Reach(const QString& device, Ser2net& server) const
    {
        if (scheme.isEmpty() || device.isEmpty())
            return device;
        const Accepter a{scheme == QLatin1String("rfc2217"), FreeLoopbackPort(), device};
        return server.Start({a}, option) ? a.Name() : QString();
    }
};

inline void Figure(const char* name, double value, const char* unit, const char* goal)
{
    std::printf("%-44s %10.3f %-6s (goal: %s)\n", name, value, unit, goal);
    std::fflush(stdout);
}

// Runs the event loop for a while.
inline void RunFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until done() holds, looking every step ms, for at most ms.
inline bool WaitUntil(const std::function<bool()>& done, int ms, int step = 5)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        RunFor(step);
    return done();
}

// Clicks POŁĄCZ and waits for the login; false when it does not come.
inline bool LogIn(TMain& window)
{
    window.Form().Button_polacz->click();
    return WaitUntil([&] { return window.Form().Edit_logon->text() == TMain::tr("ZALOGOWANY"); }, 10000);
}
