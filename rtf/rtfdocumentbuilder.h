#pragma once
// Writes what the interpreter reads into a document, through one cursor.
// Text is collected and inserted in runs of one format; a paragraph end is
// held back until more content follows, so that the \par that closes the
// last paragraph of a file does not add an empty one. Paragraphs that keep
// the format of the one before and are in no list go into the run as
// separators, as Qt's own plain text goes in.
//
// The edits are held and handed to the cursor in batches: parsing between
// every two insertions pushed the document's own data out of the caches,
// and Qt then took longer for the same insertions.

#include "rtfsink.h"

#include <QPointer>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextList>
#include <QTextListFormat>
#include <cstdint>
#include <memory>
#include <vector>

namespace rtf {

class DocumentBuilder final : public Sink {
public:
    explicit DocumentBuilder(const QTextCursor &cursor);

    bool takesParagraphFormats() const override { return true; }
    void setCharFormat(const QTextCharFormat &format) override;
    void appendText(QStringView text) override;
    void appendChar(QChar ch) override;
    void appendMapped(QByteArrayView bytes, const char16_t *table) override;
    // The image's bytes become a document resource.
    void appendImage(const QByteArray &data, double width, double height) override;
    void endCell() override;
    void endParagraph(const QTextBlockFormat &format, const ListPlace &list) override;
    void joinPendingParagraph() override { m_blockPending = false; }
    bool paragraphPending() const override { return m_blockPending; }
    // Flushes what is held.
    void finish(const QTextBlockFormat &format, const ListPlace &list, bool insertMode) override;
    bool markPendingRun(int property, const QVariant &value) override; // rtfnotes.cpp
    int lastNoteId() const override; // rtfnotes.cpp
    void appendNoteParagraph(const QTextBlockFormat &format, bool reuseEmpty) override;
    void appendNoteText(QStringView text, bool superscript) override;

private:
    // One held change to the document, in the order the file gave them.
    // Formats are held once per batch in the tables below and named by
    // their place there: most edits share a few formats, and an edit
    // without a format of its own costs no calls into Qt to make and drop.
    struct Edit {
        enum Kind : std::uint8_t { Text, Block, Paragraph, Image, EndLists };
        // Made in place by kind: an aggregate cannot be, before C++20's
        // parenthesised initialisation, which clang 14 lacks.
        explicit Edit(Kind k) : kind(k) {}
        Kind kind;
        bool setFormat = false; // Paragraph: the block's format changes
        int charFormat = -1; // Text, Block, Image: in m_charFormats
        int blockFormat = -1; // Block, Paragraph: in m_blockFormats
        qsizetype end = 0; // Text: where its text ends in m_text
        ListPlace list; // Paragraph
    };

    // Grown by hand: QString's resize is a call into Qt for every run of
    // text, which the many short runs of a card add up to.
    class HeldText {
    public:
        qsizetype size() const { return m_size; }
        char16_t *begin() { return m_chars.get(); }
        const QChar *data() const { return reinterpret_cast<const QChar *>(m_chars.get()); }
        // Room for n more characters at the end, which then count as held.
        char16_t *extend(qsizetype n)
        {
            if (m_size + n > m_capacity)
                grow(m_size + n);
            char16_t *const at = m_chars.get() + m_size;
            m_size += n;
            return at;
        }
        void truncate(qsizetype size) { m_size = size; }
        void append(QStringView text);
        void append(char16_t ch) { *extend(1) = ch; }

    private:
        void grow(qsizetype needed);
        std::unique_ptr<char16_t[]> m_chars;
        qsizetype m_size = 0;
        qsizetype m_capacity = 0;
    };

    void beginContent();
    void closeRun();
    // The place of m_format in this batch's table, added on first use.
    int currentFormat();
    int addCharFormat(const QTextCharFormat &format);
    int addBlockFormat(const QTextBlockFormat &format);
    void addRun(int format, qsizetype end);
    // A new paragraph of this format, its mark of the current character format.
    void addBlock(const QTextBlockFormat &format);
    void applyParagraph(const QTextBlockFormat &format, const ListPlace &list);
    void commit();
    // Where the replay of a batch has got to in the held text and in m_separators.
    struct ReplayPlace {
        qsizetype text = 0;
        size_t separator = 0;
    };
    void replay(const Edit &edit, ReplayPlace &place);
    void insertHeld(qsizetype begin, qsizetype end, const QTextCharFormat &format);
    // Characters that Qt turns into a paragraph end of its own.
    void noteBreaks(QStringView text);
    void placeInList(const QTextBlock &block, const ListPlace &list);

    struct OpenList {
        int key = 0;
        QTextListFormat::Style style = QTextListFormat::ListDisc;
        // Qt deletes a list when its last block leaves it: a cell's
        // paragraph that a row joins is placed again by the row's next
        // paragraph mark, and may take the only item of a list along.
        QPointer<QTextList> list;
        int items = 0;
    };

    QTextCursor m_cursor;
    QTextCursor m_noteCursor; // at the document's end, once the notes come
    std::vector<Edit> m_edits;
    std::vector<QTextCharFormat> m_charFormats;
    std::vector<QTextBlockFormat> m_blockFormats;
    QTextCharFormat m_format;
    int m_formatIndex = -1; // of m_format in m_charFormats; -1: not there yet
    QTextBlockFormat m_landingFormat; // of the paragraph an insertion starts in
    // A new paragraph starts with the format of the one before, which it
    // mostly keeps: then it need not be set again.
    QTextBlockFormat m_lastFormat;
    bool m_hasLastFormat = false;
    // The held text; it can span paragraphs, parted by separators.
    HeldText m_text;
    // A block is best made with its format: setting it afterwards costs Qt
    // about as much as making the block. The block the held edits end in
    // was started in this batch by this separator in m_text or this Block
    // edit (-1: neither), so its paragraph's format can still go there.
    qsizetype m_blockSeparator = -1;
    qsizetype m_blockEdit = -1;
    // Separators in m_text that start a paragraph of a format of its own.
    struct FormattedSeparator {
        qsizetype at = 0;
        int blockFormat = -1;
    };
    std::vector<FormattedSeparator> m_separators;
    qsizetype m_runBegin = 0; // where the text since the last format change starts
    qsizetype m_runStart = 0; // where the held text since the last paragraph end starts
    // The block the held text goes into has m_lastFormat and is in no list,
    // so a paragraph end can be held as a separator: runs of paragraphs of
    // one format, short ones above all, go in with one insertion.
    bool m_plainBlock = false;
    bool m_blockInList = false; // the block the held edits end in is in a list
    bool m_listsOpen = false; // list paragraphs were held since a paragraph in none
    bool m_blockPending = false;
    bool m_tabPending = false;
    // By level, for the run of list paragraphs; kept as the edits are handed on.
    std::vector<OpenList> m_openLists;
};

} // namespace rtf
