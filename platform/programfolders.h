#pragma once
// Where the program keeps its card folder and its settings file. Decided once,
// at the first call, from the folder of the running executable:
// - portable: when that folder is writable, or already holds KRT/ or
//   Kartolino.ini, both live there, beside the executable;
// - installed (a read-only program folder, or the bin/ folder of a prefix
//   that holds the program's desktop entry, as after any install):
//   the cards go to $XDG_DATA_HOME/Kartolino/ (default ~/.local/share) and the
//   settings to $XDG_CONFIG_HOME/Kartolino/ (default ~/.config). Nothing is
//   ever written into the program folder then.
// The folders of the installed case are made when first needed, through
// MakeParentFolders(), not at the decision.

#include <QString>

namespace platform {

// The name of the desktop entry (without ".desktop"), also the icon's name in
// the icon theme and the application id the desktop sees.
inline constexpr auto kDesktopFileName = "example.fennwick.Kartolino";

struct ProgramFolders {
    QString cards;     // the folder that holds KRT/, with a trailing "/"
    QString settings;  // the folder that holds Kartolino.ini, with a trailing "/"
    bool installed = false;
};

// The decision for this run (made at the first call).
const ProgramFolders &Folders();

// The decision itself: programFolder ends in "/"; dataHome and configHome
// are the XDG variables as found (empty when unset), home the user's home.
ProgramFolders ChooseFolders(const QString &programFolder, const QString &dataHome, const QString &configHome,
                             const QString &home);

// Makes the per-user folder of the installed case (and its missing parents,
// private to the user) when path lies inside it and it is missing. Does
// nothing for any other path, so a portable program folder is never made.
// Returns false when a folder could not be made.
bool MakeParentFolders(const QString &path);

} // namespace platform
