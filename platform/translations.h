#pragma once
// The platform's own dialogs (font, print, colour, the edit controls' menus)
// speak the user's language: Qt's translations for the locale are loaded
// from the installed translations folder. The program's own texts are German
// as they are and never go through a translator.

#include <QLocale>

namespace platform {

// Installs Qt's translation for locale on the application. False when none is
// installed for it (the dialogs then stay in Qt's English).
bool InstallPlatformTranslations(const QLocale &locale = QLocale::system());

} // namespace platform
