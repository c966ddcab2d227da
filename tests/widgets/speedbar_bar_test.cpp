// The speed bar: grid, offsets, sections and items, docking and the axis,
// scaling, visibility and enabling, painting and teardown.

#include "speedbar_testing.h"
#include "formloading.h"
#include "imagelist.h"
#include "speedbar.h"
#include "speedbarerror.h"
#include "speedbarsection.h"
#include "speeditem.h"

#include <QPointer>
#include <gtest/gtest.h>
#include <map>

using namespace widgets;
using namespace speedbartest;

namespace {

class Bar : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner.setPalette(testPalette());
        owner.resize(600, 300);
        bar = new TSpeedBar(&owner);
    }
    TSpeedItem *addItem(const QString &name, int left, int top, bool visible = true)
    {
        auto *item = new TSpeedItem(&owner);
        item->setObjectName(name);
        bar->AttachItem(item, 0);
        item->SetLeft(left);
        item->SetTop(top);
        item->SetVisible(visible);
        return item;
    }
    // The main window's frame and options.
    void mainWindowLook()
    {
        bar->SetOptions(TSpeedbarOptions(sbFlatBtns) | sbGrayedBtns);
        bar->SetBevelInner(bvRaised);
        bar->SetBevelOuter(bvLowered);
        bar->SetBtnOffsetHorz(4);
        bar->SetBtnOffsetVert(4);
        bar->SetBtnWidth(20);
        bar->SetBtnHeight(20);
    }

    QWidget owner;
    TSpeedBar *bar = nullptr;
};

TEST(GridStep, FollowsTheButtonExtent)
{
    EXPECT_EQ(SpeedbarGridStep(20), 10);
    EXPECT_EQ(SpeedbarGridStep(24), 8);
    EXPECT_EQ(SpeedbarGridStep(23), 1);
    EXPECT_EQ(SpeedbarGridStep(7), 1);
    EXPECT_EQ(SpeedbarGridStep(2), 1);
    EXPECT_EQ(SpeedbarGridStep(25), 5);
}

TEST_F(Bar, StartsWithItsDefaults)
{
    EXPECT_EQ(bar->MinButtonOffset(), 3);
    EXPECT_EQ(bar->BtnOffsetHorz(), 3);
    EXPECT_EQ(bar->BtnOffsetVert(), 3);
    EXPECT_EQ(bar->height(), 29);
    EXPECT_EQ(bar->BtnWidth(), 24);
    EXPECT_EQ(bar->BtnHeight(), 23);
    EXPECT_EQ(bar->GridStepX(), 8);
    EXPECT_EQ(bar->GridStepY(), 23);
    EXPECT_EQ(bar->Options(), TSpeedbarOptions(sbAllowDrag) | sbGrayedBtns);
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_EQ(bar->font(), QApplication::font("QMenu"));
    EXPECT_TRUE(bar->ShowHint());
}

TEST_F(Bar, GridStepsOfTwentyWideButtons)
{
    bar->SetBtnWidth(20);
    EXPECT_EQ(bar->GridStepX(), 10);
    EXPECT_EQ(bar->GridStepY(), 23);
    bar->SetBtnHeight(20);
    EXPECT_EQ(bar->GridStepY(), 20);
}

TEST_F(Bar, MinimumOffsetIsTwoWithTheMainWindowsLookAndOffsetsMoveButtons)
{
    mainWindowLook();
    EXPECT_EQ(bar->MinButtonOffset(), 2);
    TSpeedItem *a = addItem("a", 14, 4);
    bar->SetBtnOffsetVert(0);
    EXPECT_EQ(bar->BtnOffsetVert(), 2);
    EXPECT_EQ(a->Top(), 2);
    bar->SetBtnOffsetHorz(1);
    EXPECT_EQ(bar->BtnOffsetHorz(), 2);
    EXPECT_EQ(a->Left(), 12);
    EXPECT_EQ(a->Button()->size(), QSize(20, 20));
}

TEST_F(Bar, ButtonIsKeptBelowTheVerticalOffsetButItsLeftIsFree)
{
    mainWindowLook();
    TSpeedItem *a = addItem("a", 0, 0);
    EXPECT_EQ(a->Top(), 4);
    EXPECT_EQ(a->Left(), 0);
    EXPECT_EQ(a->Button()->size(), QSize(20, 20));
}

