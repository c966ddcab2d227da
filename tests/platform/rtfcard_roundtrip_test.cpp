#include "platform/richedit.h"
#include "platform/textattributes.h"
#include "tests/common/tempfolder.h"

#include <QTextBlock>
#include <QTextList>
#include <gtest/gtest.h>

using namespace platform;

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
