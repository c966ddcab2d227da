// The tray icon's mouse events and its add/modify/remove rules, against a fake
// notification area.

#include "guarded.h"
#include "exception.h"
#include "trayicon_fake.h"
#include "popupmenu.h"
#include "trayicon.h"

#include <QAction>
#include <gtest/gtest.h>

using platform::TrayMouseEvent;
using traytest::ShellCall;
using widgets::TPopupMenu;
using widgets::TTrayIcon;

namespace {

using E = TrayMouseEvent;

QString ButtonName(TTrayIcon::TMouseButton button)
{
    switch (button) {
    case TTrayIcon::mbLeft:
        return "L";
    case TTrayIcon::mbRight:
        return "R";
    case TTrayIcon::mbMiddle:
        return "M";
    }
    return "?";
}

QString ShiftName(TTrayIcon::TShiftState s)
{
    QString out;
    const std::pair<TTrayIcon::TShiftFlag, const char *> names[] = {
        {TTrayIcon::ssShift, "Shift"}, {TTrayIcon::ssAlt, "Alt"},       {TTrayIcon::ssCtrl, "Ctrl"},
        {TTrayIcon::ssLeft, "Left"},   {TTrayIcon::ssRight, "Right"},   {TTrayIcon::ssMiddle, "Middle"},
        {TTrayIcon::ssDouble, "Double"}};
    for (const auto &[flag, name] : names) {
        if (s & flag)
            out += (out.isEmpty() ? "" : "+") + QString(name);
    }
    return out;
}

// Records every event of a tray icon as one line.
struct EventLog {
    QStringList lines;
    QObject *lastSender = nullptr;
    QPoint lastPos;

    void Attach(TTrayIcon &tray)
    {
        auto mouse = [this](const char *what) {
            return [this, what](QObject *sender, TTrayIcon::TMouseButton b, TTrayIcon::TShiftState s, int x, int y) {
                lastSender = sender;
                lastPos = QPoint(x, y);
                lines << QString("%1 %2 %3").arg(what, ButtonName(b), ShiftName(s));
            };
        };
        tray.OnMouseDown = mouse("down");
        tray.OnMouseUp = mouse("up");
        tray.OnClick = mouse("click");
        tray.OnDblClick = [this](QObject *sender) {
            lastSender = sender;
            lines << "dblclick";
        };
        tray.OnMouseMove = [this](QObject *sender, TTrayIcon::TShiftState s, int x, int y) {
            lastSender = sender;
            lastPos = QPoint(x, y);
            lines << "move " + ShiftName(s);
        };
    }
};

// A menu that records its opening instead of running a modal loop.
class RecordingMenu : public TPopupMenu {
public:
    void Popup(const QPoint &pos) override
    {
        ++opened;
        openedAt = pos;
    }
    int opened = 0;
    QPoint openedAt;
};

class TrayIconTest : public ::testing::Test {
protected:
    TrayIconTest()
    {
        auto fake = std::make_unique<traytest::FakeNotifyIcon>(shell);
        backend = fake.get();
        tray = std::make_unique<TTrayIcon>(nullptr, std::move(fake));
        events.Attach(*tray);
    }

    void ShowWithIcon()
    {
        tray->SetHint("Kartolino anzeigen");
        tray->SetIcon(traytest::ColourIcon(Qt::blue));
        shell->Clear();
    }

    void Send(std::initializer_list<E> sequence)
    {
        for (E e : sequence)
            backend->Send(e);
    }

