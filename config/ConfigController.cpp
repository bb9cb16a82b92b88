#include "config/ConfigController.h"

#include "config/CodePage1250.h"
#include "config/ConfigItems.h"
#include "config/DataFile.h"
#include "config/TempFormat.h"
#include "link/DeviceLink.h"
#include "ui/Gauge.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using namespace tq3;

namespace {

// The system's window-background colour, which the check boxes take when their
// item arrives.
QColor WindowColour()
{
    return QApplication::palette().color(QPalette::Base);
}

struct TextField
{
    quint8 readCode;
    QLineEdit* TMainForm::*edit;
    const QColor* base;
    const char* label; // how the user knows the field
};

const TextField TextFields[] = {
    {4, &TMainForm::Edit_pin, &tq3colours::LightYellow, "PIN karty SIM"},
    {6, &TMainForm::Edit_operator, &tq3colours::LightYellow, "Centrum SMS"},
    {8, &TMainForm::Edit_Tel1, &tq3colours::LightYellow, "Telefon nr. 1"},
    {10, &TMainForm::Edit_Tel2, &tq3colours::LightYellow, "Telefon nr. 2"},
    {12, &TMainForm::Edit_Tel3, &tq3colours::LightYellow, "Telefon nr. 3"},
    {14, &TMainForm::Edit_Tel4, &tq3colours::LightYellow, "Telefon nr. 4"},
    {16, &TMainForm::Edit_IN1N, &tq3colours::LightOrange, "Zasilacz 5V: Brak"},
    {18, &TMainForm::Edit_IN2N, &tq3colours::LightOrange, "Temperatura: Wysoka"},
    {20, &TMainForm::Edit_IN1A, &tq3colours::LightGreen, "Zasilacz 5V: Powrót"},
    {22, &TMainForm::Edit_IN2A, &tq3colours::SkyBlue, "Temperatura: Niska"},
    {24, &TMainForm::Edit_IN3A, &tq3colours::LightGreen, "Temperatura: Norma"},
    {26, &TMainForm::Edit_Out2zal, &tq3colours::LightYellow, "Zapytanie o stan"},
    {36, &TMainForm::Edit_IN4N, &tq3colours::LightOrange, "Bateria: Rozład."},
    {38, &TMainForm::Edit_IN4A, &tq3colours::LightGreen, "Bateria: Naład."},
};

const TextField* FindTextField(quint8 readCode)
{
    for (const TextField& t : TextFields)
        if (t.readCode == readCode)
            return &t;
    return nullptr;
}

// A number field's value: empty counts as 0 (the value the field takes when it
// loses the focus empty); nullopt when it holds anything but a number 0..255.
std::optional<int> ByteValue(const QLineEdit* edit)
{
    const QString text = edit->text();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < 0 || v > 255 || text.startsWith(QLatin1Char('+')))
        return std::nullopt;
    return v;
}

QByteArray Bytes(const QLineEdit* edit)
{
    return ToCp1250(edit->text());
}

QString ShownText(const QByteArray& bytes)
{
    return FromCp1250(UpToZero(bytes));
}

} // namespace

ConfigController::ConfigController(TMainForm& form, DeviceLink& link, UserPrompts& prompts,
                                   QByteArray& containerBuffer, QMainWindow* window)
    : QObject(window), form_(form), link_(link), prompts_(prompts), ContainerBuffer(containerBuffer),
      window_(window)
{
    const QString filter = QStringLiteral("TQ-3 konfiguracja|*.tcf");
    OpenDialog.filter = filter;
    SaveDialog.filter = filter;
}

void ConfigController::SetLockFunctions(std::function<void()> lock, std::function<void()> unlock)
{
    lock_ = std::move(lock);
    unlock_ = std::move(unlock);
}

void ConfigController::ShowTempMin()
{
    form_.TempMin->setText(ThresholdText(TempMinRaw));
}

void ConfigController::ShowTempMax()
{
    form_.TempMax->setText(ThresholdText(TempMaxRaw));
}

void ConfigController::ShowTempKorekta()
{
    form_.TempKorekta->setText(CorrectionText(TempKorektaRaw));
}

