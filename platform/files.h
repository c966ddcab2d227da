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

// The folder of the running executable, with a trailing "/".
QString ProgramFolder();

bool DirectoryExists(const QString &path);
// Creates one folder level. On failure returns false and sets *errorCode.
bool CreateDirectory(const QString &path, int *errorCode = nullptr);
bool DeleteFile(const QString &path, int *errorCode = nullptr);
// Renames; fails when the target exists.
bool MoveFile(const QString &from, const QString &to, int *errorCode = nullptr);

// Names (without folder) of every entry of folder that matches the wildcard
// mask ("*", "?"), files and folders alike, hidden ones included, in the
// order the platform's directory listing returns them. "." and ".." never
// count. Returns false when the folder cannot be searched.
bool FindEntries(const QString &folder, const QString &mask, QStringList &names);

// A file opened for reading one piece at a time.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    // Fails for anything that cannot be read as a file (missing, a folder, no rights).
    bool open(const QString &path);
    // Reads at most n bytes; returns the count, 0 at the end, -1 on failure.
    qint64 read(char *buffer, qint64 n);
    qint64 position() const;
    bool seek(qint64 position);
    void close();

private:
    int m_fd = -1;
};

enum class ReplaceResult { Ok, CannotCreate, WriteFailed };

// Replaces path with data atomically: a temporary file beside it is written,
// flushed to disk and renamed over path. On any failure the previous file
// stays whole and the temporary file is removed. A path whose existing file
// is write-protected cannot be created. The file's permissions are kept.
ReplaceResult ReplaceFileContents(const QString &path, const QByteArray &data, int *errorCode = nullptr);

} // namespace platform
