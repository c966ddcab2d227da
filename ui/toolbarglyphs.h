#pragma once
// The 16 x 16 pictures of the toolbar, also shown by the menu items of the
// same commands. Each is a small pixel drawing of its own; its bottom-left
// pixel holds the transparent colour (fuchsia), which no picture uses
// otherwise.

#include <QIcon>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QString>

namespace ui {

enum class GlyphMotif {
    Door,          // close the program
    Printer,
    UndoArrow,     // a curved arrow pointing back
    Scissors,
    TwoPages,      // copy
    Clipboard,     // a clipboard with a page: paste
    BlankPage,     // new card
    RedCross,      // delete card
    RenameAB,      // letter A turning into B
    LetterA,       // font
    BoldF,
    ItalicK,
    UnderlineU,
    AlignLeft,
    AlignCenter,
    AlignRight,
    Bullets,
    Stopwatch,
};

constexpr int kGlyphMotifCount = 18;

// Whether black strokes would almost vanish on the palette's window colour.
bool IsDarkPalette(const QPalette &palette);

// The glyph bitmap as the speed bar takes it (RGB, fuchsia background). On
// a dark palette its black strokes are drawn in the palette's text colour.
QImage ToolbarGlyph(GlyphMotif motif, const QPalette &palette = QPalette());
// The same with the transparent colour made transparent, for menus.
QPixmap ToolbarPixmap(GlyphMotif motif, const QPalette &palette = QPalette());
// The menu picture, with larger copies for screens of more device pixels.
QIcon ToolbarIcon(GlyphMotif motif, const QPalette &palette = QPalette());

} // namespace ui
