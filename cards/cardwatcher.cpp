#include "cardwatcher.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace cards {

FileStamp StampOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {true, qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, quint64(st.st_ino)};
}

TCardWatcher::TCardWatcher()
{
    // Most programs save by writing a new file and renaming it over the old
    // one; the watch on the file ends then, so the folder is watched too.
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_watcher, [this] { check(); });
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_watcher, [this] { check(); });
}

void TCardWatcher::Watch(const QString &path)
{
    if (path != m_path) {
        if (!m_watcher.files().isEmpty())
            m_watcher.removePaths(m_watcher.files());
        if (!m_watcher.directories().isEmpty())
            m_watcher.removePaths(m_watcher.directories());
        m_path = path;
        m_watcher.addPath(QFileInfo(path).absolutePath());
    }
    m_stamp = StampOf(path);
    m_reported = m_stamp;
    if (m_stamp.exists && !m_watcher.files().contains(path))
        m_watcher.addPath(path);
}

bool TCardWatcher::ChangedOnDisk(const QString &path) const
{
    if (path != m_path)
        return false;
    const FileStamp now = StampOf(path);
    return now.exists && now != m_stamp;
}

void TCardWatcher::check()
{
    if (m_path.isEmpty())
        return;
    const FileStamp now = StampOf(m_path);
    if (now.exists && !m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
    // Each other write is told once, however many signals it raises.
    if (!now.exists || now == m_stamp || now == m_reported)
        return;
    m_reported = now;
    if (OnChanged)
        OnChanged();
}

} // namespace cards
