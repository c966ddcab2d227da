// The flat button's face: background and border per face and mode, the
// glyph picked from the strip, the embossed disabled glyph, the caption and
// the placement of glyph and caption.

#include "flatbuttonunit.h"
#include "flatdrawing.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

using platform::RGBColor;
using platform::TColor;
using widgets::TFlatButton;

namespace {

const TColor kFace = RGBColor(10, 20, 30);
const TColor kFocused = RGBColor(40, 50, 60);
const TColor kDown = RGBColor(70, 80, 90);
const TColor kBorder = RGBColor(100, 110, 120);
const TColor kLight = RGBColor(200, 0, 0);
const TColor kDark = RGBColor(0, 0, 200);

TColor at(const QImage &image, int x, int y) { return platform::FromQColor(image.pixelColor(x, y)); }

void configure(TFlatButton &b)
{
    b.SetColor(kFace);
    b.SetColorFocused(kFocused);
    b.SetColorDown(kDown);
    b.SetColorBorder(kBorder);
    b.SetColorHighLight(kLight);
    b.SetColorShadow(kDark);
    b.resize(30, 20);
}

void hover(TFlatButton &b)
{
    QFocusEvent in(QEvent::FocusIn);
    QCoreApplication::sendEvent(&b, &in);
}

void press(TFlatButton &b)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(3, 3), b.mapToGlobal(QPointF(3, 3)),
                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&b, &e);
}

void latch(TFlatButton &b)
{
    b.SetGroupIndex(1);
    b.SetDown(true);
}

struct Frame {
    TColor topLeft, bottomRight, inner;
    int width;
};

// Checks the frame rings and the fill just inside them on a 30 x 20 face.
void expectFrame(const QImage &img, const Frame &f, const char *what)
{
    SCOPED_TRACE(what);
    for (int ring = 0; ring < f.width; ++ring) {
        const int l = ring, t = ring, r = 29 - ring, btm = 19 - ring;
        EXPECT_EQ(at(img, l, t), f.topLeft);
        EXPECT_EQ(at(img, l, btm - 1), f.topLeft);
        EXPECT_EQ(at(img, r - 1, t), f.topLeft);
        EXPECT_EQ(at(img, r, t), f.bottomRight); // the top-right corner
        EXPECT_EQ(at(img, r, btm), f.bottomRight);
        EXPECT_EQ(at(img, l, btm), f.bottomRight); // the bottom-left corner
        EXPECT_EQ(at(img, l + 1, btm), f.bottomRight);
    }
    EXPECT_EQ(at(img, f.width, f.width), f.inner);
    EXPECT_EQ(at(img, 15, 10), f.inner);
}

} // namespace

TEST(FlatButtonPaint, NewButtonIs25By25AtTheOrigin)
{
    TFlatButton b;
    EXPECT_EQ(b.geometry(), QRect(0, 0, 25, 25));
    EXPECT_EQ(b.PaintFace().size(), QSize(25, 25));
    EXPECT_EQ(b.Layout(), widgets::TButtonLayout::blGlyphTop);
    EXPECT_EQ(b.Spacing(), 4);
    EXPECT_EQ(b.Margin(), -1);
    EXPECT_EQ(b.TransparentMode(), TFlatButton::tmNone);
}

TEST(FlatButtonPaint, UpFaceWithoutHover)
{
    TFlatButton b;
    configure(b);
    expectFrame(b.PaintFace(), {kBorder, kBorder, kFace, 1}, "plain");
    b.SetDefault(true);
    expectFrame(b.PaintFace(), {kBorder, kBorder, kFace, 2}, "default");
}

TEST(FlatButtonPaint, UpFaceHoveredRaisesTheBorderEvenForTheDefaultButton)
{
    TFlatButton b;
    configure(b);
    hover(b);
    ASSERT_TRUE(b.Hot());
    expectFrame(b.PaintFace(), {kLight, kDark, kFocused, 1}, "hovered");
    b.SetDefault(true);
    expectFrame(b.PaintFace(), {kLight, kDark, kFocused, 1}, "hovered default");
}

