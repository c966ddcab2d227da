// The red wave under misspelled words in the card editor: display only,
// visible paragraphs first, edits followed.

#include "hunspelldictionary.h"
#include "richedit.h"
#include "spellchecker.h"
#include "spellhighlighter.h"
#include "tempfolder.h"

#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <gtest/gtest.h>

using controls::TSpellHighlighter;

namespace {

struct SpellHighlighterTest : ::testing::Test {
    testing_support::TempFolder dir;
    platform::TSpellChecker checker{{QStringLiteral("de_DE"), QStringLiteral("en_US")}, platform::SystemDictionaryFolders(),
                                    dir.file(QStringLiteral("Woerterbuch.txt"))};
    controls::TRichEdit editor;
    TSpellHighlighter *highlighter = new TSpellHighlighter(&editor);
    int changes = 0;

    void SetUp() override
    {
        ASSERT_TRUE(checker.HasDictionary());
        editor.OnChange = [this](QObject *) { ++changes; };
        editor.resize(400, 200);
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    }
    void load(const QByteArray &rtf)
    {
        dir.write(QStringLiteral("k.rtf"), rtf);
        editor.LoadDocument(dir.file(QStringLiteral("k.rtf")));
    }
    bool settle() { return QTest::qWaitFor([this] { return highlighter->Finished(); }, 10000); }
    QStringList underlined() const
    {
        QStringList words;
        for (const QTextCursor &word : highlighter->Underlines())
            words << word.selectedText();
        return words;
    }
    void typeAt(int position, const QString &text)
    {
        QTextCursor c = editor.textCursor();
        c.setPosition(position);
        editor.setTextCursor(c);
        QTest::keyClicks(&editor, text);
    }
};

TEST_F(SpellHighlighterTest, UnderlinesOnlyOnTheScreenNeverInTheCard)
{
    load("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Das Hauss hat einen \\b Garrten\\b0 .\\par}");
    editor.SaveDocument(dir.file(QStringLiteral("before.rtf")));
    highlighter->SetChecker(&checker);
    ASSERT_TRUE(settle());
    EXPECT_EQ(underlined(), (QStringList{"Hauss", "Garrten"}));
    // Drawn in red under the word, on the screen only.
    const QImage shown = editor.grab().toImage();
    int red = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            red += shown.pixelColor(x, y) == QColor(Qt::red) ? 1 : 0;
    EXPECT_GT(red, 20);

    editor.SaveDocument(dir.file(QStringLiteral("after.rtf")));
    EXPECT_EQ(dir.read(QStringLiteral("after.rtf")), dir.read(QStringLiteral("before.rtf")));
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(editor.document()->isModified());
    EXPECT_FALSE(editor.document()->isUndoAvailable());
    editor.selectAll();
    std::unique_ptr<QMimeData> copied(controls::TRichEdit::MimeDataFor(editor.textCursor().selection(), editor.BaseFont()));
    EXPECT_FALSE(copied->data(QStringLiteral("text/rtf")).contains("\\ul"));
    EXPECT_FALSE(copied->html().contains(QStringLiteral("underline")));
    EXPECT_FALSE(copied->html().contains(QStringLiteral("wave")));

    highlighter->SetChecker(nullptr);
    EXPECT_TRUE(underlined().isEmpty());
}

TEST_F(SpellHighlighterTest, ChecksWhatIsVisibleFirstAndTheRestInSlices)
{
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 20000; ++i)
        rtf += "Zeile mit einem Fehlrwort und noch mehr Text darin\\par ";
    load(rtf + "}");
    const int blocks = editor.document()->blockCount();
    highlighter->SetChecker(&checker);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !highlighter->Underlines().isEmpty(); }, 10000));
    EXPECT_LT(underlined().size(), 100);
    const int afterFirstTurn = highlighter->CheckedBlocks();
    EXPECT_LT(afterFirstTurn, blocks);
    ASSERT_TRUE(settle());
    EXPECT_EQ(highlighter->CheckedBlocks(), blocks);

    // A new card is checked afresh.
    load("{\\rtf1\\ansi Neue Notizz\\par}");
    ASSERT_TRUE(settle());
    EXPECT_EQ(underlined(), QStringList{"Notizz"});
}

TEST_F(SpellHighlighterTest, FollowsEditsAndLeavesTheWordBeingTypedAlone)
{
    load("{\\rtf1\\ansi Ein Garrten und ein Baum\\par}");
    highlighter->SetChecker(&checker);
    ASSERT_TRUE(settle());
    ASSERT_EQ(underlined(), QStringList{"Garrten"});

    // Typing in front shifts the underline along with the word.
    typeAt(0, QStringLiteral("Noch "));
    ASSERT_TRUE(settle());
    EXPECT_EQ(underlined(), QStringList{"Garrten"});

    // A wrong word is not marked while the caret is still in it ...
    typeAt(editor.document()->characterCount() - 1, QStringLiteral(" Hauss"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(underlined(), QStringList{"Garrten"});
    // ... but once the caret leaves it.
    QTest::keyClicks(&editor, QStringLiteral(" "));
    ASSERT_TRUE(settle());
    EXPECT_EQ(underlined(), (QStringList{"Garrten", "Hauss"}));

    // Correcting a word inside the paragraph takes its underline away.
    const int r = editor.toPlainText().indexOf(QStringLiteral("rrten"));
    QTextCursor c = editor.textCursor();
    c.setPosition(r);
    c.deleteChar();
    ASSERT_TRUE(settle());
    EXPECT_EQ(underlined(), QStringList{"Hauss"});
    const QTextCursor at = highlighter->MisspelledWordAt(editor.toPlainText().indexOf(QStringLiteral("Hauss")) + 5);
    EXPECT_EQ(at.selectedText(), QStringLiteral("Hauss"));
    EXPECT_TRUE(highlighter->MisspelledWordAt(2).isNull());

    // Paragraphs joined and split are checked again.
    c.movePosition(QTextCursor::End);
    c.insertBlock();
    c.insertText(QStringLiteral("Zweite Zeille"));
    editor.moveCursor(QTextCursor::Start);
    ASSERT_TRUE(settle());
    EXPECT_EQ(underlined(), (QStringList{"Hauss", "Zeille"}));
}

TEST_F(SpellHighlighterTest, APersonalOrIgnoredWordLosesItsUnderlineEverywhere)
{
    load("{\\rtf1\\ansi Fennwick und Fennwick\\par Ein Bauum\\par}");
    highlighter->SetChecker(&checker);
    ASSERT_TRUE(settle());
    ASSERT_EQ(underlined(), (QStringList{"Fennwick", "Fennwick", "Bauum"}));
    checker.AddToDictionary(QStringLiteral("Fennwick"));
    highlighter->Recheck();
    ASSERT_TRUE(settle());
    EXPECT_EQ(underlined(), QStringList{"Bauum"});
    checker.Ignore(QStringLiteral("Bauum"));
    highlighter->Recheck();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(underlined().isEmpty());
}

} // namespace
