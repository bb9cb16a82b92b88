// Every text of the windows shown whole, in each language the program speaks:
// each label's text, at the longest the program ever gives it, clear of the
// other controls of its container and inside it; the captions within the widths
// they were laid out for; button, check box, group box and field texts inside
// their controls. The layout and the font are the same in every language.
#include "WindowTestUtil.h"

#include "config/TempFormat.h"
#include "translations/Language.h"
#include "ui/AboutBox.h"
#include "ui/ConfigPanel.h"
#include "ui/FirmwareWindow.h"
#include "ui/PasswordWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>

namespace {

// The rectangle a label's text takes, in its container's coordinates.
QRect TextRect(const QLabel* label)
{
    const QFontMetrics fm = label->fontMetrics();
    const QSize size(fm.horizontalAdvance(label->text()), fm.height());
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), size, label->geometry());
}

// What of a control can hide a label's text: a label only by its text, the
// others by their whole face.
QRect Footprint(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text().isEmpty() ? QRect() : TextRect(label);
    return w->geometry();
}

// The part of a container that is not its frame.
QRect Inside(const QWidget* container)
{
    if (const auto* frame = qobject_cast<const QFrame*>(container))
        return frame->contentsRect();
    if (const auto* group = qobject_cast<const QGroupBox*>(container)) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.lineWidth = 1;
        const QRect frame =
            group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, group);
        // The title's row above the frame is free for labels too.
        return QRect(frame.left() + 1, 0, frame.width() - 2, frame.bottom());
    }
    return container->rect();
}

QString Describe(const QRect& r)
{
    return QStringLiteral("%1..%2 x %3..%4")
        .arg(r.left())
        .arg(r.right() + 1)
        .arg(r.top())
        .arg(r.bottom() + 1);
}

// Every label of the container against its own box, the container and the
// other controls; one line per fault.
QStringList LabelFaults(const QWidget* container)
{
    QStringList faults;
    const QList<QWidget*> children = container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* w : children) {
        const auto* label = qobject_cast<const QLabel*>(w);
        if (!label || label->text().isEmpty() || !label->pixmap().isNull())
            continue;
        const QRect text = TextRect(label);
        const QString name = label->objectName() + " '" + label->text() + "' at " + Describe(text);
        if (!label->geometry().contains(text))
            faults << name + " is cut by its own box " + Describe(label->geometry());
        if (!Inside(container).contains(text))
            faults << name + " runs out of " + container->objectName();
        for (const QWidget* other : children) {
            const QRect r = Footprint(other);
            if (other != w && !r.isEmpty() && r.intersects(text))
                faults << name + " is under " + other->objectName() + " " + Describe(r);
        }
    }
    return faults;
}

QStringList ContainerFaults(const QList<QWidget*>& containers)
{
    QStringList faults;
    for (const QWidget* c : containers)
        faults << LabelFaults(c);
    return faults;
}

QByteArray Status(quint8 pending, quint8 stage, quint8 sms, quint8 voice)
{
    QByteArray p(12, '\0');
    p[1] = char(pending);
    p[2] = char(stage);
    p[4] = char(sms);
    p[5] = char(voice);
    p[6] = p[8] = p[10] = char(0xFF); // the widest readings as well
    p[7] = p[9] = p[11] = char(0x03);
    return p;
}

enum class State
{
    Start,
    LargestStatus,
    TwoDigitCounters,
    ReadingConfiguration,
    WritingConfiguration,
    LoggedOut
};