TEST(FlatButtonPaint, DownFaceIsSunkenWithTheDownColour)
{
    TFlatButton b;
    configure(b);
    press(b);
    ASSERT_EQ(b.PaintState(), widgets::stDown);
    expectFrame(b.PaintFace(), {kDark, kLight, kDown, 1}, "down");
    hover(b);
    expectFrame(b.PaintFace(), {kDark, kLight, kDown, 1}, "down hovered");
}

TEST(FlatButtonPaint, LatchedFaceShowsFocusedColourOnlyWhenHovered)
{
    TFlatButton b;
    configure(b);
    latch(b);
    ASSERT_EQ(b.PaintState(), widgets::stExclusive);
    expectFrame(b.PaintFace(), {kDark, kLight, kDown, 1}, "latched");
    hover(b);
    expectFrame(b.PaintFace(), {kDark, kLight, kFocused, 1}, "latched hovered");
}

TEST(FlatButtonPaint, DisabledFaceKeepsTheFaceColourAndFlatBorder)
{
    TFlatButton b;
    configure(b);
    hover(b);
    b.SetEnabled(false);
    expectFrame(b.PaintFace(), {kBorder, kBorder, kFace, 1}, "disabled");
    EXPECT_EQ(b.PaintState(), widgets::stDisabled);
    EXPECT_FALSE(b.Hot());
}

TEST(FlatButtonPaint, ReEnabledButtonReturnsToItsLatchedOrUpFace)
{
    TFlatButton b;
    configure(b);
    latch(b);
    b.SetEnabled(false);
    ASSERT_EQ(b.PaintState(), widgets::stDisabled);
    b.SetEnabled(true);
    expectFrame(b.PaintFace(), {kDark, kLight, kDown, 1}, "latched again");
    EXPECT_EQ(b.PaintState(), widgets::stExclusive);

    TFlatButton plain;
    configure(plain);
    plain.SetEnabled(false);
    plain.SetEnabled(true);
    EXPECT_EQ(plain.PaintState(), widgets::stUp);
}

namespace {

// A parent whose left 20 columns are red and the rest blue.
class StripedParent : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(0, 0, 20, height(), Qt::red);
        p.fillRect(20, 0, width() - 20, height(), Qt::blue);
    }
};

} // namespace

TEST(FlatButtonPaint, NotFocusedModeShowsTheParentUntilHovered)
{
    StripedParent parent;
    parent.resize(100, 60);
    TFlatButton b(&parent);
    configure(b);
    b.move(10, 5);
    b.SetTransparentMode(TFlatButton::tmNotFocused);

    QImage img = b.PaintFace();
    EXPECT_EQ(at(img, 5, 10), RGBColor(255, 0, 0)); // parent column 15
    EXPECT_EQ(at(img, 15, 10), RGBColor(0, 0, 255)); // parent column 25
    EXPECT_EQ(at(img, 0, 0), kBorder);

    hover(b);
    expectFrame(b.PaintFace(), {kLight, kDark, kFocused, 1}, "hovered up");
    press(b);
    expectFrame(b.PaintFace(), {kDark, kLight, kDown, 1}, "hovered down");
}

TEST(FlatButtonPaint, AlwaysModeShowsTheParentEvenWhenHovered)
{
    StripedParent parent;
    parent.resize(100, 60);
    TFlatButton b(&parent);
    configure(b);
    b.move(10, 5);
    b.SetTransparentMode(TFlatButton::tmAlways);
    hover(b);
    QImage img = b.PaintFace();
    EXPECT_EQ(at(img, 5, 10), RGBColor(255, 0, 0));
    EXPECT_EQ(at(img, 15, 10), RGBColor(0, 0, 255));
    EXPECT_EQ(at(img, 0, 0), kLight);
}

