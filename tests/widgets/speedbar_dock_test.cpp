// Re-docking a speed bar by dragging it: the edge under the pointer, the
// start of a drag, the veto, the outline among docked siblings and the drop.

#include "speedbar_testing.h"
#include "guarded.h"
#include "exception.h"
#include "dragoutline.h"
#include "speedbar.h"
#include "speeditem.h"

#include <gtest/gtest.h>
#include <vector>

using namespace widgets;
using namespace speedbartest;

namespace {

TEST(DockTarget, EachTriangleGivesItsEdge)
{
    const QSize square(100, 100);
    EXPECT_EQ(DockTargetAt({50, 10}, square), alTop);
    EXPECT_EQ(DockTargetAt({50, 90}, square), alBottom);
    EXPECT_EQ(DockTargetAt({10, 50}, square), alLeft);
    EXPECT_EQ(DockTargetAt({90, 50}, square), alRight);
    // A wide parent: the diagonals run corner to corner, not at 45 degrees.
    const QSize wide(600, 300);
    EXPECT_EQ(DockTargetAt({300, 20}, wide), alTop);
    EXPECT_EQ(DockTargetAt({300, 290}, wide), alBottom);
    EXPECT_EQ(DockTargetAt({60, 150}, wide), alLeft);
    EXPECT_EQ(DockTargetAt({540, 150}, wide), alRight);
    EXPECT_EQ(DockTargetAt({100, 40}, wide), alTop);  // above both diagonals near the left
    EXPECT_EQ(DockTargetAt({100, 60}, wide), alLeft); // just below the main diagonal (y = x / 2)
}

TEST(DockTarget, PointsOnTheDiagonalsBelongToTheStrictSide)
{
    const QSize square(100, 100);
    // On the main diagonal condition A (strictly below it) fails.
    EXPECT_EQ(DockTargetAt({30, 30}, square), alTop);
    EXPECT_EQ(DockTargetAt({70, 70}, square), alRight);
    // On the other diagonal condition B (strictly above it) fails.
    EXPECT_EQ(DockTargetAt({30, 70}, square), alBottom);
    EXPECT_EQ(DockTargetAt({70, 30}, square), alRight);
    // The centre is on both: neither holds.
    EXPECT_EQ(DockTargetAt({50, 50}, square), alRight);
    EXPECT_EQ(DockTargetAt({0, 0}, square), alTop);
    EXPECT_EQ(DockTargetAt({0, 100}, square), alBottom);
    const QSize wide(600, 300);
    EXPECT_EQ(DockTargetAt({200, 100}, wide), alTop);    // y = x / 2 exactly
    EXPECT_EQ(DockTargetAt({200, 200}, wide), alBottom); // y = 300 - x / 2 exactly
}

TEST(DockTarget, AnEmptyParentDoesNotDivideByZero)
{
    EXPECT_NO_FATAL_FAILURE(DockTargetAt({5, 5}, QSize(0, 0)));
}

class BarDrag : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner.resize(600, 300);
        bar = new TSpeedBar(&owner);
        bar->setObjectName("SpeedBar1");
        item = new TSpeedItem(&owner);
        bar->AttachItem(item, 0);
        item->SetVisible(true);
        bar->OnPosChanged = [this](QObject *sender) {
            EXPECT_EQ(sender, bar);
            ++posChanged;
        };
    }
    // The pointer at p in the owner's client area, the bar holding the mouse.
    void pressAt(QPoint p) { press(bar, p - bar->pos()); }
    void moveTo(QPoint p) { move(bar, p - bar->pos()); }
    void releaseAt(QPoint p) { release(bar, p - bar->pos()); }
    QRect onScreen(const QRect &r) const { return QRect(owner.mapToGlobal(r.topLeft()), r.size()); }
    // Presses on the bar's free surface and moves far enough to start.
    void startDrag()
    {
        pressAt({300, 10});
        moveTo({300, 20});
        ASSERT_TRUE(bar->IsDragging());
    }

    QWidget owner;
    TSpeedBar *bar = nullptr;
    TSpeedItem *item = nullptr;
    int posChanged = 0;
};

