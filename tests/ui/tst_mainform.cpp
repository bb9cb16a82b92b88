// The main window's form: names, kinds, positions, texts, start states, tab
// order, menu and the window's fitted size.
#include "ui/Gauge.h"
#include "ui/MainForm.h"
#include "ui/TypingLimit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

namespace {

struct ControlRow
{
    const char* name;
    const char* line; // kind x,y,wxh 'text' and the states that differ from the default
};

// clang-format off
const ControlRow Controls[] = {
    {"PanelKomunikacji", "QFrame 0,0,441x65 ''"},
    {"Label_Port", "QLabel 8,12,36x13 'PORT :'"},
    {"Combo_Port", "QComboBox 56,10,57x21 'COM1' items=COM1|COM2|COM3|COM4|COM5|COM6|COM7|COM8"},
    {"Label_haslo", "QLabel 8,36,37x13 'HASŁO'"},
    {"Edit_haslo", "QLineEdit 56,34,33x21 '7391' max=4 hint='Hasło dostępu (4 cyfry)'"},
    {"Button_polacz", "QPushButton 120,8,65x25 'POŁĄCZ' hint='Połącz do sterownika VSKR'"},
    {"Button_rozlacz", "QPushButton 120,32,65x25 'ROZŁĄCZ' disabled hint='Rozłącz od sterownika  VSKR'"},
    {"Edit_status", "QLineEdit 208,10,89x21 'ROZŁĄCZONY' readonly colour=#ff0000"},
    {"Edit_logon", "QLineEdit 208,34,89x21 'WYLOGOWANY' readonly colour=#ff0000"},
    {"Icon_get", "QToolButton 344,12,33x41 '' icon=32x32 disabled hint='Odczytaj konfiguracje z VSKR'"},
    {"Icon_put", "QToolButton 392,12,33x41 '' icon=32x32 disabled hint='Zapisz konfiguracje do VSKR'"},
    {"Panel_bar", "QFrame 0,504,857x33 '' hidden"},
    {"Label_Bar", "QLabel 8,12,105x13 'Pobieram konfiguracje'"},
    {"Bar", "TGauge 200,7,241x20 '' range=0..100 progress=0"},
    {"GroupBox3", "QGroupBox 0,72,193x289 'Opcje TQ-3'"},
    {"Button_zmiana_hasla", "QPushButton 8,16,81x25 'Zmiana hasła' disabled"},
    {"ButtonResetlimit", "QPushButton 96,16,81x25 'Zeruj liczniki' disabled hint='Zeruje liczniki SMS i Voice'"},
    {"ButtonRestart", "QPushButton 8,48,81x25 'Restart TQ-3' disabled"},
    {"ButtonCzas", "QPushButton 96,48,81x25 'Ustaw zegar' disabled"},
    {"ButtonFirmware", "QPushButton 8,80,81x25 'Aktualizacja'"},
    {"ButtonKasuj", "QPushButton 96,80,81x25 'Kasuj historie' disabled"},
    {"Label_operator", "QLabel 8,112,68x13 'Operator GSM'"},
    {"Combo_operator", "QComboBox 88,112,89x21 'ORANGE' items=ORANGE|T-MOBILE|PLUS|PLAY|inny"},
    {"Label_centrumSMS", "QLabel 8,136,65x13 'Centrum SMS'"},
    {"Edit_operator", "QLineEdit 88,136,89x21 '+48501200777' max=13"},
    {"Label_PIN", "QLabel 8,160,66x13 'PIN karty SIM'"},
    {"Edit_pin", "QLineEdit 88,160,33x21 '7391' max=4 hint='PIN karty SIM (4 cyfry)'"},
    {"Label1", "QLabel 8,191,60x13 'Telefon nr. 1'"},
    {"Label2", "QLabel 8,215,60x13 'Telefon nr. 2'"},
    {"Label3", "QLabel 8,239,60x13 'Telefon nr. 3'"},
    {"Label4", "QLabel 8,263,60x13 'Telefon nr. 4'"},
    {"Edit_Tel1", "QLineEdit 88,188,89x21 '' max=13"},
    {"Edit_Tel2", "QLineEdit 88,212,89x21 '' max=13"},
    {"Edit_Tel3", "QLineEdit 88,236,89x21 '' max=13"},
    {"Edit_Tel4", "QLineEdit 88,260,89x21 '' max=13"},
    {"GroupBox2", "QGroupBox 448,0,409x497 'Historia temperatury'"},
    {"ButtonPobierz", "QPushButton 8,24,57x25 'START' disabled"},
    {"ButtonSTOP", "QPushButton 72,24,57x25 'STOP' disabled"},
    {"TempBar", "TGauge 168,28,105x17 '' range=0..100 progress=0"},
    {"ButtonZapisz", "QPushButton 296,24,81x25 'Zapisz do pliku'"},
    {"trm", "QPlainTextEdit 10,55,391x434 '' vscroll"},
    {"GroupBox1", "QGroupBox 200,72,241x321 'Ustawienia SMS'"},
    {"Label22", "QLabel 96,9,112x13 'Zasilacz 5V (stan 230V)'"},
    {"Label17", "QLabel 8,24,22x13 'Brak'"},
    {"Edit_IN1N", "QLineEdit 48,24,185x18 '' max=30"},
    {"Label24", "QLabel 6,49,33x13 'Powrót'"},
    {"Edit_IN1A", "QLineEdit 48,48,185x18 '' max=30"},
    {"Label20", "QLabel 120,72,33x13 'Bateria'"},
    {"Label21", "QLabel 8,88,38x13 'Rozład.'"},
    {"Edit_IN4N", "QLineEdit 48,88,185x21 ''"},
    {"Label23", "QLabel 8,112,33x13 'Naład.'"},
    {"Edit_IN4A", "QLineEdit 48,112,185x21 ''"},
    {"Label11", "QLabel 112,136,60x13 'Temperatura'"},
    {"Label19", "QLabel 8,152,39x13 'Wysoka'"},
    {"Edit_IN2N", "QLineEdit 48,152,185x18 '' max=30"},
    {"Label8", "QLabel 8,176,31x13 'Norma'"},
    {"Edit_IN3A", "QLineEdit 48,176,185x18 '' max=30"},
    {"Label10", "QLabel 8,200,27x13 'Niska'"},
    {"Edit_IN2A", "QLineEdit 48,200,185x18 '' max=30"},
    {"Label7", "QLabel 8,224,82x13 'Zapytanie o stan '"},
    {"Edit_Out2zal", "QLineEdit 112,222,25x18 '' max=4"},
    {"Label25", "QLabel 8,256,80x13 'Limit [24h]:  SMS'"},
    {"Edit_LimitSMS", "QLineEdit 112,253,25x21 '0' max=2 hint='Dobowy limit SMS'"},
    {"LabelSMS", "QLabel 96,256,14x13 '0 z' hint='Ilość wykorzystanych SMS z limitu dobowego'"},
    {"Label26", "QLabel 148,256,33x13 'Dzwon'"},
    {"LabelVoice", "QLabel 192,256,14x13 '0 z'"},
    {"Edit_LimitVoice", "QLineEdit 208,253,25x21 '0'"},
    {"BoxFiltrSMS", "QCheckBox 8,280,65x17 'Filtr SMS'"},
    {"Label18", "QLabel 80,281,126x13 'NIEwysyłaj w PN-PT 7-18 '"},
    {"VoiceBox", "QCheckBox 8,296,161x17 'Dzwoń na alarm temepratury'"},
    {"GroupBox7", "QGroupBox 200,400,241x105 'Stan TQ-3'"},
    {"Label15", "QLabel 8,24,39x13 'Bateria :'"},
    {"Udc", "QLineEdit 48,22,49x21 '' readonly"},
    {"Label16", "QLabel 120,24,61x13 'Zasilacz 5V :'"},
    {"AC230", "QLineEdit 184,22,41x21 '' readonly"},
    {"Label39", "QLabel 8,58,64x13 'Sygnał GSM:'"},
    {"BarRSSI", "TGauge 72,57,49x17 '' range=0..20 progress=0 fore=#0000ff back=buttonface"},
    {"TextWersja", "QLabel 130,58,46x13 'TQ-3 v ...' hint='Wersja frimware w sterowniku VSKR' underline ink=#808080"},
    {"LabelZd", "QLabel 201,58,25x13 'Zd: 0' hint='Ilość zdarzeń do obsługi'"},
    {"StatusBar", "QStatusBar 8,76,225x19 '' disabled"},
    {"GroupBox4", "QGroupBox 0,360,193x145 'Ustawienia temperatury'"},
    {"Label5", "QLabel 8,24,107x13 'Aktualna temperatura :'"},
    {"Temp", "QLineEdit 120,22,41x21 '' readonly"},
    {"Label13", "QLabel 13,52,17x13 'Min'"},
    {"TempMin", "QLineEdit 32,48,41x21 '05' readonly max=2"},
    {"SpinButton3", "TSpinButton 72,48,20x25 ''"},
    {"Label9", "QLabel 96,52,20x13 'Max'"},
    {"TempMax", "QLineEdit 120,48,41x21 '10' readonly max=2"},
    {"SpinButton2", "TSpinButton 160,48,20x25 ''"},
    {"Label6", "QLabel 8,84,95x13 'Korekta temperatury'"},
    {"TempKorekta", "QLineEdit 120,80,41x21 '0,0' readonly"},
    {"SpinButton1", "TSpinButton 160,80,20x25 ''"},
    {"Label14", "QLabel 8,112,98x13 'Zapis temp. co  [min]'"},
    {"TempZapisz", "QLineEdit 120,112,41x21 '60' readonly"},
    {"SpinButton4", "TSpinButton 160,112,20x25 ''"},
};
// clang-format on

QString Hex(const QColor& c)
{
    return c.name(QColor::HexRgb);
}

// One line per control, in the form of the rows above.
QString Describe(QWidget* w)
{
    QString text;
    QStringList states;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        text = label->text();
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        text = edit->text();
        states << (edit->isReadOnly() ? "readonly" : "");
        states << (TypingLimit::Of(edit) > 0 ? QString("max=%1").arg(TypingLimit::Of(edit)) : "");
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        text = combo->currentText();
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        states << "items=" + items.join('|') << (combo->isEditable() ? "" : "fixedlist");
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        text = button->text();
        states << (button->isChecked() ? "checked" : "");
        if (!button->icon().isNull())
            states << QString("icon=%1x%2").arg(button->iconSize().width()).arg(button->iconSize().height());
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        text = group->title();
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        text = memo->toPlainText();
        states << (memo->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn ? "vscroll" : "");
    } else if (auto* gauge = qobject_cast<TGauge*>(w)) {
        states << QString("range=%1..%2 progress=%3")
                      .arg(gauge->MinValue())
                      .arg(gauge->MaxValue())
                      .arg(gauge->Progress());
        states << (gauge->ForeColor() != QColor(Qt::black) ? "fore=" + Hex(gauge->ForeColor()) : "");
        if (gauge->BackColor() != QColor(Qt::white))
            states << (gauge->BackColor() == ButtonFaceColour() ? "back=buttonface"
                                                                : "back=" + Hex(gauge->BackColor()));
    }
    states << (w->isEnabled() ? "" : "disabled") << (w->isHidden() ? "hidden" : "");
    states << (w->toolTip().isEmpty() ? "" : "hint='" + w->toolTip() + "'");
    if ((qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) &&
        FieldColour(w) != QApplication::palette(w).color(QPalette::Base))
        states << "colour=" + Hex(FieldColour(w));
    states << (w->font().underline() ? "underline" : "");
    const QColor ink = w->palette().color(QPalette::Active, QPalette::WindowText);
    if (ink != w->parentWidget()->palette().color(QPalette::Active, QPalette::WindowText))
        states << "ink=" + Hex(ink);
    QRect g = w->geometry();
    // Labels (and the last check box) are shown in their designed place or grown to fit their text.
    if (w->property("designGeometry").isValid())
        g = w->property("designGeometry").toRect();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->width() < label->fontMetrics().horizontalAdvance(label->text()))
            states << "clipped";
    }
    states.prepend(QString("%1 %2,%3,%4x%5 '%6'")
                       .arg(w->metaObject()->className())
                       .arg(g.x())
                       .arg(g.y())
                       .arg(g.width())
                       .arg(g.height())
                       .arg(text));
    states.removeAll(QString());
    return states.join(' ');
}

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        form.Setup(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    void controls_data()
    {
        QTest::addColumn<QString>("expected");
        for (const ControlRow& row : Controls)
            QTest::newRow(row.name) << QString::fromUtf8(row.line);
    }
    void controls()
    {
        QFETCH(QString, expected);
        auto* w = window.findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(w);
        QCOMPARE(Describe(w), expected);
    }

    // No control beyond the table, none left out of it.
    void everyControlListed()
    {
        QStringList listed;
        for (const ControlRow& row : Controls)
            listed << QString::fromLatin1(row.name);
        QStringList built;
        for (QWidget* container : form.Client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            built << container->objectName();
            for (QWidget* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                built << w->objectName();
        }
        listed.sort();
        built.sort();
        QCOMPARE(built, listed);
        QCOMPARE(window.objectName(), QString("Main"));
        QCOMPARE(window.centralWidget(), form.Client);
        QCOMPARE(form.Client->objectName(), QString("Client"));
        QCOMPARE(window.windowTitle(), QString("Konfigurator TQ-3 v 2.2"));
        QCOMPARE(window.font().pixelSize(), 10);
    }

    void statusBarPanel()
    {
        QCOMPARE(form.StatusBarPanel->objectName(), QString("StatusBarPanel"));
        QCOMPARE(form.StatusBarPanel->parentWidget(), form.StatusBar);
        QVERIFY(form.StatusBarPanel->isVisible() && form.StatusBarPanel->text().isEmpty());
        QCOMPARE(form.StatusBarPanel->width(), 130);
        QCOMPARE(form.StatusBarPanel->frameShadow(), QFrame::Sunken);
        QVERIFY(!form.StatusBar->isSizeGripEnabled());
    }

    // Tab walks each container's controls in the design's order, and the
    // containers one after the other in theirs.
    void tabOrder_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::newRow("PanelKomunikacji")
            << "Button_rozlacz Button_polacz Combo_Port Edit_haslo Edit_status Edit_logon";
        QTest::newRow("Panel_bar") << "";
        QTest::newRow("GroupBox3")
            << "Button_zmiana_hasla Combo_operator Edit_operator Edit_pin ButtonRestart "
               "ButtonResetlimit ButtonCzas Edit_Tel4 Edit_Tel3 Edit_Tel2 Edit_Tel1 "
               "ButtonFirmware ButtonKasuj";
        QTest::newRow("GroupBox2") << "trm ButtonPobierz ButtonZapisz ButtonSTOP";
        QTest::newRow("GroupBox1")
            << "Edit_IN1A Edit_IN1N Edit_IN2A Edit_IN2N Edit_IN3A Edit_Out2zal "
               "Edit_LimitSMS BoxFiltrSMS Edit_IN4N Edit_IN4A VoiceBox Edit_LimitVoice";
        QTest::newRow("GroupBox7") << "Udc AC230";
        QTest::newRow("GroupBox4") << "TempMin SpinButton3 TempMax SpinButton2 TempKorekta SpinButton1 "
                                      "TempZapisz SpinButton4 Temp";
        QTest::newRow("Client") << "PanelKomunikacji GroupBox3 GroupBox2 GroupBox1 GroupBox7 GroupBox4";
    }
    void tabOrder()
    {
        QFETCH(QString, expected);
        auto* container = window.findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(container);
        const bool containers = container == form.Client;
        QStringList order;
        for (QWidget* w = container->nextInFocusChain(); w != container; w = w->nextInFocusChain()) {
            if (!(w->focusPolicy() & Qt::TabFocus))
                continue;
            if (containers && w->parentWidget() && w->parentWidget()->parentWidget() == form.Client) {
                if (order.isEmpty() || order.last() != w->parentWidget()->objectName())
                    order << w->parentWidget()->objectName();
            } else if (!containers && w->parentWidget() == container) {
                order << w->objectName();
            }
        }
        QCOMPARE(order.join(' '), expected);
    }

    void menu()
    {
        QStringList lines;
        for (QAction* top : window.menuBar()->actions()) {
            QVERIFY(top->menu());
            lines << top->menu()->objectName() + " '" + top->text() + "'";
            for (QAction* item : top->menu()->actions())
                lines << "  " + item->objectName() + " '" + item->text() + "'" +
                             (item->isEnabled() ? "" : " disabled");
        }
        const QStringList expected = {
            "Plik1 'Plik'",
            "  Odczyt1 'Odczyt'",
            "  Zapis1 'Zapis'",
            "Dane1 'Dane'",
            "  Pobierz1 'Odczyt' disabled",
            "  Zapisz1 'Zapisz' disabled",
            "Historia1 'Historia'",
            "  OtworzHistorie1 'Otwórz zapisaną historię…'",
            "  ArkuszHistorii1 'Zapisz do arkusza (CSV)…'",
            "  WykresHistorii1 'Wykres…'",
            "Info1 'Info'",
            "  Oprogramie1 'O programie'",
        };
        QCOMPARE(lines, expected);
    }

    // The client area fits the visible containers; the window cannot be resized.
    void fitWindow()
    {
        const int menuHeight = window.menuBar()->height();
        QTRY_COMPARE(form.Client->size(), QSize(857, 505));
        QCOMPARE(window.size(), QSize(857, 505 + menuHeight));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        const QPoint offCentre =
            window.frameGeometry().center() - QGuiApplication::primaryScreen()->geometry().center();
        // Centred before the first show, when the frame's width is not known yet.
        QVERIFY2(offCentre.manhattanLength() <= 8, "not centred on the screen");

        form.Panel_bar->show();
        form.FitWindow(&window);
        QTRY_COMPARE(form.Client->size(), QSize(857, 537));
        QCOMPARE(window.size(), QSize(857, 537 + menuHeight));
        QCOMPARE(window.minimumSize(), window.maximumSize());

        form.Panel_bar->hide();
        form.FitWindow(&window);
        QTRY_COMPARE(form.Client->size(), QSize(857, 505));
    }

    void compactEditsKeepTheirHeight()
    {
        for (QLineEdit* e : {form.Edit_IN1N, form.Edit_IN1A, form.Edit_IN2N, form.Edit_IN3A, form.Edit_IN2A,
                             form.Edit_Out2zal})
            QVERIFY2(e->minimumHeight() == 18 && e->maximumHeight() == 18, qPrintable(e->objectName()));
    }

    void fieldColours()
    {
        QLineEdit edit;
        QComboBox combo;
        QCheckBox box;
        for (QWidget* w :
             {static_cast<QWidget*>(&edit), static_cast<QWidget*>(&combo), static_cast<QWidget*>(&box)}) {
            SetFieldColour(w, tq3colours::LightYellow);
            QCOMPARE(FieldColour(w), tq3colours::LightYellow);
        }
        QCOMPARE(edit.palette().color(QPalette::Base), tq3colours::LightYellow);
        QCOMPARE(box.palette().color(QPalette::Window), tq3colours::LightYellow);
        QVERIFY(box.autoFillBackground());
    }

    // Set MAINFORM_PNG to a file name to look at the window.
    void render()
    {
        const QPixmap picture = window.grab();
        QCOMPARE(picture.size(), window.size());
        const QString path = qEnvironmentVariable("MAINFORM_PNG");
        if (!path.isEmpty())
            QVERIFY(picture.save(path));
    }

private:
    QMainWindow window;
    TMainForm form;
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
