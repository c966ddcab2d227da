#include "platform/singleinstance.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using platform::SingleInstanceGuard;

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
