#include "chart/HistoryChart.h"
#include "history/HistoryFormat.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using namespace tq3;

namespace {

using Entries = std::vector<HistoryEntry>;

const HistoryTime Base = *MakeHistoryTime(2024, 9, 7, 0, 0, 0);
const QRect Whole(0, 0, 400, 300);

HistoryTime Minute(double m)
{
    return Base + std::llround(m * 60);
}

// Cyclic records from one minute to another, every step minutes, at one temperature.
Entries Cyclic(int from, int to, int step, int tenths = 50)
{
    Entries e;
    for (int m = from; m <= to; m += step)
        e.push_back({Minute(m), 4, tenths});
    return e;
}

Entries operator+(Entries a, const Entries& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

QImage Render(const HistoryChart& chart)
{
    QImage image(Whole.size(), QImage::Format_RGB32);
    QPainter p(&image);
    chart.Paint(p, Whole);
    return image;
}

// A pixel of the colour laid over white, smoothed edges included.
bool Tinted(QRgb pixel, const QColor& colour)
{
    const double d[] = {255.0 - qRed(pixel), 255.0 - qGreen(pixel), 255.0 - qBlue(pixel)};
    const double c[] = {255.0 - colour.red(), 255.0 - colour.green(), 255.0 - colour.blue()};
    const double dd = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const double cc = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    return dd > 40 && (d[0] * c[0] + d[1] * c[1] + d[2] * c[2]) / (dd * cc) > 0.97;
}

// The pixels of the plot's column x, between the rows top and bottom, that pass.
template <typename Test> int CountInColumn(const QImage& image, int x, int top, int bottom, Test test)
{
    int n = 0;
    for (int y = top; y < bottom; ++y)
        n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

int LinePixels(const HistoryChart& chart, const QImage& image, double minute, int top = -1, int bottom = -1)
{
    const QRect plot = chart.PlotArea(Whole);
    const int x = int(std::floor(chart.XAtTime(Minute(minute), Whole)));
    return CountInColumn(image, x, std::max(top, plot.top()), bottom < 0 ? plot.bottom() + 1 : bottom,
                         [](QRgb px) { return Tinted(px, HistoryChart::LineColour()); });
}

} // namespace

class TstHistoryChart : public QObject
{
    Q_OBJECT

private slots:
    void gaps_data();
    void gaps();
    void clockSetBack();
    void limits();
    void marks_data();
    void marks();
    void powerLoss();
    void empty();
    void range();
    void readOut();
    void stats();
    void statsText_data();
    void statsText();
    void saveImage_data();
    void saveImage();
};

void TstHistoryChart::gaps_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<int>("interval"); // minutes, 0 when unknown
    QTest::addColumn<double>("probe"); // minute
    QTest::addColumn<bool>("line");
    QTest::newRow("two hours missing") << Cyclic(0, 60, 5) + Cyclic(180, 240, 5) << 0 << 120.0 << false;
    QTest::newRow("one record missing") << Cyclic(0, 60, 5) + Cyclic(70, 130, 5) << 0 << 65.0 << false;
    QTest::newRow("7 min late is no gap") << Cyclic(0, 60, 5) + Cyclic(67, 127, 5) << 0 << 63.5 << true;
    // A six-hour outage would pull a mean spacing up to 19 minutes; the median stays at 5.
    QTest::newRow("median, not mean")
        << Cyclic(0, 60, 5) + Cyclic(420, 480, 5) + Cyclic(500, 560, 5) << 0 << 490.0 << false;
    QTest::newRow("interval wins over the data")
        << Cyclic(0, 60, 5) + Cyclic(140, 200, 5) << 60 << 100.0 << true;
    QTest::newRow("interval shorter than the data") << Cyclic(0, 200, 20) << 10 << 110.0 << false;
    Entries alarms =
        Cyclic(0, 60, 5) + Entries{{Minute(65), 11, 50}, {Minute(70), 12, 50}} + Cyclic(75, 120, 5);
    QTest::newRow("alarm records carry the line") << alarms << 0 << 67.5 << true;
}

void TstHistoryChart::gaps()
{
    QFETCH(Entries, entries);
    QFETCH(int, interval);
    QFETCH(double, probe);
    QFETCH(bool, line);
    HistoryChart chart(entries);
    if (interval > 0)
        chart.SetSettings({interval, {}, {}});
    const QImage image = Render(chart);
    QCOMPARE(LinePixels(chart, image, probe) > 0, line);
    // Beside the probe, in the records themselves, the line is always there.
    QVERIFY(LinePixels(chart, image, 40) > 0);
}

void TstHistoryChart::clockSetBack()
{
    // 10:00 to 12:00 at +20,0 °C, then the clock set back to 10:30 and on at +10,0 °C.
    const Entries entries = Cyclic(600, 720, 5, 200) + Cyclic(630, 780, 5, 100);
    HistoryChart chart(entries);
    const QImage image = Render(chart);
    // A line from 12:00 back to 10:30 would cross 11:15 near +15 °C.
    const int warm = int(chart.YAtTenths(180, Whole));
    const int cold = int(chart.YAtTenths(120, Whole));
    QCOMPARE(LinePixels(chart, image, 675, warm, cold), 0);
    QVERIFY(LinePixels(chart, image, 675, int(chart.YAtTenths(210, Whole)), warm) > 0);
    QVERIFY(LinePixels(chart, image, 675, cold, int(chart.YAtTenths(90, Whole))) > 0);
}

void TstHistoryChart::limits()
{
    const Entries entries = Cyclic(0, 120, 5, 40) + Cyclic(125, 240, 5, 60);
    HistoryChart chart(entries);
    chart.SetSettings({{}, 20, 80});
    const QImage image = Render(chart);
    const QRect plot = chart.PlotArea(Whole);
    auto rowShare = [&](int y, const QColor& colour) {
        int n = 0;
        for (int x = plot.left(); x <= plot.right(); ++x)
            n += image.pixelColor(x, y) == colour ? 1 : 0;
        return double(n) / plot.width();
    };
    for (const auto& [tenths, colour] :
         {std::pair{80, HistoryChart::AlarmMaxColour()}, std::pair{20, HistoryChart::AlarmMinColour()}}) {
        const int y = int(std::lround(chart.YAtTenths(tenths, Whole)));
        // Dashed: about half of the row, give or take the pixel the line is rounded to.
        const double share =
            std::max({rowShare(y - 1, colour), rowShare(y, colour), rowShare(y + 1, colour)});
        QVERIFY2(share > 0.3, qPrintable(QString::number(share)));
        QCOMPARE(rowShare(int(chart.YAtTenths(50, Whole)), colour), 0.0);
    }
    // A limit set out of the way (+127 °C) leaves the temperatures their height.
    chart.SetSettings({{}, 20, 1270});
    QVERIFY(chart.YAtTenths(40, Whole) - chart.YAtTenths(60, Whole) > plot.height() / 3.0);
}

void TstHistoryChart::marks_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("cyclic: no mark") << 4;
    for (int kind = 5; kind <= 13; ++kind)
        QTest::newRow(qPrintable(HistoryEventText(kind).trimmed())) << kind;
}

