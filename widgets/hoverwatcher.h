#pragma once
// One 100 ms timer shared by all flat buttons that notices the pointer
// leaving the hovered button when no mouse move reaches it any more (the
// pointer jumped, or left the window). It exists while at least one button
// uses it and runs only while a button is watched.
//
// Where the pointer is, which control lies under a screen point (disabled
// controls count) and whether the application has an active window are
// asked through a probe: the real desktop by default, a fake one in tests.
// GUI thread only.

#include <QPoint>

#include <functional>

class QTimer;
class QWidget;

namespace widgets {

class THoverWatcher {
public:
    struct TPointerProbe {
        std::function<QPoint()> CursorPos;
        std::function<QWidget *(const QPoint &screenPos)> ControlAt;
        std::function<bool()> ApplicationActive;
    };
    // Empty members use the real desktop.
    static void SetPointerProbe(TPointerProbe probe);
    static QPoint CursorPos();
    static QWidget *ControlAt(const QPoint &screenPos);
    static bool ApplicationActive();

    // Every button counts itself in for its lifetime: the first one makes
    // the timer (stopped), the last one frees it.
    static void AddUser();
    static void RemoveUser();
    static int UserCount();
    static QTimer *Timer();

    // Watches the widget from now on: on each tick where the control under
    // the pointer is another one, pointerLeft runs (and usually ends the
    // watch). Watching one widget ends watching any other.
    static void Watch(QWidget *widget, std::function<void()> pointerLeft);
    // Ends the watch if it is this widget's; the timer stops.
    static void StopWatching(const QWidget *widget);
    // The watched widget, null when none.
    static QWidget *Watched();
};

} // namespace widgets
