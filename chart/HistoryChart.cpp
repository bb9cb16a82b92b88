#include "chart/HistoryChart.h"

#include "history/HistoryFormat.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPolygonF>
#include <QSvgGenerator>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tq3 {

namespace {

constexpr qint64 DaySeconds = 86400;
// 2000-01-03, the first Monday of the clock: week ticks fall on Mondays.
constexpr qint64 FirstMonday = 2 * DaySeconds;

bool HasMark(int kind)
{
    return kind >= 5 && kind <= 13;
}

struct Mark
{
    const char* label; // a few letters over the mark; the legend tells what they stand for
    const char*
        meaning; // the log's own event texts are the controller's, without diacritics; the legend is ours
};

// By kind, from 5 (start) to 13 (low temperature alarm).
constexpr Mark Marks[] = {
    //: Chart mark over the event: device start. Marks stand over their events: keep them a few letters.
    {QT_TRANSLATE_NOOP("HistoryChart", "S"), QT_TRANSLATE_NOOP("HistoryChart", "start urządzenia")},
    {QT_TRANSLATE_NOOP("HistoryChart", "GSM"), QT_TRANSLATE_NOOP("HistoryChart", "zestawienie łącza GSM")},
    //: Chart mark: 230 V mains lost (Brak)
    {QT_TRANSLATE_NOOP("HistoryChart", "B230"), QT_TRANSLATE_NOOP("HistoryChart", "brak 230 V")},
    //: Chart mark: 230 V mains back (Powrót)
    {QT_TRANSLATE_NOOP("HistoryChart", "P230"), QT_TRANSLATE_NOOP("HistoryChart", "powrót 230 V")},
    {QT_TRANSLATE_NOOP("HistoryChart", "Bat-"), QT_TRANSLATE_NOOP("HistoryChart", "bateria rozładowana")},
    {QT_TRANSLATE_NOOP("HistoryChart", "Bat+"), QT_TRANSLATE_NOOP("HistoryChart", "bateria naładowana")},
    {QT_TRANSLATE_NOOP("HistoryChart", "A+"), QT_TRANSLATE_NOOP("HistoryChart", "alarm: wysoka temperatura")},
    //: Chart mark: temperature back to normal (Norma)
    {QT_TRANSLATE_NOOP("HistoryChart", "N"),
     QT_TRANSLATE_NOOP("HistoryChart", "powrót temperatury do normy")},
    {QT_TRANSLATE_NOOP("HistoryChart", "A-"), QT_TRANSLATE_NOOP("HistoryChart", "alarm: niska temperatura")},
};

QString MarkLabel(int kind)
{
    return HasMark(kind) ? HistoryChart::tr(Marks[kind - 5].label) : QString();
}

QString MarkMeaning(int kind)
{
    return HasMark(kind) ? HistoryChart::tr(Marks[kind - 5].meaning) : QString();
}

const QColor TextColour(0x30, 0x30, 0x30);
const QColor AxisColour(0x40, 0x40, 0x40);
const QColor GridColour(0xe4, 0xe4, 0xe4);

qint64 FloorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

QString TwoDigits(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

struct Civil
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

Civil Split(HistoryTime t)
{
    Civil c;
    SplitHistoryTime(t, c.year, c.month, c.day, c.hour, c.minute, c.second);
    return c;
}

// The months' short names under the time axis, in the language in use. The
// widest of them sets how close the day and month ticks may stand.
constexpr const char* MonthsShort[] = {
    //: January, short, under the chart's time axis
    QT_TRANSLATE_NOOP("HistoryChart", "sty"),
    //: February, short
    QT_TRANSLATE_NOOP("HistoryChart", "lut"),
    //: March, short
    QT_TRANSLATE_NOOP("HistoryChart", "mar"),
    //: April, short
    QT_TRANSLATE_NOOP("HistoryChart", "kwi"),
    //: May, short
    QT_TRANSLATE_NOOP("HistoryChart", "maj"),
    //: June, short
    QT_TRANSLATE_NOOP("HistoryChart", "cze"),
    //: July, short
    QT_TRANSLATE_NOOP("HistoryChart", "lip"),
    //: August, short
    QT_TRANSLATE_NOOP("HistoryChart", "sie"),
    //: September, short
    QT_TRANSLATE_NOOP("HistoryChart", "wrz"),
    //: October, short
    QT_TRANSLATE_NOOP("HistoryChart", "paź"),
    //: November, short
    QT_TRANSLATE_NOOP("HistoryChart", "lis"),
    //: December, short
    QT_TRANSLATE_NOOP("HistoryChart", "gru"),
};

QString MonthShort(int month)
{
    return HistoryChart::tr(MonthsShort[std::clamp(month, 1, 12) - 1]);
}

// The temperature axis: whole degrees when the step allows, else one decimal.
QString AxisTenthsText(int tenths, int step)
{
    const QString sign = tenths < 0 ? QStringLiteral("-") : QString();
    const int a = std::abs(tenths);
    if (step % 10 == 0)
        return sign + QString::number(a / 10);
    return sign + QString::number(a / 10) + QLatin1Char(',') + QString::number(a % 10);
}

enum class TickLabel
{
    Clock,
    Day,
    Month,
    Year
};

struct TimeStep
{
    qint64 seconds; // 0 for the steps of whole months
    int months;
    TickLabel label;
};

// Round steps, smallest first; the first whose labels do not touch is taken.
constexpr std::array<TimeStep, 27> TimeSteps{{
    {60, 0, TickLabel::Clock},
    {120, 0, TickLabel::Clock},
    {300, 0, TickLabel::Clock},
    {600, 0, TickLabel::Clock},
    {900, 0, TickLabel::Clock},
    {1800, 0, TickLabel::Clock},
    {3600, 0, TickLabel::Clock},
    {2 * 3600, 0, TickLabel::Clock},
    {3 * 3600, 0, TickLabel::Clock},
    {6 * 3600, 0, TickLabel::Clock},
    {12 * 3600, 0, TickLabel::Clock},
    {DaySeconds, 0, TickLabel::Day},
    {2 * DaySeconds, 0, TickLabel::Day},
    {7 * DaySeconds, 0, TickLabel::Day},
    {14 * DaySeconds, 0, TickLabel::Day},
    {0, 1, TickLabel::Month},
    {0, 2, TickLabel::Month},
    {0, 3, TickLabel::Month},
    {0, 6, TickLabel::Month},
    {0, 12, TickLabel::Year},
    {0, 24, TickLabel::Year},
    {0, 60, TickLabel::Year},
    {0, 120, TickLabel::Year},
    {0, 240, TickLabel::Year},
    {0, 600, TickLabel::Year},
    {0, 1200, TickLabel::Year},
    {0, 2400, TickLabel::Year},
}};

// Farther than this from the visible temperatures, an alarm limit stays off the axis.
constexpr int FarLimitTenths = 200;

constexpr std::array<int, 10> TenthsSteps{1, 2, 5, 10, 20, 50, 100, 200, 500, 1000};

struct Tick
{
    HistoryTime time;
    QString label;
    QString context; // the second row: the date under a time, the year under a day
};

std::vector<Tick> TimeTicks(HistoryTime from, HistoryTime to, const TimeStep& step)
{
    std::vector<Tick> ticks;
    if (step.seconds > 0) {
        const qint64 origin = step.seconds % (7 * DaySeconds) == 0 ? FirstMonday : 0;
        for (HistoryTime t = FloorDiv(from - origin + step.seconds - 1, step.seconds) * step.seconds + origin;
             t <= to; t += step.seconds) {
            const Civil c = Split(t);
            Tick tick{t, {}, {}};
            if (step.label == TickLabel::Clock) {
                tick.label = TwoDigits(c.hour) + QLatin1Char(':') + TwoDigits(c.minute);
                if (c.hour == 0 && c.minute == 0)
                    tick.context = QString::number(c.day) + QLatin1Char(' ') + MonthShort(c.month) +
                                   QLatin1Char(' ') + QString::number(c.year);
            } else {
                tick.label = QString::number(c.day) + QLatin1Char(' ') + MonthShort(c.month);
                if (ticks.empty() || Split(ticks.back().time).year != c.year)
                    tick.context = QString::number(c.year);
            }
            ticks.push_back(tick);
        }
        return ticks;
    }
    const Civil start = Split(from);
    int index = start.year * 12 + start.month - 1;
    index -= ((index % step.months) + step.months) % step.months;
    for (;; index += step.months) {
        const auto t = MakeHistoryTime(index / 12, index % 12 + 1, 1, 0, 0, 0);
        if (!t || *t > to)
            break;
        if (*t < from)
            continue;
        const QString year = QString::number(index / 12);
        ticks.push_back(
            {*t,
             step.label == TickLabel::Year ? year : MonthShort(index % 12 + 1) + QLatin1Char(' ') + year,
             {}});
    }
    return ticks;
}

QString MeasurementsText(int n)
{
    // Polish has three forms; a language with fewer gives the same text to two of them.
    const int tens = n % 100;
    if (n == 1)
        return HistoryChart::tr("1 pomiar");
    //: %1 ends in 2, 3 or 4 (not 12-14)
    if (n % 10 >= 2 && n % 10 <= 4 && (tens < 12 || tens > 14))
        return HistoryChart::tr("%1 pomiary").arg(n);
    //: %1 is any other count: 0, 5 to 21, 25 to 31, 100...
    return HistoryChart::tr("%1 pomiarów").arg(n);
}

struct LegendItem
{
    enum Sample
    {
        Line,
        Shade,
        Mark
    } sample;
    int kind = 0;
    QString text;
    QPointF at; // the sample's top left
};

} // namespace

struct HistoryChart::Layout
{
    QFont font;
    double unit = 10;       // the font's pixel size, which every length follows
    double lineHeight = 12; // of a line of text
    double lineWidth = 1;
    QRect whole;
    QRect plot;
    HistoryTime from = 0;
    HistoryTime to = 1;
    bool empty = true;
    int low = 0; // the temperature axis, in tenths
    int high = 250;
    int step = 50;
    TimeStep timeStep = TimeSteps.front();
    std::vector<LegendItem> legend;
    std::vector<Tick> ticks;

