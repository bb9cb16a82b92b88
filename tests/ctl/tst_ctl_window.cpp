// tq3ctl's files beside the window's: the real window reads the simulated
// controller and saves its configuration, downloads the history and exports
// it; then tq3ctl does the same on the same controller, and the files must
// be the same bytes.
#include "CtlTestUtil.h"
#include "WindowTestUtil.h"
#include "ui/HistoryPanel.h"

#include <QFile>
#include <QFrame>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestCtlWindow : public QObject
{
    Q_OBJECT

private slots:
    void sameBytesAsWindow();
};

void TestCtlWindow::sameBytesAsWindow()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    tq3sim::ControllerOptions controller = UnusualController();
    controller.historyRecords = 40;
    controller.modemStep = std::chrono::hours(1); // no record added meanwhile
    WindowUnderTest t;
    QVERIFY(t.StartWithSim(controller));
    t.window->History().SetPauseStep(0);
    t.LogIn();

    const QString windowConfig = dir.filePath("window.tcf");
    WindowUnderTest::Click(t.f().Icon_get);
    QTRY_VERIFY(!t.f().Panel_bar->isVisible() && t.f().Icon_get->isEnabled());
    t.prompts.fileNames.push_back(windowConfig);
    t.f().Zapis1->trigger();
    QVERIFY(QFile::exists(windowConfig));

    const QString windowHistory = dir.filePath("window.txt");
    WindowUnderTest::Click(t.f().ButtonPobierz);
    QTRY_VERIFY(t.f().trm->toPlainText().endsWith("Koniec historii"));
    t.prompts.fileNames.push_back(windowHistory);
    WindowUnderTest::Click(t.f().ButtonZapisz);
    QVERIFY(QFile::exists(windowHistory));
    QVERIFY2(t.prompts.Messages().filter("Error").isEmpty(), qPrintable(t.prompts.log.join("; ")));

    // The window lets the port go; tq3ctl takes it.
    t.window.reset();
    const QStringList on{"-p", t.sim->slavePath(), "-P", "7391"};
    const QString ctlConfig = dir.filePath("ctl.tcf");
    const QString ctlHistory = dir.filePath("ctl.txt");
    QCOMPARE(RunCtl(on + QStringList{"read", ctlConfig}).code, 0);
    QCOMPARE(RunCtl(on + QStringList{"history", "-o", ctlHistory}).code, 0);

    QCOMPARE(ReadFile(ctlConfig), ReadFile(windowConfig));
    QCOMPARE(ReadFile(ctlHistory), ReadFile(windowHistory));
}

QTEST_MAIN(TestCtlWindow)
#include "tst_ctl_window.moc"
