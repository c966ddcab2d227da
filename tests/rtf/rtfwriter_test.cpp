// The writer's output form, and round trips through writer and reader.

#include "rtftestcard.h"
#include "rtftesthelpers.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QTextList>
#include <gtest/gtest.h>

using namespace rtftest;

namespace {

QByteArray writeRtf(const QTextDocument &document)
{
    return rtf::RtfWriter(&document).write();
}

qsizetype countOf(const QByteArray &haystack, const QByteArray &needle)
{
    return haystack.count(needle);
}

// What a run looks like on screen, with the document default filled in.
struct Look {
    QString family;
    double size;
    bool bold, italic, strike;
    int underline, position;
    QColor fore, back;
    bool operator==(const Look &) const = default;
};

Look lookOf(const QTextDocument &document, const QTextCharFormat &format)
{
    const QString family = rtftest::family(format);
    int underline = format.underlineStyle();
    return {family.isEmpty() ? document.defaultFont().family() : family,
            format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                           : document.defaultFont().pointSizeF(),
            format.fontWeight() >= QFont::DemiBold,
            format.fontItalic(),
            format.fontStrikeOut(),
            underline,
            format.verticalAlignment(),
            format.foreground().style() == Qt::NoBrush ? QColor() : format.foreground().color(),
            format.background().style() == Qt::NoBrush ? QColor() : format.background().color()};
}

void expectSameContent(const QTextDocument &expected, const QTextDocument &actual)
{
    ASSERT_EQ(blockTexts(actual), blockTexts(expected));
    for (QTextBlock a = expected.begin(), b = actual.begin(); a.isValid(); a = a.next(), b = b.next()) {
        const QTextBlockFormat fa = a.blockFormat(), fb = b.blockFormat();
        const QString where = a.text();
        EXPECT_EQ(fa.alignment() & Qt::AlignHorizontal_Mask, fb.alignment() & Qt::AlignHorizontal_Mask)
            << where.toStdString();
        EXPECT_DOUBLE_EQ(fa.leftMargin(), fb.leftMargin()) << where.toStdString();
        EXPECT_DOUBLE_EQ(fa.rightMargin(), fb.rightMargin()) << where.toStdString();
        EXPECT_DOUBLE_EQ(fa.textIndent(), fb.textIndent()) << where.toStdString();
        EXPECT_DOUBLE_EQ(fa.topMargin(), fb.topMargin()) << where.toStdString();
        EXPECT_DOUBLE_EQ(fa.bottomMargin(), fb.bottomMargin()) << where.toStdString();
        EXPECT_EQ(a.textList() != nullptr, b.textList() != nullptr) << where.toStdString();
        if (a.textList() && b.textList()) {
            EXPECT_EQ(a.textList()->format().style(), b.textList()->format().style());
            EXPECT_EQ(a.textList()->itemText(a), b.textList()->itemText(b));
        }
        // Character by character, so that a run split differently still compares.
        QTextCursor ca(const_cast<QTextDocument *>(&expected)), cb(const_cast<QTextDocument *>(&actual));
        for (int i = 1; i <= a.length() - 1; ++i) {
            ca.setPosition(a.position() + i);
            cb.setPosition(b.position() + i);
            const QTextCharFormat xa = ca.charFormat(), xb = cb.charFormat();
            EXPECT_TRUE(lookOf(expected, xa) == lookOf(actual, xb))
                << where.toStdString() << " at " << i << ": " << lookOf(expected, xa).family.toStdString() << "/"
                << lookOf(actual, xb).family.toStdString();
            EXPECT_EQ(xa.isImageFormat(), xb.isImageFormat());
            if (xa.isImageFormat() && xb.isImageFormat()) {
                EXPECT_DOUBLE_EQ(xa.toImageFormat().width(), xb.toImageFormat().width());
                EXPECT_DOUBLE_EQ(xa.toImageFormat().height(), xb.toImageFormat().height());
                QImage ia, ib;
                ia.loadFromData(
                    expected.resource(QTextDocument::ImageResource, QUrl(xa.toImageFormat().name())).toByteArray());
                ib.loadFromData(
                    actual.resource(QTextDocument::ImageResource, QUrl(xb.toImageFormat().name())).toByteArray());
                EXPECT_FALSE(ib.isNull());
                EXPECT_EQ(ia.convertToFormat(QImage::Format_ARGB32), ib.convertToFormat(QImage::Format_ARGB32));
            }
        }
    }
}

} // namespace

