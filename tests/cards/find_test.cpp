#include "cardindex.h"
#include "cardmatcher.h"
#include "richedit.h"
#include "qtprinters.h"
#include "tempfolder.h"

#include <QDirIterator>
#include <QFile>
#include <QTextDocument>
#include <QTest>
#include <gtest/gtest.h>
#include <cstdio>
#include <sys/stat.h>

using namespace cards;
using testing_support::TempFolder;

TEST(CardMatcher, FindsTermsAsTheFoldingSays)
{
    const struct {
        const char *text, *term;
        bool german;
        QList<TTextRange> hits;
    } cases[] = {
        {"Apfel, APFEL und apfelmus", "aPfEl", false, {{0, 5}, {7, 5}, {17, 5}}},
        {"aaaa", "aa", false, {{0, 2}, {2, 2}}},
        {"Müller", "mueller", false, {}},
        {"Müller", "mueller", true, {{0, 6}}},
        {"MUELLER und Müller", "MÜLLER", true, {{0, 7}, {12, 6}}},
        {"Straße", "STRASSE", true, {{0, 6}}},
        {"Straße", "strasse", false, {}},
        {"Öl und Übel", "oel", true, {{0, 2}}},
        {"Öl und Übel", "öl", false, {{0, 2}}},
        {"Bär", "e", true, {{1, 1}}}, // inside a spelled-out ä: the ä is the hit
        {"nichts", "", false, {}},
    };
    for (const auto &c : cases) {
        const TCardMatcher matcher(QString::fromUtf8(c.term), c.german);
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(matcher.Find(text), c.hits) << c.text << " / " << c.term << " german " << c.german;
        EXPECT_EQ(matcher.Count(FoldForIndex(text, c.german)), c.hits.size()) << c.text << " / " << c.term;
    }
}

// The index and the editor read a card alike: over every file the RTF
// tests know, the index holds the editor's text, folded as the matcher
// folds it, notes at the end included.
TEST(CardIndexText, IsTheEditorsTextOfEveryTestFile)
{
    TCardIndex index;
    QDirIterator files(QStringLiteral(RTF_TEST_DATA), QDir::Files, QDirIterator::Subdirectories);
    int compared = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        SCOPED_TRACE(path.toStdString());
        const auto editor = controls::TRichEdit::ReadDocument(path, QFont());
        const TCardIndex::Card &card = index.FreshCard(path);
        ASSERT_TRUE(card.readable);
        EXPECT_EQ(QString::fromUtf8(card.folded), QString::fromUtf8(FoldForIndex(editor->toPlainText(), false)));
        ++compared;
    }
    EXPECT_GE(compared, 30);
    // Footnotes, which only the editor used to see.
    EXPECT_TRUE(index.FreshCard(QStringLiteral(RTF_TEST_DATA "/real/libreoffice-7.4.rtf")).folded.contains("fußnotentext"));
    EXPECT_TRUE(index.FreshCard(QStringLiteral(RTF_TEST_DATA "/real/pandoc-2.17-notes-table.rtf"))
                    .folded.contains("text der ersten fußnote."));
}

class CardIndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.write("Eins.rtf", "{\\rtf1\\ansi M\\'fcller}");
        index.SetFolder(folder.path());
    }
    QString text(const char *name) { return QString::fromUtf8(index.FreshCard(folder.file(name)).folded); }

    TempFolder folder;
    TCardIndex index;
};

TEST_F(CardIndexTest, ReadsACardOnceUntilItsFileChanges)
{
    EXPECT_EQ(text("Eins.rtf"), QString::fromUtf8("müller"));
    EXPECT_EQ(text("Eins.rtf"), QString::fromUtf8("müller"));
    EXPECT_EQ(index.FilesRead(), 1);

    // Another program replaces the file: the folder's watch notices.
    folder.write("neu.tmp", "{\\rtf1\\ansi Ersetzt}");
    ASSERT_EQ(::rename(qPrintable(folder.file("neu.tmp")), qPrintable(folder.file("Eins.rtf"))), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return text("Eins.rtf") == QStringLiteral("ersetzt"); }, 5000));
    // Written in place: seen at the next look at the folder.
    folder.write("Eins.rtf", "{\\rtf1\\ansi Neuer Text}");
    index.FolderChanged();
    EXPECT_EQ(text("Eins.rtf"), QStringLiteral("neuer text"));
    const int reads = index.FilesRead();
    EXPECT_EQ(text("Eins.rtf"), QStringLiteral("neuer text"));
    EXPECT_EQ(index.FilesRead(), reads);
}

TEST_F(CardIndexTest, AWrittenCardIsReadAgainEvenWithTheSameStamp)
{
    ASSERT_EQ(text("Eins.rtf"), QString::fromUtf8("müller"));
    QFile file(folder.file("Eins.rtf"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QDateTime stamp = file.fileTime(QFileDevice::FileModificationTime);
    const QByteArray same = "{\\rtf1\\ansi Meier\\'fc}"; // as long as the old text
    ASSERT_EQ(same.size(), file.size());
    file.write(same);
    file.setFileTime(stamp, QFileDevice::FileModificationTime);
    file.close();
    index.FileTouched(folder.file("Eins.rtf"));
    EXPECT_EQ(text("Eins.rtf"), QString::fromUtf8("meierü"));
}

TEST_F(CardIndexTest, APlainTextCardIsUtf8OrWindows1252)
{
    folder.write("utf8.rtf", "Gr\xc3\xbc\xc3\x9f""e\r\nzwei\rdrei");
    folder.write("ansi.rtf", "Gr\xfc\xdf""e \x80");
    EXPECT_EQ(text("utf8.rtf"), QString::fromUtf8("grüße\nzwei\ndrei"));
    EXPECT_EQ(text("ansi.rtf"), QString::fromUtf8("grüße €"));
}

TEST_F(CardIndexTest, GermanFoldingAndUnreadableCardsWithoutBlocking)
{
    index.SetGerman(true);
    EXPECT_EQ(text("Eins.rtf"), QStringLiteral("mueller"));
    index.SetGerman(false);
    EXPECT_EQ(text("Eins.rtf"), QString::fromUtf8("müller"));

    folder.mkdir("x.rtf");
    EXPECT_FALSE(index.FreshCard(folder.file("x.rtf")).readable);
    // A FIFO blocked the first search for good; a device was read for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file("Rohr.rtf")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", folder.file("Null.rtf")));
    EXPECT_FALSE(index.FreshCard(folder.file("Rohr.rtf")).readable);
    EXPECT_FALSE(index.FreshCard(folder.file("Null.rtf")).readable);
    EXPECT_FALSE(index.FreshCard(folder.file("fehlt.rtf")).readable);
    EXPECT_TRUE(index.FreshCard(folder.file("Eins.rtf")).readable);
}
