#include "timerthread.h"

#include <QCoreApplication>
#include <chrono>

namespace widgets {

void TTimerThread::Control::Suspend()
{
    std::lock_guard lock(m_mutex);
    m_suspended = true;
}

void TTimerThread::Control::Resume()
{
    {
        std::lock_guard lock(m_mutex);
        m_suspended = false;
    }
    m_wake.notify_all();
}

bool TTimerThread::Control::Suspended() const
{
    std::lock_guard lock(m_mutex);
    return m_suspended;
}

void TTimerThread::Control::SetInterval(int milliseconds)
{
    std::lock_guard lock(m_mutex);
    m_interval = milliseconds;
}

void TTimerThread::Control::Detach()
{
    {
        std::lock_guard lock(m_mutex);
        m_context = nullptr;
        m_advance = nullptr;
    }
    m_wake.notify_all();
}

bool TTimerThread::Control::Attached() const
{
    std::lock_guard lock(m_mutex);
    return m_context != nullptr;
}

bool TTimerThread::Control::StoppingLocked() const
{
    return m_context == nullptr || QCoreApplication::closingDown();
}

// Runs on the GUI thread, where the link is also cut, so the advance copied
// here cannot belong to an icon that is already gone.
void TTimerThread::Control::DeliverFrame()
{
    std::function<void()> advance;
    {
        std::lock_guard lock(m_mutex);
        m_framePending = false;
        // A frame that was on its way when the thread was suspended is dropped.
        if (!m_suspended)
            advance = m_advance;
    }
    m_wake.notify_all();
    if (advance)
        advance();
}

std::shared_ptr<TTimerThread::Control> TTimerThread::Start(QObject *context, std::function<void()> advance,
                                                           int interval, bool suspended)
{
    auto control = std::make_shared<Control>();
    control->m_context = context;
    control->m_advance = std::move(advance);
    control->m_interval = interval;
    control->m_suspended = suspended;
    auto *thread = new TTimerThread(control);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return control;
}

TTimerThread::TTimerThread(std::shared_ptr<Control> control) : m_control(std::move(control))
{
}

void TTimerThread::run()
{
    Control &c = *m_control;
    std::unique_lock lock(c.m_mutex);
    const auto stopping = [&c] { return c.StoppingLocked(); };
    for (;;) {
        c.m_wake.wait(lock, [&c] { return c.StoppingLocked() || !c.m_suspended; });
        if (stopping())
            break;
        c.m_wake.wait_for(lock, std::chrono::milliseconds(c.m_interval), stopping);
        if (stopping())
            break;
        if (c.m_suspended)
            continue;
        PostFrameLocked();
        c.m_wake.wait(lock, [&c] { return c.StoppingLocked() || !c.m_framePending; });
    }
}

// Posting under the lock: the icon cannot be destroyed in between, because it
// cuts the link under the same lock before it goes.
void TTimerThread::PostFrameLocked()
{
    m_control->m_framePending = true;
    QMetaObject::invokeMethod(
        m_control->m_context, [control = m_control] { control->DeliverFrame(); }, Qt::QueuedConnection);
}

} // namespace widgets
