// A speed button under the mouse: pressing, dragging out and back, the
// release edges, double clicks, groups, auto-repeat, the hot state and
// handlers that fail.

#include "guarded.h"
#include "exception.h"
#include "speedbar_testing.h"
#include "glyphspeedbutton.h"
#include "timertick.h"

#include <QDialog>
#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using namespace widgets;
using namespace speedbartest;
using testing_support::FireTimer;

namespace {

class ButtonMouse : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.setPalette(testPalette());
        host.resize(200, 100);
        button = new TGlyphSpeedButton(&host);
        button->setGeometry(10, 10, 20, 20);
        button->SetGlyph(sampleGlyph());
        button->OnClick = [this](QObject *sender) {
            ++clicks;
            lastSender = sender;
        };
    }
    void activate()
    {
        host.show();
        QApplication::setActiveWindow(&host);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    }

    QWidget host;
    TGlyphSpeedButton *button = nullptr;
    int clicks = 0;
    QObject *lastSender = nullptr;
};

TEST_F(ButtonMouse, ReleaseInsideClicksWithTheButtonAsSender)
{
    click(button, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(lastSender, button);
    EXPECT_EQ(button->PaintState(), stUp);
}

TEST_F(ButtonMouse, DraggingOutPopsUpAndBackInPressesAgain)
{
    press(button, QPoint(5, 5));
    EXPECT_EQ(button->PaintState(), stDown);
    move(button, QPoint(25, 5));
    EXPECT_EQ(button->PaintState(), stUp);
    move(button, QPoint(6, 6));
    EXPECT_EQ(button->PaintState(), stDown);
    release(button, QPoint(6, 6));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonMouse, ReleaseOutsideDoesNotClick)
{
    press(button, QPoint(5, 5));
    move(button, QPoint(-3, 5));
    release(button, QPoint(-3, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(button->PaintState(), stUp);
    EXPECT_FALSE(button->Pressing());
}

TEST_F(ButtonMouse, BottomRowCountsAsInsideButRightColumnDoesNot)
{
    press(button, QPoint(5, 5));
    release(button, QPoint(5, 20)); // y = height
    EXPECT_EQ(clicks, 1);
    press(button, QPoint(5, 5));
    release(button, QPoint(20, 5)); // x = width
    EXPECT_EQ(clicks, 1);
    press(button, QPoint(5, 5));
    move(button, QPoint(5, 20));
    EXPECT_EQ(button->PaintState(), stDown);
    move(button, QPoint(20, 5));
    EXPECT_EQ(button->PaintState(), stUp);
    release(button, QPoint(20, 5));
}

TEST_F(ButtonMouse, DoubleClickOnPlainButtonGivesTwoClicksAndNoDoubleClickEvent)
{
    int doubles = 0;
    button->OnDblClick = [&](QObject *) { ++doubles; };
    press(button, QPoint(5, 5));
    release(button, QPoint(5, 5));
    sendMouse(button, QEvent::MouseButtonDblClick, QPoint(5, 5));
    release(button, QPoint(5, 5));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubles, 0);
}

TEST_F(ButtonMouse, DisabledButtonDoesNotPress)
{
    button->setEnabled(false);
    click(button, QPoint(5, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(button->Pressing());
    button->RenderFace();
    EXPECT_EQ(button->PaintState(), stDisabled);
}

TEST_F(ButtonMouse, MouseDownAndUpEventsComeWithButtonAndPoint)
{
    QPoint down, up;
    button->OnMouseDown = [&](QObject *, Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) {
        EXPECT_EQ(b, Qt::LeftButton);
        down = p;
    };
    button->OnMouseUp = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, QPoint p) { up = p; };
    press(button, QPoint(3, 4));
    release(button, QPoint(6, 7));
    EXPECT_EQ(down, QPoint(3, 4));
    EXPECT_EQ(up, QPoint(6, 7));
}

class ButtonGroup : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(200, 100);
        a = new TGlyphSpeedButton(&host);
        b = new TGlyphSpeedButton(&host);
        other = new TGlyphSpeedButton(&host);
        a->setGeometry(0, 0, 20, 20);
        b->setGeometry(20, 0, 20, 20);
        other->setGeometry(40, 0, 20, 20);
        a->SetGroupIndex(1);
        b->SetGroupIndex(1);
        other->SetGroupIndex(2);
    }
    QWidget host;
    TGlyphSpeedButton *a = nullptr, *b = nullptr, *other = nullptr;
};

TEST_F(ButtonGroup, ClickingAnotherMemberMovesTheDownState)
{
    a->SetDown(true);
    other->SetDown(true);
    click(b, QPoint(5, 5));
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->PaintState(), stUp);
    EXPECT_EQ(b->PaintState(), stExclusive);
    EXPECT_TRUE(other->Down()); // another group
    click(b, QPoint(5, 5));
    EXPECT_TRUE(b->Down());
    b->SetDown(false);
    EXPECT_TRUE(b->Down()); // only another member releases it
}

