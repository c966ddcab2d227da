// What assistive tools read of both kinds of button and of the speed bar:
// role, name, states and the press action.

#include "buttonaccessible.h"
#include "flatbuttonunit.h"
#include "glyphspeedbutton.h"
#include "speedbar.h"

#include <QAccessible>
#include <gtest/gtest.h>

#include <memory>

using namespace widgets;

namespace {

struct ButtonAccessible : ::testing::Test {
    QWidget parent;
    static void SetUpTestSuite() { QAccessible::installFactory(ButtonAccessibleFactory); }
    static void TearDownTestSuite() { QAccessible::removeFactory(ButtonAccessibleFactory); }

    TAbstractButton *make(bool speed, const QString &caption, const QString &hint, int group)
    {
        TAbstractButton *button = nullptr;
        if (speed) {
            auto *b = new TGlyphSpeedButton(&parent);
            b->SetHint(hint);
            button = b;
        } else {
            button = new TFlatButton(&parent);
            button->setToolTip(hint);
        }
        button->SetCaption(caption);
        button->SetGroupIndex(group);
        button->SetAllowAllUp(true);
        button->resize(24, 22);
        return button;
    }
};

} // namespace

TEST_F(ButtonAccessible, NamedByCaptionElseHintAndPressedAsClicked)
{
    struct Row {
        const char *what;
        bool speed;
        const char *caption, *hint;
        int group;
        const char *name;
    };
    const Row rows[] = {
        {"flat caption", false, "&OK", "", 0, "OK"},
        {"flat glyph only", false, "", "Schließen", 0, "Schließen"},
        {"speed caption over hint", true, "Schlie&ßen", "Minimieren", 0, "Schließen"},
        {"speed glyph only, short hint", true, "", "Fett|Fett fett", 0, "Fett"},
        {"latching flat", false, "Eins", "", 1, "Eins"},
        {"latching speed", true, "", "Links|", 1, "Links"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        TAbstractButton *button = make(row.speed, row.caption, row.hint, row.group);
        int clicks = 0;
        button->OnClick = [&](QObject *) { ++clicks; };
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(button);
        ASSERT_TRUE(iface);
        EXPECT_EQ(iface->role(), QAccessible::Button);
        EXPECT_EQ(iface->text(QAccessible::Name), row.name);
        const bool latches = row.group != 0;
        EXPECT_EQ(iface->state().checkable, latches);
        EXPECT_FALSE(iface->state().checked);

        ASSERT_TRUE(iface->actionInterface());
        EXPECT_TRUE(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(button->Down(), latches) << "a latching button latches as by a click";
        EXPECT_EQ(iface->state().checked, latches);
        EXPECT_FALSE(iface->state().pressed) << "the press is over";

        button->setEnabled(false);
        EXPECT_TRUE(iface->state().disabled);
        EXPECT_TRUE(iface->actionInterface()->actionNames().isEmpty());
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(clicks, 1) << "a disabled button does not click";
    }
}

TEST_F(ButtonAccessible, SpeedBarIsAToolBar)
{
    auto *bar = new TSpeedBar(&parent);
    bar->setAccessibleName("Werkzeugleiste");
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(bar);
    EXPECT_EQ(iface->role(), QAccessible::ToolBar);
    EXPECT_EQ(iface->text(QAccessible::Name), "Werkzeugleiste");
}