void TstHistoryChart::marks()
{
    QFETCH(int, kind);
    const bool hasTemperature = kind == 4 || kind >= 11;
    const Entries entries = Cyclic(0, 55, 5) +
                            Entries{{Minute(62), kind, hasTemperature ? std::optional(50) : std::nullopt}} +
                            Cyclic(65, 120, 5);
    HistoryChart chart(entries);
    const QImage image = Render(chart);
    const QRect plot = chart.PlotArea(Whole);
    auto markPixels = [&](double minute) {
        const int x = int(std::floor(chart.XAtTime(Minute(minute), Whole)));
        return CountInColumn(image, x, plot.top(), plot.bottom() + 1, [&](QRgb px) {
            for (int k = 5; k <= 13; ++k) {
                if (QColor(px) == HistoryChart::MarkColour(k))
                    return k == kind;
            }
            return false;
        });
    };
    QCOMPARE(markPixels(62) > 0, kind != 4);
    QCOMPARE(markPixels(30), 0);
}

void TstHistoryChart::powerLoss()
{
    // Lost at 0:30, back at 1:00, lost again at 1:30 and not back by the end of the data.
    const Entries entries = Cyclic(0, 25, 5) + Entries{{Minute(30), 7, {}}} + Cyclic(35, 55, 5) +
                            Entries{{Minute(60), 8, {}}} + Cyclic(65, 85, 5) + Entries{{Minute(90), 7, {}}} +
                            Cyclic(95, 120, 5);
    HistoryChart chart(entries);
    const QImage image = Render(chart);
    const QRect plot = chart.PlotArea(Whole);
    auto shaded = [&](double minute) {
        const int x = int(std::floor(chart.XAtTime(Minute(minute), Whole)));
        return CountInColumn(image, x, plot.top(), plot.bottom() + 1,
                             [](QRgb px) { return QColor(px) == HistoryChart::PowerLossShade(); });
    };
    // Off the grid's quarter hours, whose lines cross the shade.
    QVERIFY(shaded(40) > plot.height() / 2);
    QCOMPARE(shaded(20), 0);
    QCOMPARE(shaded(70), 0);
    QVERIFY(shaded(110) > plot.height() / 2);
}

