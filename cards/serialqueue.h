#pragma once
// Work that must not hold up the GUI thread and must happen in turn: one
// thread of its own, kept for the run, takes the work in the order it was
// handed over. A failure there is told back on the thread that handed it
// over, through its event loop.

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <functional>

namespace cards {

class TSerialQueue {
public:
    TSerialQueue();
    // Waits for the work still queued or running.
    ~TSerialQueue();
    TSerialQueue(const TSerialQueue &) = delete;
    TSerialQueue &operator=(const TSerialQueue &) = delete;

    // Runs work after everything handed over before it. When work throws a
    // platform::Exception, failed gets its message on the thread that made
    // the queue, unless the queue is gone by then.
    void Run(std::function<void()> work, std::function<void(const QString &message)> failed);
    // Returns once everything handed over is done.
    void WaitForDone();

private:
    QThreadPool m_thread;
    QObject m_context; // what the failures are queued on
};

} // namespace cards