TEST_F(BarDrag, MovesOfUpToFourAcrossOrFourDownAreStillAClick)
{
    pressAt({100, 10});
    moveTo({104, 10});
    moveTo({96, 14});
    moveTo({104, 6});
    EXPECT_FALSE(bar->IsDragging());
    moveTo({105, 10});
    EXPECT_TRUE(bar->IsDragging());
    releaseAt({105, 10});

    pressAt({100, 10});
    moveTo({100, 15});
    EXPECT_TRUE(bar->IsDragging());
    releaseAt({100, 15});

    pressAt({100, 20});
    moveTo({100, 15});
    EXPECT_TRUE(bar->IsDragging()) << "five up counts as well";
    releaseAt({100, 15});
}

TEST_F(BarDrag, StartingOutlinesTheBarAndSetsTheDragCursor)
{
    startDrag();
    EXPECT_EQ(bar->DragOutline(), onScreen(bar->geometry()));
    EXPECT_EQ(bar->DragAlign(), alTop);
    ASSERT_NE(bar->OutlineWindow(), nullptr);
    EXPECT_TRUE(bar->OutlineWindow()->isVisible());
    EXPECT_EQ(bar->OutlineWindow()->geometry(), bar->DragOutline());
    EXPECT_EQ(bar->cursor().shape(), Qt::SizeAllCursor);
    releaseAt({300, 20});
    EXPECT_FALSE(bar->OutlineWindow()->isVisible());
    EXPECT_FALSE(bar->testAttribute(Qt::WA_SetCursor)) << "the bar had no cursor of its own";
}

