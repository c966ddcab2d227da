// The speed bar under a customisation editor: items in edit mode, buttons
// dragged on and off the bar, resizing by whole rows, the editor's
// notifications, and the customisation window itself.

#include "speedbar_testing.h"
#include "btncontrol.h"
#include "buttonimage.h"
#include "speedbar.h"
#include "speedbarcustomize.h"
#include "speedbarsection.h"
#include "speeditem.h"

#include <QListWidget>
#include <QPointer>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace widgets;
using namespace speedbartest;

namespace {

struct RecordingEditor : TSpeedbarEditor {
    void SpeedbarNotify(TSpeedBar *bar, TSpeedbarNotification code, TSpeedItem *item) override
    {
        bars.push_back(bar);
        log.emplace_back(code, item);
    }
    std::vector<TSpeedBar *> bars;
    std::vector<std::pair<TSpeedbarNotification, TSpeedItem *>> log;
};

using Log = std::vector<std::pair<TSpeedbarNotification, TSpeedItem *>>;

class BarEditMode : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner.setPalette(testPalette());
        owner.resize(600, 300);
        bar = new TSpeedBar(&owner);
        bar->SetOptions(TSpeedbarOptions(sbFlatBtns) | sbGrayedBtns);
        item = addItem("spNeu", 3, 3);
        other = addItem("spOeffnen", 27, 3);
    }
    TSpeedItem *addItem(const QString &name, int left, int top)
    {
        auto *i = new TSpeedItem(&owner);
        i->setObjectName(name);
        i->SetGlyph(sampleGlyph());
        bar->AttachItem(i, 0);
        i->SetLeft(left);
        i->SetTop(top);
        i->SetVisible(true);
        return i;
    }
    // Mouse events on a widget with the pointer at p in the owner's area.
    QPoint local(QWidget *w, QPoint p) const { return w->mapFromGlobal(owner.mapToGlobal(p)); }
    void pressOn(QWidget *w, QPoint p) { press(w, local(w, p)); }
    void moveOn(QWidget *w, QPoint p) { move(w, local(w, p)); }
    void releaseOn(QWidget *w, QPoint p) { release(w, local(w, p)); }

    RecordingEditor editor; // outlives the bar, which tells it of its end
    QWidget owner;
    TSpeedBar *bar = nullptr;
    TSpeedItem *item = nullptr;
    TSpeedItem *other = nullptr;
};

TEST_F(BarEditMode, ItemsStayEnabledAndRaisedWhileAnEditorIsAttached)
{
    other->SetEnabled(false);
    ASSERT_FALSE(other->Button()->isEnabled());
    bar->SetEditorWindow(&editor);
    EXPECT_TRUE(item->EditMode());
    EXPECT_TRUE(other->Button()->isEnabled());
    EXPECT_FALSE(other->Button()->Flat());
    other->SetEnabled(true);
    other->SetEnabled(false);
    EXPECT_TRUE(other->Button()->isEnabled());
    bar->SetOptions(bar->Options() | sbTransparentBtns);
    EXPECT_FALSE(item->Button()->Flat()) << "new options keep edit mode's raised buttons";

    auto *late = addItem("spLate", 51, 3);
    EXPECT_TRUE(late->EditMode());
    EXPECT_FALSE(late->Button()->Flat());

    bar->SetEditorWindow(nullptr);
    EXPECT_FALSE(item->EditMode());
    EXPECT_FALSE(other->Button()->isEnabled());
    EXPECT_TRUE(other->Button()->Flat());
    EXPECT_TRUE(item->Button()->Flat());
}

