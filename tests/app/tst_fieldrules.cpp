// The configuration fields' editing rules on the real window: key filters,
// exit rules, change marks, the operator presets and the spin buttons.
#include "WindowTestUtil.h"

#include "ui/ConfigPanel.h"
#include "ui/SpinButton.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QPlainTextEdit>
#include <QWheelEvent>

#include <map>
#include <tuple>

namespace {

const QColor Base = tq3colours::LightYellow;

// Types like a keyboard: one key press per character, whatever the alphabet.
void Type(QWidget* w, const QString& text)
{
    for (char32_t c : text.toUcs4())
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
}

} // namespace

class TestFieldRules : public QObject
{
    Q_OBJECT

    WindowUnderTest t;

    TMainForm& f() { return t.f(); }
    QLineEdit* Edit(const QString& name) { return t.window->findChild<QLineEdit*>(name); }

    // Focused, emptied and in its base colour.
    QLineEdit* Start(const QString& name, const QString& text = {})
    {
        QLineEdit* e = Edit(name);
        e->setFocus();
        e->setText(text);
        SetFieldColour(e, Base);
        return e;
    }

private slots:
    void initTestCase()
    {
        t.Open();
        t.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
    }

    void keyFilters_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        const char* rows[][4] = {
            {"letter in pin", "Edit_pin", "1a2", "12"},
            {"plus in pin", "Edit_pin", "+12", "12"},
            {"letter in password", "Edit_haslo", "x9", "9"},
            {"letter in SMS limit", "Edit_LimitSMS", "a5", "5"},
            {"letter in voice limit", "Edit_LimitVoice", "7z", "7"},
            {"plus in Tel1", "Edit_Tel1", "+48 a1", "+481"},
            {"plus in operator", "Edit_operator", "+48x", "+48"},
            {"blank in Out2zal", "Edit_Out2zal", "a b", "ab"},
            {"blank in IN1A", "Edit_IN1A", "a b", "a b"},
            {"Polish in IN1N", "Edit_IN1N", "Łódź ąę €", "Łódź ąę €"},
            {"CJK in IN1N", "Edit_IN1N", "a中b", "ab"},
            {"CJK in IN3A", "Edit_IN3A", "中ś", "ś"},
            {"CJK in IN4A", "Edit_IN4A", "x中y", "xy"},
            {"emoji in IN4N", "Edit_IN4N", "a😀b", "ab"},
            {"CJK in Out2zal", "Edit_Out2zal", "中7", "7"},
        };
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString(r[1]) << QString(r[2]) << QString(r[3]);
    }

    void keyFilters()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QLineEdit* e = Start(field);
        Type(e, typed);
        QTEST(e->text(), "expected");
    }

    void editingKeysStillWork()
    {
        QLineEdit* e = Start(QStringLiteral("Edit_pin"), QStringLiteral("1234"));
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClick(e, Qt::Key_Home);
        // Some keyboards report Delete with the DEL character as its text.
        QTest::sendKeyEvent(QTest::Click, e, Qt::Key_Delete, QString(QChar(0x7f)), Qt::NoModifier);
        QCOMPARE(e->text(), QStringLiteral("23"));
        QTest::keyClick(e, Qt::Key_Tab);
        QVERIFY(!e->hasFocus());
    }

    void exitRules_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("marked");
        const char* rows[][5] = {
            {"pin of 2", "Edit_pin", "12", "7391", "red"},
            {"pin of 4", "Edit_pin", "4567", "4567", ""},
            {"password of 3", "Edit_haslo", "123", "7391", ""},
            {"SMS limit empty", "Edit_LimitSMS", "", "0", "red"},
            {"SMS limit set", "Edit_LimitSMS", "5", "5", ""},
            {"voice limit empty", "Edit_LimitVoice", "", "0", "red"},
        };
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString(r[1]) << QString(r[2]) << QString(r[3]) << (*r[4] != 0);
    }

    void exitRules()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, marked);
        QLineEdit* e = Start(field, text);
        // Another window or a context menu taking the focus is not leaving the field.
        for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
            QFocusEvent out(QEvent::FocusOut, reason);
            QApplication::sendEvent(e, &out);
        }
        QCOMPARE(e->text(), text);
        f().trm->setFocus();
        QTEST(e->text(), "expected");
        QCOMPARE(FieldColour(e), marked ? tq3colours::Red : Base);
    }

    void changeMarks_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("marked");
        for (const char* name :
             {"Edit_pin", "Edit_operator", "Edit_Tel1", "Edit_Tel2", "Edit_Tel3", "Edit_Tel4", "Edit_IN1N",
              "Edit_IN2N", "Edit_IN1A", "Edit_IN2A", "Edit_IN3A", "Edit_IN4N", "Edit_IN4A", "Edit_Out2zal",
              "Edit_LimitSMS", "Edit_LimitVoice", "TempMin", "TempMax", "TempZapisz"})
            QTest::newRow(name) << name << true;
        QTest::newRow("Edit_haslo") << "Edit_haslo" << false;
        QTest::newRow("TempKorekta") << "TempKorekta" << false;
    }

    void changeMarks()
    {
        QFETCH(QString, field);
        QFETCH(bool, marked);
        QLineEdit* e = Start(field);
        // The read-only fields change only by the program.
        if (e->isReadOnly())
            e->setText(QStringLiteral("1"));
        else
            QTest::keyClicks(e, QStringLiteral("1"));
        QCOMPARE(e->text(), QStringLiteral("1"));
        QCOMPARE(FieldColour(e), marked ? tq3colours::Red : Base);
    }

    void checkBoxEnter()
    {
        // Tabbing onto a check box marks it whether or not it is then toggled.
        for (auto [from, box] :
             {std::pair(f().Edit_IN4A, f().VoiceBox), std::pair(f().Edit_LimitSMS, f().BoxFiltrSMS)}) {
            for (bool checked : {false, true}) {
                box->setChecked(checked);
                SetFieldColour(box, Base);
                QTest::keyClick(Start(from->objectName(), QStringLiteral("1")), Qt::Key_Tab);
                QVERIFY(box->hasFocus());
                QCOMPARE(FieldColour(box), tq3colours::Red);
                QCOMPARE(box->isChecked(), checked);
            }
        }
    }

    // The preset follows the list closing: a choice from it, or the entry
    // shown when it is dismissed; not the wheel or the arrow keys over the
    // closed box.
    void operatorPresets_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("start"); // the entry shown before
        QTest::addColumn<int>("item");  // the entry shown after
        QTest::addColumn<QString>("expected");
        QTest::newRow("wheel over the closed box") << "wheel" << 0 << 1 << "+48111";
        QTest::newRow("arrow key on the closed box") << "key" << 0 << 1 << "+48111";
        QTest::newRow("T-MOBILE chosen from the list") << "choice" << 0 << 1 << "+48602951111";
        QTest::newRow("inny chosen from the list") << "choice" << 0 << 4 << "";
        QTest::newRow("list dismissed on PLUS") << "dismissed" << 2 << 2 << "+48601000310";
        QTest::newRow("list dismissed without an entry") << "dismissed" << -1 << -1 << "+48111";
    }

    void operatorPresets()
    {
        QFETCH(QString, how);
        QFETCH(int, start);
        QFETCH(int, item);
        QComboBox* combo = f().Combo_operator;
        combo->setCurrentIndex(start);
        QLineEdit* e = Start(QStringLiteral("Edit_operator"), QStringLiteral("+48111"));
        QAbstractItemView* list = combo->view();
        if (how == "wheel") {
            const QPointF at(5, 5);
            QWheelEvent wheel(at, combo->mapToGlobal(at), {}, {0, -QWheelEvent::DefaultDeltasPerStep},
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(combo, &wheel);
        } else if (how == "key") {
            QTest::keyClick(combo, Qt::Key_Down);
        } else {
            combo->showPopup();
            QTRY_VERIFY(list->isVisible());
            if (how == "choice") {
                const QPoint at = list->visualRect(list->model()->index(item, 0)).center();
                QTest::mouseMove(list->viewport(), at);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            } else {
                QTest::keyClick(list, Qt::Key_Escape);
            }
        }
        QTRY_VERIFY(!list->window()->isVisible());
        QCoreApplication::processEvents(); // what follows the list closing
        QCOMPARE(combo->currentIndex(), item);
        QTEST(e->text(), "expected");
        const bool applied = how == "choice" || (how == "dismissed" && item >= 0);
        QCOMPARE(FieldColour(e), applied ? tq3colours::Red : Base);
    }

    void spinButtons_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("raw");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("marked");
        QTest::newRow("min at 0 down") << "TempMin" << 0 << false << 0 << "-128" << false;
        QTest::newRow("min down") << "TempMin" << 132 << false << 131 << "+3" << true;
        QTest::newRow("min at 255 up") << "TempMin" << 255 << true << 255 << "+127" << false;
        QTest::newRow("max at 255 up") << "TempMax" << 255 << true << 255 << "+127" << false;
        QTest::newRow("max at 0 down") << "TempMax" << 0 << false << 0 << "-128" << false;
        QTest::newRow("max up") << "TempMax" << 138 << true << 139 << "+11" << true;
        QTest::newRow("correction 0 down") << "TempKorekta" << 0 << false << 129 << "-0,25" << true;
        QTest::newRow("correction -0,25 up") << "TempKorekta" << 129 << true << 0 << "+0,0" << true;
        QTest::newRow("correction 0,25 down") << "TempKorekta" << 1 << false << 0 << "+0,0" << true;
        QTest::newRow("correction -0,50 up") << "TempKorekta" << 130 << true << 129 << "-0,25" << true;
        QTest::newRow("correction at top up") << "TempKorekta" << 127 << true << 127 << "+31,75" << true;
        QTest::newRow("correction at bottom down")
            << "TempKorekta" << 254 << false << 254 << "-31,50" << true;
        QTest::newRow("interval at 1 down") << "TempZapisz" << 1 << false << 1 << "1" << true;
        QTest::newRow("interval 2 down") << "TempZapisz" << 2 << false << 1 << "1" << true;
        QTest::newRow("interval at 255 up") << "TempZapisz" << 255 << true << 255 << "255" << true;
        QTest::newRow("interval 0 up") << "TempZapisz" << 0 << true << 1 << "1" << true;
    }

    void spinButtons()
    {
        QFETCH(QString, field);
        QFETCH(int, start);
        QFETCH(bool, up);
        ConfigPanel& c = t.window->Config();
        // The raw store, null where the field's own text is the store.
        const std::map<QString, std::tuple<TSpinButton*, quint8*, void (ConfigPanel::*)()>> spins = {
            {"TempMin", {f().SpinButton3, &c.TempMinRaw, &ConfigPanel::ShowTempMin}},
            {"TempMax", {f().SpinButton2, &c.TempMaxRaw, &ConfigPanel::ShowTempMax}},
            {"TempKorekta", {f().SpinButton1, &c.TempKorektaRaw, &ConfigPanel::ShowTempKorekta}},
            {"TempZapisz", {f().SpinButton4, nullptr, nullptr}},
        };
        const auto [button, raw, show] = spins.at(field);
        QLineEdit* e = Edit(field);
        if (raw) {
            *raw = quint8(start);
            (c.*show)();
        } else {
            e->setText(QString::number(start));
        }
        SetFieldColour(e, Base);
        if (up)
            emit button->UpClick();
        else
            emit button->DownClick();
        if (raw)
            QTEST(int(*raw), "raw");
        QTEST(e->text(), "shown");
        QTEST(FieldColour(e) == tq3colours::Red, "marked");
    }
};

QTEST_MAIN(TestFieldRules)
#include "tst_fieldrules.moc"
