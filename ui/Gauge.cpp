#include "ui/Gauge.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

TGauge::TGauge(QWidget* parent) : QWidget(parent)
{
    // The border, the bar and the background cover every pixel.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGauge::SetRange(int minValue, int maxValue)
{
    const int before = PercentDone();
    minValue_ = minValue;
    maxValue_ = std::max(minValue, maxValue);
    progress_ = std::clamp(progress_, minValue_, maxValue_);
    if (PercentDone() != before)
        RequestRepaint();
}

void TGauge::SetProgress(int value)
{
    value = std::clamp(value, minValue_, maxValue_);
    if (value == progress_)
        return;
    const int before = PercentDone();
    progress_ = value;
    // The picture depends on the whole per cent only; the window feeds the
    // gauge far more often than that changes.
    if (PercentDone() != before)
        RequestRepaint();
}

int TGauge::PercentDone() const
{
    if (maxValue_ <= minValue_)
        return 0;
    // 64 bits: a range near the limits of int must not overflow the product.
    const qint64 done = qint64(progress_) - minValue_;
    const qint64 span = qint64(maxValue_) - minValue_;
    return int(done * 100 / span);
}

void TGauge::SetForeColor(const QColor& c)
{
    if (c == foreColor_)
        return;
    foreColor_ = c;
    RequestRepaint();
}

void TGauge::SetBackColor(const QColor& c)
{
    if (c == backColor_)
        return;
    backColor_ = c;
    RequestRepaint();
}

void TGauge::RequestRepaint()
{
    ++repaintRequests_;
    update();
}

void TGauge::paintEvent(QPaintEvent* /*event*/)
{
    QPainter p(this);
    const QRect all = rect();
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0, 0, -1, -1));

    const QRect inner = all.adjusted(1, 1, -1, -1);
    if (inner.isEmpty())
        return;
    const int percent = PercentDone();
    const int filledWidth = inner.width() * percent / 100;
    const QRect filled(inner.left(), inner.top(), filledWidth, inner.height());
    const QRect empty(inner.left() + filledWidth, inner.top(), inner.width() - filledWidth, inner.height());
    p.fillRect(filled, foreColor_);
    p.fillRect(empty, backColor_);

    // The text takes the opposite colour where it crosses the bar, so it
    // stays readable at any share.
    const QString text = QString::number(percent) + QLatin1Char('%');
    p.setFont(font());
    p.setClipRect(empty);
    p.setPen(foreColor_);
    p.drawText(inner, Qt::AlignCenter, text);
    p.setClipRect(filled);
    p.setPen(backColor_);
    p.drawText(inner, Qt::AlignCenter, text);
}
