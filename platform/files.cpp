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
#include <utility>

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

namespace {

FileStamp stampOf(const struct stat &st)
{
    if (!S_ISREG(st.st_mode))
        return {};
    return {true, qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, quint64(st.st_ino)};
}

} // namespace

FileStamp StampOf(const QString &path)
{
    struct stat st {};
    return ::stat(native(path).constData(), &st) == 0 ? stampOf(st) : FileStamp{};
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

FileStamp InputFile::stamp() const
{
    struct stat st {};
    return m_fd >= 0 && ::fstat(m_fd, &st) == 0 ? stampOf(st) : FileStamp{};
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

bool ReadRegularFile(const QString &path, QByteArray &out, FileStamp *stamp)
{
    out.clear();
    InputFile file;
    if (!file.open(path))
        return false;
    const FileStamp opened = file.stamp();
    // The size is a hint only: a file being written grows while it is read.
    out.resize(qMax<qint64>(opened.size, 0) + 1);
    qsizetype done = 0;
    for (;;) {
        if (done == out.size())
            out.resize(out.size() * 2);
        const qint64 got = file.read(out.data() + done, out.size() - done);
        if (got < 0) {
            out.clear();
            return false;
        }
        if (got == 0)
            break;
        done += got;
    }
    out.truncate(done);
    if (stamp)
        *stamp = file.stamp();
    return true;
}

namespace {

// Where a replacement of path writes (a symbolic link is written through to
// the file it names, so the link stays) and the mode the new file gets.
ReplaceResult replacementTarget(const QString &path, QByteArray &dest, mode_t &mode, int *errorCode)
{
    dest = native(path);
    struct stat linkSt {};
    if (::lstat(dest.constData(), &linkSt) == 0 && S_ISLNK(linkSt.st_mode)) {
        if (char *real = ::realpath(dest.constData(), nullptr)) {
            dest = real;
            ::free(real);
        } else {
            dest = native(QFileInfo(path).symLinkTarget()); // a dangling link: make its target
        }
    }
    mode = 0666 & ~processUmask();
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
    return ReplaceResult::Ok;
}

QByteArray folderOf(const QByteArray &dest)
{
    const int slash = dest.lastIndexOf('/');
    return slash >= 0 ? dest.left(slash + 1) : QByteArray();
}

// Writes data to a new temporary file beside dest and flushes it to disk.
ReplaceResult writeTemporary(const QByteArray &dest, const QByteArray &data, mode_t mode, QByteArray &temp, int *errorCode)
{
    // A short name of fixed length: the temporary file fits wherever the
    // card's own name fits.
    temp = folderOf(dest) + ".kartolino-XXXXXX.tmp";
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
    if (ok)
        return ReplaceResult::Ok;
    ::unlink(temp.constData());
    setError(errorCode, err);
    return ReplaceResult::WriteFailed;
}

bool refusedByFileSystem(int err) { return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP; }

// Renames from to to unless to exists; 0 or the errno. Not every file system
// knows RENAME_NOREPLACE; a hard link gives the same guarantee for files, and
// only a file system with neither falls back to look first, then rename.
int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (!refusedByFileSystem(errno))
        return errno;
    struct stat st {};
    if (::lstat(from.constData(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode)) {
        if (::link(from.constData(), to.constData()) == 0) {
            ::unlink(from.constData());
            return 0;
        }
        if (errno == EEXIST)
            return EEXIST;
    }
    if (::lstat(to.constData(), &st) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

} // namespace

namespace {

// The file a replacement of path goes to, and the temporary file beside it
// that already holds data with the target's mode.
ReplaceResult prepareReplacement(const QString &path, const QByteArray &data, QByteArray &dest, QByteArray &temp,
                                 int *errorCode)
{
    mode_t mode = 0;
    const ReplaceResult result = replacementTarget(path, dest, mode, errorCode);
    return result == ReplaceResult::Ok ? writeTemporary(dest, data, mode, temp, errorCode) : result;
}

} // namespace

PreparedReplacement::~PreparedReplacement()
{
    if (!m_temp.isEmpty())
        ::unlink(m_temp.constData());
}

ReplaceResult PreparedReplacement::Prepare(const QString &path, const QByteArray &data, int *errorCode)
{
    const ReplaceResult result = prepareReplacement(path, data, m_dest, m_temp, errorCode);
    if (result != ReplaceResult::Ok)
        m_temp.clear(); // removed already
    return result;
}

ReplaceResult PreparedReplacement::Commit(int *errorCode, FolderSync folderSync)
{
    const QByteArray temp = std::exchange(m_temp, {});
    if (::rename(temp.constData(), m_dest.constData()) != 0) {
        setError(errorCode, errno);
        ::unlink(temp.constData());
        return ReplaceResult::WriteFailed;
    }
    // Make the rename itself durable.
    if (folderSync == FolderSync::Now)
        syncFolder(folderOf(m_dest));
    return ReplaceResult::Ok;
}

ReplaceResult ReplaceFileContents(const QString &path, const QByteArray &data, int *errorCode, FolderSync folderSync)
{
    PreparedReplacement replacement;
    if (const ReplaceResult result = replacement.Prepare(path, data, errorCode); result != ReplaceResult::Ok)
        return result;
    return replacement.Commit(errorCode, folderSync);
}

ReplaceResult CreateFileContents(const QString &path, const QByteArray &data, int *errorCode)
{
    const QByteArray dest = native(path);
    struct stat st {};
    if (::lstat(dest.constData(), &st) == 0) {
        setError(errorCode, EEXIST);
        return ReplaceResult::CannotCreate;
    }
    QByteArray temp;
    const ReplaceResult written = writeTemporary(dest, data, 0666 & ~processUmask(), temp, errorCode);
    if (written != ReplaceResult::Ok)
        return written;
    if (const int err = renameNoReplace(temp, dest)) {
        ::unlink(temp.constData());
        setError(errorCode, err);
        return ReplaceResult::CannotCreate;
    }
    syncFolder(folderOf(dest));
    return ReplaceResult::Ok;
}

ReplaceResult ExchangeFileContents(const QString &path, const QByteArray &data, Replaced &replaced, int *errorCode)
{
    replaced = Replaced{};
    QByteArray dest, temp;
    if (const ReplaceResult result = prepareReplacement(path, data, dest, temp, errorCode); result != ReplaceResult::Ok)
        return result;
    // A rename keeps the inode and the modification time.
    replaced.written = StampOf(DecodeFileName(temp));
    int err = 0;
    // A file that comes or goes between two steps sends the loop round once more.
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, dest.constData(), RENAME_EXCHANGE) == 0) {
            // What was in the file's place at the very instant of the swap.
            replaced.existed = true;
            ReadRegularFile(DecodeFileName(temp), replaced.bytes);
            ::unlink(temp.constData());
            err = 0;
            break;
        }
        err = errno;
        if (err == ENOENT) {
            err = renameNoReplace(temp, dest);
            if (err != EEXIST)
                break;
            continue;
        }
        if (refusedByFileSystem(err)) {
            // No swap here: read what is there, then rename over it. The
            // window between the two stays open on such a file system.
            struct stat st {};
            replaced.existed = ::lstat(dest.constData(), &st) == 0;
            ReadRegularFile(DecodeFileName(dest), replaced.bytes);
            err = ::rename(temp.constData(), dest.constData()) == 0 ? 0 : errno;
        }
        break;
    }
    if (err) {
        ::unlink(temp.constData());
        setError(errorCode, err);
        return ReplaceResult::WriteFailed;
    }
    syncFolder(folderOf(dest));
    return ReplaceResult::Ok;
}

bool MoveFile(const QString &from, const QString &to, int *errorCode)
{
    if (const int err = renameNoReplace(native(from), native(to))) {
        setError(errorCode, err);
        return false;
    }
    return true;
}

void SyncFolder(const QString &folder) { syncFolder(native(folder)); }

} // namespace platform