TEST_F(Bar, GrowingFrameRaisesOffsetsAndMovesButtons)
{
    bar->SetOptions(TSpeedbarOptions(sbFlatBtns));
    bar->SetBtnOffsetHorz(3);
    bar->SetBtnOffsetVert(3);
    TSpeedItem *a = addItem("a", 10, 3);
    bar->SetBorderWidth(3); // minimum becomes 0 + 3 + 1
    EXPECT_EQ(bar->MinButtonOffset(), 4);
    EXPECT_EQ(bar->BtnOffsetHorz(), 4);
    EXPECT_EQ(bar->BtnOffsetVert(), 4);
    EXPECT_EQ(a->Left(), 11);
    EXPECT_EQ(a->Top(), 4);
    bar->SetBorderWidth(0); // offsets are never lowered
    EXPECT_EQ(bar->BtnOffsetVert(), 4);
}

TEST_F(Bar, OptionsReachEveryButton)
{
    TSpeedItem *a = addItem("a", 3, 3);
    EXPECT_FALSE(a->Button()->Flat());
    EXPECT_TRUE(a->Button()->GrayedInactive());
    EXPECT_EQ(a->Button()->Style(), TButtonStyle::bsNew);
    bar->SetOptions(TSpeedbarOptions(sbFlatBtns) | sbTransparentBtns);
    EXPECT_TRUE(a->Button()->Flat());
    EXPECT_TRUE(a->Button()->Transparent());
    EXPECT_FALSE(a->Button()->GrayedInactive());
}

TEST_F(Bar, HidingAndDisablingTheBarReachTheButtons)
{
    int visibilityChanges = 0;
    bar->OnVisibleChanged = [&](QObject *sender) {
        EXPECT_EQ(sender, bar);
        ++visibilityChanges;
    };
    TSpeedItem *a = addItem("a", 3, 3, true);
    TSpeedItem *b = addItem("b", 30, 3, false);
    EXPECT_FALSE(a->Button()->isHidden());
    EXPECT_EQ(a->Button()->parentWidget(), bar);

    bar->hide();
    EXPECT_TRUE(a->Button()->isHidden());
    EXPECT_TRUE(b->Button()->isHidden());
    bar->show();
    EXPECT_FALSE(a->Button()->isHidden());
    EXPECT_TRUE(b->Button()->isHidden());
    EXPECT_EQ(visibilityChanges, 2);

    b->SetEnabled(false);
    bar->setEnabled(false);
    EXPECT_FALSE(a->Button()->isEnabled());
    EXPECT_FALSE(b->Button()->isEnabled());
    bar->setEnabled(true);
    EXPECT_TRUE(a->Button()->isEnabled());
    EXPECT_FALSE(b->Button()->isEnabled());
    EXPECT_TRUE(a->Enabled());
    EXPECT_FALSE(b->Enabled());
}

TEST_F(Bar, LeftDockingTransposesTheButtons)
{
    bar->SetBtnOffsetHorz(6);
    bar->SetBtnOffsetVert(4);
    bar->SetBtnWidth(20);
    bar->SetBtnHeight(24);
    TSpeedItem *a = addItem("a", 6, 4);
    TSpeedItem *b = addItem("b", 36, 4);
    bar->SetAlign(alLeft);
    EXPECT_EQ(bar->Orientation(), TBarOrientation::boVertical);
    EXPECT_EQ(bar->BtnWidth(), 24);
    EXPECT_EQ(bar->BtnHeight(), 20);
    EXPECT_EQ(bar->BtnOffsetHorz(), 4);
    EXPECT_EQ(bar->BtnOffsetVert(), 6);
    EXPECT_EQ(bar->GridStepY(), 10);
    EXPECT_EQ(bar->GridStepX(), 24);
    EXPECT_EQ(a->Button()->geometry(), QRect(4, 6, 24, 20));
    EXPECT_EQ(b->Button()->geometry(), QRect(4, 36, 24, 20));
    EXPECT_EQ(bar->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(bar->height(), owner.height());
    EXPECT_EQ(bar->Thickness(), bar->width());
}

TEST_F(Bar, ClientAlignmentIsRefusedUnderAutomaticPosition)
{
    TSpeedItem *a = addItem("a", 10, 3);
    const QRect before = a->Button()->geometry();
    try {
        bar->SetAlign(alClient);
        FAIL() << "no error";
    } catch (const ESpeedbarError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot set this property value while Position is bpAuto"));
    }
    EXPECT_THROW(bar->SetAlign(alNone), ESpeedbarError);
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_EQ(bar->Orientation(), TBarOrientation::boHorizontal);
    EXPECT_EQ(a->Button()->geometry(), before);

    bar->SetPosition(TBarPosition::bpCustom);
    bar->SetAlign(alClient);
    EXPECT_EQ(bar->Align(), alClient);
    EXPECT_EQ(bar->Orientation(), TBarOrientation::boHorizontal);
    EXPECT_EQ(bar->geometry(), owner.rect());
}

TEST_F(Bar, DocksToItsParentsEdgeAndFollowsResizes)
{
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 600, 29));
    owner.show();
    owner.resize(700, 400);
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 700, 29));
    bar->SetAlign(alBottom);
    EXPECT_EQ(bar->geometry(), QRect(0, 400 - 29, 700, 29));
    EXPECT_EQ(bar->Thickness(), 29);
    bar->SetAlign(alRight);
    EXPECT_EQ(bar->geometry(), QRect(700 - 29, 0, 29, 400));
}

