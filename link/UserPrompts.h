#pragma once
// Everything the program asks of the user or the desktop: beeps, message
// boxes, file dialogs and opening a web address. The program shows real
// dialogs; tests install a recorder that answers them and keeps what was shown.
#include <QString>
#include <QStringList>

namespace tq3 {

enum class MessageKind
{
    Plain,
    Information,
    Warning,
    Error,
    Confirmation
};

enum class MessageButtons
{
    Ok,
    OkCancel,
    YesNo
};

enum class MessageResult
{
    Ok,
    Cancel,
    Yes,
    No
};

struct FileDialogRequest
{
    QString title;
    QString filter;     // "TQ-3 konfiguracja|*.tcf", the pipe form of the original dialogs
    QString defaultExt; // appended when the typed name has no extension
    QString fileName;   // proposed name
    QString initialDir; // empty: the user's home folder
};

class UserPrompts
{
public:
    virtual ~UserPrompts() = default;
    virtual void Beep() = 0;
    // detail: a line under the message that says more (why a port will not open).
    virtual MessageResult Message(MessageKind kind, const QString& text,
                                  MessageButtons buttons = MessageButtons::Ok, const QString& detail = {}) = 0;
    // Empty when the user cancels.
    virtual QString OpenFileName(const FileDialogRequest& request) = 0;
    virtual QString SaveFileName(const FileDialogRequest& request) = 0;
    virtual void OpenUrl(const QString& url) = 0;
};

} // namespace tq3
