#include "Terminal.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace tq3ctl {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int)
{
    interrupted = 1;
}

} // namespace

bool StdinIsTerminal()
{
    return ::isatty(STDIN_FILENO) == 1;
}

bool StderrIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

std::optional<QByteArray> ReadHiddenLine(const char* prompt)
{
    termios saved{};
    const bool terminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL; // the Enter still moves to the next line
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    // Only once the echo is off: whatever is typed after the prompt stays hidden.
    std::fputs(prompt, stderr);
    std::fflush(stderr);
    // Byte by byte, so that nothing after the line is taken from the input.
    QByteArray line;
    bool ended = false;
    for (;;) {
        char c = 0;
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n < 0 && errno == EINTR && !interrupted)
            continue;
        if (n <= 0) {
            ended = true;
            break;
        }
        if (c == '\n')
            break;
        line.append(c);
    }
    if (terminal)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    if (ended || interrupted) {
        std::fputc('\n', stderr);
        return std::nullopt;
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

void InstallInterruptHandler()
{
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read of the password returns at once.
    for (const int signal : {SIGINT, SIGTERM})
        ::sigaction(signal, &action, nullptr);
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, nullptr);
}

bool Interrupted()
{
    return interrupted != 0;
}

} // namespace tq3ctl
