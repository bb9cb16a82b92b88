// The language the system asks for, all through the window: Qt's own texts in
// the dialogs and menus and the window's captions; and tq3's own choice of it.
#include "translations/Language.h"
#include "ui/Main.h"
#include "ui/MainForm.h"
#include "ui/QtPrompts.h"

#include <QApplication>
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
    // The systems' languages as QLocale::uiLanguages gives them.
    void initTestCase_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<bool>("english");
        QTest::newRow("Polish system") << QStringList{"pl-PL", "pl"} << false;
        QTest::newRow("English system") << QStringList{"en-GB", "en"} << true;
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
};

// tq3 chooses its language as it starts: from --lang, TQ3_LANG or the system's.
class TestProgramLanguage : public QObject
{
    Q_OBJECT

private slots:
    void options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("env"); // NAME=value; an empty value leaves NAME unset
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out"); // how standard output begins
        QTest::addColumn<QString>("err"); // what standard error says; empty: nothing
        const QStringList help{"--help"};
        const QString usageEn = "Usage: tq3 ", usagePl = "Użycie: tq3 ";
        QTest::newRow("Polish system")
            << help << QStringList{"LANG=pl_PL.UTF-8"} << 0 << usagePl << QString();
        QTest::newRow("English system")
            << help << QStringList{"LANGUAGE=en_GB", "LANG=en_GB.UTF-8"} << 0 << usageEn << QString();
        QTest::newRow("system in a language not spoken")
            << help << QStringList{"LANG=de_DE.UTF-8"} << 0 << usagePl << QString();
        QTest::newRow("TQ3_LANG over the system")
            << help << QStringList{"LANG=pl_PL.UTF-8", "TQ3_LANG=EN"} << 0 << usageEn << QString();
        QTest::newRow("--lang over TQ3_LANG")
            << QStringList{"--lang=pl", "--help"} << QStringList{"TQ3_LANG=en"} << 0 << usagePl << QString();
        QTest::newRow("unknown --lang with --version")
            << QStringList{"--lang", "xx", "--version"} << QStringList{} << 2 << QString()
            << "tq3: Nieznany język: xx (pl albo en)\n";
        QTest::newRow("unknown TQ3_LANG")
            << help << QStringList{"LANGUAGE=en", "LANG=en_US.UTF-8", "TQ3_LANG=xx"} << 0 << usageEn
            << "tq3: Unknown language in TQ3_LANG: xx";
        QTest::newRow("usage error in English")
            << QStringList{"--lang", "en", "--colour"} << QStringList{} << 2 << QString()
            << "tq3: Unknown option: --colour\nSee: tq3 --help\n";
    }
    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, env);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG", "TQ3_LANG"})
            environment.remove(QString::fromLatin1(name));
        for (const QString& setting : env)
            environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
        QProcess tq3;
        tq3.setProcessEnvironment(environment);
        tq3.start(QStringLiteral(TQ3_PATH), args);
        QVERIFY(tq3.waitForFinished(30000));
        QCOMPARE(tq3.exitCode(), exitCode);
        const QString stdOut = QString::fromUtf8(tq3.readAllStandardOutput());
        const QString stdErr = QString::fromUtf8(tq3.readAllStandardError());
        QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
        QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.contains(err), qPrintable(stdErr));
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TestLanguage window;
    TestProgramLanguage program;
    return QTest::qExec(&window, argc, argv) | QTest::qExec(&program, argc, argv);
}

#include "tst_language.moc"
