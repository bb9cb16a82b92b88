#include "ui/MainForm.h"

#include "ui/Gauge.h"
#include "ui/Pictures.h"
#include "ui/PortBox.h"
#include "ui/SpinButton.h"
#include "ui/TypingLimit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>

#include <initializer_list>

void SetFieldColour(QWidget* w, const QColor& c)
{
    if (!w)
        return;
    QPalette p = w->palette();
    if (qobject_cast<QCheckBox*>(w)) {
        p.setColor(QPalette::Window, c);
        w->setAutoFillBackground(true);
    } else {
        p.setColor(QPalette::Base, c);
    }
    w->setPalette(p);
}

QColor FieldColour(const QWidget* w)
{
    if (!w)
        return {};
    return w->palette().color(qobject_cast<const QCheckBox*>(w) ? QPalette::Window : QPalette::Base);
}

QFont WindowFont()
{
    // The layout was drawn for "MS Sans Serif" 8 pt at 96 dpi, a bitmap face
    // that does not scale. Liberation Sans at 10 px keeps every caption within
    // the width it was laid out for, and stays sharp at any scale; Arimo has
    // the same metrics, and the condensed DejaVu fits at that size as well.
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(10);
    return font;
}

void FitLabel(QLabel* label)
{
    QVariant design = label->property("designGeometry");
    if (!design.isValid()) {
        design = label->geometry();
        label->setProperty("designGeometry", design);
    }
    const QRect designed = design.toRect();
    const QFontMetrics fm = label->fontMetrics();
    const int width = qMax(designed.width(), fm.horizontalAdvance(label->text()) + 1);
    const int height = qMax(designed.height(), fm.height());
    QRect g = label->geometry();
    g.setSize(QSize(width, height));
    // A right-aligned label grows to the left, towards the free side; a
    // bottom-aligned one upwards, so its baseline stays put.
    if (label->alignment() & Qt::AlignRight)
        g.moveRight(designed.right());
    if (label->alignment() & Qt::AlignBottom)
        g.moveBottom(designed.bottom());
    label->setGeometry(g);
}

void SetLabelText(QLabel* label, const QString& text)
{
    label->setText(text);
    FitLabel(label);
}

// The Button role: under both the Fusion and the Windows style it is the grey
// that the window itself is painted with.
QColor ButtonFaceColour()
{
    return QApplication::palette().color(QPalette::Button);
}

