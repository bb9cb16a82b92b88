#pragma once
// The editing rules of the configuration fields: key filters, typing limits
// (see ui/TypingLimit), exit rules, the red change marks, the check boxes'
// focus mark, the operator presets and the four spin buttons.
#include <QObject>

class ConfigPanel;
class QChar;
class QLineEdit;
struct TMainForm;

class FieldRules : public QObject
{
    Q_OBJECT
public:
    // Binds every rule to the form's controls.
    FieldRules(TMainForm& form, ConfigPanel& config, QObject* parent = nullptr);

    // Key filters: set key to 0 to swallow it.
    void Edit_hasloKeyPress(QChar& key);
    void Edit_pinKeyPress(QChar& key);
    void Edit_operatorKeyPress(QChar& key);
    void Edit_TelKeyPress(QChar& key); // Edit_Tel1KeyPress .. Edit_Tel4KeyPress
    void Edit_Out2zalKeyPress(QChar& key);
    void Edit_LimitSMSKeyPress(QChar& key);
    void Edit_LimitVoiceKeyPress(QChar& key);

    // Exit rules.
    void Edit_hasloExit();
    void Edit_pinExit();
    void Edit_LimitSMSExit();
    void Edit_LimitVoiceExit();

    void BoxFiltrSMSEnter();
    void VoiceBoxEnter();
    void Combo_operatorCloseUp(int index);

    void SpinButton3UpClick();
    void SpinButton3DownClick();
    void SpinButton2UpClick();
    void SpinButton2DownClick();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void SpinButton4UpClick();
    void SpinButton4DownClick();

private:
    TMainForm& form_;
    ConfigPanel& config_;
};
