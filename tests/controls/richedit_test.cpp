#include "documentresources.h"
#include "exception.h"
#include "richedit.h"
#include "tempfolder.h"

#include <QClipboard>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include "messageof.h"

using testing_support::MessageOf;

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace platform;
using namespace controls;
using testing_support::TempFolder;

namespace {
struct EditorFixture : ::testing::Test {
    TRichEdit editor;
    TempFolder dir;
    int changes = 0;
    void SetUp() override { editor.OnChange = [this](QObject *) { ++changes; }; }
};
} // namespace

TEST_F(EditorFixture, PlainTextCardShowsEveryLineEndAsBreak)
{
    dir.write("p.rtf", "eins\nzwei\rdrei\r\nvier");
    editor.LoadDocument(dir.file("p.rtf"));
    EXPECT_EQ(editor.toPlainText(), "eins\nzwei\ndrei\nvier");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(editor.TextLimit(), TRichEdit::kMaxTextLimit);
}

TEST_F(EditorFixture, PlainTextInWindows1252AndUtf8)
{
    dir.write("latin.rtf", "Gr\xFC\xDF" "e");
    editor.LoadDocument(dir.file("latin.rtf"));
    EXPECT_EQ(editor.toPlainText(), QString::fromUtf8("Grüße"));
    dir.write("utf8.rtf", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
    editor.LoadDocument(dir.file("utf8.rtf"));
    EXPECT_EQ(editor.toPlainText(), QString::fromUtf8("Grüße €"));
}

TEST_F(EditorFixture, RtfCardRoundTripsThroughSave)
{
    dir.write("r.rtf", "{\\rtf1\\ansi Hallo\\par Welt}");
    editor.LoadDocument(dir.file("r.rtf"));
    EXPECT_EQ(editor.toPlainText(), "Hallo\nWelt");
    editor.SaveDocument(dir.file("copy.rtf"));
    EXPECT_TRUE(dir.read("copy.rtf").startsWith("{\\rtf1"));
    TRichEdit other;
    other.LoadDocument(dir.file("copy.rtf"));
    EXPECT_EQ(other.toPlainText(), "Hallo\nWelt");
}

TEST_F(EditorFixture, FailedLoadKeepsContentAndSaysWhichFile)
{
    editor.setPlainText("bleibt");
    changes = 0;
    EXPECT_EQ(MessageOf([&] { editor.LoadDocument(dir.file("fehlt.rtf")); }),
              QString("Datei %1 kann nicht geöffnet werden").arg(dir.file("fehlt.rtf")));
    dir.mkdir("ordner.rtf");
    EXPECT_EQ(MessageOf([&] { editor.LoadDocument(dir.file("ordner.rtf")); }),
              QString("Datei %1 kann nicht geöffnet werden").arg(dir.file("ordner.rtf")));
    EXPECT_EQ(editor.toPlainText(), "bleibt");
    EXPECT_EQ(changes, 0);
}

TEST_F(EditorFixture, ChangeEventForTypingAndFormatButNotForLoad)
{
    dir.write("p.rtf", "abc");
    editor.LoadDocument(dir.file("p.rtf"));
    EXPECT_EQ(changes, 0);
    QTest::keyClicks(&editor, "x");
    EXPECT_GT(changes, 0);
    changes = 0;
    QTextCursor c(editor.document());
    c.select(QTextCursor::Document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.mergeCharFormat(bold);
    EXPECT_GT(changes, 0);
}

TEST_F(EditorFixture, ClearRaisesChangeOnlyWhenThereWasContent)
{
    editor.ClearDocument();
    EXPECT_EQ(changes, 0);
    editor.setPlainText("x");
    changes = 0;
    editor.ClearDocument();
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(editor.document()->isEmpty());
}

TEST_F(EditorFixture, SaveFailuresKeepThePreviousFile)
{
    editor.setPlainText("neu");
    dir.write("ro.rtf", "alt");
    ::chmod(QFile::encodeName(dir.file("ro.rtf")).constData(), 0444);
    EXPECT_EQ(MessageOf([&] { editor.SaveDocument(dir.file("ro.rtf")); }),
              QString("Datei %1 kann nicht erstellt werden").arg(dir.file("ro.rtf")));
    EXPECT_EQ(dir.read("ro.rtf"), "alt");

    dir.write("voll.rtf", "alt");
    editor.setPlainText(QString(20000, 'n'));
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = saved;
    limit.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const QString message = MessageOf([&] { editor.SaveDocument(dir.file("voll.rtf")); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
    EXPECT_EQ(message, "Das Speichern des Streams ist mißlungen");
    EXPECT_EQ(dir.read("voll.rtf"), "alt");
}

TEST_F(EditorFixture, TextLimitHoldsUntilFirstLoad)
{
    editor.SetTextLimit(5);
    editor.setFocus();
    QTest::keyClicks(&editor, "abcdefgh");
    EXPECT_EQ(editor.toPlainText(), "abcde");
    dir.write("p.rtf", "x");
    editor.LoadDocument(dir.file("p.rtf"));
    QTest::keyClicks(&editor, "abcdefgh");
    EXPECT_EQ(editor.toPlainText().size(), 9);
}

TEST_F(EditorFixture, PastedHtmlIsWrittenInTheSizeItIsShownIn)
{
    dir.write("big.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs48 Gross}");
    editor.LoadDocument(dir.file("big.rtf"));
    editor.moveCursor(QTextCursor::End);
    auto shownPoints = [](const QTextDocument *doc, int position) {
        QTextCursor c(const_cast<QTextDocument *>(doc));
        c.setPosition(position);
        return QFontInfo(c.charFormat().font().resolve(doc->defaultFont())).pointSizeF();
    };
    const struct {
        const char *html;
        const char *text;
    } rows[] = {{"<span>ohne</span>", "ohne"}, {"<span style=\"font-size:20px\">pixel</span>", "pixel"}};
    for (const auto &row : rows) {
        auto *data = new QMimeData;
        data->setHtml(row.html);
        QGuiApplication::clipboard()->setMimeData(data);
        editor.PasteClipboard();
        const int end = editor.textCursor().position();
        const double shown = shownPoints(editor.document(), end);
        EXPECT_LT(shown, 24) << row.text << ": not the size of the run before";
        editor.SaveDocument(dir.file("back.rtf"));
        TRichEdit reloaded;
        reloaded.LoadDocument(dir.file("back.rtf"));
        ASSERT_TRUE(reloaded.toPlainText().endsWith(row.text));
        EXPECT_NEAR(shownPoints(reloaded.document(), end), shown, 0.5) << row.text;
    }
}

TEST_F(EditorFixture, DocumentsWithoutTheEditorReadNoLocalFileAPictureNames)
{
    // Printing and export lay out copies; export reads cards into documents of their own.
    dir.write("geheim.txt", "geheim");
    const QUrl picture = QUrl::fromLocalFile(dir.file("geheim.txt"));
    dir.write("card.rtf", "{\\rtf1\\ansi Karte}");
    QTextCursor(editor.document()).insertHtml("<img src=\"" + picture.toString() + "\">");
    const std::unique_ptr<QTextDocument> read = TRichEdit::ReadDocument(dir.file("card.rtf"), editor.font());
    QTextCursor(read.get()).insertHtml("<img src=\"" + picture.toString() + "\">");
    const std::unique_ptr<QTextDocument> copy = platform::CopyDocument(*editor.document());
    for (const QTextDocument *doc : {copy.get(), read.get()})
        EXPECT_EQ(doc->resource(QTextDocument::ImageResource, picture).toByteArray(), QByteArray());
}

TEST_F(EditorFixture, BulletOfTheFirstLineAfterALoadIsDrawnInItsTextsFont)
{
    editor.SetBaseFont("Arial", 10);
    QTest::keyClicks(&editor, "eins");
    editor.ParagraphAttributes().SetNumbering(nsBullet);
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, "zwei");
    editor.SaveDocument(dir.file("b.rtf"));
    TRichEdit reloaded;
    reloaded.LoadDocument(dir.file("b.rtf"));
    // The bullet is drawn in the paragraph's own character format.
    for (QTextBlock b = reloaded.document()->begin(); b.isValid(); b = b.next()) {
        ASSERT_NE(b.textList(), nullptr) << b.text().toStdString();
        EXPECT_EQ(b.charFormat().fontPointSize(), 10) << b.text().toStdString();
    }
}

TEST_F(EditorFixture, FormatRectLeavesMarginsThatStay)
{
    editor.resize(300, 200);
    editor.SetFormatRect(6, 0, editor.ClientWidth() - 6, editor.ClientHeight());
    EXPECT_EQ(editor.FormatMargins(), QMargins(6, 0, 6, 0));
    editor.resize(500, 100);
    EXPECT_EQ(editor.FormatMargins(), QMargins(6, 0, 6, 0));

    // The margins are part of the white writing surface; the text keeps 6
    // pixels from the edge.
    editor.SetFormatRect(6, 0, editor.ClientWidth() - 6, editor.ClientHeight());
    editor.setPlainText("WWWW");
    const QImage shot = editor.grab().toImage();
    const QColor base = editor.palette().color(QPalette::Base);
    ASSERT_NE(base, editor.palette().color(QPalette::Window));
    int firstInk = -1;
    for (int x = 0; x < shot.width() && firstInk < 0; ++x)
        for (int y = 0; y < 30; ++y)
            if (shot.pixelColor(x, y) != base) {
                firstInk = x;
                break;
            }
    EXPECT_GE(firstInk, 6) << "margin not painted in the base colour, or text inside it";
    EXPECT_LT(firstInk, 12);
    EXPECT_EQ(shot.pixelColor(shot.width() - 3, 50), base);
}
