// The whole window against the simulated controller over a pseudo-terminal:
// connect, log in, poll, log out, lost answers and a vanished device.
#include "WindowTestUtil.h"

#include "link/DeviceLink.h"
#include "ui/Gauge.h"
#include "ui/HistoryPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

using namespace tq3sim;

Q_DECLARE_METATYPE(tq3sim::FaultOptions)

class TestConnection : public QObject
{
    Q_OBJECT

    static ControllerOptions Options(FaultOptions faults = {})
    {
        ControllerOptions c;
        c.faults = std::move(faults);
        return c;
    }

private slots:
    void loginShowsLiveStatus()
    {
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        t.LogIn();
        auto& f = t.f();
        QCOMPARE(f.Edit_status->text(), QStringLiteral("POŁĄCZONY"));
        QCOMPARE(FieldColour(f.Edit_status), tq3colours::Lime);
        QCOMPARE(FieldColour(f.Edit_logon), tq3colours::Lime);
        QCOMPARE(f.TextWersja->text(), QStringLiteral("TQ-3 v 1.5"));
        QVERIFY(!f.Combo_Port->isEnabled());
        QVERIFY(!f.Edit_haslo->isEnabled());
        QVERIFY(!f.Button_polacz->isEnabled());
        QVERIFY(f.Button_rozlacz->isEnabled());
        // The first poll fills the status fields.
        QTRY_COMPARE(f.Temp->text(), QStringLiteral("+22,0"));
        QCOMPARE(f.AC230->text(), QStringLiteral("+4,9V"));
        QCOMPARE(FieldColour(f.AC230), tq3colours::Lime);
        QCOMPARE(f.Udc->text(), QStringLiteral("+4,1V"));
        QVERIFY(f.StatusBar->isVisible());
        QVERIFY(t.prompts.log.isEmpty());
        // It goes on every 15 ticks.
        const int polls = t.FramesWithCode(80);
        QTRY_VERIFY(t.FramesWithCode(80) >= polls + 3);
        QCOMPARE(t.window->Comm().DeviceName(), t.sim->slavePath());
    }

    void wrongPasswordThenRightOne()
    {
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        t.f().Edit_haslo->setText(QStringLiteral("1111"));
        WindowUnderTest::Click(t.f().Button_polacz);
        QCOMPARE(t.prompts.log, (QStringList{"beep", "Error: Błędne hasło"}));
        QCOMPARE(t.f().Edit_logon->text(), QStringLiteral("WYLOGOWANY"));
        QVERIFY(t.f().Button_polacz->isEnabled());
        const int handle = t.window->Comm().DeviceHandle();
        t.f().Edit_haslo->setText(QStringLiteral("7391"));
        t.LogIn();
        QCOMPARE(t.window->Comm().DeviceHandle(), handle); // not reopened
        QCOMPARE(t.FramesWithCode(1), 2);
    }

    void silentController()
    {
        FaultOptions faults;
        faults.silent = true;
        WindowUnderTest t;
        t.TickMs = 10;
        QVERIFY(t.StartWithSim(Options(faults)));
        WindowUnderTest::Click(t.f().Button_polacz);
        QCOMPARE(t.prompts.log, (QStringList{"beep", "Error: Brak odpowiedzi z TQ-3"}));
        QTRY_COMPARE(t.FramesWithCode(1), 4);
        QCOMPARE(t.f().Edit_logon->text(), QStringLiteral("WYLOGOWANY"));
        QCOMPARE(t.f().Edit_status->text(), QStringLiteral("POŁĄCZONY"));
    }

