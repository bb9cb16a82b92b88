#include "ui/ConfigPanel.h"

#include "config/CodePage1250.h"
#include "config/ConfigItems.h"
#include "config/DataFile.h"
#include "config/SettingsTransfer.h"
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

QString ShownText(const QByteArray& bytes)
{
    return FromCp1250(UpToZero(bytes));
}

} // namespace

ConfigPanel::ConfigPanel(TMainForm& form, DeviceLink& link, UserPrompts& prompts, QByteArray& containerBuffer,
                         QMainWindow* window)
    : QObject(window), form_(form), link_(link), prompts_(prompts), ContainerBuffer(containerBuffer),
      window_(window)
{
    const QString filter = tr("TQ-3 konfiguracja|*.tcf");
    OpenDialog.filter = filter;
    SaveDialog.filter = filter;
}

void ConfigPanel::SetLockFunctions(std::function<void()> lock, std::function<void()> unlock)
{
    lock_ = std::move(lock);
    unlock_ = std::move(unlock);
}

void ConfigPanel::ShowTempMin()
{
    form_.TempMin->setText(ThresholdText(TempMinRaw));
}

void ConfigPanel::ShowTempMax()
{
    form_.TempMax->setText(ThresholdText(TempMaxRaw));
}

void ConfigPanel::ShowTempKorekta()
{
    form_.TempKorekta->setText(CorrectionText(TempKorektaRaw));
}

QList<QWidget*> ConfigPanel::FieldsOf(const ConfigItem& item) const
{
    auto& f = form_;
    switch (item.encoding) {
    case ItemEncoding::SmsLimit:
        return {f.Edit_LimitSMS, f.BoxFiltrSMS};
    case ItemEncoding::Thresholds:
        return {f.TempMin, f.TempMax};
    case ItemEncoding::Text:
    case ItemEncoding::SmsCentre:
    case ItemEncoding::Correction:
    case ItemEncoding::Interval:
    case ItemEncoding::CallOnAlarm:
    case ItemEncoding::VoiceLimit:
        break;
    }
    return {window_->findChild<QWidget*>(QLatin1String(item.control))};
}

QLineEdit* ConfigPanel::EditOf(const ConfigItem& item) const
{
    return window_->findChild<QLineEdit*>(QLatin1String(item.control));
}

void ConfigPanel::ShowItem(const ConfigItem& item, const Settings& s)
{
    auto& f = form_;
    switch (item.encoding) {
    case ItemEncoding::Text:
    case ItemEncoding::SmsCentre:
        EditOf(item)->setText(ShownText(*TextOf(item, s)));
        break;
    case ItemEncoding::SmsLimit: {
        const SmsLimit limit = DecodeSmsLimit(s.smsLimit);
        f.BoxFiltrSMS->setChecked(limit.filter);
        f.Edit_LimitSMS->setText(QString::number(limit.limit));
        break;
    }
    case ItemEncoding::Thresholds:
        TempMinRaw = s.tempMin;
        ShowTempMin();
        TempMaxRaw = s.tempMax;
        ShowTempMax();
        break;
    case ItemEncoding::Correction:
        TempKorektaRaw = s.korekta;
        ShowTempKorekta();
        break;
    case ItemEncoding::Interval:
        f.TempZapisz->setText(QString::number(s.interval));
        break;
    case ItemEncoding::CallOnAlarm:
        f.VoiceBox->setChecked(s.callOnAlarm == 1);
        break;
    case ItemEncoding::VoiceLimit:
        f.Edit_LimitVoice->setText(QString::number(s.voiceLimit));
        break;
    }
}

bool ConfigPanel::TakeItem(const ConfigItem& item, Settings& s, QString* problem) const
{
    if (ValueSize(item.encoding))
        return TakeNumberItem(item, s, problem);
    const QString label = ItemLabel(item);
    bool ok = true;
    *TextOf(item, s) = ToCp1250(EditOf(item)->text(), &ok);
    if (!ok) {
        *problem = tr("Pole \"%1\" zawiera znak, którego sterownik nie obsługuje. "
                      "Usuń go i spróbuj ponownie.")
                       .arg(label);
        return false;
    }
    *problem = RefuseItem(item, s);
    return problem->isEmpty();
}

