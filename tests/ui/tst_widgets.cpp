// The progress gauge, the spin buttons and the pictures the program draws itself.

#include "ui/Gauge.h"
#include "ui/Pictures.h"
#include "ui/SpinButton.h"

#include <QElapsedTimer>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

namespace {

int ColourCount(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT
private slots:
    void gaugePercent_data();
    void gaugePercent();
    void gaugeSetRangeClampsProgress();
    void gaugeRepaintsOnlyWhenPercentChanges();
    void gaugeColours();
    void spinPressGivesOneEventAtOnce();
    void spinHoldRepeatsAfterFirstDelay();
    void spinStopsRepeating_data();
    void spinStopsRepeating();
    void spinKeyboard();
    void spinLayout();
    void picturesAtRatio_data();
    void picturesAtRatio();
    void pictures();
};

void TestWidgets::gaugePercent_data()
{
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("percent");
    QTest::newRow("signal full") << 0 << 20 << 20 << 20 << 100;
    QTest::newRow("signal above range") << 0 << 20 << 25 << 20 << 100;
    QTest::newRow("signal part") << 0 << 20 << 7 << 7 << 35;
    QTest::newRow("below range") << 0 << 100 << -5 << 0 << 0;
    QTest::newRow("percent range") << 0 << 100 << 57 << 57 << 57;
    QTest::newRow("truncated") << 0 << 3 << 2 << 2 << 66;
    QTest::newRow("offset range") << 10 << 30 << 15 << 15 << 25;
    QTest::newRow("empty range") << 5 << 5 << 9 << 5 << 0;
    QTest::newRow("wide range") << -2000000000 << 2000000000 << 2000000000 << 2000000000 << 100;
}

void TestWidgets::gaugePercent()
{
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, set);
    TGauge gauge;
    gauge.SetRange(minValue, maxValue);
    gauge.SetProgress(set);
    QTEST(gauge.Progress(), "progress");
    QTEST(gauge.PercentDone(), "percent");
}

void TestWidgets::gaugeSetRangeClampsProgress()
{
    TGauge gauge;
    gauge.SetProgress(80);
    gauge.SetRange(0, 50);
    QCOMPARE(gauge.Progress(), 50);
    QCOMPARE(gauge.PercentDone(), 100);
    gauge.SetRange(60, 70);
    QCOMPARE(gauge.Progress(), 60);
    QCOMPARE(gauge.PercentDone(), 0);
}

void TestWidgets::gaugeRepaintsOnlyWhenPercentChanges()
{
    TGauge gauge;
    gauge.SetRange(0, 1000);
    gauge.SetProgress(1);
    const int before = gauge.RepaintRequests();
    gauge.SetProgress(2);
    QCOMPARE(gauge.RepaintRequests(), before);
    gauge.SetProgress(10);
    QCOMPARE(gauge.RepaintRequests(), before + 1);
    gauge.SetProgress(10);
    gauge.SetProgress(19);
    QCOMPARE(gauge.RepaintRequests(), before + 1);
    gauge.SetRange(0, 100); // 19 of 100: the shown share changes
    QCOMPARE(gauge.RepaintRequests(), before + 2);
}

void TestWidgets::gaugeColours()
{
    TGauge gauge;
    QCOMPARE(gauge.ForeColor(), QColor(Qt::black));
    QCOMPARE(gauge.BackColor(), QColor(Qt::white));
    gauge.resize(120, 16);
    gauge.SetRange(0, 20);
    gauge.SetForeColor(QColor(0, 0, 255));
    gauge.SetBackColor(QColor(212, 208, 200));
    QCOMPARE(gauge.ForeColor(), QColor(0, 0, 255));

    // Left of the centred text: bar colour when full, background when empty.
    gauge.SetProgress(20);
    QImage image = gauge.grab().toImage();
    QCOMPARE(image.pixelColor(4, 8), QColor(0, 0, 255));
    QCOMPARE(image.pixelColor(0, 8), QColor(Qt::black)); // border
    gauge.SetProgress(0);
    image = gauge.grab().toImage();
    QCOMPARE(image.pixelColor(4, 8), QColor(212, 208, 200));
    QCOMPARE(image.pixelColor(115, 8), QColor(212, 208, 200));
}

