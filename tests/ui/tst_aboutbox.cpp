// The about box and the JPEG decoder behind its logo.

#include "PromptRecorder.h"
#include "ui/AboutBox.h"
#include "ui/JpegImage.h"
#include "ui/MainForm.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

QByteArray Logo()
{
    QFile file(QStringLiteral(":/logo.jpg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Test pictures of known content, made with libjpeg's encoder at full quality
// from a Format_RGB888 or Format_Grayscale8 image.
QByteArray Encode(const QImage& image, bool progressive)
{
    const bool grey = image.format() == QImage::Format_Grayscale8;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    if (progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW line = const_cast<uchar*>(image.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &line, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}

int MaxDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            worst = std::max(
                {worst, qAbs(p.red() - q.red()), qAbs(p.green() - q.green()), qAbs(p.blue() - q.blue())});
        }
    return worst;
}

} // namespace

class TestAboutBox : public QObject
{
    Q_OBJECT
private slots:
    void logoIsProgressiveColour();
    void decodesKnownPictures_data();
    void decodesKnownPictures();
    void damagedJpegGivesNullImage_data();
    void damagedJpegGivesNullImage();
    void layout();
    void labelClicksOpenAddressAndBoxStaysOpen();
};

void TestAboutBox::logoIsProgressiveColour()
{
    // Progressive frame header: precision 8, height 88, width 128, three components.
    const QByteArray jpeg = Logo();
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC2", 2));
    QVERIFY(sof > 0);
    QCOMPARE(jpeg.mid(sof + 4, 6).toHex(), QByteArray("080058008003"));

    const QImage logo = DecodeJpeg(jpeg);
    QCOMPARE(logo.size(), QSize(128, 88));
    QCOMPARE(logo.format(), QImage::Format_RGB888);
    int coloured = 0;
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x) {
            const QColor c = logo.pixelColor(x, y);
            coloured +=
                std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 40;
        }
    QVERIFY2(coloured > logo.width() * logo.height() / 2, qPrintable(QString::number(coloured)));
    // Channels in order: dark blue sky at the top, the thermometer's red bulb.
    const QColor sky = logo.pixelColor(2, 2), bulb = logo.pixelColor(20, 74);
    QVERIFY(sky.blue() > sky.red() + 40);
    QVERIFY2(bulb.red() > 180 && bulb.green() < 90 && bulb.blue() < 90, qPrintable(bulb.name()));
}

void TestAboutBox::decodesKnownPictures_data()
{
    QTest::addColumn<bool>("grey");
    QTest::addColumn<bool>("progressive");
    QTest::newRow("colour baseline") << false << false;
    QTest::newRow("colour progressive") << false << true;
    QTest::newRow("grey baseline") << true << false;
    QTest::newRow("grey progressive") << true << true;
}

void TestAboutBox::decodesKnownPictures()
{
    QFETCH(bool, grey);
    QFETCH(bool, progressive);
    // Smooth colours (JPEG keeps them well) in an odd size, so rows are padded.
    QImage source(21, 13, QImage::Format_RGB888);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixelColor(x, y, QColor(40 + 8 * x, 200 - 6 * y, 120));
    if (grey)
        source.convertTo(QImage::Format_Grayscale8);
    const QImage decoded = DecodeJpeg(Encode(source, progressive));
    QCOMPARE(decoded.size(), source.size());
    QCOMPARE(decoded.format(), QImage::Format_RGB888);
    const int difference = MaxDifference(source, decoded);
    QVERIFY2(difference <= 8, qPrintable(QString::number(difference)));
}

void TestAboutBox::damagedJpegGivesNullImage_data()
{
    const QByteArray logo = Logo();
    QByteArray random(600, '\0');
    QRandomGenerator generator(3);
    generator.fillRange(reinterpret_cast<quint32*>(random.data()), random.size() / 4);
    const qsizetype sof = logo.indexOf(QByteArray("\xFF\xC2", 2));
    QByteArray zeroWidth = logo, huge = logo;
    zeroWidth[sof + 7] = zeroWidth[sof + 8] = '\0';
    huge[sof + 5] = huge[sof + 6] = huge[sof + 7] = huge[sof + 8] = '\xFF';

    QTest::addColumn<QByteArray>("jpeg");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("random bytes") << random;
    QTest::newRow("random after start marker") << QByteArray("\xFF\xD8", 2) + random;
    QTest::newRow("start marker only") << logo.left(2);
    QTest::newRow("cut in the header") << logo.left(sof + 6);
    QTest::newRow("cut after the header") << logo.left(sof + 40);
    QTest::newRow("cut in half") << logo.left(logo.size() / 2);
    QTest::newRow("end marker missing") << logo.chopped(2);
    QTest::newRow("zero width") << zeroWidth;
    QTest::newRow("65535 x 65535") << huge;
}

void TestAboutBox::damagedJpegGivesNullImage()
{
    QFETCH(QByteArray, jpeg);
    QVERIFY(DecodeJpeg(jpeg).isNull());
}

void TestAboutBox::layout()
{
    QWidget main;
    main.setFont(WindowFont());
    PromptRecorder prompts;
    TFInfo box(&main, prompts);

    QCOMPARE(box.objectName(), QStringLiteral("FInfo"));
    QCOMPARE(box.windowTitle(), QStringLiteral("O programie"));
    QCOMPARE(box.font(), main.font());
    QCOMPARE(box.windowFlags() &
                 (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
             Qt::WindowCloseButtonHint);
    QCOMPARE(box.minimumSize(), QSize(272, 112));
    QCOMPARE(box.maximumSize(), QSize(272, 112));

    QCOMPARE(box.Panel1->geometry(), QRect(8, 8, 129, 89));
    QCOMPARE(box.Image1->parentWidget(), box.Panel1);
    QCOMPARE(box.Image1->geometry(), QRect(0, 0, 130, 90));
    QCOMPARE(box.Image1->pixmap().size(), QSize(128, 88));
    QVERIFY(!box.Image1->hasScaledContents());
    QCOMPARE(box.Button1->geometry(), QRect(168, 72, 75, 25));
    QCOMPARE(box.Button1->text(), QStringLiteral("OK"));

    QCOMPARE(box.Label2->text(), QStringLiteral("Konfigurator TQ-3 v2.0"));
    QCOMPARE(box.Label1->text(), QStringLiteral("www.example.com"));
    QCOMPARE(box.Label1->font().pixelSize(), 13);
    QVERIFY(box.Label1->font().underline());
    QCOMPARE(box.Label1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(box.Label1->cursor().shape(), Qt::PointingHandCursor);
    // Designed places, unless the text needs more room than the box leaves it.
    const struct
    {
        QLabel* label;
        QRect design;
    } labels[] = {{box.Label2, {144, 8, 109, 13}}, {box.Label1, {160, 48, 90, 16}}};
    for (const auto& [label, design] : labels) {
        const QRect r = label->geometry();
        QCOMPARE(r.top(), design.top());
        QCOMPARE(r.height(), design.height());
        QVERIFY2(r.width() >= qMax(design.width(), label->fontMetrics().horizontalAdvance(label->text())),
                 qPrintable(label->objectName()));
        QVERIFY2(r.right() < 272 && r.left() > box.Panel1->geometry().right(),
                 qPrintable(label->objectName()));
        QVERIFY(r.left() == design.left() || r.right() >= 272 - 8);
    }

    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.focusWidget(), box.Button1);
    QCOMPARE(box.Button1->nextInFocusChain(), box.Panel1);
}

void TestAboutBox::labelClicksOpenAddressAndBoxStaysOpen()
{
    PromptRecorder prompts;
    TFInfo box(nullptr, prompts);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    QTest::mouseClick(box.Label1, Qt::LeftButton);
    QTest::mouseClick(box.Label1, Qt::RightButton);
    QTest::mouseClick(box.Label1, Qt::LeftButton);
    const QString url = QStringLiteral("Url: https://www.example.com/");
    QCOMPARE(prompts.log, QStringList({url, url}));
    QVERIFY(box.isVisible());

    QTest::mouseClick(box.Button1, Qt::LeftButton);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
