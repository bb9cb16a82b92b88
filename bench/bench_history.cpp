// History download of 4095 records: paced at 4800 baud against the line-rate
// bound, and unpaced, the records per second the program absorbs and the CPU
// time each costs; then paced on a line that holds still for 300 ms inside
// every 50th answer, as a converter or a network does: every record still comes,
// and the time is the line's bound plus the pauses.
#include "BenchUtil.h"
#include "PromptRecorder.h"
#include "link/DeviceLink.h"
#include "ui/HistoryPanel.h"
#include "ui/Main.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <chrono>

namespace {

constexpr int Records = 4095;

constexpr int PauseMs = 300;
constexpr int PauseEvery = 50;

struct Result
{
    double seconds = 0;
    double cpu = 0;
    int lines = 0;
    int pauses = 0; // inside answers, as the simulator counted them
};

// From the moment the request goes out to the end answer.
bool Download(bool paced, Result& r, bool pausing = false)
{
    QProcess sim;
    QStringList args{QStringLiteral("--history"), QString::number(Records)};
    if (!paced)
        args << QStringLiteral("--no-pacing");
    if (pausing)
        args << QStringLiteral("--pause-inside") << QStringLiteral("%1:%2").arg(PauseMs).arg(PauseEvery);
    const QString port = StartSim(sim, args);
    if (port.isEmpty())
        return false;
    PromptRecorder prompts;
    TMain::Options options;
    options.prompts = &prompts;
    options.port = port;
    TMain window(options);
    window.show();
    auto& f = window.Form();
    if (!LogIn(window))
        return false;
    window.History().SetPauseStep(0); // the 1.1 s pause before the request is not measured
    WaitUntil([&] { return !window.Link().Busy(); }, 5000);
    const double cpu0 = CpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    f.ButtonPobierz->click();
    const bool ended = WaitUntil(
        [&] { return f.trm->document()->lastBlock().text() == QStringLiteral("Koniec historii"); }, 300000);
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.cpu = CpuSeconds() - cpu0;
    r.lines = f.trm->document()->blockCount();
    StopSim(sim);
    const auto said = QRegularExpression(QStringLiteral("paused inside (\\d+) answers"))
                          .match(QString::fromUtf8(sim.readAllStandardError()));
    r.pauses = said.hasMatch() ? said.captured(1).toInt() : 0;
    return ended && prompts.log.isEmpty();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Result unpaced;
    if (!Download(false, unpaced)) {
        std::fprintf(stderr, "bench_history: unpaced download failed\n");
        return 1;
    }
    std::printf("%-44s %10.0f /s   (%d lines; goal: above 5000 records/s)\n", "records absorbed, unpaced",
                Records / unpaced.seconds, unpaced.lines);
    std::printf("%-44s %10.1f us   per record\n", "CPU time, unpaced", unpaced.cpu / Records * 1e6);

    Result paced;
    if (!Download(true, paced)) {
        std::fprintf(stderr, "bench_history: paced download failed\n");
        return 1;
    }
    // On the line: the request (5 bytes), answer 73 (6), the records (12 each), the end (4).
    const double bound = (5 + 6 + 12.0 * Records + 4) * 10.0 / 4800.0;
    std::printf("%-44s %10.3f s    bound %.3f s (%+.1f%%, goal: within 5%%)\n",
                "download of 4095 records, paced", paced.seconds, bound, (paced.seconds / bound - 1) * 100);
    std::printf("%-44s %10.1f us   per record\n", "CPU time, paced", paced.cpu / Records * 1e6);

    Result pausing;
    if (!Download(true, pausing, true)) {
        std::fprintf(stderr, "bench_history: download on a pausing line failed\n");
        return 1;
    }
    const double pausedBound = bound + pausing.pauses * PauseMs / 1000.0;
    std::printf("%-44s %10.3f s    bound %.3f s with %d pauses (%+.1f%%, goal: within 2%%)\n",
                "download, 300 ms inside every 50th answer", pausing.seconds, pausedBound, pausing.pauses,
                (pausing.seconds / pausedBound - 1) * 100);
    std::printf("%-44s %10d      of %d (goal: all, and the end line)\n", "lines, pausing line", pausing.lines,
                paced.lines);
    return 0;
}
