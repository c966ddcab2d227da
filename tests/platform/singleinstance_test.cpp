#include "singleinstance.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::SingleInstanceGuard;
using testing_support::TempFolder;

TEST(SingleInstanceGuard, SecondHolderOfTheNameIsTurnedAway)
{
    auto first = std::make_unique<SingleInstanceGuard>("KartolinoTest");
    EXPECT_FALSE(first->alreadyExists());
    EXPECT_TRUE(SingleInstanceGuard("KartolinoTest").alreadyExists());
    EXPECT_FALSE(SingleInstanceGuard("KartolinoAnders").alreadyExists());
    first.reset();
    EXPECT_FALSE(SingleInstanceGuard("KartolinoTest").alreadyExists());
}

TEST(SingleInstanceGuard, AKilledHolderLeavesNoStaleLock)
{
    const pid_t child = ::fork();
    if (child == 0) {
        SingleInstanceGuard guard("KartolinoCrash");
        ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_FALSE(SingleInstanceGuard("KartolinoCrash").alreadyExists());
}

TEST(SingleInstanceGuard, LockLivesInTheRuntimeFolder)
{
    SingleInstanceGuard guard("KartolinoOrt");
    EXPECT_TRUE(guard.lockFilePath().startsWith(QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"))));
}

TEST(SingleInstanceGuard, WithoutRuntimeFolderTheLockGoesToAPrivateCacheFolder)
{
    TempFolder cache;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), oldCache = qgetenv("XDG_CACHE_HOME");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    const QString path = SingleInstanceGuard("KartolinoPrivat").lockFilePath();
    struct stat st {};
    ::stat(QFile::encodeName(cache.file("Kartolino")).constData(), &st);
    const unsigned mode = st.st_mode;
    ::chmod(QFile::encodeName(cache.file("Kartolino")).constData(), 0777);
    const QString refused = SingleInstanceGuard("KartolinoPrivat").lockFilePath();
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("XDG_CACHE_HOME", oldCache);
    EXPECT_EQ(path, cache.file("Kartolino/KartolinoPrivat-%1.lock").arg(::getuid()));
    EXPECT_EQ(mode & 0777, 0700u);
    EXPECT_TRUE(refused.isEmpty()) << "a folder others may write is no place for the lock";
}