    // The plot's edges; Right and Bottom are the first pixels outside it.
    double Left() const { return plot.left(); }
    double Right() const { return plot.left() + plot.width(); }
    double Top() const { return plot.top(); }
    double Bottom() const { return plot.top() + plot.height(); }
    double X(HistoryTime t) const
    {
        return plot.left() + double(t - from) * plot.width() / double(to - from);
    }
    double Y(double tenths) const
    {
        return plot.top() + (high - tenths) * plot.height() / double(high - low);
    }
};

HistoryChart::HistoryChart(const std::vector<HistoryEntry>& entries) : entries_(entries) {}

std::optional<HistoryChart::Extent> HistoryChart::DataExtent() const
{
    if (entries_.empty())
        return std::nullopt;
    // A clock set back leaves the log out of time order: the ends are the extremes.
    Extent e{entries_.front().time, entries_.front().time};
    for (const HistoryEntry& entry : entries_) {
        e.first = std::min(e.first, entry.time);
        e.last = std::max(e.last, entry.time);
    }
    return e;
}

std::pair<HistoryTime, HistoryTime> HistoryChart::AllRange() const
{
    const auto e = DataExtent();
    if (!e)
        return {0, DaySeconds};
    const qint64 margin = std::max<qint64>((e->last - e->first) / 50, 60);
    HistoryTime from = e->first - margin;
    HistoryTime to = e->last + margin;
    if (to - from < MinSpanSeconds) {
        from = (from + to) / 2 - MinSpanSeconds / 2;
        to = from + MinSpanSeconds;
    }
    return {from, to};
}

void HistoryChart::ShowAll()
{
    showAll_ = true;
}

HistoryTime HistoryChart::From() const
{
    return showAll_ ? AllRange().first : from_;
}

HistoryTime HistoryChart::To() const
{
    return showAll_ ? AllRange().second : to_;
}

void HistoryChart::SetFixedRange(double from, double to)
{
    if (!std::isfinite(from) || !std::isfinite(to))
        return;
    if (from > to)
        std::swap(from, to);
    double span = std::max(to - from, double(MinSpanSeconds));
    from = (from + to) / 2 - span / 2;
    if (!entries_.empty()) {
        const auto [lo, hi] = AllRange();
        if (span >= double(hi - lo)) {
            ShowAll();
            return;
        }
        from = std::clamp(from, double(lo), double(hi) - span);
    }
    showAll_ = false;
    from_ = std::llround(from);
    to_ = from_ + std::llround(span);
}

void HistoryChart::SetRange(HistoryTime from, HistoryTime to)
{
    SetFixedRange(double(from), double(to));
}

void HistoryChart::ZoomAround(HistoryTime t, double factor)
{
    if (!(factor > 0) || !std::isfinite(factor))
        return;
    const double from = double(From());
    const double to = double(To());
    // Zooming in stops at the smallest span, with t still in its place.
    factor = std::max(factor, double(MinSpanSeconds) / (to - from));
    SetFixedRange(double(t) - (double(t) - from) * factor, double(t) + (to - double(t)) * factor);
}

void HistoryChart::Pan(double fractionOfSpan)
{
    const double from = double(From());
    const double to = double(To());
    const double shift = fractionOfSpan * (to - from);
    SetFixedRange(from + shift, to + shift);
}

qint64 HistoryChart::RecordSpacing() const
{
    if (settings_.intervalMinutes && *settings_.intervalMinutes > 0)
        return qint64(*settings_.intervalMinutes) * 60;
    // The usual spacing of the cyclic records; outages and alarms between them do not move a median.
    std::vector<qint64> steps;
    auto collect = [&](bool cyclicOnly) {
        std::optional<HistoryTime> previous;
        for (const HistoryEntry& e : entries_) {
            if (cyclicOnly ? e.kind != 4 : !e.tenths)
                continue;
            if (previous && e.time > *previous)
                steps.push_back(e.time - *previous);
            previous = e.time;
        }
    };
    collect(true);
    if (steps.empty())
        collect(false);
    if (steps.empty())
        return 0;
    auto middle = steps.begin() + qsizetype(steps.size() / 2);
    std::nth_element(steps.begin(), middle, steps.end());
    return *middle;
}

HistoryChart::Layout HistoryChart::MakeLayout(const QRect& whole) const
{
    Layout l;
    l.whole = whole;
    l.unit = std::clamp(std::round(std::min(whole.width(), whole.height() * 7 / 5) / 80.0), 10.0, 20.0);
    l.font = QFont(QStringLiteral("Liberation Sans"));
    l.font.setStyleHint(QFont::SansSerif);
    l.font.setPixelSize(int(l.unit));
    const QFontMetricsF fm(l.font);
    l.lineHeight = fm.height();
    l.lineWidth = std::max(1.0, l.unit / 8);
    const auto [from, to] = std::pair{From(), To()};
    l.from = from;
    l.to = std::max(to, from + 1);
    l.empty = entries_.empty();

    // The legend names what the history holds, not only the visible part, so that
    // panning does not move the plot's bottom edge.
    std::array<bool, 16> kinds{};
    bool temperatures = false;
    for (const HistoryEntry& e : entries_) {
        kinds[std::size_t(e.kind) & 15] = true;
        temperatures = temperatures || e.tenths.has_value();
    }
    const double margin = l.unit;
    const double sampleWidth = 2.5 * l.unit;
    if (temperatures)
        l.legend.push_back({LegendItem::Line, 0, tr("temperatura"), {}});
    if (kinds[7])
        l.legend.push_back({LegendItem::Shade, 0, tr("bez zasilania 230 V"), {}});
    for (int kind = 5; kind <= 13; ++kind) {
        if (kinds[std::size_t(kind)])
            l.legend.push_back({LegendItem::Mark, kind, MarkMeaning(kind), {}});
    }
    double x = whole.left() + margin;
    int rows = l.legend.empty() ? 0 : 1;
    for (LegendItem& item : l.legend) {
        const double w = sampleWidth + 0.5 * l.unit + fm.horizontalAdvance(item.text) + 1.5 * l.unit;
        if (x > whole.left() + margin && x + w > whole.right() - margin) {
            x = whole.left() + margin;
            ++rows;
        }
        item.at = QPointF(x, rows - 1);
        x += w;
    }

    const double tick = 0.4 * l.unit;
    const double top = whole.top() + 1.9 * l.lineHeight;
    const double legendTop = whole.bottom() + 1 - margin * 0.5 - rows * l.lineHeight;
    const double bottom = legendTop - 2 * l.lineHeight - tick - 0.5 * l.unit;
    for (LegendItem& item : l.legend)
        item.at.setY(legendTop + item.at.y() * l.lineHeight);
    const int plotHeight = std::max(10, int(bottom - top));

    // The temperature axis covers the visible temperatures and the alarm limits near
    // them: a limit set far out of the way would squash the line flat.
    int lowest = std::numeric_limits<int>::max();
    int highest = std::numeric_limits<int>::min();
    for (const HistoryEntry& e : entries_) {
        if (e.tenths && e.time >= l.from && e.time <= l.to) {
            lowest = std::min(lowest, *e.tenths);
            highest = std::max(highest, *e.tenths);
        }
    }
    const bool noTemperatures = lowest > highest;
    const int nearLow = lowest - FarLimitTenths;
    const int nearHigh = highest + FarLimitTenths;
    for (const auto& limit : {settings_.alarmMinTenths, settings_.alarmMaxTenths}) {
        if (limit && (noTemperatures || (*limit >= nearLow && *limit <= nearHigh))) {
            lowest = std::min(lowest, *limit);
            highest = std::max(highest, *limit);
        }
    }
    if (lowest > highest) {
        lowest = 0;
        highest = 250;
    } else {
        const int pad = std::max(2, (highest - lowest) / 20);
        lowest -= pad;
        highest += pad;
    }
    const int maxTicks = std::max(2, int(plotHeight / (2 * l.lineHeight)));
    l.step = TenthsSteps.back();
    for (int s : TenthsSteps) {
        if ((highest - lowest + s - 1) / s <= maxTicks) {
            l.step = s;
            break;
        }
    }
    l.low = int(FloorDiv(lowest, l.step) * l.step);
    l.high = int(-FloorDiv(-highest, l.step) * l.step);

    double labelWidth = fm.horizontalAdvance(QStringLiteral("°C"));
    for (int t = l.low; t <= l.high; t += l.step)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(AxisTenthsText(t, l.step)));
    const int left = int(std::ceil(whole.left() + margin * 0.5 + labelWidth + tick + 0.3 * l.unit));
    const int right = int(whole.right() + 1 - 2 * l.unit);
    l.plot = QRect(left, int(top), std::max(10, right - left), plotHeight);

