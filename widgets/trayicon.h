#pragma once
// TTrayIcon: a non-visual component that keeps one icon with a tip in the
// desktop's notification area and turns the mouse events reported for it into
// component events. It can cycle through the frames of an icon list on its own
// thread and open a pop-up menu on a right click.
//
// The icon is in the notification area while Active is true and the current
// icon is not empty. A refused add leaves it absent; the next change of Icon,
// Icons, Hint or Active tries again. An empty icon is never handed to the
// desktop: the icon is removed instead.
//
// Events are raised on the GUI thread. A failing handler is shown by the
// application's error handling and the component goes on working. A handler
// may destroy the component (the rest of that mouse event is then dropped);
// the handler goes with it, so it must not use its captures afterwards.

#include "notifyicon.h"
#include "iconlist.h"
#include "popupmenu.h"
#include "timerthread.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

namespace widgets {

class TTrayIcon : public QObject {
    Q_OBJECT
public:
    enum TMouseButton { mbLeft, mbRight, mbMiddle };
    // The keyboard's state plus one mouse flag per event.
    enum TShiftFlag {
        ssShift = 0x01,
        ssAlt = 0x02,
        ssCtrl = 0x04,
        ssLeft = 0x08,
        ssRight = 0x10,
        ssMiddle = 0x20,
        ssDouble = 0x40,
    };
    Q_DECLARE_FLAGS(TShiftState, TShiftFlag)

    // X and Y are the cursor's screen position when the event is handled.
    using TMouseEvent = std::function<void(QObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
    using TMouseMoveEvent = std::function<void(QObject *Sender, TShiftState Shift, int X, int Y)>;
    using TNotifyEvent = std::function<void(QObject *Sender)>;

    // The longest tip handed to the desktop, in characters.
    static constexpr int kMaxTipLength = 63;

    // Uses the desktop's notification area (platform::CreateNotifyIcon).
    explicit TTrayIcon(QObject *parent = nullptr);
    // Uses the given backend instead; tests hand in a fake one.
    TTrayIcon(QObject *parent, std::unique_ptr<platform::NotifyIconBackend> backend);
    ~TTrayIcon() override;

    // The icon should be in the notification area. Default true.
    bool Active() const { return m_active; }
    void SetActive(bool value);
    // Mouse events become component events; when false they are ignored
    // and the icon stays. Default true.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    // The tool tip; only its short part (before the first "|") is shown, cut
    // to kMaxTipLength characters. Default empty.
    const QString &Hint() const { return m_hint; }
    void SetHint(const QString &value);
    // The icon shown when not animating. Default empty.
    const QIcon &Icon() const { return m_icon; }
    void SetIcon(const QIcon &value);
    // The animation frames; changes to the list update the icon. Default empty.
    TIconList &Icons() { return m_icons; }
    const TIconList &Icons() const { return m_icons; }
    void SetIcons(const TIconList &value);
    // Cycle through Icons; stays false while Icons is empty. Default false.
    bool Animated() const { return m_animating; }
    void SetAnimated(bool value);
    // Milliseconds per frame, from the next frame on. Default 150.
    quint16 Interval() const { return m_interval; }
    void SetInterval(quint16 value);
    // The menu for the right button; forgotten when it is destroyed.
    // Default none.
    TPopupMenu *PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(TPopupMenu *value);
    // Shows the icon in a design environment. This program has none, so the
    // value is only kept. Default false.
    bool ShowDesign() const { return m_showDesign; }
    void SetShowDesign(bool value) { m_showDesign = value; }

    // Removes the icon (Active false).
    void Hide();

    // The last add to the notification area succeeded and nothing removed it.
    bool Added() const { return m_added; }
    // The short part of Hint, cut to kMaxTipLength characters.
    QString Tip() const;
    // While animating with frames, the frame at the (clamped) frame index;
    // otherwise Icon.
    QIcon CurrentIcon() const;
    // -1 until animation first starts or stops, then the current frame.
    int FrameIndex() const { return m_frameIndex; }
    // What was last handed to the desktop.
    const platform::NotifyIconData &NotifyData() const { return m_notifyData; }

    TMouseEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    // Fills the data for the desktop: the current icon and the tip.
    virtual void FillNotifyData();
    // The default item of the pop-up menu, when there is one, else OnDblClick.
    virtual void RaiseDblClick();
    // For the right button the pop-up menu first; OnClick when no menu opened.
    virtual void RaiseClick(TMouseButton button, TShiftState shift);
    virtual void RaiseMouseDown(TMouseButton button, TShiftState shift);
    virtual void RaiseMouseMove(TShiftState shift);
    virtual void RaiseMouseUp(TMouseButton button, TShiftState shift);

private:
    void HandleMouseEvent(platform::TrayMouseEvent event);
    void DispatchMouseEvent(platform::TrayMouseEvent event);
    void Press(TMouseButton button, TShiftState shift, bool *clickFlag);
    void Release(TMouseButton button, TShiftState shift, bool *clickFlag);
    TShiftState KeyboardShift() const;
    bool PopupAtCursor();
    bool ClickDefaultItem();

    void ShowIcon();
    void RemoveIcon();
    void UpdateIcon();
    void StartAnimation();
    void StopAnimation();
    void KeepAnimatingPastEmptyFrame();
    void AdvanceFrame();

    std::unique_ptr<platform::NotifyIconBackend> m_backend;
    platform::NotifyIconData m_notifyData;
    QIcon m_icon;
    TIconList m_icons;
    QString m_hint;
    QPointer<TPopupMenu> m_popupMenu;
    std::shared_ptr<TTimerThread::Control> m_thread;
    int m_frameIndex = -1;
    quint16 m_interval = 150;
    bool m_active = true;
    bool m_enabled = true;
    bool m_showDesign = false;
    bool m_animating = false;
    bool m_added = false;
    bool m_leftClick = false;
    bool m_rightClick = false;
    bool m_destroying = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TTrayIcon::TShiftState)

} // namespace widgets
