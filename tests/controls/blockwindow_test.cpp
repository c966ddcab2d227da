#include "blockwindow.h"
#include "documentresources.h"
#include "richedit.h"
#include "tempfolder.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace controls;
using testing_support::TempFolder;

namespace {
// A card with more paragraphs than the layout is given at once.
struct BigCard : ::testing::Test {
    static constexpr int kLines = TBlockWindow::kBigBlocks + 5000;
    TRichEdit editor;
    TempFolder dir;
    TBlockWindow *window = nullptr;
    void SetUp() override
    {
        QByteArray text;
        for (int i = 0; i < kLines; ++i)
            text += "Zeile " + QByteArray::number(i) + '\n';
        dir.write("big.rtf", text);
        editor.resize(400, 300);
        editor.LoadDocument(dir.file("big.rtf"));
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
        window = editor.findChild<TBlockWindow *>();
        ASSERT_NE(window, nullptr);
    }
    bool shown(int block) const { return editor.document()->findBlockByNumber(block).isVisible(); }
};
} // namespace

TEST_F(BigCard, TheWindowFollowsTheCaretAndTheTextStaysWhole)
{
    ASSERT_TRUE(window->Active());
    EXPECT_TRUE(shown(0));
    EXPECT_FALSE(shown(kLines - 1));
    // Ctrl+End takes the window to the end, where typing lands and shows.
    QTest::keyClick(&editor, Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(shown(kLines));
    EXPECT_FALSE(shown(0));
    QTest::keyClicks(&editor, "Ende");
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, "Neu");
    EXPECT_EQ(editor.textCursor().block().text(), "Neu");
    EXPECT_TRUE(editor.textCursor().block().isVisible());
    EXPECT_TRUE(editor.cursorRect().intersects(editor.viewport()->rect())) << "the caret is in view";
    // Saved, copied (as printing and export take it) and searched whole.
    editor.SaveDocument(dir.file("saved.rtf"));
    TRichEdit reread;
    reread.LoadDocument(dir.file("saved.rtf"));
    EXPECT_EQ(reread.toPlainText(), editor.toPlainText());
    EXPECT_TRUE(editor.toPlainText().startsWith("Zeile 0\nZeile 1\n"));
    EXPECT_TRUE(editor.toPlainText().endsWith("Zeile " + QString::number(kLines - 1) + "\nEnde\nNeu"));
    const auto copy = platform::CopyDocument(*editor.document());
    int hidden = 0;
    for (QTextBlock b = copy->begin(); b.isValid(); b = b.next())
        hidden += !b.isVisible();
    EXPECT_EQ(hidden, 0);
    // Back at the start, the window goes along.
    QTest::keyClick(&editor, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_TRUE(shown(0));
    EXPECT_FALSE(shown(kLines));
}

TEST_F(BigCard, ScrollingTowardsTheEdgeMovesTheWindow)
{
    const int last = window->Last();
    ASSERT_LT(last, kLines);
    QScrollBar *scroll = editor.verticalScrollBar();
    // The layout tells the scroll range as it goes.
    for (int i = 0; i < 100 && window->Last() == last; ++i) {
        QTest::qWait(20);
        scroll->setValue(scroll->maximum());
    }
    EXPECT_GT(window->Last(), last);
    EXPECT_TRUE(shown(editor.cursorForPosition(QPoint(0, 0)).blockNumber())) << "what is in view shows";
}

TEST_F(BigCard, ASmallDocumentShowsWhole)
{
    editor.selectAll();
    QTest::keyClicks(&editor, "klein");
    EXPECT_FALSE(window->Active());
    EXPECT_TRUE(shown(0));
    dir.write("small.rtf", "eins\nzwei");
    editor.LoadDocument(dir.file("small.rtf"));
    EXPECT_FALSE(window->Active());
    EXPECT_EQ(window->Last(), 1);
}
