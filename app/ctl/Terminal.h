#pragma once
// What tq3ctl needs of the terminal and of signals; the one file that talks to
// the operating system about them.
#include <QByteArray>
#include <optional>

namespace tq3ctl {

bool StdinIsTerminal();
bool StderrIsTerminal();

// Reads one line from standard input with its echo turned off, the prompt
// written to standard error. Nullopt on end of input or an interrupt; the
// terminal's settings are back as they were in either case.
std::optional<QByteArray> ReadHiddenLine(const char* prompt);

// Ctrl+C and SIGTERM set a flag instead of ending the program, so that a
// command can stop where it is safe to and log out; a broken pipe on the
// output becomes an error of the write rather than the end of the program.
void InstallInterruptHandler();
bool Interrupted();

} // namespace tq3ctl
