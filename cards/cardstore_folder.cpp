// The card store following the folder while the program runs: cards that
// arrive, go or are renamed by other programs (a sync tool, a file manager).

#include "cardstore.h"

#include "conflictcopies.h"
#include "files.h"
#include "guarded.h"
#include "mybib.h"
#include "tabcontrol.h"

#include <QElapsedTimer>

namespace cards {

namespace {

qint64 nowMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; }

} // namespace

bool IsUnclosedRtf(const QByteArray &bytes)
{
    if (!bytes.startsWith("{\\rtf"))
        return false;
    qsizetype end = bytes.size();
    while (end > 0 && isBlank(bytes.at(end - 1)))
        --end;
    return bytes.at(end - 1) != '}';
}

bool TCardStore::IsArrivingCardName(const QString &fileName)
{
    // Dot files (Syncthing's ".syncthing.*.tmp", office locks ".~lock.*#",
    // editor locks) and the temporary names of other engines.
    return !fileName.startsWith(QLatin1Char('.')) && !fileName.startsWith(QStringLiteral("~syncthing~"))
           && !fileName.endsWith(QStringLiteral(".part"), Qt::CaseInsensitive)
           && fileName.endsWith(QStringLiteral(".rtf"), Qt::CaseInsensitive);
}

void TCardStore::WatchFolder()
{
    if (!m_arrivalLook) {
        // A second apart: a file must keep its stamp from one look to the next.
        m_arrivalLook = std::make_unique<QTimer>();
        m_arrivalLook->setSingleShot(true);
        m_arrivalLook->setInterval(1000);
        QObject::connect(m_arrivalLook.get(), &QTimer::timeout, m_arrivalLook.get(), [this] {
            platform::Guarded([this] {
                FolderChanges changes;
                if (FollowFolder(changes))
                    m_arrivalLook->start();
                tellFollowed(changes);
            });
        });
    }
    m_folderWatch = std::make_unique<QFileSystemWatcher>();
    QObject::connect(m_folderWatch.get(), &QFileSystemWatcher::directoryChanged, m_arrivalLook.get(),
                     [this] { m_arrivalLook->start(); });
    if (platform::DirectoryExists(m_cardDir))
        m_folderWatch->addPath(m_cardDir);
}

void TCardStore::tellFollowed(const FolderChanges &changes)
{
    if (changes.Any() && OnFollowed)
        OnFollowed(changes);
}

int TCardStore::followRename(int index, const QString &fileName, const platform::FileStamp &stamp, bool reorder)
{
    m_listed = listedTabs();
    const QString oldPath = CardPath(index);
    ListedCard &card = m_listed[index];
    card.caption = CardCaption(fileName);
    card.fileName = fileName;
    card.stamp = stamp;
    m_tabs->PutTab(index, card.caption);
    m_missing.remove(oldPath);
    FileRenamed(oldPath, m_cardDir + fileName);
    if (!reorder) {
        m_orderStale = true;
        return index;
    }
    return putInCardOrder(index);
}

bool TCardStore::followCurrentRename(FolderChanges &changes, bool reorder)
{
    const int index = m_editorCard;
    if (index < 0 || m_known.hash.isEmpty() || CardPath(index) != m_known.path)
        return false;
    QStringList files;
    ListFiles(m_cardDir, QStringLiteral("*.rtf"), files, 0);
    QSet<QString> tabbed;
    for (int i = 0; i < m_tabs->TabCount(); ++i)
        tabbed.insert(CardPath(i));
    for (const QString &file : std::as_const(files)) {
        const QString path = m_cardDir + file;
        // Only a file of the known size can hold the known bytes: few are read.
        if (tabbed.contains(path) || !IsArrivingCardName(file) || platform::StampOf(path).size != m_known.stamp.size)
            continue;
        QByteArray bytes;
        platform::FileStamp stamp;
        if (!platform::ReadRegularFile(path, bytes, &stamp) || ContentHash(bytes) != m_known.hash)
            continue;
        const QString oldPath = m_known.path;
        followRename(index, file, stamp, reorder);
        m_known.stamp = stamp;
        m_arriving.remove(path);
        changes.renamed.append({oldPath, path, true});
        if (m_arrivalLook)
            m_arrivalLook->start();
        return true;
    }
    return false;
}

