#include "cardindex.h"

#include "cardmatcher.h"
#include "files.h"
#include "rtfplaintext.h"
#include "rtfreader.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The stamp of a file: size and modification time; size -1 when it is no
// regular file.
struct Stamp {
    qint64 size = -1;
    qint64 modified = 0;
};

Stamp stampOf(const struct stat &st)
{
    if (!S_ISREG(st.st_mode))
        return {};
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

Stamp stampOf(const QString &fileName)
{
    struct stat st;
    return ::stat(QFile::encodeName(fileName).constData(), &st) == 0 ? stampOf(st) : Stamp{};
}

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
        const Stamp now = stampOf(entry->fileName);
        if (now.size != entry->size || now.modified != entry->modified)
            entry->stale = true;
        entry->epoch = m_epoch;
    }
    if (entry->stale)
        read(*entry);
    return entry->card;
}

void TCardIndex::read(Entry &entry)
{
    // Plain system calls: this runs for every card at the first search.
    ++m_filesRead;
    entry.stale = false;
    entry.epoch = m_epoch;
    entry.card = Card{};
    entry.size = -1;
    const int fd = ::open(QFile::encodeName(entry.fileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st;
    const Stamp stamp = ::fstat(fd, &st) == 0 ? stampOf(st) : Stamp{};
    // A folder, a device or a file this user may not read is no card text.
    QByteArray bytes;
    bool ok = stamp.size >= 0;
    if (ok) {
        bytes.resize(stamp.size);
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, std::size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            done += n;
        }
        bytes.truncate(done);
    }
    ::close(fd);
    if (!ok)
        return;
    entry.size = stamp.size;
    entry.modified = stamp.modified;
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
