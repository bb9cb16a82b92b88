#include "ui/Pictures.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QtMath>

namespace {

const QColor kOutline(48, 48, 48);

// Pixels of the picture per logical pixel: whole, so that no pixel is split.
int Scale(qreal ratio)
{
    return qMax(1, qCeil(ratio - 0.01));
}

// A box with a one-pixel outline. Filled, not stroked: a pen's line moves by
// half a pixel when the painter scales, a filled rectangle does not.
void Box(QPainter& p, const QRect& outer, const QColor& fill)
{
    p.fillRect(outer, kOutline);
    p.fillRect(outer.adjusted(1, 1, -1, -1), fill);
}

// The controller: a box with a display, two lamps, a terminal strip and the
// GSM antenna, on the left of the picture.
void DrawController(QPainter& p)
{
    // Antenna first, the box covers its foot.
    p.fillRect(QRect(7, 2, 2, 7), kOutline);
    p.fillRect(QRect(6, 1, 4, 2), kOutline);

    Box(p, QRect(0, 8, 11, 23), QColor(222, 218, 204));   // body
    p.fillRect(QRect(1, 9, 9, 1), QColor(250, 248, 240)); // lit top edge

    Box(p, QRect(2, 11, 7, 6), QColor(150, 196, 110)); // display
    p.fillRect(QRect(3, 13, 4, 1), QColor(60, 90, 40));

    p.fillRect(QRect(2, 19, 2, 2), QColor(230, 30, 30)); // alarm lamp
    p.fillRect(QRect(5, 19, 2, 2), QColor(30, 190, 30)); // power lamp

    for (int x = 2; x <= 8; x += 2)
        p.fillRect(QRect(x, 25, 1, 3), QColor(90, 90, 90)); // terminal screws
}

// The PC: a monitor on a stand, on the right of the picture.
void DrawComputer(QPainter& p)
{
    Box(p, QRect(21, 7, 11, 13), QColor(200, 200, 200)); // case
    QLinearGradient screen(0, 9, 0, 17);
    screen.setColorAt(0, QColor(100, 160, 235));
    screen.setColorAt(1, QColor(30, 70, 160));
    p.fillRect(QRect(23, 9, 7, 9), screen);
    p.fillRect(QRect(25, 20, 3, 2), QColor(120, 120, 120)); // stand
    p.fillRect(QRect(22, 22, 9, 2), kOutline);              // foot
}

// A bold arrow in the gap between the two, pointing right (towards the PC)
// or left (towards the controller). Set pixel by pixel: at this size a
// smoothed outline only blurs.
void DrawArrow(QPainter& p, bool towardsPc, const QColor& fill)
{
    constexpr int kLeft = 11, kRight = 20, kMiddle = 13;
    QImage mask(32, 32, QImage::Format_Mono);
    mask.fill(0);
    auto set = [&](int step, int halfHeight) {
        const int x = towardsPc ? kLeft + step : kRight - step;
        for (int y = kMiddle - halfHeight; y <= kMiddle + halfHeight; ++y)
            mask.setPixel(x, y, 1);
    };
    for (int step = 0; step < 5; ++step)
        set(step, 1); // shaft, 3 rows
    for (int step = 5; step < 10; ++step)
        set(step, 9 - step); // head, 9 rows down to the point

    const QColor light = fill.lighter(140);
    for (int y = 1; y < 31; ++y) {
        for (int x = 1; x < 31; ++x) {
            if (mask.pixelIndex(x, y)) {
                // The top row of each column catches the light.
                p.fillRect(QRect(x, y, 1, 1), mask.pixelIndex(x, y - 1) ? fill : light);
                continue;
            }
            const bool edge = mask.pixelIndex(x - 1, y) || mask.pixelIndex(x + 1, y) ||
                              mask.pixelIndex(x, y - 1) || mask.pixelIndex(x, y + 1);
            if (edge)
                p.fillRect(QRect(x, y, 1, 1), kOutline);
        }
    }
}

QPixmap TransferPicture(bool read, qreal ratio)
{
    const int scale = Scale(ratio);
    QImage image(32 * scale, 32 * scale, QImage::Format_RGB888);
    image.setDevicePixelRatio(scale); // the painter draws in the picture's own 32 x 32
    // No alpha in 24 bits: the background is the colour the tool bar is
    // painted with, so the picture blends into it.
    image.fill(QGuiApplication::palette().color(QPalette::Button));
    QPainter p(&image);
    DrawController(p);
    DrawComputer(p);
    DrawArrow(p, read, read ? QColor(40, 170, 60) : QColor(230, 110, 20));
    p.end();
    return QPixmap::fromImage(image);
}

QIcon TransferIcon(bool read)
{
    QIcon icon;
    QList<int> scales{1, 2, 3};
    const int running = Scale(qApp ? qApp->devicePixelRatio() : 1);
    if (!scales.contains(running))
        scales << running;
    for (int scale : scales)
        icon.addPixmap(TransferPicture(read, scale));
    return icon;
}

} // namespace

QPixmap ReadFromControllerPicture(qreal ratio)
{
    return TransferPicture(true, ratio);
}

QPixmap WriteToControllerPicture(qreal ratio)
{
    return TransferPicture(false, ratio);
}

QIcon ReadFromControllerIcon()
{
    return TransferIcon(true);
}

QIcon WriteToControllerIcon()
{
    return TransferIcon(false);
}

QPixmap SpinArrowPicture(bool up, bool enabled, qreal ratio)
{
    const int scale = Scale(ratio);
    QImage image(9 * scale, 6 * scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const QColor colour = enabled ? QColor(Qt::black) : QColor(128, 128, 128);
    // Five rows 1, 3, 5, 7 and 9 pixels wide, the wide end away from the
    // point; with more screen pixels the same slope in finer steps.
    for (int i = 0; i < 5 * scale; ++i) {
        const int width = qMin(9 * scale, scale + 2 * i);
        const int y = up ? scale + i : 5 * scale - 1 - i;
        p.fillRect(QRect((9 * scale - width) / 2, y, width, 1), colour);
    }
    p.end();
    image.setDevicePixelRatio(scale);
    return QPixmap::fromImage(image);
}
