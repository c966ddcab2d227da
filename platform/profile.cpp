#include "profile.h"

#include "exception.h"
#include "files.h"
#include "profiletext.h"
#include "programfolders.h"

#include <QFile>
#include <QFileInfo>

#include <limits>
#include <optional>

namespace platform {

namespace {

// The callers' buffers hold 2048 characters including the terminating zero.
constexpr qsizetype kMaxValueLength = 2047;

// The whole file, or nothing when there is no readable file at path.
std::optional<QByteArray> readProfile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// Surrounding quotes are not part of the value (they let a value keep its blanks).
QString withoutQuotes(const QString &value)
{
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

QString withoutTrailingBlanks(QString text)
{
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

QString GetPrivateProfileString(const QString &section, const QString &key, const QString &defaultValue,
                                const QString &path)
{
    const QString fallback = withoutTrailingBlanks(defaultValue).left(kMaxValueLength);
    const std::optional<QByteArray> bytes = readProfile(path);
    if (!bytes)
        return fallback;
    const std::optional<QString> value = ProfileText(*bytes).Value(section, key);
    if (!value)
        return fallback;
    return withoutQuotes(*value).left(kMaxValueLength);
}

bool WritePrivateProfileString(const QString &section, const QString &key, const QString &value,
                               const QString &path)
{
    QByteArray bytes;
    if (QFileInfo::exists(path)) {
        // Never replace a file whose old content could not be read: it would be lost.
        const std::optional<QByteArray> old = readProfile(path);
        if (!old)
            return false;
        bytes = *old;
    }
    ProfileText text(bytes);
    if (!text.SetValue(section, key, value))
        return false;
    return ReplaceFileContents(path, text.Bytes()) == ReplaceResult::Ok;
}

bool StrToIntChecked(const QString &text, int &value)
{
    QString s = text;
    if (s.size() > 2 && s[0] == QLatin1Char('0') && (s[1] == QLatin1Char('x') || s[1] == QLatin1Char('X')))
        s = QLatin1Char('$') + s.mid(2);

    qsizetype i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        negative = s[i++] == QLatin1Char('-');
    int base = 10;
    if (i < s.size() && s[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    }
    if (i == s.size())
        return false;

    // The magnitude may reach 2^31 for the most negative number; anything beyond is an overflow.
    constexpr qint64 kLimit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 magnitude = 0;
    for (; i < s.size(); ++i) {
        const int digit = hexDigit(s[i]);
        if (digit < 0 || digit >= base)
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > kLimit)
            return false;
    }
    const qint64 result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(result);
    return true;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    return GetPrivateProfileString(section, key, defaultValue, m_path);
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    int value = 0;
    return StrToIntChecked(ReadString(section, key, QString()), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value) const
{
    if (!MakeParentFolders(m_path) || !WritePrivateProfileString(section, key, value, m_path))
        throw Exception(QStringLiteral("nach ") + m_path + QStringLiteral(" kann nicht geschrieben werden"));
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value) const
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value) const
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace platform