void TstHistoryChart::empty()
{
    const Entries none;
    HistoryChart chart(none);
    const QImage image = Render(chart);
    const QRect plot = chart.PlotArea(Whole);
    // The text stands in the middle of the plot, and nothing else is drawn there.
    const QRect middle(plot.center().x() - 60, plot.center().y() - 8, 120, 16);
    int dark = 0;
    for (int y = middle.top(); y <= middle.bottom(); ++y) {
        for (int x = middle.left(); x <= middle.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    QVERIFY(dark > 20);
    QVERIFY(!chart.ReadOutAt(QPointF(plot.center()), Whole));
    QCOMPARE(HistoryChart::StatsText(chart.VisibleStats()),
             QStringLiteral("Brak pomiarów w widocznym zakresie"));
}

void TstHistoryChart::range()
{
    Entries entries = Cyclic(0, 600, 5);
    HistoryChart chart(entries);
    QVERIFY(chart.ShowsAll());
    QVERIFY(chart.From() <= Minute(0) && chart.To() >= Minute(600));

    // A download going on: the whole view grows with it.
    entries = entries + Cyclic(605, 1200, 5);
    QVERIFY(chart.To() >= Minute(1200));
    Render(chart);

    chart.SetRange(Minute(100), Minute(200));
    QCOMPARE(chart.From(), Minute(100));
    QCOMPARE(chart.To(), Minute(200));
    entries = entries + Cyclic(1205, 1800, 5);
    QCOMPARE(chart.To(), Minute(200));

    // Zooming in stops at ten minutes, around the time given.
    for (int i = 0; i < 20; ++i)
        chart.ZoomAround(Minute(150), 0.5);
    QCOMPARE(chart.To() - chart.From(), HistoryChart::MinSpanSeconds);
    QVERIFY(chart.From() <= Minute(150) && chart.To() >= Minute(150));

    // Panning stops at the end of the data and its margin.
    for (int i = 0; i < 1000; ++i)
        chart.Pan(1.0);
    QVERIFY(!chart.ShowsAll());
    QVERIFY(chart.To() > Minute(1800) && chart.To() < Minute(1800 + 60));

    // Zoomed out to everything, the view follows the data again.
    chart.ZoomAround(Minute(900), 1000);
    QVERIFY(chart.ShowsAll());
    entries = entries + Cyclic(1805, 2400, 5);
    QVERIFY(chart.To() >= Minute(2400));
}

void TstHistoryChart::readOut()
{
    const Entries entries{
        {Minute(0), 4, 215}, {Minute(30), 4, 100}, {Minute(30), 7, {}}, {Minute(60), 4, -2}};
    HistoryChart chart(entries);
    const QRect plot = chart.PlotArea(Whole);
    const double y = plot.center().y();
    auto at = [&](double minute) {
        return chart.ReadOutAt(QPointF(chart.XAtTime(Minute(minute), Whole), y), Whole);
    };

    const auto lost = at(30.2);
    QVERIFY(lost);
    QCOMPARE(lost->index, std::size_t(2)); // the event, not the cyclic record at its time
    QCOMPARE(lost->eventText, QStringLiteral("Brak 230V"));
    QCOMPARE(lost->temperatureText, QString());
    const auto last = at(60);
    QVERIFY(last);
    QCOMPARE(last->timeText, QStringLiteral("2024/09/07 01:00:00"));
    QCOMPARE(last->temperatureText, QStringLiteral("-0,2 °C"));
    QCOMPARE(at(0)->temperatureText, QStringLiteral("+21,5 °C"));
    QVERIFY(!at(15)); // far from every record
    QVERIFY(!chart.ReadOutAt(QPointF(chart.XAtTime(Minute(30), Whole), plot.bottom() + 40), Whole));
}

void TstHistoryChart::stats()
{
    const Entries entries =
        Cyclic(0, 60, 10, 10) + Entries{{Minute(70), 11, 90}, {Minute(80), 5, {}}} + Cyclic(90, 300, 10, -40);
    HistoryChart chart(entries);
    chart.SetRange(Minute(20), Minute(100));
    const ChartStats s = chart.VisibleStats();
    // 20..60 at +1,0 (5), the alarm at +9,0, 90 and 100 at -4,0.
    QCOMPARE(s.count, 8);
    QCOMPARE(s.minTenths, std::optional(-40));
    QCOMPARE(s.maxTenths, std::optional(90));
    QVERIFY(s.meanTenths && std::abs(*s.meanTenths - (5 * 10 + 90 - 80) / 8.0) < 1e-9);
    QCOMPARE(s.spanSeconds, qint64(80 * 60));
}

void TstHistoryChart::statsText_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("mean");
    QTest::addColumn<qint64>("span");
    QTest::addColumn<QString>("text");
    const QString lead = QStringLiteral("min -2,0 °C  średnia %1  maks. +7,9 °C  (%2)");
    QTest::newRow("one") << 1 << 43.0 << qint64(0)
                         << lead.arg(QStringLiteral("+4,3 °C"), QStringLiteral("1 pomiar, 0 s"));
    QTest::newRow("few") << 3 << 43.0 << qint64(59)
                         << lead.arg(QStringLiteral("+4,3 °C"), QStringLiteral("3 pomiary, 59 s"));
    QTest::newRow("teens") << 12 << 43.0 << qint64(3900)
                           << lead.arg(QStringLiteral("+4,3 °C"),
                                       QStringLiteral("12 pomiarów, 1 godz. 5 min"));
    QTest::newRow("twenties") << 22 << 43.0 << qint64(90061)
                              << lead.arg(QStringLiteral("+4,3 °C"),
                                          QStringLiteral("22 pomiary, 1 dzień 1 godz."));
    QTest::newRow("many days") << 915 << 43.0 << qint64(3 * 86400 + 120)
                               << lead.arg(QStringLiteral("+4,3 °C"), QStringLiteral("915 pomiarów, 3 dni"));
    QTest::newRow("mean just below zero")
        << 2 << -0.6 << qint64(600)
        << lead.arg(QStringLiteral("-0,1 °C"), QStringLiteral("2 pomiary, 10 min"));
}

void TstHistoryChart::statsText()
{
    QFETCH(int, count);
    QFETCH(double, mean);
    QFETCH(qint64, span);
    QFETCH(QString, text);
    QCOMPARE(HistoryChart::StatsText({count, -20, mean, 79, span}), text);
}

void TstHistoryChart::saveImage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start"); // of the file, empty when nothing may be written
    QTest::newRow("png") << QStringLiteral("h.png") << QByteArray("\x89PNG");
    QTest::newRow("pdf") << QStringLiteral("h.PDF") << QByteArray("%PDF");
    QTest::newRow("svg") << QStringLiteral("h.svg") << QByteArray("<?xml");
    QTest::newRow("unknown format") << QStringLiteral("h.bmp") << QByteArray();
    for (const char* ext : {"png", "pdf", "svg"})
        QTest::newRow(qPrintable(QStringLiteral("no folder, %1").arg(QLatin1String(ext))))
            << QStringLiteral("missing/h.") + QLatin1String(ext) << QByteArray();
}

void TstHistoryChart::saveImage()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    const Entries entries = Cyclic(0, 120, 5) + Entries{{Minute(60), 7, {}}};
    HistoryChart chart(entries);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QString error;
    QCOMPARE(chart.SaveImage(path, QSize(600, 400), &error), !start.isEmpty());
    if (start.isEmpty()) {
        QVERIFY(error.contains(path));
        QVERIFY(!QFile::exists(path));
        return;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(start.size()) == start);
}

QTEST_MAIN(TstHistoryChart)
#include "tst_history_chart.moc"
