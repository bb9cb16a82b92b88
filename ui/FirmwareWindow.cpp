#include "ui/FirmwareWindow.h"

#include "config/DataFile.h"
#include "firmware/FirmwareBlocks.h"
#include "link/DeviceLink.h"
#include "ui/Gauge.h"
#include "ui/Main.h"
#include "ui/MainForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

using namespace tq3;

namespace {

TFboot::Timing timing;

// The transfer as the window shows it.
class WindowProgress : public FirmwareListener
{
public:
    WindowProgress(TMain& main, TGauge* bar) : main_(main), bar_(bar) {}
    void Starting() override
    {
        main_.EnterLoggedOut();
        main_.Prompts().Beep();
        main_.Prompts().Message(MessageKind::Warning, TFboot::tr("NIE WYŁĄCZAJ TQ-3 Z ZASILANIA"));
        bar_->SetProgress(0);
        bar_->show();
    }
    void Progress(int percent) override { bar_->SetProgress(percent); }
    void Failed() override
    {
        main_.Prompts().Beep();
        main_.Prompts().Message(MessageKind::Error,
                                TFboot::tr("Brak odpowiedzi z VSKR, aktualizacja nieudana"));
    }
    void Completed() override
    {
        main_.Prompts().Message(MessageKind::Information, TFboot::tr("Aktualizacja zakonczona"));
    }

private:
    TMain& main_;
    TGauge* bar_;
};

// The chosen file's path in the room of the progress bar below it. A longer
// path loses its start: the file's own name tells the firmware files apart.
// The whole path is the label's hint.
void ShowPath(QLabel* label, const QString& path, const QWidget* below)
{
    const int room = below->geometry().right() - label->x();
    SetLabelText(label, label->fontMetrics().elidedText(path, Qt::ElideLeft, room));
    label->setToolTip(path);
}

} // namespace

void TFboot::SetTiming(const Timing& t)
{
    timing = t;
}

TFboot::TFboot(TMain& main) : QDialog(&main), main_(main)
{
    setObjectName(QStringLiteral("Fboot"));
    setWindowTitle(QStringLiteral("Bootloader"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(main.font());
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, 177, 113);
    Label1 = new QLabel(tr("Aktualizacja frimware"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(40, 8, 99, 13);
    FitLabel(Label1);
    Button1 = new QPushButton(tr("Plik"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(16, 32, 57, 25);
    ButtonStart = new QPushButton(QStringLiteral("START"), Panel1);
    ButtonStart->setObjectName(QStringLiteral("ButtonStart"));
    ButtonStart->setGeometry(104, 32, 57, 25);
    ButtonStart->setEnabled(false);
    for (QPushButton* b : {Button1, ButtonStart})
        b->setAutoDefault(false);
    LabelNazwaPliku = new QLabel(QStringLiteral("LabelNazwaPliku"), Panel1);
    LabelNazwaPliku->setObjectName(QStringLiteral("LabelNazwaPliku"));
    LabelNazwaPliku->setGeometry(16, 68, 82, 13);
    BarBoot = new TGauge(Panel1);
    BarBoot->setObjectName(QStringLiteral("BarBoot"));
    BarBoot->setGeometry(16, 88, 145, 17);
    BarBoot->SetRange(0, 100);
    BarBoot->hide();
    setTabOrder(Button1, ButtonStart);
    setFixedSize(177, 113); // sized to its contents
    OpenDialogBoot.filter = tr("TQ-3 firmware|*.tfr");
    connect(Button1, &QPushButton::clicked, this, &TFboot::Button1Click);
    connect(ButtonStart, &QPushButton::clicked, this, &TFboot::ButtonStartClick);
    FormCreate();
}

void TFboot::FormCreate()
{
    LabelNazwaPliku->clear();
    main_.Link().SetControlsUnlocked(false); // no status poll while the window is open
}

void TFboot::Button1Click()
{
    if (transferring_)
        return;
    const QString name = main_.Prompts().OpenFileName(OpenDialogBoot);
    if (name.isEmpty())
        return;
    ShowPath(LabelNazwaPliku, name, BarBoot);
    bool accepted = LoadDataFile(name, QByteArrayLiteral("tfr"), main_.ContainerBuffer, main_.Prompts());
    if (accepted && FirmwareImage(main_.ContainerBuffer).isEmpty()) {
        main_.Prompts().Beep();
        main_.Prompts().Message(MessageKind::Error, tr("Plik nie zawiera obrazu firmware"));
        accepted = false;
    }
    // START only ever sends the file whose name is shown.
    ButtonStart->setEnabled(accepted);
}

void TFboot::ButtonStartClick()
{
    if (transferring_ || FirmwareImage(main_.ContainerBuffer).isEmpty())
        return;
    // Nothing in the window can start, change or close the transfer from now on.
    transferring_ = true;
    Button1->setEnabled(false);
    ButtonStart->setEnabled(false);
    WindowProgress progress(main_, BarBoot);
    FirmwareUpload upload(main_.Link(), progress);
    upload.SetTiming(timing);
    upload.Run(main_.ContainerBuffer);
    transferring_ = false;
    close();
}

void TFboot::FormClose()
{
    main_.LockControls();
    main_.EnterLoggedOut();
}

void TFboot::closeEvent(QCloseEvent* event)
{
    if (transferring_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFboot::done(int result)
{
    if (transferring_)
        return; // Escape during the transfer
    if (!closed_) {
        closed_ = true;
        FormClose();
    }
    QDialog::done(result);
}
