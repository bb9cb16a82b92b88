#pragma once
// TFhaslo_nowe: the new access password, sent to the controller.
#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class TMain;

class TFhaslo_nowe : public QDialog
{
    Q_OBJECT
public:
    explicit TFhaslo_nowe(TMain& main);

    void FormCreate();
    void Button1Click();
    void Button2Click();
    void FormClose();

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit_haslo_nowe = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    // However the window goes (a button, the title bar, Escape), it closes here.
    void done(int result) override;

private:
    TMain& main_;
    bool closed_ = false;
};
