#pragma once
// The history on the window: the download into the event log with its gauge
// and STOP, the export to a text file, the erase in the controller; and the
// one-shot service commands (clock, restart, counters).
#include "history/HistoryDownload.h"
#include "history/HistoryModel.h"
#include "history/ServiceCommands.h"
#include "link/UserPrompts.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <functional>

class ConfigPanel;
class QMainWindow;
class QTimer;
struct TMainForm;
namespace tq3 {
class DeviceLink;
}

class HistoryPanel : public QObject, private tq3::HistoryListener
{
    Q_OBJECT
public:
    HistoryPanel(TMainForm& form, tq3::DeviceLink& link, tq3::UserPrompts& prompts, ConfigPanel& config,
                 QObject* parent);

    void SetLockFunctions(std::function<void()> lock, std::function<void()> unlock);
    // The PC's clock, for the clock command; tests fix it.
    void SetClock(std::function<QDateTime()> now) { now_ = std::move(now); }
    // One of the eleven steps of the pause before the history request (100 ms).
    void SetPauseStep(int ms) { download_.SetPauseStep(std::chrono::milliseconds(ms)); }
    // The download, with its stop request (STOP sets it; locking and unlocking clear it).
    tq3::HistoryDownload& Download() { return download_; }

    void ButtonPobierzClick();
    void ButtonSTOPClick();
    // Lines of records are gathered and put into the log a few times a second,
    // not one repaint per record; this puts in what is waiting now.
    void FlushLog();

    void ExportHistory();
    // A saved history (text file or CSV) into the log, as a download would put it;
    // no connection needed. Not while a download runs.
    void OpenSavedHistory();
    // The records of the log as CSV for Polish spreadsheets.
    void ExportSpreadsheet();
    // The records behind the log: those of the last download, or of the history opened.
    const tq3::HistoryModel& Model() const { return model_; }

signals:
    // Records came into the log, or the log was emptied or filled from a file.
    void ModelChanged();

public:
    void EraseHistory();

    void SetControllerClock();
    void RestartController();
    void ResetCounters();

private:
    // The save dialog shared with the configuration, then the file, then the message.
    void SaveWithDialog(const QString& defaultExt, const QString& filter,
                        const std::function<QByteArray()>& bytes);
    void SizeKnown(int total) override;
    void RecordReceived(const QByteArray& record) override;
    void Ended() override;
    void Stopped() override;

    TMainForm& form_;
    tq3::DeviceLink& link_;
    tq3::UserPrompts& prompts_;
    ConfigPanel& config_;
    std::function<void()> lock_;
    std::function<void()> unlock_;
    std::function<QDateTime()> now_;
    tq3::HistoryDownload download_;
    tq3::HistoryModel model_;
    tq3::ServiceCommands service_;
    QStringList pendingLines_;
    QTimer* flushTimer_ = nullptr;
};
