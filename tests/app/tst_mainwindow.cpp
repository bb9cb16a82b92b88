// The window on its own: start-up state, the status and version answers on
// screen, and the locked and unlocked states.
#include "WindowTestUtil.h"

#include "ui/ConfigPanel.h"
#include "ui/Gauge.h"
#include "ui/HistoryPanel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

namespace {

QByteArray Status(quint8 flags, quint8 pending, quint8 stage, quint8 signal, quint16 temp, quint16 supply,
                  quint16 battery)
{
    QByteArray p;
    p += char(flags);
    p += char(pending);
    p += char(stage);
    p += char(signal);
    p += char(3);
    p += char(1);
    for (quint16 w : {temp, supply, battery}) {
        p += char(w & 0xFF);
        p += char(w >> 8);
    }
    return p;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startState()
    {
        WindowUnderTest t;
        t.Open();
        auto& f = t.f();
        QCOMPARE(t.window->windowTitle(), QStringLiteral("Konfigurator TQ-3 v 2.2"));
        QCOMPARE(f.Edit_haslo->text(), QStringLiteral("7391"));
        QCOMPARE(f.Edit_pin->text(), QStringLiteral("7391"));
        QCOMPARE(f.Combo_Port->currentText(), QStringLiteral("COM1"));
        QCOMPARE(f.Combo_Port->itemText(7), QStringLiteral("COM8"));
        QCOMPARE(f.Combo_operator->currentText(), QStringLiteral("ORANGE"));
        QCOMPARE(f.Edit_operator->text(), QStringLiteral("+48501200777"));
        QCOMPARE(f.TempMin->text(), QStringLiteral("+4"));
        QCOMPARE(f.TempMax->text(), QStringLiteral("+10"));
        QCOMPARE(f.TempKorekta->text(), QStringLiteral("+0,0"));
        QCOMPARE(t.window->Config().TempMinRaw, quint8(132));
        QCOMPARE(t.window->Config().TempMaxRaw, quint8(138));
        QCOMPARE(t.window->Config().TempKorektaRaw, quint8(0));
        QVERIFY(f.trm->toPlainText().isEmpty());
        QCOMPARE(f.Edit_status->text(), QStringLiteral("ROZŁĄCZONY"));
        QCOMPARE(f.Edit_logon->text(), QStringLiteral("WYLOGOWANY"));
        QCOMPARE(FieldColour(f.Edit_status), tq3colours::Red);
        QCOMPARE(FieldColour(f.Edit_logon), tq3colours::Red);
        QVERIFY(f.ButtonFirmware->isEnabled());
        QVERIFY(f.ButtonZapisz->isEnabled());
        QVERIFY(f.Odczyt1->isEnabled());
        QVERIFY(f.Zapis1->isEnabled());
        QVERIFY(!f.Pobierz1->isEnabled());
        QVERIFY(!f.Zapisz1->isEnabled());
        QVERIFY(!f.Button_rozlacz->isEnabled());
        QVERIFY(!f.Panel_bar->isVisible());
        QVERIFY(t.window->TimerObject().isActive());
        QVERIFY(!t.window->Comm().IsOpen());

        using namespace tq3colours;
        const QList<QPair<QWidget*, QColor>> colours{
            {f.Edit_IN1N, LightOrange},   {f.Edit_IN2N, LightOrange},      {f.Edit_IN4N, LightOrange},
            {f.Edit_IN1A, LightGreen},    {f.Edit_IN2A, SkyBlue},          {f.Edit_IN3A, LightGreen},
            {f.Edit_IN4A, LightGreen},    {f.Edit_Out2zal, LightYellow},   {f.Edit_Tel1, LightYellow},
            {f.Edit_Tel4, LightYellow},   {f.Combo_operator, LightYellow}, {f.Edit_operator, LightYellow},
            {f.Edit_pin, LightYellow},    {f.Edit_LimitSMS, LightYellow},  {f.Edit_LimitVoice, LightYellow},
            {f.TempKorekta, LightYellow}, {f.TempMin, LightYellow},        {f.TempMax, LightYellow},
            {f.TempZapisz, LightYellow},  {f.Temp, ButtonFaceColour()},    {f.Udc, ButtonFaceColour()},
            {f.AC230, ButtonFaceColour()}};
        for (const auto& [w, c] : colours)
            QVERIFY2(FieldColour(w) == c, qPrintable(w->objectName()));
        QVERIFY(f.Temp->text().isEmpty() && f.Udc->text().isEmpty() && f.AC230->text().isEmpty());

        const auto& comm = t.window->Comm();
        QCOMPARE(comm.PortNum(), 1);
        QCOMPARE(comm.Baudrate(), br4800);
        QCOMPARE(comm.Parity(), paNone);
        QCOMPARE(comm.Databits(), db8);
        QCOMPARE(comm.Stopbits(), sb1);
        QCOMPARE(comm.FlowControl().ControlDtr(), dtrDisabled);
        QVERIFY(!comm.FlowControl().OutCtsFlow());
    }

    void versionAnswer_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("shown");
        QTest::newRow("5") << QByteArray("T5") << "TQ-3 v 1.5";
        QTest::newRow(":") << QByteArray("T:") << "TQ-3 v 2.0";
        QTest::newRow("A") << QByteArray("NA") << "TQ-3 v 2.7";
        QTest::newRow("/") << QByteArray("T/") << "TQ-3 v ...";
        QTest::newRow("one byte") << QByteArray("T") << "TQ-3 v ...";
    }
    void versionAnswer()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QString, shown);
        WindowUnderTest t;
        t.Open();
        t.window->DispatchAnswer(1, payload);
        QCOMPARE(t.f().TextWersja->text(), shown);
        QCOMPARE(t.f().TextWersja->palette().color(QPalette::WindowText),
                 shown.endsWith("...") ? tq3colours::Grey : QColor(Qt::black));
    }

    void statusAnswer_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QStringList>("shown"); // Temp, AC230, Udc, LabelZd, stage, LabelSMS, LabelVoice
        QTest::addColumn<int>("signal");
        QTest::addColumn<QColor>("tempColour");
        QTest::addColumn<QColor>("supplyColour");
        QTest::addColumn<QColor>("batteryColour");
        using namespace tq3colours;
        const QColor face = ButtonFaceColour();
        QTest::newRow("running") << Status(3, 0x85, 20, 15, 300, 265, 220)
                                 << QStringList{"+23,2", "+4,9V", "+4,1V", "Zd: 5", "Połączony z siecią GSM",
                                                "3 z",   "1 z"}
                                 << 15 << Lime << Lime << Lime;
        QTest::newRow("thresholds") << Status(1, 0, 18, 99, 150, 210, 183)
                                    << QStringList{"-13,4", "+3,9V", "+3,4V", "Zd: 0", "", "3 z", "1 z"} << 0
                                    << Blue << Red << Red;
        QTest::newRow("just above") << Status(2, 0, 100, 25, 205, 211, 184)
                                    << QStringList{"+0,0", "+3,9V", "+3,4V", "Zd: 0", "RESET modemu GSM",
                                                   "3 z",  "1 z"}
                                    << 20 << Red << Lime << Lime;
        QTest::newRow("extremes, flags 0 and missing bits")
            << Status(0x0C, 0, 50, 0, 0, 0, 0)
            << QStringList{"-50,0", "+0,0V", "+0,0V", "Zd: 0", "", "3 z", "1 z"} << 0 << face << Red << Red;
        QTest::newRow("hot") << Status(3, 0, 19, 22, 1023, 265, 220)
                             << QStringList{"+199,7", "+4,9V", "+4,1V", "Zd: 0", "Połączony z siecią GSM",
                                            "3 z",    "1 z"}
                             << 20 << Lime << Lime << Lime;
    }
    void statusAnswer()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QStringList, shown);
        QFETCH(int, signal);
        QFETCH(QColor, tempColour);
        QFETCH(QColor, supplyColour);
        QFETCH(QColor, batteryColour);
        WindowUnderTest t;
        t.Open();
        auto& f = t.f();
        // A late answer while locked still fills the fields and enables the transfer icons.
        t.window->DispatchAnswer(80, payload);
        const QStringList got{f.Temp->text(),      f.AC230->text(),          f.Udc->text(),
                              f.LabelZd->text(),   f.StatusBarPanel->text(), f.LabelSMS->text(),
                              f.LabelVoice->text()};
        QCOMPARE(got, shown);
        QCOMPARE(f.BarRSSI->Progress(), signal);
        QCOMPARE(FieldColour(f.Temp), tempColour);
        QCOMPARE(FieldColour(f.AC230), supplyColour);
        QCOMPARE(FieldColour(f.Udc), batteryColour);
        QVERIFY(f.Icon_get->isEnabled() && f.Icon_put->isEnabled());
    }

    void shortStatusReadsNothingBeyondIt()
    {
        WindowUnderTest t;
        t.Open();
        auto& f = t.f();
        t.window->DispatchAnswer(80, Status(3, 2, 20, 10, 300, 265, 220).left(7));
        QCOMPARE(f.LabelZd->text(), QStringLiteral("Zd: 2"));
        QCOMPARE(f.BarRSSI->Progress(), 10);
        QVERIFY(f.Temp->text().isEmpty()); // its second byte is missing
        QVERIFY(f.Udc->text().isEmpty());
        t.window->DispatchAnswer(80, {});
        t.window->DispatchAnswer(1, {});
        QCOMPARE(f.TextWersja->text(), QStringLiteral("TQ-3 v ..."));
    }

    void lockAndUnlock()
    {
        WindowUnderTest t;
        t.Open();
        auto& f = t.f();
        auto& w = *t.window;
        const QList<QWidget*> commands{
            f.Button_zmiana_hasla, f.ButtonRestart, f.ButtonResetlimit, f.Icon_get, f.Icon_put,
            f.ButtonCzas,          f.ButtonPobierz, f.ButtonKasuj};
        // No answer before the unlock: a status answer enables the transfer
        // icons itself and would hide one that the unlock forgot.
        f.Temp->setText(QStringLiteral("+23,2"));
        f.BarRSSI->SetProgress(10);
        f.TempBar->SetProgress(40);
        f.Panel_bar->show();
        w.History().Download().RequestStop();
        w.UnlockControls();
        QVERIFY(w.Link().ControlsUnlocked());
        QVERIFY(f.StatusBar->isVisible());
        QVERIFY(f.StatusBarPanel->text().isEmpty());
        QVERIFY(f.LabelSMS->text().isEmpty());
        QVERIFY(!w.History().Download().StopRequested());
        QVERIFY(!f.Button_polacz->isEnabled());
        for (QWidget* c : commands)
            QVERIFY2(c->isEnabled(), qPrintable(c->objectName()));
        QVERIFY(f.Pobierz1->isEnabled() && f.Zapisz1->isEnabled());
        QVERIFY(!f.ButtonSTOP->isEnabled());
        QCOMPARE(f.TempBar->Progress(), 0);
        QCOMPARE(f.Temp->text(), QStringLiteral("+23,2")); // unchanged by unlocking
        QCOMPARE(f.BarRSSI->Progress(), 10);
        QVERIFY(f.Panel_bar->isVisible());

        f.Edit_haslo->setEnabled(false);
        f.TempBar->SetProgress(40);
        w.History().Download().RequestStop();
        f.ButtonSTOP->setEnabled(true);
        w.LockControls();
        QVERIFY(!w.Link().ControlsUnlocked());
        QVERIFY(!f.StatusBar->isVisible());
        for (QLineEdit* e : {f.Temp, f.Udc, f.AC230}) {
            QVERIFY(e->text().isEmpty());
            QCOMPARE(FieldColour(e), ButtonFaceColour());
        }
        QVERIFY(f.LabelSMS->text().isEmpty());
        QCOMPARE(f.BarRSSI->Progress(), 0);
        QVERIFY(!w.History().Download().StopRequested());
        QVERIFY(f.Edit_haslo->isEnabled());
        QVERIFY(f.Button_polacz->isEnabled());
        for (QWidget* c : commands)
            QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
        QVERIFY(!f.Pobierz1->isEnabled() && !f.Zapisz1->isEnabled());
        QVERIFY(!f.ButtonSTOP->isEnabled());
        QVERIFY(!f.Panel_bar->isVisible());
        QCOMPARE(f.TempBar->Progress(), 40); // unchanged by locking
    }

    void loggedInAndOut()
    {
        WindowUnderTest t;
        t.Open();
        auto& f = t.f();
        auto& w = *t.window;
        w.Link().SetPollTicks(9);
        w.EnterLoggedIn();
        QVERIFY(w.Link().LoggedIn() && w.Link().ControlsUnlocked());
        QCOMPARE(w.Link().PollTicks(), quint8(0));
        QCOMPARE(f.Edit_logon->text(), QStringLiteral("ZALOGOWANY"));
        QVERIFY(!f.Edit_haslo->isEnabled());
        w.DispatchAnswer(1, "T:");
        f.TempBar->SetProgress(30);
        w.EnterLoggedOut();
        QVERIFY(!w.Link().LoggedIn() && !w.Link().ControlsUnlocked());
        QCOMPARE(f.Edit_logon->text(), QStringLiteral("WYLOGOWANY"));
        QCOMPARE(FieldColour(f.Edit_logon), tq3colours::Red);
        QCOMPARE(f.TextWersja->text(), QStringLiteral("TQ-3 v ..."));
        QCOMPARE(f.TempBar->Progress(), 0);
        QCOMPARE(f.Edit_status->text(), QStringLiteral("ROZŁĄCZONY")); // not touched
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
