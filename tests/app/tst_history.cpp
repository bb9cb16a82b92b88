// History download, STOP, export and erase, the service commands and the
// new-password window, against the simulated controller and on the window alone.
#include "WindowTestUtil.h"

#include "History.h"
#include "history/HistoryFormat.h"
#include "link/DeviceLink.h"
#include "ui/ConfigPanel.h"
#include "ui/Gauge.h"
#include "ui/HistoryChartWindow.h"
#include "ui/HistoryPanel.h"
#include "ui/PasswordWindow.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

using namespace tq3sim;

namespace {

QByteArray Record(int year, int kind, int month, int day, int h, int m, int s, quint16 raw)
{
    QByteArray r;
    for (int b : {year, (kind << 4) | month, day, h, m, s, raw & 0xFF, raw >> 8})
        r += char(b);
    return r;
}

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString LastLine(const QPlainTextEdit* memo)
{
    return memo->document()->lastBlock().text();
}

QStringList Lines(const QPlainTextEdit* memo)
{
    const QString text = memo->toPlainText();
    return text.isEmpty() ? QStringList{} : text.split('\n');
}

QByteArray Le16(int v)
{
    return QByteArray{} + char(v & 0xFF) + char((v >> 8) & 0xFF);
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    static void LogIn(WindowUnderTest& t)
    {
        t.window->History().SetPauseStep(1);
        t.LogIn();
    }

    static QStringList ExpectedLines(const WindowUnderTest& t)
    {
        QStringList lines;
        const auto history = t.sim->inspect([](const ControllerModel& m) { return m.history(); });
        for (const HistoryRecord& r : history)
            if (const auto line = tq3::HistoryLine(r.encode()))
                lines << *line;
        return lines;
    }

    // Runs the modal password window: `drive` acts on it once it is shown.
    static void WithPasswordWindow(WindowUnderTest& t, const std::function<void(TFhaslo_nowe&)>& drive)
    {
        QTimer::singleShot(0, t.window.get(), [&] {
            auto* w = t.window->findChild<TFhaslo_nowe*>();
            QVERIFY(w);
            drive(*w);
        });
        WindowUnderTest::Click(t.f().Button_zmiana_hasla);
        QVERIFY(!t.window->findChild<TFhaslo_nowe*>());
    }

private slots:
    void fullDownload_data()
    {
        QTest::addColumn<int>("records");
        QTest::newRow("120 records") << 120;
        QTest::newRow("4095 records, the gauge's whole range") << 4095;
    }
    void fullDownload()
    {
        QFETCH(int, records);
        ControllerOptions c;
        c.historyRecords = records;
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(c));
        LogIn(t);
        auto& f = t.f();
        f.trm->appendPlainText("old line");
        WindowUnderTest::Click(f.ButtonPobierz);
        QTRY_COMPARE_WITH_TIMEOUT(LastLine(f.trm), QStringLiteral("Koniec historii"), 30000);
        const QStringList expected = ExpectedLines(t) << "Koniec historii";
        QCOMPARE(Lines(f.trm).size(), expected.size());
        QCOMPARE(Lines(f.trm), expected);
        QCOMPARE(f.TempBar->MaxValue(), qMin(records * 8, tq3::HistoryGaugeCap));
        QCOMPARE(f.TempBar->Progress(), f.TempBar->MaxValue());
        QVERIFY(f.ButtonPobierz->isEnabled() && !f.ButtonSTOP->isEnabled());
        QVERIFY(t.prompts.log.isEmpty());
        QCOMPARE(t.FramesWithCode(75), 0);
    }

