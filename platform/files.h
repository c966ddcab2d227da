#pragma once
// File operations the program relies on. Failures report the platform's
// error number mapped onto the codes the program's messages use.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// Windows-style error codes the messages depend on.
enum FileErrorCode : int {
    kErrorFileNotFound = 2,
    kErrorPathNotFound = 3,
    kErrorTooManyOpenFiles = 4,
    kErrorAccessDenied = 5,
    kErrorDiskFull = 112,
    kErrorAlreadyExists = 183,
};

// Maps an errno value onto the codes above (other values pass through as 1000 + errno).
int ErrnoToErrorCode(int err);

// File names are bytes on Linux. A name that is valid UTF-8 becomes its
// text; in any other name every byte from 0x80 on is kept as the lone
// surrogate U+DC00 + byte, so EncodeFileName gives back the very same bytes
// and such a file can still be opened, written, moved and deleted.
QString DecodeFileName(const QByteArray &bytes);
QByteArray EncodeFileName(const QString &name);
// UTF-8 text when bytes are valid UTF-8, else the program's own Windows-1252.
QString DecodeUtf8OrWindows1252(const QByteArray &bytes);
// The name as a person reads it: kept bytes decode as Windows-1252 (the
// program's own 8-bit text), e.g. "K\xF6ln.rtf" reads "Köln.rtf".
QString ReadableFileName(const QString &name);

// The longest file name (in bytes) the file system of folder holds.
int MaxFileNameLength(const QString &folder);

// The folder of the running executable, with a trailing "/".
QString ProgramFolder();

bool DirectoryExists(const QString &path);
// Creates one folder level. On failure returns false and sets *errorCode.
bool CreateDirectory(const QString &path, int *errorCode = nullptr);
bool DeleteFile(const QString &path, int *errorCode = nullptr);
// Moves the file to the desktop's trash (freedesktop.org), making the home
// trash first when it is missing. False when there is no trash for it; the
// file is then where it was.
bool MoveToTrash(const QString &path);
// Renames; fails when the target exists, also one that appears meanwhile.
bool MoveFile(const QString &from, const QString &to, int *errorCode = nullptr);

// Names (without folder) of every entry of folder that matches the wildcard
// mask ("*", "?"), files and folders alike, hidden ones included, in the
// order the platform's directory listing returns them. "." and ".." never
// count. Returns false when the folder cannot be searched.
bool FindEntries(const QString &folder, const QString &mask, QStringList &names);

// What a file was when the program last read or wrote it: a file whose
// stamp differs has been written or replaced since (its content may still be
// the same). A missing file, or one that is no regular file, does not exist.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    bool operator==(const FileStamp &) const = default;
};
// Follows symbolic links; never opens the file.
FileStamp StampOf(const QString &path);

// A file opened for reading one piece at a time.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    // Fails for anything that is not a regular file after following links
    // (missing, a folder, a FIFO, a device, no rights). Never blocks.
    bool open(const QString &path);
    // The open file's stamp.
    FileStamp stamp() const;
    // Reads at most n bytes; returns the count, 0 at the end, -1 on failure.
    qint64 read(char *buffer, qint64 n);
    qint64 position() const;
    bool seek(qint64 position);
    void close();

private:
    int m_fd = -1;
};

// The one way the program reads a whole file of the card folder (cards,
// the find index, recoveries): through InputFile, so a FIFO, a device or a
// folder named like a card is refused at once instead of blocking or
// reading for ever. stamp, when given, is the stamp of what was read.
bool ReadRegularFile(const QString &path, QByteArray &out, FileStamp *stamp = nullptr);

enum class ReplaceResult { Ok, CannotCreate, WriteFailed };

// The temporary file of a replacement has this fixed-length name, whatever
// the length of the file it replaces: ".kartolino-" + six letters or digits
// + ".tmp". Earlier versions named it "." + file name + "." + six letters or
// digits; a card file's leftover of that form (".x.rtf.AbC123") counts too.
bool IsReplaceTempName(const QByteArray &name);
// Removes the temporary files that replacements killed part way left in
// folder; nothing else. Returns how many went.
int RemoveReplaceDebris(const QString &folder);

// Whether a replacement makes its rename durable at once (the folder flushed
// to disk) or leaves that to the caller (SyncFolder), who replaces many
// files in one folder.
enum class FolderSync { Now, Later };

// Replaces path with data atomically: a temporary file beside it is written,
// flushed to disk and renamed over path. On any failure the previous file
// stays whole and the temporary file is removed. A path whose existing file
// is write-protected cannot be created. The file's permissions are kept.
// Safe to call from several threads at once.
ReplaceResult ReplaceFileContents(const QString &path, const QByteArray &data, int *errorCode = nullptr,
                                  FolderSync folderSync = FolderSync::Now);
// A replacement in two steps, for a caller that decides at the last moment
// whether it still wants it: Prepare does the slow part (the temporary file
// written and flushed to disk, as ReplaceFileContents does), Commit the
// rename, a moment. One not committed removes its temporary file when it
// goes, and path stays as it was. Used by one thread at a time.
class PreparedReplacement {
public:
    PreparedReplacement() = default;
    ~PreparedReplacement();
    PreparedReplacement(const PreparedReplacement &) = delete;
    PreparedReplacement &operator=(const PreparedReplacement &) = delete;

    ReplaceResult Prepare(const QString &path, const QByteArray &data, int *errorCode = nullptr);
    // Only after a successful Prepare, and once.
    ReplaceResult Commit(int *errorCode = nullptr, FolderSync folderSync = FolderSync::Now);

private:
    QByteArray m_dest;
    QByteArray m_temp; // empty when there is nothing to commit or remove
};

// Creates path with data, whole or not at all, only when no file of that
// name is there, not even one that appeared a moment ago: the command that
// makes a file never replaces one it did not read. A taken name fails with
// kErrorAlreadyExists (CannotCreate).
ReplaceResult CreateFileContents(const QString &path, const QByteArray &data, int *errorCode = nullptr);

// What was in a file's place at the instant a replacement put its data there.
struct Replaced {
    bool existed = false;
    QByteArray bytes;   // empty also when it was no regular file
    FileStamp written;  // the stamp of the file now in place
};
// Replaces path with data as ReplaceFileContents does, but swaps the new
// file in (renameat2 RENAME_EXCHANGE) and hands back what it swapped out,
// so a write that landed between the caller's last look and the
// replacement is never lost unseen. Where the file system cannot swap, the
// file is read just before it is replaced.
ReplaceResult ExchangeFileContents(const QString &path, const QByteArray &data, Replaced &replaced,
                                   int *errorCode = nullptr);
// Flushes the folder's entries to disk (the renames into it made durable).
void SyncFolder(const QString &folder);

} // namespace platform
