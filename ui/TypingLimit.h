#pragma once
// The most characters the user may type or paste into an edit box. Unlike
// QLineEdit::maxLength it never cuts a text the program puts there: the
// controller may send texts longer than the field lets anyone type.
#include <QObject>

class QLineEdit;

class TypingLimit : public QObject
{
    Q_OBJECT
public:
    static void Install(QLineEdit* edit, int limit);
    // 0 when the field has no limit.
    static int Of(const QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TypingLimit(QLineEdit* edit, int limit);
    void Edited(const QString& text);
    int Room() const;

    QLineEdit* edit_;
    int limit_;
};