    // Records lost on the line: the end answer still comes, and the log says
    // how many came of how many; gauge and controls end as for any download.
    void shortHistoryIsSaid()
    {
        ControllerOptions c;
        c.historyRecords = 60;
        c.faults.drop.push_back({71, 5});
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(c));
        LogIn(t);
        auto& f = t.f();
        WindowUnderTest::Click(f.ButtonPobierz);
        QTRY_VERIFY_WITH_TIMEOUT(!f.ButtonSTOP->isEnabled(), 10000);
        const QStringList lines = Lines(f.trm);
        QCOMPARE(lines.mid(lines.size() - 2),
                 (QStringList{"Koniec historii", "Niepełna historia: odebrano 55 z 60 rekordów"}));
        QCOMPARE(lines.size(), ExpectedLines(t).mid(5).size() + 2);
        QCOMPARE(f.TempBar->Progress(), f.TempBar->MaxValue());
        QVERIFY(f.ButtonPobierz->isEnabled());
        QVERIFY(t.prompts.log.isEmpty());
    }

    void stopWhileRecordsKeepComing()
    {
        // At the line's pace, so that records are still coming when STOP is clicked.
        ControllerOptions c;
        c.historyRecords = 4000;
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(c, true));
        LogIn(t);
        auto& f = t.f();
        WindowUnderTest::Click(f.ButtonPobierz);
        QVERIFY(f.ButtonSTOP->isEnabled());
        QTRY_VERIFY(f.TempBar->Progress() >= 3 * 8);
        WindowUnderTest::Click(f.ButtonSTOP);
        QVERIFY(f.Icon_get->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(f.ButtonPobierz->isEnabled(), 10000);
        QVERIFY(!f.ButtonSTOP->isEnabled());
        QCOMPARE(f.TempBar->Progress(), 0);
        QVERIFY(!Lines(f.trm).contains("Koniec historii"));
        QVERIFY(Lines(f.trm).size() < 4000);
        // Stop requests went out with the records, none after the answer.
        const quint64 written = t.window->Link().FramesWritten();
        int polls = 0;
        connect(&t.window->Link(), &tq3::DeviceLink::PollStarted, this, [&] { ++polls; });
        QTest::qWait(300);
        QCOMPARE(t.window->Link().FramesWritten() - written, quint64(polls));
        QVERIFY(t.FramesWithCode(75) >= 1);
        for (const auto& fr : t.sim->frames())
            if (fr.code == 75)
                QCOMPARE(fr.payload, QByteArray("x"));
    }

    void answersOnTheWindow()
    {
        WindowUnderTest t;
        t.Open();
        auto& f = t.f();
        auto& w = *t.window;
        w.DispatchAnswer(73, Le16(33000));
        QCOMPARE(f.TempBar->MaxValue(), 32760);
        w.DispatchAnswer(73, Le16(16));
        QCOMPARE(f.TempBar->MaxValue(), 16);
        w.DispatchAnswer(71, Record(24, 7, 9, 7, 0, 5, 3, 293));
        w.DispatchAnswer(71, Record(255, 14, 1, 1, 0, 0, 0, 0)); // no text, still counted
        w.DispatchAnswer(71, Record(24, 4, 9, 7, 10, 0, 0, 204));
        w.DispatchAnswer(71, Record(24, 4, 9, 7, 10, 0, 0, 204).left(7)); // not a record
        w.DispatchAnswer(73, QByteArray(1, 5));                           // nor a size
        w.History().FlushLog();
        QCOMPARE(Lines(f.trm), (QStringList{"2024/09/07 00:05:03  Brak 230V ",
                                            "2024/09/07 10:00:00       Zapis cykliczny temperatury   -0,2"}));
        QCOMPARE(f.TempBar->Progress(), 16); // more records than announced: stays full
        w.EnterLoggedIn();
        w.History().Download().RequestStop(); // STOP, then the end answer comes first
        w.DispatchAnswer(70, {});
        QCOMPARE(Lines(f.trm).last(), QStringLiteral("Koniec historii"));
        QCOMPARE(f.TempBar->Progress(), 16);
        QVERIFY(!w.History().Download().StopRequested());
        w.DispatchAnswer(73, Le16(0));
        w.DispatchAnswer(71, Record(24, 5, 1, 1, 0, 0, 0, 0));
        w.DispatchAnswer(70, {});
        QCOMPARE(f.TempBar->Progress(), 0);
        // Logged out meanwhile (ROZŁĄCZ during the download): the end and the
        // stopped answers leave the window logged out, POŁĄCZ usable.
        w.EnterLoggedOut();
        w.DispatchAnswer(70, {});
        w.DispatchAnswer(75, {});
        QVERIFY(f.Button_polacz->isEnabled());
        for (QWidget* command : std::initializer_list<QWidget*>{f.ButtonCzas, f.ButtonPobierz, f.ButtonSTOP,
                                                                f.Icon_get, f.ButtonKasuj})
            QVERIFY2(!command->isEnabled(), qPrintable(command->objectName()));
    }

    void stopDuringThePause()
    {
        // STOP before the size answer: the stop request that goes out with the
        // first record must not cost the request its answer.
        ControllerOptions c;
        c.historyRecords = 400;
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(c, true));
        LogIn(t);
        QTimer::singleShot(0, t.window.get(), [&] { t.f().ButtonSTOP->click(); });
        WindowUnderTest::Click(t.f().ButtonPobierz);
        QTRY_VERIFY_WITH_TIMEOUT(t.f().ButtonPobierz->isEnabled(), 10000);
        QCOMPARE(t.FramesWithCode(73), 1);
        QVERIFY(t.FramesWithCode(75) >= 1);
        QVERIFY(t.prompts.log.isEmpty());
        QVERIFY(!Lines(t.f().trm).contains("Koniec historii"));
    }

    void loginAfterAPasswordWithPolishLetters()
    {
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        LogIn(t);
        WithPasswordWindow(t, [&](TFhaslo_nowe& w) {
            w.Edit_haslo_nowe->setText(QStringLiteral("ał12"));
            w.Button1->click();
        });
        WindowUnderTest::Click(t.f().Button_rozlacz);
        QTRY_VERIFY(t.f().Button_polacz->isEnabled() && !t.window->Link().Busy());
        t.LogIn(); // the same bytes as the change sent
        QCOMPARE(t.sim->inspect([](const ControllerModel& m) { return m.password(); }), QByteArray("a\xb3"
                                                                                                   "12"));
    }

    void historyRequestUnanswered()
    {
        // Nothing of the history reaches the window: the size answer, the
        // records and the end are all lost on the line.
        ControllerOptions c;
        for (int code : {73, 71, 70})
            c.faults.drop.push_back({code, 100000});
        WindowUnderTest t;
        t.TickMs = 10;
        QVERIFY(t.StartWithSim(c));
        LogIn(t);
        WindowUnderTest::Click(t.f().ButtonPobierz);
        QTRY_COMPARE_WITH_TIMEOUT(t.prompts.log, (QStringList{"beep", "Error: Brak odpowiedzi z TQ-3"}),
                                  30000);
        QCOMPARE(t.FramesWithCode(73), 4);
        QCOMPARE(t.f().Edit_logon->text(), QStringLiteral("WYLOGOWANY"));
    }

    void sizeAnswerLostRecordsStillCome()
    {
        // The request's own answer is spoiled on the line; the records that
        // follow it answer the request too, and it is not sent again.
        ControllerOptions c;
        c.historyRecords = 40;
        c.faults.badChecksum.push_back({73, 1});
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(c));
        LogIn(t);
        WindowUnderTest::Click(t.f().ButtonPobierz);
        QTRY_COMPARE_WITH_TIMEOUT(LastLine(t.f().trm), QStringLiteral("Koniec historii"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!t.window->Link().Busy(), 10000); // START's wait is over
        QCOMPARE(t.FramesWithCode(73), 1);
        QCOMPARE(Lines(t.f().trm), ExpectedLines(t) << "Koniec historii");
        QVERIFY(t.prompts.log.isEmpty());
        QVERIFY(t.f().ButtonPobierz->isEnabled());
    }

    // A download saved as text and as spreadsheet CSV opens again, without a
    // connection, as the same log; foreign lines are left out and said.
    void savedHistoryOpensAsTheLog()
    {
        ControllerOptions c;
        c.historyRecords = 120;
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(c));
        LogIn(t);
        WindowUnderTest::Click(t.f().ButtonPobierz);
        QTRY_COMPARE_WITH_TIMEOUT(LastLine(t.f().trm), QStringLiteral("Koniec historii"), 30000);
        const QStringList log = Lines(t.f().trm);
        const QString text = dir.filePath("saved.txt"), sheet = dir.filePath("saved.csv");
        t.prompts.fileNames = {text, sheet};
        WindowUnderTest::Click(t.f().ButtonZapisz);
        t.f().ArkuszHistorii1->trigger();
        QCOMPARE(t.prompts.log,
                 (QStringList{"Save: *.txt", "Information: Zapisano plik historii",
                              "Save: CSV dla arkusza|*.csv", "Information: Zapisano plik historii"}));
        QFile foreign(dir.filePath("foreign.txt"));
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.write(ReadBytes(text) + "notatka serwisanta\r\n");
        foreign.close();

        WindowUnderTest offline;
        offline.Open();
        for (const QString& path : {text, sheet, foreign.fileName()}) {
            offline.f().trm->setPlainText("old line");
            offline.prompts.log.clear();
            offline.prompts.fileNames = {path};
            offline.f().OtworzHistorie1->trigger();
            QCOMPARE(Lines(offline.f().trm), log);
            const QStringList said{"Open: Historia TQ-3|*.txt;*.csv|Wszystkie pliki|*"};
            QCOMPARE(offline.prompts.log,
                     path == foreign.fileName()
                         ? said +
                               QStringList{"Warning: Pominięto wiersze, które nie są rekordami historii: 1"}
                         : said);
        }
        const auto& entries = offline.window->History().Model().Entries();
        QCOMPARE(entries.size(), size_t(ExpectedLines(t).size()));

        // The chart of what the log holds: the keys zoom and come back to the whole;
        // the pointer over a record reads it out.
        offline.f().WykresHistorii1->trigger();
        auto* chart = offline.window->findChild<HistoryChartWindow*>();
        QVERIFY(chart && chart->isVisible());
        QVERIFY(chart->Chart().ShowsAll());
        const qint64 span = chart->Chart().To() - chart->Chart().From();
        QTest::keyClick(chart, Qt::Key_Plus);
        QVERIFY(chart->Chart().To() - chart->Chart().From() < span);
        QTest::keyClick(chart, Qt::Key_Home);
        QVERIFY(chart->Chart().ShowsAll());
        QVERIFY(!chart->Stats()->text().isEmpty());
        const tq3::HistoryEntry& middle = entries[entries.size() / 2];
        const QRect canvas = chart->Canvas()->rect();
        const QPointF at(chart->Chart().XAtTime(middle.time, canvas),
                         chart->Chart().PlotArea(canvas).center().y());
        QMouseEvent move(QEvent::MouseMove, at, chart->Canvas()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(chart->Canvas(), &move);
        QVERIFY2(chart->ReadOut()->text().startsWith(tq3::HistoryEntryLine(middle).left(19)),
                 qPrintable(chart->ReadOut()->text()));
    }

    void exportWritesTheLog_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("three lines") << QStringList{"2024/09/07 00:05:03  Zestawienie łącza GSM ", "b",
                                                    "Koniec historii"}
                                     << QByteArray("2024/09/07 00:05:03  Zestawienie \xb3\xb9"
                                                   "cza GSM \r\nb\r\nKoniec historii\r\n");
        QTest::newRow("empty log") << QStringList{} << QByteArray();
    }
    void exportWritesTheLog()
    {
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, bytes);
        WindowUnderTest t;
        t.Open();
        for (const QString& l : lines)
            t.f().trm->appendPlainText(l);
        const QString path = dir.filePath("log.txt");
        t.prompts.fileNames.push_back(path);
        WindowUnderTest::Click(t.f().ButtonZapisz);
        QCOMPARE(t.prompts.log, (QStringList{"Save: *.txt", "Information: Zapisano plik historii"}));
        const auto& asked = t.prompts.fileRequests.at(0);
        QCOMPARE(asked.fileName, QStringLiteral("Rejestr historii"));
        QCOMPARE(asked.defaultExt, QStringLiteral("txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
        QCOMPARE(t.window->Config().SaveDialog.fileName, QStringLiteral("TQ-3 konfiguracja"));
        QCOMPARE(t.window->Config().SaveDialog.filter, QStringLiteral("*.tcf"));
    }

    void exportCancelledOrFailed_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << QString() << "Error: Nie zapisano";
        QTest::newRow("cannot be written") << dir.filePath("no-such-folder/log.txt") << "Error: Błąd zapisu";
    }
    void exportCancelledOrFailed()
    {
        QFETCH(QString, path);
        QFETCH(QString, message);
        WindowUnderTest t;
        t.Open();
        t.f().trm->appendPlainText("a line");
        if (!path.isEmpty())
            t.prompts.fileNames.push_back(path);
        WindowUnderTest::Click(t.f().ButtonZapisz);
        QCOMPARE(t.prompts.log, (QStringList{"Save: *.txt", message}));
        QCOMPARE(t.window->Config().SaveDialog.fileName, QStringLiteral("TQ-3 konfiguracja"));
        QCOMPARE(t.window->Config().SaveDialog.filter, QStringLiteral("*.tcf"));
        // The configuration save sets its own extension again.
        t.prompts.fileNames.push_back(dir.filePath("after.tcf"));
        t.f().Zapis1->trigger();
        QCOMPARE(t.prompts.fileRequests.back().defaultExt, QStringLiteral("tcf"));
    }

    void eraseLeavesTheLogAlone()
    {
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        LogIn(t);
        auto& f = t.f();
        f.trm->appendPlainText("kept");
        f.TempBar->SetRange(0, 100);
        f.TempBar->SetProgress(40);
        WindowUnderTest::Click(f.ButtonKasuj);
        QTRY_COMPARE(t.prompts.log, QStringList{"Information: Historia temperatury skasowana"});
        QCOMPARE(Lines(f.trm), QStringList{"kept"});
        QCOMPARE(f.TempBar->Progress(), 40);
        QVERIFY(t.sim->inspect([](const ControllerModel& m) { return m.history().empty(); }));
    }

    void serviceCommands_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QByteArray>("clock");
        QTest::newRow("5 March 2031")
            << QDateTime(QDate(2031, 3, 5), QTime(7, 8, 9)) << QByteArray("\x1f\x03\x05\x07\x08\x09", 6);
        QTest::newRow("year 2100") << QDateTime(QDate(2100, 1, 1), QTime(23, 59, 59))
                                   << QByteArray("\x00\x01\x01\x17\x3b\x3b", 6);
    }
    void serviceCommands()
    {
        QFETCH(QDateTime, now);
        QFETCH(QByteArray, clock);
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        LogIn(t);
        auto& f = t.f();
        t.window->History().SetClock([now] { return now; });
        WindowUnderTest::Click(f.ButtonCzas);
        WindowUnderTest::Click(f.ButtonResetlimit);
        WindowUnderTest::Click(f.ButtonRestart);
        QTRY_COMPARE(t.FramesWithCode(100), 1);
        QByteArrayList sent;
        for (const auto& fr : t.sim->frames())
            if (fr.code == 74 || fr.code == 81 || fr.code == 100)
                sent << QByteArray::number(fr.code) + ":" + fr.payload;
        QCOMPARE(sent, (QByteArrayList{"74:" + clock, "81:G", "100:B"}));
        QVERIFY(f.ButtonCzas->isEnabled()); // unlocked again
        QVERIFY(t.prompts.log.isEmpty());
    }

    void passwordChanged()
    {
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        LogIn(t);
        WithPasswordWindow(t, [&](TFhaslo_nowe& w) {
            QCOMPARE(w.Edit_haslo_nowe->text(), QStringLiteral("7391"));
            QVERIFY(!t.window->Link().ControlsUnlocked());
            w.Edit_haslo_nowe->setText("12");
            w.Button1->click();
        });
        QCOMPARE(t.prompts.log, QStringList{"Information: Hasło zmienione"});
        QCOMPARE(t.f().Edit_haslo->text(), QStringLiteral("12"));
        QCOMPARE(t.FramesWithCode(3), 1);
        QCOMPARE(t.sim->inspect([](const ControllerModel& m) { return m.password(); }), QByteArray("12"));
        QVERIFY(t.window->Link().ControlsUnlocked() && t.window->Link().LoggedIn());
    }

    void passwordUnansweredThenCancelled()
    {
        ControllerOptions c;
        c.faults.drop.push_back({3, 1000});
        WindowUnderTest t;
        t.TickMs = 10;
        QVERIFY(t.StartWithSim(c));
        LogIn(t);
        WithPasswordWindow(t, [&](TFhaslo_nowe& w) {
            w.Button1->click(); // returns after four writes
            QVERIFY(w.isVisible());
            w.Button2->click();
        });
        QCOMPARE(t.prompts.log, (QStringList{"beep", "Error: Brak odpowiedzi z TQ-3"}));
        QCOMPARE(t.f().Edit_haslo->text(), QStringLiteral("7391"));
        QCOMPARE(t.FramesWithCode(3), 4);
        // Logged out by the lost answer: closing leaves POŁĄCZ as the way back in.
        QVERIFY(!t.window->Link().ControlsUnlocked());
        QVERIFY(t.f().Button_polacz->isEnabled());
        t.LogIn();
    }

    void passwordRefusedOrCancelled_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("save");
        QTest::newRow("Anuluj") << "1234" << false;
        QTest::newRow("longer than a frame") << QString(256, '1') << true;
        QTest::newRow("outside the code page") << QStringLiteral("12漢") << true;
    }
    void passwordRefusedOrCancelled()
    {
        QFETCH(QString, typed);
        QFETCH(bool, save);
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        LogIn(t);
        WithPasswordWindow(t, [&](TFhaslo_nowe& w) {
            w.Edit_haslo_nowe->setText(typed);
            if (save) {
                w.Button1->click();
                QVERIFY(w.isVisible());
            }
            w.reject(); // Escape
        });
        QCOMPARE(t.FramesWithCode(3), 0);
        QCOMPARE(t.prompts.Messages().size(), save ? 1 : 0);
        QVERIFY(t.window->Link().ControlsUnlocked());
        QVERIFY(t.f().ButtonCzas->isEnabled());
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
