#include "mybib.h"

#include "files.h"

namespace cards {

void ListFiles(QString folder, const QString &mask, QStringList &list, ListFilesOptions options)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    QStringList found;
    if (!platform::FindEntries(folder, mask, found) || found.isEmpty())
        return;
    if (!(options & lfAppend))
        list.clear();
    const QString prefix = (options & lfWithFolder) ? folder : QString();
    for (const QString &name : std::as_const(found))
        list.append(prefix + ((options & lfBaseName) ? ExtractBaseName(name) : name));
}

QString ExtractBaseName(const QString &path)
{
    qsizetype start = 0;
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path.at(i);
        if (c == QLatin1Char('/')) {
            start = i + 1;
            break;
        }
    }
    const QString name = path.mid(start);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

} // namespace cards
