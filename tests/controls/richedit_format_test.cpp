// The editor's attribute objects, paragraph numbering and offsets, the
// clipboard formats and the line insertion at the top.

#include "exception.h"
#include "richedit.h"
#include "textattributes.h"
#include "rtfproperties.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextList>
#include <gtest/gtest.h>

#include "messageof.h"

using testing_support::MessageOf;

using namespace platform;
using namespace controls;

namespace {

struct FormatFixture : ::testing::Test {
    TRichEdit editor;
    int changes = 0;

    void SetUp() override
    {
        editor.resize(400, 300);
        editor.show();
        editor.OnChange = [this](QObject *) { ++changes; };
    }
    void select(int from, int to)
    {
        QTextCursor c(editor.document());
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        editor.setTextCursor(c);
    }
    void caretAt(int position) { select(position, position); }
    QTextCharFormat formatAt(int position) const
    {
        QTextCursor c(editor.document());
        c.setPosition(position + 1);
        return c.charFormat();
    }
    QTextBlock block(int n) const { return editor.document()->findBlockByNumber(n); }
    double offsetOfBlock(int n)
    {
        caretAt(block(n).position());
        return editor.ParagraphAttributes().Offset();
    }
    // A paragraph with a first line at 0 and following lines at points.
    void hang(int n, double points)
    {
        QTextBlockFormat f = block(n).blockFormat();
        f.setLeftMargin(points * kMarginPixelsPerPoint);
        f.setTextIndent(-points * kMarginPixelsPerPoint);
        QTextCursor(block(n)).setBlockFormat(f);
    }
};

} // namespace

// --- character attributes ---

TEST_F(FormatFixture, SelectionWritesChangeOnlyTheSelectedCharacters)
{
    editor.setPlainText("abcdef");
    select(2, 4);
    EXPECT_EQ(editor.SelectionLength(), 2);
    changes = 0;
    editor.SelectionAttributes().SetStyle(fsBold | fsUnderline);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(StyleOfFormat(formatAt(1)), 0u);
    EXPECT_EQ(StyleOfFormat(formatAt(2)), fsBold | fsUnderline);
    EXPECT_EQ(StyleOfFormat(formatAt(3)), fsBold | fsUnderline);
    EXPECT_EQ(StyleOfFormat(formatAt(4)), 0u);
    EXPECT_EQ(editor.SelectionAttributes().Style(), fsBold | fsUnderline);
    // Writing Style writes all four flags: the bold goes again.
    editor.SelectionAttributes().SetStyle(fsStrikeOut);
    EXPECT_EQ(StyleOfFormat(formatAt(2)), fsStrikeOut);
}

TEST_F(FormatFixture, MixedSelectionReportsItsFirstCharacterAndBecomesUniform)
{
    editor.setPlainText("abcdef");
    select(3, 6);
    editor.SelectionAttributes().SetStyle(fsItalic);
    select(1, 5); // b c plain, d e italic
    EXPECT_EQ(editor.SelectionAttributes().Style(), 0u);
    editor.SelectionAttributes().SetStyle(editor.SelectionAttributes().Style());
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(StyleOfFormat(formatAt(i)), 0u) << i;
    EXPECT_EQ(StyleOfFormat(formatAt(5)), fsItalic);

    select(5, 6);
    editor.SelectionAttributes().SetSize(20);
    select(5, 0); // anchor behind: the first character is still the one at 0
    EXPECT_EQ(editor.SelectionAttributes().Size(), editor.document()->defaultFont().pointSize());
}

TEST_F(FormatFixture, WritesKeepTheOtherPropertiesOfEachRun)
{
    editor.setPlainText("abcd");
    select(0, 2);
    editor.SelectionAttributes().SetColor(RGBColor(255, 0, 0));
    select(2, 4);
    editor.SelectionAttributes().SetSize(18);
    select(0, 4);
    editor.SelectionAttributes().SetName("Courier");
    EXPECT_EQ(formatAt(0).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(3).fontPointSize(), 18);
    EXPECT_FALSE(formatAt(3).hasProperty(QTextFormat::ForegroundBrush));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(formatAt(i).fontFamilies().toStringList(), QStringList{"Courier"});
}