TEST(FlatDrawing, BevelFrameLeavesTheCallersRectangleAndRespectsTheWidth)
{
    QImage img(6, 5, QImage::Format_RGB32);
    img.fill(Qt::white);
    const QRect r(0, 0, 6, 5);
    {
        QPainter p(&img);
        widgets::DrawBevelFrame(p, r, Qt::red, Qt::blue, 1);
    }
    EXPECT_EQ(r, QRect(0, 0, 6, 5));
    const QRgb R = qRgb(255, 0, 0), B = qRgb(0, 0, 255), W = qRgb(255, 255, 255);
    const QRgb expected[5][6] = {
        {R, R, R, R, R, B},
        {R, W, W, W, W, B},
        {R, W, W, W, W, B},
        {R, W, W, W, W, B},
        {B, B, B, B, B, B},
    };
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(img.pixel(x, y), expected[y][x]) << x << "," << y;
}

// --- glyphs -----------------------------------------------------------------

namespace {

const QColor kMask(255, 0, 255);
const QColor kImageColours[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255),
                                QColor(255, 255, 0), QColor(0, 255, 255)};

// `count` 8 x 8 images side by side, image k in colour k, each with the mask
// colour in its bottom-left pixel.
QImage strip(int count)
{
    QImage s(8 * count, 8, QImage::Format_RGB32);
    for (int k = 0; k < count; ++k) {
        QPainter p(&s);
        p.fillRect(8 * k, 0, 8, 8, kImageColours[k]);
        s.setPixelColor(8 * k, 7, kMask);
    }
    return s;
}

// Button 40 x 30, glyph on top and no caption: an 8 x 8 glyph lands at (16, 11).
QImage paintWithFace(int numGlyphs, widgets::TButtonPaintState face, QPoint *origin = nullptr)
{
    TFlatButton b;
    configure(b);
    b.resize(40, 30);
    b.SetGlyph(strip(numGlyphs));
    EXPECT_EQ(b.NumGlyphs(), numGlyphs);
    QPoint o(16, 11);
    switch (face) {
    case widgets::stUp: break;
    case widgets::stDisabled: b.SetEnabled(false); break;
    case widgets::stDown: press(b); o += QPoint(1, 1); break;
    case widgets::stExclusive: latch(b); o += QPoint(1, 1); break;
    case widgets::stInactive: ADD_FAILURE() << "not a face of the flat button"; break;
    }
    QImage img = b.PaintFace();
    EXPECT_EQ(b.PaintState(), face);
    if (origin)
        *origin = o;
    return img;
}

int imageShown(int numGlyphs, widgets::TButtonPaintState face)
{
    QPoint o;
    const QImage img = paintWithFace(numGlyphs, face, &o);
    // The mask-coloured corner lets the background show through; the pixel
    // just below the glyph is background too.
    const bool sunken = face == widgets::stDown || face == widgets::stExclusive;
    EXPECT_EQ(at(img, o.x(), o.y() + 7), sunken ? kDown : kFace);
    EXPECT_EQ(at(img, o.x() + 1, o.y() + 8), sunken ? kDown : kFace);
    EXPECT_NE(at(img, o.x() + 1, o.y() + 7), sunken ? kDown : kFace);
    const QColor c = img.pixelColor(o + QPoint(4, 4));
    for (int k = 0; k < 5; ++k)
        if (c == kImageColours[k])
            return k + 1;
    return 0;
}

} // namespace

TEST(FlatButtonGlyph, ImageChosenPerNumGlyphsAndFace)
{
    const int table[4][4] = {// up, disabled, down, latched
                             {1, 0, 1, 1},
                             {1, 2, 1, 1},
                             {1, 2, 3, 3},
                             {1, 2, 3, 4}};
    const widgets::TButtonPaintState faces[4] = {widgets::stUp, widgets::stDisabled, widgets::stDown, widgets::stExclusive};
    for (int n = 1; n <= 4; ++n)
        for (int f = 0; f < 4; ++f) {
            if (table[n - 1][f] == 0)
                continue; // embossed, below
            EXPECT_EQ(imageShown(n, faces[f]), table[n - 1][f]) << "NumGlyphs " << n << " face " << f;
        }
}

