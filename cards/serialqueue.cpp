#include "serialqueue.h"

#include "exception.h"

namespace cards {

TSerialQueue::TSerialQueue()
{
    m_thread.setMaxThreadCount(1);
    // The one thread stays for the run: handing work over starts no thread.
    m_thread.setExpiryTimeout(-1);
}

TSerialQueue::~TSerialQueue() { WaitForDone(); }

void TSerialQueue::WaitForDone() { m_thread.waitForDone(); }

void TSerialQueue::Run(std::function<void()> work, std::function<void(const QString &message)> failed)
{
    m_thread.start([this, work = std::move(work), failed = std::move(failed)] {
        try {
            work();
        } catch (const platform::Exception &e) {
            QMetaObject::invokeMethod(&m_context, [failed, message = e.message()] {
                if (failed)
                    failed(message);
            }, Qt::QueuedConnection);
        }
    });
}

} // namespace cards