TEST_F(BarEditMode, APressDragsTheButtonInsteadOfClickingIt)
{
    int clicks = 0;
    item->SetOnClick([&](QObject *) { ++clicks; });
    bar->SetEditorWindow(&editor);
    pressOn(item->Button(), {10, 12});
    const TBtnControl *image = bar->DragImage();
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->isVisible());
    EXPECT_EQ(image->HotSpot(), QPoint(7, 9));
    EXPECT_EQ(image->size(), QSize(24, 23));
    EXPECT_TRUE(image->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(image->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(image->windowFlags().testFlag(Qt::FramelessWindowHint));

    moveOn(item->Button(), {200, 150});
    EXPECT_EQ(image->pos(), owner.mapToGlobal(QPoint(193, 141)));
    releaseOn(item->Button(), {100, 12});
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(bar->DragImage(), nullptr);
}

TEST_F(BarEditMode, ADropOnTheBarPlacesTheItemOnTheGrid)
{
    bar->SetEditorWindow(&editor);
    pressOn(item->Button(), {10, 12});
    moveOn(item->Button(), {300, 100});
    releaseOn(item->Button(), {110, 12}); // corner at (103, 3): 3 + 12.5 steps of 8, to the even 12
    EXPECT_EQ(item->Button()->pos(), QPoint(99, 3));
    EXPECT_TRUE(item->Visible());
    EXPECT_EQ(editor.log, (Log{{snItemPlaced, item}}));
    EXPECT_EQ(editor.bars, std::vector<TSpeedBar *>{bar});
}

TEST_F(BarEditMode, ADropOffTheBarHidesTheItem)
{
    bar->SetEditorWindow(&editor);
    pressOn(other->Button(), {30, 10});
    releaseOn(other->Button(), {300, 200});
    EXPECT_FALSE(other->Visible());
    EXPECT_TRUE(other->Button()->isHidden());
    EXPECT_EQ(editor.log, (Log{{snDragEnded, nullptr}}));
}

TEST_F(BarEditMode, DropItemRefusesItemsOfOtherBars)
{
    bar->SetEditorWindow(&editor);
    TSpeedItem stranger;
    EXPECT_FALSE(bar->DropItem(&stranger, bar->mapToGlobal(QPoint(50, 10)), QPoint()));
    EXPECT_EQ(editor.log, (Log{{snDragEnded, nullptr}}));
}

TEST_F(BarEditMode, WithoutAnEditorAPressIsAnOrdinaryClick)
{
    int clicks = 0;
    item->SetOnClick([&](QObject *) { ++clicks; });
    click(item->Button(), QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(bar->DragImage(), nullptr);
}

TEST_F(BarEditMode, TheEditorHearsOfSizeAxisAndTheBarsEnd)
{
    bar->SetEditorWindow(&editor);
    bar->SetBtnWidth(30);
    EXPECT_EQ(editor.log, (Log{{snButtonsChanged, nullptr}}));
    bar->SetAlign(alLeft);
    EXPECT_EQ(editor.log.back(), std::make_pair(snButtonsChanged, static_cast<TSpeedItem *>(nullptr)));
    const size_t before = editor.log.size();
    bar->SetAlign(alRight); // same axis
    EXPECT_EQ(editor.log.size(), before);
    delete bar;
    EXPECT_EQ(editor.log.back(), std::make_pair(snBarDestroyed, static_cast<TSpeedItem *>(nullptr)));
}

TEST_F(BarEditMode, TheInnerEdgeResizesTheBarInWholeRows)
{
    bar->SetOptions(bar->Options() | sbAllowResize); // flat: offsets stay 3
    bar->SetEditorWindow(&editor);
    ASSERT_EQ(bar->height(), 29);
    pressOn(bar, {300, 26});
    EXPECT_TRUE(bar->IsResizing());
    moveOn(bar, {300, 70}); // (70 - 6) / 23 = 2.8 rows
    EXPECT_EQ(bar->height(), 3 * 23 + 6);
    moveOn(bar, {300, 10});
    EXPECT_EQ(bar->height(), 29) << "at least one row";
    moveOn(bar, {300, 1000});
    EXPECT_EQ(bar->height(), 12 * 23 + 6) << "no more rows than the parent holds";
    releaseOn(bar, {300, 1000});
    EXPECT_FALSE(bar->IsResizing());
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 600, 282));
}

TEST_F(BarEditMode, ABarOnTheRightGrowsToTheLeftInWholeColumns)
{
    bar->SetOptions(bar->Options() | sbAllowResize);
    bar->SetAlign(alRight); // buttons 23 wide now
    bar->SetEditorWindow(&editor);
    pressOn(bar, {572, 150});
    EXPECT_TRUE(bar->IsResizing());
    moveOn(bar, {540, 150});
    EXPECT_EQ(bar->width(), 2 * 23 + 6);
    releaseOn(bar, {540, 150});
    EXPECT_EQ(bar->geometry(), QRect(548, 0, 52, 300));
}