TEST_F(BarDrag, MovesWithoutTheLeftButtonOrWithoutAPressDoNothing)
{
    moveTo({300, 200});
    EXPECT_FALSE(bar->IsDragging());
    pressAt({300, 10});
    const QPoint far = QPoint(300, 200) - bar->pos();
    QMouseEvent bare(QEvent::MouseMove, QPointF(far), QPointF(bar->mapToGlobal(far)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(bar, &bare);
    EXPECT_FALSE(bar->IsDragging());
    releaseAt({300, 10});
    EXPECT_EQ(posChanged, 0);
}

TEST_F(BarDrag, NothingDragsWithoutTheOptionOrOffTheEdges)
{
    bar->SetOptions(sbGrayedBtns);
    pressAt({300, 10});
    moveTo({300, 200});
    EXPECT_FALSE(bar->IsDragging());
    releaseAt({300, 200});
    EXPECT_EQ(bar->Align(), alTop);

    bar->SetOptions(TSpeedbarOptions(sbAllowDrag) | sbGrayedBtns);
    bar->SetPosition(TBarPosition::bpCustom);
    bar->SetAlign(alClient);
    pressAt({300, 10});
    moveTo({300, 200});
    EXPECT_FALSE(bar->IsDragging());
    releaseAt({300, 200});
    EXPECT_EQ(bar->Align(), alClient);
    EXPECT_EQ(posChanged, 0);
}

TEST_F(BarDrag, APressOnAButtonIsTheButtonsOwn)
{
    item->SetLeft(10);
    int clicks = 0;
    item->SetOnClick([&](QObject *) { ++clicks; });
    const QPoint onButton = item->Button()->geometry().center();
    press(item->Button(), onButton - item->Button()->pos());
    move(bar, QPoint(300, 200));
    EXPECT_FALSE(bar->IsDragging());
    release(item->Button(), onButton - item->Button()->pos());
    EXPECT_EQ(clicks, 1);
}

TEST_F(BarDrag, EachMoveAsksForTheTargetAndAVetoKeepsTheOutline)
{
    std::vector<TAlign> asked;
    bar->OnApplyAlign = [&](QObject *sender, TAlign align, bool &apply) {
        EXPECT_EQ(sender, bar);
        asked.push_back(align);
        if (align == alLeft)
            apply = false;
    };
    startDrag();
    EXPECT_TRUE(asked.empty()) << "the move that starts the drag asks nothing";
    const QRect start = bar->DragOutline();

    moveTo({40, 150});
    EXPECT_EQ(asked, std::vector<TAlign>{alLeft});
    EXPECT_EQ(bar->DragOutline(), start);
    EXPECT_EQ(bar->DragAlign(), alTop);

    moveTo({300, 280});
    EXPECT_EQ(bar->DragAlign(), alBottom);
    const QRect bottom = onScreen(QRect(0, 271, 600, 29));
    EXPECT_EQ(bar->DragOutline(), bottom);
    EXPECT_EQ(bar->OutlineWindow()->geometry(), bottom);

    moveTo({40, 150});
    EXPECT_EQ(bar->DragOutline(), bottom) << "a veto leaves the outline where it was";
    EXPECT_EQ(bar->DragAlign(), alBottom);

    // Dropped on the vetoed edge: the last accepted one applies.
    releaseAt({40, 150});
    EXPECT_EQ(bar->Align(), alBottom);
    EXPECT_EQ(bar->geometry(), QRect(0, 271, 600, 29));
    EXPECT_EQ(posChanged, 1);
}

TEST_F(BarDrag, DropOnTheLeftDocksThereAndTurnsTheBar)
{
    item->SetLeft(34);
    startDrag();
    moveTo({40, 150});
    EXPECT_EQ(bar->DragOutline(), onScreen(QRect(0, 0, 29, 300))) << "the outline keeps the bar's thickness";
    releaseAt({40, 150});
    EXPECT_EQ(bar->Align(), alLeft);
    EXPECT_EQ(bar->Orientation(), TBarOrientation::boVertical);
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 29, 300));
    EXPECT_EQ(item->Button()->pos(), QPoint(3, 34));
    EXPECT_EQ(posChanged, 1);
    EXPECT_FALSE(bar->IsDragging());
    EXPECT_TRUE(bar->DragOutline().isNull());

    // And on to the right: the outline now takes the vertical bar's width.
    pressAt({10, 150});
    moveTo({20, 150});
    moveTo({560, 150});
    EXPECT_EQ(bar->DragOutline(), onScreen(QRect(571, 0, 29, 300)));
    releaseAt({560, 150});
    EXPECT_EQ(bar->Align(), alRight);
    EXPECT_EQ(bar->geometry(), QRect(571, 0, 29, 300));
    EXPECT_EQ(posChanged, 2);
}

TEST_F(BarDrag, DropOnTheSameEdgeStillReportsTheNewPosition)
{
    startDrag();
    moveTo({300, 250});
    moveTo({300, 30});
    releaseAt({300, 30});
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 600, 29));
    EXPECT_EQ(posChanged, 1);
}

TEST_F(BarDrag, AClickWithoutADragNeverMovesTheBar)
{
    // Near the bar's left end the point lies in the left triangle.
    pressAt({5, 10});
    moveTo({8, 12});
    releaseAt({8, 12});
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_EQ(posChanged, 0);
}

TEST_F(BarDrag, AThrowingHandlerReachesTheErrorBoxAndTheDropGoesOn)
{
    QStringList shown;
    platform::SetErrorPresenter([&](const QString &message) { shown << message; });
    bar->OnApplyAlign = [](QObject *, TAlign, bool &) { throw platform::Exception("kaputt"); };
    startDrag();
    moveTo({300, 280});
    releaseAt({300, 280});
    EXPECT_EQ(bar->Align(), alBottom);
    EXPECT_EQ(posChanged, 1);
    EXPECT_EQ(shown.size(), 2);
    platform::SetErrorPresenter({});
}