TEST_F(ButtonGroup, AllowAllUpLetsTheSecondClickRelease)
{
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp()); // the group shares the setting
    click(b, QPoint(5, 5));
    EXPECT_TRUE(b->Down());
    click(b, QPoint(5, 5));
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(a->Down());
}

TEST_F(ButtonGroup, PlainButtonIsNeverDown)
{
    TGlyphSpeedButton plain(&host);
    plain.SetDown(true);
    EXPECT_FALSE(plain.Down());
}

TEST_F(ButtonGroup, ReleaseOutsideKeepsADownButtonExclusive)
{
    a->SetDown(true);
    press(a, QPoint(5, 5));
    EXPECT_EQ(a->PaintState(), stExclusive);
    release(a, QPoint(50, 50));
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(a->PaintState(), stExclusive);
}

TEST_F(ButtonMouse, HoldingRepeatsAfterThePauseAtTheInterval)
{
    button->SetAllowTimer(true);
    EXPECT_EQ(button->InitPause(), 500);
    EXPECT_EQ(button->RepeatInterval(), 100);
    press(button, QPoint(5, 5));
    QTimer *timer = button->RepeatTimer();
    ASSERT_TRUE(button->RepeatTimerActive());
    EXPECT_EQ(timer->timerType(), Qt::PreciseTimer); // a coarse one may end the pause early
    EXPECT_EQ(timer->interval(), 500);               // the pause first
    EXPECT_EQ(clicks, 0);
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(FireTimer(timer));
        EXPECT_EQ(clicks, i);
        EXPECT_EQ(timer->interval(), 100); // then the interval
    }
    release(button, QPoint(5, 5));
    EXPECT_EQ(clicks, 4); // and one for the release
    EXPECT_FALSE(button->RepeatTimerActive());
}

TEST_F(ButtonMouse, RepeatPausesWhileDraggedOutside)
{
    button->SetAllowTimer(true);
    press(button, QPoint(5, 5));
    move(button, QPoint(50, 50));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(FireTimer(button->RepeatTimer()));
    EXPECT_EQ(clicks, 0);
    move(button, QPoint(5, 5));
    ASSERT_TRUE(FireTimer(button->RepeatTimer()));
    EXPECT_EQ(clicks, 1);
    release(button, QPoint(50, 50));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonMouse, FailingRepeatStopsTheTimerAndReachesTheErrorBox)
{
    QStringList shown;
    platform::SetErrorPresenter([&](const QString &m) { shown << m; });
    button->OnClick = [&](QObject *) {
        ++clicks;
        throw platform::Exception(QStringLiteral("kaputt"));
    };
    button->SetAllowTimer(true);
    button->SetInitPause(30);
    button->SetRepeatInterval(30);
    press(button, QPoint(5, 5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }));
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->RepeatTimerActive());
    EXPECT_EQ(shown, QStringList{QStringLiteral("kaputt")});
    release(button, QPoint(5, 5)); // the release click fails as well, and is shown
    EXPECT_EQ(shown.size(), 2);
    platform::SetErrorPresenter(nullptr);
}

TEST_F(ButtonMouse, NotHotWhileTheProgramIsInactive)
{
    button->SetFlat(true);
    QApplication::setActiveWindow(nullptr);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    int enters = 0;
    button->OnMouseEnter = [&](QObject *) { ++enters; };
    enter(button, QPoint(5, 5));
    EXPECT_FALSE(button->Hot());
    EXPECT_EQ(enters, 0);
    const QImage img = button->RenderFace();
    EXPECT_EQ(rgbAt(img, 0, 0), rgb(kFace));
    EXPECT_EQ(rgbAt(img, 2, 2), grey(76));
}

TEST_F(ButtonMouse, HotWhileActiveAndColdAgainOnLeave)
{
    activate();
    button->SetFlat(true);
    int enters = 0, leaves = 0;
    button->OnMouseEnter = [&](QObject *s) {
        EXPECT_EQ(s, button);
        ++enters;
    };
    button->OnMouseLeave = [&](QObject *) { ++leaves; };
    enter(button, QPoint(5, 5));
    EXPECT_TRUE(button->Hot());
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(rgbAt(button->RenderFace(), 2, 2), qRgb(255, 0, 0) & 0xFFFFFF);
    leave(button);
    EXPECT_FALSE(button->Hot());
    EXPECT_EQ(leaves, 1);
}

