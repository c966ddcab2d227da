// The toolbar and the self-drawn buttons on a screen of more device pixels
// per pixel (the test runs with QT_SCALE_FACTOR set): the row shows every
// button, and faces are drawn at the screen's resolution, not blown up.

#include "mainwindowfixture.h"

#include "buttonimage.h"
#include "flatbuttonunit.h"
#include "glyphspeedbutton.h"
#include "imagelist.h"
#include "speedbar.h"
#include "speedbarsection.h"
#include "speeditem.h"
#include "toolbarglyphs.h"

#include <QPixmap>

using namespace widgets;

namespace {

qreal expectedRatio() { return qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble(); }

// Whether every aligned 2 x 2 block of device pixels inside `area` (device
// coordinates) is of one colour, as in a drawing made at half the resolution
// and doubled.
bool onlyDoubledPixels(const QImage &image, QRect area)
{
    area &= image.rect();
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2)
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p)
                return false;
        }
    return true;
}

// Pixels that differ from the colour at the area's top-left corner.
int inkPixels(const QImage &image, QRect area)
{
    area &= image.rect();
    const QRgb background = image.pixel(area.topLeft());
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += image.pixel(x, y) != background;
    return ink;
}

QRect deviceRect(QRect logical, qreal ratio)
{
    return QRect((QPointF(logical.topLeft()) * ratio).toPoint(), (QSizeF(logical.size()) * ratio).toSize());
}

struct HighDpiWindow : MainWindowFixture {
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        withCards({{"Notiz", "{\\rtf1\\ansi Hallo\\par}"}});
        startAndRestore();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        bar = window->findChild<TSpeedBar *>(QStringLiteral("SpeedBar1"));
        close = window->findChild<TGlyphSpeedButton *>(QStringLiteral("sbClose"));
    }
    TSpeedBar *bar = nullptr;
    TGlyphSpeedButton *close = nullptr;
};

} // namespace

TEST_F(HighDpiWindow, ToolbarRowShowsEveryButton)
{
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(close, nullptr);
    const qreal ratio = expectedRatio();
    ASSERT_EQ(window->devicePixelRatioF(), ratio) << "the test's scale factor did not reach the window";
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->height(), 28);
    EXPECT_EQ(bar->width(), bar->parentWidget()->width());
    EXPECT_EQ(window->TabControl1()->y(), bar->geometry().bottom() + 1) << "the tab row starts below the bar";

    const QImage shot = bar->grab().toImage();
    ASSERT_EQ(shot.size(), (QSizeF(bar->size()) * ratio).toSize());
    std::vector<QWidget *> buttons{close};
    for (int i = 0; i < bar->Section(0)->ItemCount(); ++i)
        buttons.push_back(bar->Section(0)->Item(i)->Button());
    ASSERT_EQ(buttons.size(), 19u);
    for (QWidget *b : buttons) {
        const QString name = b->objectName().isEmpty() ? b->toolTip() : b->objectName();
        EXPECT_TRUE(b->isVisible()) << name.toStdString();
        EXPECT_FALSE(b->geometry().isEmpty()) << name.toStdString();
        EXPECT_TRUE(bar->rect().contains(b->geometry())) << name.toStdString();
        // What the row shows there is more than the bar's face.
        EXPECT_GT(inkPixels(shot, deviceRect(b->geometry().adjusted(2, 2, -2, -2), ratio)), 8) << name.toStdString();
    }
}

// A face drawn at the screen's ratio: glyph steps rounded by the upscaling and
// the caption's letters drawn with the device pixels, both in the direct paint
// and in the face composed under a see-through button.
TEST_F(HighDpiWindow, FacesHaveDetailOfTheDevicePixels)
{
    ASSERT_EQ(window->devicePixelRatioF(), 2.0);
    TSpeedItem *undo = bar->FindItemByName(QStringLiteral("Undo"));
    ASSERT_NE(undo, nullptr);
    TSpeedbarButton *arrow = undo->Button();

    // Another item takes the same picture from an image list of the bar.
    TImageList images(QSize(16, 16));
    images.Add(ui::ToolbarGlyph(ui::GlyphMotif::UndoArrow), qRgb(255, 0, 255));
    bar->SetImages(&images);
    TSpeedItem *listed = bar->FindItemByName(QStringLiteral("Neu"));
    ASSERT_NE(listed, nullptr);
    listed->SetImageIndex(0);
    TSpeedbarButton *fromList = listed->Button();

    auto *flat = new TFlatButton(window.get());
    flat->setGeometry(10, 60, 40, 30);
    flat->SetGlyph(ui::ToolbarGlyph(ui::GlyphMotif::UndoArrow));
    flat->show();

    struct Case {
        const char *what;
        std::function<QImage()> face;
        QRect logicalArea; // where glyph or caption stands on the face
    };
    const QRect glyph(2, 2, 16, 16);
    const QRect flatGlyph((40 - 16 + 1) / 2, 3, 16, 16);
    const QRect caption(2, 5, 72, 12);
    const Case cases[] = {
        {"toolbar glyph", [&] { return arrow->grab().toImage(); }, glyph},
        {"toolbar glyph, composed", [&] { return arrow->RenderFace(2); }, glyph},
        {"caption Schließen", [&] { return close->grab().toImage(); }, caption},
        {"caption Schließen, composed", [&] { return close->RenderFace(2); }, caption},
        {"image list glyph, grey at rest", [&] { return fromList->grab().toImage(); }, glyph},
        {"image list glyph, disabled",
         [&] {
             fromList->setEnabled(false);
             return fromList->grab().toImage();
         },
         glyph},
        {"edit mode face", [&] { return ButtonImageOf(undo).Render(2); }, glyph},
        {"menu picture",
         [] { return ui::ToolbarIcon(ui::GlyphMotif::UndoArrow).pixmap(QSize(16, 16), 2.0).toImage(); },
         QRect(0, 0, 16, 16)},
        {"flat button glyph", [&] { return flat->grab().toImage(); }, flatGlyph},
        {"flat button glyph, composed", [&] { return flat->PaintFace(2); }, flatGlyph},
    };
    for (const Case &c : cases) {
        const QImage face = c.face();
        ASSERT_EQ(face.devicePixelRatio(), 2.0) << c.what;
        const QRect area = deviceRect(c.logicalArea, 2);
        EXPECT_GT(inkPixels(face, area), 16) << c.what << ": nothing drawn";
        EXPECT_FALSE(onlyDoubledPixels(face, area)) << c.what << ": drawn at half resolution and doubled";
    }
    bar->SetImages(nullptr);
}
