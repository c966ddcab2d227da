// The flat button's mouse, keyboard, mnemonic, focus, group and hover
// behaviour and the modal result it hands to its dialog.

#include "guarded.h"
#include "exception.h"
#include "flatbuttonunit.h"
#include "hoverwatcher.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QShortcutEvent>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using widgets::TFlatButton;
using widgets::THoverWatcher;

namespace {

void mouse(TFlatButton &b, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                  : type == QEvent::MouseMove        ? Qt::MouseButtons(Qt::LeftButton)
                                                                     : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(pos), b.mapToGlobal(QPointF(pos)),
                  type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&b, &e);
}

void clickAt(TFlatButton &b, QPoint release, QPoint pressAt = {5, 5})
{
    mouse(b, QEvent::MouseButtonPress, pressAt);
    mouse(b, QEvent::MouseMove, release);
    mouse(b, QEvent::MouseButtonRelease, release);
}

bool key(TFlatButton &b, QEvent::Type type, int k, bool autoRepeat = false)
{
    QKeyEvent e(type, k, Qt::NoModifier, k == Qt::Key_Space ? QStringLiteral(" ") : QString(),
                autoRepeat);
    QCoreApplication::sendEvent(&b, &e);
    return e.isAccepted();
}

// Decides what the buttons see under the pointer; restored after each test.
class FlatButtonInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        THoverWatcher::SetPointerProbe({[] { return QPoint(-1000, -1000); },
                                      [this](const QPoint &) { return under; },
                                      [this] { return active; }});
    }
    void TearDown() override { THoverWatcher::SetPointerProbe({}); }

    QWidget *under = nullptr;
    bool active = true;
};

} // namespace

TEST_F(FlatButtonInput, ReleaseOutsideGivesNoClickAndReturnsTheFaceToUp)
{
    TFlatButton b;
    int clicks = 0;
    b.OnClick = [&](QObject *) { ++clicks; };

    mouse(b, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(b.PaintState(), widgets::stDown);
    EXPECT_TRUE(b.Pressing());
    mouse(b, QEvent::MouseMove, {40, 5});
    EXPECT_EQ(b.PaintState(), widgets::stUp);
    mouse(b, QEvent::MouseMove, {5, 5});
    EXPECT_EQ(b.PaintState(), widgets::stDown);
    mouse(b, QEvent::MouseMove, {5, -1});
    mouse(b, QEvent::MouseButtonRelease, {5, -1});
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(b.PaintState(), widgets::stUp);
    EXPECT_FALSE(b.Pressing());

    // Right edge and two rows below are outside too.
    clickAt(b, {25, 5});
    clickAt(b, {5, 26});
    EXPECT_EQ(clicks, 0);
}

TEST_F(FlatButtonInput, RowJustBelowTheBottomEdgeStillClicks)
{
    TFlatButton b;
    int clicks = 0;
    b.OnClick = [&](QObject *) { ++clicks; };
    clickAt(b, {5, 25});
    EXPECT_EQ(clicks, 1);
    clickAt(b, {24, 0});
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(b.PaintState(), widgets::stUp);
}

TEST_F(FlatButtonInput, GroupedButtonReleasedOutsideDoesNotStayPressed)
{
    QWidget parent;
    TFlatButton b(&parent);
    b.SetGroupIndex(1);
    mouse(b, QEvent::MouseButtonPress, {5, 5});
    mouse(b, QEvent::MouseButtonRelease, {60, 5}); // no move in between
    EXPECT_EQ(b.PaintState(), widgets::stUp);
    EXPECT_FALSE(b.Down());
}

TEST_F(FlatButtonInput, MouseEventsRunBeforeTheButtonsOwnHandling)
{
    TFlatButton b;
    std::vector<std::string> log;
    b.OnMouseDown = [&](QObject *s, Qt::MouseButton btn, Qt::KeyboardModifiers, QPoint p) {
        EXPECT_EQ(s, &b);
        log.push_back("down " + std::to_string(int(btn)) + " " + std::to_string(p.x()) + "," +
                      std::to_string(p.y()) + (b.Pressing() ? " pressing" : ""));
    };
    b.OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, QPoint) {
        log.push_back(std::string("move") + (b.PaintState() == widgets::stDown ? " down" : " up"));
    };
    b.OnMouseUp = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, QPoint) {
        log.push_back(std::string("up") + (b.Pressing() ? " pressing" : ""));
    };
    b.OnClick = [&](QObject *) { log.push_back("click"); };

    mouse(b, QEvent::MouseButtonPress, {3, 4}, Qt::RightButton);
    EXPECT_FALSE(b.Pressing()) << "only the left button presses";
    EXPECT_EQ(b.PaintState(), widgets::stUp);
    mouse(b, QEvent::MouseButtonPress, {3, 4});
    mouse(b, QEvent::MouseMove, {40, 4});
    mouse(b, QEvent::MouseMove, {3, 4});
    mouse(b, QEvent::MouseButtonRelease, {3, 4});
    const std::vector<std::string> expected = {"down 2 3,4", "down 1 3,4", "move down", "move up",
                                               "up pressing", "click"};
    EXPECT_EQ(log, expected);
}

