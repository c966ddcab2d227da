#pragma once
// One tick of a running QTimer, delivered by the test: the code under test
// sees exactly what the timer's expiry would give it, without waiting for the
// wall clock. While no event loop runs the real timer cannot fire in between.

#include <QCoreApplication>
#include <QTimer>
#include <QTimerEvent>

namespace testing_support {

// False, and nothing delivered, when the timer is not running.
inline bool FireTimer(QTimer *timer)
{
    if (!timer || !timer->isActive())
        return false;
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(timer, &event);
    return true;
}

} // namespace testing_support
