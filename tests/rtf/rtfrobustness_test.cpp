// Bad input: damaged, truncated, hostile and fuzzer-found RTF. The reader
// must finish quickly, keep what it could read, and stay within memory.

#include "rtftesthelpers.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <ctime>
#include <functional>
#include <gtest/gtest.h>

using namespace rtftest;

namespace {

// Reads and writes back; returns the text. A read that hangs or grows
// quadratically is caught by the growth checks below and by the test's timeout.
QString survive(const QByteArray &bytes)
{
    QTextDocument document;
    rtf::RtfReader reader(&document);
    reader.read(bytes);
    const QByteArray written = rtf::RtfWriter(&document).write();
    QTextDocument again;
    EXPECT_TRUE(rtf::RtfReader(&again).read(written)) << "what we write is RTF";
    EXPECT_EQ(again.toPlainText(), document.toPlainText()) << "what we write reads back the same";
    EXPECT_EQ(rtf::RtfWriter(&again).write(), written) << "writing what we wrote changes nothing";
    // Nothing can come out larger than what went in.
    EXPECT_LE(document.characterCount(), bytes.size() + 1);
    return document.toPlainText();
}

// The thread's CPU time for one survive() of bytes, in milliseconds: what
// other processes on a loaded machine do hardly changes it.
double cpuMillisecondsToSurvive(const QByteArray &bytes)
{
    timespec start{}, end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    survive(bytes);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) * 1e3 + double(end.tv_nsec - start.tv_nsec) / 1e6;
}

// Reading n items costs about four times reading n / 4 when the cost per
// item stays flat; a cost per item that grows with their number makes it
// sixteen times. The floor keeps timer noise on a tiny quarter out of it.
void expectLinear(const char *what, const std::function<QByteArray(int)> &make, int n)
{
    const double quarter = std::max(cpuMillisecondsToSurvive(make(n / 4)), 20.0);
    const double whole = cpuMillisecondsToSurvive(make(n));
    EXPECT_LT(whole / quarter, 9.0) << what << ": " << whole << " ms against " << quarter << " ms for a quarter";
}

QByteArray repeated(const char *piece, int times)
{
    return QByteArray(piece).repeated(times);
}

} // namespace

TEST(RtfRobustness, UnbalancedBracesKeepTheText)
{
    EXPECT_EQ(survive("{\\rtf1 a}}}} b"), QStringLiteral("a"));
    EXPECT_EQ(survive("{\\rtf1 {{{a"), QStringLiteral("a"));
    EXPECT_EQ(survive("{\\rtf1 {\\b a}}{\\i b}"), QStringLiteral("a"));
    EXPECT_EQ(survive("{\\rtf1 x\\"), QStringLiteral("x"));
}

