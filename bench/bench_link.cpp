// Figures of the window and the link: start-up time, idle CPU while logged in
// and polling, CPU while a wait runs into its time-out, peak memory.
// Real 100 ms ticks against the simulated controller paced at 4800 baud.
#include "BenchUtil.h"
#include "PromptRecorder.h"
#include "translations/Language.h"
#include "ui/Main.h"
#include "ui/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <vector>

namespace {

} // namespace

int main(int argc, char* argv[])
{
    const auto start = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    // bench_link [SECONDS] [--lang pl|en] [--via socket|rfc2217 [--ser2net-option LINE]]:
    // the idle figure through ser2net too; the rest stays on the pseudo-terminal.
    QStringList args = app.arguments().mid(1);
    QString lang;
    if (const qsizetype at = args.indexOf(QStringLiteral("--lang")); at >= 0 && at + 1 < args.size()) {
        lang = args.at(at + 1);
        args.remove(at, 2);
    }
    Via via;
    if (!via.Take(args) || (!lang.isEmpty() && !tq3::LanguageNamed(lang))) {
        std::fprintf(stderr, "usage: bench_link [SECONDS] [--lang pl|en] [--via pty|socket|rfc2217] "
                             "[--ser2net-option LINE]\n");
        return 2;
    }
    // As the program starts: the catalogues before the first widget.
    const auto catalogueStart = std::chrono::steady_clock::now();
    const tq3::Language language =
        tq3::ChooseLanguage(lang, qEnvironmentVariable("TQ3_LANG"), QLocale::system().uiLanguages());
    const bool catalogue = tq3::InstallLanguage(app, language);
    const double catalogueMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - catalogueStart).count();
    const int idleSeconds = args.isEmpty() ? 30 : args.first().toInt();
    std::printf("through %s\n", qPrintable(via.Describe()));

    QProcess sim;
    Ser2net server;
    const QString port = via.Reach(StartSim(sim, {}), server);
    if (port.isEmpty()) {
        std::fprintf(stderr, "bench_link: the simulated controller did not start\n");
        return 1;
    }

    PromptRecorder prompts;
    TMain::Options options;
    options.prompts = &prompts;
    options.port = port;
    auto window = std::make_unique<TMain>(options);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get(), 5000)) {
        std::fprintf(stderr, "bench_link: the window was not shown\n");
        return 1;
    }
    const double startMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    Figure("start to window shown", startMs, "ms", "under 300 ms");
    const char* const catalogueFigure = language == tq3::Language::English
                                            ? "of which choosing and loading the English catalogue"
                                            : "of which choosing Polish and loading Qt's Polish catalogue";
    Figure(catalogue ? catalogueFigure : "a catalogue NOT FOUND", catalogueMs, "ms",
           "a small share of the start");

    auto& f = window->Form();
    if (!LogIn(*window)) {
        std::fprintf(stderr, "bench_link: login failed: %s\n", qPrintable(prompts.log.join("; ")));
        return 1;
    }
    std::vector<std::chrono::steady_clock::time_point> polls;
    QObject::connect(&window->Link(), &tq3::DeviceLink::PollStarted,
                     [&] { polls.push_back(std::chrono::steady_clock::now()); });
    RunFor(1000);
    polls.clear();
    const double cpu0 = CpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    RunFor(idleSeconds * 1000);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double idleCpu = (CpuSeconds() - cpu0) / wall * 100.0;
    Figure("idle CPU, logged in and polling", idleCpu, "%", "under 1% of a core");
    if (polls.size() > 1)
        Figure("status poll period",
               std::chrono::duration<double>(polls.back() - polls.front()).count() / double(polls.size() - 1),
               "s", "1.5 s after the last exchange");
    if (!prompts.log.isEmpty() || f.Edit_logon->text() != TMain::tr("ZALOGOWANY"))
        std::fprintf(stderr, "bench_link: the link fell over while idle: %s\n",
                     qPrintable(prompts.log.join("; ")));

    // The chart window of a downloaded history: what it adds to the peak memory.
    f.ButtonPobierz->click();
    WaitUntil([&] { return f.trm->toPlainText().endsWith(QStringLiteral("Koniec historii")); }, 60000);
    const long beforeChart = PeakMemoryKb();
    f.WykresHistorii1->trigger();
    RunFor(500);
    Figure("peak memory added by the chart window", (PeakMemoryKb() - beforeChart) / 1024.0, "MB",
           "under 10 MB");

    // A wait that runs into its time-out: the controller goes quiet (the
    // process is stopped), the poll is written four times and gives up.
    server.Stop();
    sim.kill();
    sim.waitForFinished(3000);
    QProcess quiet;
    const QString quietPort = StartSim(quiet, {QStringLiteral("--silent")});
    window.reset();
    options.port = quietPort;
    window = std::make_unique<TMain>(options);
    window->show();
    auto& g = window->Form();
    const double cpu1 = CpuSeconds();
    const auto t1 = std::chrono::steady_clock::now();
    g.Button_polacz->click(); // returns once the login has timed out after four writes
    const double waitWall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t1).count();
    const double waitCpu = (CpuSeconds() - cpu1) / waitWall * 100.0;
    Figure("wait running into its time-out (login)", waitWall, "s", "4 x 10 ticks = 4 s");
    Figure("CPU during that wait", waitCpu, "%", "under 2% of a core");
    window.reset();
    StopSim(quiet);

    Figure("peak memory", PeakMemoryKb() / 1024.0, "MB", "under 60 MB");
    return 0;
}
