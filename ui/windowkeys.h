#pragma once
// Keys of the main window beside the menu shortcuts: the menu bar and the
// editor's context menu from the keyboard, the toolbar commands that are on
// no menu (Aufzählung, Zeitstempel, Schließen), and the keys users press out
// of habit for commands the program has (new card, save point, end, help).
// None shows in a menu; the three toolbar commands show theirs in their tool
// tips. Looked up after the menus, so a menu shortcut always wins.

#include "menushortcut.h"

#include <QString>

namespace ui {

enum class TWindowCommand {
    None,
    MenuBar,     // F10: the first menu opens
    ContextMenu, // Shift+F10 and the menu key, in the editor
    NewCard,     // Ctrl+N
    SavePoint,   // Ctrl+S: the current card is written when it changed
    Quit,        // Ctrl+Q
    Help,        // F1: "Zum Programm"
    Bullet,
    TimeStamp,
    Close,       // "Schließen": to the notification area
};

constexpr TShortCut kBulletKey = ShortCut('L', TShortCut(scCtrl | scShift));
constexpr TShortCut kTimeStampKey = 0x74; // F5
constexpr TShortCut kCloseKey = ShortCut('W', scCtrl);

TWindowCommand WindowCommandOf(TShortCut key);

// A tool tip with its key: "Aufzählung (Umsch+Strg+L)".
QString TipWithKey(const QString &tip, TShortCut key);

} // namespace ui