    // The time step: the smallest whose widest label fits between two ticks.
    const double secondsPerPixel = double(l.to - l.from) / l.plot.width();
    double widestDay = 0;
    double widestMonth = 0;
    for (int m = 1; m <= 12; ++m) {
        widestDay = std::max(widestDay, fm.horizontalAdvance(QStringLiteral("28 ") + MonthShort(m)));
        widestMonth = std::max(widestMonth, fm.horizontalAdvance(MonthShort(m) + QStringLiteral(" 2000")));
    }
    for (const TimeStep& s : TimeSteps) {
        const double width = s.label == TickLabel::Clock   ? fm.horizontalAdvance(QStringLiteral("00:00"))
                             : s.label == TickLabel::Day   ? widestDay
                             : s.label == TickLabel::Month ? widestMonth
                                                           : fm.horizontalAdvance(QStringLiteral("2000"));
        const double seconds = s.seconds > 0 ? double(s.seconds) : s.months * 28.0 * DaySeconds;
        l.timeStep = s;
        if (seconds / secondsPerPixel >= width + 1.5 * l.unit)
            break;
    }
    if (!l.empty)
        l.ticks = TimeTicks(l.from, l.to, l.timeStep);
    return l;
}

QRect HistoryChart::PlotArea(const QRect& whole) const
{
    return MakeLayout(whole).plot;
}

