// Saving and restoring a speed bar's layout through a form storage: the keys
// written, a changed layout coming back, and what a restore skips (older
// versions, another resolution, options that forbid a part, bad values).

#include "exception.h"
#include "profile.h"
#include "formstorage.h"
#include "speedbar.h"
#include "speeditem.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace widgets;
using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;

namespace host {
// A window class of the program's own, named as a layout section names it.
class TfrmHost : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
};
} // namespace host

namespace {

class BarLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        window.resize(600, 300);
        storage = new TFormStorage(&window);
        storage->SetIniFileName(dir.filePath("layout.ini"));
        storage->SetIniSection("Leisten");
        bar = new TSpeedBar(&window);
        bar->setObjectName("SpeedBar1");
        bar->SetIniStorage(storage);
        a = addItem("spA", 3, 3);
        b = addItem("spB", 27, 3);
        c = addItem("spC", 51, 3);
        d = addItem("spD", 75, 3);
        bar->OnPosChanged = [this](QObject *) { ++posChanged; };
    }
    TSpeedItem *addItem(const QString &name, int left, int top)
    {
        auto *item = new TSpeedItem(&window);
        item->setObjectName(name);
        bar->AttachItem(item, 0);
        item->SetLeft(left);
        item->SetTop(top);
        item->SetVisible(true);
        return item;
    }
    QString read(const QString &key) const
    {
        return GetPrivateProfileString(section(), key, "<none>", storage->IniFileName());
    }
    void write(const QString &key, const QString &value) const
    {
        ASSERT_TRUE(WritePrivateProfileString(section(), key, value, storage->IniFileName()));
    }
    QString section() const { return QStringLiteral("Leisten\\TfrmHostSpeedBar1"); }
    QPoint at(const TSpeedItem *item) const { return item->Button()->pos(); }

    QTemporaryDir dir;
    host::TfrmHost window;
    TFormStorage *storage = nullptr;
    TSpeedBar *bar = nullptr;
    TSpeedItem *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
    int posChanged = 0;
};

TEST_F(BarLayout, SectionIsTheStoragesThenWindowClassAndBarName)
{
    EXPECT_EQ(bar->LayoutSection(), section());
    storage->SetIniSection(QString());
    EXPECT_EQ(bar->LayoutSection(), "TfrmHostSpeedBar1");
}

TEST_F(BarLayout, SavingWritesEveryKeyAndOnlyVisibleStoredButtons)
{
    b->SetVisible(false);
    c->SetStored(false);
    bar->SetVersion(7);
    bar->SetAlign(alLeft); // 29 wide now, buttons transposed
    storage->SaveFormPlacement();

    EXPECT_EQ(read("Position"), "3");
    EXPECT_EQ(read("Width"), "29");
    EXPECT_EQ(read("Version"), "7");
    EXPECT_EQ(read("PixelsPerInch"), QString::number(bar->PixelsPerInch()));
    EXPECT_EQ(read("BtnWidth"), "23");
    EXPECT_EQ(read("BtnHeight"), "24");
    EXPECT_EQ(read("Button1"), "spA,3,3");
    EXPECT_EQ(read("Button2"), "spD,3,75");
    EXPECT_EQ(read("Count"), "2");
    EXPECT_EQ(read("Button3"), "<none>");
}

TEST_F(BarLayout, AChangedLayoutComesBack)
{
    bar->SetOptions(bar->Options() | sbAllowResize);
    bar->SetAlign(alBottom);
    bar->resize(600, 52);
    bar->SetBtnWidth(30);
    c->SetVisible(false);
    d->SetLeft(123);
    d->SetTop(27);
    storage->SaveFormPlacement();

    bar->SetAlign(alTop);
    bar->resize(600, 40);
    bar->SetBtnWidth(24);
    c->SetVisible(true);
    d->SetLeft(3);
    d->SetTop(3);
    posChanged = 0;

    storage->RestoreFormPlacement();
    EXPECT_EQ(bar->Align(), alBottom);
    EXPECT_EQ(bar->geometry(), QRect(0, 248, 600, 52));
    EXPECT_EQ(bar->BtnWidth(), 30);
    EXPECT_TRUE(a->Visible());
    EXPECT_FALSE(c->Visible());
    EXPECT_TRUE(d->Visible());
    EXPECT_EQ(at(d), QPoint(123, 27));
    EXPECT_EQ(d->Button()->size(), QSize(30, 23));
    EXPECT_EQ(posChanged, 1);

    storage->RestoreFormPlacement();
    EXPECT_EQ(posChanged, 1) << "restoring the same edge reports nothing";
}

TEST_F(BarLayout, AnOlderLayoutIsIgnoredAndANewerOneApplied)
{
    bar->SetAlign(alRight);
    d->SetVisible(false);
    bar->SetVersion(2);
    bar->SaveLayout();
    write("Version", "1");
    bar->SetAlign(alTop);
    d->SetVisible(true);

    bar->RestoreLayout();
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_TRUE(d->Visible());
    EXPECT_EQ(posChanged, 0);

    write("Version", "3");
    bar->RestoreLayout();
    EXPECT_EQ(bar->Align(), alRight);
    EXPECT_FALSE(d->Visible());
    EXPECT_EQ(posChanged, 1);
}

