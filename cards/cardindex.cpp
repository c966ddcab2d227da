#include "cardindex.h"

#include "cardmatcher.h"
#include "files.h"
#include "rtfplaintext.h"
#include "rtfreader.h"

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
    for (auto &[name, entry] : m_entries)
        entry.stale = true;
}

void TCardIndex::FileTouched(const QString &fileName)
{
    const auto it = m_entries.find(fileName);
    if (it != m_entries.end())
        it->second.stale = true;
}

namespace {

// The card's text as the editor shows it: RTF through the reader's own
// interpreter, anything else as plain text.
QString cardText(const QByteArray &bytes)
{
    if (rtf::RtfReader::looksLikeRtf(bytes))
        return rtf::PlainText(bytes);
    // A Linux editor saves UTF-8, the program itself Windows-1252; CR LF,
    // lone CR and lone LF are one line end each.
    QString text = platform::DecodeUtf8OrWindows1252(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

TCardIndex::Entry *TCardIndex::EntryFor(const QString &fileName)
{
    Entry &entry = m_entries[fileName];
    if (entry.fileName.isNull())
        entry.fileName = fileName;
    return &entry;
}

const TCardIndex::Card &TCardIndex::FreshCard(Entry *entry)
{
    if (!entry->stale && entry->epoch != m_epoch) {
        // Something in the folder changed since this card was last looked at.
        const platform::FileStamp now = platform::StampOf(entry->fileName);
        if ((now.exists ? now.size : -1) != entry->size || now.modifiedNs != entry->modified)
            entry->stale = true;
        entry->epoch = m_epoch;
    }
    if (entry->stale)
        read(*entry);
    return entry->card;
}

void TCardIndex::read(Entry &entry)
{
    ++m_filesRead;
    entry.stale = false;
    entry.epoch = m_epoch;
    entry.card = Card{};
    entry.size = -1;
    // A FIFO named like a card would block here for good, a device read for
    // ever: neither is a card, and neither has a text.
    QByteArray bytes;
    platform::FileStamp read;
    if (!platform::ReadRegularFile(entry.fileName, bytes, &read))
        return;
    entry.size = read.size;
    entry.modified = read.modifiedNs;
    entry.card.folded = FoldForIndex(cardText(bytes), m_german);
    entry.card.folded.squeeze();
    entry.card.readable = true;
}

qsizetype TCardIndex::HeldBytes() const
{
    qsizetype total = 0;
    for (const auto &[name, entry] : m_entries)
        total += entry.card.folded.capacity();
    return total;
}

} // namespace cards
