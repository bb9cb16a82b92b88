#pragma once
// The history drawn as a chart: the temperature line, broken where records are
// missing, the alarm limits, the events as marks on the time line and the spans
// without mains power shaded. Our own painter on QPainter; it paints on any
// device (the window, a QImage, a PDF, an SVG) and needs no widget.
//
// Text needs Qt's fonts, and they need a QGuiApplication: a program without a
// display makes one with the offscreen platform (QT_QPA_PLATFORM=offscreen).
// Painting and the geometry without one end the program (Qt's font database
// aborts); SaveImage refuses instead.
#include "history/HistoryModel.h"

#include <QColor>
#include <QCoreApplication>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

class QPainter;

namespace tq3 {

struct ChartSettings
{
    std::optional<int> intervalMinutes; // the controller's cyclic record interval, when known
    std::optional<int> alarmMinTenths;
    std::optional<int> alarmMaxTenths;
};

// What the pointer is over: the entry nearest in time to it.
struct ChartReadOut
{
    std::size_t index = 0; // into the entries
    HistoryTime time = 0;
    QString timeText;        // "2024/09/07 00:05:03"
    QString temperatureText; // "+21,5 °C", empty for a record without one
    QString eventText;       // the event's name (HistoryEventName), empty for none
};

// The temperatures of the visible range.
struct ChartStats
{
    int count = 0; // entries with a temperature in [From, To]
    std::optional<int> minTenths;
    std::optional<double> meanTenths;
    std::optional<int> maxTenths;
    qint64 spanSeconds = 0; // from the earliest of those entries to the latest
};

// A page of A4 landscape at 150 dpi: what tq3ctl's plot writes unless told otherwise.
inline constexpr QSize DefaultPlotSize{1754, 1240};

class HistoryChart
{
    Q_DECLARE_TR_FUNCTIONS(HistoryChart)

public:
    // The chart keeps the reference: the caller's vector must outlive it, and may
    // grow or change between paints.
    explicit HistoryChart(const std::vector<HistoryEntry>& entries);

    void SetSettings(const ChartSettings& settings) { settings_ = settings; }
    const ChartSettings& Settings() const { return settings_; }

    // Visible range. ShowAll follows the data: entries added later are shown too.
    // Any other change fixes the range until ShowAll (or zooming out to everything).
    void ShowAll();
    bool ShowsAll() const { return showAll_; }
    void SetRange(HistoryTime from, HistoryTime to);
    HistoryTime From() const;
    HistoryTime To() const;
    // factor < 1 zooms in; the time t stays where it is on the axis.
    void ZoomAround(HistoryTime t, double factor);
    // Moves the range by a fraction of its span, positive towards later times.
    void Pan(double fractionOfSpan);

    static constexpr qint64 MinSpanSeconds = 10 * 60;

    // Geometry, for a chart painted into the rectangle whole.
    QRect PlotArea(const QRect& whole) const;
    HistoryTime TimeAtX(double x, const QRect& whole) const;
    double XAtTime(HistoryTime t, const QRect& whole) const;
    double YAtTenths(int tenths, const QRect& whole) const;

    void Paint(QPainter& painter, const QRect& whole) const;

    std::optional<ChartReadOut> ReadOutAt(QPointF p, const QRect& whole) const;

    ChartStats VisibleStats() const;
    // "min +2,1 °C  średnia +4,3 °C  maks. +7,9 °C  (912 pomiarów, 3 dni 4 godz.)", or
    // "Brak pomiarów w widocznym zakresie"
    static QString StatsText(const ChartStats& stats);
    // "3 dni 4 godz.", "1 godz. 5 min", "12 min", "40 s"
    static QString DurationText(qint64 seconds);
    // "+21,5 °C", "-0,2 °C"
    static QString TemperatureText(int tenths);

    // By the file's extension: .png, .pdf (A4 landscape) or .svg. False, with the
    // reason in the language in use, when the format is unknown or the file cannot
    // be written.
    bool SaveImage(const QString& path, QSize size, QString* error) const;

    // The colours, for the legend and for tests that look at the pixels.
    static QColor LineColour();
    static QColor AlarmMaxColour();
    static QColor AlarmMinColour();
    static QColor PowerLossShade();
    // Invalid for a kind without a mark (4, the plain cyclic record).
    static QColor MarkColour(int kind);

private:
    struct Extent
    {
        HistoryTime first = 0;
        HistoryTime last = 0;
    };
    struct Layout;

    std::optional<Extent> DataExtent() const;
    // The range ShowAll shows, and the widest any zoom or pan reaches.
    std::pair<HistoryTime, HistoryTime> AllRange() const;
    void SetFixedRange(double from, double to);
    Layout MakeLayout(const QRect& whole) const;
    // The usual time between cyclic records; a step longer than 1.5 times it is a gap.
    qint64 RecordSpacing() const;
    void PaintPowerLoss(QPainter& p, const Layout& l) const;
    static void PaintGrid(QPainter& p, const Layout& l);
    void PaintLimits(QPainter& p, const Layout& l) const;
    void PaintLine(QPainter& p, const Layout& l) const;
    void PaintMarks(QPainter& p, const Layout& l) const;
    static void PaintAxes(QPainter& p, const Layout& l);
    static void PaintLegend(QPainter& p, const Layout& l);

    const std::vector<HistoryEntry>& entries_;
    ChartSettings settings_;
    bool showAll_ = true;
    HistoryTime from_ = 0;
    HistoryTime to_ = 0;
};

} // namespace tq3