TEST(RtfRobustness, TruncatedFilesKeepWhatWasRead)
{
    QFile file(QStringLiteral(RTF_TEST_DATA "/wordpad-bullets.rtf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    const QString full = readRtf(whole)->toPlainText();
    for (qsizetype cut = 5; cut < whole.size(); ++cut) {
        const QString part = survive(whole.left(cut));
        ASSERT_LE(part.size(), full.size() + 1) << cut;
    }
    // Cut inside the last paragraph: all paragraphs before it are whole.
    const qsizetype lastPar = whole.lastIndexOf("\\pard\\qc");
    EXPECT_TRUE(full.startsWith(survive(whole.left(lastPar))));
    EXPECT_TRUE(survive(whole.left(lastPar)).endsWith(QString::fromUtf8("Brötchen")));
}

TEST(RtfRobustness, NestingMillionsDeepIsCountedNotRecursed)
{
    const int depth = 2'000'000;
    const QByteArray deep = "{\\rtf1 start" + repeated("{", depth) + "\\b deep" + repeated("}", depth) + " after}";
    const QString text = survive(deep);
    EXPECT_EQ(text, QStringLiteral("startdeep after"));
    // Formats set beyond the depth limit do not leak out of their groups.
    const auto document = readRtf(deep);
    EXPECT_EQ(formatAt(*document, "after").fontWeight(), QFont::Normal);
}

TEST(RtfRobustness, IgnorableGroupsBeyondTheDepthLimitStayHidden)
{
    const int depth = 5000;
    const QByteArray deep = "{\\rtf1 a" + repeated("{", depth) + "b{\\*\\unknown{x}hidden}c{\\info{\\title t}}d"
        + repeated("}", depth) + "e}";
    EXPECT_EQ(survive(deep), QStringLiteral("abcde"));
}

TEST(RtfRobustness, NestingJustBelowTheLimitStillFormats)
{
    const int depth = 2000;
    const QByteArray rtf = "{\\rtf1" + repeated("{", depth) + "\\i deep" + repeated("}", depth) + " flat}";
    const auto document = readRtf(rtf);
    EXPECT_TRUE(formatAt(*document, "deep").fontItalic());
    EXPECT_FALSE(formatAt(*document, "flat").fontItalic());
}

TEST(RtfRobustness, HugeParametersAreClamped)
{
    const auto document = readRtf("{\\rtf1\\fs99999999999999999999999 big\\par"
                                  "\\li-99999999999\\fi99999999999\\sa99999999 wide\\par"
                                  "{\\u99999999999 ?\\uc99999999999 \\u65 xyz}\\par"
                                  "\\cf99999999 \\f-2147483648 colour}");
    EXPECT_EQ(blockTexts(*document), (QStringList{"big", "wide", QChar(0xFFFD) + QStringLiteral("A"), "colour"}))
        << "a huge \\uc swallows the rest of its group, nothing else";
    EXPECT_LE(formatAt(*document, "big").fontPointSize(), 1638.0);
    const QTextBlockFormat wide = blockWith(*document, "wide").blockFormat();
    EXPECT_GE(wide.leftMargin(), -2112.0);
    EXPECT_LE(wide.textIndent(), 2112.0);
    EXPECT_EQ(formatAt(*document, "colour").foreground().style(), Qt::NoBrush);
}

TEST(RtfRobustness, OverlongControlWordsAreIgnored)
{
    EXPECT_EQ(survive("{\\rtf1 a\\" + repeated("b", 100000) + " c\\" + repeated("x", 33) + "1234 d}"),
              QStringLiteral("acd"));
    EXPECT_EQ(survive("{\\rtf1 \\par" + repeated("9", 100000) + " e}"), QStringLiteral("\ne"));
}

TEST(RtfRobustness, BinPastTheEndStopsAtTheEnd)
{
    EXPECT_EQ(survive("{\\rtf1 a\\bin2147483647 xyz"), QStringLiteral("a"));
    EXPECT_EQ(survive("{\\rtf1 a{\\pict\\pngblip\\bin99999 \x89PNG}"), QStringLiteral("a"));
    EXPECT_EQ(survive("{\\rtf1 a\\bin-5 b}"), QStringLiteral("ab"));
}

TEST(RtfRobustness, BrokenEscapesAndPicturesLoseOnlyThemselves)
{
    EXPECT_EQ(survive("{\\rtf1 a\\'zzb\\'4}"), QStringLiteral("azzb}").left(4));
    EXPECT_EQ(survive("{\\rtf1 a{\\pict\\pngblip 89504e47zzzz}b{\\pict\\jpegblip}c}"), QStringLiteral("abc"));
    EXPECT_EQ(survive("{\\rtf1\\ansicpg932 \\'93}"), QString(QChar(0xFFFD))) << "a lone lead byte";
    EXPECT_EQ(survive("{\\rtf1\\ansicpg123456 x\\'e4}"), QString::fromUtf8("xä")) << "unknown page: 1252";
}

TEST(RtfRobustness, RandomBytesAfterTheHeader)
{
    QRandomGenerator random(20261209);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = "{\\rtf1 ";
        const int length = int(random.bounded(4000));
        for (int i = 0; i < length; ++i) {
            // Mostly the characters RTF is made of, so the interpreter sees words.
            static const char alphabet[] = "{}\\\\\\'*abcdefgilnpqrstuv0123456789- ;\r\n";
            bytes += random.bounded(4) == 0 ? char(random.bounded(256))
                                            : alphabet[random.bounded(int(sizeof(alphabet) - 1))];
        }
        survive(bytes);
    }
}

TEST(RtfRobustness, MutatedRealFiles)
{
    QFile file(QStringLiteral(RTF_TEST_DATA "/wordpad-bullets.rtf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    QRandomGenerator random(42);
    for (int round = 0; round < 500; ++round) {
        QByteArray bytes = original;
        for (int flips = 0; flips < 8; ++flips)
            bytes[qsizetype(random.bounded(int(bytes.size())))] = char(random.bounded(256));
        bytes.replace(0, 5, "{\\rtf");
        survive(bytes);
    }
}

// Every input the fuzzer ever found troublesome stays here as a file.
TEST(RtfRobustness, PathologicalCorpus)
{
    const QDir dir(QStringLiteral(RTF_TEST_DATA "/pathological"));
    const QStringList files = dir.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << "the regression corpus is missing";
    for (const QString &name : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        SCOPED_TRACE(name.toStdString());
        QByteArray bytes = file.readAll();
        survive(bytes);
        // The same bytes pasted into a document with text around them.
        QTextDocument document;
        document.setPlainText(QStringLiteral("before after"));
        QTextCursor cursor(&document);
        cursor.setPosition(7);
        rtf::RtfReader::insert(cursor, bytes);
        EXPECT_TRUE(document.toPlainText().startsWith(QStringLiteral("before ")));
        // Pasted notes go to the end of the card, after the text.
        EXPECT_TRUE(textWithoutNotes(document).endsWith(QStringLiteral("after")));
    }
}

struct IssueCase {
    const char *name;
    QByteArray rtf;
    rtf::ReadIssues issues;
};

class RtfReadIssues : public ::testing::TestWithParam<IssueCase> {};

// Damage is read past, but reported: a cut-off card is not a clean one.
TEST_P(RtfReadIssues, AreReported)
{
    QTextDocument document;
    rtf::RtfReader reader(&document);
    ASSERT_TRUE(reader.read(GetParam().rtf));
    EXPECT_EQ(reader.issues().toInt(), GetParam().issues.toInt()) << GetParam().name;
    QTextCursor cursor(&document);
    rtf::ReadIssues pasted;
    rtf::RtfReader::insert(cursor, GetParam().rtf, &pasted);
    EXPECT_EQ(pasted.toInt(), GetParam().issues.toInt()) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfReadIssues,
    ::testing::Values(IssueCase{"clean", "{\\rtf1 {\\b a}}\r\n", {}},
                      IssueCase{"cut off", "{\\rtf1 {\\b a}", rtf::ReadIssue::UnclosedGroups},
                      IssueCase{"trailing text", "{\\rtf1 a} b", rtf::ReadIssue::TextAfterEnd},
                      IssueCase{"deep", "{\\rtf1 " + QByteArray(3000, '{') + QByteArray(3000, '}') + "}",
                                rtf::ReadIssue::DepthLimit},
                      IssueCase{"bin", "{\\rtf1 \\bin9 ab}", rtf::ReadIssue::BinPastEnd | rtf::ReadIssue::UnclosedGroups},
                      IssueCase{"hex", "{\\rtf1 \\'4x}", rtf::ReadIssue::BrokenEscape},
                      IssueCase{"word", "{\\rtf1 \\" + QByteArray(40, 'a') + "}", rtf::ReadIssue::OverlongWord}),
    [](const ::testing::TestParamInfo<IssueCase> &info) { return rowName(info.param.name); });

// Each of these took seconds to minutes once: a cost per item that grew
// with the number of items.
TEST(RtfRobustness, ManyFontsListsAndPicturesStayLinear)
{
    expectLinear("fonts", [](int n) {
        QByteArray fonts = "{\\rtf1{\\fonttbl";
        QByteArray runs;
        for (int i = 0; i < n; ++i) {
            fonts += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
            runs += "\\f" + QByteArray::number(i) + " x";
        }
        return fonts + "}" + runs + "}";
    }, 40000);
    expectLinear("bullets", [](int n) {
        return "{\\rtf1\\pard{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}" +
               QByteArray("{\\pntext\\'b7\\tab}item\\par ").repeated(n) + "}";
    }, 30000);
    expectLinear("lists", [](int n) {
        QByteArray lists = "{\\rtf1{\\*\\listtable";
        for (int i = 0; i < n; ++i)
            lists += "{\\list{\\listlevel\\levelnfc0}\\listid" + QByteArray::number(i) + "}";
        lists += "}{\\*\\listoverridetable{\\listoverride\\listid" + QByteArray::number(n - 1) + "\\ls1}}";
        return lists + QByteArray("\\pard\\ls1 n\\par ").repeated(n) + "}";
    }, 20000);
    expectLinear("pictures", [](int n) {
        return "{\\rtf1 " + QByteArray("{\\pict\\pngblip 89504e470d0a1a0a}").repeated(n) + "}";
    }, 50000);
}
