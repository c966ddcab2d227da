// The main window's toolbar as built for it: the bar's settings, the items
// with their positions, tool tips and handlers, the close button, and the
// pictures.

#include "guarded.h"
#include "exception.h"
#include "toolbar.h"
#include "toolbarglyphs.h"
#include "glyphspeedbutton.h"
#include "speedbar.h"
#include "speedbarsection.h"
#include "speeditem.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QSet>
#include <gtest/gtest.h>

using namespace ui;
using namespace widgets;

namespace {

struct Expected {
    const char *name;
    const char *toolTip;
    int left;
};

const Expected kExpected[] = {
    {"spClose", "Beenden", 4},         {"Drucken", "Drucken", 34},
    {"Undo", "Rückgängig", 64},        {"Cut", "Ausschneiden", 84},
    {"Copy", "Kopieren", 104},         {"Insert", "Einfügen", 124},
    {"Neu", "Neue Karte", 164},        {"Delete", "Karte löschen", 184},
    {"spRename", "Karte umbenennen", 204}, {"Schrift", "Schrift", 234},
    {"Fett", "Fett", 264},             {"Kursiv", "Kursiv", 284},
    {"Underline", "Unterstrichen", 304}, {"Links", "Linksbündig", 334},
    {"Zentriert", "Zentriert", 354},   {"Rechts", "Rechtsbündig", 374},
    // The two on no menu tell their key.
    {"Bullet", "Aufzählung (Umsch+Strg+L)", 404}, {"TimeStamp", "Zeitstempel (F5)", 434},
};

void clickAt(QWidget *w, QPoint p)
{
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}

class Toolbar : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(639, 400);
        const auto record = [this](const char *name) {
            return [this, name](QObject *sender) { calls.emplace_back(QString::fromLatin1(name), sender); };
        };
        h.mnuBeendenClick = record("mnuBeendenClick");
        h.spDruckenClick = record("spDruckenClick");
        h.mnuUnDOClick = record("mnuUnDOClick");
        h.ppAusschneidenClick = record("ppAusschneidenClick");
        h.ppKopierenClick = record("ppKopierenClick");
        h.ppEinfuegenClick = record("ppEinfuegenClick");
        h.mnuNeuClick = record("mnuNeuClick");
        h.mnuDeleteClick = record("mnuDeleteClick");
        h.mnuRenameClick = record("mnuRenameClick");
        h.mnuSchriftClick = record("mnuSchriftClick");
        h.spBoldClick = record("spBoldClick");
        h.spItalicClick = record("spItalicClick");
        h.spUnderlineClick = record("spUnderlineClick");
        h.spLeftClick = record("spLeftClick");
        h.spCenterClick = record("spCenterClick");
        h.spRightClick = record("spRightClick");
        h.spBulletClick = record("spBulletClick");
        h.spZeitStempelClick = record("spZeitStempelClick");
        h.sbCloseClick = record("sbCloseClick");
        bar = BuildSpeedBar1(&window, h);
    }
    TSpeedItem *item(const char *name) { return bar->FindItemByName(QString::fromLatin1(name)); }

    QWidget window;
    ToolbarHandlers h;
    TSpeedBar *bar = nullptr;
    std::vector<std::pair<QString, QObject *>> calls;
};

TEST_F(Toolbar, BarHasTheMainWindowsSettings)
{
    EXPECT_EQ(bar->objectName(), QStringLiteral("SpeedBar1"));
    EXPECT_EQ(bar->parentWidget(), &window);
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 639, 28));
    EXPECT_EQ(bar->Options(), TSpeedbarOptions(sbFlatBtns) | sbGrayedBtns);
    EXPECT_EQ(bar->BtnOffsetHorz(), 4);
    EXPECT_EQ(bar->BtnOffsetVert(), 4);
    EXPECT_EQ(bar->MinButtonOffset(), 2);
    EXPECT_EQ(bar->BevelInner(), bvRaised);
    EXPECT_EQ(bar->BevelOuter(), bvLowered);
    EXPECT_EQ(bar->GridStepX(), 10);
    EXPECT_EQ(bar->font().pixelSize(), 9);
    EXPECT_FALSE(bar->Loading());
    ASSERT_EQ(bar->SectionCount(), 1);
    EXPECT_EQ(bar->Section(0)->Caption(), QStringLiteral("Untitled (0)"));
    EXPECT_EQ(bar->Section(0)->objectName(), QStringLiteral("SpeedbarSection1"));
}

