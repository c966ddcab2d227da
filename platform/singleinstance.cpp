#include "singleinstance.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
// A folder that only this user can write: made with mode 0700, and refused
// when it is someone else's or others may write into it.
bool privateFolder(const QByteArray &path)
{
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()
           && (st.st_mode & 022) == 0;
}

// Without a runtime folder the lock must not sit in the shared /tmp, where
// another user could make the name first: it goes to the user's cache.
QString runtimeFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QFile::decodeName(runtime)).exists())
        return QFile::decodeName(runtime);
    QByteArray cache = qgetenv("XDG_CACHE_HOME");
    if (cache.isEmpty() || !cache.startsWith('/'))
        cache = qgetenv("HOME") + "/.cache";
    if (!cache.startsWith('/'))
        return QString();
    while (cache.size() > 1 && cache.endsWith('/'))
        cache.chop(1);
    ::mkdir(cache.constData(), 0700);
    const QByteArray folder = cache + "/Kartolino";
    return privateFolder(folder) ? QFile::decodeName(folder) : QString();
}
} // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString &name)
{
    const QString folder = runtimeFolder();
    if (folder.isEmpty())
        return; // No place for a lock: let the start go on, as for any other outcome.
    m_path = folder + QLatin1Char('/') + name + QStringLiteral("-%1.lock").arg(::getuid());
    m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0)
        return; // No place for a lock: let the start go on, as for any other outcome.
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        m_alreadyExists = errno == EWOULDBLOCK;
        ::close(m_fd);
        m_fd = -1;
    }
}

SingleInstanceGuard::~SingleInstanceGuard()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace platform
