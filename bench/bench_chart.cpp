// The history chart: a full redraw of a whole log (4095 records) at 1600 x 900,
// the same zoomed in, the read-out under the pointer and a PNG for print, each the
// median of 50 runs after one to warm the font caches.
#include "BenchUtil.h"
#include "chart/HistoryChart.h"
#include "history/HistoryFormat.h"
#include "history/HistoryModel.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <vector>

using namespace tq3;

namespace {

constexpr int Records = 4095;
constexpr int Runs = 50;

// A fortnight of 5-minute records with what a real log holds: events, a clock set
// back, a day of missing records and a power cut.
std::vector<HistoryEntry> Log()
{
    std::vector<HistoryEntry> log;
    HistoryTime t = *MakeHistoryTime(2024, 9, 1, 0, 0, 0);
    log.push_back({t, 5, {}});
    log.push_back({t + 20, 6, {}});
    for (int i = 0; static_cast<int>(log.size()) < Records; ++i) {
        t += 300;
        if (i == 1500)
            t += 86400;
        if (i == 3000)
            t -= 2 * 3600;
        const int tenths = int(std::lround(45 + 35 * std::sin(i / 40.0))) + i % 5;
        if (i % 400 == 200)
            log.push_back({t, 7, {}});
        if (i % 400 == 260)
            log.push_back({t, 8, {}});
        if (i % 300 == 10)
            log.push_back({t, tenths > 45 ? 11 : 13, tenths});
        log.push_back({t, 4, tenths});
    }
    log.resize(Records);
    return log;
}

double MedianMs(std::vector<double>& ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Times a call Runs times after one untimed, in milliseconds.
template <typename Call> std::vector<double> Time(Call call)
{
    call();
    std::vector<double> ms;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer t;
        t.start();
        call();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return ms;
}

} // namespace

int main(int argc, char* argv[])
{
    // Text needs a platform; this one needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::vector<HistoryEntry> log = Log();
    HistoryChart chart(log);
    chart.SetSettings({5, 20, 80});

    QImage image(1600, 900, QImage::Format_ARGB32_Premultiplied);
    auto redraw = [&] {
        QPainter p(&image);
        chart.Paint(p, image.rect());
    };
    std::vector<double> full = Time(redraw);
    Figure("full redraw, 4095 records, 1600 x 900", MedianMs(full), "ms", "at most 8 ms, median of 50");
    Figure("full redraw, slowest of 50", full.back(), "ms", "none, for the spread");

    chart.ZoomAround(log[Records / 2].time, 0.02);
    std::vector<double> zoomed = Time(redraw);
    Figure("redraw zoomed in 50 times (7 hours)", MedianMs(zoomed), "ms", "at most 8 ms, median of 50");

    chart.ShowAll();
    int found = 0;
    std::vector<double> readOut = Time([&] {
        for (int x = 100; x < 1500; x += 14)
            found += chart.ReadOutAt(QPointF(x, 450), image.rect()) ? 1 : 0;
    });
    Figure("read-out under the pointer", MedianMs(readOut) * 1000 / 100, "us", "under 1000 us, each");

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("history.png"));
    QString error;
    std::vector<double> save = Time([&] { chart.SaveImage(png, DefaultPlotSize, &error); });
    if (!error.isEmpty()) {
        std::fprintf(stderr, "bench_chart: %s\n", qPrintable(error));
        return 1;
    }
    Figure("PNG of 1754 x 1240 for print", MedianMs(save), "ms", "under 1000 ms");

    // A saved history of the whole log reopened: the text file, as the window writes it.
    QStringList lines;
    for (const HistoryEntry& e : log)
        lines << HistoryEntryLine(e);
    lines << QStringLiteral("Koniec historii");
    const QByteArray saved = HistoryFileBytes(lines);
    std::size_t reopened = 0;
    std::vector<double> reopen = Time([&] {
        HistoryModel model;
        model.AddFile(saved);
        reopened = model.Entries().size();
    });
    if (reopened != log.size()) {
        std::fprintf(stderr, "bench_chart: the saved history reopened with %zu records\n", reopened);
        return 1;
    }
    Figure("saved history of 4095 lines reopened", MedianMs(reopen), "ms", "under 50 ms");
    Figure("peak memory", PeakMemoryKb() / 1024.0, "MB", "under 60 MB");
    return found > 0 ? 0 : 1;
}
