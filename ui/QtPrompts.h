#pragma once
// Real dialogs for the program's prompts.
#include "link/UserPrompts.h"

#include <QCoreApplication>

class QWidget;

class QtPrompts : public tq3::UserPrompts
{
    Q_DECLARE_TR_FUNCTIONS(QtPrompts)

public:
    explicit QtPrompts(QWidget* owner) : owner_(owner) {}

    void Beep() override;
    tq3::MessageResult Message(tq3::MessageKind kind, const QString& text, tq3::MessageButtons buttons,
                               const QString& detail) override;
    QString OpenFileName(const tq3::FileDialogRequest& request) override;
    QString SaveFileName(const tq3::FileDialogRequest& request) override;
    void OpenUrl(const QString& url) override;

    // "TQ-3 konfiguracja|*.tcf" as Qt writes it: "TQ-3 konfiguracja (*.tcf)".
    static QString QtFilter(const QString& pipeFilter);

private:
    QWidget* owner_;
};
