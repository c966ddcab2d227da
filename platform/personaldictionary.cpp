#include "personaldictionary.h"

#include "errorreason.h"
#include "exception.h"
#include "files.h"
#include "programfolders.h"

#include <QFile>

#include <algorithm>

namespace platform {

TPersonalDictionary::TPersonalDictionary(QString path) : m_path(std::move(path))
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString word = QString::fromUtf8(line).trimmed();
        if (!word.isEmpty())
            m_words.insert(word);
    }
}

bool TPersonalDictionary::Contains(const QString &word) const
{
    if (m_words.contains(word))
        return true;
    if (word.isEmpty() || !word.at(0).isUpper())
        return false;
    QString lowered = word;
    lowered[0] = lowered.at(0).toLower();
    return m_words.contains(lowered);
}

void TPersonalDictionary::Add(const QString &word)
{
    if (word.isEmpty() || m_words.contains(word))
        return;
    QStringList words(m_words.begin(), m_words.end());
    words << word;
    std::sort(words.begin(), words.end());
    const QByteArray bytes = words.join(QLatin1Char('\n')).toUtf8() + '\n';
    int errorCode = 0;
    MakeParentFolders(m_path);
    if (ReplaceFileContents(m_path, bytes, &errorCode) != ReplaceResult::Ok)
        throw Exception(QStringLiteral("Datei %1 kann nicht erstellt werden (%2)")
                            .arg(ReadableFileName(m_path), ErrorCodeText(errorCode)));
    m_words.insert(word);
}

} // namespace platform
