// What assistive tools read of the tab row: the tree, the names and states,
// the press action, and the events that changes send.

#include "tabcontrol.h"
#include "tabcontrolaccessible.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace controls;

namespace {

// Every event, as "type child name-of-child" at the time it was sent.
QStringList g_events;
void recordEvent(QAccessibleEvent *event)
{
    const QAccessibleInterface *iface = event->accessibleInterface();
    QString type;
    switch (event->type()) {
    case QAccessible::NameChanged: type = "name"; break;
    case QAccessible::ObjectCreated: type = "created"; break;
    case QAccessible::ObjectDestroyed: type = "destroyed"; break;
    case QAccessible::Selection: type = "selection"; break;
    case QAccessible::Focus: type = "focus"; break;
    case QAccessible::StateChanged:
        if (!static_cast<QAccessibleStateChangeEvent *>(event)->changedStates().selected)
            return;
        type = "selected";
        break;
    default: return;
    }
    g_events << QString("%1 %2 %3").arg(type).arg(event->child()).arg(iface ? iface->text(QAccessible::Name) : "-");
}

struct TabAccessibleFixture : ::testing::Test {
    TTabControl tabs;
    QTextEdit display;
    bool allow = true;
    QStringList picks;

    static void SetUpTestSuite()
    {
        QAccessible::installFactory(TabControlAccessibleFactory);
        QAccessible::installUpdateHandler(recordEvent);
    }
    static void TearDownTestSuite()
    {
        QAccessible::installUpdateHandler(nullptr);
        QAccessible::removeFactory(TabControlAccessibleFactory);
    }
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
        g_events.clear();
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
    tabs.DeleteTab(0);
    EXPECT_EQ(tab(1), last);
    EXPECT_EQ(last->text(QAccessible::Name), "A&B");
    tabs.DeleteTab(1);
    EXPECT_FALSE(last->isValid());
    EXPECT_EQ(row()->childCount(), 2);
}

TEST_F(TabAccessibleFixture, ChangesSendTheirEvents)
{
    QSignalSpy current(&tabs, &TTabControl::CurrentTabChanged);
    struct Step {
        const char *what;
        std::function<void()> run;
        QStringList events;
        int currentChanges;
    };
    const Step steps[] = {
        {"rename another", [&] { tabs.PutTab(1, "Ideen"); }, {"name 1 Ideen"}, 0},
        {"rename current", [&] { tabs.PutTab(0, "Kauf"); }, {"name 0 Kauf"}, 1},
        {"add", [&] { tabs.AddTab("Neu"); }, {"created 3 Neu"}, 0},
        {"switch by code", [&] { tabs.SetTabIndex(3); }, {"selected 0 Kauf", "selected 3 Neu", "selection 3 Neu"}, 1},
        {"delete current", [&] { tabs.DeleteTab(3); }, {"destroyed 3 Neu"}, 1},
        {"switch by user", [&] { tabs.SelectByUser(1); }, {"selected 1 Ideen", "selection 1 Ideen"}, 1},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        g_events.clear();
        current.clear();
        step.run();
        EXPECT_EQ(g_events, step.events);
        EXPECT_EQ(current.count(), step.currentChanges);
    }
}