TEST(FlatButtonGlyph, SingleImageIsEmbossedWhenDisabled)
{
    TFlatButton b;
    configure(b);
    b.resize(40, 30);
    QPalette pal = b.palette();
    pal.setColor(QPalette::Button, QColor(220, 220, 220));
    pal.setColor(QPalette::Light, QColor(0, 200, 0));
    pal.setColor(QPalette::Dark, QColor(200, 0, 0));
    b.setPalette(pal);

    QImage glyph(8, 8, QImage::Format_RGB32);
    glyph.fill(QColor(255, 255, 255));
    glyph.setPixelColor(2, 2, Qt::black);
    glyph.setPixelColor(3, 2, Qt::black);
    glyph.setPixelColor(4, 3, Qt::black); // its shadow covers the highlight of (3, 2)
    glyph.setPixelColor(5, 5, QColor(1, 0, 0)); // nearly black is not black
    b.SetGlyph(glyph);
    b.SetEnabled(false);
    const QImage img = b.PaintFace();
    const QPoint o(16, 11);
    EXPECT_EQ(at(img, o.x() + 2, o.y() + 2), RGBColor(200, 0, 0)); // shadow in place
    EXPECT_EQ(at(img, o.x() + 3, o.y() + 2), RGBColor(200, 0, 0));
    EXPECT_EQ(at(img, o.x() + 4, o.y() + 3), RGBColor(200, 0, 0));
    EXPECT_EQ(at(img, o.x() + 3, o.y() + 3), RGBColor(0, 200, 0)); // highlight shifted
    EXPECT_EQ(at(img, o.x() + 5, o.y() + 4), RGBColor(0, 200, 0));
    // The embossed image's own face colour is its mask: the button shows through.
    EXPECT_EQ(at(img, o.x() + 5, o.y() + 5), kFace);
    EXPECT_EQ(at(img, o.x() + 0, o.y() + 0), kFace);

    b.SetEnabled(true);
    const QImage up = b.PaintFace();
    EXPECT_EQ(at(up, o.x() + 2, o.y() + 2), RGBColor(0, 0, 0));
    EXPECT_EQ(at(up, o.x() + 5, o.y() + 5), RGBColor(1, 0, 0));
    EXPECT_EQ(at(up, o.x() + 0, o.y() + 0), kFace); // white is this strip's mask colour
}

TEST(FlatButtonGlyph, LastImageTakesTheLeftOverColumnsSqueezed)
{
    // 34 columns in four images: w = 8, the last image spans columns 24..33.
    QImage s(34, 8, QImage::Format_RGB32);
    s.fill(kImageColours[3]);
    {
        QPainter p(&s);
        p.fillRect(0, 0, 24, 8, kImageColours[0]);
        p.fillRect(32, 0, 2, 8, kImageColours[4]);
    }
    TFlatButton b;
    configure(b);
    b.resize(40, 30);
    b.SetGlyph(s);
    b.SetNumGlyphs(4);
    latch(b);
    const QImage img = b.PaintFace();
    const QPoint o(17, 12);
    EXPECT_EQ(img.pixelColor(o + QPoint(0, 3)), kImageColours[3]);
    EXPECT_EQ(img.pixelColor(o + QPoint(7, 3)), kImageColours[4]);
    EXPECT_EQ(at(img, o.x() + 8, o.y() + 3), kDown); // still 8 wide
}

TEST(FlatButtonGlyph, StripWidthDecidesNumGlyphs)
{
    TFlatButton b;
    b.SetGlyph(QImage(64, 16, QImage::Format_RGB32));
    EXPECT_EQ(b.NumGlyphs(), 4);
    b.SetGlyph(QImage(80, 16, QImage::Format_RGB32));
    EXPECT_EQ(b.NumGlyphs(), 1);
    b.SetNumGlyphs(3);
    b.SetGlyph(QImage(60, 16, QImage::Format_RGB32));
    EXPECT_EQ(b.NumGlyphs(), 3);
    b.SetGlyph(QImage(32, 16, QImage::Format_RGB32));
    EXPECT_EQ(b.NumGlyphs(), 2);
    // Giving the button its own bitmap back changes nothing.
    b.SetNumGlyphs(1);
    b.SetGlyph(b.Glyph());
    EXPECT_EQ(b.NumGlyphs(), 1);
    b.SetNumGlyphs(7);
    EXPECT_EQ(b.NumGlyphs(), 4);
}

