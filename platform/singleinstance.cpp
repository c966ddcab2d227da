#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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
} // namespace

// The user's cache, the same for every session of the user (a session's
// runtime folder is not: one session has none, another its own), and never
// the shared /tmp, where another user could make the name first.
QString SingleInstanceFolder()
{
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

namespace {
// The folder as the file system knows it: the longest part that exists
// with its links resolved, the rest as written.
QByteArray canonicalFolder(const QString &folder)
{
    QByteArray path = QFile::encodeName(QDir::cleanPath(QDir::current().absoluteFilePath(folder)));
    QByteArray rest;
    while (!path.isEmpty()) {
        char resolved[PATH_MAX];
        if (::realpath(path.constData(), resolved))
            return QByteArray(resolved) + rest;
        const qsizetype slash = path.lastIndexOf('/');
        if (slash < 0)
            break;
        rest.prepend(path.mid(slash));
        path.truncate(slash);
    }
    return path + rest;
}

bool channelAddress(const QString &path, sockaddr_un &address)
{
    const QByteArray bytes = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (bytes.size() >= qsizetype(sizeof address.sun_path))
        return false; // Too long for a socket: the guard then has no channel.
    std::memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()));
    return true;
}
} // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString &name, const QString &key, const QString &folder)
{
    if (folder.isEmpty())
        return; // No place for a lock: let the start go on, as for any other outcome.
    QString stem = folder + QLatin1Char('/') + name + QStringLiteral("-%1").arg(::getuid());
    if (!key.isEmpty())
        stem += QLatin1Char('-')
                + QString::fromLatin1(QCryptographicHash::hash(canonicalFolder(key), QCryptographicHash::Sha256).toHex().left(24));
    m_path = stem + QStringLiteral(".lock");
    m_channelPath = stem + QStringLiteral(".sock");
    if (takeLock())
        openChannel();
}

bool SingleInstanceGuard::takeLock()
{
    const QByteArray path = QFile::encodeName(m_path);
    // A holder removes its lock file at its end. A lock taken on a file
    // removed meanwhile guards nothing, so it is taken again on the file
    // that now has the name.
    for (int attempt = 0; attempt < 8; ++attempt) {
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0)
            return false; // No place for a lock: let the start go on, as for any other outcome.
        if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            m_alreadyExists = errno == EWOULDBLOCK;
            ::close(m_fd);
            m_fd = -1;
            return false;
        }
        struct stat held {}, named {};
        if (::fstat(m_fd, &held) == 0 && ::stat(path.constData(), &named) == 0 && held.st_ino == named.st_ino
            && held.st_dev == named.st_dev)
            return true;
        ::close(m_fd);
        m_fd = -1;
    }
    return false;
}

SingleInstanceGuard::~SingleInstanceGuard()
{
    m_notifier.reset();
    if (m_channel >= 0) {
        ::close(m_channel);
        // Still under the lock: the socket is this holder's.
        ::unlink(QFile::encodeName(m_channelPath).constData());
    }
    if (m_fd >= 0) {
        // Removed while still held, so no later start takes a lock on it.
        ::unlink(QFile::encodeName(m_path).constData());
        ::close(m_fd);
    }
}

void SingleInstanceGuard::openChannel()
{
    // Under the lock no other holder lives, so a socket found is a dead
    // holder's and goes. It listens from now on: starts turned away before
    // Listen() wait in the queue.
    sockaddr_un address;
    if (!channelAddress(m_channelPath, address))
        return;
    ::unlink(address.sun_path);
    m_channel = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_channel < 0)
        return;
    if (::bind(m_channel, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_channel, 8) != 0) {
        ::close(m_channel);
        m_channel = -1;
    }
}

void SingleInstanceGuard::Listen(std::function<void()> onRequest)
{
    if (m_channel < 0)
        return;
    m_onRequest = std::move(onRequest);
    m_notifier = std::make_unique<QSocketNotifier>(m_channel, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { acceptRequests(); });
    acceptRequests();
}

void SingleInstanceGuard::acceptRequests()
{
    for (;;) {
        const int peer = ::accept4(m_channel, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0)
            return;
        // The folder is the user's alone; the check keeps it so should the
        // folder's mode ever change.
        ucred credentials {};
        socklen_t length = sizeof credentials;
        const bool own = ::getsockopt(peer, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0
                         && credentials.uid == ::getuid();
        ::close(peer);
        if (own && m_onRequest)
            m_onRequest();
    }
}

bool SingleInstanceGuard::RequestShow() const
{
    sockaddr_un address;
    if (!m_alreadyExists || !channelAddress(m_channelPath, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // The connection is the request; a full queue of a hung holder refuses
    // at once instead of blocking this start.
    const bool sent = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return sent;
}

} // namespace platform