TEST_F(Toolbar, EighteenItemsStandAtTheirPlaces)
{
    ASSERT_EQ(bar->Section(0)->ItemCount(), 18);
    int i = 0;
    for (const Expected &e : kExpected) {
        TSpeedItem *it = bar->Section(0)->Item(i++);
        ASSERT_NE(it, nullptr);
        EXPECT_EQ(it->objectName(), QString::fromLatin1(e.name));
        EXPECT_EQ(it->Caption(), QString::fromLatin1(e.name));
        EXPECT_EQ(it->Button()->geometry(), QRect(e.left, 4, 20, 20)) << e.name;
        EXPECT_TRUE(it->Visible());
        EXPECT_FALSE(it->Button()->isHidden()) << e.name;
        EXPECT_EQ(it->Button()->parentWidget(), bar);
        EXPECT_EQ(it->Spacing(), 1);
        EXPECT_TRUE(it->Button()->Flat());
        EXPECT_TRUE(it->Button()->GrayedInactive());
        EXPECT_TRUE(it->BtnCaption().isEmpty());
        EXPECT_EQ(it->parent(), &window);
    }
}

TEST_F(Toolbar, ToolTipsAreTheShortHints)
{
    for (const Expected &e : kExpected)
        EXPECT_EQ(item(e.name)->Button()->toolTip(), QString::fromUtf8(e.toolTip)) << e.name;
    EXPECT_EQ(item("Fett")->Hint(), QStringLiteral("Fett|Fett"));
    EXPECT_EQ(item("Kursiv")->Hint(), QStringLiteral("Kursiv|"));
    EXPECT_EQ(item("Links")->Hint(), QStringLiteral("Linksbündig|"));
    EXPECT_EQ(item("Zentriert")->Hint(), QStringLiteral("Zentriert|"));
    EXPECT_EQ(item("Rechts")->Hint(), QStringLiteral("Rechtsbündig|"));
    EXPECT_EQ(item("Undo")->Hint(), QStringLiteral("Rückgängig"));
    EXPECT_TRUE(item("Undo")->Button()->EffectiveShowHint());
}

TEST_F(Toolbar, EachItemsClickReachesItsHandlerWithTheButton)
{
    const std::pair<const char *, const char *> wiring[] = {
        {"spClose", "mnuBeendenClick"},   {"Drucken", "spDruckenClick"},
        {"Undo", "mnuUnDOClick"},         {"Cut", "ppAusschneidenClick"},
        {"Copy", "ppKopierenClick"},      {"Insert", "ppEinfuegenClick"},
        {"Neu", "mnuNeuClick"},           {"Delete", "mnuDeleteClick"},
        {"spRename", "mnuRenameClick"},   {"Schrift", "mnuSchriftClick"},
        {"Fett", "spBoldClick"},          {"Kursiv", "spItalicClick"},
        {"Underline", "spUnderlineClick"}, {"Links", "spLeftClick"},
        {"Zentriert", "spCenterClick"},   {"Rechts", "spRightClick"},
        {"Bullet", "spBulletClick"},      {"TimeStamp", "spZeitStempelClick"},
    };
    for (const auto &[name, handler] : wiring) {
        calls.clear();
        TSpeedbarButton *button = item(name)->Button();
        clickAt(button, QPoint(10, 10));
        ASSERT_EQ(calls.size(), 1u) << name;
        EXPECT_EQ(calls[0].first, QString::fromLatin1(handler));
        EXPECT_EQ(calls[0].second, button);
    }
}

TEST_F(Toolbar, CloseButtonIsAFlatChildOfTheBarAndNoItem)
{
    auto *close = bar->findChild<TGlyphSpeedButton *>(QStringLiteral("sbClose"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->parentWidget(), bar);
    EXPECT_EQ(close->geometry(), QRect(469, 3, 76, 22));
    EXPECT_EQ(close->Caption(), QStringLiteral("Schließen"));
    EXPECT_EQ(close->Hint(), QStringLiteral("Schließen (Strg+W)"));
    EXPECT_TRUE(close->Flat());
    EXPECT_EQ(bar->FindItemByName(QStringLiteral("sbClose")), nullptr);
    clickAt(close, QPoint(30, 10));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].first, QStringLiteral("sbCloseClick"));
    EXPECT_EQ(calls[0].second, close);
}