// --- layout -----------------------------------------------------------------

TEST(FlatButtonLayout, MarginBelowMinusOneIsIgnored)
{
    TFlatButton b;
    b.SetMargin(3);
    b.SetMargin(-5);
    EXPECT_EQ(b.Margin(), 3);
    b.SetMargin(-1);
    EXPECT_EQ(b.Margin(), -1);
}

TEST(FlatButtonLayout, PlacesGlyphAndCaptionAlongEachAxis)
{
    using F = TFlatButton;
    struct Case {
        const char *name;
        QSize client;
        widgets::TButtonLayout layout;
        int margin, spacing;
        QPoint glyph, caption;
    };
    const QSize g(16, 16), t(20, 10);
    const Case cases[] = {
        {"right, fixed", {60, 30}, widgets::TButtonLayout::blGlyphRight, 3, 4, {41, 7}, {17, 10}},
        {"left, both spread", {60, 30}, widgets::TButtonLayout::blGlyphLeft, -1, -1, {8, 7}, {32, 10}},
        {"left, spacing spread", {60, 30}, widgets::TButtonLayout::blGlyphLeft, 2, -1, {2, 7}, {29, 10}},
        {"left, centred pair", {60, 30}, widgets::TButtonLayout::blGlyphLeft, -1, 4, {10, 7}, {30, 10}},
        {"top, centred pair", {40, 50}, widgets::TButtonLayout::blGlyphTop, -1, 4, {12, 10}, {10, 30}},
        {"bottom, centred pair", {40, 50}, widgets::TButtonLayout::blGlyphBottom, -1, 4, {12, 24}, {10, 10}},
        // (10 - 36) div 3 truncates toward zero: -8, not -9.
        {"left, too small", {10, 30}, widgets::TButtonLayout::blGlyphLeft, -1, -1, {-8, 7}, {0, 10}},
    };
    for (const Case &c : cases) {
        const auto r = F::LayoutGlyphAndCaption(QRect(QPoint(0, 0), c.client), g, t, c.layout,
                                                c.margin, c.spacing, {});
        EXPECT_EQ(r.GlyphOrigin, c.glyph) << c.name;
        EXPECT_EQ(r.CaptionRect, QRect(c.caption, t)) << c.name;
    }
}

TEST(FlatButtonLayout, ClientOriginAndPressedOffsetShiftBoth)
{
    const auto r = TFlatButton::LayoutGlyphAndCaption(QRect(5, 7, 60, 30), {16, 16}, {20, 10},
                                                      widgets::TButtonLayout::blGlyphRight, 3, 4, {1, 1});
    EXPECT_EQ(r.GlyphOrigin, QPoint(47, 15));
    EXPECT_EQ(r.CaptionRect, QRect(23, 18, 20, 10));
}

TEST(FlatButtonLayout, CaptionAloneIsCentredAsOnTheAboutWindowsButton)
{
    // No glyph: the spacing drops to 0 and the margin centres the caption.
    const auto r = TFlatButton::LayoutGlyphAndCaption(QRect(0, 0, 75, 25), {}, {15, 16},
                                                      widgets::TButtonLayout::blGlyphLeft, -1, 4, {});
    EXPECT_EQ(r.CaptionRect, QRect(30, 5, 15, 16));
}

