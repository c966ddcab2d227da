#pragma once
// The settings the first show reads from Kartolino.ini, and the view options
// that "Ansichtsoptionen speichern" writes back.

#include <QString>
#include <QStringList>

namespace platform {
class TIniFile;
}

namespace cards {

// Kartolino.ini in a program folder (which ends in a separator).
QString SettingsFileIn(const QString &programFolder);

enum TWindowState : int { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };

struct ViewSettings {
    bool multiLine = true;
    int tabStyle = 2;  // 0 tabs, 1 buttons, 2 flat buttons
    int width = 640;
    int height = 480;
    TWindowState windowState = wsNormal;
};

// [Rechtschreibung]: whether the spell check is on and its languages.
// Without the keys the check is on with the languages the locale suggests.
struct SpellSettings {
    bool check = true;
    QStringList languages; // empty: the defaults
};

struct CardSettings {
    QString newCardFontName = QStringLiteral("Arial");
    int newCardFontSize = 10;
    QString timeStampMode = QStringLiteral("Anfang");
};

// Reads [Ansicht]. A style or window state the program never writes gives
// the default, so no stored value can stop the first show.
ViewSettings ReadViewSettings(const platform::TIniFile &ini);
CardSettings ReadCardSettings(const platform::TIniFile &ini);

SpellSettings ReadSpellSettings(const platform::TIniFile &ini);
// Writes Prüfen and Sprachen ("de_DE,en_US").
void WriteSpellSettings(const platform::TIniFile &ini, const SpellSettings &spell);

// Writes Mehrzeilig, Button, Fenster and, unless maximised, Breite and Höhe,
// in that order; a refused write throws and the keys after it stay unwritten.
void WriteViewSettings(const platform::TIniFile &ini, const ViewSettings &view);

} // namespace cards
