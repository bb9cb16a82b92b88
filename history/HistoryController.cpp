#include "history/HistoryController.h"

#include "config/ConfigController.h"
#include "config/DataFile.h"
#include "history/HistoryFormat.h"
#include "link/DeviceLink.h"
#include "ui/Gauge.h"
#include "ui/MainForm.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <thread>

using namespace tq3;

namespace {

constexpr quint8 CodeHistory = 73;
constexpr quint8 CodeHistoryStop = 75;
constexpr quint8 CodeErase = 76;
constexpr quint8 CodeClock = 74;
constexpr quint8 CodeCounters = 81;
constexpr quint8 CodeRestart = 100;

} // namespace

HistoryController::HistoryController(TMainForm& form, DeviceLink& link, UserPrompts& prompts,
                                     ConfigController& config, bool& historyStopFlag, QObject* parent)
    : QObject(parent), form_(form), link_(link), prompts_(prompts), config_(config),
      HistoryStopFlag(historyStopFlag), now_([] { return QDateTime::currentDateTime(); })
{
    flushTimer_ = new QTimer(this);
    flushTimer_->setSingleShot(true);
    flushTimer_->setInterval(100);
    connect(flushTimer_, &QTimer::timeout, this, &HistoryController::FlushLog);
}

void HistoryController::FlushLog()
{
    flushTimer_->stop();
    if (pendingLines_.isEmpty())
        return;
    form_.trm->appendPlainText(pendingLines_.join(QLatin1Char('\n')));
    pendingLines_.clear();
}

void HistoryController::SetLockFunctions(std::function<void()> lock, std::function<void()> unlock)
{
    lock_ = std::move(lock);
    unlock_ = std::move(unlock);
}

void HistoryController::ButtonPobierzClick()
{
    auto& f = form_;
    pendingLines_.clear();
    f.trm->clear();
    lock_();
    f.ButtonSTOP->setEnabled(true);
    // Answers still on their way (a status poll's) come in before the request.
    for (int i = 0; i < 11; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseStepMs_));
        LetMessagesRun();
    }
    f.TempBar->SetProgress(0);
    link_.SendCommand(CodeHistory, QByteArrayLiteral("h"));
    if (link_.WaitAnswer(110, CodeHistory))
        LetMessagesRun();
    // The records now arrive as answers of their own, handled as they come.
}

void HistoryController::ButtonSTOPClick()
{
    // The request goes out with the next record that arrives.
    HistoryStopFlag = true;
    form_.Icon_get->setEnabled(true);
    form_.Icon_put->setEnabled(true);
}

void HistoryController::AnswerSize(const QByteArray& payload)
{
    if (const auto total = HistoryTotal(payload))
        form_.TempBar->SetRange(0, *total);
}

void HistoryController::AnswerRecord(const QByteArray& payload)
{
    if (payload.size() < HistoryRecordSize)
        return; // not a record: nothing in it can be read
    auto& f = form_;
    if (const auto line = HistoryLine(payload)) {
        pendingLines_ << *line;
        if (!flushTimer_->isActive())
            flushTimer_->start();
    }
    f.TempBar->SetProgress(f.TempBar->Progress() + HistoryRecordSize);
    if (HistoryStopFlag)
        link_.SendCommand(CodeHistoryStop, QByteArrayLiteral("x"));
}

void HistoryController::AnswerEnd()
{
    FlushLog();
    form_.trm->appendPlainText(QStringLiteral("Koniec historii"));
    // After a logout meanwhile the window stays logged out, POŁĄCZ usable.
    if (link_.LoggedIn)
        unlock_();
    form_.TempBar->SetProgress(form_.TempBar->MaxValue());
}

void HistoryController::AnswerStopped()
{
    FlushLog();
    form_.ButtonSTOP->setEnabled(false);
    // A late answer after a logout leaves the window logged out: START stays
    // disabled with the other commands.
    if (link_.LoggedIn) {
        form_.ButtonPobierz->setEnabled(true);
        unlock_();
    }
}

void HistoryController::ExportHistory()
{
    FlushLog();
    FileDialogRequest& dialog = config_.SaveDialog;
    dialog.defaultExt = QStringLiteral("txt");
    dialog.initialDir.clear();
    dialog.fileName = QStringLiteral("Rejestr historii");
    dialog.filter = QStringLiteral("*.txt");
    const QString name = prompts_.SaveFileName(dialog);
    if (name.isEmpty()) {
        prompts_.Message(MessageKind::Error, QStringLiteral("Nie zapisano"));
    } else {
        const QString text = form_.trm->toPlainText();
        const QStringList lines = text.isEmpty() ? QStringList{} : text.split(QLatin1Char('\n'));
        if (SaveWholeFile(name, HistoryFileBytes(lines), NewFileAccess::Normal))
            prompts_.Message(MessageKind::Information, QStringLiteral("Zapisano plik historii"));
        else
            prompts_.Message(MessageKind::Error, QStringLiteral("Błąd zapisu"));
    }
    dialog.fileName = QStringLiteral("TQ-3 konfiguracja");
    dialog.filter = QStringLiteral("*.tcf");
}

void HistoryController::EraseHistory()
{
    link_.SendCommand(CodeErase, QByteArrayLiteral("x"));
    if (link_.WaitAnswer(110, CodeErase))
        prompts_.Message(MessageKind::Information, QStringLiteral("Historia temperatury skasowana"));
}

void HistoryController::SetControllerClock()
{
    lock_();
    link_.SendCommand(CodeClock, ClockPayload(now_()));
    unlock_();
}

void HistoryController::RestartController()
{
    link_.SendCommand(CodeRestart, QByteArrayLiteral("B"));
}

void HistoryController::ResetCounters()
{
    link_.SendCommand(CodeCounters, QByteArrayLiteral("G"));
}