TEST_F(FormatFixture, SizeIsWholePointsAndColourMapsAutoToWindowText)
{
    editor.setPlainText("abc");
    select(0, 3);
    QTextCharFormat half;
    half.setFontPointSize(10.5);
    editor.textCursor().mergeCharFormat(half);
    EXPECT_EQ(editor.SelectionAttributes().Size(), 10);

    EXPECT_EQ(editor.SelectionAttributes().Color(), clWindowText);
    editor.SelectionAttributes().SetColor(RGBColor(0, 0, 255));
    EXPECT_EQ(editor.SelectionAttributes().Color(), RGBColor(0, 0, 255));
    EXPECT_EQ(formatAt(1).foreground().color(), QColor(0, 0, 255));
    editor.SelectionAttributes().SetColor(clWindowText);
    EXPECT_FALSE(formatAt(1).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(editor.SelectionAttributes().Color(), clWindowText);

    editor.SelectionAttributes().SetName(QString(40, 'x'));
    EXPECT_EQ(editor.SelectionAttributes().Name(), QString(31, 'x'));
}

TEST_F(FormatFixture, DefaultFormatGoesToTypedTextAndLeavesTheRest)
{
    editor.setPlainText("alt");
    editor.moveCursor(QTextCursor::End);
    editor.DefaultAttributes().SetStyle(fsBold);
    EXPECT_EQ(editor.DefaultAttributes().Style(), fsBold);
    QTest::keyClicks(&editor, "neu");
    EXPECT_EQ(editor.toPlainText(), "altneu");
    EXPECT_EQ(StyleOfFormat(formatAt(1)), 0u);
    EXPECT_EQ(StyleOfFormat(formatAt(4)), fsBold);
    editor.DefaultAttributes().SetStyle(0);
    EXPECT_EQ(editor.DefaultAttributes().Style(), 0u);
}

TEST_F(FormatFixture, BaseFontIsCopiedIntoTheDefaultFormatOnlyWhenChanged)
{
    editor.SetBaseFont("Courier", 14);
    EXPECT_EQ(editor.DefaultAttributes().Name(), "Courier");
    EXPECT_EQ(editor.DefaultAttributes().Size(), 14);
    editor.DefaultAttributes().SetSize(8);
    editor.SetBaseFont("Courier", 14); // unchanged: nothing happens
    EXPECT_EQ(editor.DefaultAttributes().Size(), 8);
    editor.SetBaseFont("Courier", 12);
    EXPECT_EQ(editor.DefaultAttributes().Size(), 12);
}

TEST(EditorWithoutWindow, AttributesAreEmptyAndUndoIsNotSent)
{
    TRichEdit editor;
    editor.setPlainText("abc");
    QTextCursor c(editor.document());
    c.select(QTextCursor::Document);
    editor.setTextCursor(c);
    editor.SelectionAttributes().SetStyle(fsBold);
    EXPECT_EQ(editor.SelectionAttributes().Style(), 0u);
    EXPECT_EQ(editor.SelectionAttributes().Size(), 0);
    EXPECT_TRUE(editor.DefaultAttributes().Name().isEmpty());
    EXPECT_EQ(editor.SelectionAttributes().Color(), clBlack);
    c.setPosition(0);
    QTextCharFormat probe = c.charFormat();
    EXPECT_EQ(StyleOfFormat(probe), 0u);

    editor.textCursor().insertText("x");
    editor.UndoLastEdit();
    EXPECT_EQ(editor.toPlainText(), "x");
    editor.show();
    editor.UndoLastEdit();
    EXPECT_EQ(editor.toPlainText(), "abc");
}

// --- paragraphs ---

TEST_F(FormatFixture, BulletsRaiseSmallOffsetsToTenPointsAndNoneSetsZero)
{
    editor.setPlainText("eins\nzwei\ndrei");
    hang(0, 15);
    select(0, block(2).position() + 2);
    EXPECT_EQ(editor.ParagraphAttributes().Numbering(), nsNone);
    editor.ParagraphAttributes().SetNumbering(nsBullet);
    for (int n = 0; n < 3; ++n)
        ASSERT_NE(block(n).textList(), nullptr) << n;
    EXPECT_EQ(block(0).textList(), block(2).textList());
    EXPECT_DOUBLE_EQ(offsetOfBlock(0), 15);
    EXPECT_DOUBLE_EQ(offsetOfBlock(1), 10);
    EXPECT_DOUBLE_EQ(offsetOfBlock(2), 10);
    // The first line starts behind the bullet, at the hanging offset.
    EXPECT_DOUBLE_EQ(block(1).blockFormat().leftMargin(), 10 * kMarginPixelsPerPoint);
    EXPECT_DOUBLE_EQ(block(1).blockFormat().textIndent(), 0);
    EXPECT_EQ(editor.ParagraphAttributes().Numbering(), nsBullet);

    caretAt(block(0).position());
    editor.ParagraphAttributes().SetNumbering(nsNone);
    EXPECT_EQ(block(0).textList(), nullptr);
    EXPECT_NE(block(1).textList(), nullptr);
    EXPECT_DOUBLE_EQ(offsetOfBlock(0), 0);
    EXPECT_DOUBLE_EQ(block(0).blockFormat().leftMargin(), 0);
}

TEST_F(FormatFixture, HangingOffsetKeepsTheStartIndent)
{
    editor.setPlainText("eins");
    QTextBlockFormat f;
    f.setLeftMargin(30 * kMarginPixelsPerPoint);
    f.setTextIndent(-10 * kMarginPixelsPerPoint); // starts at 20 pt, hangs 10
    QTextCursor(block(0)).setBlockFormat(f);
    caretAt(0);
    EXPECT_DOUBLE_EQ(editor.ParagraphAttributes().Offset(), 10);
    editor.ParagraphAttributes().SetOffset(4);
    EXPECT_DOUBLE_EQ(block(0).blockFormat().leftMargin(), 24 * kMarginPixelsPerPoint);
    EXPECT_DOUBLE_EQ(block(0).blockFormat().textIndent(), -4 * kMarginPixelsPerPoint);
}

TEST_F(FormatFixture, AlignmentCoversEveryTouchedParagraph)
{
    editor.setPlainText("eins\nzwei\ndrei\nvier");
    select(2, block(2).position()); // into the start of "drei"
    editor.ParagraphAttributes().SetAlignment(taCenter);
    EXPECT_EQ(block(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(block(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_NE(block(3).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    caretAt(block(3).position() + 1);
    editor.ParagraphAttributes().SetAlignment(taRightJustify);
    EXPECT_EQ(editor.ParagraphAttributes().Alignment(), taRightJustify);
    caretAt(0);
    EXPECT_EQ(editor.ParagraphAttributes().Alignment(), taCenter);
    select(block(3).position() + 2, 1); // reported: the first touched paragraph
    EXPECT_EQ(editor.ParagraphAttributes().Alignment(), taCenter);
}

// --- clipboard ---

TEST_F(FormatFixture, CopyOffersTextRtfAndHtmlOfTheSelection)
{
    editor.setPlainText("vorher fett nachher\nzweite");
    select(7, 26);
    editor.SelectionAttributes().SetStyle(fsBold);
    editor.CopySelection();
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), "fett nachher\nzweite");
    EXPECT_TRUE(data->data("text/rtf").startsWith("{\\rtf1"));
    EXPECT_EQ(data->data("application/rtf"), data->data("text/rtf"));
    EXPECT_TRUE(data->data("text/rtf").contains("fett nachher"));
    EXPECT_FALSE(data->data("text/rtf").contains("vorher"));
    EXPECT_TRUE(data->html().contains("fett nachher"));
    EXPECT_TRUE(data->html().contains("font-weight:700")) << data->html().toStdString();
    EXPECT_EQ(editor.toPlainText(), "vorher fett nachher\nzweite");

    editor.CutSelection();
    EXPECT_EQ(editor.toPlainText(), "vorher ");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "fett nachher\nzweite");
}

TEST_F(FormatFixture, PastePrefersRtfThenHtmlThenText)
{
    auto offer = [](const QByteArray &rtf, const QString &html, const QString &text) {
        auto *data = new QMimeData;
        if (!rtf.isEmpty())
            data->setData("text/rtf", rtf);
        if (!html.isEmpty())
            data->setHtml(html);
        if (!text.isEmpty())
            data->setText(text);
        QGuiApplication::clipboard()->setMimeData(data);
    };
    offer("{\\rtf1\\ansi aus rtf}", "<p>aus html</p>", "aus text");
    editor.PasteClipboard();
    EXPECT_EQ(editor.toPlainText(), "aus rtf");

    editor.clear();
    auto *alt = new QMimeData;
    alt->setData("application/rtf", "{\\rtf1\\ansi nur application}");
    QGuiApplication::clipboard()->setMimeData(alt);
    editor.PasteClipboard();
    EXPECT_EQ(editor.toPlainText(), "nur application");

    editor.clear();
    offer({}, "<p>aus <b>html</b></p>", "aus text");
    editor.PasteClipboard();
    EXPECT_EQ(editor.toPlainText(), "aus html");
    EXPECT_EQ(StyleOfFormat(formatAt(4)), fsBold);

    editor.clear();
    offer("kein rtf", {}, "aus text");
    editor.PasteClipboard();
    EXPECT_EQ(editor.toPlainText(), "aus text");
}

TEST_F(FormatFixture, PastedTextReplacesTheSelectionAndCanBeUndone)
{
    editor.setPlainText("eins zwei drei");
    QGuiApplication::clipboard()->setText("2");
    select(5, 9);
    editor.PasteClipboard();
    EXPECT_EQ(editor.toPlainText(), "eins 2 drei");
    EXPECT_EQ(editor.textCursor().position(), 6);
    editor.UndoLastEdit();
    EXPECT_EQ(editor.toPlainText(), "eins zwei drei");
}

TEST_F(FormatFixture, TextTypedAfterHiddenTextShows)
{
    QTextCursor cursor(editor.document());
    cursor.insertText("a");
    QTextCharFormat hidden;
    hidden.setProperty(rtf::HiddenTextProperty, true);
    hidden.setProperty(QTextFormat::FontPixelSize, 1);
    cursor.insertText("hid", hidden);
    editor.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor, "x");
    EXPECT_EQ(editor.toPlainText(), "ahidx");
    EXPECT_TRUE(formatAt(2).boolProperty(rtf::HiddenTextProperty));
    EXPECT_FALSE(formatAt(4).boolProperty(rtf::HiddenTextProperty));
    EXPECT_FALSE(formatAt(4).hasProperty(QTextFormat::FontPixelSize));
}

// --- a line at the top ---

TEST_F(FormatFixture, InsertLinePutsANewFirstLineWithoutUndoRecord)
{
    editor.setPlainText("erste");
    editor.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor, "x");
    select(1, 3);
    changes = 0;
    editor.InsertLine(0, "Stempel");
    EXPECT_EQ(editor.toPlainText(), "Stempel\nerstex");
    EXPECT_FALSE(editor.textCursor().hasSelection());
    EXPECT_EQ(editor.textCursor().position(), 8);
    EXPECT_GT(changes, 0);
    editor.UndoLastEdit();
    EXPECT_EQ(editor.toPlainText(), "Stempel\nerstex");
    // Typing afterwards is undoable again.
    QTest::keyClicks(&editor, "y");
    editor.UndoLastEdit();
    EXPECT_EQ(editor.toPlainText(), "Stempel\nerstex");
    EXPECT_TRUE(editor.document()->isUndoRedoEnabled());
}

TEST_F(FormatFixture, InsertLineFailsWithoutRoomOrLine)
{
    editor.setPlainText("abc");
    editor.SetTextLimit(8);
    EXPECT_EQ(MessageOf([&] { editor.InsertLine(0, "1234"); }), "Fehler bei Einfügen von RichEdit-Zeile");
    EXPECT_EQ(editor.toPlainText(), "abc");
    editor.InsertLine(0, "123");
    EXPECT_EQ(editor.toPlainText(), "123\nabc");
    editor.SetTextLimit(TRichEdit::kMaxTextLimit);
    EXPECT_EQ(MessageOf([&] { editor.InsertLine(5, "x"); }), "Fehler bei Einfügen von RichEdit-Zeile");
    editor.InsertLine(1, "mitte");
    EXPECT_EQ(editor.toPlainText(), "123\nmitte\nabc");
    EXPECT_EQ(editor.textCursor().position(), 10);
}
