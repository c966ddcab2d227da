#pragma once
// The text of a profile (INI) file, read and edited as bytes so that a write
// changes exactly one value and leaves every other byte of the file alone.
//
// A line "[name]" starts a section; a line "name=value" is a key of the
// section above it; a line whose first non-blank is ";" is a comment; any
// other line is ignored. Blanks around names and values do not count. Names
// compare without regard to case. The first matching section, and in it the
// first matching key, is the one read and written.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace platform {

enum class ProfileEncoding { Windows1252, Utf8 };

// UTF-8 when the bytes are valid UTF-8 and hold a non-ASCII byte (a file saved
// by a Linux editor); the program's own 8-bit Windows-1252 otherwise.
ProfileEncoding DetectProfileEncoding(const QByteArray &bytes);

QString DecodeWindows1252(const QByteArray &bytes);
// Characters outside Windows-1252 become "?", as the Windows ANSI functions write them.
QByteArray EncodeWindows1252(const QString &text);

class ProfileText {
public:
    // An empty byte array stands for a new file, which is written in Windows-1252.
    explicit ProfileText(QByteArray bytes);

    ProfileEncoding Encoding() const { return m_encoding; }
    const QByteArray &Bytes() const { return m_bytes; }

    // The value as it stands in the file, blanks around it removed; nothing
    // when the section or the key is missing.
    std::optional<QString> Value(const QString &section, const QString &key) const;

    // Replaces the value, or adds the key (at the end of its section) or the
    // section (at the end of the file). Returns false for names or values a
    // profile line cannot hold (line breaks, "]" in a section name, "=" in a
    // key name, empty names).
    bool SetValue(const QString &section, const QString &key, const QString &value);

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        qsizetype begin = 0;     // first byte of the line
        qsizetype end = 0;       // end of its content, before "\n"
        qsizetype next = 0;      // first byte of the next line
        Kind kind = Kind::Other;
        QString name;            // section or key name, trimmed
        qsizetype valueBegin = 0; // value bytes of a key, trimmed
        qsizetype valueEnd = 0;
    };

    void parse();
    Line parseLine(qsizetype begin, qsizetype end, qsizetype next) const;
    QString decode(const QByteArray &bytes) const;
    QByteArray encode(const QString &text) const;
    QByteArray lineBreak() const;
    bool isBlankLine(const Line &line) const;
    static bool fitsOnAProfileLine(const QString &section, const QString &key, const QString &value);
    void appendSection(const QString &section, const QByteArray &entry);
    void insertKey(qsizetype header, const QByteArray &entry);
    // Index of the section header, or -1.
    qsizetype findSection(const QString &name) const;
    // Index of the key line within the section starting at header, or -1.
    qsizetype findKey(qsizetype header, const QString &name) const;

    QByteArray m_bytes;
    ProfileEncoding m_encoding;
    QList<Line> m_lines;
};

} // namespace platform
