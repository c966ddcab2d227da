#include "toolbarglyphs.h"

#include "glyphimages.h"

#include <array>
#include <cassert>

namespace ui {

namespace {

using Rows = std::array<const char *, 16>;

// One character per pixel. '.' is the transparent fuchsia.
QRgb paletteColor(char c)
{
    switch (c) {
    case 'k': return qRgb(0, 0, 0);
    case 'w': return qRgb(255, 255, 255);
    case 's': return qRgb(192, 192, 192);
    case 'g': return qRgb(128, 128, 128);
    case 'r': return qRgb(255, 0, 0);
    case 'R': return qRgb(128, 0, 0);
    case 'b': return qRgb(0, 0, 255);
    case 'B': return qRgb(0, 0, 128);
    case 'y': return qRgb(255, 255, 0);
    case 'o': return qRgb(128, 128, 0);
    case 'n': return qRgb(128, 64, 0);
    case 'G': return qRgb(0, 128, 0);
    case 'l': return qRgb(0, 255, 0);
    case 'c': return qRgb(0, 128, 128);
    default: return qRgb(255, 0, 255);
    }
}

// clang-format off
const Rows kDoor = {
    "................",
    "..kkkkkkkkkkk...",
    "..kgggggggggk...",
    "..kgknnnnnnnk...",
    "..kgknnnnnnnk...",
    "..kgknkkkknnk...",
    "..kgknnnnnnnk...",
    "..kgknnnnnykk...",
    "..kgknnnnnyyk...",
    "..kgknnnnnnnk...",
    "..kgknkkkknnk...",
    "..kgknnnnnnnk...",
    "..kgknnnnnnnk...",
    "..kgkkkkkkkkk...",
    ".kkkkkkkkkkkkk..",
    "................",
};
const Rows kPrinter = {
    "................",
    ".....kkkkkkk....",
    ".....kwwwwwk....",
    ".....kwkkkwk....",
    ".....kwwwwwk....",
    "...kkkkkkkkkkk..",
    "..ksssssssssssk.",
    "..ksssssssssGsk.",
    "..ksssssssssssk.",
    "..kgggggggggggk.",
    "..kkkkkkkkkkkkk.",
    "....kwwwwwwwk...",
    "....kwkkkkkwk...",
    "....kwwwwwwwk...",
    "....kkkkkkkkk...",
    "................",
};
const Rows kUndoArrow = {
    "................",
    "................",
    "....k...........",
    "...kbk..........",
    "..kbbbkkkkkk....",
    ".kbbbbbbbbbbkk..",
    "..kbbbkkkkkbbbk.",
    "...kbk......kbbk",
    "....k........kbk",
    ".............kbk",
    "............kbbk",
    "..........kkbbk.",
    "........kkbbbk..",
    "........kbbkk...",
    "........kkk.....",
    "................",
};
const Rows kScissors = {
    "................",
    "...k.......k....",
    "...kk.....kk....",
    "....kk...kk.....",
    ".....kk.kk......",
    "......kkk.......",
    ".......k........",
    "......kgk.......",
    ".....kk.kk......",
    "...rrrr.rrrr....",
    "..r...r.r...r...",
    "..r...r.r...r...",
    "..r...r.r...r...",
    "...rrr...rrr....",
    "................",
    "................",
};
const Rows kTwoPages = {
    "................",
    ".kkkkkkk........",
    ".kwwwwwk........",
    ".kwkkkwk........",
    ".kwwwwwk........",
    ".kwkkkkkkkkkk...",
    ".kwwwwkwwwwwwk..",
    ".kwkkkkwkkkkwk..",
    ".kwwwwkwwwwwwk..",
    ".kkkkkkwkkkkwk..",
    "......kwwwwwwk..",
    "......kwkkkkwk..",
    "......kwwwwwwk..",
    "......kkkkkkkk..",
    "................",
    "................",
};
const Rows kClipboard = {
    "................",
    ".....kkkkk......",
    ".kkkkgsssgkkkk..",
    ".knnkgkkkgknnk..",
    ".knnnkkkkknnnk..",
    ".knnnnnnnnnnnk..",
    ".knnnnkkkkkkkkk.",
    ".knnnnkwwwwwwwk.",
    ".knnnnkwkkkkkwk.",
    ".knnnnkwwwwwwwk.",
    ".knnnnkwkkkkkwk.",
    ".knnnnkwwwwwwwk.",
    ".knnnnkwkkkkwwk.",
    ".kkkkkkwwwwwwwk.",
    "......kkkkkkkkk.",
    "................",
};
const Rows kBlankPage = {
    "................",
    "...kkkkkkkk.....",
    "...kwwwwwwkk....",
    "...kwwwwwwkwk...",
    "...kwwwwwwkwwk..",
    "...kwwwwwwkkkkk.",
    "...kwwwwwwwwwwk.",
    "...kwwwwwwwwwwk.",
    "...kwwwwwwwwwwk.",
    "...kwwwwwwwwwwk.",
    "...kwwwwwwwwwwk.",
    "...kwwwwwwwwwwk.",
    "...kwwwwwwwwwwk.",
    "...kwwwwwwwwwwk.",
    "...kkkkkkkkkkkk.",
    "................",
};
const Rows kRedCross = {
    "................",
    "................",
    "..kk.......kk...",
    ".krrk.....krrk..",
    ".krrrk...krrrk..",
    "..krrrk.krrrk...",
    "...krrrkrrrk....",
    "....krrrrrk.....",
    ".....krrrk......",
    "....krrrrrk.....",
    "...krrrkrrrk....",
    "..krrrk.krrrk...",
    ".krrrk...krrrk..",
    ".krrk.....krrk..",
    "..kk.......kk...",
    "................",
};
const Rows kRenameAB = {
    "................",
    "................",
    "..k.............",
    ".kk.k...........",
    ".k..k...........",
    ".kkkk...........",
    ".k..k....b......",
    ".k..k....bb.....",
    ".......bbbbb....",
    ".........bb.....",
    ".........b.kkk..",
    "...........k..k.",
    "...........kkk..",
    "...........k..k.",
    "...........kkk..",
    "................",
};
const Rows kLetterA = {
    "................",
    "......kkk.......",
    "......kkk.......",
    ".....kk.kk......",
    ".....kk.kk......",
    "....kk...kk.....",
    "....kk...kk.....",
    "...kk.....kk....",
    "...kkkkkkkkk....",
    "..kk.......kk...",
    "..kk.......kk...",
    ".kk.........kk..",
    "kkkk.......kkkk.",
    "................",
    "................",
    "................",
};
const Rows kBoldF = {
    "................",
    "................",
    "...kkkkkkkkkk...",
    "...kkkkkkkkkk...",
    "...kkkk....kk...",
    "...kkkk.........",
    "...kkkk...k.....",
    "...kkkkkkkk.....",
    "...kkkkkkkk.....",
    "...kkkk...k.....",
    "...kkkk.........",
    "...kkkk.........",
    "..kkkkkk........",
    "..kkkkkk........",
    "................",
    "................",
};
const Rows kItalicK = {
    "................",
    "................",
    ".....kkk...kkk..",
    "......k....k....",
    "......k...k.....",
    ".....k...k......",
    ".....k..k.......",
    ".....kkk........",
    "....k..k........",
    "....k...k.......",
    "....k....k......",
    "...k.....k......",
    "..kkk...kkk.....",
    "................",
    "................",
    "................",
};
const Rows kUnderlineU = {
    "................",
    "................",
    "...kkkk..kkkk...",
    "....kk....kk....",
    "....kk....kk....",
    "....kk....kk....",
    "....kk....kk....",
    "....kk....kk....",
    "....kk....kk....",
    ".....kk..kk.....",
    "......kkkk......",
    "................",
    "...kkkkkkkkkk...",
    "................",
    "................",
    "................",
};
const Rows kAlignLeft = {
    "................",
    "................",
    ".kkkkkkkkkkkkk..",
    "................",
    ".kkkkkkkk.......",
    "................",
    ".kkkkkkkkkkkkk..",
    "................",
    ".kkkkkkkk.......",
    "................",
    ".kkkkkkkkkkkkk..",
    "................",
    ".kkkkkkkk.......",
    "................",
    "................",
    "................",
};
const Rows kAlignCenter = {
    "................",
    "................",
    ".kkkkkkkkkkkkk..",
    "................",
    "....kkkkkkkk....",
    "................",
    ".kkkkkkkkkkkkk..",
    "................",
    "....kkkkkkkk....",
    "................",
    ".kkkkkkkkkkkkk..",
    "................",
    "....kkkkkkkk....",
    "................",
    "................",
    "................",
};
const Rows kAlignRight = {
    "................",
    "................",
    "..kkkkkkkkkkkkk.",
    "................",
    ".......kkkkkkkk.",
    "................",
    "..kkkkkkkkkkkkk.",
    "................",
    ".......kkkkkkkk.",
    "................",
    "..kkkkkkkkkkkkk.",
    "................",
    ".......kkkkkkkk.",
    "................",
    "................",
    "................",
};
const Rows kBullets = {
    "................",
    "................",
    "..bb............",
    "..bb..kkkkkkkkk.",
    "................",
    "................",
    "..bb............",
    "..bb..kkkkkkkkk.",
    "................",
    "................",
    "..bb............",
    "..bb..kkkkkkkkk.",
    "................",
    "................",
    "................",
    "................",
};
const Rows kStopwatch = {
    "......kkkk......",
    ".......kk.......",
    ".....kkkkkk..k..",
    "...kkwwwwwwkkkk.",
    "..kwwwwkwwwwk...",
    "..kwwwwkwwwwwk..",
    ".kwwwwwkwwwwwwk.",
    ".kwwwwwkwwwwwwk.",
    ".kwwwwwkkkkkwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwk.",
    "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..",
    "...kkwwwwwwkk...",
    ".....kkkkkk.....",
    "................",
};
// clang-format on

const Rows &rowsOf(GlyphMotif motif)
{
    static const std::array<const Rows *, kGlyphMotifCount> all = {
        &kDoor, &kPrinter, &kUndoArrow, &kScissors, &kTwoPages, &kClipboard,
        &kBlankPage, &kRedCross, &kRenameAB, &kLetterA, &kBoldF, &kItalicK,
        &kUnderlineU, &kAlignLeft, &kAlignCenter, &kAlignRight, &kBullets, &kStopwatch,
    };
    return *all[size_t(motif)];
}

} // namespace

bool IsDarkPalette(const QPalette &palette) { return palette.color(QPalette::Window).lightness() < 128; }

QImage ToolbarGlyph(GlyphMotif motif, const QPalette &palette)
{
    const Rows &rows = rowsOf(motif);
    // The fuchsia key is never a palette's text colour, so the mask stays.
    const QRgb stroke = IsDarkPalette(palette) ? palette.color(QPalette::WindowText).rgb() : paletteColor('k');
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    for (int y = 0; y < 16; ++y) {
        const char *row = rows[size_t(y)];
        for (int x = 0; x < 16 && row[x]; ++x)
            image.setPixel(x, y, row[x] == 'k' ? stroke : paletteColor(row[x]));
    }
    return image;
}

QPixmap ToolbarPixmap(GlyphMotif motif, const QPalette &palette)
{
    const QImage glyph = ToolbarGlyph(motif, palette);
    return QPixmap::fromImage(widgets::MaskedImage(glyph, widgets::BottomLeftColor(glyph)));
}

QIcon ToolbarIcon(GlyphMotif motif, const QPalette &palette)
{
    // Menus on a screen of two or three device pixels per pixel take the
    // larger pictures, which round the steps of the 16 x 16 drawing instead
    // of having it blown up smoothly.
    const QPixmap glyph = ToolbarPixmap(motif, palette);
    const QImage image = glyph.toImage();
    QIcon icon(glyph);
    for (const qreal ratio : {2.0, 3.0}) {
        QImage larger = widgets::ScaledGlyph(image, ratio);
        larger.setDevicePixelRatio(1);
        icon.addPixmap(QPixmap::fromImage(larger));
    }
    return icon;
}

} // namespace ui
