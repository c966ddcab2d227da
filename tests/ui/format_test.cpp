// The main window's formatting commands: style toggles, alignment, bullets
// and the font dialog.

#include "cardstore.h"
#include "guarded.h"
#include "richedit.h"
#include "textattributes.h"
#include "modaldriver.h"
#include "tempfolder.h"
#include "kartolinounit.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace platform;
using namespace controls;
using testing_support::TempFolder;
using ui::TDialogFont;
using ui::TfrmMain;

namespace {

struct FormatCommands : ::testing::Test {
    TempFolder program;
    std::unique_ptr<TfrmMain> window = std::make_unique<TfrmMain>();
    TRichEdit *editor = nullptr;

    void SetUp() override
    {
        program.mkdir("KRT");
        program.write("KRT/Karte.rtf", "eins zwei drei\nvier\nfuenf");
        window->SetProgramFolder(program.path());
        window->StartMinimised();
        window->showNormal();
        ASSERT_TRUE(window->FirstShowDone());
        editor = window->Editor();
        ASSERT_EQ(editor->toPlainText(), "eins zwei drei\nvier\nfuenf");
    }
    void select(int from, int to)
    {
        QTextCursor c(editor->document());
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        editor->setTextCursor(c);
    }
    TFontStyles styleAt(int position) const
    {
        QTextCursor c(editor->document());
        c.setPosition(position + 1);
        return StyleOfFormat(c.charFormat());
    }
    QTextCharFormat formatAt(int position) const
    {
        QTextCursor c(editor->document());
        c.setPosition(position + 1);
        return c.charFormat();
    }
    QTextBlock block(int n) const { return editor->document()->findBlockByNumber(n); }
    Qt::Alignment alignmentOf(int n) const { return block(n).blockFormat().alignment() & Qt::AlignHorizontal_Mask; }
};

} // namespace

TEST_F(FormatCommands, TwoBoldClicksRestoreAndEachMarksTheCard)
{
    select(5, 9);
    editor->SelectionAttributes().SetStyle(fsItalic | fsUnderline);
    window->Cards().SetCardModified(false);
    window->spBoldClick(nullptr);
    EXPECT_EQ(styleAt(5), fsBold | fsItalic | fsUnderline);
    EXPECT_EQ(styleAt(8), fsBold | fsItalic | fsUnderline);
    EXPECT_EQ(styleAt(9), 0u);
    EXPECT_TRUE(window->Cards().CardModified());
    window->spBoldClick(nullptr);
    EXPECT_EQ(styleAt(5), fsItalic | fsUnderline);
    window->spItalicClick(nullptr);
    window->spUnderlineClick(nullptr);
    EXPECT_EQ(styleAt(7), 0u);
}

TEST_F(FormatCommands, BoldOnAPartlyItalicSelectionFollowsItsFirstCharacter)
{
    // "zwei" italic; a selection starting in plain text reports not italic.
    select(5, 9);
    editor->SelectionAttributes().SetStyle(fsItalic);
    select(0, 9);
    window->spBoldClick(nullptr);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(styleAt(i), fsBold) << i;

    // Starting in italic text, all of it becomes italic.
    select(10, 14);
    editor->SelectionAttributes().SetStyle(fsItalic);
    select(10, block(1).position() + 2);
    window->spBoldClick(nullptr);
    for (int i = 10; i < block(1).position() + 2; ++i) {
        if (i != 14) { // the paragraph end
            EXPECT_EQ(styleAt(i), fsBold | fsItalic) << i;
        }
    }
}

TEST_F(FormatCommands, WithNothingSelectedTogglesChangeTheDefaultFormatOnly)
{
    select(4, 4);
    bool dialogOpened = false;
    window->SetFontDialogStep([&](TDialogFont &, QWidget *) { return dialogOpened = true; });
    window->mnuSchriftClick(nullptr);
    EXPECT_FALSE(dialogOpened);

    window->Cards().SetCardModified(false);
    window->spBoldClick(nullptr);
    EXPECT_EQ(editor->DefaultAttributes().Style(), fsBold);
    // The text did not change, so neither did the card.
    EXPECT_FALSE(window->Cards().CardModified());
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(styleAt(i), 0u) << i;
    QTest::keyClicks(editor, "X");
    EXPECT_EQ(editor->toPlainText().left(6), "einsX ");
    EXPECT_EQ(styleAt(4), fsBold);
    window->spBoldClick(nullptr);
    EXPECT_EQ(editor->DefaultAttributes().Style(), 0u);
}

TEST_F(FormatCommands, AlignmentWithoutSelectionChangesOnlyTheCaretsParagraph)
{
    select(block(1).position() + 2, block(1).position() + 2);
    window->spCenterClick(nullptr);
    EXPECT_EQ(alignmentOf(1), Qt::AlignHCenter);
    EXPECT_NE(alignmentOf(0), Qt::AlignHCenter);
    EXPECT_NE(alignmentOf(2), Qt::AlignHCenter);
    select(3, block(2).position());
    window->spRightClick(nullptr);
    EXPECT_EQ(alignmentOf(0), Qt::AlignRight);
    EXPECT_EQ(alignmentOf(1), Qt::AlignRight);
    EXPECT_EQ(alignmentOf(2), Qt::AlignRight);
    window->spLeftClick(nullptr);
    EXPECT_EQ(alignmentOf(1), Qt::AlignLeft);
}

