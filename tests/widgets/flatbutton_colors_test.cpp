// Colour conversion on the 0..240 scale, shading and the derived colours of
// the flat button.

#include "flatbuttonunit.h"
#include "flatdrawing.h"
#include "hslcolors.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

using platform::RGBColor;
using widgets::ColorToHsl240;
using widgets::Hsl240ToColor;
using widgets::ShadeColor;
using widgets::THsl240;
using widgets::TShadeDirection;

namespace {

struct HslCase {
    const char *name;
    int r, g, b;
    THsl240 hsl;
};

// Worked out by hand from the channel formulas; the half cases check that
// rounding goes to the even neighbour.
const HslCase kHslCases[] = {
    {"black", 0, 0, 0, {0, 0, 0}},
    {"white", 255, 255, 255, {0, 0, 240}},
    {"red", 255, 0, 0, {0, 240, 120}},
    {"green", 0, 255, 0, {80, 240, 120}},
    {"blue", 0, 0, 255, {159, 240, 120}},
    {"grey 128", 128, 128, 128, {0, 0, 120}},
    {"focused default $E1EAEB", 235, 234, 225, {36, 48, 216}},
    {"saturation 72.5 rounds down to even", 125, 67, 67, {0, 72, 90}},
    {"saturation 77.5 rounds up to even", 127, 65, 65, {0, 78, 90}},
    {"hue 2.5 rounds down to even", 239, 15, 0, {2, 240, 112}},
    {"hue 1.5 rounds up to even", 239, 9, 0, {2, 240, 112}},
    {"magenta wraps the hue", 255, 0, 128, {219, 240, 120}},
};

} // namespace

TEST(HslColors, ColorToHsl240MatchesHandComputedValues)
{
    for (const HslCase &c : kHslCases) {
        const THsl240 got = ColorToHsl240(RGBColor(c.r, c.g, c.b));
        EXPECT_EQ(got.Hue, c.hsl.Hue) << c.name;
        EXPECT_EQ(got.Saturation, c.hsl.Saturation) << c.name;
        EXPECT_EQ(got.Lightness, c.hsl.Lightness) << c.name;
    }
}

TEST(HslColors, Hsl240ToColorMatchesHandComputedValues)
{
    EXPECT_EQ(Hsl240ToColor(0, 240, 120), RGBColor(255, 0, 0));
    // Hue 80 of 239 lies just past a third: a trace of blue remains.
    EXPECT_EQ(Hsl240ToColor(80, 240, 120), RGBColor(0, 255, 2));
    EXPECT_EQ(Hsl240ToColor(0, 0, 100), RGBColor(106, 106, 106));
    EXPECT_EQ(Hsl240ToColor(0, 0, 240), RGBColor(255, 255, 255));
    EXPECT_EQ(Hsl240ToColor(0, 0, 0), RGBColor(0, 0, 0));
    // The default focused colour comes back one step off in blue.
    EXPECT_EQ(Hsl240ToColor(36, 48, 216), RGBColor(235, 234, 224));
}

TEST(HslColors, RoundTripOverAGridStaysWithinTheScalesResolution)
{
    int worst = 0;
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15) {
                const platform::TColor back = Hsl240ToColor(ColorToHsl240(RGBColor(r, g, b)));
                const int dr = std::abs(int(back & 0xFF) - r);
                const int dg = std::abs(int((back >> 8) & 0xFF) - g);
                const int db = std::abs(int((back >> 16) & 0xFF) - b);
                worst = std::max({worst, dr, dg, db});
                ASSERT_LE(std::max({dr, dg, db}), 3) << r << "," << g << "," << b;
            }
    // 241 lightness steps for 256 grey values: greys stay grey, within one.
    for (int v = 0; v < 256; ++v) {
        const platform::TColor back = Hsl240ToColor(ColorToHsl240(RGBColor(v, v, v)));
        const int r = int(back & 0xFF);
        EXPECT_EQ(back, RGBColor(r, r, r)) << v;
        EXPECT_LE(std::abs(r - v), 1) << v;
    }
    // Red sits on hue 0 and survives exactly.
    EXPECT_EQ(Hsl240ToColor(ColorToHsl240(RGBColor(255, 0, 0))), RGBColor(255, 0, 0));
    EXPECT_GT(worst, 0); // the grid really crosses the rounding steps
}

TEST(HslColors, LightnessAboveTheScaleSaturatesInsteadOfWrapping)
{
    EXPECT_EQ(Hsl240ToColor(0, 0, 250), RGBColor(255, 255, 255));
    const platform::TColor c = Hsl240ToColor(0, 240, 250);
    EXPECT_EQ(c & 0xFF, 255u);
    EXPECT_GE((c >> 8) & 0xFF, 250u);
}

TEST(ShadeColor, WhiteLightenedIsTheMidGrey106)
{
    EXPECT_EQ(ShadeColor(platform::clWhite, 0x123456, 10, TShadeDirection::Lighten),
              RGBColor(106, 106, 106));
    // Any lightening percentage ends at the same bound.
    EXPECT_EQ(ShadeColor(platform::clWhite, 0, 100, TShadeDirection::Lighten),
              RGBColor(106, 106, 106));
}