double HistoryChart::XAtTime(HistoryTime t, const QRect& whole) const
{
    return MakeLayout(whole).X(t);
}

double HistoryChart::YAtTenths(int tenths, const QRect& whole) const
{
    return MakeLayout(whole).Y(tenths);
}

HistoryTime HistoryChart::TimeAtX(double x, const QRect& whole) const
{
    const Layout l = MakeLayout(whole);
    return l.from + std::llround((x - l.plot.left()) * double(l.to - l.from) / l.plot.width());
}

void HistoryChart::Paint(QPainter& p, const QRect& whole) const
{
    const Layout l = MakeLayout(whole);
    p.save();
    p.setFont(l.font);
    // Straight lines and fills fall on whole pixels; only the temperature line is smoothed.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(whole, Qt::white);
    p.save();
    p.setClipRect(l.plot);
    PaintPowerLoss(p, l);
    PaintGrid(p, l);
    PaintLine(p, l);
    PaintMarks(p, l);
    PaintLimits(p, l);
    p.restore();
    PaintAxes(p, l);
    PaintLegend(p, l);
    if (l.empty) {
        p.setPen(TextColour);
        p.drawText(l.plot, Qt::AlignCenter, tr("Brak danych historii"));
    }
    p.restore();
}

void HistoryChart::PaintPowerLoss(QPainter& p, const Layout& l) const
{
    // From a loss to the next return, or to the end of the data when none came.
    bool lost = false;
    HistoryTime lostAt = 0;
    HistoryTime latest = 0;
    auto shade = [&](HistoryTime a, HistoryTime b) {
        if (b < l.from || a > l.to)
            return;
        const double x0 = std::max(l.Left(), l.X(a));
        const double x1 = std::min(l.Right(), l.X(b));
        p.fillRect(QRectF(x0, l.Top(), std::max(1.0, x1 - x0), l.plot.height()), PowerLossShade());
    };
    for (const HistoryEntry& e : entries_) {
        latest = std::max(latest, e.time);
        if (e.kind == 7 && !lost) {
            lost = true;
            lostAt = latest = e.time;
        } else if (e.kind == 8 && lost) {
            shade(lostAt, std::max(lostAt, e.time));
            lost = false;
        }
    }
    if (lost)
        shade(lostAt, latest);
}

