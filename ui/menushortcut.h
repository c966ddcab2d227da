#pragma once
// Menu shortcuts as 16-bit values: the virtual-key code in the low byte, plus
// $2000 for Shift, $4000 for Ctrl and $8000 for Alt.

#include <QString>
#include <cstdint>

class QKeyEvent;

namespace ui {

using TShortCut = std::uint16_t;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

constexpr TShortCut ShortCut(char key, TShortCut modifiers) { return TShortCut(std::uint8_t(key)) | modifiers; }

// "Umsch+", "Strg+", "Alt+" in that order, then the key: 16452 gives "Strg+D".
QString ShortCutToText(TShortCut shortcut);

// The value of a key press as the menus compare it; 0 when the key has no
// virtual-key code of its own.
TShortCut ShortCutFromKeyEvent(const QKeyEvent &event);

} // namespace ui
