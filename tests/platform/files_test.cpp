#include "platform/files.h"
#include "tests/common/tempfolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace platform;
using testing_support::TempFolder;

TEST(ReplaceFileContents, WritesNewFileAndReplacesOldOne)
{
    TempFolder dir;
    ASSERT_EQ(ReplaceFileContents(dir.file("a.rtf"), "first"), ReplaceResult::Ok);
    EXPECT_EQ(dir.read("a.rtf"), "first");
    ASSERT_EQ(ReplaceFileContents(dir.file("a.rtf"), "second, longer"), ReplaceResult::Ok);
    EXPECT_EQ(dir.read("a.rtf"), "second, longer");
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(ReplaceFileContents, WriteProtectedFileIsNotReplaced)
{
    TempFolder dir;
    dir.write("ro.rtf", "keep me");
    ::chmod(QFile::encodeName(dir.file("ro.rtf")).constData(), 0444);
    int code = 0;
    EXPECT_EQ(ReplaceFileContents(dir.file("ro.rtf"), "new", &code), ReplaceResult::CannotCreate);
    EXPECT_EQ(code, kErrorAccessDenied);
    EXPECT_EQ(dir.read("ro.rtf"), "keep me");
}

TEST(ReplaceFileContents, KeepsPermissionsAndWritesThroughLinks)
{
    TempFolder dir;
    dir.write("real.rtf", "old");
    ::chmod(QFile::encodeName(dir.file("real.rtf")).constData(), 0640);
    QFile::link(dir.file("real.rtf"), dir.file("link.rtf"));
    ASSERT_EQ(ReplaceFileContents(dir.file("link.rtf"), "new"), ReplaceResult::Ok);
    EXPECT_TRUE(QFileInfo(dir.file("link.rtf")).isSymLink());
    EXPECT_EQ(dir.read("real.rtf"), "new");
    struct stat st {};
    ::stat(QFile::encodeName(dir.file("real.rtf")).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(ReplaceFileContents, NewFileGetsTheModeTheUmaskAllowsAndTheUmaskStays)
{
    TempFolder dir;
    const mode_t saved = ::umask(027);
    ASSERT_EQ(ReplaceFileContents(dir.file("new.rtf"), "x"), ReplaceResult::Ok);
    const mode_t during = ::umask(saved);
    EXPECT_EQ(during, mode_t(027));
    struct stat st {};
    ::stat(QFile::encodeName(dir.file("new.rtf")).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(ReplaceFileContents, MissingFolderCannotCreate)
{
    TempFolder dir;
    int code = 0;
    EXPECT_EQ(ReplaceFileContents(dir.file("nope/a.rtf"), "x", &code), ReplaceResult::CannotCreate);
    EXPECT_EQ(code, kErrorFileNotFound);
}

TEST(ReplaceFileContents, FullDiskLeavesOldFileWhole)
{
    TempFolder dir;
    const QByteArray old(3000, 'o');
    dir.write("big.rtf", old);
    // A file size limit makes every write beyond it fail, as a full disk does.
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = saved;
    limit.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    int code = 0;
    const ReplaceResult result = ReplaceFileContents(dir.file("big.rtf"), QByteArray(5000, 'n'), &code);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
    EXPECT_EQ(result, ReplaceResult::WriteFailed);
    EXPECT_EQ(code, kErrorDiskFull);
    EXPECT_EQ(dir.read("big.rtf"), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(FindEntries, ListsFilesFoldersAndHiddenEntriesMatchingTheMask)
{
    TempFolder dir;
    dir.write("Einkauf.rtf", "");
    dir.write("a.b.rtf", "");
    dir.write(".versteckt.rtf", "");
    dir.write("notiz.txt", "");
    dir.write("GROSS.RTF", "");
    dir.mkdir("x.rtf");
    QStringList names;
    ASSERT_TRUE(FindEntries(dir.path(), "*.rtf", names));
    names.sort();
    EXPECT_EQ(names, QStringList({".versteckt.rtf", "Einkauf.rtf", "GROSS.RTF", "a.b.rtf", "x.rtf"}));
}

TEST(FindEntries, MissingFolderFails)
{
    QStringList names{"kept"};
    EXPECT_FALSE(FindEntries("/nonexistent-folder-kartolino/", "*.rtf", names));
    EXPECT_EQ(names, QStringList{"kept"});
}

TEST(MoveFile, FailsWhenTargetExistsAndKeepsBoth)
{
    TempFolder dir;
    dir.write("a.rtf", "A");
    dir.write("b.rtf", "B");
    int code = 0;
    EXPECT_FALSE(MoveFile(dir.file("a.rtf"), dir.file("b.rtf"), &code));
    EXPECT_EQ(code, kErrorAlreadyExists);
    EXPECT_EQ(dir.read("a.rtf"), "A");
    EXPECT_EQ(dir.read("b.rtf"), "B");
    EXPECT_TRUE(MoveFile(dir.file("a.rtf"), dir.file("c.rtf"), &code));
    EXPECT_FALSE(dir.exists("a.rtf"));
    EXPECT_EQ(dir.read("c.rtf"), "A");
    EXPECT_FALSE(MoveFile(dir.file("a.rtf"), dir.file("d.rtf"), &code));
    EXPECT_EQ(code, kErrorFileNotFound);
}

TEST(CreateDirectory, CreatesOneLevelOnly)
{
    TempFolder dir;
    int code = 0;
    EXPECT_FALSE(CreateDirectory(dir.file("a/b/"), &code));
    EXPECT_EQ(code, kErrorFileNotFound);
    EXPECT_TRUE(CreateDirectory(dir.file("a/")));
    EXPECT_TRUE(DirectoryExists(dir.file("a")));
}