TEST_F(FlatButtonInput, DisabledButtonIgnoresPresses)
{
    TFlatButton b;
    int clicks = 0;
    b.OnClick = [&](QObject *) { ++clicks; };
    b.SetEnabled(false);
    clickAt(b, {5, 5});
    key(b, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b.Pressing());
    EXPECT_EQ(b.PaintState(), widgets::stDisabled);
}

TEST_F(FlatButtonInput, SpacePressAndReleaseClicksOnceWhateverTheRepeat)
{
    TFlatButton b;
    int clicks = 0;
    b.OnClick = [&](QObject *) { ++clicks; };
    EXPECT_TRUE(key(b, QEvent::KeyPress, Qt::Key_Space));
    EXPECT_EQ(b.PaintState(), widgets::stDown);
    for (int i = 0; i < 3; ++i) { // the held key repeats as release/press pairs
        key(b, QEvent::KeyRelease, Qt::Key_Space, true);
        key(b, QEvent::KeyPress, Qt::Key_Space, true);
        EXPECT_EQ(b.PaintState(), widgets::stDown);
    }
    EXPECT_EQ(clicks, 0);
    key(b, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b.PaintState(), widgets::stUp);
}

TEST_F(FlatButtonInput, EnterAndEscapeDoNothingEvenForTheDefaultButton)
{
    TFlatButton b;
    b.SetDefault(true);
    int clicks = 0;
    b.OnClick = [&](QObject *) { ++clicks; };
    for (int k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_A}) {
        EXPECT_FALSE(key(b, QEvent::KeyPress, k)) << "left to the window";
        key(b, QEvent::KeyRelease, k);
    }
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(b.PaintState(), widgets::stUp);
}

namespace {

struct Group {
    QWidget parent;
    TFlatButton *a = new TFlatButton(&parent);
    TFlatButton *b = new TFlatButton(&parent);
    TFlatButton *other = new TFlatButton(&parent); // another group
    // Not buttons: group handling must pass them by.
    QLabel *label = new QLabel(QStringLiteral("Name"), &parent);
    QLineEdit *edit = new QLineEdit(&parent);
    int clicksA = 0;
    Group()
    {
        a->SetGroupIndex(1);
        b->SetGroupIndex(1);
        other->SetGroupIndex(2);
        a->OnClick = [this](QObject *) { ++clicksA; };
    }
};

} // namespace

