#pragma once
// Qt's own texts (the file and print dialogs, the text fields' context menus, the
// message boxes' buttons) in Polish, from the catalogue Debian installs with
// qt6-translations-l10n.
class QCoreApplication;

// Installs Qt's Polish catalogue into the application; false when it is not found.
// Call it before the first widget exists.
bool LoadQtPolish(QCoreApplication& app);
