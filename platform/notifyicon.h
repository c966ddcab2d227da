#pragma once
// The notification-area icon ("tray icon") of the desktop: add, modify and
// delete one icon with its tip, and the mouse events the desktop reports for
// it. This is the only place that talks to the desktop's tray.
//
// What the rest of the program may rely on:
// - Add() returns false when the desktop refused the icon (for example when
//   there is no notification area); nothing is shown then.
// - Modify() and Delete() may be called at any time, also when nothing was
//   added; their failures are reported by the return value only.
// - Mouse events arrive on the GUI thread from the event loop (a receiver may
//   destroy the icon from inside one), as presses and releases with a
//   double click between the press/release pairs of its two halves:
//   LeftDown, LeftUp, LeftDblClick, LeftUp. Backends that only learn of whole
//   clicks produce that sequence themselves (ClickTranslator below).
// - The backend on QSystemTrayIcon reaches StatusNotifierItem hosts (over
//   D-Bus, when a host is registered) and XEmbed trays otherwise. The icon is
//   named after the desktop file name, so an SNI host shows the program's
//   icon from the icon theme. It reports no moves: neither host tells us of them.

#include <QIcon>
#include <QPoint>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

enum class TrayMouseEvent {
    Move,
    LeftDown,
    LeftUp,
    LeftDblClick,
    RightDown,
    RightUp,
    RightDblClick,
    MiddleDown,
    MiddleUp,
    MiddleDblClick,
};

// What the icon shows: the image and the tip. A null icon is never handed over.
struct NotifyIconData {
    QIcon icon;
    QString tip;
};

class NotifyIconBackend {
public:
    using MouseCallback = std::function<void(TrayMouseEvent)>;

    virtual ~NotifyIconBackend() = default;

    virtual bool Add(const NotifyIconData &data) = 0;
    virtual bool Modify(const NotifyIconData &data) = 0;
    virtual bool Delete() = 0;

    // The keyboard's Shift, Ctrl and Alt state and the cursor position in
    // screen coordinates, read at the moment of the call.
    virtual Qt::KeyboardModifiers KeyboardState() const;
    virtual QPoint CursorPos() const;

    // Where the mouse events go (one receiver; a new one replaces the old).
    void SetMouseCallback(MouseCallback callback) { m_callback = std::move(callback); }

protected:
    void Deliver(TrayMouseEvent event) const
    {
        if (m_callback)
            m_callback(event);
    }

private:
    MouseCallback m_callback;
};

// Whether the desktop has a notification area at the moment. Without one the
// program keeps its window minimised with a taskbar entry instead of hiding.
bool NotificationAreaAvailable();

// A new icon on the desktop's tray, or what the factory set for tests makes.
std::unique_ptr<NotifyIconBackend> CreateNotifyIcon();

// Tests install a factory for fake backends; an empty one restores the real.
using NotifyIconFactory = std::function<std::unique_ptr<NotifyIconBackend>()>;
void SetNotifyIconFactory(NotifyIconFactory factory);

// Turns QSystemTrayIcon's whole-click reports into presses and releases.
// Every Qt backend reports a double click as Trigger, then DoubleClick; a
// DoubleClick without a Trigger just before it gets the missing first half,
// so a double click always starts with exactly one click.
class ClickTranslator {
public:
    // nowMs: a monotonic clock in milliseconds; doubleClickMs: the desktop's
    // double-click interval.
    std::vector<TrayMouseEvent> Translate(QSystemTrayIcon::ActivationReason reason, qint64 nowMs,
                                          int doubleClickMs);

private:
    qint64 m_lastTriggerMs = -1;
};

} // namespace platform