TEST_F(BarLayout, AnotherResolutionKeepsSizesAndButtonsButTakesTheEdge)
{
    bar->SetOptions(bar->Options() | sbAllowResize);
    bar->SetAlign(alLeft);
    bar->SetBtnHeight(40);
    d->SetVisible(false);
    bar->SaveLayout();
    write("PixelsPerInch", QString::number(bar->PixelsPerInch() + 24));
    bar->SetAlign(alTop);
    bar->SetBtnWidth(24);
    d->SetVisible(true);
    const int height = bar->height();

    bar->RestoreLayout();
    EXPECT_EQ(bar->Align(), alLeft);
    EXPECT_EQ(bar->BtnWidth(), 23) << "the turned bar's own width, not the stored one";
    EXPECT_TRUE(d->Visible());
    EXPECT_EQ(bar->width(), height);
}

TEST_F(BarLayout, TheEdgeComesBackOnlyWhenTheBarMayBeDragged)
{
    bar->SetAlign(alRight);
    c->SetVisible(false);
    bar->SaveLayout();
    bar->SetAlign(alTop);
    c->SetVisible(true);
    bar->SetOptions(sbGrayedBtns);

    bar->RestoreLayout();
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_FALSE(c->Visible()) << "the buttons still come back";
    EXPECT_EQ(posChanged, 0);
}

TEST_F(BarLayout, TheThicknessComesBackOnlyWhenTheBarMayBeResized)
{
    bar->resize(600, 60);
    bar->SaveLayout();
    bar->resize(600, 29);
    bar->RestoreLayout();
    EXPECT_EQ(bar->height(), 29);

    bar->SetOptions(bar->Options() | sbAllowResize);
    bar->RestoreLayout();
    EXPECT_EQ(bar->height(), 60);
}

TEST_F(BarLayout, BadButtonEntriesAreSkippedOrKeepTheirCoordinate)
{
    bar->SaveLayout();
    c->SetLeft(99);
    write("Count", "5");
    write("Button1", "spA,abc,27");     // left stays
    write("Button2", "Nobody,1,1");     // unknown: skipped
    write("Button3", "  SPB   147 ,  x"); // blanks and commas, name without case, top stays
    write("Button4", "spD,0,0");        // raised to the offsets
    write("Button5", "");
    a->SetLeft(51);

    bar->RestoreLayout();
    EXPECT_EQ(at(a), QPoint(51, 27));
    EXPECT_EQ(at(b), QPoint(147, 3));
    EXPECT_FALSE(c->Visible()) << "not listed, so hidden";
    EXPECT_EQ(at(d), QPoint(bar->BtnOffsetHorz(), bar->BtnOffsetVert()));
    EXPECT_TRUE(a->Visible());
    EXPECT_TRUE(b->Visible());
    EXPECT_TRUE(d->Visible());
}

TEST_F(BarLayout, ANoughtCountLeavesTheButtonsAlone)
{
    bar->SaveLayout();
    write("Count", "0");
    b->SetVisible(false);
    bar->RestoreLayout();
    EXPECT_TRUE(a->Visible());
    EXPECT_FALSE(b->Visible());
}

TEST_F(BarLayout, ABadPositionDocksAtTheTop)
{
    bar->SaveLayout();
    for (const QString &bad : {QStringLiteral("9"), QStringLiteral("links"), QStringLiteral("5"), QStringLiteral("0")}) {
        bar->SetAlign(alLeft);
        write("Position", bad);
        bar->RestoreLayout();
        EXPECT_EQ(bar->Align(), alTop) << bad.toStdString();
    }
    bar->SetPosition(TBarPosition::bpCustom);
    write("Position", "5");
    bar->RestoreLayout();
    EXPECT_EQ(bar->Align(), alClient) << "allowed once the position is custom";
}

TEST_F(BarLayout, NoStoredLayoutChangesNothing)
{
    bar->SetVersion(0);
    bar->RestoreLayout();
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_TRUE(d->Visible());
    EXPECT_EQ(at(d), QPoint(75, 3));
    EXPECT_FALSE(QFile::exists(storage->IniFileName()));
}

TEST_F(BarLayout, AnUnwritableFileFailsTheSave)
{
    storage->SetIniFileName(dir.path()); // a folder
    EXPECT_THROW(storage->SaveFormPlacement(), platform::Exception);
}

TEST_F(BarLayout, StorageAndBarMayGoInEitherOrder)
{
    delete bar;
    bar = nullptr;
    EXPECT_NO_THROW(storage->SaveFormPlacement());
    EXPECT_FALSE(QFile::exists(storage->IniFileName()));

    auto *other = new TSpeedBar(&window);
    other->SetIniStorage(storage);
    delete storage;
    storage = nullptr;
    EXPECT_EQ(other->IniStorage(), nullptr);
    EXPECT_NO_THROW(other->SaveLayout());
}

} // namespace

#include "speedbar_layout_test.moc"
