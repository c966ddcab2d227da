// The look of a speed button, read from its off-screen face: frames, glyph
// positions, grey and embossed glyphs, multi-frame glyphs, and the shared
// glyph lists behind them.

#include "speedbar_testing.h"
#include "buttonlayout.h"
#include "glyphcache.h"
#include "glyphimages.h"
#include "glyphspeedbutton.h"
#include "imagelist.h"

#include <QMenu>
#include <QPainter>
#include <gtest/gtest.h>

using namespace widgets;
using namespace speedbartest;

namespace {

class ProbeButton : public TGlyphSpeedButton {
public:
    using TGlyphSpeedButton::TGlyphSpeedButton;
    void setHot(bool hot) { ChangeHot(hot, false); }
};

class ButtonFace : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.setPalette(testPalette());
        host.resize(100, 60);
        button = new ProbeButton(&host);
        button->resize(20, 20);
        button->SetGlyph(sampleGlyph());
    }
    QImage face() { return button->RenderFace(); }

    QWidget host;
    ProbeButton *button = nullptr;
};

TEST_F(ButtonFace, FlatButtonAtRestShowsGreyGlyphAt2_2WithoutFrame)
{
    button->SetFlat(true);
    const QImage img = face();
    for (QPoint p : {QPoint(0, 0), QPoint(19, 0), QPoint(0, 19), QPoint(19, 19), QPoint(1, 1), QPoint(10, 0)})
        EXPECT_EQ(rgbAt(img, p.x(), p.y()), rgb(kFace)) << p.x() << "," << p.y();
    EXPECT_EQ(rgbAt(img, 2, 2), grey(76));    // red
    EXPECT_EQ(rgbAt(img, 17, 2), grey(28));   // blue
    EXPECT_EQ(rgbAt(img, 7, 7), grey(0));     // black
    EXPECT_EQ(rgbAt(img, 3, 3), grey(255));   // white
    EXPECT_EQ(rgbAt(img, 2, 17), rgb(kFace)); // transparent
}

TEST_F(ButtonFace, FlatHotButtonHasRaisedRingAndColourGlyphAt2_2)
{
    button->SetFlat(true);
    button->setHot(true);
    const QImage img = face();
    EXPECT_EQ(rgbAt(img, 0, 0), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 18, 0), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 0, 18), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 19, 0), rgb(kShadow));  // top-right corner takes the second colour
    EXPECT_EQ(rgbAt(img, 0, 19), rgb(kShadow));  // and so does bottom-left
    EXPECT_EQ(rgbAt(img, 19, 19), rgb(kShadow));
    EXPECT_EQ(rgbAt(img, 1, 1), rgb(kFace));
    EXPECT_EQ(rgbAt(img, 2, 2), qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(rgbAt(img, 17, 2), qRgb(0, 0, 255) & 0xFFFFFF);
}

TEST_F(ButtonFace, FlatHeldButtonHasSunkenRingAndGlyphAt3_3)
{
    button->SetFlat(true);
    press(button, QPoint(5, 5));
    ASSERT_EQ(button->PaintState(), stDown);
    const QImage img = face();
    EXPECT_EQ(rgbAt(img, 0, 0), rgb(kFrame));
    EXPECT_EQ(rgbAt(img, 18, 0), rgb(kFrame));
    EXPECT_EQ(rgbAt(img, 19, 0), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 0, 19), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 19, 19), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 2, 2), rgb(kFace));
    EXPECT_EQ(rgbAt(img, 3, 3), qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(rgbAt(img, 18, 3), qRgb(0, 0, 255) & 0xFFFFFF);
}

TEST_F(ButtonFace, RaisedButtonHasTwoRingsUpAndDown)
{
    QImage img = face();
    EXPECT_EQ(rgbAt(img, 0, 0), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 19, 19), rgb(kFrame));
    EXPECT_EQ(rgbAt(img, 1, 1), rgb(kFace));
    EXPECT_EQ(rgbAt(img, 18, 18), rgb(kShadow));
    EXPECT_EQ(rgbAt(img, 2, 2), qRgb(255, 0, 0) & 0xFFFFFF); // not flat: colour at rest

    press(button, QPoint(5, 5));
    img = face();
    EXPECT_EQ(rgbAt(img, 0, 0), rgb(kFrame));
    EXPECT_EQ(rgbAt(img, 1, 1), rgb(kShadow));
    EXPECT_EQ(rgbAt(img, 19, 19), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 18, 1), rgb(kFace)); // the inner ring's second colour
    EXPECT_EQ(rgbAt(img, 3, 3), qRgb(255, 0, 0) & 0xFFFFFF);
}

