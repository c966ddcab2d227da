#pragma once
// Reads RTF tokens and hands what they show to a Sink: the document
// builder or the plain text builder. It keeps a heap stack of group states (never recursion), so any nesting is
// safe: groups deeper than MaxDepth are counted instead of pushed.

#include "rtfcodepage.h"
#include "rtfcontrolwords.h"
#include "rtfsink.h"
#include "rtfformatcache.h"
#include "rtfstate.h"
#include "rtftokenizer.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <array>
#include <map>
#include <vector>

namespace rtf {

class Interpreter {
public:
    static constexpr size_t MaxDepth = 2048;

    // In insert mode the last paragraph keeps the format of the paragraph
    // it lands in.
    Interpreter(Sink &sink, bool insertMode);

    // Where "\rtf" starts, or -1 when bytes are no RTF.
    static qsizetype rtfStart(QByteArrayView bytes);
    // bytes start at the "\rtf" word, after the document's opening brace.
    void run(QByteArrayView bytes);
    ReadIssues issues() const { return m_issues; }

private:
    struct FontEntry {
        QString name;
        int codePage = 0; // 0: the document's
    };
    struct ListLevelDef {
        int numberFormat = 0;
    };
    struct ListDef {
        int id = 0;
        std::vector<ListLevelDef> levels;
    };
    struct Picture {
        Word kind = Word::OtherBlip;
        QByteArray hex;
        QByteArray binary;
        int width = 0, height = 0, goalWidth = 0, goalHeight = 0;
        int scaleX = 100, scaleY = 100;
    };

    GroupState &state() { return m_stack.back(); }

    // Token handlers (rtfinterpreter.cpp)
    void dispatch(const Token &token);
    void openGroup();
    bool closeGroup(); // false when the document's outer group closed
    void controlWord(const Token &token);
    void controlSymbol(char symbol);
    void hideGroup();
    static bool isTextDestination(Word word);
    void hexByte(int value);
    void text(QByteArrayView bytes);

    // By kind of word (rtfcharacterwords.cpp, rtfparagraphwords.cpp, ...)
    void characterWord(Word word, const Token &token);
    void paragraphWord(Word word, const Token &token);
    void structureWord(Word word, const Token &token);
    void documentWord(Word word, const Token &token);
    void destinationWord(Word word);
    void tableWord(Word word, const Token &token);
    void pictureWord(Word word, const Token &token);

    // Footnotes and endnotes (rtfnotes.cpp)
    void noteWord(const WordInfo &info, const Token &token);
    void startNote();
    void finishNote();
    QString nextNoteMark(bool endnote);
    void flushAnchor();
    void noteText(QStringView text);
    void appendNotes();

    // Destinations (rtfdestinations.cpp)
    void finishDestination(const GroupState &closed);
    void fontTableText(QByteArrayView bytes);
    void startFont(int number);
    void commitFont();
    void fontNameChar(char16_t ch);
    void decodeFontName();
    void colorTableText(QByteArrayView bytes);
    void finishPicture();

    // Text of the document (rtftextoutput.cpp)
    bool showsText() const;
    bool showsBreaks() const;
    void addBytes(QByteArrayView bytes);
    void flushBytes();
    void addChar(char16_t ch);
    void appendDecoded();
    static bool isShownCharacter(char16_t ch);
    void syncCharFormat();
    int currentCodePage();
    const char16_t *shownTable(int codePage);
    QTextCharFormat charFormat(const CharState &chars) const;
    // Sets the properties of chars; with before, on its format, only those
    // of the fields that differ from it.
    void setCharProperties(QTextCharFormat &format, const CharState &chars, const CharState *before) const;
    // The format of chars can be made from that of before: its properties
    // then come out in the order charFormat() gives them.
    bool canDerive(const CharState &chars, const CharState &before) const;
    const FontEntry *namedFont(int number) const; // nullptr: the font has no name
    QColor tableColor(int index) const; // invalid: automatic
    QTextBlockFormat blockFormat(const ParaState &para) const;
    ListPlace listPlace(const ParaState &para) const;
    void endParagraph();

    Tokenizer *m_tokenizer = nullptr;
    Sink &m_sink;
    bool m_insertMode;
    std::vector<GroupState> m_stack;
    ReadIssues m_issues;
    size_t m_overflow = 0; // groups opened beyond MaxDepth
    size_t m_overflowSkipFrom = 0; // overflow depth of a hidden group; 0: none
    bool m_starPending = false;
    bool m_groupStart = false; // the last token opened a group
    int m_unicodeSkipLeft = 0;
    bool m_rowEnded = false; // no paragraph ended since the last row

    // Document-wide settings and tables
    int m_ansiCodePage = 1252;
    int m_defaultFont = -1;
    std::map<int, FontEntry> m_fonts;
    std::vector<QColor> m_colors; // invalid: automatic
    std::vector<ListDef> m_lists;
    std::map<int, size_t> m_listById; // index in m_lists
    std::map<int, int> m_listOverrides; // \ls number to list id

    // Notes: their marks are numbered apart, footnotes and endnotes.
    struct NoteRun {
        QString text;
        bool superscript = false;
    };
    struct Note {
        int id = 0;
        bool endnote = false;
        std::vector<NoteRun> runs; // a paragraph end is a '\n'
    };
    struct NoteNumbers {
        int style = 0; // 0 1 2, a A, i I, *
        int next = 1;
    };
    NoteNumbers m_noteNumbers[2]; // footnotes, endnotes
    std::vector<Note> m_notes;
    QString m_noteMark; // of the note being read; empty until numbered
    bool m_anchorPending = false; // a \chftn waits for its note
    CharState m_anchorChars;
    int m_noteIdBase = -1;
    size_t m_noteGroup = 0; // the stack size with the open note's group; 0: none

    // Tables being read
    int m_fontNumber = -1;
    int m_fontCharset = -1;
    int m_fontCodePage = 0;
    QByteArray m_fontNameBytes;
    QString m_fontName;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;
    int m_overrideListId = 0; // of the list override being read
    Picture m_picture;

    // Text waiting to be decoded and the format it goes out with
    CodePageDecoder m_decoder;
    QByteArray m_pendingBytes;
    int m_pendingCodePage = 1252;
    QString m_scratch;
    CharState m_appliedChars;
    // The builder's format, made for m_appliedChars and kept in m_charFormats;
    // nullptr once the builder may hold another or the cache was cleared.
    const QTextCharFormat *m_appliedFormat = nullptr;
    FormatCache<CharState, QTextCharFormat> m_charFormats; // made from the font and colour tables
    FormatCache<ParaState, QTextBlockFormat> m_blockFormats;
    int m_fontCacheNumber = -2;
    int m_fontCacheCodePage = 1252;
    const char16_t *m_fontCacheTable = nullptr; // of m_fontCacheCodePage, see shownTable()
    // By code page: the character each byte shows as in the text, 0 for
    // those that show nothing; only for pages decoded byte by byte.
    std::map<int, std::array<char16_t, 256>> m_shownTables;
};

} // namespace rtf