TEST_F(Bar, FollowsANewParent)
{
    QWidget other;
    other.resize(300, 200);
    other.show();
    bar->setParent(&other);
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 300, 29));
    other.resize(320, 200);
    EXPECT_EQ(bar->width(), 320);
    owner.show();
    owner.resize(50, 50);
    EXPECT_EQ(bar->width(), 320);
    bar->setParent(nullptr);
    delete bar;
}

TEST_F(Bar, AppendedSectionCaptionsAreMadeUnique)
{
    EXPECT_EQ(bar->AddSectionNamed(QStringLiteral("Untitled")), 0);
    EXPECT_EQ(bar->AddSectionNamed(QStringLiteral("Untitled (1)")), 1);
    const int third = bar->AddSectionNamed(QStringLiteral("Untitled"));
    EXPECT_EQ(bar->Section(third)->Caption(), QStringLiteral("Untitled (2)"));
    EXPECT_EQ(bar->FindSection(QStringLiteral("untitled")), -1); // exact comparison
}

TEST_F(Bar, DuplicateSectionCaptionIsRefusedOutsideLoading)
{
    bar->AddSectionNamed(QStringLiteral("Eins"));
    TSpeedbarSection *zwei = bar->Section(bar->AddSectionNamed(QStringLiteral("Zwei")));
    try {
        zwei->SetCaption(QStringLiteral("Eins"));
        FAIL() << "no error";
    } catch (const ESpeedbarError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("In der Stringliste sind Duplikate nicht erlaubt"));
    }
    EXPECT_EQ(zwei->Caption(), QStringLiteral("Zwei"));
    zwei->SetCaption(QStringLiteral("Zwei"));
    zwei->SetCaption(QStringLiteral("Drei"));
    EXPECT_EQ(zwei->Caption(), QStringLiteral("Drei"));
    bar->BeginLoad();
    zwei->SetCaption(QStringLiteral("Eins"));
    bar->EndLoad();
    EXPECT_EQ(zwei->Caption(), QStringLiteral("Eins"));
}

TEST_F(Bar, SectionIndexMovesTheSectionAndItsItemsFollow)
{
    bar->AddSectionNamed(QStringLiteral("A"));
    bar->AddSectionNamed(QStringLiteral("B"));
    auto *item = new TSpeedItem(&owner);
    bar->AttachItem(item, 1);
    EXPECT_EQ(item->Section(), 1);
    EXPECT_EQ(item->SectionName(), QStringLiteral("B"));
    bar->Section(1)->SetIndex(-5);
    EXPECT_EQ(bar->Section(0)->Caption(), QStringLiteral("B"));
    EXPECT_EQ(item->Section(), 0);
    bar->RemoveSection(0);
    EXPECT_EQ(item->SpeedBar(), nullptr);
    EXPECT_EQ(item->Section(), -1);
    EXPECT_EQ(item->Button()->parentWidget(), nullptr);
}

TEST_F(Bar, AttachingToABarWithoutSectionsCreatesAnUntitledOne)
{
    auto *item = new TSpeedItem(&owner);
    bar->AttachItem(item, 3);
    ASSERT_EQ(bar->SectionCount(), 1);
    EXPECT_EQ(bar->Section(0)->Caption(), QString());
    EXPECT_EQ(item->Section(), 0);
    auto *lost = new TSpeedItem(&owner);
    bar->AttachItem(lost, -1);
    EXPECT_EQ(lost->SpeedBar(), nullptr);
}