TEST_F(FlatButtonInput, GroupWithoutAllowAllUpKeepsOneButtonLatched)
{
    Group g;
    EXPECT_EQ(g.parent.findChildren<TFlatButton *>().size(), 3);
    g.other->SetDown(true);
    clickAt(*g.a, {5, 5});
    EXPECT_TRUE(g.a->Down());
    EXPECT_EQ(g.a->PaintState(), widgets::stExclusive);
    EXPECT_EQ(g.clicksA, 1);

    clickAt(*g.a, {5, 5}); // cannot be released directly, but still clicks
    EXPECT_TRUE(g.a->Down());
    EXPECT_EQ(g.a->PaintState(), widgets::stExclusive);
    EXPECT_EQ(g.clicksA, 2);
    g.a->SetDown(false);
    EXPECT_TRUE(g.a->Down());

    clickAt(*g.b, {5, 5});
    EXPECT_TRUE(g.b->Down());
    EXPECT_FALSE(g.a->Down());
    EXPECT_EQ(g.a->PaintState(), widgets::stUp);
    EXPECT_TRUE(g.other->Down()) << "another group is not touched";
    EXPECT_EQ(g.label->text(), QStringLiteral("Name"));
    EXPECT_TRUE(g.edit->isEnabled());

    // The space bar latches too and cannot release it.
    key(*g.a, QEvent::KeyPress, Qt::Key_Space);
    key(*g.a, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_TRUE(g.a->Down());
    EXPECT_FALSE(g.b->Down());
    EXPECT_EQ(g.clicksA, 3);
}

TEST_F(FlatButtonInput, GroupWithAllowAllUpTogglesAndSharesTheSetting)
{
    Group g;
    g.a->SetAllowAllUp(true);
    EXPECT_TRUE(g.b->AllowAllUp());
    EXPECT_FALSE(g.other->AllowAllUp());

    clickAt(*g.b, {5, 5});
    EXPECT_TRUE(g.b->Down());
    clickAt(*g.a, {5, 5});
    EXPECT_TRUE(g.a->Down());
    EXPECT_FALSE(g.b->Down());
    clickAt(*g.a, {5, 5});
    EXPECT_FALSE(g.a->Down());
    EXPECT_EQ(g.a->PaintState(), widgets::stUp);
    EXPECT_EQ(g.clicksA, 2);

    // Joining the group later takes over the group's setting.
    g.b->SetAllowAllUp(false);
    EXPECT_FALSE(g.a->AllowAllUp());
}

TEST_F(FlatButtonInput, DownNeedsAGroup)
{
    TFlatButton b;
    b.SetDown(true);
    EXPECT_FALSE(b.Down());
    EXPECT_EQ(b.PaintState(), widgets::stUp);
}

TEST_F(FlatButtonInput, DoubleClickRaisesOnDblClickOnlyWhileDown)
{
    QWidget parent;
    TFlatButton b(&parent);
    int dbl = 0;
    b.OnDblClick = [&](QObject *) { ++dbl; };
    mouse(b, QEvent::MouseButtonDblClick, {5, 5});
    mouse(b, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_EQ(dbl, 0);
    b.SetGroupIndex(3);
    b.SetDown(true);
    mouse(b, QEvent::MouseButtonDblClick, {5, 5});
    EXPECT_EQ(dbl, 1);
}

TEST_F(FlatButtonInput, ClickHandsModalResultToTheDialogAndEndsItsLoop)
{
    QDialog dialog;
    QWidget panel(&dialog); // the dialog holds the button through a panel
    TFlatButton b(&panel);
    b.SetModalResult(1);
    int seen = -1;
    b.OnClick = [&](QObject *) { seen = dialog.result(); };
    QTimer::singleShot(0, &b, [&] { clickAt(b, {5, 5}); });
    EXPECT_EQ(dialog.exec(), 1);
    EXPECT_EQ(seen, 1) << "the result is set before OnClick runs";
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(FlatButtonInput, ModalResultZeroIsWrittenButClosesNothing)
{
    QDialog dialog;
    TFlatButton b(&dialog);
    QTimer::singleShot(0, &b, [&] {
        dialog.setResult(5);
        clickAt(b, {5, 5});
        EXPECT_EQ(dialog.result(), 0);
        EXPECT_TRUE(dialog.isVisible());
        dialog.done(7);
    });
    EXPECT_EQ(dialog.exec(), 7);

    // A dialog that is not running modally only gets the value.
    b.SetModalResult(2);
    dialog.show();
    clickAt(b, {5, 5});
    EXPECT_EQ(dialog.result(), 2);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(FlatButtonInput, ExceptionFromOnClickReachesTheErrorHandler)
{
    QString shown;
    platform::SetErrorPresenter([&](const QString &m) { shown = m; });
    TFlatButton b;
    b.OnClick = [](QObject *) { throw platform::Exception("Kaputt"); };
    clickAt(b, {5, 5});
    platform::SetErrorPresenter({});
    EXPECT_TRUE(shown.contains("Kaputt")) << shown.toStdString();
    EXPECT_EQ(b.PaintState(), widgets::stUp);
}

TEST_F(FlatButtonInput, MnemonicClicksAndLatches)
{
    QDialog window;
    window.resize(200, 100);
    TFlatButton b(&window);
    b.SetCaption("&Los");
    int clicks = 0;
    b.OnClick = [&](QObject *) { ++clicks; };
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QTest::keyClick(&window, Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(&window, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);

    b.SetGroupIndex(4);
    QTest::keyClick(&window, Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(b.Down());

    // A new caption moves the mnemonic.
    b.SetCaption("&Weiter");
    QTest::keyClick(&window, Qt::Key_L, Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_W, Qt::AltModifier);
    EXPECT_EQ(clicks, 3);
}

TEST_F(FlatButtonInput, FocusShowsTheHoverLookAndLosingItClearsIt)
{
    TFlatButton b;
    QFocusEvent in(QEvent::FocusIn);
    QCoreApplication::sendEvent(&b, &in);
    EXPECT_TRUE(b.Hot());
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(&b, &out);
    EXPECT_FALSE(b.Hot());
}

// --- hover --------------------------------------------------------------------

TEST_F(FlatButtonInput, OneTimerLivesFromTheFirstToTheLastButton)
{
    ASSERT_EQ(THoverWatcher::UserCount(), 0);
    EXPECT_EQ(THoverWatcher::Timer(), nullptr);
    auto first = std::make_unique<TFlatButton>();
    QTimer *timer = THoverWatcher::Timer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 100);
    EXPECT_FALSE(timer->isActive());
    auto second = std::make_unique<TFlatButton>();
    EXPECT_EQ(THoverWatcher::Timer(), timer);
    EXPECT_EQ(THoverWatcher::UserCount(), 2);
    first.reset();
    EXPECT_EQ(THoverWatcher::Timer(), timer);
    second.reset();
    EXPECT_EQ(THoverWatcher::Timer(), nullptr);
}

TEST_F(FlatButtonInput, HoverMovesBetweenButtonsAndTheTimerNoticesTheLeave)
{
    TFlatButton a, b;
    under = &a;
    mouse(a, QEvent::MouseMove, {5, 5});
    EXPECT_EQ(THoverWatcher::Watched(), &a);
    EXPECT_TRUE(a.Hot());
    EXPECT_TRUE(THoverWatcher::Timer()->isActive());

    under = &b;
    mouse(b, QEvent::MouseMove, {5, 5});
    EXPECT_FALSE(a.Hot());
    EXPECT_TRUE(b.Hot());
    EXPECT_EQ(THoverWatcher::Watched(), &b);

    under = nullptr; // the pointer went somewhere without a move reaching b
    EXPECT_TRUE(QTest::qWaitFor([&] { return !b.Hot(); }));
    EXPECT_EQ(THoverWatcher::Watched(), nullptr);
    EXPECT_FALSE(THoverWatcher::Timer()->isActive());
}

TEST_F(FlatButtonInput, NoHoverWithoutAnActiveWindowOrOverAnotherControl)
{
    TFlatButton a;
    QWidget elsewhere;
    under = &elsewhere;
    mouse(a, QEvent::MouseMove, {5, 5});
    EXPECT_FALSE(a.Hot());
    under = &a;
    active = false;
    mouse(a, QEvent::MouseMove, {5, 5});
    EXPECT_FALSE(a.Hot());
    EXPECT_EQ(THoverWatcher::Watched(), nullptr);
}

TEST_F(FlatButtonInput, DestroyingTheHoveredButtonStopsWatching)
{
    auto a = std::make_unique<TFlatButton>();
    TFlatButton keep;
    under = a.get();
    mouse(*a, QEvent::MouseMove, {5, 5});
    ASSERT_EQ(THoverWatcher::Watched(), a.get());
    a.reset();
    EXPECT_EQ(THoverWatcher::Watched(), nullptr);
    EXPECT_FALSE(THoverWatcher::Timer()->isActive());
    // A tick all the same (one already on its way) must not reach the destroyed button.
    ASSERT_TRUE(QMetaObject::invokeMethod(THoverWatcher::Timer(), "timeout"));
    EXPECT_EQ(THoverWatcher::Watched(), nullptr);
}

TEST_F(FlatButtonInput, ReleaseRechecksTheHoverFromThePointersRealPlace)
{
    TFlatButton b;
    under = &b;
    mouse(b, QEvent::MouseButtonPress, {5, 5});
    mouse(b, QEvent::MouseMove, {5, 5});
    mouse(b, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_TRUE(b.Hot()) << "still under the pointer after the click";

    under = nullptr;
    mouse(b, QEvent::MouseButtonPress, {5, 5});
    mouse(b, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_FALSE(b.Hot());
    EXPECT_EQ(THoverWatcher::Watched(), nullptr);
}

TEST_F(FlatButtonInput, DisablingDropsTheHoverAndStopsWatching)
{
    TFlatButton b;
    under = &b;
    mouse(b, QEvent::MouseMove, {5, 5});
    ASSERT_EQ(THoverWatcher::Watched(), &b);
    b.SetEnabled(false);
    EXPECT_FALSE(b.Hot());
    EXPECT_EQ(THoverWatcher::Watched(), nullptr);
    b.SetEnabled(true);
    EXPECT_TRUE(b.Hot()) << "re-enabled under the pointer";
}

TEST_F(FlatButtonInput, EnterAndLeaveAreReportedWithoutChangingTheHoverLook)
{
    TFlatButton b;
    std::vector<std::string> log;
    b.OnMouseEnter = [&](QObject *s) { log.push_back(s == &b ? "enter" : "?"); };
    b.OnMouseLeave = [&](QObject *s) { log.push_back(s == &b ? "leave" : "?"); };
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(&b, &enter);
    EXPECT_FALSE(b.Hot());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&b, &leave);
    EXPECT_EQ(log, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(FlatButtonInput, FontFollowsTheParentWhileParentFontIsOn)
{
    QWidget parent;
    TFlatButton b(&parent);
    QFont big = parent.font();
    big.setPixelSize(31);
    parent.setFont(big);
    EXPECT_TRUE(b.ParentFont());
    EXPECT_EQ(b.Font().pixelSize(), 31);

    QFont own = b.Font();
    own.setPixelSize(9);
    b.SetFont(own);
    EXPECT_FALSE(b.ParentFont());
    big.setPixelSize(33);
    parent.setFont(big);
    EXPECT_EQ(b.Font().pixelSize(), 9);

    b.SetParentFont(true);
    EXPECT_EQ(b.Font().pixelSize(), 33);
    b.SetParentFont(false);
    big.setPixelSize(35);
    parent.setFont(big);
    EXPECT_EQ(b.Font().pixelSize(), 33) << "keeps the font it had";
}

TEST(FlatButtonHover, RealPointerHoversAndTheTimerSeesItLeave)
{
    QWidget window;
    window.setGeometry(100, 100, 200, 100);
    TFlatButton b(&window);
    b.move(10, 10);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QCursor::setPos(b.mapToGlobal(QPoint(5, 5)));
    QTest::mouseMove(&b, QPoint(5, 5));
    EXPECT_TRUE(b.Hot());
    EXPECT_EQ(THoverWatcher::Watched(), &b);

    QCursor::setPos(window.mapToGlobal(QPoint(150, 80))); // no move reaches the button
    EXPECT_TRUE(QTest::qWaitFor([&] { return !b.Hot(); }));
    EXPECT_EQ(THoverWatcher::Watched(), nullptr);
}
