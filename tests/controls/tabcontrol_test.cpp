#include "guarded.h"
#include "exception.h"
#include "tabcontrol.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QTextEdit>
#include <gtest/gtest.h>

#include "messageof.h"

using testing_support::MessageOf;

using namespace platform;
using namespace controls;

namespace {
struct TabFixture : ::testing::Test {
    TTabControl tabs;
    QStringList events;
    void SetUp() override
    {
        tabs.resize(400, 300);
        tabs.OnChanging = [this](QObject *sender, bool &) {
            EXPECT_EQ(sender, &tabs);
            events << QString("changing %1").arg(tabs.TabIndex());
        };
        tabs.OnChange = [this](QObject *) { events << QString("change %1").arg(tabs.TabIndex()); };
        tabs.AssignTabs({"Einkauf", "Notizen", "Termine"});
    }
};
} // namespace

TEST_F(TabFixture, FillingAnEmptyRowSelectsTheFirstTab)
{
    EXPECT_EQ(tabs.TabIndex(), 0);
    tabs.ClearTabs();
    EXPECT_EQ(tabs.TabIndex(), -1);
    tabs.AddTab("Neu");
    EXPECT_EQ(tabs.TabIndex(), 0);
    tabs.AddTab("Zwei");
    EXPECT_EQ(tabs.TabIndex(), 0);
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(TabFixture, UserPickRaisesChangingThenChange)
{
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.TabRect(2).center());
    EXPECT_EQ(events, QStringList({"changing 0", "change 2"}));
    EXPECT_EQ(tabs.TabIndex(), 2);
    // Clicking the selected tab is no pick.
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.TabRect(2).center());
    EXPECT_EQ(events.size(), 2);
}

TEST_F(TabFixture, KeyboardPicksRaiseEventsToo)
{
    tabs.setFocus();
    QTest::keyClick(&tabs, Qt::Key_Right);
    QTest::keyClick(&tabs, Qt::Key_End);
    EXPECT_EQ(events, QStringList({"changing 0", "change 1", "changing 1", "change 2"}));
}

TEST_F(TabFixture, CtrlTabFromTheEditorInsideMovesOn)
{
    auto *editor = new QTextEdit;
    tabs.SetDisplayWidget(editor);
    tabs.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tabs));
    editor->setFocus();
    // Forth and back through three tabs, round the ends.
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int index;
    } steps[] = {{Qt::Key_Tab, Qt::ControlModifier, 1},
                 {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 0},
                 {Qt::Key_PageDown, Qt::ControlModifier, 1},
                 {Qt::Key_PageUp, Qt::ControlModifier, 0},
                 {Qt::Key_PageUp, Qt::ControlModifier, 2},
                 {Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, 1}};
    for (const auto &step : steps) {
        QTest::keyClick(editor, step.key, step.mods);
        EXPECT_EQ(tabs.TabIndex(), step.index) << QKeySequence(QKeyCombination(step.mods, step.key)).toString().toStdString();
    }
    EXPECT_EQ(events.size(), 12);
}

TEST_F(TabFixture, CodeSetsRaiseNoEvents)
{
    tabs.SetTabIndex(2);
    tabs.DeleteTab(0);
    tabs.PutTab(0, "Umbenannt");
    tabs.SetStyle(tsButtons);
    tabs.SetMultiLine(true);
    tabs.SetHotTrack(true);
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(tabs.TabIndex(), 1);
    EXPECT_EQ(tabs.Tabs(), QStringList({"Umbenannt", "Termine"}));
}

TEST_F(TabFixture, RefusedOrFailedChangingKeepsTheOldTab)
{
    tabs.OnChanging = [](QObject *, bool &allow) { allow = false; };
    EXPECT_FALSE(tabs.SelectByUser(1));
    EXPECT_EQ(tabs.TabIndex(), 0);

    QStringList shown;
    SetErrorPresenter([&](const QString &m) { shown << m; });
    bool changed = false;
    tabs.OnChanging = [](QObject *, bool &) { throw Exception("geht nicht"); };
    tabs.OnChange = [&](QObject *) { changed = true; };
    EXPECT_FALSE(tabs.SelectByUser(1));
    SetErrorPresenter(nullptr);
    EXPECT_EQ(tabs.TabIndex(), 0);
    EXPECT_FALSE(changed);
    EXPECT_EQ(shown, QStringList{"geht nicht"});
}

TEST_F(TabFixture, ListFailuresCarryTheControlsMessages)
{
    EXPECT_EQ(MessageOf([&] { tabs.Tab(-1); }), "Registerseite mit Index -1 konnte nicht gelesen werden");
    EXPECT_EQ(MessageOf([&] { tabs.Tab(3); }), "Registerseite mit Index 3 konnte nicht gelesen werden");
    EXPECT_EQ(MessageOf([&] { tabs.DeleteTab(5); }), "Registerseite mit Index 5 konnte nicht gelöscht werden");
    EXPECT_EQ(MessageOf([&] { tabs.PutTab(7, "X"); }), "Registerseite 'X' mit Index 7 konnte nicht gesetzt werden");
}