TEST_F(Bar, LoadedItemWithUnknownSectionGoesToTheFirst)
{
    bar->BeginLoad();
    bar->AddSectionNamed(QStringLiteral("Erste"));
    bar->AddSectionNamed(QStringLiteral("Zweite"));
    auto *known = new TSpeedItem(&owner);
    known->SetSectionName(QStringLiteral("Zweite"));
    bar->LoadItem(known);
    auto *unknown = new TSpeedItem(&owner);
    unknown->SetSectionName(QStringLiteral("Gibt es nicht"));
    unknown->SetLeft(50);
    unknown->SetTop(7);
    unknown->SetVisible(true);
    bar->LoadItem(unknown);
    EXPECT_TRUE(unknown->Button()->isHidden()); // shown once loading is complete
    bar->EndLoad();
    EXPECT_EQ(known->Section(), 1);
    EXPECT_EQ(unknown->Section(), 0);
    EXPECT_EQ(unknown->Button()->geometry(), QRect(50, 7, 24, 23));
    EXPECT_FALSE(unknown->Button()->isHidden());
}

TEST_F(Bar, MovingAnItemToAnotherBarDetachesItFirst)
{
    TSpeedBar other(&owner);
    other.AddSectionNamed(QStringLiteral("Ziel"));
    TSpeedItem *a = addItem("a", 3, 3);
    a->SetSectionName(QStringLiteral("Ziel"));
    a->SetSpeedBar(&other);
    EXPECT_EQ(a->SpeedBar(), &other);
    EXPECT_FALSE(bar->LocateItem(a).has_value());
    EXPECT_EQ(a->Button()->parentWidget(), &other);
}

TEST_F(Bar, ItemsAreFoundByNameIgnoringCase)
{
    TSpeedItem *a = addItem("Fett", 3, 3);
    EXPECT_EQ(bar->FindItemByName(QStringLiteral("fETT")), a);
    EXPECT_EQ(bar->FindItemByName(QStringLiteral("Kursiv")), nullptr);
    const auto at = bar->LocateItem(a);
    ASSERT_TRUE(at.has_value());
    EXPECT_EQ(*at, std::make_pair(0, 0));
}

TEST_F(Bar, PerformClickGivesTheButtonAsSender)
{
    TSpeedItem *a = addItem("a", 3, 3);
    QObject *sender = nullptr;
    a->SetOnClick([&](QObject *s) { sender = s; });
    a->PerformClick();
    EXPECT_EQ(sender, a->Button());
}

TEST_F(Bar, ScalingWhileLoadingScalesTheGivenSizesAndSnapsVisibleItems)
{
    bar->BeginLoad();
    bar->SetBtnOffsetHorz(4);
    bar->SetBtnOffsetVert(4);
    bar->SetBtnWidth(20);
    bar->SetBtnHeight(20);
    auto *a = new TSpeedItem(&owner);
    a->SetLeft(34);
    a->SetTop(4);
    a->SetVisible(true);
    bar->LoadItem(a);
    auto *hidden = new TSpeedItem(&owner);
    hidden->SetLeft(34);
    hidden->SetTop(4);
    bar->LoadItem(hidden);
    bar->ScaleBy(120, 96);
    bar->EndLoad();
    EXPECT_EQ(bar->BtnOffsetHorz(), 5);
    EXPECT_EQ(bar->BtnOffsetVert(), 5);
    EXPECT_EQ(bar->BtnWidth(), 25);
    EXPECT_EQ(bar->BtnHeight(), 25);
    EXPECT_EQ(bar->GridStepX(), 5);
    // 34 scales to 43, which snaps to 5 + 8 x 5.
    EXPECT_EQ(a->Button()->geometry(), QRect(45, 5, 25, 25));
    EXPECT_EQ(hidden->Left(), 43); // not snapped
}

TEST_F(Bar, ScalingWhileLoadingLeavesUngivenSizes)
{
    bar->BeginLoad();
    bar->SetBtnWidth(20);
    bar->ScaleBy(2, 1);
    bar->EndLoad();
    EXPECT_EQ(bar->BtnWidth(), 40);
    EXPECT_EQ(bar->BtnHeight(), 23);
    EXPECT_EQ(bar->BtnOffsetHorz(), 3);
    bar->ScaleBy(2, 1); // outside loading everything scales
    EXPECT_EQ(bar->BtnHeight(), 46);
    EXPECT_EQ(bar->BtnOffsetHorz(), 6);
}

