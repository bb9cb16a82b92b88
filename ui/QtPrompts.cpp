#include "ui/QtPrompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

using namespace tq3;

void QtPrompts::Beep()
{
    QApplication::beep();
}

MessageResult QtPrompts::Message(MessageKind kind, const QString& text, MessageButtons buttons,
                                 const QString& detail)
{
    QMessageBox box(owner_);
    switch (kind) {
    case MessageKind::Plain:
        box.setWindowTitle(tr("Konfigurator TQ-3"));
        break;
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(tr("Informacja"));
        break;
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(tr("Ostrzeżenie"));
        break;
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setWindowTitle(tr("Błąd"));
        break;
    case MessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(tr("Potwierdzenie"));
        break;
    }
    box.setText(text);
    box.setInformativeText(detail);
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MessageResult::Cancel;
    case QMessageBox::Yes:
        return MessageResult::Yes;
    case QMessageBox::No:
        return MessageResult::No;
    default:
        return MessageResult::Ok;
    }
}

QString QtPrompts::QtFilter(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    if (parts.size() == 1)
        filters << pipeFilter;
    return filters.join(QStringLiteral(";;"));
}

static void Prepare(QFileDialog& dialog, const FileDialogRequest& request)
{
    // Qt's own dialog: its language (Qt's catalogue) and the filters are the same on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QtPrompts::QtFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultExt);
    dialog.setDirectory(request.initialDir.isEmpty() ? QDir::homePath() : request.initialDir);
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
}

QString QtPrompts::OpenFileName(const FileDialogRequest& request)
{
    QFileDialog dialog(owner_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    Prepare(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::SaveFileName(const FileDialogRequest& request)
{
    QFileDialog dialog(owner_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    Prepare(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void QtPrompts::OpenUrl(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}
