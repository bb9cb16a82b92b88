#pragma once
// Where tq3ctl's words go: results on standard output, messages and the
// progress bar on standard error. The link and the file checks speak through
// the same prompt interface as in the window; here nothing is asked.
#include "link/UserPrompts.h"

#include <QByteArray>
#include <QString>

namespace tq3ctl {

class Console : public tq3::UserPrompts
{
public:
    // quiet: no progress and no information messages. The bar is drawn only
    // where standard error is a terminal.
    Console(bool quiet, bool progressOnTerminal);

    void Beep() override {}
    tq3::MessageResult Message(tq3::MessageKind kind, const QString& text,
                               tq3::MessageButtons buttons = tq3::MessageButtons::Ok,
                               const QString& detail = {}) override;
    // Nothing to choose from: tq3ctl takes its files from the command line.
    QString OpenFileName(const tq3::FileDialogRequest&) override { return {}; }
    QString SaveFileName(const tq3::FileDialogRequest&) override { return {}; }
    void OpenUrl(const QString&) override {}

    void Error(const QString& text) { Message(tq3::MessageKind::Error, text); }
    void Warning(const QString& text) { Message(tq3::MessageKind::Warning, text); }
    void Info(const QString& text) { Message(tq3::MessageKind::Information, text); }

    // Messages about a file name it in front, while it is being checked.
    void SetSubject(const QString& subject) { subject_ = subject; }

    void StartProgress(const QString& label);
    void SetProgress(int percent);
    void EndProgress();

    // Results, in UTF-8. False once the output is gone (a closed pipe).
    bool Out(const QString& text);
    bool OutBytes(const QByteArray& bytes);

private:
    void ClearBar();
    void DrawBar();

    bool quiet_;
    bool bar_;
    bool barShown_ = false;
    bool progressing_ = false;
    QString subject_;
    QString label_;
    int percent_ = -1;
};

} // namespace tq3ctl