TEST_F(Bar, PlaceItemAtSnapsAndShowsOrHides)
{
    mainWindowLook();
    TSpeedItem *a = addItem("a", 4, 4, false);
    EXPECT_TRUE(bar->PlaceItemAt(a, 37, 17));
    EXPECT_EQ(a->Button()->pos(), QPoint(34, 4)); // round along, truncate across
    EXPECT_TRUE(a->Visible());
    EXPECT_TRUE(bar->PlaceItemAt(a, 39, 17));
    EXPECT_EQ(a->Left(), 44);
    EXPECT_FALSE(bar->PlaceItemAt(a, 5000, 4));
    EXPECT_FALSE(a->Visible());
    EXPECT_TRUE(a->Button()->isHidden());
    TSpeedItem stranger(&owner);
    EXPECT_FALSE(bar->PlaceItemAt(&stranger, 10, 4));
}

TEST_F(Bar, PaintsBevelsAndBoundLines)
{
    mainWindowLook();
    bar->SetBoundLines(TBoundLines(blTop) | blRight);
    const QImage img = bar->grab().toImage();
    const int w = bar->width(), h = bar->height();
    EXPECT_EQ(rgbAt(img, 0, 0), rgb(kShadow));           // lowered outer bevel
    EXPECT_EQ(rgbAt(img, w - 1, h - 1), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 1, h - 2), rgb(kShadow));       // raised inner bevel, second colour
    EXPECT_EQ(rgbAt(img, 1, 1), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 5, 2), rgb(kShadow));           // top bound line
    EXPECT_EQ(rgbAt(img, 5, 3), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, w - 4, 10), rgb(kShadow));      // right bound line
    EXPECT_EQ(rgbAt(img, w - 3, 10), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 5, 10), rgb(kFace));
}

TEST_F(Bar, ItemsTakeTheirPictureFromTheBarsImages)
{
    auto *images = new TImageList(QSize(16, 16));
    QImage green(16, 16, QImage::Format_RGB32);
    green.fill(qRgb(0, 255, 0));
    green.setPixel(0, 15, qRgb(255, 0, 255));
    images->Add(green, qRgb(255, 0, 255));
    bar->SetOptions(TSpeedbarOptions());
    bar->SetImages(images);
    TSpeedItem *a = addItem("a", 3, 3);
    a->Button()->resize(20, 20);
    a->SetImageIndex(0);
    EXPECT_EQ(rgbAt(a->Button()->RenderFace(), 5, 5), qRgb(0, 255, 0) & 0xFFFFFF);
    a->Button()->setEnabled(false);
    EXPECT_EQ(rgbAt(a->Button()->RenderFace(), 5, 5), rgb(kShadow)); // every opaque pixel
    a->Button()->setEnabled(true);
    bar->SetOptions(TSpeedbarOptions(sbFlatBtns) | sbGrayedBtns);
    const QImage resting = a->Button()->RenderFace();
    EXPECT_EQ(rgbAt(resting, 5, 5), grey(149));
    EXPECT_EQ(rgbAt(resting, 2, 17), rgb(kFace)); // transparent stays transparent
    delete images;
    EXPECT_EQ(bar->Images(), nullptr);
    EXPECT_EQ(rgbAt(a->Button()->RenderFace(), 5, 5), rgb(kFace));
}

TEST(ItemCaption, HintFollowsTheCaptionForAnOwnerThatIsNoWindow)
{
    QObject owner;
    TSpeedItem item(&owner);
    item.SetCaption(QStringLiteral("Neu"));
    EXPECT_EQ(item.Hint(), QStringLiteral("Neu|"));
    item.SetHint(QStringLiteral("Neu|Neue Karte anlegen"));
    item.SetCaption(QStringLiteral("Karte"));
    EXPECT_EQ(item.Hint(), QStringLiteral("Karte|Neue Karte anlegen"));
    item.SetCaption(QStringLiteral("Kurz|"));
    EXPECT_EQ(item.Hint(), QStringLiteral("Kurz|Neue Karte anlegen"));
    item.SetCaption(QStringLiteral("A|B"));
    EXPECT_EQ(item.Hint(), QStringLiteral("A|B"));
    EXPECT_EQ(item.Button()->toolTip(), QStringLiteral("A"));
}

