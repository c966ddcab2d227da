#pragma once
// Settings file access with the semantics of the Windows profile functions:
// section and key names compare without regard to case; a missing file,
// section or key gives the default; values are at most 2047 characters; a
// write creates what is missing and keeps the rest of the file (comments and
// unknown keys included). The file is 8-bit Windows-1252 text; a file found in
// UTF-8 is read as such and written back in UTF-8.

#include <QString>

namespace platform {

QString GetPrivateProfileString(const QString &section, const QString &key, const QString &defaultValue,
                                const QString &path);
// Returns false when the platform refuses the write.
bool WritePrivateProfileString(const QString &section, const QString &key, const QString &value,
                               const QString &path);

// Typed reads and writes on top of the profile functions. Holds only the path:
// constructing it touches no file. Writes that are refused throw
// Exception("nach <path> kann nicht geschrieben werden").
class TIniFile {
public:
    explicit TIniFile(QString path) : m_path(std::move(path)) {}
    const QString &FileName() const { return m_path; }

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;

    void WriteString(const QString &section, const QString &key, const QString &value) const;
    void WriteInteger(const QString &section, const QString &key, int value) const;
    void WriteBool(const QString &section, const QString &key, bool value) const;

private:
    QString m_path;
};

// The integer conversion of the typed reads: optional blanks, optional sign,
// decimal digits, or hexadecimal digits after "$"; texts longer than 2
// characters starting with "0x"/"0X" are hexadecimal. Returns false for
// anything else.
bool StrToIntChecked(const QString &text, int &value);

} // namespace platform