TEST_F(BarEditMode, TheSizeCursorShowsOverTheInnerEdgeAndGivesBackTheBarsOwn)
{
    const auto hover = [this](QPoint p) {
        QMouseEvent event(QEvent::MouseMove, QPointF(p), QPointF(bar->mapToGlobal(p)), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(bar, &event);
    };
    bar->setCursor(Qt::PointingHandCursor);
    bar->SetOptions(bar->Options() | sbAllowResize);
    hover({300, 27});
    EXPECT_EQ(bar->cursor().shape(), Qt::PointingHandCursor) << "no editor, no resizing";
    bar->SetEditorWindow(&editor);
    hover({300, 27});
    EXPECT_EQ(bar->cursor().shape(), Qt::SizeVerCursor);
    hover({300, 10});
    EXPECT_EQ(bar->cursor().shape(), Qt::PointingHandCursor);
    hover({300, 28});
    bar->SetEditorWindow(nullptr);
    EXPECT_EQ(bar->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(BarEditMode, ResizingNeedsTheOptionTheEditorAndTheInnerEdge)
{
    bar->SetEditorWindow(&editor);
    pressOn(bar, {300, 26});
    EXPECT_FALSE(bar->IsResizing()) << "without sbAllowResize";
    releaseOn(bar, {300, 26});
    bar->SetOptions(bar->Options() | sbAllowResize);
    pressOn(bar, {300, 24});
    EXPECT_FALSE(bar->IsResizing()) << "five pixels from the edge";
    releaseOn(bar, {300, 24});
    bar->SetEditorWindow(nullptr);
    pressOn(bar, {300, 27});
    EXPECT_FALSE(bar->IsResizing()) << "without an editor";
    releaseOn(bar, {300, 27});
    EXPECT_EQ(bar->height(), 29);
}

TEST(ButtonImage, DrawsARaisedFaceWithTheFirstGlyphFrame)
{
    TButtonImage face;
    face.SetPalette(testPalette());
    QImage twoFrames(32, 16, QImage::Format_RGB32);
    twoFrames.fill(Qt::green);
    twoFrames.fill(qRgb(255, 0, 255));
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 15; ++y)
            twoFrames.setPixel(x, y, qRgb(255, 0, 0));
    face.SetGlyph(twoFrames);
    face.SetNumGlyphs(2);
    const QImage image = face.Render();
    ASSERT_EQ(image.size(), QSize(24, 23));
    EXPECT_EQ(rgbAt(image, 0, 0), rgb(kHighlight));
    EXPECT_EQ(rgbAt(image, 23, 22), rgb(kFrame));
    EXPECT_EQ(rgbAt(image, 22, 21), rgb(kShadow));
    EXPECT_EQ(rgbAt(image, 12, 10), qRgb(255, 0, 0) & 0xFFFFFF) << "glyph centred";
    EXPECT_EQ(rgbAt(image, 12, 18), rgb(kFace)) << "the glyph's transparent row shows the face";
    face.SetSize(QSize(40, 30));
    EXPECT_EQ(face.Render().size(), QSize(40, 30));
}

class Customize : public BarEditMode {
protected:
    void SetUp() override
    {
        BarEditMode::SetUp();
        bar->AddSectionNamed("Bearbeiten");
        cut = new TSpeedItem(&owner);
        cut->setObjectName("spAusschneiden");
        cut->SetCaption("Ausschneiden");
        cut->SetGlyph(sampleGlyph());
        bar->AttachItem(cut, 1);
        owner.show();
    }
    TSpeedItem *cut = nullptr;
};

TEST_F(Customize, ListsSectionsAndTheirItemsAndPutsTheBarInEditMode)
{
    TSpeedbarCustomize dialog(bar);
    EXPECT_EQ(bar->EditorWindow(), &dialog);
    EXPECT_TRUE(cut->EditMode());
    ASSERT_EQ(dialog.SectionList()->count(), 2);
    EXPECT_EQ(dialog.SectionList()->item(1)->text(), "Bearbeiten");
    ASSERT_EQ(dialog.ItemList()->count(), 2);
    EXPECT_EQ(dialog.ItemList()->item(0)->text(), "spNeu");
    EXPECT_FALSE(dialog.ItemList()->item(0)->icon().isNull());
    dialog.SelectSection(1);
    ASSERT_EQ(dialog.ItemList()->count(), 1);
    EXPECT_EQ(dialog.ItemList()->item(0)->text(), "Ausschneiden");
    EXPECT_EQ(dialog.ListedItem(0), cut);
}

TEST_F(Customize, AnItemDraggedFromTheListOntoTheBarIsPlacedAndSelected)
{
    auto dialog = std::make_unique<TSpeedbarCustomize>(bar);
    std::vector<TSpeedbarNotification> heard;
    dialog->OnBarNotify = [&](TSpeedbarCustomize *, TSpeedbarNotification code, TSpeedItem *) { heard.push_back(code); };
    dialog->show();
    dialog->SelectSection(1);
    dialog->SelectSection(0);
    QWidget *viewport = dialog->ItemList()->viewport();
    dialog->SelectSection(1);
    const QPoint row = dialog->ItemList()->visualItemRect(dialog->ItemList()->item(0)).center();
    ASSERT_FALSE(cut->Visible());
    press(viewport, row);
    move(viewport, row + QPoint(20, 0));
    ASSERT_NE(bar->DragImage(), nullptr);
    const QPoint overBar = viewport->mapFromGlobal(bar->mapToGlobal(QPoint(200, 14)));
    move(viewport, overBar);
    release(viewport, overBar);
    EXPECT_TRUE(cut->Visible());
    EXPECT_EQ(cut->Button()->pos(), QPoint(187, 3)); // corner at (188, 3) snapped to 3 + 23 * 8
    EXPECT_EQ(heard, std::vector<TSpeedbarNotification>{snItemPlaced});
    EXPECT_EQ(dialog->SectionList()->currentRow(), 1);
    EXPECT_EQ(dialog->ItemList()->currentRow(), 0);

    dialog.reset();
    EXPECT_EQ(bar->EditorWindow(), nullptr);
    EXPECT_FALSE(cut->EditMode());
}

TEST_F(Customize, TheWindowOutlivesItsBar)
{
    TSpeedbarCustomize dialog(bar);
    std::vector<TSpeedbarNotification> heard;
    dialog.OnBarNotify = [&](TSpeedbarCustomize *, TSpeedbarNotification code, TSpeedItem *) { heard.push_back(code); };
    delete bar;
    EXPECT_EQ(dialog.SpeedBar(), nullptr);
    EXPECT_EQ(dialog.SectionList()->count(), 0);
    EXPECT_EQ(heard, std::vector<TSpeedbarNotification>{snBarDestroyed});
}

} // namespace
