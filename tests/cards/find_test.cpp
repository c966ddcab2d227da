#include "cardindex.h"
#include "cardmatcher.h"
#include "cardtext.h"
#include "qtprinters.h"
#include "tempfolder.h"

#include <QFile>
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

TEST(CardPlainText, ReadsTheVisibleTextOfTheRtf)
{
    const struct {
        const char *rtf, *text;
    } cases[] = {
        {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}\\f0 Eins\\par Zwei}", "Eins\nZwei"},
        {"{\\rtf1\\ansi M\\'fcller \\'dfe}", "Müller ße"},
        {"{\\rtf1\\ansi\\ansicpg1251 \\'cc\\'e8\\'f0}", "Мир"},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}\\f0 a\\f1\\'e0\\f0\\'e0}", "aаà"},
        {"{\\rtf1\\ansi\\uc1 \\u8364?uro \\u-3913?}", "\u20acuro \uf0b7"},
        {"{\\rtf1\\ansi A{\\*\\unbekannt geheim}B{\\pict\\pngblip 89504e47}C}", "ABC"},
        {"{\\rtf1\\ansi sicht{\\v bar}\\tab x\\~y\\{\\}}", "sicht\tx\u00a0y{}"},
        {"{\\rtf1\\ansi{\\info{\\title Titel}}{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt Link}}}", "Link"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CardPlainText(c.rtf), QString::fromUtf8(c.text)) << c.rtf;
    // Not RTF: plain text, UTF-8 when it is valid, else Windows-1252.
    EXPECT_EQ(CardPlainText("Gr\xc3\xbc\xc3\x9f""e\r\nzwei\rdrei"), QString::fromUtf8("Grüße\nzwei\ndrei"));
    EXPECT_EQ(CardPlainText("Gr\xfc\xdf""e \x80"), QString::fromUtf8("Grüße €"));
}

class CardIndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.write("Eins.rtf", "{\\rtf1\\ansi M\\'fcller}");
        index.SetFolder(folder.path());
    }
    QString text(const char *name) { return QString::fromUtf8(index.Text(folder.file(name)).folded); }

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

TEST_F(CardIndexTest, GermanFoldingAndUnreadableCardsWithoutBlocking)
{
    index.SetGerman(true);
    EXPECT_EQ(text("Eins.rtf"), QStringLiteral("mueller"));
    index.SetGerman(false);
    EXPECT_EQ(text("Eins.rtf"), QString::fromUtf8("müller"));

    folder.mkdir("x.rtf");
    EXPECT_FALSE(index.Text(folder.file("x.rtf")).readable);
    // A FIFO blocked the first search for good; a device was read for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file("Rohr.rtf")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", folder.file("Null.rtf")));
    EXPECT_FALSE(index.Text(folder.file("Rohr.rtf")).readable);
    EXPECT_FALSE(index.Text(folder.file("Null.rtf")).readable);
    EXPECT_FALSE(index.Text(folder.file("fehlt.rtf")).readable);
    EXPECT_TRUE(index.Text(folder.file("Eins.rtf")).readable);
}
