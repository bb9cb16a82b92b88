#pragma once
// Running a tq3ctl command line: the inputs checked before anything is sent,
// then the port, the login, the command and the logout.
#include <QProcessEnvironment>
#include <QStringList>
#include <chrono>

namespace tq3ctl {

struct CommandLine;
class Console;

struct RunOptions
{
    // The link's tick; the pauses of the history request and of the firmware
    // transfer are counted in ticks too, so a short tick shortens them all.
    std::chrono::milliseconds tick{100};
};

// The options from the environment: TQ3CTL_TICK_MS (1..1000) for tests.
RunOptions RunOptionsFrom(const QProcessEnvironment& environment);

int RunCommand(const CommandLine& commandLine, Console& console, const RunOptions& options);

// The whole program after the application object: parse, help, version, run.
int Main(const QStringList& arguments, const QProcessEnvironment& environment);

} // namespace tq3ctl
