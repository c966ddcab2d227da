#pragma once
// Character and paragraph attributes of the card editor, read and written
// one field at a time.
//
// What the rest of the program may rely on:
// - A TTextAttributes object stands either for the selection or for the
//   editor's default character format. Every read asks the editor afresh;
//   every setter is one write of its one field.
// - Selection reads report the first selected character; a selection whose
//   characters differ therefore reports that character's flags, font and
//   colour, and a write of Style (always all four flags) makes the whole
//   selection uniform as reported.
// - Default format writes change the format text typed next takes (the
//   caret's typing format) and are remembered as the editor's default; the
//   text already there keeps its look.
// - Before the editor's window exists reads give an empty format (no flags,
//   no name, size 0, colour black) and writes do nothing.
// - Colour: the system window-text colour stands for "automatic colour"
//   (text without a colour of its own) in both directions.
// - Paragraph hanging offset: a paragraph starts its first line at its start
//   indent and the following lines at start indent + offset. In the document
//   this is textIndent = -offset and leftMargin = start + offset (the way RTF
//   writes \fi and \li). A bulleted paragraph is an item of a disc list; its
//   first line starts after the bullet, at leftMargin with textIndent 0, so
//   the bullet stands in the hanging area.

#include "syscolors.h"

#include <QString>
#include <QTextCharFormat>

namespace controls {

class TRichEdit;

// Bit values of a character style set.
enum TFontStyle : unsigned {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};
using TFontStyles = unsigned;

enum class TAttributeType { atSelected, atDefaultText };

// Margins and indents of QTextBlockFormat are in pixels at 96 per inch.
constexpr double kMarginPixelsPerPoint = 96.0 / 72.0;

// Style flags of a character format and back.
TFontStyles StyleOfFormat(const QTextCharFormat &format);
TFontStyles StyleOfFont(const QFont &font);
void SetStyleOfFormat(QTextCharFormat &format, TFontStyles style);

class TTextAttributes {
public:
    TTextAttributes(TRichEdit &editor, TAttributeType type) : m_editor(editor), m_type(type) {}

    TAttributeType Type() const { return m_type; }

    // The face name, at most 31 characters.
    QString Name() const;
    void SetName(const QString &name);
    // Whole points, the fraction dropped.
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const;
    void SetStyle(TFontStyles style);
    platform::TColor Color() const;
    void SetColor(platform::TColor color);

private:
    QTextCharFormat read() const;
    template <class Change>
    void write(Change change);

    TRichEdit &m_editor;
    TAttributeType m_type;
};

// Toggles one style flag as the toolbar does: reads Style, then writes all
// four flags back with flag flipped.
void ToggleStyle(TTextAttributes attributes, TFontStyles flag);

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TNumberingStyle { nsNone, nsBullet };

// The paragraphs the selection touches (the caret's paragraph when nothing
// is selected). Reads report the first of them.
class TParaAttributes {
public:
    explicit TParaAttributes(TRichEdit &editor) : m_editor(editor) {}

    TAlignment Alignment() const;
    void SetAlignment(TAlignment alignment);

    // Setting bullets first raises the hanging offset to 10 points where it
    // is smaller; setting none first sets it to 0.
    TNumberingStyle Numbering() const;
    void SetNumbering(TNumberingStyle numbering);

    // The hanging offset in points.
    double Offset() const;
    void SetOffset(double points);

private:
    TRichEdit &m_editor;
};

} // namespace controls