void ConfigController::ApplyItem(quint8 type, const QByteArray& payload)
{
    auto& f = form_;
    using namespace tq3colours;
    // The text first, then the base colour: setting the text marks the field
    // red, and only the base colour after it says "as in the controller".
    if (const TextField* t = FindTextField(type)) {
        QLineEdit* edit = f.*(t->edit);
        edit->setText(ShownText(payload));
        if (type == 6) {
            f.Combo_operator->setCurrentIndex(OtherOperator);
            f.Combo_operator->setCurrentIndex(PresetForReceived(payload));
        }
        SetFieldColour(edit, *t->base);
        return;
    }
    const quint8 b0 = payload.isEmpty() ? 0 : quint8(payload.at(0));
    switch (type) {
    case 28: {
        if (payload.isEmpty())
            return;
        const SmsLimit limit = DecodeSmsLimit(b0);
        f.BoxFiltrSMS->setChecked(limit.filter);
        SetFieldColour(f.BoxFiltrSMS, WindowColour());
        f.Edit_LimitSMS->setText(QString::number(limit.limit));
        SetFieldColour(f.Edit_LimitSMS, LightYellow);
        break;
    }
    case 30:
        if (payload.size() < 2)
            return;
        TempMinRaw = b0;
        ShowTempMin();
        SetFieldColour(f.TempMin, LightYellow);
        TempMaxRaw = quint8(payload.at(1));
        ShowTempMax();
        SetFieldColour(f.TempMax, LightYellow);
        break;
    case 32:
        if (payload.isEmpty())
            return;
        TempKorektaRaw = b0;
        SetFieldColour(f.TempKorekta, LightYellow);
        ShowTempKorekta();
        break;
    case 34:
        if (payload.isEmpty())
            return;
        f.TempZapisz->setText(QString::number(b0));
        SetFieldColour(f.TempZapisz, LightYellow);
        break;
    case 40:
        if (payload.isEmpty())
            return;
        f.VoiceBox->setChecked(b0 != 0);
        SetFieldColour(f.VoiceBox, WindowColour());
        break;
    case 42:
        if (payload.isEmpty())
            return;
        f.Edit_LimitVoice->setText(QString::number(b0));
        SetFieldColour(f.Edit_LimitVoice, LightYellow);
        break;
    default:
        break;
    }
}

QByteArray ConfigController::ItemPayload(quint8 readCode) const
{
    auto& f = form_;
    if (const TextField* t = FindTextField(readCode))
        return Bytes(f.*(t->edit));
    switch (readCode) {
    case 28:
        return QByteArray(
            1, char(SmsLimitByte(ByteValue(f.Edit_LimitSMS).value_or(0), f.BoxFiltrSMS->isChecked())));
    case 30:
        return QByteArray{} + char(TempMinRaw) + char(TempMaxRaw);
    case 32:
        return QByteArray(1, char(TempKorektaRaw));
    case 34:
        return QByteArray(1, char(ByteValue(f.TempZapisz).value_or(0)));
    case 40:
        return QByteArray(1, f.VoiceBox->isChecked() ? '\1' : '\0');
    case 42:
        return QByteArray(1, char(ByteValue(f.Edit_LimitVoice).value_or(0)));
    default:
        return {};
    }
}

QString ConfigController::CheckFields(bool forFile) const
{
    auto& f = form_;
    auto checkText = [](const QLineEdit* edit, const char* label) -> QString {
        bool ok = true;
        const QByteArray bytes = ToCp1250(edit->text(), &ok);
        if (!ok)
            return QStringLiteral("Pole \"%1\" zawiera znak, którego sterownik nie obsługuje. "
                                  "Usuń go i spróbuj ponownie.")
                .arg(QString::fromUtf8(label));
        if (bytes.size() > MaxStoredText)
            return QStringLiteral("Tekst w polu \"%1\" jest za długi (najwyżej %2 znaków).")
                .arg(QString::fromUtf8(label))
                .arg(MaxStoredText);
        return {};
    };
    if (forFile) {
        if (QString e = checkText(f.Edit_haslo, "HASŁO"); !e.isEmpty())
            return e;
    }
    for (const TextField& t : TextFields)
        if (QString e = checkText(f.*(t.edit), t.label); !e.isEmpty())
            return e;
    const struct
    {
        const QLineEdit* edit;
        const char* label;
        int max;
    } numbers[] = {{f.Edit_LimitSMS, "Limit [24h]: SMS", 127},
                   {f.Edit_LimitVoice, "Limit [24h]: Dzwon", 255},
                   {f.TempZapisz, "Zapis temp. co [min]", 255}};
    for (const auto& n : numbers) {
        const auto v = ByteValue(n.edit);
        if (!v || *v > n.max)
            return QStringLiteral("Pole \"%1\" musi zawierać liczbę od 0 do %2.")
                .arg(QString::fromUtf8(n.label))
                .arg(n.max);
    }
    return {};
}