TEST(ShadeColor, PercentZeroGivesTheFallback)
{
    EXPECT_EQ(ShadeColor(platform::clWhite, 0x123456, 0, TShadeDirection::Lighten), 0x123456u);
    EXPECT_EQ(ShadeColor(platform::clBlack, 0xABCDEF, 0, TShadeDirection::Darken), 0xABCDEFu);
}

TEST(ShadeColor, DarkenAndLightenMoveTheLightnessAfterTheBiasOfTen)
{
    // White: 240 + 10 - 10 = 240 stays white; - 50 gives 200.
    EXPECT_EQ(ShadeColor(platform::clWhite, 0, 10, TShadeDirection::Darken), RGBColor(255, 255, 255));
    EXPECT_EQ(ShadeColor(platform::clWhite, 0, 50, TShadeDirection::Darken), RGBColor(212, 212, 212));
    // Black: 0 + 10 + 10 = 20; 0 + 10 - 50 is bounded at 0.
    EXPECT_EQ(ShadeColor(platform::clBlack, 0, 10, TShadeDirection::Lighten), RGBColor(21, 21, 21));
    EXPECT_EQ(ShadeColor(platform::clBlack, 0, 50, TShadeDirection::Darken), RGBColor(0, 0, 0));
    // A coloured base keeps hue and saturation (13, 144; lightness 118).
    EXPECT_EQ(ShadeColor(RGBColor(200, 100, 50), 0, 10, TShadeDirection::Darken),
              RGBColor(201, 99, 50));
    EXPECT_EQ(ShadeColor(RGBColor(200, 100, 50), 0, 10, TShadeDirection::Lighten),
              RGBColor(170, 84, 42));
    // White darkened by 1 lies above the scale and must stay white.
    EXPECT_EQ(ShadeColor(platform::clWhite, 0, 1, TShadeDirection::Darken), RGBColor(255, 255, 255));
}

TEST(ShadeColor, SystemColoursAreResolvedFirst)
{
    QPalette pal;
    pal.setColor(QPalette::Button, QColor(255, 255, 255));
    EXPECT_EQ(ShadeColor(platform::clBtnFace, 0, 10, TShadeDirection::Lighten, pal),
              RGBColor(106, 106, 106));
    pal.setColor(QPalette::Button, QColor(0, 0, 0));
    EXPECT_EQ(ShadeColor(platform::clBtnFace, 0, 10, TShadeDirection::Lighten, pal),
              RGBColor(21, 21, 21));
}

TEST(FlatButtonAdvColors, WhiteFaceDerivesGreyFocusedColour)
{
    widgets::TFlatButton button;
    button.SetColor(platform::clWhite);
    EXPECT_EQ(button.ColorFocused(), 0xE1EAEBu); // nothing derived while off
    button.SetUseAdvColors(true);
    // Without a parent the face colour stays the one set.
    EXPECT_EQ(button.Color(), platform::clWhite);
    EXPECT_EQ(button.ColorFocused(), RGBColor(106, 106, 106));
    EXPECT_EQ(button.ColorDown(), RGBColor(255, 255, 255));
    EXPECT_EQ(button.ColorBorder(), RGBColor(212, 212, 212));

    button.SetAdvColorBorder(0); // 0 keeps the colour as it is
    EXPECT_EQ(button.ColorBorder(), RGBColor(212, 212, 212));
    button.SetAdvColorDown(50);
    EXPECT_EQ(button.ColorDown(), RGBColor(212, 212, 212));
}

TEST(FlatButtonAdvColors, FollowsTheParentsColourWhenSwitchedOn)
{
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(parent.backgroundRole(), Qt::white);
    parent.setPalette(pal);
    widgets::TFlatButton button(&parent);
    EXPECT_TRUE(button.ParentColor());
    EXPECT_EQ(button.Color(), platform::clWhite);

    button.SetColor(RGBColor(200, 100, 50));
    EXPECT_FALSE(button.ParentColor());
    button.SetUseAdvColors(true);
    EXPECT_TRUE(button.ParentColor());
    EXPECT_EQ(button.Color(), platform::clWhite);
    EXPECT_EQ(button.ColorFocused(), RGBColor(106, 106, 106));

    // A new parent colour is taken over and the shades follow it.
    pal.setColor(parent.backgroundRole(), Qt::black);
    parent.setPalette(pal);
    EXPECT_EQ(button.Color(), platform::clBlack);
    EXPECT_EQ(button.ColorFocused(), RGBColor(21, 21, 21));
}

TEST(FlatButtonAdvColors, OwnColourSurvivesAParentColourChangeWithoutAdvColors)
{
    QWidget parent;
    widgets::TFlatButton button(&parent);
    button.SetColor(RGBColor(1, 2, 3));
    QPalette pal = parent.palette();
    pal.setColor(parent.backgroundRole(), Qt::red);
    parent.setPalette(pal);
    EXPECT_EQ(button.Color(), RGBColor(1, 2, 3));
    button.SetParentColor(true);
    EXPECT_EQ(button.Color(), RGBColor(255, 0, 0));
}
