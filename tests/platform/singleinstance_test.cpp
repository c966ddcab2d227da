#include "singleinstance.h"
#include "tempfolder.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::SingleInstanceGuard;
using testing_support::TempFolder;

namespace {
struct GuardFixture : ::testing::Test {
    TempFolder locks;
    std::unique_ptr<SingleInstanceGuard> guard(const QString &name, const QString &key = {}) const
    {
        return std::make_unique<SingleInstanceGuard>(name, key, locks.path());
    }
};
} // namespace

TEST_F(GuardFixture, SecondHolderOfTheNameIsTurnedAway)
{
    auto first = guard("KartolinoTest");
    EXPECT_FALSE(first->alreadyExists());
    EXPECT_TRUE(guard("KartolinoTest")->alreadyExists());
    EXPECT_FALSE(guard("KartolinoAnders")->alreadyExists());
    first.reset();
    EXPECT_FALSE(guard("KartolinoTest")->alreadyExists());
}

TEST_F(GuardFixture, OneHolderPerFolderHoweverItIsSpelled)
{
    TempFolder cards;
    cards.mkdir("Karten");
    ::symlink(QFile::encodeName(cards.file("Karten")).constData(), QFile::encodeName(cards.file("Verweis")).constData());
    auto first = guard("Kartolino", cards.file("Karten"));
    for (const QString &same : {cards.file("Karten/"), cards.file("Verweis"), cards.file("Karten/../Karten")})
        EXPECT_TRUE(guard("Kartolino", same)->alreadyExists()) << same.toStdString();
    EXPECT_FALSE(guard("Kartolino", cards.file("Andere"))->alreadyExists());
    // A folder not made yet is guarded too, and stays the same key once made.
    auto unmade = guard("Kartolino", cards.file("Neu/KRT"));
    cards.mkdir("Neu/KRT");
    EXPECT_TRUE(guard("Kartolino", cards.file("Neu/KRT"))->alreadyExists());
}

TEST_F(GuardFixture, AKilledHolderLeavesNoStaleLock)
{
    const pid_t child = ::fork();
    if (child == 0) {
        SingleInstanceGuard held("KartolinoCrash", {}, locks.path());
        ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    auto next = guard("KartolinoCrash");
    EXPECT_FALSE(next->alreadyExists());
    // The dead holder's socket is no channel; the new holder's is.
    EXPECT_TRUE(next->channelPath().endsWith(".sock"));
    int requests = 0;
    next->Listen([&] { ++requests; });
    EXPECT_TRUE(guard("KartolinoCrash")->RequestShow());
    EXPECT_TRUE(QTest::qWaitFor([&] { return requests == 1; }, 2000));
}

TEST_F(GuardFixture, TurnedAwayStartsReachTheHolderAlsoBeforeItListens)
{
    auto holder = guard("KartolinoKanal");
    EXPECT_FALSE(holder->RequestShow()) << "the holder asks nobody";
    EXPECT_TRUE(guard("KartolinoKanal")->RequestShow());
    int requests = 0;
    holder->Listen([&] { ++requests; });
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(guard("KartolinoKanal")->RequestShow());
    EXPECT_TRUE(QTest::qWaitFor([&] { return requests == 2; }, 2000));
    holder.reset();
    EXPECT_FALSE(QFile::exists(locks.file(QString("KartolinoKanal-%1.sock").arg(::getuid()))));
    EXPECT_FALSE(QFile::exists(locks.file(QString("KartolinoKanal-%1.lock").arg(::getuid()))));
}

TEST(SingleInstanceFolder, SameForEverySessionAndPrivateToTheUser)
{
    TempFolder cache;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), oldCache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    cache.mkdir("sitzung1");
    ::chmod(QFile::encodeName(cache.file("sitzung1")).constData(), 0700);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(cache.file("sitzung1")));
    const QString first = platform::SingleInstanceFolder();
    qunsetenv("XDG_RUNTIME_DIR");
    const QString second = platform::SingleInstanceFolder();
    struct stat st {};
    ::stat(QFile::encodeName(first).constData(), &st);
    ::chmod(QFile::encodeName(first).constData(), 0777);
    const QString refused = platform::SingleInstanceFolder();
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("XDG_CACHE_HOME", oldCache);
    EXPECT_EQ(first, cache.file("Kartolino"));
    EXPECT_EQ(second, first) << "a session's runtime folder must not split the guard";
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(refused.isEmpty()) << "a folder others may write is no place for the lock";
}