TEST(RtfWriterForm, HeaderTablesAndEscapesAreWhatOldReadersExpect)
{
    QTextDocument document;
    buildRichCard(document);
    const QByteArray rtf = writeRtf(document);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl")) << rtf.left(80).toStdString();
    EXPECT_TRUE(rtf.trimmed().endsWith('}'));
    EXPECT_TRUE(rtf.contains("{\\f0\\fnil\\fcharset0 Arial;}"));
    EXPECT_TRUE(rtf.contains("Courier New;}"));
    EXPECT_TRUE(rtf.contains("{\\colortbl ;\\red200\\green10\\blue20;\\red255\\green255\\blue0;}"));
    EXPECT_TRUE(rtf.contains("\\uc1"));
    for (const char c : rtf)
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "all of the file is 7-bit";
    EXPECT_TRUE(rtf.contains("Gr\\'fc\\'dfe \\'80 \\u969? \\u-10179?\\u-8704? a\\\\b\\{c\\}\\tab d\\line next line"))
        << rtf.toStdString();
    EXPECT_EQ(countOf(rtf, "\\par\r\n"), document.blockCount()) << "one \\par per paragraph";
    EXPECT_TRUE(rtf.contains("{\\pntext\\f2\\'b7\\tab}")) << "bullet text for readers without \\pn";
    EXPECT_TRUE(rtf.contains("\\pnlvlblt\\pnf2"));
    EXPECT_TRUE(rtf.contains("{\\pntext\\f0 2.\\tab}"));
    EXPECT_TRUE(rtf.contains("\\pnlvlbody"));
    EXPECT_TRUE(rtf.contains("{\\f2\\ftech\\fcharset2 Symbol;}"));
    EXPECT_TRUE(rtf.contains("{\\pict\\pngblip\\picw4\\pich3\\picwgoal600\\pichgoal450"));
}

TEST(RtfWriterForm, ListWithoutStyleIsWrittenAsBulletList)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("item"));
    QTextListFormat format;
    format.setStyle(QTextListFormat::ListStyleUndefined);
    cursor.createList(format);
    const QByteArray rtf = writeRtf(document);
    EXPECT_TRUE(rtf.contains("\\pnlvlblt")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("{\\pntext\\f1\\'b7\\tab}")) << rtf.toStdString();
}

TEST(RtfWriterForm, FormatsAreWrittenOnlyWhereTheyChange)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    for (int i = 0; i < 5; ++i) {
        if (i)
            cursor.insertBlock();
        cursor.insertText(QStringLiteral("same format"), bold);
    }
    QTextCharFormat normal;
    cursor.insertText(QStringLiteral(" back"), normal);
    const QByteArray rtf = writeRtf(document);
    EXPECT_EQ(countOf(rtf, "\\b "), 1) << rtf.toStdString();
    EXPECT_EQ(countOf(rtf, "\\b0"), 1);
    EXPECT_EQ(countOf(rtf, "\\pard"), 1) << "paragraphs that all look the same share one \\pard";
    EXPECT_FALSE(rtf.contains("\\colortbl")) << "no colours used, no colour table";
    EXPECT_FALSE(rtf.contains("Symbol")) << "no bullets, no symbol font";
}

TEST(RtfWriterForm, EmptyDocumentIsValidRtfWithOneParagraph)
{
    QTextDocument document;
    const QByteArray rtf = writeRtf(document);
    EXPECT_EQ(countOf(rtf, "\\par\r\n"), 1);
    const auto back = readRtf(rtf);
    EXPECT_EQ(back->blockCount(), 1);
    EXPECT_TRUE(back->toPlainText().isEmpty());
}

TEST(RtfRoundTrip, ReadingWhatWasWrittenGivesTheSameDocument)
{
    QTextDocument original;
    buildRichCard(original);
    const QByteArray rtf = writeRtf(original);
    const auto back = readRtf(rtf);
    expectSameContent(original, *back);
    // A second round changes nothing at all.
    back->setDefaultFont(original.defaultFont());
    EXPECT_EQ(writeRtf(*back), rtf);
}

TEST(RtfRoundTrip, EmptyParagraphsAtTheEndSurvive)
{
    QTextDocument original;
    original.setPlainText(QStringLiteral("a\n\n\n"));
    const auto back = readRtf(writeRtf(original));
    EXPECT_EQ(blockTexts(*back), blockTexts(original));
}

