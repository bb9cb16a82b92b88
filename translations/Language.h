#pragma once
// The language the programs speak: Polish, in which their texts are written, or
// English from the catalogue built with them. Qt's own texts (the file and print
// dialogs, the text fields' context menus, the message boxes' buttons) follow,
// from the catalogue Debian installs with qt6-translations-l10n.
#include <QStringList>

#include <optional>

class QCoreApplication;

namespace tq3 {

enum class Language
{
    Polish,
    English
};

// "pl" or "en", as --lang and TQ3_LANG take them, in any case and with or without
// a region ("en-GB", "pl_PL"); empty for any other name.
std::optional<Language> LanguageNamed(const QString& name);

// The first of the user's languages (QLocale::uiLanguages order) that the
// program speaks; Polish when none is.
Language LanguageOfUser(const QStringList& uiLanguages);

// What --lang asked for, else TQ3_LANG, else the system's languages. The bad
// name, when --lang or TQ3_LANG names no language, goes to *unknown.
Language ChooseLanguage(const QString& option, const QString& environment, const QStringList& uiLanguages,
                        QString* unknown = nullptr);

// Installs the program's catalogue and Qt's for the language (none is needed for
// Polish, the texts' own language), in place of those an earlier call installed.
// Call it before the first text is made.
// False when a catalogue is missing; the texts it covers then stay as written.
bool InstallLanguage(QCoreApplication& app, Language language);

} // namespace tq3
