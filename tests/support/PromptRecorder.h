#pragma once
// Answers the program's dialogs without showing them and records every prompt
// in order, as "beep", "Error: Brak odpowiedzi z TQ-3", "Open: <filter>", ...
#include "link/UserPrompts.h"

#include <QStringList>
#include <deque>
#include <vector>

class PromptRecorder : public tq3::UserPrompts
{
public:
    void Beep() override;
    tq3::MessageResult Message(tq3::MessageKind kind, const QString& text, tq3::MessageButtons buttons,
                               const QString& detail) override;
    QString OpenFileName(const tq3::FileDialogRequest& request) override;
    QString SaveFileName(const tq3::FileDialogRequest& request) override;
    void OpenUrl(const QString& url) override;

    // What the next dialogs answer; an empty queue answers Ok / cancels a file dialog.
    std::deque<tq3::MessageResult> answers;
    std::deque<QString> fileNames;

    QStringList log;
    QStringList details; // the detail line of each message that had one
    std::vector<tq3::FileDialogRequest> fileRequests;

    // Messages only (beeps left out).
    QStringList Messages() const;
    void Clear();

    static QString KindName(tq3::MessageKind kind);

private:
    QString FileName(const QString& kind, const tq3::FileDialogRequest& request);
};