TEST_F(TabFixture, DeletingTheSelectedTabLeavesNoneSelected)
{
    tabs.SetTabIndex(1);
    tabs.DeleteTab(1);
    EXPECT_EQ(tabs.TabIndex(), -1);
    tabs.SetTabIndex(1);
    tabs.DeleteTab(0);
    EXPECT_EQ(tabs.TabIndex(), 0);
}

TEST_F(TabFixture, SeveralRowsOnlyWhenMultiLine)
{
    QStringList many;
    for (int i = 0; i < 30; ++i)
        many << QString("Karte Nummer %1").arg(i);
    tabs.AssignTabs(many);
    EXPECT_EQ(tabs.RowCount(), 1);
    EXPECT_TRUE(tabs.TabRect(29).isEmpty()); // scrolled out of the single row
    tabs.resize(400, 800); // tall enough for every row
    tabs.SetMultiLine(true);
    EXPECT_FALSE(tabs.RowsScroll());
    EXPECT_GT(tabs.RowCount(), 2);
    for (int i = 0; i < 30; ++i) {
        EXPECT_FALSE(tabs.TabRect(i).isEmpty());
        EXPECT_LE(tabs.TabRect(i).right(), tabs.width());
    }
    // The display area starts below the last row.
    int bottom = 0;
    for (int i = 0; i < 30; ++i)
        bottom = qMax(bottom, tabs.TabRect(i).bottom());
    EXPECT_GT(tabs.DisplayRect().top(), bottom);
}

TEST_F(TabFixture, SelectingInASingleRowScrollsTheTabIntoView)
{
    QStringList many;
    for (int i = 0; i < 30; ++i)
        many << QString("Karte Nummer %1").arg(i);
    tabs.AssignTabs(many);
    tabs.SetTabIndex(25);
    EXPECT_FALSE(tabs.TabRect(25).isEmpty());
    EXPECT_TRUE(tabs.TabRect(0).isEmpty());
}

TEST_F(TabFixture, TabWidthsFollowRenamesDeletionsAndTheFont)
{
    const int shortWidth = tabs.TabRect(1).width();
    tabs.PutTab(1, "Notizen vom langen Dienstag");
    const int longWidth = tabs.TabRect(1).width();
    EXPECT_GT(longWidth, shortWidth);
    tabs.DeleteTab(0);
    EXPECT_EQ(tabs.TabRect(0).width(), longWidth);
    tabs.AddTab("Notizen");
    EXPECT_EQ(tabs.TabRect(2).width(), shortWidth);
    QFont bigger = tabs.font();
    bigger.setPointSizeF(bigger.pointSizeF() * 2);
    tabs.setFont(bigger);
    EXPECT_GT(tabs.TabRect(0).width(), longWidth);
}

// The editor fills the client area less the frame the tab row draws round it
// (2 pixels of frame and 2 of margin with tabs, none with buttons) and starts
// below the row strip (2 pixels, the rows, 3 pixels between button rows): with
// tabs past the frame and 2 pixels lower, with buttons 2 and 2 pixels lower.
struct DisplayCase {
    const char *name;
    TTabStyle style;
    bool multiLine;
    QSize size;
    int side;   // frame plus margin left, right and below
    int below;  // from the row strip to the editor
    int rowGap; // between rows
};

class DisplayArea : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayArea, EditorFillsTheClientAreaLessTheFrameBelowTheRows)
{
    const DisplayCase &c = GetParam();
    TTabControl tabs;
    QStringList many;
    for (int i = 0; i < 12; ++i)
        many << QString("Karte Nummer %1").arg(i);
    tabs.AssignTabs(many);
    auto *editor = new QTextEdit;
    tabs.SetDisplayWidget(editor);
    tabs.SetStyle(c.style);
    tabs.SetMultiLine(c.multiLine);
    tabs.resize(c.size);
    tabs.show(); // a hidden widget hears of its size only when shown
    ASSERT_EQ(editor->parentWidget(), &tabs);
    const int rows = tabs.RowCount();
    ASSERT_EQ(rows > 1, c.multiLine);
    const int strip = 2 + rows * tabs.TabRect(0).height() + (rows - 1) * c.rowGap;
    const int top = strip + c.below;
    EXPECT_EQ(editor->geometry(), QRect(c.side, top, c.size.width() - 2 * c.side, c.size.height() - top - c.side));
}

// Rows beyond about half of the control scroll, so the editor keeps the rest;
// the selected tab's row always shows.
class RowCap : public ::testing::TestWithParam<TTabStyle> {};

