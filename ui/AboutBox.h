#pragma once
// TFInfo: the about box, with the maker's logo and web address.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace tq3 {
class UserPrompts;
}

class TFInfo : public QDialog
{
    Q_OBJECT
public:
    // Takes the parent's font; the web address is opened through prompts.
    TFInfo(QWidget* parent, tq3::UserPrompts& prompts);

    void Label1Click();
    void Button1Click();

    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    tq3::UserPrompts& prompts_;
};
