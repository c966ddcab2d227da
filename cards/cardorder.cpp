#include "cardorder.h"

#include "files.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace cards {

QByteArray CardOrderKey(const QString &fileName)
{
    QByteArray bytes = platform::EncodeFileName(fileName);
    if (bytes == fileName.toUtf8())
        return fileName.toUpper().toUtf8();
    for (char &c : bytes)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return bytes;
}

void SortCardFiles(QStringList &fileNames)
{
    // Each key once, not once per comparison: a folder may hold thousands of cards.
    std::vector<std::pair<QByteArray, QString>> keyed;
    keyed.reserve(std::size_t(fileNames.size()));
    for (const QString &name : std::as_const(fileNames))
        keyed.emplace_back(CardOrderKey(name), name);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (qsizetype i = 0; i < fileNames.size(); ++i)
        fileNames[i] = std::move(keyed[std::size_t(i)].second);
}

int CardOrderPosition(const QStringList &sortedFileNames, const QString &fileName)
{
    const QByteArray key = CardOrderKey(fileName);
    const auto at = std::upper_bound(sortedFileNames.begin(), sortedFileNames.end(), key,
                                     [](const QByteArray &k, const QString &name) { return k < CardOrderKey(name); });
    return int(at - sortedFileNames.begin());
}

} // namespace cards
