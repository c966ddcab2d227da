#include "conflictcopies.h"

#include "cardorder.h"
#include "files.h"
#include "mybib.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace cards {

std::optional<ConflictCopy> ParseConflictCopy(const QString &baseName)
{
    // The whole row is ordered at every insertion: most names need no pattern.
    if (!baseName.contains(QStringLiteral(".sync-conflict-")) && !baseName.contains(QStringLiteral("conflicted copy")))
        return std::nullopt;
    static const QRegularExpression syncthing(QStringLiteral(R"(^(.+)\.sync-conflict-(\d{8})-(\d{6})-[A-Za-z0-9]+$)"));
    static const QRegularExpression nextcloud(
        QStringLiteral(R"(^(.+) \(conflicted copy (?:.* )?(\d{4}-\d{2}-\d{2}) (\d{6})\)$)"));
    static const QRegularExpression dropbox(
        QStringLiteral(R"(^(.+) \(.*conflicted copy (\d{4}-\d{2}-\d{2})(?: \(\d+\))?\)$)"));
    QRegularExpressionMatch m = syncthing.match(baseName);
    if (m.hasMatch()) {
        const QDateTime when = QDateTime::fromString(m.captured(2) + m.captured(3), QStringLiteral("yyyyMMddHHmmss"));
        if (when.isValid())
            return ConflictCopy{m.captured(1), when, true};
    }
    m = nextcloud.match(baseName);
    if (m.hasMatch()) {
        const QDateTime when = QDateTime::fromString(m.captured(2) + m.captured(3), QStringLiteral("yyyy-MM-ddHHmmss"));
        if (when.isValid())
            return ConflictCopy{m.captured(1), when, true};
    }
    m = dropbox.match(baseName);
    if (m.hasMatch()) {
        const QDate day = QDate::fromString(m.captured(2), QStringLiteral("yyyy-MM-dd"));
        if (day.isValid())
            return ConflictCopy{m.captured(1), QDateTime(day, QTime(0, 0)), false};
    }
    return std::nullopt;
}

QString ConflictCaption(const ConflictCopy &copy)
{
    const QString when = copy.when.toString(copy.hasTime ? QStringLiteral("dd.MM.yyyy HH:mm") : QStringLiteral("dd.MM.yyyy"));
    return copy.card + QStringLiteral(" (Konflikt %1)").arg(when);
}

QList<int> OrderWithConflictCopies(const QStringList &baseNames)
{
    QHash<QString, int> cardAt; // folded name -> index, as the card folder ignores case
    QList<std::optional<ConflictCopy>> copies;
    for (int i = 0; i < baseNames.size(); ++i) {
        copies.append(ParseConflictCopy(baseNames.at(i)));
        if (!copies.last())
            cardAt.insert(baseNames.at(i).toCaseFolded(), i);
    }
    QHash<int, QList<int>> after;
    for (int i = 0; i < baseNames.size(); ++i)
        if (copies.at(i) && cardAt.contains(copies.at(i)->card.toCaseFolded()))
            after[cardAt.value(copies.at(i)->card.toCaseFolded())].append(i);
    QList<int> order;
    for (int i = 0; i < baseNames.size(); ++i) {
        if (copies.at(i) && cardAt.contains(copies.at(i)->card.toCaseFolded()))
            continue; // placed behind its card
        order.append(i);
        QList<int> own = after.value(i);
        std::stable_sort(own.begin(), own.end(), [&](int a, int b) { return copies.at(a)->when < copies.at(b)->when; });
        order.append(own);
    }
    return order;
}

QList<int> CardListOrder(const QStringList &fileNames)
{
    QList<int> sorted(fileNames.size());
    QList<QByteArray> keys;
    keys.reserve(fileNames.size());
    for (int i = 0; i < fileNames.size(); ++i) {
        sorted[i] = i;
        keys.append(CardOrderKey(fileNames.at(i)));
    }
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) { return keys.at(a) < keys.at(b); });
    QStringList baseNames;
    baseNames.reserve(fileNames.size());
    for (const int i : std::as_const(sorted))
        baseNames.append(ExtractBaseName(platform::ReadableFileName(fileNames.at(i))));
    QList<int> order;
    order.reserve(fileNames.size());
    for (const int i : OrderWithConflictCopies(baseNames))
        order.append(sorted.at(i));
    return order;
}

QString CardCaption(const QString &fileName)
{
    const QString name = ExtractBaseName(platform::ReadableFileName(fileName));
    const std::optional<ConflictCopy> copy = ParseConflictCopy(name);
    return copy ? ConflictCaption(*copy) : name;
}

} // namespace cards