void ConfigController::SetProgressPanel(bool visible)
{
    if (form_.Panel_bar->isVisible() == visible)
        return;
    form_.Panel_bar->setVisible(visible);
    form_.FitWindow(window_);
}

void ConfigController::ReadAllItems()
{
    auto& f = form_;
    f.Icon_get->setEnabled(false);
    f.Icon_put->setEnabled(false);
    if (lock_)
        lock_();
    SetProgressPanel(true);
    SetLabelText(f.Label_Bar, QStringLiteral("Pobieram konfiguracje nadajnika"));
    f.Bar->SetProgress(0);
    for (const ConfigItem& item : ConfigItems()) {
        const quint8 c = item.readCode;
        link_.PollTicks = 0;
        for (int i = 0; i < 251; ++i)
            LetMessagesRun();
        link_.SendCommand(c, QByteArrayLiteral("G"));
        const bool answered = link_.WaitAnswer(10, c);
        if (!answered)
            prompts_.Message(MessageKind::Error, QStringLiteral("Brak odpowiedzi z TQ-3"));
        f.Bar->SetProgress(c * 100 / 42);
        if (answered && c == 42) {
            if (unlock_)
                unlock_();
            f.Icon_get->setEnabled(true);
            f.Icon_put->setEnabled(true);
        }
        LetMessagesRun();
        if (!answered)
            break;
    }
    SetProgressPanel(false);
}

void ConfigController::WriteAllItems()
{
    auto& f = form_;
    // Nothing is sent unless every field can go as it stands: a text the
    // length byte cannot count, or a number that is not one byte, would reach
    // the controller cut short.
    if (const QString problem = CheckFields(false); !problem.isEmpty()) {
        prompts_.Beep();
        prompts_.Message(MessageKind::Error, problem);
        return;
    }
    f.Icon_get->setEnabled(false);
    f.Icon_put->setEnabled(false);
    if (lock_)
        lock_();
    SetProgressPanel(true);
    SetLabelText(f.Label_Bar, QStringLiteral("Wysyłam konfiguracje do nadajnika"));
    f.Bar->SetProgress(0);
    LetMessagesRun();

    // Progress after each answered write, in table order.
    static constexpr int Progress[ItemCount] = {4,  8,  12, 16, 20, 22, 26, 30, 46,  50,
                                                54, 70, 94, 95, 96, 97, 98, 99, 100, 100};
    int row = 0;
    for (const ConfigItem& item : ConfigItems()) {
        const QByteArray payload = ItemPayload(item.readCode);
        if (!link_.SendAndWait(item.writeCode, payload, item.writeTicks))
            break;
        f.Bar->SetProgress(Progress[row++]);
        // As written: the base colour again, light yellow for the check boxes.
        if (const TextField* t = FindTextField(item.readCode)) {
            SetFieldColour(f.*(t->edit), *t->base);
            continue;
        }
        using namespace tq3colours;
        switch (item.readCode) {
        case 28:
            SetFieldColour(f.Edit_LimitSMS, LightYellow);
            SetFieldColour(f.BoxFiltrSMS, LightYellow);
            break;
        case 30:
            SetFieldColour(f.TempMin, LightYellow);
            SetFieldColour(f.TempMax, LightYellow);
            break;
        case 32:
            SetFieldColour(f.TempKorekta, LightYellow);
            break;
        case 34:
            SetFieldColour(f.TempZapisz, LightYellow);
            break;
        case 40:
            SetFieldColour(f.VoiceBox, LightYellow);
            break;
        case 42:
            SetFieldColour(f.Edit_LimitVoice, LightYellow);
            break;
        default:
            break;
        }
    }
    SetProgressPanel(false);
    if (link_.LoggedIn) {
        f.Icon_get->setEnabled(true);
        f.Icon_put->setEnabled(true);
        if (unlock_)
            unlock_();
    }
}

