#include "platform/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QByteArray native(const QString &path) { return QFile::encodeName(path); }

void setError(int *errorCode, int err)
{
    if (errorCode)
        *errorCode = ErrnoToErrorCode(err);
}

bool writeAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// A card whose owner took away the write permission is protected against
// being replaced, even for a user (root) whom the kernel would let write.
// The mode mask new files get, read without setting it: umask() can only be
// asked by changing it, for every thread of the process at once.
mode_t processUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("Umask:"))
                return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
    }
    return 022;
}

bool isWriteProtected(const struct stat &st, const QByteArray &path)
{
    if ((st.st_mode & S_IWUSR) == 0)
        return true;
    return ::access(path.constData(), W_OK) != 0;
}

} // namespace

int ErrnoToErrorCode(int err)
{
    switch (err) {
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG: return kErrorPathNotFound;
    case EMFILE:
    case ENFILE: return kErrorTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return kErrorAccessDenied;
    case ENOSPC:
    case EFBIG:
    case EDQUOT: return kErrorDiskFull;
    case EEXIST:
    case ENOTEMPTY: return kErrorAlreadyExists;
    case EINVAL: return 123; // the file name syntax is wrong
    default: return 1000 + err;
    }
}

QString ProgramFolder()
{
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

bool DirectoryExists(const QString &path)
{
    struct stat st {};
    return ::stat(native(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDirectory(const QString &path, int *errorCode)
{
    QByteArray p = native(path);
    while (p.size() > 1 && p.endsWith('/'))
        p.chop(1);
    if (::mkdir(p.constData(), 0777) == 0)
        return true;
    setError(errorCode, errno);
    return false;
}

bool DeleteFile(const QString &path, int *errorCode)
{
    if (::unlink(native(path).constData()) == 0)
        return true;
    setError(errorCode, errno);
    return false;
}

bool MoveFile(const QString &from, const QString &to, int *errorCode)
{
    const QByteArray src = native(from);
    const QByteArray dst = native(to);
    struct stat st {};
    if (::lstat(src.constData(), &st) != 0) {
        setError(errorCode, errno);
        return false;
    }
    // renameat2(RENAME_NOREPLACE) is not on every file system; link + unlink
    // gives the same "fails when the target exists" for files.
    if (!S_ISDIR(st.st_mode) && ::link(src.constData(), dst.constData()) == 0) {
        ::unlink(src.constData());
        return true;
    }
    if (errno == EEXIST) {
        setError(errorCode, errno);
        return false;
    }
    if (::lstat(dst.constData(), &st) == 0) {
        setError(errorCode, EEXIST);
        return false;
    }
    if (::rename(src.constData(), dst.constData()) == 0)
        return true;
    setError(errorCode, errno);
    return false;
}

bool FindEntries(const QString &folder, const QString &mask, QStringList &names)
{
    DIR *dir = ::opendir(native(folder).constData());
    if (!dir)
        return false;
    const QByteArray pattern = native(mask);
    while (struct dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (qstrcmp(name, ".") == 0 || qstrcmp(name, "..") == 0)
            continue;
        // Windows wildcards ignore case, and a leading "." is an ordinary character.
        if (::fnmatch(pattern.constData(), name, FNM_CASEFOLD) == 0)
            names.append(QFile::decodeName(name));
    }
    ::closedir(dir);
    return true;
}

InputFile::~InputFile() { close(); }

bool InputFile::open(const QString &path)
{
    close();
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

qint64 InputFile::read(char *buffer, qint64 n)
{
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, size_t(n));
        if (got < 0 && errno == EINTR)
            continue;
        return got;
    }
}

qint64 InputFile::position() const { return ::lseek(m_fd, 0, SEEK_CUR); }

bool InputFile::seek(qint64 position) { return ::lseek(m_fd, position, SEEK_SET) == position; }

void InputFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

ReplaceResult ReplaceFileContents(const QString &path, const QByteArray &data, int *errorCode)
{
    // Write through a symbolic link to the file it names, so the link stays.
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink())
        target = info.symLinkTarget();
    const QByteArray dest = native(target);

    mode_t mode = 0666 & ~processUmask();
    struct stat st {};
    if (::stat(dest.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            setError(errorCode, EISDIR);
            return ReplaceResult::CannotCreate;
        }
        if (isWriteProtected(st, dest)) {
            setError(errorCode, EACCES);
            return ReplaceResult::CannotCreate;
        }
        mode = st.st_mode & 07777;
    }

    const int slash = dest.lastIndexOf('/');
    const QByteArray dir = slash >= 0 ? dest.left(slash + 1) : QByteArray();
    const QByteArray base = slash >= 0 ? dest.mid(slash + 1) : dest;
    QByteArray temp = dir + '.' + base + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        setError(errorCode, errno);
        return ReplaceResult::CannotCreate;
    }
    ::fchmod(fd, mode);

    bool ok = writeAll(fd, data.constData(), data.size());
    int err = ok ? 0 : errno;
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.constData(), dest.constData()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        setError(errorCode, err);
        return ReplaceResult::WriteFailed;
    }
    // Make the rename itself durable.
    const int dirFd = ::open(dir.isEmpty() ? "." : dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return ReplaceResult::Ok;
}

} // namespace platform