bool ConfigPanel::TakeNumberItem(const ConfigItem& item, Settings& s, QString* problem) const
{
    auto& f = form_;
    const QString label = ItemLabel(item);
    // A number field that loses the focus empty becomes 0; anything else
    // that is not a number in range stops the item.
    const auto number = [&](const QLineEdit* edit, int max) -> std::optional<quint8> {
        const auto v = ByteValue(edit);
        if (v && *v <= max)
            return quint8(*v);
        *problem = tr("Pole \"%1\" musi zawierać liczbę od 0 do %2.").arg(label).arg(max);
        return std::nullopt;
    };
    switch (item.encoding) {
    case ItemEncoding::SmsLimit: {
        const auto limit = number(f.Edit_LimitSMS, MaxSmsLimit);
        if (!limit)
            return false;
        s.smsLimit = SmsLimitByte(*limit, f.BoxFiltrSMS->isChecked());
        break;
    }
    case ItemEncoding::Thresholds:
        s.tempMin = TempMinRaw;
        s.tempMax = TempMaxRaw;
        break;
    case ItemEncoding::Correction:
        s.korekta = TempKorektaRaw;
        break;
    case ItemEncoding::Interval: {
        const auto interval = number(f.TempZapisz, 255);
        if (!interval)
            return false;
        s.interval = *interval;
        break;
    }
    case ItemEncoding::CallOnAlarm:
        s.callOnAlarm = f.VoiceBox->isChecked() ? 1 : 0;
        break;
    case ItemEncoding::VoiceLimit: {
        const auto limit = number(f.Edit_LimitVoice, 255);
        if (!limit)
            return false;
        s.voiceLimit = *limit;
        break;
    }
    case ItemEncoding::Text:
    case ItemEncoding::SmsCentre:
        break; // taken as texts
    }
    return true;
}

void ConfigPanel::ApplyItem(quint8 type, const QByteArray& payload)
{
    const ConfigItem* item = FindItem(type);
    Settings received;
    if (!item || !DecodeItem(*item, payload, received))
        return;
    // The text first, then the base colour: setting the text marks the field
    // red, and only the base colour after it says "as in the controller".
    ShowItem(*item, received);
    intervalKnown_ = intervalKnown_ || item->encoding == ItemEncoding::Interval;
    thresholdsKnown_ = thresholdsKnown_ || item->encoding == ItemEncoding::Thresholds;
    if (item->encoding == ItemEncoding::SmsCentre) {
        form_.Combo_operator->setCurrentIndex(OtherOperator);
        form_.Combo_operator->setCurrentIndex(PresetForReceived(payload));
    }
    for (QWidget* field : FieldsOf(*item)) {
        // The check boxes take the window's background colour.
        SetFieldColour(field,
                       qobject_cast<QCheckBox*>(field) ? WindowColour() : QColor::fromRgb(item->baseRgb));
    }
}

std::optional<Settings> ConfigPanel::TakeSettings(bool withPassword, QString* problem) const
{
    Settings s;
    if (withPassword) {
        bool ok = true;
        s.password = ToCp1250(form_.Edit_haslo->text(), &ok);
        if (!ok || s.password.size() > MaxStoredText) {
            *problem =
                ok ? tr("Tekst w polu \"HASŁO\" jest za długi (najwyżej %1 znaków).").arg(MaxStoredText)
                   : tr("Pole \"HASŁO\" zawiera znak, którego sterownik nie obsługuje. "
                        "Usuń go i spróbuj ponownie.");
            return std::nullopt;
        }
    }
    for (const ConfigItem& item : ConfigItems())
        if (!TakeItem(item, s, problem))
            return std::nullopt;
    return s;
}

void ConfigPanel::SetProgressPanel(bool visible)
{
    if (form_.Panel_bar->isVisible() == visible)
        return;
    form_.Panel_bar->setVisible(visible);
    form_.FitWindow(window_);
}

namespace {

// What a transfer shows on the window as its items are answered.
class PanelProgress : public TransferListener
{
public:
    explicit PanelProgress(std::function<void(const ConfigItem&, int, bool)> shown) : shown_(std::move(shown))
    {
    }
    void ItemDone(const ConfigItem& item, int progress) override { shown_(item, progress, true); }
    void ItemUnanswered(const ConfigItem& item, int progress) override { shown_(item, progress, false); }

private:
    std::function<void(const ConfigItem&, int, bool)> shown_;
};

} // namespace

