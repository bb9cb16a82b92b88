#pragma once
// tq3ctl run as a process, as an installer's shell runs it, against the
// simulated controller on a pseudo-terminal.
#include "PtyRunner.h"
#include "config/CodePage1250.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <memory>

struct CtlRun
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// Ticks of 20 ms: a 10-tick wait gives up after 4 x 200 ms, long enough on a
// loaded machine, short enough for the tests of silence. Polish, the texts'
// own language, whatever the machine's languages are.
inline QProcessEnvironment CtlEnvironment(const QMap<QString, QString>& extra = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("TQ3_PORT"));
    env.remove(QStringLiteral("TQ3_PASSWORD"));
    env.insert(QStringLiteral("TQ3_LANG"), QStringLiteral("pl"));
    env.insert(QStringLiteral("TQ3CTL_TICK_MS"), QStringLiteral("20"));
    // The network lines tq3ctl remembers go to a folder of the test's own.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"),
               QDir::temp().filePath(
                   QStringLiteral("tq3ctl-test-config-%1").arg(QCoreApplication::applicationPid())));
    for (auto it = extra.begin(); it != extra.end(); ++it)
        env.insert(it.key(), it.value());
    return env;
}

inline void PrepareCtl(QProcess& p, const QStringList& args, const QMap<QString, QString>& env = {})
{
    p.setProgram(QStringLiteral(TQ3CTL_PATH));
    p.setArguments(args);
    p.setProcessEnvironment(CtlEnvironment(env));
    p.setStandardInputFile(QProcess::nullDevice()); // no terminal: nothing is asked
}

inline CtlRun RunCtl(const QStringList& args, const QMap<QString, QString>& env = {})
{
    QProcess p;
    PrepareCtl(p, args, env);
    p.start();
    CtlRun run;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}

// An unpaced simulated controller whose history stays as it was made: its
// modem comes up too late to add a record during a test.
inline std::unique_ptr<tq3sim::PtyRunner> StartSim(tq3sim::ControllerOptions controller = {})
{
    controller.modemStep = std::chrono::hours(1);
    tq3sim::RunnerOptions runner;
    runner.pacing = false;
    auto sim = std::make_unique<tq3sim::PtyRunner>(controller, runner);
    if (!sim->start())
        return nullptr;
    return sim;
}

// The codes of the frames the controller received, in order.
inline QList<int> FrameCodes(const tq3sim::PtyRunner& sim)
{
    QList<int> codes;
    for (const auto& frame : sim.frames())
        codes << frame.code;
    return codes;
}

inline QByteArray Cp(const char* utf8)
{
    return tq3::ToCp1250(QString::fromUtf8(utf8));
}

// Settings with something unusual in every kind of item: a preset SMS centre,
// Polish letters, the SMS filter, a threshold below zero, a negative
// correction, a call flag of 2 (which the window saves as 1).
inline tq3sim::ControllerOptions UnusualController()
{
    tq3sim::ControllerOptions c;
    c.settings = {
        {4, "1234"},
        {6, QByteArray("+48602951111") + '\0'},
        {8, "+48601234567"},
        {16, Cp("Brak 230V – żółć")},
        {20, Cp("Zasilanie wróciło")},
        {26, "STAN"},
        {28, "\x85"},
        {30, QByteArray("\x7f\x96")},
        {32, "\x86"},
        {34, "\x0f"},
        {36, QByteArray(40, 'B')},
        {40, "\x02"},
        {42, "\x03"},
    };
    return c;
}
