// What a card keeps of RTF from other programs: Mac code pages, notes,
// hidden text, and a writer whose output reads and writes the same.

#include "rtftesthelpers.h"

#include "rtfcodepage.h"
#include "rtfproperties.h"

#include <QFile>
#include <QStringDecoder>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace rtftest;

namespace {

QByteArray writeRtf(const QTextDocument &document)
{
    return rtf::RtfWriter(&document).write();
}

// Text, then one read and write more: it must give the same bytes.
QByteArray writtenStably(const QByteArray &rtf)
{
    const QByteArray once = writeRtf(*readRtf(rtf));
    EXPECT_EQ(writeRtf(*readRtf(once)), once);
    return once;
}

struct MacCase {
    int codePage;
    int charset; // the Mac font charset for the page; 0: none
    const char *escaped; // made with iconv or Python's codecs
    const char *text;
};

void PrintTo(const MacCase &row, std::ostream *os)
{
    *os << row.codePage;
}

class RtfMacCodePages : public ::testing::TestWithParam<MacCase> {};

} // namespace

TEST_P(RtfMacCodePages, DecodeAsDocumentAndAsFontPage)
{
    const MacCase &row = GetParam();
    const QString expected = QString::fromUtf8(row.text);
    const auto page = QByteArray::number(row.codePage);
    EXPECT_EQ(readRtf("{\\rtf1\\ansi\\ansicpg" + page + " " + row.escaped + "}")->toPlainText(), expected);
    if (row.charset) {
        const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset" + QByteArray::number(row.charset)
            + " Mac;}}\\f0 " + row.escaped + "}";
        EXPECT_EQ(readRtf(rtf)->toPlainText(), expected) << "charset " << row.charset;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, RtfMacCodePages,
    ::testing::Values(MacCase{10000, 77, "Gr\\'9f\\'a7e \\'8e", "Grüße é"},
                      MacCase{10001, 78, "\\'82\\'cd\\'82\\'b6\\'82\\'df", "はじめ"},
                      MacCase{10002, 81, "\\'a4\\'a4\\'a4\\'e5", "中文"},
                      MacCase{10003, 79, "\\'c7\\'d1\\'b1\\'b9", "한국"},
                      MacCase{10004, 84, "\\'e5\\'d1\\'cd\\'c8\\'c7", "مرحبا"},
                      MacCase{10005, 83, "\\'f9\\'ec\\'e5\\'ed", "שלום"},
                      MacCase{10006, 85, "\\'ba\\'e1\\'ec\\'e8\\'ed\\'db\\'f2\\'e1", "Καλημέρα"},
                      MacCase{10007, 89, "\\'8f\\'f0\\'e8\\'e2\\'e5\\'f2", "Привет"},
                      MacCase{10008, 80, "\\'d6\\'d0\\'ce\\'c4", "中文"},
                      MacCase{10010, 0, "\\'afcoal\\'be", "Școală"},
                      MacCase{10017, 0, "\\'ba\\'e6\\'e0\\'ea", "Їжак"},
                      MacCase{10021, 87, "\\'ca\\'c7\\'d1\\'ca\\'b4\\'d5", "สวัสดี"},
                      MacCase{10029, 88, "\\'fc\\'97d\\'90", "Łódź"},
                      MacCase{10079, 0, "\\'de\\'97r", "Þór"},
                      MacCase{10081, 86, "G\\'9fnayd\\'ddn", "Günaydın"},
                      MacCase{10082, 0, "\\'c8a\\'f0", "Čađ"}),
    [](const ::testing::TestParamInfo<MacCase> &info) { return std::to_string(info.param.codePage); });

// Our own tables against another decoder (Qt's, through ICU) where it has
// the page: every byte of the upper half.
TEST(RtfMacCodePageTables, AgreeWithQtsDecoders)
{
    const std::pair<int, const char *> pages[] = {{10006, "x-mac-greek"}, {10081, "x-mac-turkish"}};
    for (const auto &[page, name] : pages) {
        QStringDecoder decoder(name);
        if (!decoder.isValid())
            GTEST_SKIP() << "Qt was built without " << name;
        QByteArray bytes;
        for (int b = 0x80; b <= 0xFF; ++b)
            bytes += char(b);
        rtf::CodePageDecoder ours;
        QString decoded;
        ours.decode(bytes, page, decoded);
        const QString theirs = decoder.decode(bytes);
        ASSERT_EQ(decoded.size(), theirs.size()) << page;
        for (qsizetype i = 0; i < decoded.size(); ++i)
            EXPECT_EQ(decoded[i].unicode(), theirs[i].unicode()) << page << " byte 0x" << std::hex << (0x80 + i);
    }
}

TEST(RtfNotes, WordsFootnotesShowAtTheEndAndGoBackBehindTheirMarks)
{
    const QByteArray rtf = "{\\rtf1\\ansi\\ftnnrlc\\ftnstart3 a{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn}"
                           " First.\\par Second line.}b{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} Other.}c\\par}";
    const auto document = readRtf(rtf);
    EXPECT_EQ(blockTexts(*document),
              QStringList({"aiiibivc", "iii First.", "Second line.", "iv Other."}));
    const QTextCharFormat anchor = formatAt(*document, "iv");
    EXPECT_EQ(anchor.verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_GT(anchor.intProperty(rtf::NoteAnchorProperty), 0);
    EXPECT_EQ(formatAt(*document, "iii ").verticalAlignment(), QTextCharFormat::AlignSuperScript)
        << "the note's own mark";

    const QByteArray once = writtenStably(rtf);
    EXPECT_EQ(once.count("{\\footnote"), 2) << once.toStdString();
    EXPECT_TRUE(once.contains("{\\super iii} First.\\par Second line.}")) << once.toStdString();
    EXPECT_EQ(blockTexts(*readRtf(once)), blockTexts(*document));
}

TEST(RtfNotes, EndnotesAndNotesWithoutTheirOwnMark)
{
    // pandoc and others leave the mark out of the note; an endnote counts
    // by itself.
    const QByteArray rtf = "{\\rtf1\\aftnnruc x{\\super\\chftn}{\\footnote\\ftnalt End.}y{\\super\\chftn}"
                           "{\\*\\footnote Foot.}{\\footnote Unmarked.}}";
    const auto document = readRtf(rtf);
    EXPECT_EQ(blockTexts(*document), QStringList({"xIy12", "I End.", "1 Foot.", "2 Unmarked."}));
    const QByteArray once = writtenStably(rtf);
    EXPECT_TRUE(once.contains("{\\footnote\\ftnalt")) << once.toStdString();
    EXPECT_EQ(once.count("\\chftn"), 0) << "the marks are kept as they show";
}

TEST(RtfNotes, EveryNoteReadGoesBackBehindItsMark)
{
    // Notes whose group a word inside turned into something else, a note
    // left open in the document's own group, a note with text that could
    // leave it: each has a mark, so each is written as a note again, not
    // as a paragraph of the text.
    const std::pair<const char *, int> inputs[] = {
        {"{\\rtf1 a{\\super\\chftn}{\\footnote\\chftn x\\stylesheet y}b{\\super\\chftn}{\\footnote z}"
         "c\\chftn{\\footnote w\\pict 00}d}",
         3},
        {"{\\rtf1 a{\\footnote\\chftn b}\\footnote c}", 2},
        {"{\\rtf1 a\\chftn{\\footnote\\chftn n{\\*\\pn{\\upr{\\*\\ud out\\chftn}}}}b}", 1}};
    for (const auto &[rtf, notes] : inputs) {
        const QByteArray once = writtenStably(rtf);
        EXPECT_EQ(once.count("{\\footnote"), notes) << once.toStdString();
        EXPECT_EQ(blockTexts(*readRtf(once)), blockTexts(*readRtf(rtf)));
    }
}

TEST(RtfNotes, NoteWhoseMarkWasDeletedKeepsItsTextAndWritesStably)
{
    const auto document = readRtf("{\\rtf1 a{\\super\\chftn}{\\footnote{\\super\\chftn} one} b{\\super\\chftn}"
                                  "{\\footnote{\\super\\chftn} two}}");
    QTextCursor cursor = document->find(QStringLiteral("2"));
    ASSERT_FALSE(cursor.isNull());
    cursor.removeSelectedText();
    ASSERT_EQ(blockTexts(*document), QStringList({"a1 b", "1 one", "2 two"}));
    const QByteArray once = writeRtf(*document);
    EXPECT_EQ(once.count("{\\footnote"), 1) << once.toStdString();
    // The orphan's text stays, as a paragraph of the text before the notes.
    const auto again = readRtf(once);
    EXPECT_EQ(blockTexts(*again), QStringList({"a1 b", "2 two", "1 one"}));
    EXPECT_EQ(writeRtf(*again), once);
}

TEST(RtfNotes, AMarkWrittenAsTextIsOnlyWhatFollowsTheLastParagraphEnd)
{
    // Paragraphs of one format are held together until they go into the
    // document; the mark must not take the ones before it, even where a
    // cell's end takes back the paragraph end.
    const auto document = readRtf("{\\rtf1 Eins\\par Zwei\\par\\cell 7{\\footnote 7 Notiz}}");
    EXPECT_EQ(blockTexts(*document), QStringList({"Eins", "Zwei\t7", "7 Notiz"}));
    EXPECT_GT(formatAt(*document, "7").intProperty(rtf::NoteAnchorProperty), 0);
    for (const char *text : {"Eins", "Zwei"})
        EXPECT_FALSE(formatAt(*document, text).hasProperty(rtf::NoteAnchorProperty)) << text;
}

TEST(RtfNotes, PastedNotesTakeNewNumbers)
{
    const QByteArray note = "{\\rtf1 m{\\super\\chftn}{\\footnote{\\super\\chftn} n}}";
    const auto document = readRtf(note);
    QTextCursor cursor(document.get());
    rtf::RtfReader::insert(cursor, note);
    EXPECT_EQ(blockTexts(*document), QStringList({"m1m1", "1 n", "1 n"}));
    const QByteArray written = writeRtf(*document);
    EXPECT_EQ(written.count("{\\footnote"), 2) << written.toStdString();
}

TEST(RtfHiddenText, IsKeptHiddenAndWrittenBack)
{
    const auto document = readRtf("{\\rtf1 a{\\v secret}b}");
    EXPECT_EQ(document->toPlainText(), QStringLiteral("asecretb"));
    const QTextCharFormat hidden = formatAt(*document, "secret");
    EXPECT_TRUE(hidden.boolProperty(rtf::HiddenTextProperty));
    EXPECT_EQ(hidden.font().pixelSize(), 1) << "takes no room in the editor";
    EXPECT_FALSE(formatAt(*document, "b").boolProperty(rtf::HiddenTextProperty));
    const QByteArray once = writtenStably("{\\rtf1 a{\\v secret}b}");
    EXPECT_TRUE(once.contains("a\\v secret\\v0 b")) << once.toStdString();
    // Hidden text at a paragraph's end keeps the paragraph's own mark.
    const QByteArray rtf = "{\\rtf1 {\\v a\\par b}\\par c{\\v\\par}}";
    EXPECT_EQ(blockTexts(*readRtf(rtf)), QStringList({"ab", "c"}));
    EXPECT_EQ(blockTexts(*readRtf(writtenStably(rtf))), QStringList({"ab", "c"}));
}

TEST(RtfWriterStability, FuzzerFoundPictureGoalsWriteStably)
{
    QFile file(QStringLiteral(RTF_TEST_DATA "/pathological/unstable-rewrite-1.rtf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    writtenStably(file.readAll());
    // A note cut off inside a group of its own.
    QFile cut(QStringLiteral(RTF_TEST_DATA "/pathological/crash-8a341110093051111292d57c677653dac808d1e0"));
    ASSERT_TRUE(cut.open(QIODevice::ReadOnly));
    const QByteArray once = writtenStably(cut.readAll());
    EXPECT_EQ(readRtf(once)->toPlainText(), readRtf(writeRtf(*readRtf(once)))->toPlainText());
    EXPECT_EQ(blockTexts(*readRtf("{\\rtf1 a\\chftn{\\footnote b{\\upr c")), QStringList({"a1", "1 b"}));
    // The same in small: a scale that shrinks the picture below a pixel.
    writtenStably("{\\rtf1{\\pict\\pngblip\\picscalex1\\picwgoal30\\pichgoal30 "
                  "89504e470d0a1a0a0000000d4948445200000001000000010806000000"
                  "1f15c4890000000d49444154789c6360f8cf00000301010018dd8db00000000049454e44ae426082}}");
}

TEST(RtfWriterFonts, OnlyFontsInUseAreInTheTable)
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Base Font")));
    QTextCursor cursor(&document);
    QTextCharFormat other;
    other.setFontFamilies({QStringLiteral("Other Font")});
    cursor.insertText(QStringLiteral("text"), other);
    const QByteArray rtf = writeRtf(document);
    EXPECT_FALSE(rtf.contains("Base Font")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("{\\f0\\fnil\\fcharset0 Other Font;}")) << rtf.toStdString();
    EXPECT_TRUE(writeRtf(QTextDocument()).contains("\\f0")) << "an empty card still names a font";
}

// Notes and tables as LibreOffice and pandoc write them.
TEST(RtfNotes, PeerFilesKeepTheirNotesOnARoundTrip)
{
    for (const char *name : {"pandoc-2.17-notes-table.rtf", "libreoffice-7.4.rtf"}) {
        SCOPED_TRACE(name);
        QFile file(QStringLiteral(RTF_TEST_DATA "/real/") + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray rtf = file.readAll();
        const auto document = readRtf(rtf);
        const QByteArray once = writtenStably(rtf);
        EXPECT_EQ(once.count("{\\footnote"), rtf.count("footnote"));
        EXPECT_EQ(blockTexts(*readRtf(once)), blockTexts(*document));
        EXPECT_TRUE(document->lastBlock().blockFormat().hasProperty(rtf::NoteTextProperty));
    }
}
