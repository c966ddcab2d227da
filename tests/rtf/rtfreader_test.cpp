// The reader against hand-written RTF in the shapes that rich-edit
// controls, WordPad, Word, LibreOffice and pandoc write.

#include "rtftesthelpers.h"

#include <QBuffer>
#include <QImage>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QTextList>
#include <gtest/gtest.h>

using namespace rtftest;

namespace {

QString textOf(const QByteArray &rtf)
{
    return blockTexts(*readRtf(rtf)).join(u'\n');
}

} // namespace

TEST(RtfReaderText, RejectsWhatIsNotRtfAndLeavesTheDocumentAlone)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("kept"));
    rtf::RtfReader reader(&document);
    EXPECT_FALSE(reader.read("plain text {\\rtf1 x}"));
    EXPECT_FALSE(reader.read(""));
    EXPECT_FALSE(reader.read("{\\rt"));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("kept"));
    EXPECT_TRUE(reader.read("{\\rtf1 new}"));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("new"));
    EXPECT_FALSE(document.isModified());
    EXPECT_FALSE(document.isUndoAvailable()) << "loading a card is no edit to undo";
    EXPECT_TRUE(document.isUndoRedoEnabled());
}

struct TextCase {
    const char *name;
    QByteArray rtf;
    QString text;
};

void PrintTo(const TextCase &row, std::ostream *os)
{
    *os << row.name;
}

std::string caseName(const ::testing::TestParamInfo<TextCase> &info)
{
    return rowName(info.param.name);
}