TEST_F(Toolbar, AFailingHandlerReachesTheErrorBox)
{
    QStringList shown;
    platform::SetErrorPresenter([&](const QString &m) { shown << m; });
    h.spDruckenClick = [](QObject *) { throw platform::Exception(QStringLiteral("Kein Drucker")); };
    QWidget other;
    TSpeedBar *second = BuildSpeedBar1(&other, h);
    clickAt(second->FindItemByName(QStringLiteral("Drucken"))->Button(), QPoint(10, 10));
    EXPECT_EQ(shown, QStringList{QStringLiteral("Kein Drucker")});
    platform::SetErrorPresenter(nullptr);
}

TEST_F(Toolbar, RestingItemShowsItsGlyphInGrey)
{
    TSpeedbarButton *b = item("Delete")->Button();
    const QImage face = b->RenderFace();
    bool sawRed = false, sawGrey = false;
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 18; ++x) {
            const QColor c = face.pixelColor(x, y);
            sawRed |= c.red() > 200 && c.green() < 50;
            sawGrey |= c.red() == 76 && c.green() == 76 && c.blue() == 76;
        }
    EXPECT_FALSE(sawRed);
    EXPECT_TRUE(sawGrey);
}

TEST_F(Toolbar, ItemsGoWithTheWindow)
{
    QPointer<TSpeedItem> fett = item("Fett");
    QPointer<QObject> section = bar->Section(0);
    delete bar;
    EXPECT_TRUE(fett.isNull());
    EXPECT_TRUE(section.isNull());
}

TEST(ToolbarGlyphs, EverySixteenSquareWithATransparentBottomLeft)
{
    QSet<QByteArray> distinct;
    for (int i = 0; i < kGlyphMotifCount; ++i) {
        const auto motif = GlyphMotif(i);
        const QImage g = ToolbarGlyph(motif);
        EXPECT_EQ(g.size(), QSize(16, 16)) << i;
        EXPECT_EQ(g.pixel(0, 15) & 0xFFFFFF, 0xFF00FFu) << i;
        int drawn = 0, black = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                drawn += (g.pixel(x, y) & 0xFFFFFF) != 0xFF00FFu;
                black += (g.pixel(x, y) & 0xFFFFFF) == 0;
            }
        EXPECT_GT(drawn, 10) << i;
        EXPECT_GT(black, 0) << i; // a disabled glyph shows only its black pixels
        distinct.insert(QByteArray(reinterpret_cast<const char *>(g.constBits()), g.sizeInBytes()));

        const QImage menu = ToolbarPixmap(motif).toImage();
        EXPECT_EQ(menu.size(), QSize(16, 16));
        EXPECT_EQ(qAlpha(menu.pixel(0, 15)), 0) << i;
        EXPECT_FALSE(ToolbarIcon(motif).isNull());
    }
    EXPECT_EQ(distinct.size(), kGlyphMotifCount);
}

TEST(ToolbarGlyphs, DarkPaletteDrawsTheBlackStrokesInItsTextColour)
{
    const QPalette light(QColor(236, 233, 216));
    QPalette dark(QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    ASSERT_FALSE(IsDarkPalette(light));
    ASSERT_TRUE(IsDarkPalette(dark));
    for (int i = 0; i < kGlyphMotifCount; ++i) {
        const QImage plain = ToolbarGlyph(GlyphMotif(i), light);
        const QImage onDark = ToolbarGlyph(GlyphMotif(i), dark);
        EXPECT_EQ(plain, ToolbarGlyph(GlyphMotif(i))) << i;
        int changed = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool stroke = (plain.pixel(x, y) & 0xFFFFFF) == 0;
                changed += stroke;
                EXPECT_EQ(onDark.pixel(x, y), stroke ? dark.color(QPalette::WindowText).rgb() : plain.pixel(x, y)) << i;
            }
        EXPECT_GT(changed, 0) << i;
    }
}

TEST(ToolbarGlyphs, ItemGlyphsAreSingleFrames)
{
    QWidget window;
    TSpeedBar *bar = BuildSpeedBar1(&window, ToolbarHandlers{});
    bar->VisitItems([](TSpeedItem *it) {
        EXPECT_EQ(it->Glyph().size(), QSize(16, 16));
        EXPECT_EQ(it->NumGlyphs(), 1);
    });
}

} // namespace
