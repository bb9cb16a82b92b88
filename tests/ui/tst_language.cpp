// The language the system asks for, all through the window: Qt's own texts in
// the dialogs and menus, the window's captions and tq3's help.
#include "translations/Language.h"
#include "ui/Main.h"
#include "ui/MainForm.h"
#include "ui/QtPrompts.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

QStringList Texts(const QWidget& widget)
{
    QStringList texts;
    for (const QLabel* label : widget.findChildren<QLabel*>())
        texts << label->text().remove(QLatin1Char('&'));
    for (const QPushButton* button : widget.findChildren<QPushButton*>())
        texts << button->text().remove(QLatin1Char('&'));
    return texts;
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    // The systems' languages as QLocale::uiLanguages gives them, and the variables that set them.
    void initTestCase_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("LANGUAGE");
        QTest::addColumn<QString>("LANG");
        QTest::addColumn<bool>("english");
        QTest::newRow("Polish system") << QStringList{"pl-PL", "pl"} << QString() << "pl_PL.UTF-8" << false;
        QTest::newRow("English system") << QStringList{"en-GB", "en"} << "en_GB"
                                        << "en_GB.UTF-8" << true;
    }

    void init()
    {
        QFETCH_GLOBAL(QStringList, uiLanguages);
        QVERIFY2(tq3::InstallLanguage(*qApp, tq3::ChooseLanguage({}, {}, uiLanguages)),
                 "qtbase_pl not found (apt-get install qt6-translations-l10n)");
    }

    void textFieldMenu()
    {
        QFETCH_GLOBAL(bool, english);
        QLineEdit field(QStringLiteral("TQ-3"));
        std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QStringList items;
        for (const QAction* action : menu->actions())
            if (!action->isSeparator())
                items << action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
        QCOMPARE(items, (english ? QStringList{"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"}
                                 : QStringList{"Cofnij", "Przywróć", "Wytnij", "Skopiuj", "Wklej", "Usuń",
                                               "Zaznacz wszystko"}));
    }

    // The dialog the program shows for a file: Qt's own, with its labels and buttons
    // in the system's language.
    void fileDialog()
    {
        QFETCH_GLOBAL(bool, english);
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown = Texts(*dialog);
            dialog->reject();
        });
        QtPrompts prompts(nullptr);
        tq3::FileDialogRequest request;
        request.filter = QStringLiteral("TQ-3 konfiguracja|*.tcf");
        QCOMPARE(prompts.OpenFileName(request), QString());
        for (const char* word : {"Look in:", "File name:", "Files of type:", "Open", "Cancel"})
            QVERIFY2(shown.contains(QString::fromLatin1(word)) == english, word);
        QVERIFY2(shown.contains(QStringLiteral("Anuluj")) != english, qPrintable(shown.join(" | ")));
    }

    void messageButtons()
    {
        QFETCH_GLOBAL(bool, english);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QStringList buttons;
        for (const auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            buttons << box.button(button)->text().remove(QLatin1Char('&'));
        QCOMPARE(buttons,
                 (english ? QStringList{"Yes", "No", "Cancel"} : QStringList{"Tak", "Nie", "Anuluj"}));
    }

    // The main window's title, menus and a caption of each kind.
    void mainWindow()
    {
        QFETCH_GLOBAL(bool, english);
        TMain window;
        TMainForm& f = window.Form();
        QStringList menus;
        for (const QAction* menu : window.menuBar()->actions())
            menus << menu->text();
        const QStringList shown{window.windowTitle(),     menus.join(' '),         f.GroupBox3->title(),
                                f.Label_operator->text(), f.Button_polacz->text(), f.Edit_logon->text()};
        QCOMPARE(shown, (english ? QStringList{"TQ-3 Configurator v 2.2", "File Data History Info",
                                               "TQ-3 options", "GSM operator", "CONNECT", "LOGGED OUT"}
                                 : QStringList{"Konfigurator TQ-3 v 2.2", "Plik Dane Historia Info",
                                               "Opcje TQ-3", "Operator GSM", "POŁĄCZ", "WYLOGOWANY"}));
    }

    // tq3 --help reads the system's language from the environment, as it starts.
    void programHelp()
    {
        QFETCH_GLOBAL(QString, LANGUAGE);
        QFETCH_GLOBAL(QString, LANG);
        QFETCH_GLOBAL(bool, english);
        QProcess tq3;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE", "TQ3_LANG"})
            env.remove(QString::fromLatin1(name));
        if (!LANGUAGE.isEmpty())
            env.insert(QStringLiteral("LANGUAGE"), LANGUAGE);
        env.insert(QStringLiteral("LANG"), LANG);
        tq3.setProcessEnvironment(env);
        tq3.start(QStringLiteral(TQ3_PATH), {QStringLiteral("--help")});
        QVERIFY(tq3.waitForFinished(30000));
        const QString help = QString::fromUtf8(tq3.readAllStandardOutput());
        QVERIFY2(help.startsWith(english ? QStringLiteral("Usage: tq3 ") : QStringLiteral("Użycie: tq3 ")),
                 qPrintable(help));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
