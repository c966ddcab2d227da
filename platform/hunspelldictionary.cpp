#include "hunspelldictionary.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <hunspell/hunspell.hxx>
#include <iconv.h>

#include <algorithm>

namespace platform {

namespace {

bool isUtf8(const QByteArray &name)
{
    const QByteArray n = name.toUpper();
    return n.isEmpty() || n == "UTF-8" || n == "UTF8";
}

bool isLatin1(const QByteArray &name)
{
    const QByteArray n = name.toUpper();
    return n == "ISO8859-1" || n == "ISO-8859-1" || n == "LATIN1";
}

// Through iconv, for the 8-bit encodings other than Latin-1 (ISO8859-15,
// KOI8-R, ...). Empty when a character cannot be converted.
QByteArray iconvert(const QByteArray &from, const QByteArray &to, const QByteArray &bytes, bool &ok)
{
    ok = false;
    iconv_t cd = iconv_open(to.constData(), from.constData());
    if (cd == iconv_t(-1))
        return {};
    QByteArray out(bytes.size() * 4 + 4, '\0');
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char *dst = out.data();
    size_t outLeft = size_t(out.size());
    ok = iconv(cd, &in, &inLeft, &dst, &outLeft) != size_t(-1) && inLeft == 0;
    iconv_close(cd);
    out.truncate(out.size() - int(outLeft));
    return ok ? out : QByteArray();
}

QString languageOf(const QString &localeName)
{
    QString name = localeName.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    return name;
}

} // namespace

QStringList SystemDictionaryFolders()
{
    QStringList folders{QStringLiteral("/usr/share/hunspell")};
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString &dir : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString folder = QDir::cleanPath(dir + QStringLiteral("/hunspell"));
        if (!folders.contains(folder))
            folders << folder;
    }
    return folders;
}

QStringList InstalledDictionaries(const QStringList &folders)
{
    QSet<QString> found;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QFileInfo &aff : dir.entryInfoList({QStringLiteral("*.aff")}, QDir::Files | QDir::Readable)) {
            if (QFileInfo(dir.filePath(aff.completeBaseName() + QStringLiteral(".dic"))).isReadable())
                found.insert(aff.completeBaseName());
        }
    }
    QStringList list(found.begin(), found.end());
    list.sort();
    return list;
}

QStringList DefaultDictionaries(const QString &localeName, const QStringList &installed)
{
    QString own = languageOf(localeName);
    if (own.isEmpty() || own == QLatin1String("C") || own == QLatin1String("POSIX"))
        own = QStringLiteral("de_DE");
    const QString language = own.section(QLatin1Char('_'), 0, 0);
    QStringList result;
    if (installed.contains(own)) {
        result << own;
    } else {
        const QString preferred = language == QLatin1String("de") ? QStringLiteral("de_DE")
                                  : language == QLatin1String("en") ? QStringLiteral("en_US")
                                                                    : QString();
        if (!preferred.isEmpty() && installed.contains(preferred))
            result << preferred;
        else {
            const auto same = std::find_if(installed.begin(), installed.end(), [&](const QString &l) {
                return l.section(QLatin1Char('_'), 0, 0) == language;
            });
            if (same != installed.end())
                result << *same;
        }
    }
    if (installed.contains(QStringLiteral("en_US")) && !result.contains(QStringLiteral("en_US")))
        result << QStringLiteral("en_US");
    return result;
}

THunspellDictionary::THunspellDictionary(const QString &language, const QStringList &folders) : m_language(language)
{
    for (const QString &folder : folders) {
        const QString base = QDir(folder).filePath(language);
        const QString aff = base + QStringLiteral(".aff");
        const QString dic = base + QStringLiteral(".dic");
        if (!QFileInfo(aff).isReadable() || !QFileInfo(dic).isReadable())
            continue;
        m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData());
        const QByteArray encoding = QByteArray::fromStdString(m_hunspell->get_dict_encoding());
        m_encoding = isUtf8(encoding) ? QByteArray() : encoding;
        return;
    }
}

THunspellDictionary::~THunspellDictionary() = default;

bool THunspellDictionary::encode(const QString &word, std::string &out) const
{
    if (m_encoding.isEmpty()) {
        out = word.toStdString();
        return true;
    }
    if (isLatin1(m_encoding)) {
        for (const QChar c : word)
            if (c.unicode() > 0xFF)
                return false;
        out = word.toLatin1().toStdString();
        return true;
    }
    bool ok = false;
    const QByteArray bytes = iconvert("UTF-8", m_encoding, word.toUtf8(), ok);
    out = bytes.toStdString();
    return ok;
}

QString THunspellDictionary::decode(const std::string &bytes) const
{
    const QByteArray raw = QByteArray::fromStdString(bytes);
    if (m_encoding.isEmpty())
        return QString::fromUtf8(raw);
    if (isLatin1(m_encoding))
        return QString::fromLatin1(raw);
    bool ok = false;
    return QString::fromUtf8(iconvert(m_encoding, "UTF-8", raw, ok));
}

bool THunspellDictionary::Spell(const QString &word) const
{
    std::string encoded;
    return m_hunspell && encode(word, encoded) && m_hunspell->spell(encoded);
}

QStringList THunspellDictionary::Suggest(const QString &word) const
{
    std::string encoded;
    QStringList result;
    if (!m_hunspell || !encode(word, encoded))
        return result;
    for (const std::string &s : m_hunspell->suggest(encoded)) {
        const QString suggestion = decode(s);
        if (!suggestion.isEmpty())
            result << suggestion;
    }
    return result;
}

} // namespace platform
