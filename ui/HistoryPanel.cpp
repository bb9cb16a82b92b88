#include "ui/HistoryPanel.h"

#include "config/DataFile.h"
#include "history/HistoryFormat.h"
#include "link/DeviceLink.h"
#include "ui/ConfigPanel.h"
#include "ui/Gauge.h"
#include "ui/MainForm.h"

#include <QCoreApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <thread>

using namespace tq3;

namespace {

} // namespace

HistoryPanel::HistoryPanel(TMainForm& form, DeviceLink& link, UserPrompts& prompts, ConfigPanel& config,
                           QObject* parent)
    : QObject(parent), form_(form), link_(link), prompts_(prompts), config_(config),
      now_([] { return QDateTime::currentDateTime(); }), download_(link, *this), service_(link)
{
    flushTimer_ = new QTimer(this);
    flushTimer_->setSingleShot(true);
    flushTimer_->setInterval(100);
    connect(flushTimer_, &QTimer::timeout, this, &HistoryPanel::FlushLog);
}

void HistoryPanel::FlushLog()
{
    flushTimer_->stop();
    if (pendingLines_.isEmpty())
        return;
    form_.trm->appendPlainText(pendingLines_.join(QLatin1Char('\n')));
    pendingLines_.clear();
    emit ModelChanged();
}

void HistoryPanel::SetLockFunctions(std::function<void()> lock, std::function<void()> unlock)
{
    lock_ = std::move(lock);
    unlock_ = std::move(unlock);
}

void HistoryPanel::ButtonPobierzClick()
{
    auto& f = form_;
    pendingLines_.clear();
    f.trm->clear();
    model_.Clear();
    emit ModelChanged();
    lock_();
    f.ButtonSTOP->setEnabled(true);
    // The records arrive as answers of their own, handled as they come.
    download_.Start();
}

void HistoryPanel::ButtonSTOPClick()
{
    // The request goes out with the next record that arrives.
    download_.RequestStop();
    form_.Icon_get->setEnabled(true);
    form_.Icon_put->setEnabled(true);
}

void HistoryPanel::SizeKnown(int total)
{
    form_.TempBar->SetRange(0, total);
}

void HistoryPanel::RecordReceived(const QByteArray& record)
{
    model_.AddRecord(record);
    if (const auto line = HistoryLine(record)) {
        pendingLines_ << *line;
        if (!flushTimer_->isActive())
            flushTimer_->start();
    }
    form_.TempBar->SetProgress(form_.TempBar->Progress() + HistoryRecordSize);
}

void HistoryPanel::Ended()
{
    FlushLog();
    form_.trm->appendPlainText(QStringLiteral("Koniec historii"));
    if (const auto shortfall = download_.Shortfall())
        form_.trm->appendPlainText(HistoryShortfallLine(shortfall->received, shortfall->announced));
    // After a logout meanwhile the window stays logged out, POŁĄCZ usable.
    if (link_.LoggedIn())
        unlock_();
    form_.TempBar->SetProgress(form_.TempBar->MaxValue());
}

void HistoryPanel::Stopped()
{
    FlushLog();
    form_.ButtonSTOP->setEnabled(false);
    // A late answer after a logout leaves the window logged out: START stays
    // disabled with the other commands.
    if (link_.LoggedIn()) {
        form_.ButtonPobierz->setEnabled(true);
        unlock_();
    }
}

void HistoryPanel::ExportHistory()
{
    SaveWithDialog(QStringLiteral("txt"), QStringLiteral("*.txt"), [this] {
        const QString text = form_.trm->toPlainText();
        return HistoryFileBytes(text.isEmpty() ? QStringList{} : text.split(QLatin1Char('\n')));
    });
}

void HistoryPanel::SaveWithDialog(const QString& defaultExt, const QString& filter,
                                  const std::function<QByteArray()>& bytes)
{
    FlushLog();
    FileDialogRequest& dialog = config_.SaveDialog;
    dialog.defaultExt = defaultExt;
    dialog.initialDir.clear();
    dialog.fileName = tr("Rejestr historii");
    dialog.filter = filter;
    const QString name = prompts_.SaveFileName(dialog);
    if (name.isEmpty()) {
        prompts_.Message(MessageKind::Error, tr("Nie zapisano"));
    } else if (SaveWholeFile(name, bytes(), NewFileAccess::Normal)) {
        prompts_.Message(MessageKind::Information, tr("Zapisano plik historii"));
    } else {
        prompts_.Message(MessageKind::Error, tr("Błąd zapisu"));
    }
    // The configuration save sets its own extension and folder before it shows the dialog.
    dialog.defaultExt = QStringLiteral("txt");
    dialog.fileName = tr("TQ-3 konfiguracja");
    dialog.filter = QStringLiteral("*.tcf");
}

void HistoryPanel::OpenSavedHistory()
{
    // STOP is enabled exactly while a download is under way.
    if (form_.ButtonSTOP->isEnabled())
        return;
    FileDialogRequest dialog;
    dialog.title = tr("Otwórz zapisaną historię");
    dialog.filter = tr("Historia TQ-3|*.txt;*.csv|Wszystkie pliki|*");
    const QString name = prompts_.OpenFileName(dialog);
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts_.Message(MessageKind::Error, tr("Nie można otworzyć pliku %1").arg(name));
        return;
    }
    HistoryModel opened;
    const HistoryReadResult read = opened.AddFile(file.readAll());
    if (read.records == 0) {
        prompts_.Message(MessageKind::Error, tr("Plik %1 nie zawiera rekordów historii").arg(name));
        return;
    }
    model_ = std::move(opened);
    pendingLines_.clear();
    QStringList lines;
    lines.reserve(qsizetype(model_.Entries().size()) + 1);
    for (const HistoryEntry& entry : model_.Entries())
        lines << HistoryEntryLine(entry);
    lines << QStringLiteral("Koniec historii");
    form_.trm->setPlainText(lines.join(QLatin1Char('\n')));
    emit ModelChanged();
    const int foreign = read.skipped - read.closing;
    if (foreign > 0)
        prompts_.Message(MessageKind::Warning,
                         tr("Pominięto wiersze, które nie są rekordami historii: %1").arg(foreign));
}

void HistoryPanel::ExportSpreadsheet()
{
    SaveWithDialog(QStringLiteral("csv"), tr("CSV dla arkusza|*.csv"),
                   [this] { return HistorySpreadsheetCsv(model_.Entries()); });
}

void HistoryPanel::EraseHistory()
{
    if (service_.EraseHistory())
        prompts_.Message(MessageKind::Information, tr("Historia temperatury skasowana"));
}

void HistoryPanel::SetControllerClock()
{
    lock_();
    service_.SetClock(now_());
    unlock_();
}

void HistoryPanel::RestartController()
{
    service_.Restart();
}

void HistoryPanel::ResetCounters()
{
    service_.ResetCounters();
}
