#pragma once
// The history's chart in a window of its own, beside the main window: what the
// event log holds (downloaded, or a saved history opened), following a download
// while it runs. The wheel zooms around the pointer, a drag pans, +, -, the
// arrows and Home do the same from the keyboard; a read-out under the pointer,
// the statistics of what is shown, the picture saved or printed.
#include "chart/HistoryChart.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
namespace tq3 {
class UserPrompts;
}

class HistoryChartCanvas;

class HistoryChartWindow : public QWidget
{
    Q_OBJECT
public:
    // entries: the model's, held by the caller for the window's life; settings
    // gives the interval and the alarm limits as the program knows them now.
    HistoryChartWindow(const std::vector<tq3::HistoryEntry>& entries,
                       std::function<tq3::ChartSettings()> settings, tq3::UserPrompts& prompts,
                       QWidget* parent);

    // The entries have changed (records came, a history was opened).
    void Refresh();

    tq3::HistoryChart& Chart() { return chart_; }
    QLabel* ReadOut() const { return readOut_; }
    QLabel* Stats() const { return stats_; }
    HistoryChartCanvas* Canvas() const { return canvas_; }

    void SaveImage();
    void Print();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowStats();

    tq3::HistoryChart chart_;
    std::function<tq3::ChartSettings()> settings_;
    tq3::UserPrompts& prompts_;
    HistoryChartCanvas* canvas_ = nullptr;
    QLabel* readOut_ = nullptr;
    QLabel* stats_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* all_ = nullptr;
};

// The painted chart: it takes the wheel, the drag and the pointer's moves.
class HistoryChartCanvas : public QWidget
{
    Q_OBJECT
public:
    HistoryChartCanvas(tq3::HistoryChart& chart, QWidget* parent);

signals:
    void ViewChanged();
    void PointerAt(QPointF p);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    tq3::HistoryChart& chart_;
    std::optional<double> dragX_;
};
