#pragma once
// The control words the reader acts on, each classified by what it touches.
// Words not in the table are ignored (and their group's text kept), except
// after \* where an unknown word hides the rest of its group; a known one
// counts as it always does, star or not.

#include <QByteArrayView>
#include <cstdint>

namespace rtf {

enum class WordKind : std::uint8_t {
    Character, // character formatting of the group
    Paragraph, // paragraph formatting, lists
    Special, // inserts one character (param = its code)
    Structure, // paragraph, cell and row ends; \u, \bin, \uc
    Document, // code pages and the default font
    Destination, // starts a destination for the rest of the group
    Table, // words inside the font, colour and list tables
    Picture, // picture kind and size
    Note, // footnotes and endnotes: their marks and numbering
};

enum class Word : std::uint16_t {
    // Character
    Plain, Font, FontSize, Bold, Italic, Underline, UnderlineDotted, UnderlineDash,
    UnderlineDashDot, UnderlineDashDotDot, UnderlineWave, UnderlineNone, Strike,
    ForeColor, Highlight, BackColor, Super, Sub, NoSuperSub, Hidden,
    Unapplied, // known but not kept (styles, underline colour): a star before it hides nothing
    // Paragraph
    Pard, AlignLeft, AlignCenter, AlignRight, AlignJustify, LeftIndent, RightIndent,
    FirstIndent, SpaceBefore, SpaceAfter, PnLevelBullet, PnLevelBody, PnLevelCont,
    PnLevel, PnDecimal, PnUpperRoman, PnLowerRoman, PnUpperLetter, PnLowerLetter,
    ListOverrideIndex, ListLevel, InTable,
    // Structure
    Par, Sect, Page, Line, Tab, Cell, Row, Unicode, UnicodeSkip, Bin,
    // Document
    Ansi, Mac, Pc, Pca, AnsiCodePage, DefaultFont,
    // Destination
    DSkip, // ignored destinations: their text is hidden
    DFontTable, DColorTable, DListTable, DList, DListLevel, DListOverrideTable,
    DListOverride, DPicture, DPn, DUpr, DUd, DField, DFieldResult, DShapeResult,
    DText, // a known destination whose text is visible
    // Table
    FontCharset, FontCodePage, Red, Green, Blue, ListId, LevelNumberFormat,
    // Picture
    PngBlip, JpegBlip, OtherBlip, PicWidth, PicHeight, PicGoalWidth, PicGoalHeight,
    PicScaleX, PicScaleY,
    // Note (value: for NoteNumbering the style, plus 16 for endnotes; for
    // NoteStart 16 for endnotes)
    DNote, NoteMark, Endnote, NoteNumbering, NoteStart,
};

struct WordInfo {
    WordKind kind;
    Word word;
    std::int32_t value; // for Special: the character; for Note: see there
};

// Looks up a control word; nullptr when the reader does not know it.
const WordInfo *lookupWord(QByteArrayView name);

// The characters that control symbols (\~, \_, \-, ...) stand for, or 0
// when the symbol has no character of its own.
char16_t symbolCharacter(char symbol);

} // namespace rtf