TEST_P(RowCap, TenThousandTabsLeaveTheEditorHalfTheControl)
{
    TTabControl tabs;
    tabs.resize(800, 600);
    QStringList many;
    for (int i = 0; i < 10000; ++i)
        many << QString("Karte %1").arg(i);
    tabs.AssignTabs(many);
    tabs.SetStyle(GetParam());
    tabs.SetMultiLine(true);
    tabs.SetTabIndex(5000);
    ASSERT_TRUE(tabs.RowsScroll());
    EXPECT_LE(tabs.DisplayRect().top(), tabs.height() / 2 + 8);
    EXPECT_GT(tabs.RowCount(), 3) << "the room that is there is used";
    EXPECT_EQ(tabs.TabAt(QPoint(400, 400)), -1) << "the middle of the control picks no tab";

    const auto shown = [&] {
        QList<int> indices;
        for (int i = 0; i < tabs.TabCount(); ++i) {
            const QRect r = tabs.TabRect(i);
            if (!r.isEmpty()) {
                indices << i;
                EXPECT_LT(r.bottom(), tabs.DisplayRect().top()) << i;
                EXPECT_LE(r.right(), tabs.width()) << i;
            }
        }
        return indices;
    };
    const QList<int> first = shown();
    EXPECT_TRUE(first.contains(0));
    EXPECT_TRUE(first.contains(5000));
    tabs.ScrollRows(3);
    const QList<int> scrolled = shown();
    EXPECT_FALSE(scrolled.contains(0));
    EXPECT_TRUE(scrolled.contains(5000));
    tabs.ScrollRows(100000);
    const QList<int> last = shown();
    EXPECT_TRUE(last.contains(9999)) << "the last row can be reached";
    EXPECT_TRUE(last.contains(5000));

    // A pick in a shown row keeps it shown; a pick by keyboard far away shows its row.
    tabs.SelectByUser(last.first());
    EXPECT_FALSE(tabs.TabRect(last.first()).isEmpty());
    tabs.SetTabIndex(17);
    EXPECT_FALSE(tabs.TabRect(17).isEmpty());
    // Gone the rows that did not fit, the described layout is back.
    tabs.AssignTabs({"Einkauf", "Notizen"});
    EXPECT_FALSE(tabs.RowsScroll());
    EXPECT_EQ(tabs.RowCount(), 1);
}

TEST(RowCapInput, ArrowsAndWheelScrollTheRows)
{
    TTabControl tabs;
    tabs.resize(400, 200);
    QStringList many;
    for (int i = 0; i < 200; ++i)
        many << QString("Karte %1").arg(i);
    tabs.AssignTabs(many);
    tabs.SetMultiLine(true);
    tabs.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tabs));
    ASSERT_TRUE(tabs.RowsScroll());
    const auto firstShown = [&] { // past the selected tab's row, which always shows
        for (int i = 1; i < tabs.TabCount(); ++i)
            if (!tabs.TabRect(i).isEmpty() && tabs.TabRect(i).top() != tabs.TabRect(0).top())
                return i;
        return -1;
    };
    const int top = firstShown();
    // The arrows sit at the right end of the first row: down, and left of it up.
    const QRect firstRow = tabs.TabRect(top);
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(tabs.width() - 8, firstRow.center().y()));
    const int down = firstShown();
    EXPECT_GT(down, top);
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(tabs.width() - 24, firstRow.center().y()));
    EXPECT_EQ(firstShown(), top);
    QWheelEvent wheel(QPointF(20, 5), tabs.mapToGlobal(QPointF(20, 5)), QPoint(), QPoint(0, -120), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&tabs, &wheel);
    EXPECT_EQ(firstShown(), down);
    EXPECT_EQ(tabs.TabIndex(), 0) << "scrolling picks nothing";
}

INSTANTIATE_TEST_SUITE_P(Styles, RowCap, ::testing::Values(tsTabs, tsButtons, tsFlatButtons));

INSTANTIATE_TEST_SUITE_P(
    Tabs, DisplayArea,
    ::testing::Values(DisplayCase{"tabs_one_row", tsTabs, false, {400, 300}, 4, 6, 0},
                      DisplayCase{"tabs_rows", tsTabs, true, {300, 250}, 4, 6, 0},
                      DisplayCase{"buttons_rows", tsButtons, true, {300, 250}, 0, 4, 3}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(TabFixture, AltWithACaptionsMnemonicPicksThatTab)
{
    tabs.AssignTabs({"&Einkauf", "&Notizen", "Ohne"});
    events.clear();
    tabs.show();
    tabs.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tabs));
    QTest::keyClick(&tabs, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(tabs.TabIndex(), 1);
    EXPECT_EQ(events, QStringList({"changing 0", "change 1"}));
    QTest::keyClick(&tabs, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(tabs.TabIndex(), 1) << "a caption without & has no mnemonic";
}