    std::shared_ptr<traytest::ShellLog> shell = std::make_shared<traytest::ShellLog>();
    traytest::FakeNotifyIcon *backend = nullptr;
    std::unique_ptr<TTrayIcon> tray;
    EventLog events;
};

// ---- mouse events ----

TEST_F(TrayIconTest, LeftClickGivesDownClickUpWithCursorAndSender)
{
    ShowWithIcon();
    Send({E::LeftDown, E::LeftUp});
    EXPECT_EQ(events.lines, QStringList({"down L Left", "click L Left", "up L Left"}));
    EXPECT_EQ(events.lastSender, tray.get());
    EXPECT_EQ(events.lastPos, QPoint(640, 1010));
}

TEST_F(TrayIconTest, KeyboardStateIsAddedToTheMouseFlag)
{
    ShowWithIcon();
    backend->keys = Qt::ShiftModifier | Qt::ControlModifier;
    Send({E::LeftDown});
    backend->keys = Qt::AltModifier;
    Send({E::LeftUp});
    EXPECT_EQ(events.lines, QStringList({"down L Shift+Ctrl+Left", "click L Alt+Left", "up L Alt+Left"}));
}

TEST_F(TrayIconTest, LeftDoubleClickGivesExactlyOneClickFromTheFirstRelease)
{
    ShowWithIcon();
    Send({E::LeftDown, E::LeftUp, E::LeftDblClick, E::LeftUp});
    EXPECT_EQ(events.lines, QStringList({"down L Left", "click L Left", "up L Left", "dblclick", "down L Double",
                                         "up L Left"}));
}

TEST_F(TrayIconTest, RightClickWithoutMenuRaisesClickWithRightButton)
{
    ShowWithIcon();
    Send({E::RightDown, E::RightUp});
    EXPECT_EQ(events.lines, QStringList({"down R Right", "click R Right", "up R Right"}));
}

TEST_F(TrayIconTest, RightClickWithAutoPopupMenuOpensItAtTheCursorInsteadOfClick)
{
    RecordingMenu menu;
    menu.addAction("Eintrag");
    tray->SetPopupMenu(&menu);
    ShowWithIcon();
    Send({E::RightDown, E::RightUp});
    EXPECT_EQ(menu.opened, 1);
    EXPECT_EQ(menu.openedAt, QPoint(640, 1010));
    EXPECT_EQ(menu.PopupComponent(), tray.get());
    EXPECT_EQ(events.lines, QStringList({"down R Right", "up R Right"}));
}

TEST_F(TrayIconTest, MenuIsNotOpenedWithoutAutoPopupOrWhileInactiveOrByTheLeftButton)
{
    RecordingMenu menu;
    menu.SetAutoPopup(false);
    tray->SetPopupMenu(&menu);
    ShowWithIcon();
    Send({E::RightDown, E::RightUp});
    EXPECT_EQ(menu.opened, 0);
    EXPECT_TRUE(events.lines.contains("click R Right"));

    menu.SetAutoPopup(true);
    Send({E::LeftDown, E::LeftUp});
    EXPECT_EQ(menu.opened, 0);

    tray->SetActive(false);
    events.lines.clear();
    Send({E::RightDown, E::RightUp});
    EXPECT_EQ(menu.opened, 0);
    EXPECT_EQ(events.lines, QStringList({"down R Right", "click R Right", "up R Right"}));
}

TEST_F(TrayIconTest, DestroyedMenuIsForgotten)
{
    auto *menu = new RecordingMenu;
    tray->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(tray->PopupMenu(), nullptr);
    ShowWithIcon();
    Send({E::RightDown, E::RightUp});
    EXPECT_TRUE(events.lines.contains("click R Right"));
}

TEST_F(TrayIconTest, DoubleClickTriggersTheEnabledDefaultMenuItemInsteadOfOnDblClick)
{
    RecordingMenu menu;
    menu.addAction("Erster");
    QAction *preferred = menu.addAction("Anzeigen");
    menu.setDefaultAction(preferred);
    int triggered = 0;
    QObject::connect(preferred, &QAction::triggered, [&] { ++triggered; });
    tray->SetPopupMenu(&menu);
    ShowWithIcon();

    Send({E::LeftDown, E::LeftUp, E::LeftDblClick, E::LeftUp});
    EXPECT_EQ(triggered, 1);
    EXPECT_FALSE(events.lines.contains("dblclick"));
    EXPECT_TRUE(events.lines.contains("down L Double"));

    preferred->setEnabled(false);
    events.lines.clear();
    Send({E::LeftDown, E::LeftUp, E::LeftDblClick, E::LeftUp});
    EXPECT_EQ(triggered, 1);
    EXPECT_TRUE(events.lines.contains("dblclick"));
}

TEST_F(TrayIconTest, MiddleButtonNeverClicks)
{
    ShowWithIcon();
    Send({E::MiddleDown, E::MiddleUp, E::MiddleDblClick, E::MiddleUp});
    EXPECT_EQ(events.lines, QStringList({"down M Middle", "up M Middle", "down M Double", "up M Middle"}));
}

TEST_F(TrayIconTest, RightDoubleClickAndMovesAreReported)
{
    ShowWithIcon();
    backend->keys = Qt::ShiftModifier;
    Send({E::Move, E::RightDblClick});
    EXPECT_EQ(events.lines, QStringList({"move Shift", "down R Shift+Double"}));
}

TEST_F(TrayIconTest, ReleaseWithoutPressRaisesNoClick)
{
    ShowWithIcon();
    Send({E::LeftUp, E::RightUp});
    EXPECT_EQ(events.lines, QStringList({"up L Left", "up R Right"}));

    // A hide and show between press and release forgets the press.
    events.lines.clear();
    Send({E::LeftDown});
    tray->Hide();
    tray->SetActive(true);
    Send({E::LeftUp});
    EXPECT_EQ(events.lines, QStringList({"down L Left", "up L Left"}));
}

TEST_F(TrayIconTest, DisabledIgnoresEveryMouseEventAndKeepsTheIcon)
{
    ShowWithIcon();
    tray->SetEnabled(false);
    Send({E::Move, E::LeftDown, E::LeftUp, E::LeftDblClick, E::RightDown, E::RightUp, E::MiddleDown, E::MiddleUp});
    EXPECT_TRUE(events.lines.isEmpty());
    EXPECT_TRUE(tray->Added());
    EXPECT_TRUE(shell->calls.empty());

    // A release swallowed while disabled leaves the press pending.
    tray->SetEnabled(true);
    Send({E::LeftDown});
    tray->SetEnabled(false);
    Send({E::LeftUp});
    tray->SetEnabled(true);
    Send({E::LeftUp});
    EXPECT_EQ(events.lines, QStringList({"down L Left", "click L Left", "up L Left"}));
}

TEST_F(TrayIconTest, FailingHandlerGoesToTheErrorHandlerAndTheIconKeepsWorking)
{
    QStringList shown;
    platform::SetErrorPresenter([&](const QString &message) { shown << message; });
    ShowWithIcon();
    tray->OnClick = [](QObject *, TTrayIcon::TMouseButton, TTrayIcon::TShiftState, int, int) {
        throw platform::Exception("Karte kann nicht geschrieben werden");
    };
    Send({E::LeftDown, E::LeftUp});
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().startsWith("Karte kann nicht geschrieben werden"));
    // The message counts as handled: the failing release raises no MouseUp.
    EXPECT_EQ(events.lines, QStringList({"down L Left"}));