TEST(RtfRoundTrip, SelectionCopiedAndPastedKeepsTextAndFormats)
{
    QTextDocument original;
    buildRichCard(original);
    QTextCursor selection(&original);
    const QTextCursor from = original.find(QStringLiteral("bold"));
    const QTextCursor to = original.find(QStringLiteral("bullet one"));
    selection.setPosition(from.selectionStart());
    selection.setPosition(to.selectionEnd(), QTextCursor::KeepAnchor);
    const QByteArray rtf = rtf::RtfWriter(&original).writeSelection(selection);

    QTextDocument target;
    target.setPlainText(QStringLiteral("[]"));
    QTextCursor at(&target);
    at.setPosition(1);
    ASSERT_TRUE(rtf::RtfReader::insert(at, rtf));
    QStringList expected = blockTexts(original).mid(0, 4);
    expected.first() = "[" + expected.first().mid(expected.first().indexOf("bold"));
    expected.last() = "bullet one]";
    EXPECT_EQ(blockTexts(target), expected);
    EXPECT_EQ(formatAt(target, "bold").fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(target, "courier").fontPointSize(), 15.5);
    EXPECT_EQ(blockWith(target, "centred").blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    // Within one paragraph nothing adds a paragraph break.
    QTextCursor word = original.find(QStringLiteral("italic"));
    const QByteArray piece = rtf::RtfWriter(&original).writeSelection(word);
    EXPECT_FALSE(piece.contains("\\par\r\n"));
    QTextDocument inline_;
    inline_.setPlainText(QStringLiteral("<>"));
    QTextCursor mid(&inline_);
    mid.setPosition(1);
    rtf::RtfReader::insert(mid, piece);
    EXPECT_EQ(inline_.toPlainText(), QStringLiteral("<italic>"));
    EXPECT_TRUE(formatAt(inline_, "italic").fontItalic());
}

TEST(RtfRoundTrip, FontNamesAndTextOutsideWindows1252)
{
    QTextDocument original;
    QTextCursor cursor(&original);
    QTextCharFormat mincho;
    mincho.setFontFamilies({QString::fromUtf8("ＭＳ 明朝")});
    cursor.insertText(QString::fromUtf8("日本語 Ελληνικά Русский"), mincho);
    QTextCharFormat braces;
    braces.setFontFamilies({QStringLiteral("Odd {Name}; \\x")});
    cursor.insertText(QStringLiteral(" odd"), braces);
    const QByteArray rtf = writeRtf(original);
    const auto back = readRtf(rtf);
    EXPECT_EQ(back->toPlainText(), original.toPlainText());
    EXPECT_EQ(family(formatAt(*back, QString::fromUtf8("日本"))), QString::fromUtf8("ＭＳ 明朝"));
    EXPECT_EQ(family(formatAt(*back, "odd")), QStringLiteral("Odd {Name} \\x"))
        << "a semicolon cannot stand in an RTF font name: " << rtf.toStdString();
}

TEST(RtfRoundTrip, NestedListsKeepTheirLevelsAndTheOuterListGoesOn)
{
    QTextDocument original;
    QTextCursor cursor(&original);
    cursor.insertText(QStringLiteral("outer one"));
    QTextListFormat outer;
    outer.setStyle(QTextListFormat::ListDisc);
    QTextList *outerList = cursor.createList(outer);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("inner one"));
    QTextListFormat inner;
    inner.setStyle(QTextListFormat::ListLowerAlpha);
    inner.setIndent(2);
    cursor.createList(inner);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("outer two"));
    outerList->add(cursor.block());

    const auto back = readRtf(writeRtf(original));
    ASSERT_EQ(blockTexts(*back), blockTexts(original));
    const QTextList *one = blockWith(*back, "outer one").textList();
    const QTextList *in = blockWith(*back, "inner one").textList();
    ASSERT_NE(one, nullptr);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(one->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(in->format().style(), QTextListFormat::ListLowerAlpha);
    EXPECT_EQ(in->format().indent(), 2);
    EXPECT_EQ(blockWith(*back, "outer two").textList(), one);
}

TEST(RtfWriterForm, ListTextShowsTheNumbersTheListShows)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const QTextListFormat::Style styles[] = {QTextListFormat::ListDecimal, QTextListFormat::ListLowerAlpha,
                                             QTextListFormat::ListUpperAlpha, QTextListFormat::ListLowerRoman,
                                             QTextListFormat::ListUpperRoman};
    std::vector<QTextList *> lists;
    for (const auto style : styles) {
        if (!lists.empty())
            cursor.insertBlock(QTextBlockFormat());
        cursor.insertText(QStringLiteral("separator"));
        for (int i = 0; i < 40; ++i) {
            cursor.insertBlock();
            cursor.insertText(QStringLiteral("item"));
            if (i == 0) {
                QTextListFormat format;
                format.setStyle(style);
                if (style == QTextListFormat::ListUpperAlpha)
                    format.setNumberSuffix(QStringLiteral(")"));
                lists.push_back(cursor.createList(format));
            }
        }
    }
    const QByteArray rtf = writeRtf(document);
    for (QTextList *list : lists) {
        for (int i = 0; i < list->count(); ++i) {
            const QByteArray expected = "{\\pntext\\f0 " + list->itemText(list->item(i)).toLatin1() + "\\tab}";
            EXPECT_TRUE(rtf.contains(expected)) << expected.toStdString();
        }
    }
}

