#pragma once

#include "PtyRunner.h"
#include "SimOptions.h"

#include <QString>
#include <QStringList>

namespace tq3sim {

struct CommandLine
{
    ControllerOptions controller;
    RunnerOptions runner;
    bool help = false;
    QString error; // set when the arguments cannot be used
};

// arguments[0] is the program name, as QCoreApplication::arguments() gives it.
CommandLine parseCommandLine(const QStringList& arguments);
QString usageText();

} // namespace tq3sim
