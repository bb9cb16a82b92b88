#include "PtyRunner.h"
#include "SimCommandLine.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <ctime>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const tq3sim::CommandLine cl = tq3sim::parseCommandLine(QCoreApplication::arguments());
    if (cl.help) {
        std::fputs(qPrintable(tq3sim::usageText()), stdout);
        return 0;
    }
    if (!cl.error.isEmpty()) {
        std::fprintf(stderr, "tq3sim: %s\n%s", qPrintable(cl.error), qPrintable(tq3sim::usageText()));
        return 2;
    }

    // Block the stop signals before the line thread exists, so that it inherits the mask and
    // only this thread takes them, with sigtimedwait. A shell starts background jobs with SIGINT
    // ignored, and an ignored signal never arrives: give both a handler first.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    struct sigaction action = {};
    action.sa_handler = [](int) {};
    for (int signal : {SIGINT, SIGTERM}) {
        sigaddset(&stopSignals, signal);
        sigaction(signal, &action, nullptr);
    }
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    tq3sim::PtyRunner runner(cl.controller, cl.runner);
    if (!runner.start()) {
        std::fprintf(stderr, "tq3sim: %s\n", qPrintable(runner.errorString()));
        return 1;
    }
    std::printf("tq3sim: %s\n", qPrintable(runner.slavePath()));
    if (!cl.runner.linkPath.isEmpty())
        std::printf("tq3sim: link %s\n", qPrintable(cl.runner.linkPath));
    std::fflush(stdout);

    // A hang-up ends the line thread by itself; look for that between signals.
    const timespec tick{0, 200'000'000};
    while (runner.isRunning()) {
        if (sigtimedwait(&stopSignals, nullptr, &tick) > 0)
            break;
    }
    const bool hungUp = runner.hungUp();
    runner.stop();
    if (hungUp)
        std::fprintf(stderr, "tq3sim: line hung up\n");
    return 0;
}
