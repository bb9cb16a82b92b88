#pragma once
// The main window's form: every container and control, built in code with the
// object names, positions (pixels, relative to the container), texts, hints,
// tab order, limits and start states of the window's design. The window
// (TMain) wires the controls to its handlers; the form holds no logic.
#include "ui/PortBox.h"

#include <QCoreApplication>

#include <QFont>
#include <QMainWindow>

class QAction;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QToolButton;
class TGauge;
class TSpinButton;

// Colours of the window's design.
namespace tq3colours {
inline const QColor Lime(0, 255, 0);
inline const QColor Red(255, 0, 0);
inline const QColor Blue(0, 0, 255);
inline const QColor Grey(128, 128, 128);
inline const QColor LightYellow(255, 255, 153);
inline const QColor LightOrange(255, 204, 153);
inline const QColor LightGreen(204, 255, 153);
inline const QColor SkyBlue(166, 202, 240);
} // namespace tq3colours

// Background colour of an edit box, check box or combo box (palette Base /
// Window); the program's "colour" of a field.
void SetFieldColour(QWidget* w, const QColor& c);
QColor FieldColour(const QWidget* w);
// The font of the window and its dialogs, sized to the layout's widths.
QFont WindowFont();
// Labels grow to fit their text, never smaller than designed: to the right,
// or to the left when right-aligned; upwards when bottom-aligned.
void FitLabel(QLabel* label);
void SetLabelText(QLabel* label, const QString& text);
// The system's button-face colour.
QColor ButtonFaceColour();

struct TMainForm
{
    Q_DECLARE_TR_FUNCTIONS(TMainForm)

public:
    // Builds everything onto the window: the client area, the menu, the dialogs.
    void Setup(QMainWindow* window);

    // Resizes the window to the visible containers (the design's AutoSize):
    // called again whenever Panel_bar is shown or hidden.
    void FitWindow(QMainWindow* window) const;

    QWidget* Client = nullptr;

    // PanelKomunikacji
    QFrame* PanelKomunikacji = nullptr;
    QLabel* Label_Port = nullptr;
    TPortBox* Combo_Port = nullptr;
    QLabel* Label_haslo = nullptr;
    QLineEdit* Edit_haslo = nullptr;
    QPushButton* Button_polacz = nullptr;
    QPushButton* Button_rozlacz = nullptr;
    QLineEdit* Edit_status = nullptr;
    QLineEdit* Edit_logon = nullptr;
    QToolButton* Icon_get = nullptr;
    QToolButton* Icon_put = nullptr;

    // Panel_bar
    QFrame* Panel_bar = nullptr;
    QLabel* Label_Bar = nullptr;
    TGauge* Bar = nullptr;

    // GroupBox3 "Opcje TQ-3"
    QGroupBox* GroupBox3 = nullptr;
    QPushButton* Button_zmiana_hasla = nullptr;
    QPushButton* ButtonResetlimit = nullptr;
    QPushButton* ButtonRestart = nullptr;
    QPushButton* ButtonCzas = nullptr;
    QPushButton* ButtonFirmware = nullptr;
    QPushButton* ButtonKasuj = nullptr;
    QLabel* Label_operator = nullptr;
    QComboBox* Combo_operator = nullptr;
    QLabel* Label_centrumSMS = nullptr;
    QLineEdit* Edit_operator = nullptr;
    QLabel* Label_PIN = nullptr;
    QLineEdit* Edit_pin = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit_Tel1 = nullptr;
    QLineEdit* Edit_Tel2 = nullptr;
    QLineEdit* Edit_Tel3 = nullptr;
    QLineEdit* Edit_Tel4 = nullptr;

    // GroupBox2 "Historia temperatury"
    QGroupBox* GroupBox2 = nullptr;
    QPushButton* ButtonPobierz = nullptr;
    QPushButton* ButtonSTOP = nullptr;
    TGauge* TempBar = nullptr;
    QPushButton* ButtonZapisz = nullptr;
    QPlainTextEdit* trm = nullptr;

    // GroupBox1 "Ustawienia SMS"
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label22 = nullptr;
    QLabel* Label17 = nullptr;
    QLineEdit* Edit_IN1N = nullptr;
    QLabel* Label24 = nullptr;
    QLineEdit* Edit_IN1A = nullptr;
    QLabel* Label20 = nullptr;
    QLabel* Label21 = nullptr;
    QLineEdit* Edit_IN4N = nullptr;
    QLabel* Label23 = nullptr;
    QLineEdit* Edit_IN4A = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label19 = nullptr;
    QLineEdit* Edit_IN2N = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Edit_IN3A = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* Edit_IN2A = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* Edit_Out2zal = nullptr;
    QLabel* Label25 = nullptr;
    QLineEdit* Edit_LimitSMS = nullptr;
    QLabel* LabelSMS = nullptr;
    QLabel* Label26 = nullptr;
    QLabel* LabelVoice = nullptr;
    QLineEdit* Edit_LimitVoice = nullptr;
    QCheckBox* BoxFiltrSMS = nullptr;
    QLabel* Label18 = nullptr;
    QCheckBox* VoiceBox = nullptr;

    // GroupBox7 "Stan TQ-3"
    QGroupBox* GroupBox7 = nullptr;
    QLabel* Label15 = nullptr;
    QLineEdit* Udc = nullptr;
    QLabel* Label16 = nullptr;
    QLineEdit* AC230 = nullptr;
    QLabel* Label39 = nullptr;
    TGauge* BarRSSI = nullptr;
    QLabel* TextWersja = nullptr;
    QLabel* LabelZd = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* StatusBarPanel = nullptr; // the status bar's one panel, 130 px

    // GroupBox4 "Ustawienia temperatury"
    QGroupBox* GroupBox4 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Temp = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* TempMin = nullptr;
    TSpinButton* SpinButton3 = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* TempMax = nullptr;
    TSpinButton* SpinButton2 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* TempKorekta = nullptr;
    TSpinButton* SpinButton1 = nullptr;
    QLabel* Label14 = nullptr;
    QLineEdit* TempZapisz = nullptr;
    TSpinButton* SpinButton4 = nullptr;

    // Main menu
    QMenu* Plik1 = nullptr;
    QAction* Odczyt1 = nullptr;
    QAction* Zapis1 = nullptr;
    QMenu* Dane1 = nullptr;
    QAction* Pobierz1 = nullptr;
    QAction* Zapisz1 = nullptr;
    // The history beside the log: a saved one opened, the log for spreadsheets.
    QMenu* Historia1 = nullptr;
    QAction* OtworzHistorie1 = nullptr;
    QAction* ArkuszHistorii1 = nullptr;
    QAction* WykresHistorii1 = nullptr;
    QMenu* Info1 = nullptr;
    QAction* Oprogramie1 = nullptr;
};