void ConfigPanel::ReadAllItems()
{
    auto& f = form_;
    f.Icon_get->setEnabled(false);
    f.Icon_put->setEnabled(false);
    if (lock_)
        lock_();
    SetProgressPanel(true);
    SetLabelText(f.Label_Bar, tr("Pobieram konfiguracje nadajnika"));
    f.Bar->SetProgress(0);
    // The fields fill from the answers themselves, as they are dispatched.
    PanelProgress progress([&](const ConfigItem& item, int value, bool answered) {
        if (!answered)
            prompts_.Message(MessageKind::Error, tr("Brak odpowiedzi z TQ-3"));
        f.Bar->SetProgress(value);
        if (answered && &item == &ConfigItems().back()) {
            if (unlock_)
                unlock_();
            f.Icon_get->setEnabled(true);
            f.Icon_put->setEnabled(true);
        }
    });
    ReadAllSettings(link_, progress).Run();
    SetProgressPanel(false);
}

void ConfigPanel::WriteAllItems()
{
    auto& f = form_;
    // Nothing is sent unless every field can go as it stands: a text the
    // length byte cannot count, or a number that is not one byte, would reach
    // the controller cut short.
    QString problem;
    const std::optional<Settings> settings = TakeSettings(false, &problem);
    if (!settings) {
        prompts_.Beep();
        prompts_.Message(MessageKind::Error, problem);
        return;
    }
    f.Icon_get->setEnabled(false);
    f.Icon_put->setEnabled(false);
    if (lock_)
        lock_();
    SetProgressPanel(true);
    SetLabelText(f.Label_Bar, tr("Wysyłam konfiguracje do nadajnika"));
    f.Bar->SetProgress(0);
    LetMessagesRun();

    PanelProgress progress([&](const ConfigItem& item, int value, bool) {
        f.Bar->SetProgress(value);
        // As written: the base colour again, light yellow for the check boxes.
        for (QWidget* field : FieldsOf(item))
            SetFieldColour(field, QColor::fromRgb(item.baseRgb));
    });
    WriteAllSettings(link_, progress).Run(*settings);
    SetProgressPanel(false);
    if (link_.LoggedIn()) {
        f.Icon_get->setEnabled(true);
        f.Icon_put->setEnabled(true);
        if (unlock_)
            unlock_();
    }
}

void ConfigPanel::Restore(const Settings& s)
{
    // Texts and states only: a field whose text changes is marked red by its
    // own change rule, as not yet written to the controller.
    form_.Edit_haslo->setText(ShownText(s.password));
    for (const ConfigItem& item : ConfigItems())
        ShowItem(item, s);
    form_.Combo_operator->setCurrentIndex(OtherOperator);
    form_.Combo_operator->setCurrentIndex(PresetForLoaded(s.smsCentre));
    intervalKnown_ = thresholdsKnown_ = true;
}

std::optional<int> ConfigPanel::KnownInterval() const
{
    bool ok = false;
    const int minutes = intervalKnown_ ? form_.TempZapisz->text().toInt(&ok) : 0;
    return ok && minutes > 0 ? std::optional<int>(minutes) : std::nullopt;
}

std::optional<std::pair<int, int>> ConfigPanel::KnownThresholds() const
{
    if (!thresholdsKnown_)
        return std::nullopt;
    return std::pair<int, int>(TempMinRaw, TempMaxRaw);
}

void ConfigPanel::SaveConfigFile()
{
    QString problem;
    const std::optional<Settings> settings = TakeSettings(true, &problem);
    if (!settings) {
        prompts_.Beep();
        prompts_.Message(MessageKind::Error, problem);
        return;
    }
    ContainerBuffer = BuildConfigFile(*settings);
    // "tcf", so that the open dialog's filter shows what was saved.
    SaveDialog.defaultExt = QStringLiteral("tcf");
    SaveDialog.initialDir.clear();
    const QString name = prompts_.SaveFileName(SaveDialog);
    if (name.isEmpty())
        return;
    if (!SaveWholeFile(name, ContainerBuffer, NewFileAccess::OwnerOnly)) {
        prompts_.Beep();
        prompts_.Message(MessageKind::Error, tr("Błąd zapisu"));
    }
}

void ConfigPanel::LoadConfigFile()
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
        prompts_.Message(MessageKind::Error, tr("Zly format pliku"));
        return;
    }
    Restore(*fields);
    prompts_.Beep();
    prompts_.Message(MessageKind::Information, tr("Odczytano plik konfiguracji"));
}