TEST_F(ButtonMouse, AfterAClickTheButtonUnderThePointerEntersAgainWithoutLeaving)
{
    activate();
    button->SetFlat(true);
    int enters = 0, leaves = 0;
    button->OnMouseEnter = [&](QObject *) { ++enters; };
    button->OnMouseLeave = [&](QObject *) { ++leaves; };
    enter(button, QPoint(5, 5));
    click(button, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(leaves, 0);
    EXPECT_TRUE(button->Hot());
}

TEST_F(ButtonMouse, ThrowingClickHandlerReachesTheErrorBoxAndTheButtonRecovers)
{
    QStringList shown;
    platform::SetErrorPresenter([&](const QString &m) { shown << m; });
    button->OnClick = [](QObject *) { throw platform::Exception(QStringLiteral("Fehler beim Klick")); };
    click(button, QPoint(5, 5));
    EXPECT_EQ(shown, QStringList{QStringLiteral("Fehler beim Klick")});
    EXPECT_EQ(button->PaintState(), stUp);
    EXPECT_FALSE(button->Pressing());
    platform::SetErrorPresenter(nullptr);
}

TEST_F(ButtonMouse, AcceleratorClicksIgnoringCase)
{
    button->SetCaption(QStringLiteral("&Schließen"));
    EXPECT_TRUE(button->DialogChar(QLatin1Char('s')));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->DialogChar(QLatin1Char('c')));
    button->SetCaption(QStringLiteral("A&&B"));
    EXPECT_FALSE(button->DialogChar(QLatin1Char('b')));
    button->SetCaption(QStringLiteral("&Schließen"));
    button->setEnabled(false);
    EXPECT_FALSE(button->DialogChar(QLatin1Char('S')));
    EXPECT_EQ(clicks, 1);
    button->setEnabled(true);
    button->SetGroupIndex(2);
    EXPECT_TRUE(button->DialogChar(QLatin1Char('S')));
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(button->Down()) << "an accelerator clicks but does not latch";
}

TEST_F(ButtonMouse, ToolTipIsTheShortHint)
{
    button->SetHint(QStringLiteral("Fett|Schrift fett"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Fett"));
    button->SetHint(QStringLiteral("Beenden"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Beenden"));
}

TEST_F(ButtonMouse, PressOpensTheDropDownMenuBelowAndEndsWithoutAClick)
{
    activate();
    QMenu menu;
    menu.addAction(QStringLiteral("Eins"));
    int shown = 0;
    QPoint openedAt;
    QObject::connect(&menu, &QMenu::aboutToShow, [&] {
        ++shown;
        QTimer::singleShot(50, &menu, [&] {
            openedAt = menu.pos();
            menu.close();
        });
    });
    button->SetDropDownMenu(&menu);
    press(button, QPoint(5, 5));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(openedAt, button->mapToGlobal(QPoint(-1, button->height())));
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(button->Pressing());
    EXPECT_EQ(button->PaintState(), stUp);
    release(button, QPoint(5, 5)); // the release that follows clicks nothing either
    EXPECT_EQ(clicks, 0);
}

TEST_F(ButtonMouse, LinkedActionIsTriggeredAndLendsItsStateAndIcon)
{
    QAction action;
    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
    QPixmap icon(16, 16);
    icon.fill(QColor(0, 0, 255));
    action.setIcon(QIcon(icon));
    action.setCheckable(true);
    button->SetGlyph(QImage());
    button->SetGroupIndex(3);
    button->SetAllowAllUp(true);
    button->SetAction(&action);
    ASSERT_EQ(button->Glyph().size(), QSize(16, 16));
    EXPECT_EQ(button->Glyph().pixel(5, 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(button->Glyph().pixel(0, 15) & 0xFFFFFF, 0xFF00FFu);
    action.setChecked(true);
    EXPECT_TRUE(button->Down());
    action.setChecked(false);
    EXPECT_FALSE(button->Down());
    button->Click();
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ButtonMouse, ClickHandsTheModalResultToItsDialog)
{
    QDialog dialog;
    auto *ok = new TGlyphSpeedButton(&dialog);
    ok->resize(20, 20);
    ok->SetModalResult(QDialog::Accepted);
    QTimer::singleShot(0, &dialog, [&] { click(ok, QPoint(5, 5)); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);

    // A dialog that is not running modally only gets the value.
    ok->SetModalResult(2);
    dialog.show();
    click(ok, QPoint(5, 5));
    EXPECT_EQ(dialog.result(), 2);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ButtonMouse, TransparentButtonShowsItsParentUnderTheFace)
{
    host.setAutoFillBackground(true);
    QPalette p = host.palette();
    p.setColor(QPalette::Window, QColor(10, 120, 30));
    host.setPalette(p);
    button->SetGlyph(QImage());
    button->SetFlat(true);
    EXPECT_EQ(rgbAt(button->RenderFace(), 1, 1), rgb(kFace));
    button->SetTransparent(true);
    EXPECT_EQ(rgbAt(button->RenderFace(), 1, 1), qRgb(10, 120, 30) & 0xFFFFFF);
}

} // namespace
