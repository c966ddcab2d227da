#include "cardwatcher.h"

#include <QFileInfo>
#include <QTimer>

namespace cards {

TCardWatcher::TCardWatcher()
{
    // Most programs save by writing a new file and renaming it over the old
    // one; the watch on the file ends then, so the folder is watched too.
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_watcher, [this] { check(); });
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_watcher, [this] { check(); });
}

void TCardWatcher::Watch(const QString &path, const platform::FileStamp &stamp)
{
    if (path != m_path) {
        if (!m_watcher.files().isEmpty())
            m_watcher.removePaths(m_watcher.files());
        if (!m_watcher.directories().isEmpty())
            m_watcher.removePaths(m_watcher.directories());
        m_path = path;
        m_watcher.addPath(QFileInfo(path).absolutePath());
    }
    m_reported = stamp;
    if (stamp.exists && !m_watcher.files().contains(path))
        m_watcher.addPath(path);
    // A write between the program's own read and the watch raised no signal.
    QTimer::singleShot(0, &m_watcher, [this] { check(); });
}

void TCardWatcher::check()
{
    if (m_path.isEmpty())
        return;
    const platform::FileStamp now = platform::StampOf(m_path);
    if (now.exists && !m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
    // Each other write is told once, however many signals it raises.
    if (!now.exists || now == m_reported)
        return;
    m_reported = now;
    if (OnChanged)
        OnChanged();
}

} // namespace cards
