#include "files.h"
#include "tempfolder.h"

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

TEST(ReplaceFileContents, APreparedReplacementLeftUncommittedChangesNothing)
{
    TempFolder dir;
    ASSERT_EQ(ReplaceFileContents(dir.file("a.rtf"), "old"), ReplaceResult::Ok);
    {
        PreparedReplacement dropped;
        ASSERT_EQ(dropped.Prepare(dir.file("a.rtf"), "never"), ReplaceResult::Ok);
        EXPECT_EQ(dir.read("a.rtf"), "old");
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.rtf"});
    PreparedReplacement kept;
    ASSERT_EQ(kept.Prepare(dir.file("a.rtf"), "new"), ReplaceResult::Ok);
    ASSERT_EQ(kept.Commit(), ReplaceResult::Ok);
    EXPECT_EQ(dir.read("a.rtf"), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.rtf"});
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

TEST(FileNames, BytesThatAreNotUtf8ComeBackUnchangedAndReadAsWindows1252)
{
    const QByteArray latin = "K\xF6ln.rtf";
    const QString kept = DecodeFileName(latin);
    EXPECT_EQ(EncodeFileName(kept), latin);
    EXPECT_EQ(ReadableFileName(kept), QString::fromUtf8("Köln.rtf"));
    const QByteArray utf8 = "K\xC3\xB6ln \xE2\x82\xAC.rtf";
    EXPECT_EQ(DecodeFileName(utf8), QString::fromUtf8(utf8));
    EXPECT_EQ(EncodeFileName(DecodeFileName(utf8)), utf8);

    // Such a name is found, read and replaced in its very file.
    TempFolder dir;
    const QByteArray path = QFile::encodeName(dir.path()) + latin;
    FILE *f = std::fopen(path.constData(), "w");
    ASSERT_TRUE(f);
    std::fputs("alt", f);
    std::fclose(f);
    QStringList names;
    ASSERT_TRUE(FindEntries(dir.path(), "*.rtf", names));
    ASSERT_EQ(names.size(), 1);
    InputFile in;
    EXPECT_TRUE(in.open(dir.path() + names.first()));
    EXPECT_EQ(ReplaceFileContents(dir.path() + names.first(), "neu"), ReplaceResult::Ok);
    struct stat st {};
    ASSERT_EQ(::stat(path.constData(), &st), 0);
    EXPECT_EQ(st.st_size, 3);
}

TEST(ReplaceFileContents, TemporaryNameIsShortSoTheLongestNameFits)
{
    TempFolder dir;
    const QString longest = QString(MaxFileNameLength(dir.path()) - 4, 'a') + ".rtf";
    EXPECT_EQ(ReplaceFileContents(dir.file(longest), "x"), ReplaceResult::Ok);
    EXPECT_EQ(dir.read(longest), "x");
    EXPECT_TRUE(IsReplaceTempName(".kartolino-Ab12Cd.tmp"));
}

TEST(RemoveReplaceDebris, RemovesOnlyTheTemporaryFilesOfReplacements)
{
    TempFolder dir;
    for (const char *name : {".kartolino-Ab12Cd.tmp", ".kartolino-000000.tmp", ".Einkauf.rtf.x1Y2z3"})
        dir.write(name, "debris");
    const QStringList kept{".kartolino-notes.txt", ".kartolino-Ab12C.tmp", ".kartolino-Ab12Cd.tmpx", "kartolino-Ab12Cd.tmp",
                           "Einkauf.rtf", ".Einkauf.rtf", ".Einkauf.txt.x1Y2z3", "Alt.tmp"};
    for (const QString &name : kept)
        dir.write(name, "mine");
    dir.mkdir(".kartolino-Dir123.tmp");
    EXPECT_EQ(RemoveReplaceDebris(dir.path()), 3);
    QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QStringList expected = kept + QStringList{".kartolino-Dir123.tmp"};
    left.sort();
    expected.sort();
    EXPECT_EQ(left, expected);
}

TEST(InputFile, RefusesWhatIsNoRegularFileWithoutBlocking)
{
    TempFolder dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("fifo.rtf")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.file("zero.rtf")));
    dir.mkdir("folder.rtf");
    dir.write("plain.rtf", "x");
    InputFile file;
    QByteArray bytes;
    for (const char *refused : {"fifo.rtf", "zero.rtf", "folder.rtf", "missing.rtf"}) {
        EXPECT_FALSE(file.open(dir.file(refused))) << refused;
        EXPECT_FALSE(ReadRegularFile(dir.file(refused), bytes)) << refused;
    }
    EXPECT_TRUE(file.open(dir.file("plain.rtf")));
    FileStamp stamp;
    ASSERT_TRUE(ReadRegularFile(dir.file("plain.rtf"), bytes, &stamp));
    EXPECT_EQ(bytes, "x");
    EXPECT_EQ(stamp, StampOf(dir.file("plain.rtf")));
    EXPECT_TRUE(stamp.exists);
}

TEST(MoveToTrash, PutsTheFileIntoTheHomeTrashMadeWhenMissing)
{
    // The data folder made, set but not yet made, and unset on a fresh
    // account without ~/.local/share.
    const struct {
        const char *name;
        bool setDataHome;
        bool makeDataHome;
        const char *trash;
    } rows[] = {{"made", true, true, "data/Trash"},
                {"missing", true, false, "data/Trash"},
                {"unset", false, false, ".local/share/Trash"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder home, work, dir;
        const QByteArray oldHome = qgetenv("HOME"), oldData = qgetenv("XDG_DATA_HOME");
        const QString oldCurrent = QDir::currentPath();
        qputenv("HOME", QFile::encodeName(home.path()));
        if (row.setDataHome)
            qputenv("XDG_DATA_HOME", QFile::encodeName(home.file("data")));
        else
            qunsetenv("XDG_DATA_HOME");
        if (row.makeDataHome)
            home.mkdir("data");
        // Where Qt's fallback would have put the trash.
        QDir::setCurrent(work.path());
        dir.write("Weg.rtf", "text");
        const QString latin = DecodeFileName("K\xF6ln.rtf");
        ReplaceFileContents(dir.path() + latin, "koeln");
        const bool trashed = MoveToTrash(dir.file("Weg.rtf"));
        const bool latinTrashed = MoveToTrash(dir.path() + latin);
        QDir::setCurrent(oldCurrent);
        qputenv("HOME", oldHome);
        qputenv("XDG_DATA_HOME", oldData);
        const QString trash = QString::fromLatin1(row.trash);
        ASSERT_TRUE(trashed);
        EXPECT_FALSE(dir.exists("Weg.rtf"));
        EXPECT_EQ(home.read(trash + "/files/Weg.rtf"), "text");
        EXPECT_TRUE(home.exists(trash + "/info/Weg.rtf.trashinfo"));
        ASSERT_TRUE(latinTrashed);
        EXPECT_EQ(home.read(trash + QString::fromUtf8("/files/Köln.rtf")), "koeln");
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
        EXPECT_TRUE(QDir(work.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    }
}

TEST(CreateFileContents, MakesANewFileButNeverReplacesOne)
{
    TempFolder dir;
    dir.write("Alt.rtf", "alt");
    ASSERT_TRUE(QFile::link(dir.file("fehlt"), dir.file("Link.rtf")));
    for (const char *taken : {"Alt.rtf", "Link.rtf"}) {
        int code = 0;
        EXPECT_EQ(CreateFileContents(dir.file(taken), "neu", &code), ReplaceResult::CannotCreate) << taken;
        EXPECT_EQ(code, kErrorAlreadyExists) << taken;
    }
    EXPECT_EQ(dir.read("Alt.rtf"), "alt");
    EXPECT_FALSE(dir.exists("fehlt"));
    EXPECT_EQ(CreateFileContents(dir.file("Neu.rtf"), "neu"), ReplaceResult::Ok);
    EXPECT_EQ(dir.read("Neu.rtf"), "neu");
    // A move never lands on a taken name either.
    int code = 0;
    EXPECT_FALSE(MoveFile(dir.file("Neu.rtf"), dir.file("Alt.rtf"), &code));
    EXPECT_EQ(code, kErrorAlreadyExists);
    EXPECT_TRUE(MoveFile(dir.file("Neu.rtf"), dir.file("Umbenannt.rtf")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 3);
}

TEST(ExchangeFileContents, HandsBackWhatItReplaced)
{
    TempFolder dir;
    dir.write("Karte.rtf", "fremd");
    ::chmod(QFile::encodeName(dir.file("Karte.rtf")).constData(), 0640);
    Replaced replaced;
    ASSERT_EQ(ExchangeFileContents(dir.file("Karte.rtf"), "meins", replaced), ReplaceResult::Ok);
    EXPECT_TRUE(replaced.existed);
    EXPECT_EQ(replaced.bytes, "fremd");
    EXPECT_EQ(dir.read("Karte.rtf"), "meins");
    EXPECT_EQ(replaced.written, StampOf(dir.file("Karte.rtf")));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(dir.file("Karte.rtf")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    ASSERT_EQ(ExchangeFileContents(dir.file("Neu.rtf"), "neu", replaced), ReplaceResult::Ok);
    EXPECT_FALSE(replaced.existed);
    EXPECT_EQ(dir.read("Neu.rtf"), "neu");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2) << "temporary file left";
}