TEST_F(ButtonFace, OldStyleFlatRingUsesWindowFrame)
{
    button->SetStyle(TButtonStyle::bsWin31);
    button->SetFlat(true);
    button->setHot(true);
    const QImage img = face();
    EXPECT_EQ(rgbAt(img, 0, 0), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 19, 19), rgb(kFrame));
}

TEST_F(ButtonFace, DownGroupButtonShowsCheckerboard)
{
    button->SetGlyph(QImage());
    button->SetGroupIndex(1);
    button->SetDown(true);
    ASSERT_EQ(button->PaintState(), stExclusive);
    const QImage img = face();
    // Inner rectangle (3,3)-(16,16) grown by one pixel.
    EXPECT_EQ(rgbAt(img, 2, 2), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 3, 2), rgb(kFace));
    EXPECT_EQ(rgbAt(img, 3, 3), rgb(kHighlight));
    EXPECT_EQ(rgbAt(img, 4, 3), rgb(kFace));
}

TEST_F(ButtonFace, DisabledSingleFrameGlyphShowsOnlyBlackPixelsEmbossed)
{
    button->SetFlat(true);
    button->setEnabled(false);
    const QImage img = face();
    EXPECT_EQ(button->PaintState(), stDisabled);
    EXPECT_EQ(rgbAt(img, 7, 7), rgb(kShadow));    // the black pixel
    EXPECT_EQ(rgbAt(img, 8, 8), rgb(kHighlight)); // its highlight, one pixel down and right
    EXPECT_EQ(rgbAt(img, 2, 2), rgb(kFace));      // red is gone
    EXPECT_EQ(rgbAt(img, 4, 4), rgb(kFace));      // and so is white
}

TEST_F(ButtonFace, TwoFrameGlyphHeldShowsFrameZeroAndDisabledShowsFrameOne)
{
    QImage two(32, 16, QImage::Format_RGB32);
    two.fill(qRgb(255, 0, 0));
    two.fill(Qt::transparent);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x)
            two.setPixel(x, y, x < 16 ? qRgb(255, 0, 0) : qRgb(0, 255, 0));
    two.setPixel(0, 15, qRgb(255, 0, 255));
    button->SetGlyph(two);
    ASSERT_EQ(button->NumGlyphs(), 2);

    press(button, QPoint(5, 5));
    EXPECT_EQ(rgbAt(face(), 5, 5), qRgb(255, 0, 0) & 0xFFFFFF);
    release(button, QPoint(5, 5));

    button->setEnabled(false);
    EXPECT_EQ(rgbAt(face(), 5, 5), qRgb(0, 255, 0) & 0xFFFFFF); // unchanged, not embossed
}

TEST_F(ButtonFace, DropDownMarkIsATriangleCentredUnderNoCaption)
{
    QMenu menu;
    button->SetGlyph(QImage());
    button->SetDropDownMenu(&menu);
    const QImage img = face();
    const QRgb text = rgb(button->palette().color(QPalette::ButtonText));
    EXPECT_EQ(rgbAt(img, 6, 9), text);
    EXPECT_EQ(rgbAt(img, 12, 9), text);
    EXPECT_EQ(rgbAt(img, 5, 9), rgb(kFace));
    EXPECT_EQ(rgbAt(img, 7, 10), text);
    EXPECT_EQ(rgbAt(img, 6, 10), rgb(kFace));
    EXPECT_EQ(rgbAt(img, 9, 12), text);
    EXPECT_EQ(rgbAt(img, 8, 12), rgb(kFace));

    button->SetMarkDropDown(false);
    EXPECT_EQ(rgbAt(face(), 9, 12), rgb(kFace));
}

TEST_F(ButtonFace, MenuDestroyedIsForgotten)
{
    auto *menu = new QMenu;
    button->SetDropDownMenu(menu);
    delete menu;
    EXPECT_EQ(button->DropDownMenu(), nullptr);
}

TEST(GlyphCount, WholeMultiplesOfTheHeightSetTheFrameCount)
{
    TGlyphSpeedButton b;
    b.SetGlyph(QImage(48, 16, QImage::Format_RGB32));
    EXPECT_EQ(b.NumGlyphs(), 3);
    b.SetGlyph(QImage(96, 16, QImage::Format_RGB32));
    EXPECT_EQ(b.NumGlyphs(), 1); // six frames is more than there are states
    b.SetNumGlyphs(2);
    b.SetGlyph(QImage(20, 16, QImage::Format_RGB32));
    EXPECT_EQ(b.NumGlyphs(), 2);
}

