#include "ui/QtCatalogue.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool LoadQtPolish(QCoreApplication& app)
{
    auto* catalogue = new QTranslator(&app);
    // qtbase_pl holds the widgets' and dialogs' texts.
    if (!catalogue->load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete catalogue;
        return false;
    }
    return QCoreApplication::installTranslator(catalogue);
}