// Room for text inside a line edit's frame and margins.
int FieldRoom(const QLineEdit* edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    constexpr int LineEditMargin = 2; // QLineEdit keeps it on either side of its text
    const QMargins m = edit->textMargins();
    return contents.width() - m.left() - m.right() - 2 * LineEditMargin;
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data()
    {
        QTest::addColumn<tq3::Language>("language");
        QTest::newRow("pl") << tq3::Language::Polish;
        QTest::newRow("en") << tq3::Language::English;
    }

    // Each language gets windows of its own, made after its catalogue is in.
    void init()
    {
        QFETCH_GLOBAL(tq3::Language, language);
        if (t.window && language == language_)
            return;
        QVERIFY(tq3::InstallLanguage(*qApp, language));
        language_ = language;
        t.window.reset();
        t.Open();
    }

    // The window in the states that give its labels their longest texts.
    void labelsClear_data()
    {
        QTest::addColumn<State>("state");
        QTest::newRow("start") << State::Start;
        QTest::newRow("largest status and version") << State::LargestStatus;
        QTest::newRow("two-digit counters") << State::TwoDigitCounters;
        QTest::newRow("reading the configuration") << State::ReadingConfiguration;
        QTest::newRow("writing the configuration") << State::WritingConfiguration;
        QTest::newRow("logged out again") << State::LoggedOut;
    }
    void labelsClear()
    {
        QFETCH(State, state);
        WindowUnderTest w;
        w.Open();
        auto& f = w.f();
        switch (state) {
        case State::Start:
            break;
        case State::LargestStatus:
            w.window->DispatchAnswer(1, QByteArray("T\xFF"));
            w.window->DispatchAnswer(80, Status(0xFF, 11, 255, 255));
            QCOMPARE(f.TextWersja->text(), QStringLiteral("TQ-3 v 21.7"));
            QVERIFY(f.LabelZd->text().endsWith(QStringLiteral(" 127")));
            QVERIFY(f.LabelSMS->text().startsWith(QStringLiteral("255 ")));
            QVERIFY(f.LabelVoice->text().startsWith(QStringLiteral("255 ")));
            break;
        case State::TwoDigitCounters:
            w.window->DispatchAnswer(80, Status(99, 20, 99, 88));
            QVERIFY(f.LabelSMS->text().startsWith(QStringLiteral("99 ")));
            break;
        case State::ReadingConfiguration:
        case State::WritingConfiguration:
            // The texts the configuration transfer puts over its progress bar.
            f.Panel_bar->show();
            SetLabelText(f.Label_Bar, state == State::ReadingConfiguration
                                          ? ConfigPanel::tr("Pobieram konfiguracje nadajnika")
                                          : ConfigPanel::tr("Wysyłam konfiguracje do nadajnika"));
            break;
        case State::LoggedOut:
            w.window->DispatchAnswer(1, QByteArray("T\xFF"));
            w.window->DispatchAnswer(80, Status(0xFF, 11, 255, 255));
            w.window->EnterLoggedOut();
            QCOMPARE(f.TextWersja->text(), QStringLiteral("TQ-3 v ..."));
            break;
        }
        const QStringList faults = ContainerFaults({f.PanelKomunikacji, f.Panel_bar, f.GroupBox3, f.GroupBox2,
                                                    f.GroupBox1, f.GroupBox7, f.GroupBox4});
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // The font fits the layout: every label's first text takes no more than the
    // width the design gave it, so no label has to grow over its neighbours.
    void captionsWithinDesignWidth()
    {
        QStringList faults;
        auto fits = [&faults](const QLabel* label, int designWidth) {
            const int advance = label->fontMetrics().horizontalAdvance(label->text());
            if (advance > designWidth)
                faults << QStringLiteral("%1 '%2' needs %3 px, laid out for %4")
                              .arg(label->objectName(), label->text())
                              .arg(advance)
                              .arg(designWidth);
        };
        WindowUnderTest fresh;
        fresh.Open();
        for (const QLabel* label : fresh.f().Client->findChildren<QLabel*>()) {
            const QVariant design = label->property("designGeometry");
            if (design.isValid() && !label->text().isEmpty())
                fits(label, design.toRect().width());
        }
        // The secondary windows' captions, with their design widths.
        TFInfo about(fresh.window.get(), fresh.prompts);
        fits(about.Label2, 109);
        TFboot boot(*fresh.window);
        fits(boot.Label1, 99);
        TFhaslo_nowe password(*fresh.window);
        fits(password.Label1, 62);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // The secondary windows' labels, as they open.
    void secondaryWindowsClear()
    {
        TFInfo about(t.window.get(), t.prompts);
        TFboot boot(*t.window);
        // A firmware file deep in the folders: its path is longer than the window is wide.
        t.prompts.fileNames.push_back(QDir::tempPath() +
                                      "/aktualizacje/sterownik TQ-3/firmware/TQ3_v2_7.tfr");
        boot.Button1->click();
        QVERIFY(boot.LabelNazwaPliku->text().endsWith(QStringLiteral("TQ3_v2_7.tfr")));
        TFhaslo_nowe password(*t.window);
        const QStringList faults = ContainerFaults({&about, boot.Panel1, password.Panel1});
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        t.window->EnterLoggedOut(); // the two windows locked the main one
    }

    // Buttons, check boxes and group boxes show their captions whole.
    void captionsInsideControls()
    {
        QStringList faults;
        auto& f = t.f();
        auto fits = [&faults](const QAbstractButton* button, QStyle::SubElement contents) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect room = button->style()->subElementRect(contents, &option, button);
            const int advance = button->fontMetrics().horizontalAdvance(button->text());
            if (advance > room.width())
                faults << QStringLiteral("%1 '%2' needs %3 px, has %4")
                              .arg(button->objectName(), button->text())
                              .arg(advance)
                              .arg(room.width());
        };
        for (const QPushButton* button : f.Client->findChildren<QPushButton*>())
            fits(button, QStyle::SE_PushButtonContents);
        for (const QCheckBox* box : f.Client->findChildren<QCheckBox*>())
            fits(box, QStyle::SE_CheckBoxContents);
        for (const QGroupBox* group : f.Client->findChildren<QGroupBox*>()) {
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = group->title();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRect title =
                group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
            if (!group->rect().contains(title))
                faults << group->objectName() + " title runs out of the box";
            for (const QWidget* w : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                const QRect r = Footprint(w);
                if (!r.isEmpty() && r.intersects(title))
                    faults << group->objectName() + " title is under " + w->objectName();
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // The fields' longest texts fit without scrolling.
    void fieldTextsWhole_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("source");
        // The status words in their source form; the test shows them translated.
        const QString number = QStringLiteral("+480123456789"); // 13 characters
        const QList<QPair<const char*, QString>> rows{
            {"Edit_status", QStringLiteral("ROZŁĄCZONY")},
            {"Edit_status", QStringLiteral("POŁĄCZONY")},
            {"Edit_logon", QStringLiteral("WYLOGOWANY")},
            {"Edit_logon", QStringLiteral("ZALOGOWANY")},
            {"Edit_haslo", QStringLiteral("8888")},
            {"Edit_pin", QStringLiteral("8888")},
            {"Edit_operator", number},
            {"Edit_Tel1", number},
            {"Edit_LimitSMS", QStringLiteral("99")},
            {"Edit_LimitVoice", QStringLiteral("255")},
            {"Temp", QStringLiteral("-50,0")},
            {"Temp", QStringLiteral("+199,7")},
            {"AC230", QStringLiteral("+19,2V")},
            {"Udc", QStringLiteral("+19,2V")},
            {"TempMin", tq3::ThresholdText(0)},
            {"TempMax", tq3::ThresholdText(255)},
            {"TempKorekta", tq3::CorrectionText(255)},
            {"TempZapisz", QStringLiteral("255")},
        };
        for (const auto& [field, text] : rows)
            QTest::addRow("%s %s", field, qPrintable(text)) << QString::fromLatin1(field) << text;
    }
    void fieldTextsWhole()
    {
        QFETCH(QString, field);
        QFETCH(QString, source);
        const QString text = TMain::tr(qPrintable(source));
        const auto* edit = t.window->findChild<QLineEdit*>(field);
        QVERIFY(edit);
        const int advance = edit->fontMetrics().horizontalAdvance(text);
        QVERIFY2(advance <= FieldRoom(edit),
                 qPrintable(QStringLiteral("needs %1 px, has %2").arg(advance).arg(FieldRoom(edit))));
    }

    void modemStagesWhole()
    {
        const QLabel* panel = t.f().StatusBarPanel;
        for (int stage : {0, 3, 7, 9, 11, 12, 13, 15, 17, 19, 100}) {
            t.window->DispatchAnswer(80, Status(0, quint8(stage), 0, 0));
            const int advance = panel->fontMetrics().horizontalAdvance(panel->text());
            QVERIFY2(advance <= panel->contentsRect().width(),
                     qPrintable(QStringLiteral("'%1' needs %2 px, has %3")
                                    .arg(panel->text())
                                    .arg(advance)
                                    .arg(panel->contentsRect().width())));
        }
        QCOMPARE(panel->text(), QCoreApplication::translate("DeviceStatus", "RESET modemu GSM"));
    }

private:
    WindowUnderTest t;
    tq3::Language language_ = tq3::Language::Polish;
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
