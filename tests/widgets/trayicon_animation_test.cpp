// The tray icon's animation: frames from its own thread, their pause while the
// icon is removed, stopping, and destruction while frames are under way.

#include "trayicon_fake.h"
#include "timerthread.h"
#include "trayicon.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>

using traytest::ShellCall;
using widgets::TTimerThread;
using widgets::TTrayIcon;

namespace {

bool WaitUntil(const std::function<bool()> &done, int timeoutMs = 3000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

void RunEventsFor(int ms)
{
    WaitUntil([] { return false; }, ms);
}

// Lets finished animation threads free themselves.
void SettleThreads()
{
    RunEventsFor(100);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

const QColor kFrames[] = {Qt::red, Qt::green, Qt::blue};
const QColor kStill = Qt::white;

class TrayAnimationTest : public ::testing::Test {
protected:
    TrayAnimationTest()
    {
        auto fake = std::make_unique<traytest::FakeNotifyIcon>(shell);
        tray = std::make_unique<TTrayIcon>(nullptr, std::move(fake));
        tray->SetHint("Kartolino anzeigen");
        tray->SetIcon(traytest::ColourIcon(kStill));
        tray->SetInterval(30);
    }
    ~TrayAnimationTest() override
    {
        tray.reset();
        SettleThreads();
    }

    void AddFrames()
    {
        for (const QColor &c : kFrames)
            tray->Icons().Add(traytest::ColourIcon(c));
    }

    // The frame (0..2) shown by each modify since the log was cleared; -1 for
    // the still icon.
    std::vector<int> ShownFrames() const
    {
        std::vector<int> frames;
        for (const ShellCall &call : shell->calls) {
            if (call.kind != ShellCall::Modify)
                continue;
            const QColor colour = traytest::IconColour(call.icon);
            int frame = -1;
            for (int i = 0; i < 3; ++i)
                frame = colour == kFrames[i] ? i : frame;
            frames.push_back(frame);
        }
        return frames;
    }

    std::shared_ptr<traytest::ShellLog> shell = std::make_shared<traytest::ShellLog>();
    std::unique_ptr<TTrayIcon> tray;
};

TEST_F(TrayAnimationTest, AnimatedStaysFalseWithoutIcons)
{
    tray->SetAnimated(true);
    EXPECT_FALSE(tray->Animated());
    EXPECT_EQ(tray->FrameIndex(), -1);
}

TEST_F(TrayAnimationTest, FramesFollowInOrderAndWrapAround)
{
    AddFrames();
    shell->Clear();
    QElapsedTimer clock;
    clock.start();
    tray->SetAnimated(true);
    EXPECT_TRUE(tray->Animated());
    EXPECT_EQ(tray->FrameIndex(), 0);
    ASSERT_TRUE(WaitUntil([&] { return ShownFrames().size() >= 5; }));
    const qint64 elapsed = clock.elapsed();
    const std::vector<int> frames = ShownFrames();
    EXPECT_EQ(std::vector<int>(frames.begin(), frames.begin() + 5), (std::vector<int>{0, 1, 2, 0, 1}));
    // Four advances, each after a sleep of one interval.
    EXPECT_GE(elapsed, 4 * 30 - 5);
    EXPECT_EQ(shell->Count(ShellCall::Add), 0);
}

TEST_F(TrayAnimationTest, FramesPauseWhileTheIconIsRemoved)
{
    AddFrames();
    tray->SetAnimated(true);
    ASSERT_TRUE(WaitUntil([&] { return ShownFrames().size() >= 2; }));

    tray->SetActive(false);
    const int frameAtRemoval = tray->FrameIndex();
    shell->Clear();
    RunEventsFor(200);
    EXPECT_EQ(shell->Count(ShellCall::Add), 0);
    EXPECT_EQ(shell->Count(ShellCall::Modify), 0);
    EXPECT_EQ(tray->FrameIndex(), frameAtRemoval);

    tray->SetActive(true);
    EXPECT_EQ(shell->Count(ShellCall::Add), 1);
    EXPECT_TRUE(WaitUntil([&] { return ShownFrames().size() >= 3; }));
}

TEST_F(TrayAnimationTest, AnimationStartedWhileRemovedWaitsForTheIcon)
{
    AddFrames();
    tray->SetActive(false);
    tray->SetAnimated(true);
    RunEventsFor(150);
    EXPECT_EQ(tray->FrameIndex(), 0);

    shell->Clear();
    tray->SetActive(true);
    ASSERT_TRUE(WaitUntil([&] { return ShownFrames().size() >= 2; }));
    EXPECT_EQ(ShownFrames()[0], 1);
    const auto add = std::find_if(shell->calls.begin(), shell->calls.end(),
                                  [](const ShellCall &c) { return c.kind == ShellCall::Add; });
    ASSERT_NE(add, shell->calls.end());
    EXPECT_EQ(traytest::IconColour(add->icon), kFrames[0]);
}

TEST_F(TrayAnimationTest, EmptyFrameLeavesAGapInsteadOfEndingTheAnimation)
{
    tray->Icons().Add(traytest::ColourIcon(kFrames[0]));
    tray->Icons().Add(QIcon());
    tray->Icons().Add(traytest::ColourIcon(kFrames[2]));
    tray->SetAnimated(true);
    // Frame 1 removes the icon; frame 2 adds it back and frame 0 follows.
    ASSERT_TRUE(WaitUntil([&] { return tray->Added() && tray->FrameIndex() == 2; }));
    shell->Clear();
    ASSERT_TRUE(WaitUntil([&] { return tray->FrameIndex() == 0; }));
    ASSERT_FALSE(shell->calls.empty());
    EXPECT_EQ(traytest::IconColour(shell->calls.back().icon), kFrames[0]);
    for (const ShellCall &call : shell->calls)
        EXPECT_TRUE(call.kind == ShellCall::Delete || !call.icon.isNull());
}

TEST_F(TrayAnimationTest, ClearingIconsStopsTheAnimationAndShowsIcon)
{
    AddFrames();
    tray->SetAnimated(true);
    ASSERT_TRUE(WaitUntil([&] { return ShownFrames().size() >= 2; }));

    tray->Icons().Clear();
    EXPECT_FALSE(tray->Animated());
    EXPECT_EQ(tray->FrameIndex(), 0);
    EXPECT_TRUE(tray->Added());
    EXPECT_EQ(traytest::IconColour(shell->calls.back().icon), kStill);

    shell->Clear();
    RunEventsFor(150);
    EXPECT_TRUE(shell->calls.empty());
}

TEST_F(TrayAnimationTest, StoppingShowsIconAgainAndNoFramesFollow)
{
    AddFrames();
    tray->SetAnimated(true);
    ASSERT_TRUE(WaitUntil([&] { return ShownFrames().size() >= 2; }));
    tray->SetAnimated(false);
    EXPECT_EQ(tray->FrameIndex(), 0);
    EXPECT_EQ(traytest::IconColour(tray->CurrentIcon()), kStill);
    shell->Clear();
    RunEventsFor(150);
    EXPECT_TRUE(shell->calls.empty());
}

TEST_F(TrayAnimationTest, LongerIntervalTakesEffectFromTheNextFrame)
{
    AddFrames();
    tray->SetAnimated(true);
    ASSERT_TRUE(WaitUntil([&] { return ShownFrames().size() >= 2; }));
    tray->SetInterval(1000);
    shell->Clear();
    RunEventsFor(400);
    EXPECT_LE(shell->Count(ShellCall::Modify), 1);
}

TEST_F(TrayAnimationTest, DestroyingWhileAnimatingIsSafe)
{
    std::vector<std::pair<std::shared_ptr<traytest::ShellLog>, size_t>> gone;
    int framesSeen = 0;
    for (int i = 0; i < 300; ++i) {
        auto log = std::make_shared<traytest::ShellLog>();
        auto doomed = std::make_unique<TTrayIcon>(nullptr, std::make_unique<traytest::FakeNotifyIcon>(log));
        for (const QColor &c : kFrames)
            doomed->Icons().Add(traytest::ColourIcon(c));
        doomed->SetIcon(traytest::ColourIcon(kStill));
        doomed->SetInterval(quint16(i % 3));
        doomed->SetAnimated(true);
        if (i % 2)
            QThread::usleep(300 * (i % 5)); // frames may be posted but not yet run
        QCoreApplication::processEvents(QEventLoop::AllEvents, i % 4);
        if (i % 10 == 0)
            WaitUntil([&] { return doomed->FrameIndex() > 0; }, 1000);
        framesSeen += doomed->FrameIndex() > 0;
        doomed.reset();
        gone.emplace_back(log, log->calls.size());
    }
    SettleThreads();
    EXPECT_GT(framesSeen, 0); // frames were really under way
    for (const auto &[log, callsAtDestruction] : gone)
        EXPECT_EQ(log->calls.size(), callsAtDestruction);
}

// ---- the thread on its own ----

TEST(TimerThreadTest, NoFrameArrivesAfterDetachEvenWhenAlreadyPosted)
{
    QObject context;
    std::atomic<int> frames = 0;
    auto control = TTimerThread::Start(&context, [&] { ++frames; }, 0, false);
    ASSERT_TRUE(WaitUntil([&] { return frames > 0; }));
    QThread::msleep(20); // the next frame is now waiting in the event queue
    const int atDetach = frames;
    control->Detach();
    EXPECT_FALSE(control->Attached());
    RunEventsFor(50);
    EXPECT_EQ(frames, atDetach);
    SettleThreads();
}

TEST(TimerThreadTest, SuspendedThreadWaitsForResume)
{
    QObject context;
    int frames = 0;
    auto control = TTimerThread::Start(&context, [&] { ++frames; }, 5, true);
    RunEventsFor(60);
    EXPECT_EQ(frames, 0);
    EXPECT_TRUE(control->Suspended());
    control->Resume();
    EXPECT_TRUE(WaitUntil([&] { return frames >= 2; }));
    control->Suspend();
    const int atSuspend = frames;
    RunEventsFor(60);
    EXPECT_EQ(frames, atSuspend);
    control->Detach();
    SettleThreads();
}

TEST(TimerThreadTest, OneFrameAtATimeEvenWhenTheGuiThreadIsBusy)
{
    QObject context;
    int frames = 0;
    auto control = TTimerThread::Start(&context, [&] { ++frames; }, 0, false);
    QThread::msleep(100); // the GUI thread handles nothing meanwhile
    QCoreApplication::processEvents();
    // Not a queue of a hundred frames: the thread waits for each to be run.
    EXPECT_GE(frames, 1);
    EXPECT_LE(frames, 3);
    control->Detach();
    SettleThreads();
}

} // namespace
