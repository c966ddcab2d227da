#include "mainwindowfixture.h"
#include "../widgets/trayicon_fake.h"
#include "trayicon.h"

#include <QSignalSpy>
#include <sys/stat.h>

using namespace ui;

namespace {
// The main window with a notification area of our own making.
struct TrayFixture : MainWindowFixture {
    std::shared_ptr<traytest::ShellLog> shell = std::make_shared<traytest::ShellLog>();
    traytest::FakeNotifyIcon *icon = nullptr;

    void SetUp() override
    {
        platform::SetNotifyIconFactory([this] {
            auto fake = std::make_unique<traytest::FakeNotifyIcon>(shell);
            icon = fake.get();
            return fake;
        });
        window = std::make_unique<TfrmMain>();
        platform::SetNotifyIconFactory(nullptr);
        MainWindowFixture::SetUp();
    }
    void clickIcon(bool right = false)
    {
        using E = platform::TrayMouseEvent;
        icon->Send(right ? E::RightDown : E::LeftDown);
        icon->Send(right ? E::RightUp : E::LeftUp);
    }
    // The minimise is handled once the window's state has settled, a turn of
    // the event loop later; these are the conditions it leaves behind.
    bool hiddenInTray()
    {
        return QTest::qWaitFor([this] { return !window->isVisible(); });
    }
};
} // namespace

TEST_F(TrayFixture, IconIsThereFromTheWindowsCreation)
{
    EXPECT_TRUE(shell->shown);
    EXPECT_EQ(window->TrayIcon()->Tip(), "Kartolino anzeigen");
    EXPECT_FALSE(window->windowIcon().isNull());
}

TEST_F(TrayFixture, TrayClickRunsTheFirstShow)
{
    window->StartMinimised();
    QCoreApplication::processEvents();
    clickIcon();
    EXPECT_TRUE(window->FirstShowDone());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(TrayFixture, MinimisingWritesAndHidesAndAClickBringsItBack)
{
    withCards({{"A", "alpha"}});
    startAndRestore();
    window->move(50, 60);
    type(" beta");
    window->showMinimized();
    ASSERT_TRUE(hiddenInTray());
    EXPECT_EQ(cardText("A"), "alpha beta");
    EXPECT_TRUE(window->Cards().CardModified());
    clickIcon(true);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(window->pos(), QPoint(50, 60));
    EXPECT_EQ(window->windowTitle(), "Fennwick Kartolino");
}

TEST_F(TrayFixture, MinimisingWithoutChangesWritesNothing)
{
    withCards({{"A", "alpha"}});
    startAndRestore();
    window->showMinimized();
    ASSERT_TRUE(hiddenInTray()); // the card would have been written before
    EXPECT_EQ(program.read("KRT/A.rtf"), "alpha");
}

TEST_F(TrayFixture, FailedWriteKeepsTheTaskbarEntry)
{
    withCards({{"A", "alpha"}});
    startAndRestore();
    ::chmod(QFile::encodeName(program.file("KRT/A.rtf")).constData(), 0444);
    type("x");
    window->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !errors.isEmpty(); }));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMinimized());
    EXPECT_TRUE(window->Cards().CardModified());
    EXPECT_EQ(errors.size(), 1) << errors.join(" | ").toStdString();
}

TEST_F(TrayFixture, WithoutANotificationAreaTheWindowStaysMinimised)
{
    shell->refuseAdd = true;
    window->TrayIcon()->SetActive(false);
    window->TrayIcon()->SetActive(true);
    ASSERT_FALSE(window->TrayIcon()->Added());
    withCards({{"A", "alpha"}});
    startAndRestore();
    type("x"); // the minimise's write shows when it has been handled
    window->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([this] { return cardText("A") == "alphax"; })) << cardText("A").toStdString();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMinimized());
}

TEST_F(TrayFixture, SchliessenMinimisesAndKeepsRunning)
{
    withCards({{"A", "alpha"}});
    startAndRestore();
    QSignalSpy closed(window.get(), &TfrmMain::Closed);
    window->sbCloseClick(nullptr);
    EXPECT_TRUE(hiddenInTray());
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(shell->shown);
}

TEST_F(TrayFixture, ClosingRemovesTheIcon)
{
    startAndRestore();
    window->close();
    EXPECT_FALSE(shell->shown);
    EXPECT_FALSE(window->TrayIcon()->Active());
}

TEST_F(TrayFixture, ClosingBeforeTheFirstShowWritesNothingAndRemovesTheIcon)
{
    withCards({{"A", "alpha"}});
    window->StartMinimised();
    window->close();
    EXPECT_FALSE(shell->shown);
    EXPECT_EQ(program.read("KRT/A.rtf"), "alpha");
}

TEST_F(TrayFixture, EndingWhileHiddenInTheTrayWritesTheCard)
{
    withCards({{"A", "alpha"}});
    startAndRestore();
    window->showMinimized();
    ASSERT_TRUE(hiddenInTray());
    // Text changed after the minimise's write (a paste through another way
    // in would do the same); the session's end still writes it.
    QTextCursor(window->Editor()->document()).insertText("neu ");
    QSignalSpy closed(window.get(), &TfrmMain::Closed);
    window->close();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(cardText("A"), "neu alpha");
    EXPECT_FALSE(shell->shown);
}
