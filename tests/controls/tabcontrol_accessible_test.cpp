// What assistive tools read of the tab row: the tree, the names and states,
// the press action, and the signal the editor's name follows.

#include "tabcontrol.h"
#include "tabcontrolaccessible.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace controls;

namespace {

struct TabAccessibleFixture : ::testing::Test {
    TTabControl tabs;
    QTextEdit display;
    bool allow = true;
    QStringList picks;

    static void SetUpTestSuite() { QAccessible::installFactory(TabControlAccessibleFactory); }
    static void TearDownTestSuite() { QAccessible::removeFactory(TabControlAccessibleFactory); }
    void SetUp() override
    {
        tabs.resize(400, 300);
        tabs.SetDisplayWidget(&display);
        tabs.AssignTabs({"&Einkauf", "Notizen", "A&&B"});
        tabs.OnChanging = [this](QObject *, bool &allowChange) {
            picks << QString("changing %1").arg(tabs.TabIndex());
            allowChange = allow;
        };
        tabs.OnChange = [this](QObject *) { picks << QString("change %1").arg(tabs.TabIndex()); };
    }
    void TearDown() override { tabs.SetDisplayWidget(nullptr); }
    QAccessibleInterface *row() { return QAccessible::queryAccessibleInterface(&tabs); }
    QAccessibleInterface *tab(int index) { return row()->child(index); }
};

} // namespace

TEST_F(TabAccessibleFixture, RowIsAPageTabListOfNamedTabsThenTheDisplay)
{
    ASSERT_EQ(row()->role(), QAccessible::PageTabList);
    ASSERT_EQ(row()->childCount(), 4);
    const QStringList names{"Einkauf", "Notizen", "A&B"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tab(i)->role(), QAccessible::PageTab);
        EXPECT_EQ(tab(i)->text(QAccessible::Name), names[i]);
        EXPECT_EQ(tab(i)->state().selected, i == 0);
        EXPECT_TRUE(tab(i)->state().focusable);
        EXPECT_EQ(tab(i)->parent(), row());
        EXPECT_EQ(row()->indexOfChild(tab(i)), i);
        EXPECT_EQ(tab(i)->rect().center(), tabs.mapToGlobal(tabs.TabRect(i).center()));
    }
    EXPECT_EQ(row()->child(3)->object(), &display);
    EXPECT_EQ(row()->indexOfChild(row()->child(3)), 3);
    // Asked again, a tab is the same interface.
    EXPECT_EQ(tab(1), tab(1));
}

TEST_F(TabAccessibleFixture, PressActionPicksAsAClickAndARefusalStays)
{
    for (const bool allowed : {false, true}) {
        SCOPED_TRACE(allowed);
        allow = allowed;
        picks.clear();
        QAccessibleActionInterface *action = tab(1)->actionInterface();
        ASSERT_TRUE(action);
        ASSERT_EQ(action->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        action->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(tabs.TabIndex(), allowed ? 1 : 0);
        EXPECT_EQ(picks, allowed ? QStringList({"changing 0", "change 1"}) : QStringList{"changing 0"});
        EXPECT_EQ(tab(1)->state().selected, allowed);
        EXPECT_EQ(tab(0)->state().selected, !allowed);
    }
}

TEST_F(TabAccessibleFixture, ATabInterfaceStaysWithItsTab)
{
    QAccessibleInterface *last = tab(2);
    // Inserted and moved tabs: every tab keeps its own interface and name.
    tabs.InsertTab(0, "Neu");
    tabs.MoveTab(0, 3);
    EXPECT_EQ(tab(2), last);
    EXPECT_EQ(tab(3)->text(QAccessible::Name), "Neu");
    tabs.DeleteTab(3);
    tabs.DeleteTab(0);
    EXPECT_EQ(tab(1), last);
    EXPECT_EQ(last->text(QAccessible::Name), "A&B");
    tabs.DeleteTab(1);
    EXPECT_FALSE(last->isValid());
    EXPECT_EQ(row()->childCount(), 2);
}

// Qt delivers accessibility events only to a running bridge (the end-to-end
// test has one); what the window names the editor by is checked here.
TEST_F(TabAccessibleFixture, CurrentTabChangedFollowsTheCurrentTab)
{
    QSignalSpy current(&tabs, &TTabControl::CurrentTabChanged);
    struct Step {
        const char *what;
        std::function<void()> run;
        int changes;
    };
    const Step steps[] = {
        {"rename another", [&] { tabs.PutTab(1, "Ideen"); }, 0},
        {"rename current", [&] { tabs.PutTab(0, "Kauf"); }, 1},
        {"add", [&] { tabs.AddTab("Neu"); }, 0},
        {"switch by code", [&] { tabs.SetTabIndex(3); }, 1},
        {"delete another", [&] { tabs.DeleteTab(0); }, 0},
        {"delete current", [&] { tabs.DeleteTab(2); }, 1},
        {"switch by user", [&] { tabs.SelectByUser(1); }, 1},
        {"refused switch", [&] { allow = false; tabs.SelectByUser(0); }, 0},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        current.clear();
        step.run();
        EXPECT_EQ(current.count(), step.changes);
    }
}
