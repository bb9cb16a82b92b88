#include "ui/TypingLimit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
const char* const PropertyName = "typingLimit";
}

void TypingLimit::Install(QLineEdit* edit, int limit)
{
    new TypingLimit(edit, limit);
}

int TypingLimit::Of(const QLineEdit* edit)
{
    return edit->property(PropertyName).toInt();
}

TypingLimit::TypingLimit(QLineEdit* edit, int limit) : QObject(edit), edit_(edit), limit_(limit)
{
    edit->setProperty(PropertyName, limit);
    edit->installEventFilter(this);
    // Pasting from the context menu or dropping text: undo what went past the limit.
    connect(edit, &QLineEdit::textEdited, this, &TypingLimit::Edited);
}

int TypingLimit::Room() const
{
    return limit_ - int(edit_->text().size() - edit_->selectedText().size());
}

bool TypingLimit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != edit_ || event->type() != QEvent::KeyPress || edit_->isReadOnly())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Paste)) {
        const QString clip = QGuiApplication::clipboard()->text().section(QLatin1Char('\n'), 0, 0);
        if (clip.size() <= Room())
            return false;
        if (Room() > 0)
            edit_->insert(clip.left(Room()));
        return true;
    }
    const QString text = key->text();
    const bool inserts = !text.isEmpty() && text.at(0).isPrint() &&
                         !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    return inserts && text.size() > Room();
}

void TypingLimit::Edited(const QString& text)
{
    if (text.size() <= limit_ || !edit_->isUndoAvailable())
        return;
    const QString edited = text;
    edit_->undo();
    // An edit that shortens an over-long text the program put there stands.
    if (edit_->text().size() > edited.size())
        edit_->redo();
}
