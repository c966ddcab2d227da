#pragma once
// TTimerThread: the tray icon's animation clock. It sleeps one interval at a
// time and hands each frame to the GUI thread, where the icon advances; the
// thread itself never touches the icon.
//
// The icon reaches its thread only through the shared Control, never through
// the thread object, because the thread frees itself when it ends. Stopping
// does not wait: Detach() cuts the link, wakes the thread and returns; a frame
// already on its way finds the link cut and does nothing, and frames posted to
// a destroyed icon are dropped by Qt with the icon's other posted events.

#include <QThread>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace widgets {

class TTimerThread : public QThread {
    Q_OBJECT
public:
    // Shared between the GUI thread (all the public calls) and the thread.
    class Control {
    public:
        // Holds the thread before its next sleep; a frame already posted is
        // dropped.
        void Suspend();
        // Lets a suspended thread run on.
        void Resume();
        bool Suspended() const;
        // Takes effect from the next sleep.
        void SetInterval(int milliseconds);
        // Cuts the link to the icon and ends the thread after waking it; no
        // frame reaches the icon afterwards.
        void Detach();
        bool Attached() const;

    private:
        friend class TTimerThread;
        bool StoppingLocked() const;
        void DeliverFrame();

        mutable std::mutex m_mutex;
        std::condition_variable m_wake;
        QObject *m_context = nullptr;
        std::function<void()> m_advance;
        int m_interval = 0;
        bool m_suspended = false;
        bool m_framePending = false;
    };

    // Starts a thread that calls advance on the GUI thread every interval
    // milliseconds (one frame at a time: the next sleep begins after the
    // frame ran), posted to context, which must live on the GUI thread and
    // outlive the link (Detach() before it goes).
    static std::shared_ptr<Control> Start(QObject *context, std::function<void()> advance, int interval,
                                          bool suspended);

protected:
    void run() override;

private:
    explicit TTimerThread(std::shared_ptr<Control> control);
    void PostFrameLocked();

    std::shared_ptr<Control> m_control;
};

} // namespace widgets
