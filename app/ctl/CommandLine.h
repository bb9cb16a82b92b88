#pragma once
// tq3ctl's command line: the commands, their options, the exit codes and the
// help texts. Parsing looks at nothing but the arguments and the environment
// it is given, and sends or opens nothing.
#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <optional>

namespace tq3ctl {

// Scripts tell the failures apart by these; --help and the README list them.
enum ExitCode : int
{
    ExitOk = 0,
    ExitDifferent = 1, // diff: the controller and the file differ
    ExitUsage = 2,
    ExitPort = 3,          // the port cannot be opened
    ExitNoAnswer = 4,      // the controller (or its bootloader) did not answer
    ExitPassword = 5,      // the controller refused the password
    ExitFile = 6,          // the input file was refused; nothing was sent
    ExitVerify = 7,        // write: what was read back differs from the file
    ExitOutput = 8,        // the output file could not be written
    ExitShortHistory = 9,  // history: the end came with fewer records than announced
    ExitInterrupted = 130, // Ctrl+C (or SIGTERM), as shells report it
};

enum class Command
{
    None,
    Ports,
    Status,
    Read,
    Write,
    Diff,
    Show,
    History,
    EraseHistory,
    SetClock,
    Restart,
    ResetCounters,
    SetPassword,
    Firmware,
    Plot,
};

// The sides a chart may have, in pixels.
inline constexpr int MinPlotSide = 200, MaxPlotSide = 10000;

struct CommandLine
{
    Command command = Command::None;
    QString port;                       // -p, else TQ3_PORT
    std::optional<QByteArray> password; // -P, else TQ3_PASSWORD, in code page 1250
    QString file;                       // the .tcf or .tfr file
    QByteArray newPassword;             // set-password, in code page 1250
    QString output;                     // history -o
    bool json = false;
    bool watch = false;
    bool csv = false;
    bool csvPl = false; // history: the CSV for Polish spreadsheets
    QString plot;       // history --plot: the chart's file (.png, .svg, .pdf)
    QString config;     // history --plot, plot: a .tcf whose alarm limits and interval the chart draws
    int plotWidth = 0, plotHeight = 0; // --size; 0: the default, A4 landscape
    bool quiet = false;
    bool verbose = false; // the layers' traces on standard error
    bool help = false;    // general help, or the command's when one is named
    bool version = false;
    std::optional<QString> language; // --lang as given: "pl" or "en", else an error
    QString error;                   // a usage error, in the installed language; the command is not to run
};

CommandLine ParseCommandLine(const QStringList& arguments, const QProcessEnvironment& environment);

// The command's help; the general one (every command, the options, the exit
// codes, the environment) for Command::None.
QString HelpText(Command command);
QString CommandName(Command command);
// Whether the command talks to a controller (and so needs a port and a password).
bool NeedsController(Command command);

// A password as the login sends it; an error text when it cannot go in one
// frame or holds characters that code page 1250 has not.
struct PasswordCheck
{
    QByteArray bytes;
    QString error;
};
PasswordCheck CheckPassword(const QString& text);

} // namespace tq3ctl
