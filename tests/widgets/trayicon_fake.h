#pragma once
// A notification area for tests: records what the component asks of it and
// lets the test play the desktop's mouse events.

#include "notifyicon.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <memory>
#include <vector>

namespace traytest {

struct ShellCall {
    enum Kind { Add, Modify, Delete } kind;
    QString tip;
    QIcon icon;
};

struct ShellLog {
    std::vector<ShellCall> calls;
    bool shown = false;
    bool refuseAdd = false;

    int Count(ShellCall::Kind kind) const
    {
        int n = 0;
        for (const ShellCall &c : calls)
            n += c.kind == kind;
        return n;
    }
    void Clear() { calls.clear(); }
};

class FakeNotifyIcon : public platform::NotifyIconBackend {
public:
    explicit FakeNotifyIcon(std::shared_ptr<ShellLog> log) : m_log(std::move(log)) {}

    bool Add(const platform::NotifyIconData &data) override
    {
        m_log->calls.push_back({ShellCall::Add, data.tip, data.icon});
        if (m_log->refuseAdd)
            return false;
        m_log->shown = true;
        return true;
    }
    bool Modify(const platform::NotifyIconData &data) override
    {
        m_log->calls.push_back({ShellCall::Modify, data.tip, data.icon});
        return m_log->shown;
    }
    bool Delete() override
    {
        m_log->calls.push_back({ShellCall::Delete, {}, {}});
        const bool was = m_log->shown;
        m_log->shown = false;
        return was;
    }
    Qt::KeyboardModifiers KeyboardState() const override { return keys; }
    QPoint CursorPos() const override { return cursor; }

    void Send(platform::TrayMouseEvent event) { Deliver(event); }

    Qt::KeyboardModifiers keys;
    QPoint cursor{640, 1010};

private:
    std::shared_ptr<ShellLog> m_log;
};

// A plain icon of one colour, so that tests can tell frames apart.
inline QIcon ColourIcon(const QColor &colour, int size = 16)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    return QIcon(QPixmap::fromImage(image));
}

inline QColor IconColour(const QIcon &icon)
{
    if (icon.isNull())
        return {};
    const QList<QSize> sizes = icon.availableSizes();
    const QSize size = sizes.isEmpty() ? QSize(16, 16) : sizes.first();
    return icon.pixmap(size, 1.0).toImage().pixelColor(size.width() / 2, size.height() / 2);
}

} // namespace traytest