TEST(ItemCaption, WindowOwnedItemKeepsItsOwnHint)
{
    QWidget owner;
    TSpeedItem item(&owner);
    {
        TLoadingScope loading(&owner);
        item.SetCaption(QStringLiteral("Fett"));
        item.SetHint(QStringLiteral("Fett|Fett"));
    }
    EXPECT_EQ(item.Hint(), QStringLiteral("Fett|Fett"));
    item.SetCaption(QStringLiteral("Bold")); // the hint repeated the caption: it follows
    EXPECT_EQ(item.Hint(), QStringLiteral("Bold|Fett"));
    item.SetHint(QStringLiteral("Eigener Hinweis"));
    item.SetCaption(QStringLiteral("Kräftig"));
    EXPECT_EQ(item.Hint(), QStringLiteral("Eigener Hinweis"));
}

TEST(ItemCaption, RenamingCarriesACaptionThatWasTheName)
{
    QObject owner;
    TSpeedItem item(&owner);
    item.setObjectName(QStringLiteral("Alt"));
    item.SetCaption(QStringLiteral("Alt"));
    item.SetName(QStringLiteral("Neu"));
    EXPECT_EQ(item.Caption(), QStringLiteral("Neu"));
    item.SetCaption(QStringLiteral("Etwas"));
    item.SetName(QStringLiteral("Anders"));
    EXPECT_EQ(item.Caption(), QStringLiteral("Etwas"));
}

// Counts how often each object is destroyed.
struct Deaths {
    std::map<QString, int> count;
    void watch(QObject *o)
    {
        const QString name = o->objectName();
        QObject::connect(o, &QObject::destroyed, [this, name] { ++count[name]; });
    }
};

TEST(Teardown, DestroyingTheWindowDestroysEachItemAndSectionOnce)
{
    Deaths deaths;
    auto *owner = new QWidget;
    auto *bar = new TSpeedBar(owner);
    for (const char *caption : {"S1", "S2"}) {
        auto *section = new TSpeedbarSection(owner);
        section->setObjectName(QString::fromLatin1(caption));
        bar->AppendSection(section);
        deaths.watch(section);
    }
    for (int i = 0; i < 4; ++i) {
        auto *item = new TSpeedItem(owner);
        item->setObjectName(QStringLiteral("item%1").arg(i));
        bar->AttachItem(item, i % 2);
        item->SetVisible(true);
        deaths.watch(item);
        item->Button()->setObjectName(QStringLiteral("button%1").arg(i));
        deaths.watch(item->Button());
    }
    delete owner;
    ASSERT_EQ(deaths.count.size(), 10u);
    for (const auto &[name, n] : deaths.count)
        EXPECT_EQ(n, 1) << name.toStdString();
}

TEST(Teardown, DestroyingTheBarAloneTakesItsItemsAndSectionsAlong)
{
    Deaths deaths;
    QWidget owner;
    auto *bar = new TSpeedBar(&owner);
    bar->AddSectionNamed(QStringLiteral("S"));
    bar->Section(0)->setObjectName(QStringLiteral("S"));
    deaths.watch(bar->Section(0));
    QPointer<TSpeedItem> item = new TSpeedItem(&owner);
    item->setObjectName(QStringLiteral("item"));
    deaths.watch(item);
    bar->AttachItem(item, 0);
    bool visibleChangedDuringTeardown = false;
    bar->OnVisibleChanged = [&](QObject *) { visibleChangedDuringTeardown = true; };
    delete bar;
    EXPECT_TRUE(item.isNull());
    EXPECT_EQ(deaths.count[QStringLiteral("S")], 1);
    EXPECT_EQ(deaths.count[QStringLiteral("item")], 1);
    EXPECT_FALSE(visibleChangedDuringTeardown);
}

TEST(Teardown, AnItemDestroyedAloneLeavesItsSection)
{
    QWidget owner;
    TSpeedBar bar(&owner);
    auto *a = new TSpeedItem(&owner);
    auto *b = new TSpeedItem(&owner);
    bar.AttachItem(a, 0);
    bar.AttachItem(b, 0);
    delete a;
    EXPECT_EQ(bar.Section(0)->ItemCount(), 1);
    EXPECT_EQ(bar.Section(0)->Item(0), b);
    int visited = 0;
    bar.VisitItems([&](TSpeedItem *) { ++visited; });
    EXPECT_EQ(visited, 1);
}

} // namespace