TEST(RtfRoundTrip, CopiedPicturesComeFromTheSourceDocument)
{
    QTextDocument original;
    buildRichCard(original);
    QTextCursor selection = original.find(QStringLiteral("picture "));
    selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    const QByteArray rtf = rtf::RtfWriter(&original).writeSelection(selection);
    EXPECT_TRUE(rtf.contains("{\\pict\\pngblip")) << rtf.toStdString();
    QTextDocument target;
    QTextCursor at(&target);
    ASSERT_TRUE(rtf::RtfReader::insert(at, rtf));
    QTextCursor image(&target);
    image.setPosition(QStringLiteral("picture ").size() + 1);
    ASSERT_TRUE(image.charFormat().isImageFormat());
    QImage loaded;
    EXPECT_TRUE(loaded.loadFromData(
        target.resource(QTextDocument::ImageResource, QUrl(image.charFormat().toImageFormat().name())).toByteArray()));
    EXPECT_EQ(loaded.size(), QSize(4, 3));
}

TEST(RtfRoundTrip, TableCellsFromPastedHtmlKeepTheirText)
{
    QTextDocument original;
    original.setHtml(QStringLiteral("<p>before</p><table><tr><td>a1</td><td>b1</td></tr>"
                                    "<tr><td>a2</td><td>b2</td></tr></table><p>after</p>"));
    const auto back = readRtf(writeRtf(original));
    EXPECT_EQ(words(back->toPlainText()), words(original.toPlainText()));
}

// RTF numbers \pn paragraphs as one run (LibreOffice counts on across
// \pnstart), so two adjacent lists of one look are written as one list, and
// writing what was read gives the same bytes again.
TEST(RtfRoundTrip, AdjacentListsOfOneLookAreOneListAndWritingIsStable)
{
    QTextDocument original;
    QTextCursor cursor(&original);
    QTextListFormat numbers;
    numbers.setStyle(QTextListFormat::ListDecimal);
    for (int list = 0; list < 2; ++list) {
        for (int item = 0; item < 2; ++item) {
            if (list || item)
                cursor.insertBlock();
            cursor.insertText(QStringLiteral("item"));
            if (item == 0)
                cursor.createList(numbers);
            else
                cursor.block().previous().textList()->add(cursor.block());
        }
    }
    const QByteArray once = writeRtf(original);
    EXPECT_TRUE(once.contains("{\\pntext\\f0 4.\\tab}")) << once.toStdString();
    EXPECT_EQ(countOf(once, "\\pard"), 1);
    const auto back = readRtf(once);
    const QTextBlock last = back->lastBlock();
    ASSERT_NE(last.textList(), nullptr);
    EXPECT_EQ(last.textList()->itemText(last), QStringLiteral("4."));
    EXPECT_EQ(writeRtf(*back), once);
}

TEST(RtfRoundTrip, FuzzerFoundListsWriteStably)
{
    QFile file(QStringLiteral(RTF_TEST_DATA "/pathological/crash-44c1e9dcabc82839dbfcddb05200b8e1d0b55c35"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray once = writeRtf(*readRtf(file.readAll()));
    EXPECT_EQ(writeRtf(*readRtf(once)), once);
}

TEST(RtfRoundTrip, PicturesAreWrittenBackByteForByteEvenWhenDamaged)
{
    QByteArray png = pngBytes(QSize(5, 2), Qt::blue);
    png[png.size() - 20] = char(png[png.size() - 20] ^ 0x55); // breaks a checksum, not the header
    const QByteArray rtf = "{\\rtf1 a{\\pict\\pngblip\\picwgoal75\\pichgoal30 " + png.toHex() + "}b}";
    const auto document = readRtf(rtf);
    ASSERT_EQ(document->toPlainText(), QString("a") + QChar::ObjectReplacementCharacter + "b");
    const QByteArray written = writeRtf(*document);
    QByteArray hex = written.mid(written.indexOf("\\pichgoal30") + 11);
    hex = hex.left(hex.indexOf('}')).replace("\r\n", "");
    EXPECT_EQ(QByteArray::fromHex(hex), png);
}