namespace {

// The design's height of the compact one-line edits.
constexpr int CompactEditHeight = 18;

template <class W> W* Place(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QFrame* Panel(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* panel = Place<QFrame>(parent, name, x, y, w, h);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}

QGroupBox* Group(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& title)
{
    auto* group = Place<QGroupBox>(parent, name, x, y, w, h);
    group->setTitle(title);
    return group;
}

QLabel* Label(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text)
{
    auto* label = Place<QLabel>(parent, name, x, y, w, h);
    label->setText(text);
    // Labels are sized to their text; bottom alignment puts the baseline where
    // the design has it (11 px down), level with the text of the fields.
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    label->setTextFormat(Qt::PlainText);
    FitLabel(label);
    return label;
}

QLineEdit* Edit(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text = {},
                int maxLength = 0)
{
    auto* edit = Place<QLineEdit>(parent, name, x, y, w, h);
    edit->setText(text);
    if (maxLength > 0)
        TypingLimit::Install(edit, maxLength);
    // The compact edits keep the design's height whatever their size hint
    // says; a line of 11 px text still fits in them.
    if (h == CompactEditHeight)
        edit->setFixedHeight(CompactEditHeight);
    return edit;
}

QLineEdit* ReadOnlyEdit(QWidget* parent, const char* name, int x, int y, int w, int h,
                        const QString& text = {}, int maxLength = 0)
{
    auto* edit = Edit(parent, name, x, y, w, h, text, maxLength);
    edit->setReadOnly(true);
    return edit;
}

QPushButton* Button(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& caption,
                    bool enabled = true)
{
    auto* button = Place<QPushButton>(parent, name, x, y, w, h);
    button->setText(caption);
    button->setEnabled(enabled);
    return button;
}

template <class Box = QComboBox>
Box* Combo(QWidget* parent, const char* name, int x, int y, int w, int h, const QStringList& items)
{
    auto* combo = Place<Box>(parent, name, x, y, w, h);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setCurrentIndex(0);
    return combo;
}

QCheckBox* Check(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& caption)
{
    auto* box = Place<QCheckBox>(parent, name, x, y, w, h);
    box->setText(caption);
    return box;
}

TGauge* Gauge(QWidget* parent, const char* name, int x, int y, int w, int h, int maxValue)
{
    auto* gauge = Place<TGauge>(parent, name, x, y, w, h);
    gauge->SetRange(0, maxValue);
    gauge->SetProgress(0);
    return gauge;
}

QToolButton* PictureButton(QWidget* parent, const char* name, int x, int y, int w, int h,
                           const QIcon& picture, const QString& hint)
{
    auto* button = Place<QToolButton>(parent, name, x, y, w, h);
    button->setAutoRaise(true);
    button->setIcon(picture);
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Speed buttons are clicked, never tabbed to.
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(hint);
    button->setEnabled(false);
    return button;
}

void Hint(QWidget* w, const QString& hint)
{
    w->setToolTip(hint);
}

void ChainTabs(std::initializer_list<QWidget*> order)
{
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

} // namespace

void TMainForm::Setup(QMainWindow* window)
{
    window->setObjectName(QStringLiteral("Main"));
    window->setWindowTitle(tr("Konfigurator TQ-3 v 2.2"));
    window->setFont(WindowFont());
    QPalette windowPalette = window->palette();
    windowPalette.setColor(QPalette::Window, ButtonFaceColour());
    window->setPalette(windowPalette);

    Client = new QWidget(window);
    Client->setObjectName(QStringLiteral("Client"));
    window->setCentralWidget(Client);

    // Containers, created in their tab order.
    PanelKomunikacji = Panel(Client, "PanelKomunikacji", 0, 0, 441, 65);
    Panel_bar = Panel(Client, "Panel_bar", 0, 504, 857, 33);
    GroupBox3 = Group(Client, "GroupBox3", 0, 72, 193, 289, tr("Opcje TQ-3"));
    GroupBox2 = Group(Client, "GroupBox2", 448, 0, 409, 497, tr("Historia temperatury"));
    GroupBox1 = Group(Client, "GroupBox1", 200, 72, 241, 321, tr("Ustawienia SMS"));
    GroupBox7 = Group(Client, "GroupBox7", 200, 400, 241, 105, tr("Stan TQ-3"));
    GroupBox4 = Group(Client, "GroupBox4", 0, 360, 193, 145, tr("Ustawienia temperatury"));

    // Connection.
    QWidget* p = PanelKomunikacji;
    Label_Port = Label(p, "Label_Port", 8, 12, 36, 13, tr("PORT :"));
    Combo_Port = Combo<TPortBox>(p, "Combo_Port", 56, 10, 57, 21,
                                 {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"});
    Label_haslo = Label(p, "Label_haslo", 8, 36, 37, 13, tr("HASŁO"));
    Edit_haslo = Edit(p, "Edit_haslo", 56, 34, 33, 21, "7391", 4);
    Hint(Edit_haslo, tr("Hasło dostępu (4 cyfry)"));
    Button_polacz = Button(p, "Button_polacz", 120, 8, 65, 25, tr("POŁĄCZ"));
    Hint(Button_polacz, tr("Połącz do sterownika VSKR"));
    Button_rozlacz = Button(p, "Button_rozlacz", 120, 32, 65, 25, tr("ROZŁĄCZ"), false);
    Hint(Button_rozlacz, tr("Rozłącz od sterownika  VSKR"));
    Edit_status = ReadOnlyEdit(p, "Edit_status", 208, 10, 89, 21, tr("ROZŁĄCZONY"));
    SetFieldColour(Edit_status, tq3colours::Red);
    Edit_logon = ReadOnlyEdit(p, "Edit_logon", 208, 34, 89, 21, tr("WYLOGOWANY"));
    SetFieldColour(Edit_logon, tq3colours::Red);
    Icon_get = PictureButton(p, "Icon_get", 344, 12, 33, 41, ReadFromControllerIcon(),
                             tr("Odczytaj konfiguracje z VSKR"));
    Icon_put = PictureButton(p, "Icon_put", 392, 12, 33, 41, WriteToControllerIcon(),
                             tr("Zapisz konfiguracje do VSKR"));

    // Transfer progress, shown only while a transfer runs.
    p = Panel_bar;
    Label_Bar = Label(p, "Label_Bar", 8, 12, 105, 13, tr("Pobieram konfiguracje"));
    Bar = Gauge(p, "Bar", 200, 7, 241, 20, 100);
    Panel_bar->hide();

    // Opcje TQ-3.
    p = GroupBox3;
    Button_zmiana_hasla = Button(p, "Button_zmiana_hasla", 8, 16, 81, 25, tr("Zmiana hasła"), false);
    ButtonResetlimit = Button(p, "ButtonResetlimit", 96, 16, 81, 25, tr("Zeruj liczniki"), false);
    Hint(ButtonResetlimit, tr("Zeruje liczniki SMS i Voice"));
    ButtonRestart = Button(p, "ButtonRestart", 8, 48, 81, 25, tr("Restart TQ-3"), false);
    ButtonCzas = Button(p, "ButtonCzas", 96, 48, 81, 25, tr("Ustaw zegar"), false);
    ButtonFirmware = Button(p, "ButtonFirmware", 8, 80, 81, 25, tr("Aktualizacja"));
    ButtonKasuj = Button(p, "ButtonKasuj", 96, 80, 81, 25, tr("Kasuj historie"), false);
    Label_operator = Label(p, "Label_operator", 8, 112, 68, 13, tr("Operator GSM"));
    Combo_operator = Combo(p, "Combo_operator", 88, 112, 89, 21,
                           {QStringLiteral("ORANGE"), QStringLiteral("T-MOBILE"), QStringLiteral("PLUS"),
                            QStringLiteral("PLAY"), tr("inny")});
    Label_centrumSMS = Label(p, "Label_centrumSMS", 8, 136, 65, 13, tr("Centrum SMS"));
    Edit_operator = Edit(p, "Edit_operator", 88, 136, 89, 21, "+48501200777", 13);
    Label_PIN = Label(p, "Label_PIN", 8, 160, 66, 13, tr("PIN karty SIM"));
    Edit_pin = Edit(p, "Edit_pin", 88, 160, 33, 21, "7391", 4);
    Hint(Edit_pin, tr("PIN karty SIM (4 cyfry)"));
    Label1 = Label(p, "Label1", 8, 191, 60, 13, tr("Telefon nr. 1"));
    Label2 = Label(p, "Label2", 8, 215, 60, 13, tr("Telefon nr. 2"));
    Label3 = Label(p, "Label3", 8, 239, 60, 13, tr("Telefon nr. 3"));
    Label4 = Label(p, "Label4", 8, 263, 60, 13, tr("Telefon nr. 4"));
    Edit_Tel1 = Edit(p, "Edit_Tel1", 88, 188, 89, 21, "", 13);
    Edit_Tel2 = Edit(p, "Edit_Tel2", 88, 212, 89, 21, "", 13);
    Edit_Tel3 = Edit(p, "Edit_Tel3", 88, 236, 89, 21, "", 13);
    Edit_Tel4 = Edit(p, "Edit_Tel4", 88, 260, 89, 21, "", 13);

    // Historia temperatury.
    p = GroupBox2;
    ButtonPobierz = Button(p, "ButtonPobierz", 8, 24, 57, 25, tr("START"), false);
    ButtonSTOP = Button(p, "ButtonSTOP", 72, 24, 57, 25, tr("STOP"), false);
    TempBar = Gauge(p, "TempBar", 168, 28, 105, 17, 100);
    ButtonZapisz = Button(p, "ButtonZapisz", 296, 24, 81, 25, tr("Zapisz do pliku"));
    trm = Place<QPlainTextEdit>(p, "trm", 10, 55, 391, 434);
    trm->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The log is a plain field in the tab order; Tab leaves it.
    trm->setTabChangesFocus(true);

    // Ustawienia SMS.
    p = GroupBox1;
    Label22 = Label(p, "Label22", 96, 9, 112, 13, tr("Zasilacz 5V (stan 230V)"));
    Label17 = Label(p, "Label17", 8, 24, 22, 13, tr("Brak"));
    Edit_IN1N = Edit(p, "Edit_IN1N", 48, 24, 185, 18, "", 30);
    Label24 = Label(p, "Label24", 6, 49, 33, 13, tr("Powrót"));
    Edit_IN1A = Edit(p, "Edit_IN1A", 48, 48, 185, 18, "", 30);
    Label20 = Label(p, "Label20", 120, 72, 33, 13, tr("Bateria"));
    Label21 = Label(p, "Label21", 8, 88, 38, 13, tr("Rozład."));
    Edit_IN4N = Edit(p, "Edit_IN4N", 48, 88, 185, 21);
    Label23 = Label(p, "Label23", 8, 112, 33, 13, tr("Naład."));
    Edit_IN4A = Edit(p, "Edit_IN4A", 48, 112, 185, 21);
    Label11 = Label(p, "Label11", 112, 136, 60, 13, tr("Temperatura"));
    Label19 = Label(p, "Label19", 8, 152, 39, 13, tr("Wysoka"));
    Edit_IN2N = Edit(p, "Edit_IN2N", 48, 152, 185, 18, "", 30);
    Label8 = Label(p, "Label8", 8, 176, 31, 13, tr("Norma"));
    Edit_IN3A = Edit(p, "Edit_IN3A", 48, 176, 185, 18, "", 30);
    Label10 = Label(p, "Label10", 8, 200, 27, 13, tr("Niska"));
    Edit_IN2A = Edit(p, "Edit_IN2A", 48, 200, 185, 18, "", 30);
    Label7 = Label(p, "Label7", 8, 224, 82, 13, tr("Zapytanie o stan "));
    Edit_Out2zal = Edit(p, "Edit_Out2zal", 112, 222, 25, 18, "", 4);
    Label25 = Label(p, "Label25", 8, 256, 80, 13, tr("Limit [24h]:  SMS"));
    Edit_LimitSMS = Edit(p, "Edit_LimitSMS", 112, 253, 25, 21, "0", 2);
    Hint(Edit_LimitSMS, tr("Dobowy limit SMS"));
    LabelSMS = Label(p, "LabelSMS", 96, 256, 14, 13, tr("0 z"));
    Hint(LabelSMS, tr("Ilość wykorzystanych SMS z limitu dobowego"));
    // 4 px left of its place in the layout: a three-digit call counter needs that room.
    Label26 = Label(p, "Label26", 148, 256, 33, 13, tr("Dzwon"));
    LabelVoice = Label(p, "LabelVoice", 192, 256, 14, 13, tr("0 z"));
    // The counters read against the limit fields to their right: a longer
    // count grows away from the field.
    for (QLabel* counter : {LabelSMS, LabelVoice}) {
        counter->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        FitLabel(counter);
    }
    Edit_LimitVoice = Edit(p, "Edit_LimitVoice", 208, 253, 25, 21, "0");
    BoxFiltrSMS = Check(p, "BoxFiltrSMS", 8, 280, 65, 17, tr("Filtr SMS"));
    Label18 = Label(p, "Label18", 80, 281, 126, 13, tr("NIEwysyłaj w PN-PT 7-18 "));
    VoiceBox = Check(p, "VoiceBox", 8, 296, 161, 17, tr("Dzwoń na alarm temepratury"));
    // Nothing stands to its right: let the caption show whole where the font is wider.
    VoiceBox->setProperty("designGeometry", VoiceBox->geometry());
    VoiceBox->resize(qMax(VoiceBox->width(), VoiceBox->sizeHint().width()), VoiceBox->height());

    // Stan TQ-3.
    p = GroupBox7;
    Label15 = Label(p, "Label15", 8, 24, 39, 13, tr("Bateria :"));
    Udc = ReadOnlyEdit(p, "Udc", 48, 22, 49, 21);
    Label16 = Label(p, "Label16", 120, 24, 61, 13, tr("Zasilacz 5V :"));
    AC230 = ReadOnlyEdit(p, "AC230", 184, 22, 41, 21);
    Label39 = Label(p, "Label39", 8, 58, 64, 13, tr("Sygnał GSM:"));
    BarRSSI = Gauge(p, "BarRSSI", 72, 57, 49, 17, 20);
    BarRSSI->SetForeColor(tq3colours::Blue);
    BarRSSI->SetBackColor(ButtonFaceColour());
    TextWersja = Label(p, "TextWersja", 130, 58, 46, 13, tr("TQ-3 v ..."));
    Hint(TextWersja, tr("Wersja frimware w sterowniku VSKR"));
    QPalette grey = TextWersja->palette();
    grey.setColor(QPalette::WindowText, tq3colours::Grey);
    TextWersja->setPalette(grey);
    QFont underlined; // only the underline is set; the rest comes from the window
    underlined.setUnderline(true);
    TextWersja->setFont(underlined);
    LabelZd = Label(p, "LabelZd", 201, 58, 25, 13, tr("Zd: 0"));
    Hint(LabelZd, tr("Ilość zdarzeń do obsługi"));
    StatusBar = Place<QStatusBar>(p, "StatusBar", 8, 76, 225, 19);
    StatusBar->setSizeGripEnabled(false);
    StatusBarPanel = new QLabel(StatusBar);
    StatusBarPanel->setObjectName(QStringLiteral("StatusBarPanel"));
    StatusBarPanel->setFixedWidth(130);
    StatusBarPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusBar->addWidget(StatusBarPanel);
    StatusBar->setEnabled(false);
    // Disabled only against clicks: the modem stage stays as readable as any text.
    QPalette panel = StatusBarPanel->palette();
    panel.setColor(QPalette::Disabled, QPalette::WindowText,
                   panel.color(QPalette::Active, QPalette::WindowText));
    StatusBarPanel->setPalette(panel);

    // Ustawienia temperatury.
    p = GroupBox4;
    Label5 = Label(p, "Label5", 8, 24, 107, 13, tr("Aktualna temperatura :"));
    Temp = ReadOnlyEdit(p, "Temp", 120, 22, 41, 21);
    Label13 = Label(p, "Label13", 13, 52, 17, 13, tr("Min"));
    TempMin = ReadOnlyEdit(p, "TempMin", 32, 48, 41, 21, "05", 2);
    SpinButton3 = Place<TSpinButton>(p, "SpinButton3", 72, 48, 20, 25);
    Label9 = Label(p, "Label9", 96, 52, 20, 13, tr("Max"));
    TempMax = ReadOnlyEdit(p, "TempMax", 120, 48, 41, 21, "10", 2);
    SpinButton2 = Place<TSpinButton>(p, "SpinButton2", 160, 48, 20, 25);
    Label6 = Label(p, "Label6", 8, 84, 95, 13, tr("Korekta temperatury"));
    TempKorekta = ReadOnlyEdit(p, "TempKorekta", 120, 80, 41, 21, "0,0");
    SpinButton1 = Place<TSpinButton>(p, "SpinButton1", 160, 80, 20, 25);
    Label14 = Label(p, "Label14", 8, 112, 98, 13, tr("Zapis temp. co  [min]"));
    TempZapisz = ReadOnlyEdit(p, "TempZapisz", 120, 112, 41, 21, "60");
    SpinButton4 = Place<TSpinButton>(p, "SpinButton4", 160, 112, 20, 25);

    // One focus chain: the containers in their tab order, each one's controls
    // in theirs.
    ChainTabs({// PanelKomunikacji
               Button_rozlacz, Button_polacz, Combo_Port, Edit_haslo, Edit_status, Edit_logon,
               // GroupBox3
               Button_zmiana_hasla, Combo_operator, Edit_operator, Edit_pin, ButtonRestart, ButtonResetlimit,
               ButtonCzas, Edit_Tel4, Edit_Tel3, Edit_Tel2, Edit_Tel1, ButtonFirmware, ButtonKasuj,
               // GroupBox2
               trm, ButtonPobierz, ButtonZapisz, ButtonSTOP,
               // GroupBox1
               Edit_IN1A, Edit_IN1N, Edit_IN2A, Edit_IN2N, Edit_IN3A, Edit_Out2zal, Edit_LimitSMS,
               BoxFiltrSMS, Edit_IN4N, Edit_IN4A, VoiceBox, Edit_LimitVoice,
               // GroupBox7
               Udc, AC230,
               // GroupBox4
               TempMin, SpinButton3, TempMax, SpinButton2, TempKorekta, SpinButton1, TempZapisz, SpinButton4,
               Temp});

    // Main menu.
    QMenuBar* menuBar = window->menuBar();
    menuBar->setObjectName(QStringLiteral("MainMenu"));
    auto addMenu = [menuBar](const char* name, const QString& caption) {
        QMenu* menu = menuBar->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    auto addItem = [](QMenu* menu, const char* name, const QString& caption, bool enabled = true) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(enabled);
        return action;
    };
    Plik1 = addMenu("Plik1", tr("Plik"));
    Odczyt1 = addItem(Plik1, "Odczyt1", tr("Odczyt"));
    Zapis1 = addItem(Plik1, "Zapis1", tr("Zapis"));
    Dane1 = addMenu("Dane1", tr("Dane"));
    // The controller's settings, read and written over the line, unlike the file's of "Plik".
    Pobierz1 = addItem(Dane1, "Pobierz1", tr("Odczyt", "the settings from the controller"), false);
    Zapisz1 = addItem(Dane1, "Zapisz1", tr("Zapisz", "the settings to the controller"), false);
    Historia1 = addMenu("Historia1", tr("Historia"));
    OtworzHistorie1 = addItem(Historia1, "OtworzHistorie1", tr("Otwórz zapisaną historię…"));
    ArkuszHistorii1 = addItem(Historia1, "ArkuszHistorii1", tr("Zapisz do arkusza (CSV)…"));
    WykresHistorii1 = addItem(Historia1, "WykresHistorii1", tr("Wykres…"));
    Info1 = addMenu("Info1", tr("Info"));
    Oprogramie1 = addItem(Info1, "Oprogramie1", tr("O programie"));

    FitWindow(window);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), window->size());
        frame.moveCenter(screen->geometry().center());
        window->move(frame.topLeft());
    }
}

void TMainForm::FitWindow(QMainWindow* window) const
{
    // The client area is the bounding box, from the origin, of the containers
    // that are not hidden; the window keeps that size exactly.
    QSize content(0, 0);
    const std::initializer_list<QWidget*> containers = {PanelKomunikacji, Panel_bar, GroupBox3, GroupBox2,
                                                        GroupBox1,        GroupBox7, GroupBox4};
    for (QWidget* container : containers) {
        if (!container || container->isHidden())
            continue;
        const QRect g = container->geometry();
        content = content.expandedTo(QSize(g.x() + g.width(), g.y() + g.height()));
    }
    Client->setFixedSize(content);
    if (QLayout* layout = window->layout()) {
        layout->invalidate();
        layout->activate();
    }
    window->setFixedSize(window->sizeHint());
}