    void answerAfterFirstResend()
    {
        FaultOptions faults;
        faults.drop.push_back({1, 1});
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(Options(faults)));
        t.LogIn();
        QCOMPARE(t.FramesWithCode(1), 2);
        QVERIFY(t.prompts.log.isEmpty());
    }

    void troubledLine_data()
    {
        QTest::addColumn<FaultOptions>("faults");
        FaultOptions glued;
        glued.glue = true;
        FaultOptions falseStart;
        falseStart.noiseBytes = 6;
        falseStart.noiseWithStart = true;
        QTest::newRow("answers glued to a status answer") << glued;
        QTest::newRow("noise with a false start byte") << falseStart;
    }
    void troubledLine()
    {
        // Every answer must be taken at its first write.
        QFETCH(FaultOptions, faults);
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(Options(faults)));
        t.LogIn();
        QCOMPARE(t.FramesWithCode(1), 1);
        QCOMPARE(t.f().TextWersja->text(), QStringLiteral("TQ-3 v 1.5"));
        QTRY_VERIFY(!t.f().Temp->text().isEmpty());
        QVERIFY(t.prompts.log.isEmpty());
    }

    void silentPollLogsOutQuietly()
    {
        FaultOptions faults;
        faults.drop.push_back({80, 1000});
        WindowUnderTest t;
        t.TickMs = 10;
        QVERIFY(t.StartWithSim(Options(faults)));
        t.LogIn();
        QTRY_COMPARE_WITH_TIMEOUT(t.f().Edit_logon->text(), QStringLiteral("WYLOGOWANY"), 10000);
        QCOMPARE(t.FramesWithCode(80), 4);
        QVERIFY(t.prompts.log.isEmpty());
        QCOMPARE(t.f().Edit_status->text(), QStringLiteral("POŁĄCZONY"));
        QCOMPARE(t.f().TextWersja->text(), QStringLiteral("TQ-3 v ..."));
    }

    void noPollWhileLocked()
    {
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        t.LogIn();
        QTRY_VERIFY(t.FramesWithCode(80) >= 1);
        t.window->LockControls();
        QTRY_VERIFY(!t.window->Link().Busy()); // a poll already under way finishes
        const quint64 written = t.window->Link().FramesWritten();
        QTest::qWait(t.TickMs * 40);
        QCOMPARE(t.window->Link().FramesWritten(), written);
        const int polls = t.FramesWithCode(80);
        t.window->UnlockControls();
        QTRY_VERIFY(t.FramesWithCode(80) > polls);
    }

    void logoutAndReconnectOverTheOpenPort()
    {
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        t.LogIn();
        const int handle = t.window->Comm().DeviceHandle();
        WindowUnderTest::Click(t.f().Button_rozlacz);
        QTRY_COMPARE(t.prompts.log, (QStringList{"beep", "Information: Wylogowano z TQ-3"}));
        QCOMPARE(t.f().Edit_status->text(), QStringLiteral("ROZŁĄCZONY"));
        QCOMPARE(FieldColour(t.f().Edit_status), tq3colours::Red);
        QVERIFY(t.f().Combo_Port->isEnabled());
        QVERIFY(!t.f().Button_rozlacz->isEnabled());
        QCOMPARE(t.FramesWithCode(2), 1);
        // Another port chosen: the port that is open is used all the same.
        t.f().Combo_Port->setCurrentIndex(2);
        t.LogIn();
        QCOMPARE(t.window->Comm().DeviceHandle(), handle);
        QCOMPARE(t.FramesWithCode(1), 2);
    }

    void logoutClickedDuringThePollsWaitIsHeldBack()
    {
        FaultOptions faults;
        faults.drop.push_back({80, 1}); // the first poll is answered after one resend
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(Options(faults)));
        t.LogIn();
        QObject::connect(
            &t.window->Link(), &tq3::DeviceLink::PollStarted, t.window.get(),
            [&] { QTimer::singleShot(0, t.window.get(), [&] { t.f().Button_rozlacz->click(); }); },
            Qt::SingleShotConnection);
        QTRY_COMPARE(t.prompts.log, (QStringList{"beep", "Information: Wylogowano z TQ-3"}));
        QStringList codes;
        for (const auto& fr : t.sim->frames())
            codes << QString::number(fr.code);
        QCOMPARE(codes, (QStringList{"1", "80", "80", "2"}));
    }

    void heldClickOnAChangedWindow_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("answerPolls"); // false: the poll logs out silently
        QTest::newRow("clock after a silent logout") << "ButtonCzas" << 1 << false;
        QTest::newRow("configuration read after a silent logout") << "Icon_get" << 1 << false;
        QTest::newRow("password change after a silent logout") << "Button_zmiana_hasla" << 1 << false;
        QTest::newRow("double click on START during a poll") << "ButtonPobierz" << 2 << true;
    }
    // Clicks held back behind the poll act only on the window as it is when
    // their turn comes.
    void heldClickOnAChangedWindow()
    {
        QFETCH(QString, control);
        QFETCH(int, clicks);
        QFETCH(bool, answerPolls);
        ControllerOptions c;
        c.historyRecords = 30;
        if (!answerPolls)
            c.faults.drop.push_back({80, 1000});
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(c));
        t.window->History().SetPauseStep(1);
        t.LogIn();
        auto* button = t.window->findChild<QAbstractButton*>(control);
        QVERIFY(button);
        QObject::connect(
            &t.window->Link(), &tq3::DeviceLink::PollStarted, t.window.get(),
            [&] {
                QTimer::singleShot(0, t.window.get(), [&] {
                    for (int i = 0; i < clicks; ++i)
                        button->click();
                });
            },
            Qt::SingleShotConnection);
        // A window opened by the held click is noted and closed again.
        bool windowOpened = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (auto* modal = QApplication::activeModalWidget()) {
                windowOpened = true;
                modal->close();
            }
        });
        watch.start(10);
        auto& f = t.f();
        if (answerPolls) {
            QTRY_COMPARE_WITH_TIMEOUT(f.trm->document()->lastBlock().text(),
                                      QStringLiteral("Koniec historii"), 20000);
            QTest::qWait(t.TickMs * 4);
            QCOMPARE(t.FramesWithCode(73), 1);
            QVERIFY(f.ButtonPobierz->isEnabled());
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(f.Edit_logon->text(), QStringLiteral("WYLOGOWANY"), 10000);
            QTest::qWait(t.TickMs * 4); // the held click's turn
            QVERIFY(f.Button_polacz->isEnabled());
            QVERIFY(!button->isEnabled() && !f.Icon_put->isEnabled() && !f.ButtonPobierz->isEnabled());
            QVERIFY(!f.Panel_bar->isVisible());
            QCOMPARE(t.FramesWithCode(80) + 1, int(t.sim->frames().size())); // the login and the polls
        }
        QVERIFY(!windowOpened);
        QVERIFY(t.prompts.log.isEmpty());
    }

    void portThatCannotBeOpened()
    {
        WindowUnderTest t;
        t.Open(QStringLiteral("/nonexistent/ttyTQ3"));
        WindowUnderTest::Click(t.f().Button_polacz);
        QCOMPARE(t.prompts.log, (QStringList{"beep", "Plain: Port COM niedostępny"}));
        QCOMPARE(t.prompts.details, QStringList{"Urządzenie /nonexistent/ttyTQ3 nie istnieje: adapter nie jest "
                                                "podłączony albo port ma inną nazwę."});
        QCOMPARE(t.f().Edit_status->text(), QStringLiteral("ROZŁĄCZONY"));
        QVERIFY(!t.window->Comm().IsOpen());
        QVERIFY(t.f().Combo_Port->isEnabled());
    }

    // COM1..COM8 first, then the adapters present under their stable names with
    // their particulars as tooltips; the list is read afresh each time it opens.
    void portBoxNamesTheAdaptersPresent()
    {
        QTemporaryDir dir;
        QDir dev(dir.path());
        QVERIFY(dev.mkpath(QStringLiteral("serial/by-id")));
        for (const char* node : {"ttyUSB0", "ttyACM0"}) {
            QFile file(dev.filePath(node));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString stable = QStringLiteral("usb-FTDI_FT232R_A1-if00-port0");
        QVERIFY(QFile::link(QStringLiteral("../../ttyUSB0"), dev.filePath("serial/by-id/" + stable)));
        std::vector<tq3::FoundPort> present{{dev.filePath("ttyUSB0"), "FTDI", "FT232R USB UART", "A1"}};

        PromptRecorder prompts;
        TMain::Options o;
        o.prompts = &prompts;
        o.enumeratePorts = [&present] { return present; };
        o.devRoot = dir.path();
        TMain window(o);
        window.show();
        TPortBox* box = window.Form().Combo_Port;
        QCOMPARE(box->count(), 9);
        QCOMPARE(box->currentText(), QStringLiteral("COM1"));
        QCOMPARE(box->itemText(7), QStringLiteral("COM8"));
        QCOMPARE(box->itemText(8), stable);
        QCOMPARE(box->itemData(8, Qt::ToolTipRole).toString(),
                 "Producent: FTDI\nOpis: FT232R USB UART\nNumer seryjny: A1\nUrządzenie: " + dev.filePath("ttyUSB0"));

        // Another adapter plugged in while the program runs: it shows when the list opens,
        // and the entry chosen stays chosen.
        box->setCurrentIndex(8);
        present.push_back({dev.filePath("ttyACM0"), "", "Arduino", ""});
        box->showPopup();
        QCOMPARE(box->count(), 10);
        QCOMPARE(box->itemText(8), dev.filePath("ttyACM0"));
        QCOMPARE(box->currentText(), stable);
        box->hidePopup();

        // The stable name opens its node; this one is no serial port, and the detail says so.
        WindowUnderTest::Click(window.Form().Button_polacz);
        QCOMPARE(prompts.log, (QStringList{"beep", "Plain: Port COM niedostępny"}));
        QCOMPARE(prompts.details.size(), 1);
        QVERIFY2(prompts.details[0].startsWith(
                     QStringLiteral("Urządzenie %1 (%2): ").arg(stable, dev.filePath("ttyUSB0"))),
                 qPrintable(prompts.details[0]));
    }

    void vanishedDevice()
    {
        FaultOptions faults;
        faults.hangupAfterFrames = 3; // login and two polls
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(Options(faults)));
        t.LogIn();
        QTRY_COMPARE_WITH_TIMEOUT(t.f().Edit_status->text(), QStringLiteral("ROZŁĄCZONY"), 10000);
        QCOMPARE(t.f().Edit_logon->text(), QStringLiteral("WYLOGOWANY"));
        QVERIFY(!t.window->Comm().IsOpen());
        QVERIFY(t.f().Button_polacz->isEnabled());
    }

    void closingWhileLoggedInSendsNothing()
    {
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        t.LogIn();
        QTRY_VERIFY(!t.f().Temp->text().isEmpty());
        // No further poll; one that is on its way finishes.
        t.window->LockControls();
        QTRY_VERIFY(!t.window->Link().Busy());
        // Everything written so far has reached the controller.
        const size_t written = size_t(t.window->Link().FramesWritten());
        QTRY_COMPARE(t.sim->frames().size(), written);
        t.window.reset();
        QTest::qWait(100);
        QCOMPARE(t.sim->frames().size(), written);
    }
};

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
