// The find bar in the main window: where typing leaves the user, what the
// bar shows when it opens, and Escape from the editor.

#include "findbar.h"
#include "mainwindowfixture.h"

#include <QLabel>
#include <QLineEdit>

using namespace ui;

TEST_F(MainWindowFixture, FindBarHabits)
{
    withCards({{"Eins", "{\\rtf1\\ansi nichts hier}"}, {"Zwei", "{\\rtf1\\ansi ein Apfel}"}});
    startAndRestore();
    TFindBar *bar = window->FindBar();
    controls::TRichEdit *editor = window->Editor();
    const int eins = tabs().Tabs().indexOf("Eins");
    tabs().SelectByUser(eins);
    ASSERT_EQ(tabs().TabIndex(), eins);
    QTextCursor caret(editor->document());
    caret.setPosition(3);
    editor->setTextCursor(caret);

    // Typing past the last hit goes back to where the search began.
    bar->Open();
    QTest::keyClicks(bar->Field(), "apf");
    EXPECT_EQ(tabs().Tab(tabs().TabIndex()), "Zwei");
    QTest::keyClicks(bar->Field(), "x");
    EXPECT_EQ(tabs().TabIndex(), eins);
    EXPECT_EQ(editor->textCursor().position(), 3);
    EXPECT_EQ(bar->Status()->text(), "Nicht gefunden");

    // Escape from the editor closes the bar; reopening shows no old count.
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(bar->isHidden());
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(bar->Status()->text().isEmpty());
    EXPECT_EQ(bar->Field()->text(), "apfx");

    // A selection in the card is the new term; one over a line end is not.
    bar->Close();
    QTextCursor word(editor->document());
    word.setPosition(6, QTextCursor::KeepAnchor);
    editor->setTextCursor(word);
    bar->Open();
    EXPECT_EQ(bar->Field()->text(), "nichts");
    EXPECT_EQ(bar->Field()->selectedText(), "nichts");
}
