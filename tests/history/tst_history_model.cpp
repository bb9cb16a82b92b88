#include "history/HistoryFormat.h"
#include "history/HistoryModel.h"

#include "RecordBytes.h"

#include <QTest>

using namespace tq3;

namespace {

HistoryTime At(int y, int mo, int d, int h, int mi, int s = 0)
{
    return *MakeHistoryTime(y, mo, d, h, mi, s);
}

// A site's afternoon: cyclic records, the mains lost and back, an alarm, and the
// clock set back by an hour after a restart; raw 293 is +21,5, raw 204 is -0,2.
const QList<QByteArray> Site = {
    Record(24, 9, 4, 7, 14, 0, 0, 293),  Record(24, 9, 7, 7, 14, 5, 10, 293),
    Record(24, 9, 8, 7, 14, 20, 0, 300), Record(24, 9, 11, 7, 14, 30, 0, 420),
    Record(24, 9, 5, 7, 13, 31, 0),      Record(24, 9, 4, 7, 13, 40, 0, 204),
};

const std::vector<HistoryEntry> SiteEntries = {
    {At(2024, 9, 7, 14, 0), 4, 215},           {At(2024, 9, 7, 14, 5, 10), 7, std::nullopt},
    {At(2024, 9, 7, 14, 20), 8, std::nullopt}, {At(2024, 9, 7, 14, 30), 11, 525},
    {At(2024, 9, 7, 13, 31), 5, std::nullopt}, {At(2024, 9, 7, 13, 40), 4, -2},
};

QStringList SiteLines()
{
    QStringList lines;
    for (const QByteArray& r : Site)
        lines << *HistoryLine(r);
    return lines;
}

} // namespace

class TstHistoryModel : public QObject
{
    Q_OBJECT

private slots:
    void downloadAndLogAgree();
    void savedFiles_data();
    void savedFiles();
    void spreadsheetBytes();
};

// A download and the log lines it gives make the same records, in log order,
// the clock set back included; kinds without a line and dates that are none add nothing.
void TstHistoryModel::downloadAndLogAgree()
{
    HistoryModel downloaded, fromLines;
    for (const QByteArray& r : Site)
        QVERIFY(downloaded.AddRecord(r));
    QVERIFY(!downloaded.AddRecord(Record(24, 9, 14, 7, 14, 0, 0)));
    QVERIFY(!downloaded.AddRecord(Record(24, 2, 4, 30, 14, 0, 0, 293)));
    QVERIFY(!downloaded.AddRecord(Record(24, 9, 4, 7, 14, 0, 0).left(7)));
    for (const QString& line : SiteLines())
        QVERIFY2(fromLines.AddLogLine(line), qPrintable(line));
    QCOMPARE(downloaded.Entries(), SiteEntries);
    QCOMPARE(fromLines.Entries(), SiteEntries);
    QStringList back;
    for (const HistoryEntry& e : SiteEntries)
        back << HistoryEntryLine(e);
    QCOMPARE(back, SiteLines());

    // A reading of 127 whole degrees is the controller's "no reading": kept as a record, no temperature.
    HistoryModel unread;
    const QByteArray bare = Record(24, 9, 4, 7, 15, 0, 0, 725); // 127,0
    QVERIFY(unread.AddRecord(bare));
    QVERIFY(unread.AddLogLine(*HistoryLine(bare)));
    QCOMPARE(unread.Entries().size(), size_t(2));
    QVERIFY(!unread.Entries()[0].tenths && !unread.Entries()[1].tenths);
}

void TstHistoryModel::savedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<int>("closing");

    const QByteArray file = HistoryFileBytes(SiteLines());
    QTest::newRow("history text file") << file << 0 << 0;
    QTest::newRow("with the log's own lines and foreign ones")
        << HistoryFileBytes(SiteLines().mid(0, 3) +
                            QStringList{"Koniec historii", "Niepełna historia: odebrano 5 z 6 rekordów", "",
                                        "2024/09/07 14:21:00  Brak 230V  ",
                                        "2024/09/07 14:22:00  Brak 230V +21,5",
                                        "2024/02/30 14:23:00  Brak 230V ",
                                        "2024/09/07 14:24:00       Zapis cykliczny temperatury   +21.5",
                                        "2024/09/07 14:25  Brak 230V "} +
                            SiteLines().mid(3))
        << 8 << 2;
    QTest::newRow("ends without CR LF") << file.chopped(2) << 0 << 0;
    // tq3ctl's CSV, written out by hand: the event with a comma is quoted.
    QTest::newRow("tq3ctl CSV") << QByteArray("timestamp,event,temperature\r\n"
                                              "2024-09-07 14:00:00,Zapis cykliczny temperatury,21.5\r\n"
                                              "2024-09-07 14:05:10,Brak 230V,\r\n"
                                              "2024-09-07 14:20:00,Powrot 230V,\r\n"
                                              "bad,row\r\n"
                                              "2024-09-07 14:30:00,\"Alarm!, Wysoka temperatura\",52.5\r\n"
                                              "2024-09-07 14:31:00,Brak 230V,21.5\r\n"
                                              "2024-09-07 13:31:00,Start urzadzenia,\r\n"
                                              "2024-09-07 13:40:00,Zapis cykliczny temperatury,-0.2\r\n")
                                << 2 << 0;
    QTest::newRow("spreadsheet CSV") << HistorySpreadsheetCsv(SiteEntries) << 0 << 0;
}

// Every saved form gives the site's records; what is not a record is counted, not guessed at.
void TstHistoryModel::savedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, skipped);
    QFETCH(int, closing);
    HistoryModel model;
    const HistoryReadResult read = model.AddFile(bytes);
    QCOMPARE(model.Entries(), SiteEntries);
    QCOMPARE(read.records, int(SiteEntries.size()));
    QCOMPARE(read.skipped, skipped);
    QCOMPARE(read.closing, closing);
}

void TstHistoryModel::spreadsheetBytes()
{
    const std::vector<HistoryEntry> entries(SiteEntries.begin() + 3, SiteEntries.end());
    QCOMPARE(HistorySpreadsheetCsv(entries),
             QByteArray("\xEF\xBB\xBF"
                        "Data i czas;Zdarzenie;Temperatura [\xC2\xB0"
                        "C]\r\n"
                        "2024-09-07 14:30:00;Alarm!, Wysoka temperatura;52,5\r\n"
                        "2024-09-07 13:31:00;Start urzadzenia;\r\n"
                        "2024-09-07 13:40:00;Zapis cykliczny temperatury;-0,2\r\n"));
}

QTEST_GUILESS_MAIN(TstHistoryModel)
#include "tst_history_model.moc"
