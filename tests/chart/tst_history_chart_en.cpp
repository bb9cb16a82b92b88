// The chart's time axis in English, with the program's English catalogue
// installed: the month names come from it, and the ticks stay legible.
#include "chart/HistoryChart.h"
#include "translations/Language.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace tq3;

namespace {

// The texts the chart drew, as the SVG file holds them.
QStringList DrawnTexts(const std::vector<HistoryEntry>& entries)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.svg"));
    const HistoryChart chart(entries);
    QString error;
    if (!chart.SaveImage(path, QSize(800, 400), &error))
        return {error};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression text(QStringLiteral(">\\s*([^<>]*)</text>"));
    QStringList texts;
    for (const QRegularExpressionMatch& m : text.globalMatch(QString::fromUtf8(file.readAll())))
        texts << m.captured(1);
    return texts;
}

} // namespace

class TstHistoryChartEnglish : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void timeAxis_data();
    void timeAxis();
};

void TstHistoryChartEnglish::initTestCase()
{
    QVERIFY(InstallLanguage(*qApp, Language::English));
}

void TstHistoryChartEnglish::timeAxis_data()
{
    QTest::addColumn<qint64>("first");
    QTest::addColumn<int>("stepHours");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("expected"); // each matches one drawn text whole

    const auto at = [](int y, int m, int d, int h) { return *MakeHistoryTime(y, m, d, h, 0, 0); };
    // Times of day, with the date under the first and under midnight.
    QTest::newRow("hours") << at(2024, 9, 7, 12) << 1 << 31
                           << QStringList{"7 Sep 2024", "8 Sep 2024", "\\d\\d:\\d\\d"};
    // Days across the turn of a month, the year under the first.
    QTest::newRow("days") << at(2024, 9, 25, 0) << 6 << 80 << QStringList{"\\d+ Sep", "\\d+ Oct", "2024"};
    // Months with their years, across the turn of a year.
    QTest::newRow("months") << at(2024, 7, 1, 0) << 24 << 400
                            << QStringList{"(Jul|Aug|Sep|Oct|Nov|Dec) 2024", "Jan 2025"};
}

void TstHistoryChartEnglish::timeAxis()
{
    QFETCH(qint64, first);
    QFETCH(int, stepHours);
    QFETCH(int, count);
    QFETCH(QStringList, expected);

    std::vector<HistoryEntry> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back({first + qint64(i) * stepHours * 3600, 4, 215});
    const QStringList texts = DrawnTexts(entries);

    for (const QString& pattern : expected) {
        // An exact match of the whole text.
        QVERIFY2(texts.indexOf(QRegularExpression(pattern)) >= 0,
                 qPrintable(pattern + QStringLiteral(" in ") + texts.join('|')));
    }
    // No Polish month name is left among them.
    const QStringList polish{"sty", "lut", "mar", "kwi", "maj", "cze",
                             "lip", "sie", "wrz", "paź", "lis", "gru"};
    for (const QString& t : texts)
        for (const QString& word : t.split(QLatin1Char(' ')))
            QVERIFY2(!polish.contains(word), qPrintable(t));
}

QTEST_MAIN(TstHistoryChartEnglish)
#include "tst_history_chart_en.moc"
