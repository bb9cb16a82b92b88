#include "translations/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tq3 {

namespace {

// The catalogues this module installed carry this name, so that choosing another
// language takes them out first.
const char* const CatalogueName = "tq3-language";

bool Install(QCoreApplication& app, const QString& file, const QString& folder)
{
    auto* catalogue = new QTranslator(&app);
    catalogue->setObjectName(QLatin1String(CatalogueName));
    if (!catalogue->load(file, folder)) {
        delete catalogue;
        return false;
    }
    return QCoreApplication::installTranslator(catalogue);
}

} // namespace

std::optional<Language> LanguageNamed(const QString& name)
{
    // "pl", "EN", "en-GB", "en_US.UTF-8": the language is the part before the region.
    const QString language = name.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
    if (language == QLatin1String("pl"))
        return Language::Polish;
    if (language == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

Language LanguageOfUser(const QStringList& uiLanguages)
{
    for (const QString& tag : uiLanguages)
        if (const std::optional<Language> known = LanguageNamed(tag))
            return *known;
    return Language::Polish;
}

Language ChooseLanguage(const QString& option, const QString& environment, const QStringList& uiLanguages,
                        QString* unknown)
{
    for (const QString& asked : {option, environment}) {
        if (asked.isEmpty())
            continue;
        if (const std::optional<Language> known = LanguageNamed(asked))
            return *known;
        if (unknown && unknown->isEmpty())
            *unknown = asked;
    }
    return LanguageOfUser(uiLanguages);
}

bool InstallLanguage(QCoreApplication& app, Language language)
{
    for (QTranslator* earlier :
         app.findChildren<QTranslator*>(QLatin1String(CatalogueName), Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(earlier);
        delete earlier;
    }
    // qtbase_pl holds the widgets' and dialogs' texts.
    if (language == Language::Polish)
        return Install(app, QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // Ours is built into the program, so it cannot go missing or be another version's.
    return Install(app, QStringLiteral("tq3_en"), QStringLiteral(":/i18n"));
}

} // namespace tq3
