#include "cards/cardindex.h"

#include "cards/cardmatcher.h"
#include "cards/cardtext.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

namespace cards {

TCardIndex::TCardIndex() = default;
TCardIndex::~TCardIndex() = default;

void TCardIndex::SetFolder(const QString &folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    m_watcher = std::make_unique<QFileSystemWatcher>();
    // Creating, replacing, renaming or changing a file in the folder all
    // come here; which file it was is found by its stamp at the next use.
    QObject::connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, m_watcher.get(), [this] { FolderChanged(); });
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        m_watcher->addPath(folder);
    FolderChanged();
}

void TCardIndex::SetGerman(bool german)
{
    if (german == m_german)
        return;
    m_german = german;
    for (Entry &entry : m_entries)
        entry.stale = true;
}

void TCardIndex::FileTouched(const QString &fileName)
{
    const auto it = m_entries.find(fileName);
    if (it != m_entries.end())
        it->stale = true;
}

const TCardIndex::Card &TCardIndex::Text(const QString &fileName)
{
    Entry &entry = m_entries[fileName];
    if (!entry.stale && entry.epoch != m_epoch) {
        // Something in the folder changed since this card was last looked at.
        const QFileInfo info(fileName);
        if (info.size() != entry.size || info.lastModified() != entry.modified || info.isFile() != entry.card.readable)
            entry.stale = true;
        entry.epoch = m_epoch;
    }
    if (entry.stale)
        read(fileName, entry);
    return entry.card;
}

void TCardIndex::read(const QString &fileName, Entry &entry)
{
    ++m_filesRead;
    entry.stale = false;
    entry.epoch = m_epoch;
    QFile file(fileName);
    const QFileInfo info(fileName);
    entry.size = info.size();
    entry.modified = info.lastModified();
    // A folder, a device or a file this user may not read is no card text.
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        entry.card = Card{};
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        entry.card = Card{};
        return;
    }
    entry.card.folded = FoldForSearch(CardPlainText(bytes), m_german);
    entry.card.folded.squeeze();
    entry.card.readable = true;
}

qsizetype TCardIndex::HeldCharacters() const
{
    qsizetype total = 0;
    for (const Entry &entry : m_entries)
        total += entry.card.folded.capacity();
    return total;
}

} // namespace cards
