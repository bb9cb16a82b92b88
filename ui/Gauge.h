#pragma once
// A horizontal progress gauge with a single-line border: the filled share in
// the bar colour on the background colour, the percentage of the range as
// centred text ("57%"). Progress is clamped to the range; the gauge repaints
// only when the shown percentage changes.
#include <QColor>
#include <QWidget>

class TGauge : public QWidget
{
    Q_OBJECT
public:
    explicit TGauge(QWidget* parent = nullptr);

    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    void SetRange(int minValue, int maxValue);

    int Progress() const { return progress_; }
    void SetProgress(int value);

    // Whole per cent of the range that the progress fills, 0..100.
    int PercentDone() const;

    QColor ForeColor() const { return foreColor_; } // bar, black by default
    QColor BackColor() const { return backColor_; } // background, white by default
    void SetForeColor(const QColor& c);
    void SetBackColor(const QColor& c);

    // Number of repaints requested so far (lets tests see that an unchanged
    // percentage does not repaint).
    int RepaintRequests() const { return repaintRequests_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void RequestRepaint();

    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
    QColor foreColor_ = Qt::black;
    QColor backColor_ = Qt::white;
    int repaintRequests_ = 0;
};
