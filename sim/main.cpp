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

    tq3sim::ControllerOptions controller = cl.controller;
    controller.framesKept = 1000; // the frames are only wanted for the log, which has them
    tq3sim::PtyRunner runner(controller, cl.runner);
    if (!runner.start()) {
        std::fprintf(stderr, "tq3sim: %s\n", qPrintable(runner.errorString()));
        return 1;
    }
    std::printf("tq3sim: %s\n", qPrintable(runner.slavePath()));
    if (!cl.runner.linkPath.isEmpty())
        std::printf("tq3sim: link %s\n", qPrintable(cl.runner.linkPath));
    std::fflush(stdout);

    // A hang-up ends the line thread by itself; look for that between signals, and tell what
    // went wrong as it comes.
    const timespec tick{0, 200'000'000};
    size_t errorsShown = 0;
    int reconnectsShown = 0;
    auto report = [&] {
        const std::vector<QString> errors = runner.errors();
        for (; errorsShown < errors.size(); ++errorsShown)
            std::fprintf(stderr, "tq3sim: %s\n", qPrintable(errors[errorsShown]));
        for (; reconnectsShown < runner.reconnects(); ++reconnectsShown)
            std::fprintf(stderr, "tq3sim: line hung up, back on %s\n", qPrintable(runner.slavePath()));
    };
    while (runner.isRunning()) {
        if (sigtimedwait(&stopSignals, nullptr, &tick) > 0)
            break;
        report();
    }
    const bool hungUp = runner.hungUp();
    runner.stop();
    report();
    if (hungUp)
        std::fprintf(stderr, "tq3sim: line hung up\n");
    if (const int errors = runner.protocolErrors(); errors > 0)
        std::fprintf(stderr, "tq3sim: %d protocol errors, the last: %s\n", errors,
                     qPrintable(runner.lastProtocolError()->describe()));
    if (const int pauses = runner.inspect([](const auto& m) { return m.pausesMade(); }); pauses > 0)
        std::fprintf(stderr, "tq3sim: paused inside %d answers\n", pauses);
    if (cl.controller.faults.randomRate > 0) {
        const tq3sim::FaultCounts faults = runner.faultsInjected();
        QStringList parts;
        for (int k = 0; k < tq3sim::FaultKindCount; ++k)
            parts << QStringLiteral("%1 %2")
                         .arg(QLatin1String(tq3sim::faultKindName(tq3sim::FaultKind(k))))
                         .arg(faults[size_t(k)]);
        std::fprintf(stderr, "tq3sim: random faults: %s\n", qPrintable(parts.join(QStringLiteral(", "))));
    }
    return 0;
}
