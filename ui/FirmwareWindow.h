#pragma once
// TFboot: choosing a firmware file and sending it to the controller's
// bootloader block by block.
#include "firmware/FirmwareUpload.h"
#include "link/UserPrompts.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class TGauge;
class TMain;

class TFboot : public QDialog
{
    Q_OBJECT
public:
    explicit TFboot(TMain& main);

    // The pauses of the transfer (restart into the bootloader, before the
    // closing command, before the window closes); tests shorten them.
    using Timing = tq3::FirmwareUpload::Timing;
    static void SetTiming(const Timing& timing);

    void FormCreate();
    void Button1Click();
    void ButtonStartClick();
    void FormClose();

    bool Transferring() const { return transferring_; }

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* ButtonStart = nullptr;
    QLabel* LabelNazwaPliku = nullptr;
    TGauge* BarBoot = nullptr;
    tq3::FileDialogRequest OpenDialogBoot;

protected:
    void done(int result) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TMain& main_;
    bool transferring_ = false;
    bool closed_ = false;
};