void TestWidgets::spinPressGivesOneEventAtOnce()
{
    TSpinButton spin;
    QSignalSpy up(&spin, &TSpinButton::UpClick);
    QSignalSpy down(&spin, &TSpinButton::DownClick);
    spin.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spin));
    const QImage raised = spin.UpButton()->grab().toImage();
    QTest::mousePress(spin.UpButton(), Qt::LeftButton);
    QCOMPARE(up.count(), 1);
    QCOMPARE(down.count(), 0);
    QVERIFY(spin.UpButton()->grab().toImage() != raised); // looks pressed
    QTest::mouseRelease(spin.UpButton(), Qt::LeftButton);
    QCOMPARE(spin.UpButton()->grab().toImage(), raised);
    QTest::mouseClick(spin.DownButton(), Qt::LeftButton);
    QCOMPARE(up.count(), 1);
    QCOMPARE(down.count(), 1);
    QTest::mouseClick(spin.DownButton(), Qt::RightButton);
    QCOMPARE(down.count(), 1);
}

void TestWidgets::spinHoldRepeatsAfterFirstDelay()
{
    constexpr int firstDelay = 120;
    constexpr int interval = 10;
    TSpinButton spin;
    spin.SetRepeatTiming(firstDelay, interval);
    spin.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spin));
    QElapsedTimer clock;
    QList<qint64> at;
    connect(&spin, &TSpinButton::DownClick, this, [&] { at.append(clock.elapsed()); });
    clock.start();
    QTest::mousePress(spin.DownButton(), Qt::LeftButton);
    QCOMPARE(at.size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(at.size() >= 6, 5000);
    QTest::mouseRelease(spin.DownButton(), Qt::LeftButton);

    QVERIFY2(at[1] >= firstDelay - 2, qPrintable(QString::number(at[1])));
    // Four repeats at the interval, far quicker than four first delays.
    const qint64 fourRepeats = at[5] - at[1];
    QVERIFY2(fourRepeats >= 4 * interval - 4 && fourRepeats < 4 * firstDelay,
             qPrintable(QString::number(fourRepeats)));
}

void TestWidgets::spinStopsRepeating_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("released") << 0;
    QTest::newRow("disabled") << 1;
    QTest::newRow("hidden") << 2;
}

void TestWidgets::spinStopsRepeating()
{
    QFETCH(int, how);
    TSpinButton spin;
    spin.SetRepeatTiming(20, 5);
    QSignalSpy up(&spin, &TSpinButton::UpClick);
    spin.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spin));
    QTest::mousePress(spin.UpButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(up.count() >= 3, 5000);
    if (how == 0)
        QTest::mouseRelease(spin.UpButton(), Qt::LeftButton);
    else if (how == 1)
        spin.setEnabled(false);
    else
        spin.hide();
    const auto stoppedAt = up.count();
    QTest::qWait(60);
    QCOMPARE(up.count(), stoppedAt);
}

void TestWidgets::spinKeyboard()
{
    TSpinButton spin;
    QVERIFY(spin.focusPolicy() & Qt::TabFocus);
    QSignalSpy up(&spin, &TSpinButton::UpClick);
    QSignalSpy down(&spin, &TSpinButton::DownClick);
    QTest::keyClick(&spin, Qt::Key_Up);
    QCOMPARE(up.count(), 1);
    QTest::keyClick(&spin, Qt::Key_Down);
    QTest::keyClick(&spin, Qt::Key_Down);
    QCOMPARE(down.count(), 2);
    QCOMPARE(up.count(), 1);
}

void TestWidgets::spinLayout()
{
    TSpinButton spin; // 20 x 25 as in the window
    spin.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spin));
    QCOMPARE(spin.UpButton()->geometry(), QRect(0, 0, 20, 12));
    QCOMPARE(spin.DownButton()->geometry(), QRect(0, 12, 20, 13));
}