ConfigFileFields ConfigController::Snapshot() const
{
    auto& f = form_;
    ConfigFileFields c;
    c.password = Bytes(f.Edit_haslo);
    c.pin = Bytes(f.Edit_pin);
    c.smsCentre = Bytes(f.Edit_operator);
    c.tel = {Bytes(f.Edit_Tel1), Bytes(f.Edit_Tel2), Bytes(f.Edit_Tel3), Bytes(f.Edit_Tel4)};
    c.in1n = Bytes(f.Edit_IN1N);
    c.in2n = Bytes(f.Edit_IN2N);
    c.in1a = Bytes(f.Edit_IN1A);
    c.in2a = Bytes(f.Edit_IN2A);
    c.in3a = Bytes(f.Edit_IN3A);
    c.out2zal = Bytes(f.Edit_Out2zal);
    c.smsLimit = SmsLimitByte(ByteValue(f.Edit_LimitSMS).value_or(0), f.BoxFiltrSMS->isChecked());
    c.voiceLimit = quint8(ByteValue(f.Edit_LimitVoice).value_or(0));
    c.tempMin = TempMinRaw;
    c.tempMax = TempMaxRaw;
    c.korekta = TempKorektaRaw;
    c.interval = quint8(ByteValue(f.TempZapisz).value_or(0));
    c.in4a = Bytes(f.Edit_IN4A);
    c.in4n = Bytes(f.Edit_IN4N);
    c.callOnAlarm = f.VoiceBox->isChecked() ? 1 : 0;
    return c;
}

void ConfigController::Restore(const ConfigFileFields& c)
{
    // Texts and states only: a field whose text changes is marked red by its
    // own change rule, as not yet written to the controller.
    auto& f = form_;
    f.Edit_haslo->setText(ShownText(c.password));
    f.Edit_pin->setText(ShownText(c.pin));
    f.Edit_operator->setText(ShownText(c.smsCentre));
    f.Combo_operator->setCurrentIndex(OtherOperator);
    f.Combo_operator->setCurrentIndex(PresetForLoaded(c.smsCentre));
    QLineEdit* tel[] = {f.Edit_Tel1, f.Edit_Tel2, f.Edit_Tel3, f.Edit_Tel4};
    for (int i = 0; i < 4; ++i)
        tel[i]->setText(ShownText(c.tel[size_t(i)]));
    f.Edit_IN1N->setText(ShownText(c.in1n));
    f.Edit_IN2N->setText(ShownText(c.in2n));
    f.Edit_IN1A->setText(ShownText(c.in1a));
    f.Edit_IN2A->setText(ShownText(c.in2a));
    f.Edit_IN3A->setText(ShownText(c.in3a));
    f.Edit_Out2zal->setText(ShownText(c.out2zal));
    const SmsLimit limit = DecodeSmsLimit(c.smsLimit);
    f.BoxFiltrSMS->setChecked(limit.filter);
    f.Edit_LimitSMS->setText(QString::number(limit.limit));
    f.Edit_LimitVoice->setText(QString::number(c.voiceLimit));
    TempMinRaw = c.tempMin;
    ShowTempMin();
    TempMaxRaw = c.tempMax;
    ShowTempMax();
    TempKorektaRaw = c.korekta;
    ShowTempKorekta();
    f.TempZapisz->setText(QString::number(c.interval));
    f.Edit_IN4A->setText(ShownText(c.in4a));
    f.Edit_IN4N->setText(ShownText(c.in4n));
    f.VoiceBox->setChecked(c.callOnAlarm == 1);
}

void ConfigController::SaveConfigFile()
{
    if (const QString problem = CheckFields(true); !problem.isEmpty()) {
        prompts_.Beep();
        prompts_.Message(MessageKind::Error, problem);
        return;
    }
    ContainerBuffer = BuildConfigFile(Snapshot());
    // "tcf", so that the open dialog's filter shows what was saved.
    SaveDialog.defaultExt = QStringLiteral("tcf");
    SaveDialog.initialDir.clear();
    const QString name = prompts_.SaveFileName(SaveDialog);
    if (name.isEmpty())
        return;
    if (!SaveWholeFile(name, ContainerBuffer, NewFileAccess::OwnerOnly)) {
        prompts_.Beep();
        prompts_.Message(MessageKind::Error, QStringLiteral("Błąd zapisu"));
    }
}

void ConfigController::LoadConfigFile()
{
    OpenDialog.initialDir.clear();
    const QString name = prompts_.OpenFileName(OpenDialog);
    if (name.isEmpty())
        return;
    if (!LoadDataFile(name, QByteArrayLiteral("tcf"), ContainerBuffer, prompts_))
        return;
    const auto fields = ParseConfigFile(ContainerBuffer);
    if (!fields) {
        // Its texts run past its end: nothing of it can be trusted.
        prompts_.Message(MessageKind::Error, QStringLiteral("Zly format pliku"));
        return;
    }
    Restore(*fields);
    prompts_.Beep();
    prompts_.Message(MessageKind::Information, QStringLiteral("Odczytano plik konfiguracji"));
}
