#include "hoverwatcher.h"

#include <QApplication>
#include <QCursor>
#include <QTimer>
#include <QWidget>

namespace widgets {

namespace {

int g_users = 0;
QTimer *g_timer = nullptr;
QWidget *g_watched = nullptr;
std::function<void()> g_pointerLeft;
THoverWatcher::TPointerProbe g_probe;

void tick()
{
    // The handler may end the watch; it is the one taken before the call.
    if (g_watched && THoverWatcher::ControlAt(THoverWatcher::CursorPos()) != g_watched)
        if (const std::function<void()> left = g_pointerLeft)
            left();
}

} // namespace

void THoverWatcher::SetPointerProbe(TPointerProbe probe) { g_probe = std::move(probe); }

QPoint THoverWatcher::CursorPos() { return g_probe.CursorPos ? g_probe.CursorPos() : QCursor::pos(); }

QWidget *THoverWatcher::ControlAt(const QPoint &screenPos)
{
    return g_probe.ControlAt ? g_probe.ControlAt(screenPos) : QApplication::widgetAt(screenPos);
}

bool THoverWatcher::ApplicationActive()
{
    return g_probe.ApplicationActive ? g_probe.ApplicationActive() : QApplication::activeWindow() != nullptr;
}

void THoverWatcher::AddUser()
{
    if (++g_users != 1)
        return;
    g_timer = new QTimer;
    g_timer->setInterval(100);
    QObject::connect(g_timer, &QTimer::timeout, &tick);
}

void THoverWatcher::RemoveUser()
{
    if (--g_users != 0)
        return;
    delete g_timer;
    g_timer = nullptr;
    g_watched = nullptr;
    g_pointerLeft = nullptr;
}

int THoverWatcher::UserCount() { return g_users; }

QTimer *THoverWatcher::Timer() { return g_timer; }

void THoverWatcher::Watch(QWidget *widget, std::function<void()> pointerLeft)
{
    g_timer->stop();
    g_watched = widget;
    g_pointerLeft = std::move(pointerLeft);
    g_timer->start();
}

void THoverWatcher::StopWatching(const QWidget *widget)
{
    if (!widget || g_watched != widget)
        return;
    g_timer->stop();
    g_watched = nullptr;
    g_pointerLeft = nullptr;
}

QWidget *THoverWatcher::Watched() { return g_watched; }

} // namespace widgets
