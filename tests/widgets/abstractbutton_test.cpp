// What the button base gives both kinds of button: groups that latch in turn,
// formed only among buttons of one kind.

#include "flatbuttonunit.h"
#include "glyphspeedbutton.h"
#include "speedbar_testing.h"

#include <gtest/gtest.h>

using namespace widgets;
using speedbartest::click;

TEST(ButtonGroups, FormOnlyAmongButtonsOfOneKind)
{
    QWidget parent;
    TFlatButton *flatA = new TFlatButton(&parent), *flatB = new TFlatButton(&parent);
    TGlyphSpeedButton *speedA = new TGlyphSpeedButton(&parent), *speedB = new TGlyphSpeedButton(&parent);
    for (TAbstractButton *b : std::initializer_list<TAbstractButton *>{flatA, flatB, speedA, speedB}) {
        b->resize(20, 20);
        b->SetGroupIndex(1);
    }

    speedA->SetDown(true);
    click(flatA, QPoint(5, 5));
    EXPECT_TRUE(flatA->Down());
    EXPECT_TRUE(speedA->Down()) << "a flat button latching releases no speed button";
    click(speedB, QPoint(5, 5));
    EXPECT_TRUE(speedB->Down());
    EXPECT_FALSE(speedA->Down());
    EXPECT_TRUE(flatA->Down()) << "nor the other way round";
    click(flatB, QPoint(5, 5));
    EXPECT_TRUE(flatB->Down());
    EXPECT_FALSE(flatA->Down());

    flatA->SetAllowAllUp(true);
    EXPECT_TRUE(flatB->AllowAllUp());
    EXPECT_FALSE(speedA->AllowAllUp()) << "the setting stays within the kind";
    EXPECT_FALSE(speedB->AllowAllUp());
}