    events.lines.clear();
    events.Attach(*tray);
    Send({E::LeftDown, E::LeftUp});
    EXPECT_EQ(events.lines, QStringList({"down L Left", "click L Left", "up L Left"}));
    EXPECT_EQ(shown.size(), 1);
    EXPECT_TRUE(tray->Added());
    platform::SetErrorPresenter(nullptr);
}

TEST_F(TrayIconTest, HandlerMayDestroyTheComponent)
{
    ShowWithIcon();
    tray->OnClick = [this](QObject *, TTrayIcon::TMouseButton, TTrayIcon::TShiftState, int, int) {
        events.lines << "destroying";
        tray.reset();
    };
    Send({E::LeftDown, E::LeftUp});
    EXPECT_EQ(tray, nullptr);
    EXPECT_EQ(events.lines, QStringList({"down L Left", "destroying"}));
    EXPECT_FALSE(shell->shown);
}

// ---- tip ----

TEST_F(TrayIconTest, TipIsTheShortPartOfTheHintCutTo63Characters)
{
    ShowWithIcon();
    const QString seventy = QString(70, QChar('x'));
    tray->SetHint(seventy);
    EXPECT_EQ(tray->Tip(), QString(63, QChar('x')));
    ASSERT_FALSE(shell->calls.empty());
    EXPECT_EQ(shell->calls.back().kind, ShellCall::Modify);
    EXPECT_EQ(shell->calls.back().tip.size(), 63);

    tray->SetHint("Kartolino anzeigen|Holt das Fenster nach vorn");
    EXPECT_EQ(shell->calls.back().tip, "Kartolino anzeigen");

    tray->SetHint(QString(62, QChar('a')) + QString::fromUtf8("\xF0\x9F\x93\x9D") + "b");
    EXPECT_EQ(tray->Tip(), QString(62, QChar('a'))); // no half character at the end
}