class BarOutline : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner.resize(600, 300);
        top = docked(QRect(0, 0, 600, 40), alTop);
        left = docked(QRect(0, 40, 50, 260), alLeft);
        bar = new TSpeedBar(&owner);
        // Docked below the top sibling, as the framework would place it.
        bar->setGeometry(0, 40, 600, 29);
    }
    QWidget *docked(const QRect &geometry, TAlign edge)
    {
        auto *w = new QWidget(&owner);
        w->setGeometry(geometry);
        w->setProperty("Align", int(edge));
        return w;
    }

    QWidget owner;
    QWidget *top = nullptr;
    QWidget *left = nullptr;
    TSpeedBar *bar = nullptr;
};

TEST_F(BarOutline, SiblingsDockedEarlierNarrowTheArea)
{
    EXPECT_EQ(bar->DockOutline(alTop), QRect(0, 40, 600, 29)) << "the top sibling lies above the bar";
    EXPECT_EQ(bar->DockOutline(alBottom), QRect(0, 271, 600, 29));
    // The left sibling is not left of the bar, so the bar would come first.
    EXPECT_EQ(bar->DockOutline(alLeft), QRect(0, 40, 29, 260));
    EXPECT_EQ(bar->DockOutline(alRight), QRect(571, 40, 29, 260));
}

TEST_F(BarOutline, ASiblingOnTheTargetEdgeCountsOnlyOutsideTheBar)
{
    bar->setGeometry(60, 100, 500, 29);
    EXPECT_EQ(bar->DockOutline(alLeft), QRect(50, 40, 29, 260));
    EXPECT_EQ(bar->DockOutline(alTop), QRect(0, 40, 600, 29)) << "later edges never narrow an earlier one";
    docked(QRect(570, 40, 30, 260), alRight);
    EXPECT_EQ(bar->DockOutline(alRight), QRect(541, 40, 29, 260));
    EXPECT_EQ(bar->DockOutline(alTop), QRect(0, 40, 600, 29));

    // Level with the bar's right end the right sibling would come after it;
    // the left sibling still counts, its edge comes earlier.
    bar->setGeometry(0, 100, 600, 29);
    EXPECT_EQ(bar->DockOutline(alRight), QRect(571, 40, 29, 260));

    // A top sibling below the bar does not count for the top edge, but does
    // for every later one.
    bar->setGeometry(0, 0, 600, 29);
    top->move(0, 30);
    EXPECT_EQ(bar->DockOutline(alTop), QRect(0, 0, 600, 29));
    EXPECT_EQ(bar->DockOutline(alLeft), QRect(0, 40, 29, 260));
}

TEST_F(BarOutline, HiddenAndUndockedSiblingsDoNotCount)
{
    top->hide();
    left->setProperty("Align", int(alNone));
    auto *client = new QWidget(&owner);
    client->setProperty("Align", int(alClient));
    client->setGeometry(0, 0, 600, 300);
    EXPECT_EQ(bar->DockOutline(alBottom), QRect(0, 271, 600, 29));
    EXPECT_EQ(bar->DockOutline(alLeft), QRect(0, 0, 29, 300));
}

TEST_F(BarOutline, AnotherSpeedBarCountsByItsAlignment)
{
    top->setProperty("Align", QVariant());
    left->setProperty("Align", QVariant());
    auto *other = new TSpeedBar(&owner);
    other->SetAlign(alBottom); // 29 high at the bottom
    EXPECT_EQ(other->geometry(), QRect(0, 271, 600, 29));
    EXPECT_EQ(bar->DockOutline(alLeft), QRect(0, 0, 29, 271));
    EXPECT_EQ(bar->DockOutline(alTop), QRect(0, 0, 600, 29));
}

TEST_F(BarOutline, AVerticalBarIsCutToItsWidth)
{
    top->hide();
    left->hide();
    bar->SetAlign(alLeft);
    bar->resize(40, 300);
    EXPECT_EQ(bar->DockOutline(alTop), QRect(0, 0, 600, 40));
    EXPECT_EQ(bar->DockOutline(alBottom), QRect(0, 260, 600, 40));
    EXPECT_EQ(bar->DockOutline(alRight), QRect(560, 0, 40, 300));
}

} // namespace