void HistoryChart::PaintGrid(QPainter& p, const Layout& l)
{
    p.setPen(QPen(GridColour, 1));
    for (const Tick& t : l.ticks) {
        const double x = std::floor(l.X(t.time));
        p.drawLine(QPointF(x, l.Top()), QPointF(x, l.Bottom()));
    }
    for (int t = l.low; t <= l.high; t += l.step)
        p.drawLine(QPointF(l.Left(), std::round(l.Y(t))), QPointF(l.Right(), std::round(l.Y(t))));
}

void HistoryChart::PaintLimits(QPainter& p, const Layout& l) const
{
    const QFontMetricsF fm(l.font);
    for (const auto& [limit, colour, name] :
         {std::tuple{settings_.alarmMaxTenths, AlarmMaxColour(), tr("Alarm max %1")},
          std::tuple{settings_.alarmMinTenths, AlarmMinColour(), tr("Alarm min %1")}}) {
        if (!limit)
            continue;
        const double y = std::round(l.Y(*limit));
        QPen pen(colour, std::round(l.lineWidth), Qt::DashLine, Qt::FlatCap);
        p.setPen(pen);
        p.drawLine(QPointF(l.Left(), y), QPointF(l.Right(), y));
        // The name above its line, or below it when the line runs along the top.
        const QString text = name.arg(TemperatureText(*limit));
        const double w = fm.horizontalAdvance(text);
        const bool above = y - l.Top() > 1.2 * l.lineHeight;
        // On a veil of white, to stay legible where the temperature line runs under it.
        const QRectF box(l.Right() - w - 0.5 * l.unit, above ? y - l.lineHeight - 1 : y + 2, w, l.lineHeight);
        p.fillRect(box.adjusted(-0.2 * l.unit, 0, 0.2 * l.unit, 0), QColor(255, 255, 255, 200));
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

void HistoryChart::PaintLine(QPainter& p, const Layout& l) const
{
    // Per pixel column at most one pair of extremes, so that the drawing follows the
    // plot's width and not the number of records. The line breaks where records are
    // missing and where the clock was set back: it never goes backwards in time.
    const qint64 spacing = RecordSpacing();
    // Separate segments with square caps: Qt strokes one long wide polyline many times slower.
    QVector<QLineF> segments;
    QPolygonF dots; // runs of a single point
    QPointF first;
    QPointF last;
    int runPoints = 0;
    auto push = [&](QPointF point) {
        if (runPoints++ == 0)
            first = point;
        else
            segments << QLineF(last, point);
        last = point;
    };
    struct Column
    {
        int index = 0;
        double top = 0, bottom = 0; // the extremes' y
        bool topFirst = true;
        double x = 0; // of the only point, while there is one
        int points = 0;
    } column;
    auto closeColumn = [&] {
        if (column.points == 1) {
            push(QPointF(column.x, column.top));
        } else if (column.points > 1) {
            const double x = column.index + 0.5;
            push(QPointF(x, column.topFirst ? column.top : column.bottom));
            push(QPointF(x, column.topFirst ? column.bottom : column.top));
        }
        column.points = 0;
    };
    auto closeRun = [&] {
        closeColumn();
        if (runPoints == 1)
            dots << first;
        runPoints = 0;
    };
    auto add = [&](double x, double y) {
        const int index = int(std::floor(x));
        if (column.points > 0 && index == column.index) {
            if (y < column.top) {
                column.top = y;
                column.topFirst = false;
            } else if (y > column.bottom) {
                column.bottom = y;
                column.topFirst = true;
            }
            ++column.points;
            return;
        }
        closeColumn();
        column = {index, y, y, true, x, 1};
    };
    // A segment across an edge of the range is cut there rather than drawn far outside it.
    auto at = [](const HistoryEntry& a, const HistoryEntry& b, HistoryTime t) {
        return *a.tenths + (*b.tenths - *a.tenths) * double(t - a.time) / double(b.time - a.time);
    };
    const HistoryEntry* previous = nullptr; // the run's last point
    bool pastRight = false;
    for (const HistoryEntry& e : entries_) {
        if (!e.tenths)
            continue;
        if (previous &&
            (e.time < previous->time || (spacing > 0 && 2 * (e.time - previous->time) > 3 * spacing))) {
            closeRun();
            previous = nullptr;
            pastRight = false;
        }
        const HistoryEntry* prior = previous;
        previous = &e;
        if (pastRight || e.time < l.from)
            continue;
        if (prior && prior->time < l.from)
            add(l.X(l.from), l.Y(at(*prior, e, l.from)));
        if (e.time > l.to) {
            if (prior)
                add(l.X(l.to), l.Y(at(*prior, e, l.to)));
            pastRight = true;
            continue;
        }
        add(l.X(e.time), l.Y(*e.tenths));
    }
    closeRun();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(LineColour(), l.lineWidth, Qt::SolidLine, Qt::SquareCap));
    p.drawLines(segments);
    p.setPen(QPen(LineColour(), 2.5 * l.lineWidth, Qt::SolidLine, Qt::RoundCap));
    p.drawPoints(dots);
    p.restore();
}

void HistoryChart::PaintMarks(QPainter& p, const Layout& l) const
{
    // Each event stands on the time line with its short name above it; a name that
    // would run into the one before is left out, its mark stays.
    const QFontMetricsF fm(l.font);
    const double markHeight = std::round(0.8 * l.lineHeight);
    const int markWidth = std::max(2, int(std::round(l.unit / 5)));
    double labelsEnd = -std::numeric_limits<double>::infinity();
    for (const HistoryEntry& e : entries_) {
        if (!HasMark(e.kind) || e.time < l.from || e.time > l.to)
            continue;
        const int x = int(std::floor(l.X(e.time)));
        p.fillRect(QRectF(x - (markWidth - 1) / 2, l.Bottom() - markHeight, markWidth, markHeight),
                   MarkColour(e.kind));
        const QString label = MarkLabel(e.kind);
        const double w = fm.horizontalAdvance(label);
        if (x - w / 2 < labelsEnd + 0.3 * l.unit)
            continue;
        labelsEnd = x + w / 2;
        p.setPen(MarkColour(e.kind));
        p.drawText(QRectF(x - w / 2, l.Bottom() - markHeight - l.lineHeight, w, l.lineHeight),
                   Qt::AlignCenter, label);
    }
}

void HistoryChart::PaintAxes(QPainter& p, const Layout& l)
{
    const QFontMetricsF fm(l.font);
    const double tick = 0.4 * l.unit;
    p.setPen(QPen(AxisColour, 1));
    p.drawLine(QPointF(l.Left() - 1, l.Top()), QPointF(l.Left() - 1, l.Bottom()));
    p.drawLine(QPointF(l.Left() - 1, l.Bottom()), QPointF(l.Right(), l.Bottom()));
    p.setPen(TextColour);
    p.drawText(QRectF(l.whole.left(), l.whole.top(), l.Left() - tick, 1.2 * l.lineHeight),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("°C"));
    for (int t = l.low; t <= l.high; t += l.step) {
        const double y = std::round(l.Y(t));
        p.setPen(AxisColour);
        p.drawLine(QPointF(l.Left() - 1 - tick, y), QPointF(l.Left() - 1, y));
        p.setPen(TextColour);
        p.drawText(
            QRectF(l.whole.left(), y - l.lineHeight / 2, l.Left() - 1 - tick - 0.3 * l.unit, l.lineHeight),
            Qt::AlignRight | Qt::AlignVCenter, AxisTenthsText(t, l.step));
    }

    // Two rows under the time axis: the ticks' labels, and below them the date of a
    // time (or the year of a day) where it changes. Labels that would touch are left out.
    const double row = l.Bottom() + tick;
    auto label = [&](double x, const QString& text, double top, double& end, double gap) {
        const double w = fm.horizontalAdvance(text);
        const double left = std::clamp(x - w / 2, double(l.whole.left()), l.whole.right() + 1 - w);
        if (left <= end)
            return;
        p.drawText(QRectF(left, top, w, l.lineHeight), Qt::AlignCenter, text);
        end = left + w + gap;
    };
    double end = -std::numeric_limits<double>::infinity();
    std::vector<std::pair<double, QString>> contexts;
    for (const Tick& t : l.ticks) {
        const double x = std::floor(l.X(t.time));
        p.setPen(AxisColour);
        p.drawLine(QPointF(x, l.Bottom()), QPointF(x, l.Bottom() + tick));
        p.setPen(TextColour);
        label(x, t.label, row, end, 0.3 * l.unit);
        if (!t.context.isEmpty())
            contexts.emplace_back(x, t.context);
    }
    if (!l.empty && l.timeStep.label == TickLabel::Clock) {
        // The range's first date, unless one stands near the left end anyway.
        const Civil c = Split(l.from);
        const QString first = QString::number(c.day) + QLatin1Char(' ') + MonthShort(c.month) +
                              QLatin1Char(' ') + QString::number(c.year);
        const double w = fm.horizontalAdvance(first);
        if (contexts.empty() || contexts.front().first - fm.horizontalAdvance(contexts.front().second) / 2 >
                                    l.Left() + w + l.unit)
            contexts.insert(contexts.begin(), {l.Left() + w / 2, first});
    }
    end = -std::numeric_limits<double>::infinity();
    for (const auto& [x, text] : contexts)
        label(x, text, row + l.lineHeight, end, 0.5 * l.unit);
}

void HistoryChart::PaintLegend(QPainter& p, const Layout& l)
{
    const double sample = 2.5 * l.unit;
    for (const LegendItem& item : l.legend) {
        const double mid = item.at.y() + l.lineHeight / 2;
        switch (item.sample) {
        case LegendItem::Line:
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(QPen(LineColour(), l.lineWidth));
            p.drawLine(QPointF(item.at.x(), mid), QPointF(item.at.x() + sample, mid));
            p.setRenderHint(QPainter::Antialiasing, false);
            break;
        case LegendItem::Shade:
            p.fillRect(QRectF(item.at.x(), mid - 0.35 * l.lineHeight, sample, 0.7 * l.lineHeight),
                       PowerLossShade());
            break;
        case LegendItem::Mark:
            p.setPen(MarkColour(item.kind));
            p.drawText(QRectF(item.at.x(), item.at.y(), sample, l.lineHeight), Qt::AlignCenter,
                       MarkLabel(item.kind));
            break;
        }
        p.setPen(TextColour);
        p.drawText(QRectF(item.at.x() + sample + 0.5 * l.unit, item.at.y(), l.whole.right() - item.at.x(),
                          l.lineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, item.text);
    }
}

std::optional<ChartReadOut> HistoryChart::ReadOutAt(QPointF point, const QRect& whole) const
{
    const Layout l = MakeLayout(whole);
    const double slack = 0.5 * l.unit;
    if (!QRectF(l.plot).adjusted(-slack, -slack, slack, slack).contains(point))
        return std::nullopt;
    const double secondsPerPixel = double(l.to - l.from) / l.plot.width();
    const double t = l.from + (point.x() - l.plot.left()) * secondsPerPixel;
    const double reach = 4 * secondsPerPixel + 0.5;
    std::optional<std::size_t> best;
    double bestDistance = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const double d = std::abs(double(entries_[i].time) - t);
        // At one time an event tells more than the cyclic record beside it.
        if (d <= reach && (!best || d < bestDistance ||
                           (d == bestDistance && entries_[*best].kind == 4 && entries_[i].kind != 4))) {
            best = i;
            bestDistance = d;
        }
    }
    if (!best)
        return std::nullopt;
    const HistoryEntry& e = entries_[*best];
    return ChartReadOut{*best, e.time, HistoryTimeText(e.time),
                        e.tenths ? TemperatureText(*e.tenths) : QString(), HistoryEventName(e.kind)};
}

ChartStats HistoryChart::VisibleStats() const
{
    ChartStats s;
    const HistoryTime from = From();
    const HistoryTime to = To();
    qint64 sum = 0;
    HistoryTime first = 0;
    HistoryTime last = 0;
    for (const HistoryEntry& e : entries_) {
        if (!e.tenths || e.time < from || e.time > to)
            continue;
        sum += *e.tenths;
        if (s.count++ == 0) {
            s.minTenths = s.maxTenths = *e.tenths;
            first = last = e.time;
        }
        s.minTenths = std::min(*s.minTenths, *e.tenths);
        s.maxTenths = std::max(*s.maxTenths, *e.tenths);
        first = std::min(first, e.time);
        last = std::max(last, e.time);
    }
    if (s.count > 0) {
        s.meanTenths = double(sum) / s.count;
        s.spanSeconds = last - first;
    }
    return s;
}

QString HistoryChart::TemperatureText(int tenths)
{
    return (tenths < 0 ? QString() : QStringLiteral("+")) + TenthsText(tenths) + QStringLiteral(" °C");
}

QString HistoryChart::DurationText(qint64 seconds)
{
    const qint64 days = seconds / DaySeconds;
    const qint64 hours = seconds % DaySeconds / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    if (days == 1)
        return hours > 0 ? tr("1 dzień %1 godz.").arg(hours) : tr("1 dzień");
    if (days > 0)
        return hours > 0 ? tr("%1 dni %2 godz.").arg(days).arg(hours) : tr("%1 dni").arg(days);
    if (hours > 0)
        return minutes > 0 ? tr("%1 godz. %2 min").arg(hours).arg(minutes) : tr("%1 godz.").arg(hours);
    if (minutes > 0)
        return tr("%1 min").arg(minutes);
    return tr("%1 s").arg(std::max<qint64>(seconds, 0));
}

QString HistoryChart::StatsText(const ChartStats& s)
{
    if (s.count == 0 || !s.minTenths || !s.maxTenths || !s.meanTenths)
        return tr("Brak pomiarów w widocznym zakresie");
    //: %1 lowest, %2 mean, %3 highest temperature; %4 how many readings, %5 over what time
    return tr("min %1  średnia %2  maks. %3  (%4, %5)")
        .arg(TemperatureText(*s.minTenths), TemperatureText(int(std::lround(*s.meanTenths))),
             TemperatureText(*s.maxTenths), MeasurementsText(s.count), DurationText(s.spanSeconds));
}

bool HistoryChart::SaveImage(const QString& path, QSize size, QString* error) const
{
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    const QString cannot = tr("Nie można zapisać pliku %1").arg(path);
    if (size.width() < 100 || size.height() < 100)
        return fail(tr("Za mały rozmiar obrazu: %1 x %2").arg(size.width()).arg(size.height()));
    // Without one, Qt's fonts end the program instead of failing.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return fail(tr("Wykres wymaga QGuiApplication (bez ekranu: QT_QPA_PLATFORM=offscreen)"));
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QRect whole(QPoint(0, 0), size);
    if (suffix == QLatin1String("png")) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        Paint(p, whole);
        p.end();
        return image.save(path, "PNG") || fail(cannot);
    }
    if (suffix == QLatin1String("pdf")) {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        pdf.setResolution(150);
        pdf.setTitle(tr("Historia sterownika TQ-3"));
        pdf.setCreator(tr("Konfigurator TQ-3"));
        QPainter p;
        if (!p.begin(&pdf))
            return fail(cannot);
        // The chart keeps its proportions on the page, in the middle of it.
        const QRect page = p.viewport();
        const QSize fitted = size.scaled(page.size(), Qt::KeepAspectRatio);
        p.setViewport(QRect(page.topLeft() + QPoint((page.width() - fitted.width()) / 2,
                                                    (page.height() - fitted.height()) / 2),
                            fitted));
        p.setWindow(whole);
        Paint(p, whole);
        return p.end() || fail(cannot);
    }
    if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(whole);
        svg.setTitle(tr("Historia sterownika TQ-3"));
        QPainter p;
        if (!p.begin(&svg))
            return fail(cannot);
        Paint(p, whole);
        return p.end() || fail(cannot);
    }
    return fail(tr("Nieznany format pliku %1: obsługiwane są .png, .pdf i .svg").arg(path));
}

QColor HistoryChart::LineColour()
{
    return {0x1f, 0x5f, 0xbf};
}

QColor HistoryChart::AlarmMaxColour()
{
    return {0xc6, 0x28, 0x28};
}

QColor HistoryChart::AlarmMinColour()
{
    return {0x7b, 0x1f, 0xa2};
}

QColor HistoryChart::PowerLossShade()
{
    return {0xff, 0xe6, 0xc0};
}

QColor HistoryChart::MarkColour(int kind)
{
    switch (kind) {
    case 5:
        return {0x55, 0x55, 0x55};
    case 6:
        return {0x2e, 0x7d, 0x32};
    case 7:
        return {0xe6, 0x5c, 0x00};
    case 8:
        return {0x8d, 0x80, 0x00};
    case 9:
        return {0x8d, 0x4e, 0x2a};
    case 10:
        return {0x00, 0x89, 0x7b};
    case 11:
        return AlarmMaxColour();
    case 12:
        return {0x00, 0x70, 0x9a};
    case 13:
        return AlarmMinColour();
    default:
        return {};
    }
}

} // namespace tq3
