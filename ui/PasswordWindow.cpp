#include "ui/PasswordWindow.h"

#include "config/CodePage1250.h"
#include "history/ServiceCommands.h"
#include "link/DeviceLink.h"
#include "ui/Main.h"
#include "ui/MainForm.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace tq3;

namespace {
constexpr int MaxPayload = 255;
} // namespace

TFhaslo_nowe::TFhaslo_nowe(TMain& main) : QDialog(&main), main_(main)
{
    setObjectName(QStringLiteral("Fhaslo_nowe"));
    setWindowTitle(tr("Fhaslo_nowe"));
    setFont(main.font());
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, 137, 89);
    Label1 = new QLabel(tr("Nowe haslo :"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 24, 62, 13);
    FitLabel(Label1);
    Edit_haslo_nowe = new QLineEdit(QStringLiteral("7391"), Panel1);
    Edit_haslo_nowe->setObjectName(QStringLiteral("Edit_haslo_nowe"));
    Edit_haslo_nowe->setGeometry(80, 24, 33, 21);
    Button1 = new QPushButton(tr("Zapisz"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(8, 56, 49, 25);
    Button2 = new QPushButton(tr("Anuluj"), Panel1);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(72, 56, 49, 25);
    for (QPushButton* b : {Button1, Button2})
        b->setAutoDefault(false);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Edit_haslo_nowe);
    resize(137, 89); // sized to its contents, still resizable
    connect(Button1, &QPushButton::clicked, this, &TFhaslo_nowe::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFhaslo_nowe::Button2Click);
    FormCreate();
}

void TFhaslo_nowe::FormCreate()
{
    // No status poll while the window is open.
    main_.Link().SetControlsUnlocked(false);
}

void TFhaslo_nowe::Button1Click()
{
    const QString text = Edit_haslo_nowe->text();
    bool ok = true;
    const QByteArray password = ToCp1250(text, &ok);
    // A frame's length byte counts no further, and a character the code page
    // lacks would reach the controller as something else: neither is sent.
    if (!ok || password.size() > MaxPayload) {
        main_.Prompts().Beep();
        main_.Prompts().Message(MessageKind::Error,
                                ok ? tr("Hasło jest za długie: można najwyżej %1 znaków.").arg(MaxPayload)
                                   : tr("Hasło zawiera znak, którego nie da się wysłać do "
                                        "sterownika."));
        return;
    }
    auto& link = main_.Link();
    Button1->setEnabled(false); // no second change while this one waits
    const bool answered = ServiceCommands(link).ChangePassword(password);
    Button1->setEnabled(true);
    if (!answered)
        return; // reported; the window stays open
    main_.Form().Edit_haslo->setText(text);
    main_.Prompts().Message(MessageKind::Information, tr("Hasło zmienione"));
    main_.EnterLoggedIn();
    close();
}

void TFhaslo_nowe::Button2Click()
{
    close();
}

void TFhaslo_nowe::FormClose()
{
    // After an unanswered change the window is logged out: unlocking would
    // disable POŁĄCZ, the one way back in.
    if (main_.Link().LoggedIn())
        main_.UnlockControls();
}

void TFhaslo_nowe::done(int result)
{
    if (!closed_) {
        closed_ = true;
        FormClose();
    }
    QDialog::done(result);
}
