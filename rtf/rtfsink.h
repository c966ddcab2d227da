#pragma once
// Where the interpreter's reading goes. The document builder makes a
// QTextDocument of it; the plain text builder only the text that document
// would hold. One interpreter feeds both, so the editor and the find index
// read every file alike.

#include <QByteArrayView>
#include <QStringView>
#include <QTextListFormat>

class QByteArray;
class QTextBlockFormat;
class QTextCharFormat;
class QVariant;

namespace rtf {

// What a paragraph's list membership should be.
struct ListPlace {
    bool isList = false;
    QTextListFormat::Style style = QTextListFormat::ListDisc;
    int level = 0;
    int key = 0; // paragraphs of one list share the key

    bool operator==(const ListPlace &) const = default;
};

class Sink {
public:
    virtual ~Sink() = default;

    // Whether paragraph formats and list places are of use; without, the
    // interpreter passes empty ones. Character formats are always made: a
    // note's mark is the text since the last change of format.
    virtual bool takesParagraphFormats() const = 0;

    virtual void setCharFormat(const QTextCharFormat &format) = 0;
    virtual void appendText(QStringView text) = 0;
    virtual void appendChar(QChar ch) = 0;
    // Appends bytes as the characters a table of all 256 gives them; a byte
    // the table maps to 0 shows nothing. The table maps printable ASCII
    // (0x20..0x7E) to itself.
    virtual void appendMapped(QByteArrayView bytes, const char16_t *table) = 0;
    // An image whose bytes (PNG or JPEG) are known to be readable.
    virtual void appendImage(const QByteArray &data, double width, double height) = 0;
    // Ends a table cell: the next text of the row follows after a tab.
    virtual void endCell() = 0;
    virtual void endParagraph(const QTextBlockFormat &format, const ListPlace &list) = 0;
    // A paragraph end right before a cell's end closes the cell, not a
    // paragraph: the row goes on in the same line.
    virtual void joinPendingParagraph() = 0;
    virtual bool paragraphPending() const = 0;
    // The end of the text. A whole document's last paragraph gets its
    // format even without a paragraph end, and a final paragraph end adds
    // no empty paragraph; an insertion keeps both as they are.
    virtual void finish(const QTextBlockFormat &format, const ListPlace &list, bool insertMode) = 0;
    // Gives the text held since the last format change a property of its
    // own (a note's mark that the file wrote as text); false when there is
    // no such text.
    virtual bool markPendingRun(int property, const QVariant &value) = 0;

    // Notes, after finish(): they stand at the end of the document.
    // The highest note number the document had before this read.
    virtual int lastNoteId() const = 0;
    // A paragraph of a note's text. With reuseEmpty, an empty document's
    // only paragraph takes the format instead of a new one.
    virtual void appendNoteParagraph(const QTextBlockFormat &format, bool reuseEmpty) = 0;
    virtual void appendNoteText(QStringView text, bool superscript) = 0;
};

} // namespace rtf
