#pragma once
// Format properties of our own that carry RTF the editor has no notion of,
// so that a card keeps it from load to save.

#include <QTextFormat>

namespace rtf {

// Character property, bool: hidden text (\v). It is drawn one pixel high,
// so it takes no room in the editor, and is written back with \v.
inline constexpr int HiddenTextProperty = QTextFormat::UserProperty + 0x52'00;
// Character property, int: the note whose mark this text is.
inline constexpr int NoteAnchorProperty = QTextFormat::UserProperty + 0x52'01;
// Block property, int: this paragraph is (part of) the text of that note,
// shown at the end of the card.
inline constexpr int NoteTextProperty = QTextFormat::UserProperty + 0x52'02;
// Block property, bool: the note is an endnote.
inline constexpr int EndnoteProperty = QTextFormat::UserProperty + 0x52'03;

} // namespace rtf