bool TCardStore::FollowFolder(FolderChanges &changes)
{
    QStringList files;
    ListFiles(m_cardDir, QStringLiteral("*.rtf"), files, 0);
    if (files.isEmpty()) {
        // Emptied or gone as a whole (an unmounted drive, a sync engine that
        // removed everything): the tabs stay, and the main window says so.
        m_missing.clear();
        m_arriving.clear();
        return false;
    }
    QSet<QString> present;
    for (const QString &file : std::as_const(files))
        present.insert(m_cardDir + file);
    if (m_editorCard >= 0 && !present.contains(CardPath(m_editorCard)))
        followCurrentRename(changes, true);
    else if (m_editorCard >= 0)
        m_toldKept.clear();

    // Arrivals: settled when the stamp held since the last look and RTF is complete.
    struct Ready {
        QString fileName;
        platform::FileStamp stamp;
        QByteArray hash;
    };
    QVector<Ready> ready;
    QSet<QString> tabbed;
    for (int i = 0; i < m_tabs->TabCount(); ++i)
        tabbed.insert(CardPath(i));
    const qint64 now = nowMs();
    QHash<QString, Settling> seen;
    for (const QString &file : std::as_const(files)) {
        const QString path = m_cardDir + file;
        if (tabbed.contains(path) || !IsArrivingCardName(file))
            continue;
        const platform::FileStamp stamp = platform::StampOf(path);
        if (!stamp.exists)
            continue;
        const Settling was = m_arriving.value(path);
        if (was.stamp != stamp) {
            seen.insert(path, {stamp, now}); // new, or still changing
            continue;
        }
        QByteArray bytes;
        platform::FileStamp read;
        const bool readable = platform::ReadRegularFile(path, bytes, &read);
        if (readable && read != stamp) {
            seen.insert(path, {read, now});
            continue;
        }
        if (readable && IsUnclosedRtf(bytes) && now - was.sinceMs < m_settleGiveUpMs) {
            seen.insert(path, was);
            continue;
        }
        // One that cannot be read still becomes a card: its load says why it fails.
        ready.append({file, stamp, readable ? ContentHash(bytes) : QByteArray()});
    }
    m_arriving = seen;

    // Tabs whose files went: missing at two looks in a row.
    m_listed = listedTabs();
    QSet<QString> missing;
    bool waiting = !m_arriving.isEmpty();
    struct Follow {
        QString path;
        int ready = -1; // the arrival it became, -1 for none
    };
    QVector<Follow> gone;
    for (int i = 0; i < m_tabs->TabCount(); ++i) {
        const QString path = CardPath(i);
        if (present.contains(path))
            continue;
        missing.insert(path);
        if (!m_missing.contains(path)) {
            waiting = true;
            continue;
        }
        const ListedCard &was = m_listed.at(i);
        Follow follow{path};
        for (int r = 0; r < ready.size() && follow.ready < 0; ++r) {
            const Ready &arrival = ready.at(r);
            // Same bytes, or, where the program never read them, the same size
            // and time, which a move and a sync engine keep.
            const bool same = !was.hash.isEmpty() && !arrival.hash.isEmpty()
                                  ? was.hash == arrival.hash
                                  : was.stamp.exists && was.stamp.size == arrival.stamp.size
                                        && was.stamp.modifiedNs == arrival.stamp.modifiedNs;
            bool taken = false;
            for (const Follow &other : std::as_const(gone))
                taken = taken || other.ready == r;
            if (same && !taken)
                follow.ready = r;
        }
        gone.append(follow);
    }
    m_missing = missing;

    auto indexOf = [this](const QString &path) {
        for (int i = 0; i < m_tabs->TabCount(); ++i)
            if (CardPath(i) == path)
                return i;
        return -1;
    };
    for (const Follow &follow : std::as_const(gone)) {
        const int index = indexOf(follow.path);
        if (follow.ready >= 0) {
            const Ready &arrival = ready.at(follow.ready);
            followRename(index, arrival.fileName, arrival.stamp, true);
            changes.renamed.append({follow.path, m_cardDir + arrival.fileName, index == m_editorCard});
            continue;
        }
        if (index == m_editorCard && m_unwritten) {
            // The typed text stays; the next save point writes the card again.
            if (m_toldKept != follow.path)
                changes.currentKept = m_tabs->Tab(index);
            m_toldKept = follow.path;
            continue;
        }
        if (index == m_editorCard)
            changes.currentRemoved = m_tabs->Tab(index);
        changes.removed.append(follow.path);
        m_missing.remove(follow.path);
        m_tabs->DeleteTab(index);
        TabDeleted(index);
    }
    for (int r = 0; r < ready.size(); ++r) {
        bool renamed = false;
        for (const Follow &follow : std::as_const(gone))
            renamed = renamed || follow.ready == r;
        if (renamed)
            continue;
        const Ready &arrival = ready.at(r);
        insertListed({CardCaption(arrival.fileName), arrival.fileName, arrival.stamp, arrival.hash});
        changes.arrived = true;
    }
    if (m_orderStale)
        putInCardOrder(-1);
    SetEditorCard(m_editorCard);
    return waiting;
}

bool TCardStore::CurrentFileUnfinished()
{
    QByteArray bytes;
    platform::FileStamp read;
    if (!platform::ReadRegularFile(m_known.path, bytes, &read) || !IsUnclosedRtf(bytes)) {
        m_currentSettling = {};
        return false;
    }
    const qint64 now = nowMs();
    if (m_currentSettling.stamp != read)
        m_currentSettling = {read, now};
    return now - m_currentSettling.sinceMs < m_settleGiveUpMs;
}

} // namespace cards