TEST(GlyphCount, NumGlyphsIsLimitedToFiveAndIgnoresZero)
{
    TGlyphSpeedButton b;
    b.SetNumGlyphs(9);
    EXPECT_EQ(b.NumGlyphs(), 5);
    b.SetNumGlyphs(0);
    EXPECT_EQ(b.NumGlyphs(), 5);
    b.SetMargin(-5);
    EXPECT_EQ(b.Margin(), -1);
}

TEST(GreyValue, LuminanceWithTransparentAndFaceKept)
{
    const QRgb fuchsia = qRgb(255, 0, 255), face = qRgb(200, 200, 200);
    QImage src(5, 1, QImage::Format_RGB32);
    src.setPixel(0, 0, qRgb(255, 255, 255));
    src.setPixel(1, 0, qRgb(255, 0, 0));
    src.setPixel(2, 0, qRgb(0, 0, 255));
    src.setPixel(3, 0, fuchsia);
    src.setPixel(4, 0, face);
    const QImage g = GrayedImage(src, fuchsia, face);
    EXPECT_EQ(rgbAt(g, 0, 0), grey(255));
    EXPECT_EQ(rgbAt(g, 1, 0), grey(76));
    EXPECT_EQ(rgbAt(g, 2, 0), grey(28));
    EXPECT_EQ(rgbAt(g, 3, 0), fuchsia & 0xFFFFFF);
    EXPECT_EQ(rgbAt(g, 4, 0), face & 0xFFFFFF);
}

TEST(GreyValue, BottomLeftColourStaysTransparentInTheInactiveImage)
{
    QWidget host;
    host.setPalette(testPalette());
    TGlyphSpeedButton b(&host);
    QImage g = sampleGlyph();
    g.setPixel(0, 15, qRgb(128, 128, 0)); // olive as this glyph's transparent colour
    g.setPixel(1, 15, qRgb(128, 128, 0));
    b.SetGlyph(g);
    b.SetFlat(true);
    b.resize(20, 20);
    const QImage img = b.RenderFace();
    EXPECT_EQ(rgbAt(img, 3, 17), rgb(kFace));
    EXPECT_EQ(rgbAt(img, 2, 16), grey(255));
}

TEST(Emboss, OnlyBlackPixelsShow)
{
    QImage src(4, 4, QImage::Format_RGB32);
    src.fill(qRgb(255, 0, 0));
    src.setPixel(1, 1, qRgb(0, 0, 0));
    src.setPixel(3, 3, qRgb(0, 0, 0)); // its highlight falls outside
    const QRgb face = qRgb(1, 2, 3), hi = qRgb(4, 5, 6), sh = qRgb(7, 8, 9);
    const QImage e = EmbossedImage(src, face, hi, sh);
    EXPECT_EQ(e.pixel(1, 1), sh);
    EXPECT_EQ(e.pixel(2, 2), hi);
    EXPECT_EQ(e.pixel(3, 3), sh);
    EXPECT_EQ(e.pixel(0, 0), face);
    EXPECT_EQ(e.pixel(2, 1), face);
}

TEST(GlyphList, AtTwiceThePixelsDiagonalStepsAreRoundedNotDoubled)
{
    // A step: the top-right pixel white, the other three black.
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255), fuchsia = qRgb(255, 0, 255);
    QImage step(2, 2, QImage::Format_RGB32);
    step.fill(black);
    step.setPixel(1, 0, white);
    TImageList list(QSize(2, 2));
    const int index = list.Add(step, fuchsia);

    for (const qreal ratio : {1.0, 2.0}) {
        QImage screen(QSize(2, 2) * ratio, QImage::Format_RGB32);
        screen.setDevicePixelRatio(ratio);
        screen.fill(fuchsia);
        QPainter painter(&screen);
        list.Draw(painter, 0, 0, index);
        painter.end();
        if (ratio == 1) {
            EXPECT_EQ(screen.pixel(1, 0), white);
            continue;
        }
        EXPECT_EQ(screen.pixel(3, 0), white) << "the white corner stays";
        EXPECT_EQ(screen.pixel(2, 1), black) << "the step's inner corner is filled";
        EXPECT_EQ(screen.pixel(0, 3), black);
    }
}

TEST(GlyphList, SlotsAreReusedLowestFirst)
{
    TGlyphList list(QSize(4, 4));
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    EXPECT_EQ(list.AddMasked(img, 0), 0);
    EXPECT_EQ(list.AddMasked(img, 0), 1);
    EXPECT_EQ(list.AddMasked(img, 0), 2);
    list.Delete(0);
    list.Delete(1);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.AddMasked(img, 0), 0);
    EXPECT_EQ(list.AddMasked(img, 0), 1);
    EXPECT_EQ(list.AddMasked(img, 0), 3);
    EXPECT_EQ(list.Count(), 4);
    list.Delete(1);
    list.Delete(1); // handing back twice must not count twice
    EXPECT_EQ(list.Count(), 3);
}

