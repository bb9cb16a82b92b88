#pragma once
// The real window with recorded prompts and short ticks, optionally talking to
// the simulated controller over a pseudo-terminal.
#include "PromptRecorder.h"
#include "PtyRunner.h"
#include "VaComm.h"
#include "ui/Main.h"
#include "ui/MainForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <unistd.h>

// The network lines the window remembers live in a folder of the test's own,
// set before the application starts.
inline const bool OwnConfigFolder = [] {
    return qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir::temp().filePath(
                                          QStringLiteral("tq3-test-config-%1").arg(::getpid()))));
}();

// Once a check of the running test has failed, a modal window still open would
// hold that test (and every test after it) until the time limit: close it, so
// the failure is reported at once and the rest of the program still runs.
inline void CloseModalsOnFailure(QObject* context)
{
    auto* timer = new QTimer(context);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [] {
        if (!QTest::currentTestFailed())
            return;
        while (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->done(QDialog::Rejected);
            } else {
                modal->close();
            }
            if (QApplication::activeModalWidget() == modal)
                break; // it will not go (a transfer that must finish)
        }
    });
    timer->start();
}

struct WindowUnderTest
{
    PromptRecorder prompts;
    std::unique_ptr<tq3sim::PtyRunner> sim;
    std::unique_ptr<TMain> window;

    // Ticks of 25 ms: a 10-tick wait gives up after 4 x 250 ms, long enough for
    // a loaded machine. Tests of time-outs shorten it before opening.
    int TickMs = 25;

    void Open(const QString& port = {})
    {
        TMain::Options o;
        o.prompts = &prompts;
        o.tickMs = TickMs;
        o.port = port;
        window = std::make_unique<TMain>(o);
        window->Link().SetPauseAfterExchange(std::chrono::milliseconds(0));
        CloseModalsOnFailure(window.get());
        window->show();
    }

    bool StartWithSim(tq3sim::ControllerOptions controller = {}, bool paced = false)
    {
        tq3sim::RunnerOptions runner;
        runner.pacing = paced;
        sim = std::make_unique<tq3sim::PtyRunner>(controller, runner);
        if (!sim->start())
            return false;
        Open(sim->slavePath());
        return true;
    }

    TMainForm& f() { return window->Form(); }

    // Clicks like the user: the handler (and any wait in it) has run when this returns,
    // unless the click was held back behind a running exchange.
    static void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

    // Clicks POŁĄCZ and waits for the login.
    void LogIn()
    {
        Click(f().Button_polacz);
        QTRY_COMPARE(f().Edit_logon->text(), QStringLiteral("ZALOGOWANY"));
    }

    int FramesWithCode(int code) const
    {
        int n = 0;
        for (const auto& fr : sim->frames())
            n += fr.code == code ? 1 : 0;
        return n;
    }

    // Whatever the test did, the program never sent the controller a command it would refuse.
    ~WindowUnderTest()
    {
        window.reset();
        if (!sim)
            return;
        sim->stop();
        if (const auto error = sim->lastProtocolError())
            QFAIL(qPrintable(QStringLiteral("%1 protocol errors, the last: %2")
                                 .arg(sim->protocolErrors())
                                 .arg(error->describe())));
    }
};
