#include "ui/FieldRules.h"

#include "config/CodePage1250.h"
#include "config/ConfigItems.h"
#include "ui/ConfigPanel.h"
#include "ui/MainForm.h"
#include "ui/SpinButton.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

#include <functional>
#include <initializer_list>

namespace {

const QString DigitSet = QStringLiteral("\r\b0123456789");
const QString TelephoneSet = QStringLiteral("\r\b+0123456789");
const QString DefaultPin = QStringLiteral("7391");
constexpr int PinLength = 4;

void Admit(QChar& key, const QString& set)
{
    if (!set.contains(key))
        key = QChar();
}

// Focus that moves to a popup or another window and comes back is not the
// user entering or leaving the field.
bool LeavesOrEntersField(const QEvent* event)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// One field's key filter and exit rule.
class EditHook : public QObject
{
public:
    using KeyRule = std::function<void(QChar&)>;
    using ExitRule = std::function<void()>;

    EditHook(QLineEdit* edit, KeyRule key, ExitRule exit, QObject* parent)
        : QObject(parent), key_(std::move(key)), exit_(std::move(exit))
    {
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            return !Admits(*static_cast<QKeyEvent*>(event));
        case QEvent::InputMethod:
            FilterCommit(*static_cast<QInputMethodEvent*>(event));
            return false;
        case QEvent::FocusOut:
            if (exit_ && LeavesOrEntersField(event))
                exit_();
            return false;
        default:
            return false;
        }
    }

private:
    bool AdmitsChar(QChar c) const
    {
        // The controller and the files hold single bytes of code page 1250.
        if (!tq3::IsCp1250(c))
            return false;
        if (key_)
            key_(c);
        return !c.isNull();
    }

    bool Admits(const QKeyEvent& key) const
    {
        // Tab moves the focus and Delete edits without typing a character.
        switch (key.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete:
            return true;
        default:
            break;
        }
        const QString text = key.text();
        if (text.isEmpty())
            return true;
        if (text.size() == 1)
            return AdmitsChar(text.at(0));
        // A character beyond the basic plane, or several at once.
        for (QChar c : text) {
            if (!tq3::IsCp1250(c))
                return false;
        }
        return true;
    }

    // Characters composed by an input method arrive without a key press.
    void FilterCommit(QInputMethodEvent& event) const
    {
        const QString commit = event.commitString();
        QString admitted;
        for (QChar c : commit) {
            if (!c.isSurrogate() && AdmitsChar(c))
                admitted += c;
        }
        if (admitted != commit)
            event.setCommitString(admitted, event.replacementStart(), event.replacementLength());
    }

    KeyRule key_;
    ExitRule exit_;
};

// Runs an action when the widget receives the input focus.
class EnterHook : public QObject
{
public:
    EnterHook(QWidget* widget, std::function<void()> enter, QObject* parent)
        : QObject(parent), enter_(std::move(enter))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn && LeavesOrEntersField(event))
            enter_();
        return false;
    }

private:
    std::function<void()> enter_;
};