TEST(GlyphCache, ButtonsOfOneGlyphSizeShareOneListThatGoesWithTheLastImage)
{
    const QPalette palette = testPalette();
    const int before = TGlyphCache::Instance().ListCount();
    {
        TSpeedGlyph a, b, c;
        a.SetGlyph(QImage(13, 11, QImage::Format_RGB32));
        b.SetGlyph(QImage(13, 11, QImage::Format_RGB32));
        c.SetGlyph(QImage(7, 11, QImage::Format_RGB32));
        ASSERT_GE(a.CreateButtonGlyph(stUp, palette), 0);
        ASSERT_GE(b.CreateButtonGlyph(stInactive, palette), 0);
        ASSERT_GE(c.CreateButtonGlyph(stUp, palette), 0);
        EXPECT_EQ(a.List(), b.List());
        EXPECT_NE(a.List(), c.List());
        EXPECT_EQ(TGlyphCache::Instance().ListCount(), before + 2);
        EXPECT_EQ(a.List()->Count(), 2);
        // A held single-frame glyph uses its up image.
        EXPECT_EQ(a.CreateButtonGlyph(stDown, palette), a.CreateButtonGlyph(stUp, palette));
        EXPECT_EQ(a.List()->Count(), 2);
        a.Invalidate();
        EXPECT_EQ(b.List()->Count(), 1);
        EXPECT_EQ(TGlyphCache::Instance().ListCount(), before + 2);
    }
    EXPECT_EQ(TGlyphCache::Instance().ListCount(), before);
}

TEST(CaptionFitting, LongLinesAreShortenedWithDots)
{
    const QFontMetrics fm(QApplication::font());
    const QString caption = QStringLiteral("Schließen");
    const int full = fm.horizontalAdvance(caption);
    EXPECT_EQ(FitCaption(caption, full, fm, false), caption);
    const QString fitted = FitCaption(caption, full - 1, fm, false);
    EXPECT_TRUE(fitted.endsWith(QStringLiteral("...")));
    EXPECT_LE(fm.horizontalAdvance(fitted), full - 1);
    EXPECT_TRUE(caption.startsWith(fitted.chopped(3)));
    EXPECT_EQ(FitCaption(QStringLiteral("ab  \n"), 1000, fm, false), QStringLiteral("ab"));
    EXPECT_EQ(FitCaption(QString(300, QLatin1Char('x')), 10, fm, true).size(), 255);
    EXPECT_EQ(FitCaption(QString(300, QLatin1Char('x')), 100000, fm, false).size(), 255);
}

TEST(CaptionLayout, CaptionWithoutGlyphIsCentred)
{
    const QFontMetrics fm(QApplication::font());
    TButtonLayoutInput in;
    in.area = QRect(2, 2, 72, 18);
    in.caption = QStringLiteral("Schließen");
    const TButtonLayoutResult out = CalcButtonLayout(in, fm);
    EXPECT_EQ(out.caption, in.caption);
    EXPECT_TRUE(in.area.contains(out.textBounds)) << out.textBounds.x() << "," << out.textBounds.y();
    EXPECT_LE(std::abs(out.textBounds.center().x() - in.area.center().x()), 1);
    EXPECT_LE(std::abs(out.textBounds.center().y() - in.area.center().y()), 1);
}

TEST(CaptionLayout, GlyphLeftPutsTextAfterGlyphAndSpacing)
{
    const QFontMetrics fm(QApplication::font());
    TButtonLayoutInput in;
    in.area = QRect(0, 0, 200, 30);
    in.glyph = QSize(16, 16);
    in.caption = QStringLiteral("Text");
    in.layout = TButtonLayout::blGlyphLeft;
    in.margin = 4;
    in.spacing = 3;
    const TButtonLayoutResult out = CalcButtonLayout(in, fm);
    EXPECT_EQ(out.glyphPos, QPoint(4, 7));
    EXPECT_EQ(out.textBounds.left(), 4 + 16 + 3);

    in.layout = TButtonLayout::blGlyphRight;
    const TButtonLayoutResult right = CalcButtonLayout(in, fm);
    EXPECT_EQ(right.glyphPos.x(), 200 - 4 - 16);
    EXPECT_EQ(right.textBounds.left() + right.textBounds.width(), right.glyphPos.x() - 3);
}

} // namespace
