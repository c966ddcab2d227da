#include "files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QByteArray native(const QString &path) { return EncodeFileName(path); }

constexpr char16_t kKeptByteBase = 0xDC00;

bool isAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool endsInSixAlnum(const QByteArray &name)
{
    if (name.size() < 6)
        return false;
    for (qsizetype i = name.size() - 6; i < name.size(); ++i)
        if (!isAlnum(name.at(i)))
            return false;
    return true;
}

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

void syncFolder(const QByteArray &dir)
{
    const int dirFd = ::open(dir.isEmpty() ? "." : dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

bool isWriteProtected(const struct stat &st, const QByteArray &path)
{
    if ((st.st_mode & S_IWUSR) == 0)
        return true;
    return ::access(path.constData(), W_OK) != 0;
}

} // namespace

QString DecodeFileName(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QString kept;
    kept.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        kept.append(b < 0x80 ? QChar(b) : QChar(char16_t(kKeptByteBase + b)));
    }
    return kept;
}

QByteArray EncodeFileName(const QString &name)
{
    QByteArray out;
    out.reserve(name.size());
    qsizetype from = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        const bool kept = i < name.size() && name.at(i).unicode() >= kKeptByteBase + 0x80
                          && name.at(i).unicode() <= kKeptByteBase + 0xFF;
        if (!kept && i < name.size())
            continue;
        out += QStringView(name).mid(from, i - from).toUtf8();
        if (kept)
            out += char(name.at(i).unicode() - kKeptByteBase);
        from = i + 1;
    }
    return out;
}

QString ReadableFileName(const QString &name) { return DecodeUtf8OrWindows1252(EncodeFileName(name)); }

QString DecodeUtf8OrWindows1252(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1252("windows-1252");
    return cp1252.isValid() ? cp1252.decode(bytes) : QString::fromLatin1(bytes);
}

int MaxFileNameLength(const QString &folder)
{
    const long max = ::pathconf(native(folder).constData(), _PC_NAME_MAX);
    return max > 0 ? int(qMin<long>(max, 4096)) : 255;
}

bool IsReplaceTempName(const QByteArray &name)
{
    static const QByteArray prefix = ".kartolino-";
    static const QByteArray suffix = ".tmp";
    if (name.size() == prefix.size() + 6 + suffix.size() && name.startsWith(prefix) && name.endsWith(suffix))
        return endsInSixAlnum(name.chopped(suffix.size()));
    // The earlier form: "." + card file name + "." + six.
    static const QByteArray oldMiddle = ".rtf.";
    return name.size() > 1 + oldMiddle.size() + 6 && name.startsWith('.') && endsInSixAlnum(name)
           && name.chopped(6).endsWith(oldMiddle);
}

int RemoveReplaceDebris(const QString &folder)
{
    QByteArray dir = native(folder);
    if (!dir.endsWith('/'))
        dir += '/';
    DIR *listing = ::opendir(dir.constData());
    if (!listing)
        return 0;
    QList<QByteArray> debris;
    while (struct dirent *entry = ::readdir(listing))
        if (IsReplaceTempName(QByteArray(entry->d_name)))
            debris.append(dir + entry->d_name);
    ::closedir(listing);
    int removed = 0;
    for (const QByteArray &path : std::as_const(debris)) {
        struct stat st {};
        // Only the plain files a replacement makes; never a link or folder.
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid()
            && ::unlink(path.constData()) == 0)
            ++removed;
    }
    return removed;
}

namespace {

// Qt puts a file into the home trash only when that folder can be reached.
// On a fresh account the data folder may not be made yet, and Qt then
// falls back to files/ and info/ in the current folder, where no file
// manager looks; so the trash is made first, in the freedesktop.org layout.
void makeHomeTrash()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    const QString trash = data + QStringLiteral("/Trash");
    const bool made = !QFileInfo::exists(trash);
    for (const QString &sub : {QStringLiteral("/files"), QStringLiteral("/info")})
        QDir().mkpath(trash + sub);
    if (made)
        QFile::setPermissions(trash, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

bool MoveToTrash(const QString &path)
{
    makeHomeTrash();
    const QByteArray bytes = native(path);
    if (QFile::encodeName(path) == bytes)
        return QFile::moveToTrash(path);
    // Qt's trash reaches only names that are valid UTF-8: give the file its
    // readable name for the way into the trash.
    const QString readable = ReadableFileName(path);
    const QByteArray alias = QFile::encodeName(readable);
    if (::link(bytes.constData(), alias.constData()) != 0)
        return false;
    if (!QFile::moveToTrash(readable)) {
        ::unlink(alias.constData());
        return false;
    }
    ::unlink(bytes.constData());
    return true;
}

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
            names.append(DecodeFileName(QByteArray(name)));
    }
    ::closedir(dir);
    return true;
}

InputFile::~InputFile() { close(); }

bool InputFile::open(const QString &path)
{
    close();
    // O_NONBLOCK: opening a FIFO must not wait for a writer. A device such
    // as /dev/zero would be read for ever; only regular files are cards.
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
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

ReplaceResult ReplaceFileContents(const QString &path, const QByteArray &data, int *errorCode, FolderSync folderSync)
{
    // Write through a symbolic link to the file it names, so the link stays.
    QByteArray dest = native(path);
    struct stat linkSt {};
    if (::lstat(dest.constData(), &linkSt) == 0 && S_ISLNK(linkSt.st_mode)) {
        if (char *real = ::realpath(dest.constData(), nullptr)) {
            dest = real;
            ::free(real);
        } else {
            dest = native(QFileInfo(path).symLinkTarget()); // a dangling link: make its target
        }
    }

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
    // A short name of fixed length: the temporary file fits wherever the
    // card's own name fits.
    QByteArray temp = dir + ".kartolino-XXXXXX.tmp";
    const int fd = ::mkstemps(temp.data(), 4);
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
    if (folderSync == FolderSync::Now)
        syncFolder(dir);
    return ReplaceResult::Ok;
}

void SyncFolder(const QString &folder) { syncFolder(native(folder)); }

} // namespace platform
