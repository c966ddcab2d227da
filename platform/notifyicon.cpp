#include "notifyicon.h"

#include "namedicon.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>

namespace platform {

namespace {

NotifyIconFactory &Factory()
{
    static NotifyIconFactory factory;
    return factory;
}

// The desktop's tray through QSystemTrayIcon. Qt pops up no menu of its own
// here: the component decides what a right click does.
class QtNotifyIcon : public NotifyIconBackend {
public:
    QtNotifyIcon()
    {
        m_clock.start();
        QObject::connect(&m_icon, &QSystemTrayIcon::activated, &m_icon,
                         [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); });
    }

    bool Add(const NotifyIconData &data) override
    {
        if (data.icon.isNull() || !QSystemTrayIcon::isSystemTrayAvailable())
            return false;
        Apply(data);
        m_icon.show();
        return m_icon.isVisible();
    }

    bool Modify(const NotifyIconData &data) override
    {
        if (data.icon.isNull() || !m_icon.isVisible())
            return false;
        Apply(data);
        return true;
    }

    bool Delete() override
    {
        const bool wasShown = m_icon.isVisible();
        m_icon.hide();
        return wasShown;
    }

private:
    void Apply(const NotifyIconData &data)
    {
        // The icon goes by the desktop entry's name, as the installed icon
        // theme has it, so a StatusNotifierItem host finds it by name too.
        m_icon.setIcon(IconNamed(data.icon, QGuiApplication::desktopFileName()));
        m_icon.setToolTip(data.tip);
    }

    void OnActivated(QSystemTrayIcon::ActivationReason reason)
    {
        const auto events = m_translator.Translate(reason, m_clock.elapsed(), QApplication::doubleClickInterval());
        // Delivered from the event loop rather than from inside Qt's own tray
        // widget handler, so that a receiver may destroy its icon (and with
        // it this backend); the rest of the sequence is then dropped.
        const std::weak_ptr<bool> alive = m_alive;
        QMetaObject::invokeMethod(
            qApp,
            [this, alive, events] {
                for (TrayMouseEvent event : events) {
                    if (alive.expired())
                        return;
                    Deliver(event);
                }
            },
            Qt::QueuedConnection);
    }

    QSystemTrayIcon m_icon;
    ClickTranslator m_translator;
    QElapsedTimer m_clock;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace

Qt::KeyboardModifiers NotifyIconBackend::KeyboardState() const
{
    return QGuiApplication::queryKeyboardModifiers();
}

QPoint NotifyIconBackend::CursorPos() const
{
    return QCursor::pos();
}

bool NotificationAreaAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

std::unique_ptr<NotifyIconBackend> CreateNotifyIcon()
{
    if (Factory())
        return Factory()();
    return std::make_unique<QtNotifyIcon>();
}

void SetNotifyIconFactory(NotifyIconFactory factory)
{
    Factory() = std::move(factory);
}

std::vector<TrayMouseEvent> ClickTranslator::Translate(QSystemTrayIcon::ActivationReason reason, qint64 nowMs,
                                                       int doubleClickMs)
{
    using E = TrayMouseEvent;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        m_lastTriggerMs = nowMs;
        return {E::LeftDown, E::LeftUp};
    case QSystemTrayIcon::DoubleClick: {
        const bool firstHalfSeen = m_lastTriggerMs >= 0 && nowMs - m_lastTriggerMs <= doubleClickMs;
        m_lastTriggerMs = -1;
        if (firstHalfSeen)
            return {E::LeftDblClick, E::LeftUp};
        return {E::LeftDown, E::LeftUp, E::LeftDblClick, E::LeftUp};
    }
    case QSystemTrayIcon::Context:
        return {E::RightDown, E::RightUp};
    case QSystemTrayIcon::MiddleClick:
        return {E::MiddleDown, E::MiddleUp};
    case QSystemTrayIcon::Unknown:
        break;
    }
    return {};
}

} // namespace platform