void TestWidgets::pictures()
{
    const QPixmap read = ReadFromControllerPicture();
    const QPixmap write = WriteToControllerPicture();
    QCOMPARE(read.size(), QSize(32, 32));
    QCOMPARE(write.size(), QSize(32, 32));
    QVERIFY(ColourCount(read) > 1);
    QVERIFY(read.toImage() != write.toImage());

    const QImage up = SpinArrowPicture(true).toImage();
    const QImage down = SpinArrowPicture(false).toImage();
    const QImage grey = SpinArrowPicture(true, false).toImage();
    QCOMPARE(up.size(), QSize(9, 6));
    QCOMPARE(up.pixelColor(0, 1).alpha(), 0);           // transparent beside the point
    QCOMPARE(up.pixelColor(4, 1), QColor(Qt::black));   // point at the top
    QCOMPARE(down.pixelColor(4, 4), QColor(Qt::black)); // point at the bottom
    QCOMPARE(down.pixelColor(0, 4).alpha(), 0);
    QCOMPARE(grey.pixelColor(4, 1), QColor(128, 128, 128));
}

void TestWidgets::picturesAtRatio_data()
{
    QTest::addColumn<int>("ratio");
    QTest::newRow("2") << 2;
    QTest::newRow("3") << 3;
}

// On a denser screen each picture keeps its size and look: every pixel of the
// 1:1 picture drawn by a solid block of screen pixels, none blurred.
void TestWidgets::picturesAtRatio()
{
    QFETCH(int, ratio);
    const QRect gradient(23, 9, 7, 9); // the PC's screen, shaded finer at any ratio
    for (bool read : {true, false}) {
        const QPixmap plain = read ? ReadFromControllerPicture() : WriteToControllerPicture();
        const QPixmap dense = read ? ReadFromControllerPicture(ratio) : WriteToControllerPicture(ratio);
        QCOMPARE(dense.size(), QSize(32, 32) * ratio);
        QCOMPARE(dense.devicePixelRatio(), qreal(ratio));
        const QImage small = plain.toImage();
        const QImage big = dense.toImage();
        for (int y = 0; y < big.height(); ++y)
            for (int x = 0; x < big.width(); ++x)
                if (!gradient.contains(x / ratio, y / ratio) &&
                    big.pixel(x, y) != small.pixel(x / ratio, y / ratio))
                    QFAIL(qPrintable(
                        QStringLiteral("pixel %1,%2 of %3").arg(x).arg(y).arg(read ? "read" : "write")));
        const QIcon icon = read ? ReadFromControllerIcon() : WriteToControllerIcon();
        const QPixmap shown = icon.pixmap(QSize(32, 32), qreal(ratio));
        QCOMPARE(shown.size(), QSize(32, 32) * ratio);
        QCOMPARE(shown.toImage().convertToFormat(QImage::Format_RGB888),
                 big.convertToFormat(QImage::Format_RGB888));
    }

    // The arrows: the same triangle, one picture pixel wide at the point and
    // the full width at the base, growing by one screen pixel a side per row.
    const QImage up = SpinArrowPicture(true, true, ratio).toImage();
    const QImage down = SpinArrowPicture(false, true, ratio).toImage();
    QCOMPARE(up.size(), QSize(9, 6) * ratio);
    QCOMPARE(up.devicePixelRatio(), qreal(ratio));
    auto rowInk = [](const QImage& image, int y) {
        QString row;
        for (int x = 0; x < image.width(); ++x)
            row += image.pixelColor(x, y).alpha() ? QLatin1Char('#') : QLatin1Char('.');
        return row;
    };
    const int width = 9 * ratio;
    for (int i = 0; i < 6 * ratio; ++i) {
        const int ink = i < ratio ? 0 : qMin(width, ratio + 2 * (i - ratio));
        const QString expected = QString((width - ink) / 2, '.') + QString(ink, '#') +
                                 QString(width - ink - (width - ink) / 2, '.');
        QCOMPARE(rowInk(up, i), expected);
        QCOMPARE(rowInk(down, 6 * ratio - 1 - i), expected);
    }
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
