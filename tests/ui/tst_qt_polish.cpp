// Qt's own texts in the window's dialogs and menus are Polish once the catalogue is in.
#include "translations/Language.h"
#include "ui/QtPrompts.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

QStringList Texts(const QWidget& widget)
{
    QStringList texts;
    for (const QLabel* label : widget.findChildren<QLabel*>())
        texts << label->text();
    for (const QPushButton* button : widget.findChildren<QPushButton*>())
        texts << button->text();
    return texts;
}

} // namespace

class TestQtPolish : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(tq3::LoadQtPolish(*qApp), "qtbase_pl not found (apt-get install qt6-translations-l10n)");
    }

    void textFieldMenu()
    {
        QLineEdit field(QStringLiteral("TQ-3"));
        std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QStringList items;
        for (const QAction* action : menu->actions())
            if (!action->isSeparator())
                items << action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
        QCOMPARE(items, (QStringList{"Cofnij", "Przywróć", "Wytnij", "Skopiuj", "Wklej", "Usuń",
                                     "Zaznacz wszystko"}));
    }

    // The dialog the program shows for a file: Qt's own, with its labels and buttons in Polish.
    void fileDialog()
    {
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
        for (const char* english : {"Look in:", "File name:", "Files of type:", "&Open", "Cancel"})
            QVERIFY2(!shown.contains(QString::fromLatin1(english)), english);
        QVERIFY2(shown.contains(QStringLiteral("Anuluj")), qPrintable(shown.join(" | ")));
    }

    void messageButtons()
    {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Tak"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Nie"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Anuluj"));
    }
};

QTEST_MAIN(TestQtPolish)
#include "tst_qt_polish.moc"
