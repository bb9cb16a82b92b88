#include "firmware/FirmwareWindow.h"

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
#include <thread>

using namespace tq3;

namespace {

constexpr quint8 CodeRestart = 100;
constexpr quint8 CodeBlock = 101;
constexpr quint8 CodeClosing = 102;
constexpr quint16 AcknowledgementTicks = 10;

TFboot::Timing timing;

void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
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
    Label1 = new QLabel(QStringLiteral("Aktualizacja frimware"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(40, 8, 99, 13);
    FitLabel(Label1);
    Button1 = new QPushButton(QStringLiteral("Plik"), Panel1);
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
    OpenDialogBoot.filter = QStringLiteral("TQ-3 firmware|*.tfr");
    connect(Button1, &QPushButton::clicked, this, &TFboot::Button1Click);
    connect(ButtonStart, &QPushButton::clicked, this, &TFboot::ButtonStartClick);
    FormCreate();
}

void TFboot::FormCreate()
{
    LabelNazwaPliku->clear();
    main_.Link().ControlsUnlocked = false; // no status poll while the window is open
}

void TFboot::Button1Click()
{
    if (transferring_)
        return;
    const QString name = main_.Prompts().OpenFileName(OpenDialogBoot);
    if (name.isEmpty())
        return;
    LabelNazwaPliku->setText(name);
    LabelNazwaPliku->setToolTip(name);
    bool accepted = LoadDataFile(name, QByteArrayLiteral("tfr"), main_.ContainerBuffer, main_.Prompts());
    if (accepted && FirmwareImage(main_.ContainerBuffer).isEmpty()) {
        main_.Prompts().Beep();
        main_.Prompts().Message(MessageKind::Error, QStringLiteral("Plik nie zawiera obrazu firmware"));
        accepted = false;
    }
    // START only ever sends the file whose name is shown.
    ButtonStart->setEnabled(accepted);
}

bool TFboot::WaitForAcknowledgement(const QByteArray& payload, int& resendsLeft)
{
    DeviceLink& link = main_.Link();
    link.Countdown = AcknowledgementTicks;
    for (;;) {
        WaitForMessages();
        if (link.LastSingleByte == BlockAcknowledgement)
            return true;
        if (link.Countdown > 0)
            continue;
        if (resendsLeft > 0) {
            --resendsLeft;
            link.SendCommand(CodeBlock, payload);
            LetMessagesRun();
            link.Countdown = AcknowledgementTicks;
            continue;
        }
        main_.Prompts().Beep();
        main_.Prompts().Message(MessageKind::Error,
                                QStringLiteral("Brak odpowiedzi z VSKR, aktualizacja nieudana"));
        return false;
    }
}

void TFboot::ButtonStartClick()
{
    const QByteArray image = FirmwareImage(main_.ContainerBuffer);
    if (transferring_ || image.isEmpty())
        return;
    // Nothing in the window can start, change or close the transfer from now on.
    transferring_ = true;
    Button1->setEnabled(false);
    ButtonStart->setEnabled(false);
    const qint64 n = main_.ContainerBuffer.size();
    DeviceLink& link = main_.Link();

    main_.EnterLoggedOut();
    main_.Prompts().Beep();
    main_.Prompts().Message(MessageKind::Warning, QStringLiteral("NIE WYŁĄCZAJ TQ-3 Z ZASILANIA"));
    BarBoot->SetProgress(0);
    BarBoot->show();
    // A lone "!" from before the restart (a status answer's last byte read on
    // its own) is no acknowledgement; one that comes during the pause is.
    link.LastSingleByte = ',';
    link.SendCommand(CodeRestart, QByteArrayLiteral("B"));
    Sleep(timing.restartMs);

    int resendsLeft = 2; // for the whole transfer, not per block
    bool failed = false;
    for (int k = 0;; ++k) {
        const QByteArray payload = FirmwareBlockPayload(image, k);
        const qint64 placed = qMin<qint64>(image.size(), qint64(k + 1) * FirmwareBlockSize);
        const bool last = placed == image.size();
        link.SendCommand(CodeBlock, payload);
        failed = !WaitForAcknowledgement(payload, resendsLeft);
        link.LastSingleByte = ','; // the next block needs a fresh "!"
        BarBoot->SetProgress(int(placed * 100 / n));
        LetMessagesRun();
        if (last || failed)
            break;
    }
    if (!failed) {
        BarBoot->SetProgress(100);
        Sleep(timing.closingMs);
        link.SendCommand(CodeClosing, QByteArrayLiteral("K"));
        main_.Prompts().Message(MessageKind::Information, QStringLiteral("Aktualizacja zakonczona"));
    }
    Sleep(timing.finalMs);
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