TEST_F(TrayIconTest, EmptyTipAddIsFollowedByModifyAndNonEmptyIsNot)
{
    tray->SetIcon(traytest::ColourIcon(Qt::red));
    ASSERT_EQ(shell->Count(ShellCall::Add), 1);
    ASSERT_GE(shell->calls.size(), 2u);
    EXPECT_EQ(shell->calls.back().kind, ShellCall::Modify);
    EXPECT_TRUE(shell->calls.back().tip.isEmpty());

    shell->Clear();
    tray->SetActive(false);
    tray->SetHint("Kartolino anzeigen");
    tray->SetActive(true);
    EXPECT_EQ(shell->Count(ShellCall::Add), 1);
    EXPECT_EQ(shell->Count(ShellCall::Modify), 0);
    EXPECT_EQ(shell->calls.back().tip, "Kartolino anzeigen");
}

// ---- showing and removing ----

TEST_F(TrayIconTest, ConstructionAddsNothingAndTheFirstIconAddsIt)
{
    EXPECT_TRUE(tray->Active());
    EXPECT_TRUE(tray->Enabled());
    EXPECT_EQ(tray->Interval(), 150);
    EXPECT_EQ(tray->FrameIndex(), -1);
    EXPECT_EQ(shell->Count(ShellCall::Add), 0);

    tray->SetHint("Kartolino anzeigen");
    EXPECT_EQ(shell->Count(ShellCall::Add), 0);
    EXPECT_FALSE(tray->Added());

    tray->SetIcon(traytest::ColourIcon(Qt::blue));
    EXPECT_EQ(shell->Count(ShellCall::Add), 1);
    EXPECT_TRUE(tray->Added());
    EXPECT_EQ(traytest::IconColour(tray->NotifyData().icon), QColor(Qt::blue));
}

TEST_F(TrayIconTest, ActiveFalseRemovesAndTrueAddsAgain)
{
    ShowWithIcon();
    tray->SetActive(false);
    EXPECT_FALSE(shell->shown);
    EXPECT_FALSE(tray->Added());
    EXPECT_EQ(shell->Count(ShellCall::Delete), 1);

    tray->SetHint("anders");
    EXPECT_EQ(shell->Count(ShellCall::Add), 0);

    tray->SetActive(true);
    EXPECT_TRUE(shell->shown);
    EXPECT_EQ(shell->calls.back().tip, "anders");

    tray->Hide();
    EXPECT_FALSE(tray->Active());
    EXPECT_FALSE(shell->shown);
}

TEST_F(TrayIconTest, EmptyIconRemovesAndIsNeverHandedOver)
{
    ShowWithIcon();
    tray->SetIcon(QIcon());
    EXPECT_FALSE(tray->Added());
    EXPECT_FALSE(shell->shown);
    tray->SetHint("noch einmal");
    tray->SetActive(false);
    tray->SetActive(true);
    EXPECT_EQ(shell->Count(ShellCall::Add), 0);
    for (const ShellCall &call : shell->calls)
        EXPECT_TRUE(call.kind == ShellCall::Delete || !call.icon.isNull());

    tray->SetIcon(traytest::ColourIcon(Qt::green));
    EXPECT_TRUE(tray->Added());
    EXPECT_EQ(traytest::IconColour(shell->calls.back().icon), QColor(Qt::green));
}

TEST_F(TrayIconTest, ChangedIconIsModifiedInPlace)
{
    ShowWithIcon();
    tray->SetIcon(traytest::ColourIcon(Qt::yellow));
    ASSERT_EQ(shell->calls.size(), 1u);
    EXPECT_EQ(shell->calls[0].kind, ShellCall::Modify);
    EXPECT_EQ(traytest::IconColour(shell->calls[0].icon), QColor(Qt::yellow));
}

TEST_F(TrayIconTest, RefusedAddIsRetriedAtTheNextChange)
{
    shell->refuseAdd = true;
    tray->SetIcon(traytest::ColourIcon(Qt::blue));
    EXPECT_EQ(shell->Count(ShellCall::Add), 1);
    EXPECT_FALSE(tray->Added());
    // No modify follows a refused add, whatever the tip.
    EXPECT_EQ(shell->Count(ShellCall::Modify), 0);

    shell->refuseAdd = false;
    tray->SetHint("Kartolino anzeigen");
    EXPECT_EQ(shell->Count(ShellCall::Add), 2);
    EXPECT_TRUE(tray->Added());
    EXPECT_TRUE(shell->shown);
}

TEST_F(TrayIconTest, DestructionRemovesTheIcon)
{
    ShowWithIcon();
    tray.reset();
    EXPECT_FALSE(shell->shown);
    EXPECT_EQ(shell->calls.back().kind, ShellCall::Delete);
}

} // namespace
