#include "PromptRecorder.h"

using namespace tq3;

QString PromptRecorder::KindName(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Plain:
        return QStringLiteral("Plain");
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Warning:
        return QStringLiteral("Warning");
    case MessageKind::Error:
        return QStringLiteral("Error");
    case MessageKind::Confirmation:
        return QStringLiteral("Confirmation");
    }
    return {};
}

void PromptRecorder::Beep()
{
    log << QStringLiteral("beep");
}

MessageResult PromptRecorder::Message(MessageKind kind, const QString& text, MessageButtons,
                                      const QString& detail)
{
    log << KindName(kind) + QStringLiteral(": ") + text;
    if (!detail.isEmpty())
        details << detail;
    if (answers.empty())
        return MessageResult::Ok;
    const MessageResult r = answers.front();
    answers.pop_front();
    return r;
}

QString PromptRecorder::FileName(const QString& kind, const FileDialogRequest& request)
{
    log << kind + QStringLiteral(": ") + request.filter;
    fileRequests.push_back(request);
    if (fileNames.empty())
        return {};
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString PromptRecorder::OpenFileName(const FileDialogRequest& request)
{
    return FileName(QStringLiteral("Open"), request);
}

QString PromptRecorder::SaveFileName(const FileDialogRequest& request)
{
    return FileName(QStringLiteral("Save"), request);
}

void PromptRecorder::OpenUrl(const QString& url)
{
    log << QStringLiteral("Url: ") + url;
}

QStringList PromptRecorder::Messages() const
{
    QStringList out;
    for (const QString& line : log)
        if (line != QLatin1String("beep"))
            out << line;
    return out;
}

void PromptRecorder::Clear()
{
    log.clear();
    details.clear();
    fileRequests.clear();
}