class RtfReaderCharacters : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfReaderCharacters, DecodesToTheVisibleText)
{
    EXPECT_EQ(textOf(GetParam().rtf), GetParam().text) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfReaderCharacters,
    ::testing::Values(
        TextCase{"windows-1252 by default", "{\\rtf1 Gr\\'fc\\'dfe \\'80 \\'85}", QString::fromUtf8("Grüße € …")},
        TextCase{"ansicpg 1251", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", QString::fromUtf8("При")},
        TextCase{"font charset wins over ansicpg",
                 "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset238 Arial CE;}}"
                 "\\f0\\'e8 \\f1\\'e8}",
                 QString::fromUtf8("è č")},
        TextCase{"shift-jis double bytes", "{\\rtf1{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'93\\'fa\\'96\\'7b}",
                 QString::fromUtf8("日本")},
        TextCase{"shift-jis trail byte as plain text", "{\\rtf1{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'83e}",
                 QString::fromUtf8("テ")},
        TextCase{"mac roman and dos pages", "{\\rtf1\\mac \\'8a{\\fonttbl{\\f1\\fcharset254 Terminal;}}\\f1\\'84}",
                 QString::fromUtf8("ää")},
        TextCase{"gbk", "{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4}", QString::fromUtf8("中文")},
        TextCase{"big5", "{\\rtf1\\ansi\\ansicpg950 \\'a4\\'a4}", QString::fromUtf8("中")},
        TextCase{"korean", "{\\rtf1\\ansi\\ansicpg949 \\'c7\\'d1}", QString::fromUtf8("한")},
        TextCase{"unicode with fallback", "{\\rtf1\\uc1 a\\u8364?b\\u-4064?c}",
                 QString::fromUtf8("a€b") + QChar(0xF020) + QStringLiteral("c")},
        TextCase{"uc2 skips two fallback units", "{\\rtf1\\uc2\\u26085\\'93\\'fa!}", QString::fromUtf8("日!")},
        TextCase{"uc0 skips nothing", "{\\rtf1\\uc0\\u252 x}", QString::fromUtf8("üx")},
        TextCase{"uc is per group", "{\\rtf1{\\uc3 a}\\u252 xy}", QString::fromUtf8("aüy")},
        TextCase{"surrogate pair", "{\\rtf1\\u-10179?\\u-8704?}", QString::fromUtf8("😀")},
        TextCase{"control symbols", "{\\rtf1 a\\~b\\_c\\-d\\\\\\{\\}}",
                 QString::fromUtf8("a\u00a0b\u2011c\u00add\\{}")},
        TextCase{"typographic words", "{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}",
                 QString::fromUtf8("—–‘’“”•")},
        TextCase{"tab line par page sect", "{\\rtf1 a\\tab b\\line c\\par d\\page e\\sect f}",
                 QString::fromUtf8("a\tb\u2028c\nd\ne\nf")},
        TextCase{"paragraph and frame marks as characters", "{\\rtf1 a\\u8233?b\\u-560?c\\u-559?d}",
                 QStringLiteral("a\nb\nc\nd")},
        TextCase{"line ends are not text", "{\\rtf1 a\r\nb\\\r\nc}", QStringLiteral("ab\nc")},
        TextCase{"last paragraph mark adds no empty paragraph", "{\\rtf1 a\\par b\\par}", QStringLiteral("a\nb")},
        TextCase{"empty paragraphs stay", "{\\rtf1 a\\par\\par\\par b}", QStringLiteral("a\n\n\nb")},
        TextCase{"text after the document group is ignored", "{\\rtf1 in}out", QStringLiteral("in")},
        TextCase{"white space around the brace", " \r\n{ \r\n\\rtf1 a}", QStringLiteral("a")},
        TextCase{"utf-8 byte order mark", "\xEF\xBB\xBF{\\rtf1\\ansicpg65001 \\'c3\\'a4}", QString::fromUtf8("ä")}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Destinations, RtfReaderCharacters,
    ::testing::Values(
        TextCase{"ignorable unknown destination", "{\\rtf1 a{\\*\\foo hidden{\\b more}}b}", QStringLiteral("ab")},
        TextCase{"a starred word the reader knows hides nothing",
                 "{\\rtf1\\ansicpg1251\\trowd\\cellx1\\cellx2\\pard\\intbl \\'c4\\'e0\\par{\\*\\cs15 09.12.2026}\\cell"
                 "{\\*\\b x}\\*\\ts11 y\\cell\\row z}",
                 QString::fromUtf8("Да\n09.12.2026\txy\nz")},
        TextCase{"unknown word keeps group text", "{\\rtf1 a{\\foo shown}b}", QStringLiteral("ashownb")},
        TextCase{"info stylesheet header footer",
                 "{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}{\\header H}{\\footer F}"
                 "{\\headerl L}{\\footerf G}body}",
                 QStringLiteral("body")},
        TextCase{"field keeps its result",
                 "{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}} now}",
                 QStringLiteral("see link now")},
        TextCase{"field instruction without star", "{\\rtf1{\\field{\\fldinst PAGE}{\\fldrslt 3}}}",
                 QStringLiteral("3")},
        TextCase{"bin skipped by count", "{\\rtf1 a{\\*\\blob\\bin5 }{}\\}b}c}", QStringLiteral("ac")},
        TextCase{"bin in text skipped", "{\\rtf1 a\\bin3 xyzb}", QStringLiteral("ab")},
        TextCase{"pntext and listtext skipped",
                 "{\\rtf1{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}a\\par"
                 "{\\listtext\\'b7\\tab}b}",
                 QStringLiteral("a\nb")},
        TextCase{"upr reads the unicode part",
                 "{\\rtf1{\\upr{\\fonttbl{\\f0 A;}}{\\*\\ud{\\fonttbl{\\f0 B;}}}}x{\\upr{ansi}{\\*\\ud uni}}}",
                 QStringLiteral("xuni")},
        TextCase{"footnotes numbered once, their text at the end",
                 "{\\rtf1 a{\\super\\chftn{\\*\\footnote\\chftn note}} b{\\super\\chftn{\\footnote\\chftn x}}}",
                 QStringLiteral("a1 b2\n1note\n2x")},
        TextCase{"a note turned into another destination still ends with its group",
                 "{\\rtf1 a{\\super\\chftn}{\\footnote\\chftn x\\stylesheet y}b{\\super\\chftn}{\\footnote\\chftn z}"
                 "c\\chftn{\\footnote\\chftn w\\pict 00}d}",
                 QStringLiteral("a1b2c3d\n1x\n2z\n3w")},
        TextCase{"an upr in a note or a table keeps its unicode part there",
                 "{\\rtf1 a\\chftn{\\footnote\\chftn n{\\*\\pn{\\upr{\\*\\ud out}}}}b{\\fonttbl{\\f0{\\upr{\\*\\ud shown}}A;}}}",
                 QStringLiteral("a1b\n1n")},
        TextCase{"a note in the document's own group ends with the document",
                 "{\\rtf1 a{\\footnote\\chftn b}\\footnote c}", QStringLiteral("a2\n1b\n2 c")},
        TextCase{"a note's mark is the file's text since the format changed",
                 "{\\rtf1 ab{\\super 1}{\\footnote\\pard{\\super 1} n}c\\par d{\\footnote e}\\tab{\\footnote f}}",
                 QStringLiteral("ab1c\nd\t\n1 n\ne\nf")},
        TextCase{"hidden text kept, its paragraph mark not", "{\\rtf1 a{\\v hidden\\par}b}",
                 QStringLiteral("ahiddenb")},
        TextCase{"table cells tab separated",
                 "{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\row"
                 "\\trowd\\cellx1000\\cellx2000\\pard\\intbl C\\cell D\\cell\\row\\pard after\\par}",
                 QStringLiteral("A\tB\nC\tD\nafter")},
        TextCase{"nested cells", "{\\rtf1\\pard\\intbl\\itap2 x\\nestcell y\\nestcell{\\*\\nesttableprops\\trowd\\nestrow}"
                                 "{\\nonesttables\\par x y}z\\cell\\row}",
                 QStringLiteral("x\ty\nz")},
        TextCase{"nested table properties holding cell text",
                 "{\\rtf1\\pard\\intbl\\itap2{\\*\\nesttableprops\\trowd\\cellx500 in\\nestcell\\nestrow}z\\cell\\row}",
                 QStringLiteral("in\nz")},
        TextCase{"a paragraph mark closing a cell joins the row",
                 "{\\rtf1\\trowd\\cellx1\\cellx2{\\pard\\intbl A\\par}\\cell{\\pard\\intbl B\\par x\\par}\\cell\\row"
                 "\\pard\\intbl\\cell C\\cell\\row}",
                 QStringLiteral("A\tB\nx\n\tC")},
        TextCase{"star without its backslash", "{\\rtf1 a{*\\wgrffmtfilter 2450}b{*c}}", QStringLiteral("ab*c")},
        TextCase{"pictures of other kinds are left out",
                 "{\\rtf1 a{\\pict\\wmetafile8\\picw10\\pich10 0100090000}b}", QStringLiteral("ab")},
        TextCase{"shape picture taken once",
                 "{\\rtf1 a{\\*\\shppict{\\pict\\emfblip 0102}}{\\nonshppict{\\pict\\wmetafile8 0102}}b}",
                 QStringLiteral("ab")}),
    caseName);

TEST(RtfReaderFormats, CharacterFormatsFollowGroupsAndPlain)
{
    const auto document = readRtf(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green255\\blue0;}"
        "\\fs20 normal {\\b bold {\\i bolditalic}} {\\f1\\fs32 times} {\\ul under}{\\uldb dbl}{\\ulwave wave}"
        "{\\ul x\\ulnone nounder} {\\strike struck} {\\cf1 red}{\\cf2\\highlight3 blue} {\\cb3 back} "
        "{\\super up}{\\sub down}{\\super x\\nosupersub level} \\b on\\plain plain}");
    const QTextDocument &d = *document;
    EXPECT_EQ(family(formatAt(d, "normal")), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(formatAt(d, "normal").fontPointSize(), 10.0);
    EXPECT_EQ(formatAt(d, "bold ").fontWeight(), QFont::Bold);
    EXPECT_FALSE(formatAt(d, "bold ").fontItalic());
    EXPECT_TRUE(formatAt(d, "bolditalic").fontItalic());
    EXPECT_EQ(formatAt(d, "bolditalic").fontWeight(), QFont::Bold);
    EXPECT_EQ(family(formatAt(d, "times")), QStringLiteral("Times New Roman"));
    EXPECT_DOUBLE_EQ(formatAt(d, "times").fontPointSize(), 16.0);
    EXPECT_DOUBLE_EQ(formatAt(d, " under").fontPointSize(), 10.0) << "group end restores the size";
    EXPECT_EQ(formatAt(d, "under").underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(formatAt(d, "dbl").underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(formatAt(d, "wave").underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_EQ(formatAt(d, "nounder").underlineStyle(), QTextCharFormat::NoUnderline);
    EXPECT_TRUE(formatAt(d, "struck").fontStrikeOut());
    EXPECT_EQ(formatAt(d, "red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(d, "blue").foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatAt(d, "blue").background().color(), QColor(255, 255, 0));
    EXPECT_EQ(formatAt(d, "back").background().color(), QColor(255, 255, 0));
    EXPECT_EQ(formatAt(d, "normal").foreground().style(), Qt::NoBrush) << "auto colour sets nothing";
    EXPECT_EQ(formatAt(d, "up").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatAt(d, "down").verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatAt(d, "level").verticalAlignment(), QTextCharFormat::AlignNormal);
    EXPECT_EQ(formatAt(d, "on").fontWeight(), QFont::Bold);
    const QTextCharFormat plain = formatAt(d, "plain");
    EXPECT_EQ(plain.fontWeight(), QFont::Normal);
    EXPECT_DOUBLE_EQ(plain.fontPointSize(), 12.0) << "\\plain resets the size to 12 pt";
    EXPECT_EQ(family(plain), QStringLiteral("Arial")) << "\\plain goes back to \\deff";
}

TEST(RtfReaderFormats, TheSameLookIsTheSameFormatWhicheverWayTheTextReachedIt)
{
    // Each look compared with the same look read on its own: a colour or a
    // raise taken away again must leave nothing behind in the format. Each
    // look after the first is new to the card, so none is one read before.
    const QByteArray head = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";
    const auto document = readRtf(head + "\\fs20 a\\b\\cf1 b\\cf0 c\\i\\super\\cf2 d\\cf0\\nosupersub e"
                                         "\\ul\\cb1 f\\cb0 g\\cf1 h\\super i\\sub\\cf2\\cb1 j}");
    const std::pair<const char *, QByteArray> looks[] = {{"a", ""},
                                                         {"b", "\\b\\cf1"},
                                                         {"c", "\\b"},
                                                         {"d", "\\b\\i\\super\\cf2"},
                                                         {"e", "\\b\\i"},
                                                         {"f", "\\b\\i\\ul\\cb1"},
                                                         {"g", "\\b\\i\\ul"},
                                                         {"h", "\\b\\i\\ul\\cf1"},
                                                         {"i", "\\b\\i\\ul\\super\\cf1"},
                                                         {"j", "\\b\\i\\ul\\sub\\cf2\\cb1"}};
    for (const auto &[text, words] : looks) {
        const auto alone = readRtf(head + "\\fs20" + words + " " + text + "}");
        EXPECT_EQ(formatAt(*document, QString::fromLatin1(text)), formatAt(*alone, QString::fromLatin1(text)))
            << text;
    }
}

TEST(RtfReaderFormats, ToggleZeroSwitchesOff)
{
    const auto document = readRtf("{\\rtf1\\b\\i\\strike\\ul on \\b0\\i0\\strike0\\ul0 off}");
    const QTextCharFormat off = formatAt(*document, "off");
    EXPECT_EQ(off.fontWeight(), QFont::Normal);
    EXPECT_FALSE(off.fontItalic());
    EXPECT_FALSE(off.fontStrikeOut());
    EXPECT_EQ(off.underlineStyle(), QTextCharFormat::NoUnderline);
}

TEST(RtfReaderFormats, ParagraphFormatsApplyAtTheParagraphEndAndPardResets)
{
    const auto document = readRtf("{\\rtf1\\pard\\qc centre\\par\\qr right\\par\\pard\\qj\\li720\\ri360\\fi-360"
                                  "\\sb120\\sa240 just\\par\\pard left\\par\\qc last}");
    const QTextDocument &d = *document;
    EXPECT_EQ(blockWith(d, "centre").blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(blockWith(d, "right").blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    const QTextBlockFormat just = blockWith(d, "just").blockFormat();
    EXPECT_EQ(just.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    // Twips become the document's pixels (15 twips each).
    EXPECT_DOUBLE_EQ(just.leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(just.rightMargin(), 24.0);
    EXPECT_DOUBLE_EQ(just.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(just.topMargin(), 8.0);
    EXPECT_DOUBLE_EQ(just.bottomMargin(), 16.0);
    const QTextBlockFormat left = blockWith(d, "left").blockFormat();
    EXPECT_EQ(left.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_DOUBLE_EQ(left.leftMargin(), 0.0);
    EXPECT_EQ(blockWith(d, "last").blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter)
        << "the last paragraph without \\par still gets its format";
}

TEST(RtfReaderLists, OldRichEditBulletsBecomeOneDiscList)
{
    const auto document = readRtf(
        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
        "\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}\\fi-200\\li200 one\\par"
        "{\\pntext\\f1\\'b7\\tab}two\\par\\pard plain\\par"
        "{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec{\\pntxta.}}first\\par"
        "{\\pntext 2.\\tab}second\\par}");
    const QTextDocument &d = *document;
    EXPECT_EQ(blockTexts(d), (QStringList{"one", "two", "plain", "first", "second"}));
    QTextList *bullets = blockWith(d, "one").textList();
    ASSERT_NE(bullets, nullptr);
    EXPECT_EQ(bullets->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(blockWith(d, "two").textList(), bullets);
    EXPECT_EQ(blockWith(d, "plain").textList(), nullptr);
    EXPECT_DOUBLE_EQ(blockWith(d, "two").blockFormat().leftMargin(), 200 / 15.0);
    QTextList *numbers = blockWith(d, "first").textList();
    ASSERT_NE(numbers, nullptr);
    EXPECT_EQ(numbers->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(blockWith(d, "second").textList(), numbers);
    EXPECT_EQ(numbers->count(), 2);
}

TEST(RtfReaderLists, ListTableNumberFormatsAndLevels)
{
    const auto document = readRtf(
        "{\\rtf1{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}}"
        "{\\listlevel\\levelnfc4{\\leveltext\\'02\\'01.;}}\\listid10}"
        "{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid20}}"
        "{\\*\\listoverridetable{\\listoverride\\listid10\\listoverridecount0\\ls1}"
        "{\\listoverride\\listid20\\listoverridecount0\\ls2}}"
        "\\pard\\ls1 {\\listtext\\'b7\\tab}dot\\par"
        "\\pard\\ls1\\ilvl1 {\\listtext a.\\tab}letter\\par"
        "\\pard\\ls1 {\\listtext\\'b7\\tab}dot2\\par"
        "\\pard\\ls2 {\\listtext 1.\\tab}num\\par\\pard none}");
    const QTextDocument &d = *document;
    EXPECT_EQ(blockTexts(d), (QStringList{"dot", "letter", "dot2", "num", "none"}));
    QTextList *dots = blockWith(d, "dot").textList();
    ASSERT_NE(dots, nullptr);
    EXPECT_EQ(dots->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(blockWith(d, "dot2").textList(), dots) << "the outer list goes on after a nested item";
    QTextList *letters = blockWith(d, "letter").textList();
    ASSERT_NE(letters, nullptr);
    EXPECT_EQ(letters->format().style(), QTextListFormat::ListLowerAlpha);
    EXPECT_EQ(letters->format().indent(), 1); // the second level; the first is not indented by the list
    ASSERT_NE(blockWith(d, "num").textList(), nullptr);
    EXPECT_EQ(blockWith(d, "num").textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(blockWith(d, "none").textList(), nullptr);
}

// A row joins its cells' paragraphs into one line, which the row's next
// paragraph mark places again: here at a deeper level, which leaves the
// first list without items (Qt deletes such a list).
TEST(RtfReaderLists, ACellParagraphPlacedAgainLeavesNoDeadList)
{
    const auto document = readRtf("{\\rtf1\\pard\\intbl\\ls1 A\\par\\cell\\pard\\intbl\\ls1\\ilvl1 B\\par"
                                  "\\pard\\ls1 C\\par}");
    const QTextDocument &d = *document;
    EXPECT_EQ(blockTexts(d), (QStringList{"A\tB", "C"}));
    QTextList *inner = blockWith(d, "A").textList();
    QTextList *outer = blockWith(d, "C").textList();
    ASSERT_NE(inner, nullptr);
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(inner->format().indent(), 1);
    EXPECT_EQ(outer->format().indent(), 0);
    EXPECT_EQ(outer->count(), 1);
}

TEST(RtfReaderPictures, PngAndJpegLoadAsImagesOthersNot)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG");
    }
    const QByteArray rtf = "{\\rtf1 a{\\pict\\pngblip\\picw3\\pich2\\picwgoal600\\pichgoal300 " + png.toHex()
        + "}b{\\*\\shppict{\\pict\\jpegblip " + jpeg.toHex() + "}}{\\nonshppict{\\pict\\wmetafile8 00}}c"
        + "{\\pict\\pngblip 00112233}d}";
    const auto document = readRtf(rtf);
    EXPECT_EQ(document->toPlainText(), QString("a") + QChar::ObjectReplacementCharacter + "b"
                                           + QChar::ObjectReplacementCharacter + "cd");
    QTextCursor cursor(document.get());
    cursor.setPosition(2);
    const QTextImageFormat first = cursor.charFormat().toImageFormat();
    ASSERT_TRUE(first.isValid());
    EXPECT_DOUBLE_EQ(first.width(), 40.0);
    EXPECT_DOUBLE_EQ(first.height(), 20.0);
    const QVariant data = document->resource(QTextDocument::ImageResource, QUrl(first.name()));
    QImage loaded;
    ASSERT_TRUE(loaded.loadFromData(data.toByteArray()));
    EXPECT_EQ(loaded.size(), QSize(3, 2));
    cursor.setPosition(4);
    const QTextImageFormat second = cursor.charFormat().toImageFormat();
    ASSERT_TRUE(second.isValid());
    EXPECT_TRUE(loaded.loadFromData(
        document->resource(QTextDocument::ImageResource, QUrl(second.name())).toByteArray()));
}

TEST(RtfReaderInsert, InsertsAtTheCursorAsOneUndoStep)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("start end"));
    QTextCursor cursor(&document);
    cursor.setPosition(6);
    ASSERT_TRUE(rtf::RtfReader::insert(cursor, "{\\rtf1 {\\b bold}\\par line\\par}"));
    EXPECT_EQ(blockTexts(document), (QStringList{"start bold", "line", "end"}));
    EXPECT_EQ(formatAt(document, "bold").fontWeight(), QFont::Bold);
    EXPECT_EQ(cursor.position(), QStringLiteral("start bold\nline\n").size());
    document.undo();
    EXPECT_EQ(document.toPlainText(), QStringLiteral("start end"));
    EXPECT_FALSE(rtf::RtfReader::insert(cursor, "not rtf"));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("start end"));
}

TEST(RtfReaderInsert, ReplacesTheSelectionAndKeepsTheTargetParagraphFormat)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("abc"));
    QTextCursor cursor(&document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.setPosition(1);
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    ASSERT_TRUE(rtf::RtfReader::insert(cursor, "{\\rtf1\\pard\\qr X}"));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("aXc"));
    EXPECT_EQ(document.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST(RtfReaderLists, LongListsStayListsAndNumbersRunOn)
{
    QByteArray rtf = "{\\rtf1\\pard{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}";
    for (int i = 0; i < 700; ++i)
        rtf += "{\\pntext\\'b7\\tab}bullet\\par ";
    rtf += "\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta.}}";
    for (int i = 0; i < 600; ++i)
        rtf += "{\\pntext " + QByteArray::number(i + 1) + ".\\tab}number\\par ";
    rtf += "}";
    const auto document = readRtf(rtf);
    ASSERT_EQ(document->blockCount(), 1300);
    QTextBlock block = document->begin();
    for (int i = 0; i < 700; ++i, block = block.next()) {
        ASSERT_NE(block.textList(), nullptr) << i;
        ASSERT_EQ(block.textList()->format().style(), QTextListFormat::ListDisc);
    }
    for (int i = 0; i < 600; ++i, block = block.next()) {
        ASSERT_NE(block.textList(), nullptr) << i;
        ASSERT_EQ(block.textList()->itemText(block), QString::number(i + 1) + ".");
    }
}

// A card long enough that the reader hands its edits on in several
// batches: a list and its numbers, and each run's format, go on across them.
TEST(RtfReaderLists, AListRunsOnAcrossTheBatchesOfALongCard)
{
    QByteArray rtf = "{\\rtf1\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta.}}";
    for (int i = 0; i < 600; ++i)
        rtf += "{\\pntext " + QByteArray::number(i + 1) + ".\\tab}{\\b fett}" + QByteArray::number(i) + "\\par ";
    rtf += "}";
    const auto document = readRtf(rtf);
    ASSERT_EQ(document->blockCount(), 600);
    QTextBlock block = document->begin();
    for (int i = 0; i < 600; ++i, block = block.next()) {
        ASSERT_EQ(block.text(), "fett" + QString::number(i)) << i;
        ASSERT_NE(block.textList(), nullptr) << i;
        ASSERT_EQ(block.textList()->itemText(block), QString::number(i + 1) + ".") << i;
        const QTextFragment first = block.begin().fragment();
        ASSERT_EQ(first.text(), "fett") << i;
        ASSERT_EQ(first.charFormat().fontWeight(), QFont::Bold) << i;
        ASSERT_NE((++block.begin()).fragment().charFormat().fontWeight(), QFont::Bold) << i;
    }
}

// Each paragraph's block is made with the format its mark brings, also
// where the mark and the block's start fall into different batches.
TEST(RtfReaderParagraphs, EveryParagraphOfALongCardKeepsItsOwnAlignment)
{
    static constexpr const char *words[] = {"\\pard\\qc ", "\\pard\\qr ", "\\pard "};
    static constexpr Qt::Alignment alignments[] = {Qt::AlignHCenter, Qt::AlignRight, Qt::AlignLeft};
    QByteArray rtf = "{\\rtf1";
    for (int i = 0; i < 900; ++i)
        rtf += words[i % 3] + QByteArray("{\\b fett}") + QByteArray::number(i) + "\\par ";
    rtf += "}";
    const auto document = readRtf(rtf);
    ASSERT_EQ(document->blockCount(), 900);
    QTextBlock block = document->begin();
    for (int i = 0; i < 900; ++i, block = block.next()) {
        ASSERT_EQ(block.text(), "fett" + QString::number(i)) << i;
        ASSERT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, alignments[i % 3]) << i;
    }
}