TEST_F(FormatCommands, BulletToggleRaisesOffsetsAndClearsThem)
{
    QTextBlockFormat hanging;
    hanging.setLeftMargin(15 * kMarginPixelsPerPoint);
    hanging.setTextIndent(-15 * kMarginPixelsPerPoint);
    QTextCursor(block(0)).setBlockFormat(hanging);

    select(0, 0);
    window->spBulletClick(nullptr);
    EXPECT_NE(block(0).textList(), nullptr);
    EXPECT_EQ(block(1).textList(), nullptr);
    EXPECT_DOUBLE_EQ(editor->ParagraphAttributes().Offset(), 15);

    select(block(1).position(), block(2).position());
    window->spBulletClick(nullptr);
    EXPECT_NE(block(1).textList(), nullptr);
    EXPECT_NE(block(2).textList(), nullptr);
    EXPECT_DOUBLE_EQ(editor->ParagraphAttributes().Offset(), 10);

    // Off: numbering gone and the offset 0, for every touched paragraph.
    select(0, block(2).position());
    window->spBulletClick(nullptr);
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(block(n).textList(), nullptr) << n;
        EXPECT_DOUBLE_EQ(block(n).blockFormat().leftMargin(), 0) << n;
        EXPECT_DOUBLE_EQ(block(n).blockFormat().textIndent(), 0) << n;
    }
}

TEST_F(FormatCommands, FontDialogShowsWholePointsAndWritesOnlyWhatWasChanged)
{
    select(0, 4);
    QTextCharFormat look;
    look.setFontFamilies({"Courier"});
    look.setFontPointSize(10.5);
    look.setFontItalic(true);
    look.setForeground(QColor(0, 128, 0));
    editor->textCursor().mergeCharFormat(look);
    select(0, 9); // "zwei" still has the default font
    const QString before = editor->document()->toHtml();

    TDialogFont shown;
    window->SetFontDialogStep([&](TDialogFont &font, QWidget *parent) {
        shown = font;
        EXPECT_EQ(parent, window.get());
        return true; // confirmed without changes
    });
    window->mnuSchriftClick(nullptr);
    EXPECT_EQ(shown.name, "Courier");
    EXPECT_EQ(shown.size, 10);
    EXPECT_EQ(shown.style, fsItalic);
    EXPECT_EQ(shown.color, RGBColor(0, 128, 0));
    EXPECT_EQ(editor->document()->toHtml(), before) << "OK without a change changes nothing";

    // Only the size changed: the mixed names, styles and colours stay.
    window->SetFontDialogStep([](TDialogFont &font, QWidget *) {
        font.size = 16;
        return true;
    });
    window->mnuSchriftClick(nullptr);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(formatAt(i).fontPointSize(), 16) << i;
    EXPECT_EQ(formatAt(0).fontFamilies().toStringList(), QStringList{"Courier"});
    EXPECT_EQ(StyleOfFormat(formatAt(0)), fsItalic);
    EXPECT_NE(formatAt(6).fontFamilies().toStringList(), QStringList{"Courier"});
    EXPECT_EQ(StyleOfFormat(formatAt(6)), 0u);
    EXPECT_FALSE(formatAt(6).hasProperty(QTextFormat::ForegroundBrush));
}

TEST_F(FormatCommands, FontDialogChangesAreAppliedAndCancelChangesNothing)
{
    select(5, 9);
    window->SetFontDialogStep([](TDialogFont &font, QWidget *) {
        font.name = "Times";
        font.size = 20;
        font.style = fsBold | fsStrikeOut;
        font.color = clWindowText;
        return true;
    });
    window->mnuSchriftClick(nullptr);
    EXPECT_EQ(editor->SelectionAttributes().Name(), "Times");
    EXPECT_EQ(editor->SelectionAttributes().Size(), 20);
    EXPECT_EQ(editor->SelectionAttributes().Style(), fsBold | fsStrikeOut);
    EXPECT_FALSE(formatAt(6).hasProperty(QTextFormat::ForegroundBrush));

    const QString before = editor->document()->toHtml();
    window->Cards().SetCardModified(false);
    window->SetFontDialogStep([](TDialogFont &font, QWidget *) {
        font.size = 40;
        return false;
    });
    window->mnuSchriftClick(nullptr);
    EXPECT_EQ(editor->document()->toHtml(), before);
    EXPECT_FALSE(window->Cards().CardModified());
}

TEST_F(FormatCommands, RealFontDialogOpensOnWholePointsAndOkWithoutChangeKeepsTheFont)
{
    select(0, 4);
    QTextCharFormat look;
    look.setFontFamilies({"Arial"}); // not installed here: the dialog shows what it maps to
    look.setFontPointSize(10.5);
    look.setFontUnderline(true);
    editor->textCursor().mergeCharFormat(look);

    QStringList edits;
    bool colourButton = false;
    ModalDriver driver;
    driver.Press("OK").Inspect([&](QWidget *dialog) {
        for (QLineEdit *edit : dialog->findChildren<QLineEdit *>())
            edits << edit->text();
        for (QPushButton *button : dialog->findChildren<QPushButton *>())
            colourButton = colourButton || button->text() == QString::fromUtf8("&Farbe …");
    });
    const QString before = editor->document()->toHtml();
    window->mnuSchriftClick(nullptr);
    EXPECT_EQ(driver.Pending(), 0);
    EXPECT_TRUE(edits.contains("10")) << edits.join('|').toStdString();
    EXPECT_TRUE(colourButton);
    EXPECT_EQ(editor->document()->toHtml(), before);
    EXPECT_EQ(formatAt(0).fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_EQ(formatAt(0).fontPointSize(), 10.5);
    EXPECT_EQ(StyleOfFormat(formatAt(3)), fsUnderline);

    driver.Press("Cancel");
    window->mnuSchriftClick(nullptr);
    EXPECT_EQ(driver.Pending(), 0);
    EXPECT_EQ(editor->document()->toHtml(), before);
}