namespace {

// Bounding box of the pixels that differ from the background inside the border.
QRect inkBox(const QImage &img, QColor background)
{
    QRect box;
    for (int y = 2; y < img.height() - 2; ++y)
        for (int x = 2; x < img.width() - 2; ++x)
            if (img.pixelColor(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(FlatButtonCaption, OkCaptionIsDrawnCentredInTheWindowFont)
{
    TFlatButton b;
    configure(b);
    b.SetColor(platform::clWhite);
    b.resize(75, 25);
    b.SetLayout(widgets::TButtonLayout::blGlyphLeft);
    QFont f = b.font();
    f.setPixelSize(13);
    b.SetFont(f);
    b.SetCaption("OK");
    const QRect ink = inkBox(b.PaintFace(), Qt::white);
    ASSERT_TRUE(ink.isValid());
    const int left = ink.left(), right = 74 - ink.right();
    EXPECT_LE(std::abs(left - right), 2) << left << " vs " << right;
    const int top = ink.top(), bottom = 24 - ink.bottom();
    EXPECT_LE(std::abs(top - bottom), 4) << top << " vs " << bottom;
}

namespace {

int countNear(const QImage &img, QColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor p = img.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) +
                    std::abs(p.blue() - c.blue()) < 40)
                ++n;
        }
    return n;
}

} // namespace

TEST(FlatButtonCaption, DisabledCaptionUsesHighlightAndShadowColours)
{
    TFlatButton b;
    configure(b);
    b.SetColor(platform::clWhite);
    b.SetColorBorder(platform::clWhite);
    b.resize(120, 40);
    QPalette pal = b.palette();
    pal.setColor(QPalette::Light, QColor(0, 200, 0));
    pal.setColor(QPalette::Dark, QColor(200, 0, 0));
    pal.setColor(QPalette::WindowText, QColor(0, 0, 200));
    b.setPalette(pal);
    QFont f = b.font();
    f.setPixelSize(28);
    b.SetFont(f);
    b.SetCaption("HIH");

    const QImage enabled = b.PaintFace();
    EXPECT_GT(countNear(enabled, QColor(0, 0, 200)), 5);
    EXPECT_EQ(countNear(enabled, QColor(0, 200, 0)), 0);

    b.SetEnabled(false);
    const QImage disabled = b.PaintFace();
    EXPECT_GT(countNear(disabled, QColor(0, 200, 0)), 5);
    EXPECT_GT(countNear(disabled, QColor(200, 0, 0)), 5);
    EXPECT_EQ(countNear(disabled, QColor(0, 0, 200)), 0);
    // The highlight copy lies one pixel right and down of the shadow copy.
    const QRect shadowInk = inkBox(disabled, Qt::white);
    EXPECT_EQ(shadowInk.size(), inkBox(enabled, Qt::white).size() + QSize(1, 1));
}

TEST(FlatButtonCaption, CaptionStandsOutFromTheFaceUnderADarkPalette)
{
    // A dark palette's light text on a white face, and dark text on a dark face.
    const struct {
        TColor face;
        QColor text, drawn;
    } rows[] = {{platform::clWhite, QColor(230, 230, 230), Qt::black}, {RGBColor(30, 30, 30), QColor(20, 20, 20), Qt::white}};
    for (const auto &row : rows) {
        TFlatButton b;
        configure(b);
        b.SetColor(row.face);
        b.SetColorBorder(row.face);
        b.resize(120, 40);
        QPalette pal = b.palette();
        pal.setColor(QPalette::WindowText, row.text);
        b.setPalette(pal);
        QFont f = b.font();
        f.setPixelSize(28);
        b.SetFont(f);
        b.SetCaption("HIH");
        const QImage face = b.PaintFace();
        EXPECT_GT(countNear(face, row.drawn), 5) << row.drawn.name().toStdString();
    }
}

TEST(FlatButtonPaint, ScreenPaintOfASeeThroughButtonShowsTheParent)
{
    StripedParent parent;
    parent.resize(100, 60);
    TFlatButton b(&parent);
    configure(b);
    b.move(10, 5);
    b.SetTransparentMode(TFlatButton::tmAlways);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    const QImage shot = parent.grab().toImage();
    EXPECT_EQ(platform::FromQColor(shot.pixelColor(15, 15)), RGBColor(255, 0, 0));
    EXPECT_EQ(platform::FromQColor(shot.pixelColor(25, 15)), RGBColor(0, 0, 255));
    EXPECT_EQ(platform::FromQColor(shot.pixelColor(10, 5)), kBorder);
    EXPECT_EQ(platform::FromQColor(b.grab().toImage().pixelColor(5, 10)), RGBColor(255, 0, 0));
}
