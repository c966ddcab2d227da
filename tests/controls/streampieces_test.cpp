#include "files.h"
#include "streampieces.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace controls;

TEST(NormalizePieces, LoneLineEndsBecomeCrLf)
{
    EXPECT_EQ(NormalizePieces("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(NormalizePieces("\n\n"), "\r\n\r\n");
    EXPECT_EQ(NormalizePieces("end\r"), "end\r\n");
    EXPECT_EQ(NormalizePieces("\r\r\n"), "\r\n\r\n");
}

TEST(NormalizePieces, CrLfSplitAcrossPiecesStaysOneBreak)
{
    // Request 8 reads pieces of 4 bytes: "abc\r" | "\nxyz".
    EXPECT_EQ(NormalizePieces("abc\r\nxyz", 8), "abc\r\nxyz");
}

TEST(NormalizePieces, LoneCrAtPieceEndKeepsItsBreak)
{
    // "abc\r" | "xyz": the CR is a line end of its own and must not vanish.
    EXPECT_EQ(NormalizePieces("abc\rxyz", 8), "abc\r\nxyz");
}

TEST(NormalizePieces, ZeroByteIsDroppedAndTheTextGoesOn)
{
    // Pieces of four: "ab\0c" | "dEFG" | "H".
    EXPECT_EQ(NormalizePieces(QByteArray("ab\0cdEFGH", 9), 8), "abcdEFGH");
}

TEST(NormalizePieces, SameResultForAnyPieceSize)
{
    QByteArray text;
    for (int i = 0; i < 500; ++i)
        text += (i % 3 == 0 ? "line\r\n" : i % 3 == 1 ? "lf\n" : "cr\r");
    const QByteArray expected = NormalizePieces(text, 1 << 20);
    for (qint64 size : {2, 3, 4, 7, 64, 4096})
        EXPECT_EQ(NormalizePieces(text, size), expected) << size;
}

TEST(ReadNormalizedPieces, ReadsWholeFileInPieces)
{
    testing_support::TempFolder dir;
    QByteArray text;
    for (int i = 0; i < 3000; ++i)
        text += "x\n";
    dir.write("f.txt", text);
    InputFile file;
    ASSERT_TRUE(file.open(dir.file("f.txt")));
    QByteArray out;
    ASSERT_TRUE(ReadNormalizedPieces(file, out));
    EXPECT_EQ(out.size(), 3000 * 3);
    EXPECT_EQ(out, NormalizePieces(text));
}