// Runs an action once the combo box's list has closed, however it closed: a
// choice, Escape or a click elsewhere. The wheel and the arrow keys over the
// closed box change its entry without a list and run nothing.
class CloseUpHook : public QObject
{
public:
    CloseUpHook(QComboBox* combo, std::function<void(int)> closeUp, QObject* parent)
        : QObject(parent), combo_(combo), closeUp_(std::move(closeUp))
    {
        // The list's window is made with the box and lives as long as it.
        combo->view()->window()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        // The list hides before a chosen entry becomes the box's own.
        if (event->type() == QEvent::Hide) {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (combo_)
                        closeUp_(combo_->currentIndex());
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QPointer<QComboBox> combo_;
    std::function<void(int)> closeUp_;
};

} // namespace

FieldRules::FieldRules(TMainForm& form, ConfigPanel& config, QObject* parent)
    : QObject(parent), form_(form), config_(config)
{
    auto& f = form_;
    auto keyRule = [this](void (FieldRules::*rule)(QChar&)) -> EditHook::KeyRule {
        return [this, rule](QChar& key) { (this->*rule)(key); };
    };
    auto handler = [this](void (FieldRules::*rule)()) -> std::function<void()> {
        return [this, rule] { (this->*rule)(); };
    };

    new EditHook(f.Edit_haslo, keyRule(&FieldRules::Edit_hasloKeyPress), handler(&FieldRules::Edit_hasloExit),
                 this);
    new EditHook(f.Edit_pin, keyRule(&FieldRules::Edit_pinKeyPress), handler(&FieldRules::Edit_pinExit),
                 this);
    new EditHook(f.Edit_operator, keyRule(&FieldRules::Edit_operatorKeyPress), {}, this);
    for (QLineEdit* tel : {f.Edit_Tel1, f.Edit_Tel2, f.Edit_Tel3, f.Edit_Tel4})
        new EditHook(tel, keyRule(&FieldRules::Edit_TelKeyPress), {}, this);
    // The message texts admit every character the code page holds.
    for (QLineEdit* text :
         {f.Edit_IN1N, f.Edit_IN2N, f.Edit_IN1A, f.Edit_IN2A, f.Edit_IN3A, f.Edit_IN4N, f.Edit_IN4A})
        new EditHook(text, {}, {}, this);
    new EditHook(f.Edit_Out2zal, keyRule(&FieldRules::Edit_Out2zalKeyPress), {}, this);
    new EditHook(f.Edit_LimitSMS, keyRule(&FieldRules::Edit_LimitSMSKeyPress),
                 handler(&FieldRules::Edit_LimitSMSExit), this);
    new EditHook(f.Edit_LimitVoice, keyRule(&FieldRules::Edit_LimitVoiceKeyPress),
                 handler(&FieldRules::Edit_LimitVoiceExit), this);

    // Whatever changes a field, the user or the program, marks it as not yet
    // written; receiving or writing the item restores its base colour after.
    // The correction has no such rule: its spin buttons alone change it.
    for (const tq3::ConfigItem& item : tq3::ConfigItems()) {
        if (item.encoding == tq3::ItemEncoding::Correction)
            continue;
        for (QWidget* field : config_.FieldsOf(item))
            if (auto* edit = qobject_cast<QLineEdit*>(field))
                connect(edit, &QLineEdit::textChanged, this,
                        [edit] { SetFieldColour(edit, tq3colours::Red); });
    }

    new EnterHook(f.BoxFiltrSMS, handler(&FieldRules::BoxFiltrSMSEnter), this);
    new EnterHook(f.VoiceBox, handler(&FieldRules::VoiceBoxEnter), this);
    new CloseUpHook(
        f.Combo_operator, [this](int index) { Combo_operatorCloseUp(index); }, this);

    connect(f.SpinButton3, &TSpinButton::UpClick, this, &FieldRules::SpinButton3UpClick);
    connect(f.SpinButton3, &TSpinButton::DownClick, this, &FieldRules::SpinButton3DownClick);
    connect(f.SpinButton2, &TSpinButton::UpClick, this, &FieldRules::SpinButton2UpClick);
    connect(f.SpinButton2, &TSpinButton::DownClick, this, &FieldRules::SpinButton2DownClick);
    connect(f.SpinButton1, &TSpinButton::UpClick, this, &FieldRules::SpinButton1UpClick);
    connect(f.SpinButton1, &TSpinButton::DownClick, this, &FieldRules::SpinButton1DownClick);
    connect(f.SpinButton4, &TSpinButton::UpClick, this, &FieldRules::SpinButton4UpClick);
    connect(f.SpinButton4, &TSpinButton::DownClick, this, &FieldRules::SpinButton4DownClick);
}

void FieldRules::Edit_hasloKeyPress(QChar& key)
{
    Admit(key, DigitSet);
}

void FieldRules::Edit_pinKeyPress(QChar& key)
{
    Admit(key, DigitSet);
}

void FieldRules::Edit_operatorKeyPress(QChar& key)
{
    Admit(key, TelephoneSet);
}

void FieldRules::Edit_TelKeyPress(QChar& key)
{
    Admit(key, TelephoneSet);
}

void FieldRules::Edit_Out2zalKeyPress(QChar& key)
{
    if (key == QLatin1Char(' '))
        key = QChar();
}

void FieldRules::Edit_LimitSMSKeyPress(QChar& key)
{
    Admit(key, DigitSet);
}

void FieldRules::Edit_LimitVoiceKeyPress(QChar& key)
{
    Admit(key, DigitSet);
}

void FieldRules::Edit_hasloExit()
{
    if (form_.Edit_haslo->text().size() < PinLength)
        form_.Edit_haslo->setText(DefaultPin);
}

void FieldRules::Edit_pinExit()
{
    if (form_.Edit_pin->text().size() < PinLength)
        form_.Edit_pin->setText(DefaultPin);
}

void FieldRules::Edit_LimitSMSExit()
{
    if (form_.Edit_LimitSMS->text().isEmpty())
        form_.Edit_LimitSMS->setText(QStringLiteral("0"));
}

void FieldRules::Edit_LimitVoiceExit()
{
    if (form_.Edit_LimitVoice->text().isEmpty())
        form_.Edit_LimitVoice->setText(QStringLiteral("0"));
}

// A check box has no change of text to mark it: entering it is taken as changing it.
void FieldRules::BoxFiltrSMSEnter()
{
    SetFieldColour(form_.BoxFiltrSMS, tq3colours::Red);
}

void FieldRules::VoiceBoxEnter()
{
    SetFieldColour(form_.VoiceBox, tq3colours::Red);
}

void FieldRules::Combo_operatorCloseUp(int index)
{
    const auto& presets = tq3::OperatorPresets();
    if (index < 0 || index >= int(presets.size()))
        return;
    if (const char* number = presets[size_t(index)].number)
        form_.Edit_operator->setText(QString::fromLatin1(number));
    else
        form_.Edit_operator->clear();
}

void FieldRules::SpinButton3UpClick()
{
    if (config_.TempMinRaw != 255)
        ++config_.TempMinRaw;
    config_.ShowTempMin();
}

void FieldRules::SpinButton3DownClick()
{
    if (config_.TempMinRaw != 0)
        --config_.TempMinRaw;
    config_.ShowTempMin();
}

void FieldRules::SpinButton2UpClick()
{
    if (config_.TempMaxRaw != 255)
        ++config_.TempMaxRaw;
    config_.ShowTempMax();
}

void FieldRules::SpinButton2DownClick()
{
    if (config_.TempMaxRaw != 0)
        --config_.TempMaxRaw;
    config_.ShowTempMax();
}

// The correction field has no change mark of its own: at either end the text
// stays the same, yet the press still counts as an edit.
void FieldRules::SpinButton1UpClick()
{
    SetFieldColour(form_.TempKorekta, tq3colours::Red);
    config_.TempKorektaRaw = tq3::CorrectionStepUp(config_.TempKorektaRaw);
    config_.ShowTempKorekta();
}

void FieldRules::SpinButton1DownClick()
{
    SetFieldColour(form_.TempKorekta, tq3colours::Red);
    config_.TempKorektaRaw = tq3::CorrectionStepDown(config_.TempKorektaRaw);
    config_.ShowTempKorekta();
}

void FieldRules::SpinButton4UpClick()
{
    SetFieldColour(form_.TempZapisz, tq3colours::Red);
    bool ok = false;
    const int minutes = form_.TempZapisz->text().toInt(&ok);
    if (ok && minutes < 255)
        form_.TempZapisz->setText(QString::number(minutes + 1));
}

void FieldRules::SpinButton4DownClick()
{
    SetFieldColour(form_.TempZapisz, tq3colours::Red);
    bool ok = false;
    const int minutes = form_.TempZapisz->text().toInt(&ok);
    if (ok && minutes > 1)
        form_.TempZapisz->setText(QString::number(minutes - 1));
}
