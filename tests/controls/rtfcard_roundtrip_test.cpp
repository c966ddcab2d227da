#include "richedit.h"
#include "textattributes.h"
#include "tempfolder.h"

#include <QTextBlock>
#include <QTextList>
#include <gtest/gtest.h>

using namespace platform;
using namespace controls;

TEST(CardRoundTrip, ParagraphFormatsSurviveSaveAndLoad)
{
    testing_support::TempFolder dir;
    TRichEdit editor;
    editor.show();
    editor.setPlainText("eins\nzwei\ndrei");
    QTextCursor c(editor.document());
    editor.setTextCursor(c);
    editor.ParagraphAttributes().SetOffset(15);
    c.movePosition(QTextCursor::NextBlock);
    editor.setTextCursor(c);
    editor.ParagraphAttributes().SetNumbering(nsBullet);
    c.movePosition(QTextCursor::NextBlock);
    editor.setTextCursor(c);
    editor.ParagraphAttributes().SetAlignment(taCenter);
    const auto dump = [](TRichEdit &e) {
        QString s;
        for (QTextBlock b = e.document()->begin(); b.isValid(); b = b.next())
            s += QString("[%1 lm=%2 ti=%3 list=%4 al=%5]").arg(b.text()).arg(b.blockFormat().leftMargin()).arg(b.blockFormat().textIndent())
                     .arg(b.textList() ? b.textList()->format().indent() : -1).arg(int(b.blockFormat().alignment()));
        return s.toStdString();
    };
    const std::string before = dump(editor);
    editor.SaveDocument(dir.file("k.rtf"));
    TRichEdit other;
    other.show();
    other.LoadDocument(dir.file("k.rtf"));
    EXPECT_EQ(dump(other), before) << dir.read("k.rtf").toStdString();
    QTextCursor d(other.document());
    other.setTextCursor(d);
    EXPECT_DOUBLE_EQ(other.ParagraphAttributes().Offset(), 15);
    d.movePosition(QTextCursor::NextBlock);
    other.setTextCursor(d);
    EXPECT_EQ(other.ParagraphAttributes().Numbering(), nsBullet);
    EXPECT_DOUBLE_EQ(other.ParagraphAttributes().Offset(), 10);
}

TEST(CardRoundTrip, BulletsFromOtherProgramsStayVisible)
{
    // Word and WordPad hang the bullet: \li with a negative \fi.
    testing_support::TempFolder dir;
    dir.write("w.rtf", "{\\rtf1\\ansi{\\*\\pn\\pnlvlblt\\pnindent0{\\pntxtb\\'b7}}\\fi-360\\li720 Punkt\\par}");
    TRichEdit editor;
    editor.show();
    editor.LoadDocument(dir.file("w.rtf"));
    const QTextBlock block = editor.document()->begin();
    ASSERT_NE(block.textList(), nullptr);
    EXPECT_DOUBLE_EQ(block.blockFormat().leftMargin(), 48.0);
    EXPECT_GE(block.blockFormat().textIndent(), 0.0) << "a negative indent draws the bullet out of sight";
    editor.SaveDocument(dir.file("back.rtf"));
    EXPECT_TRUE(dir.read("back.rtf").contains("\\li720\\fi-720")) << dir.read("back.rtf").toStdString();
}
