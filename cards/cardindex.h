#pragma once
// The search text of every card, kept folded for the matcher so that a
// search over thousands of cards reads no file. A card's text is read on
// first use and read again once its file has been written, loaded or
// changed by anyone.

#include <QByteArray>
#include <QHash> // std::hash of QString
#include <unordered_map>
#include <QString>
#include <memory>

class QFileSystemWatcher;

namespace cards {

class TCardIndex {
public:
    struct Card {
        QByteArray folded;    // FoldForIndex of the card's text
        bool readable = false;
    };

    TCardIndex();
    ~TCardIndex();

    // Watches this folder: a file made, replaced, renamed or removed there
    // makes every card check its file's stamp at its next use. (Files
    // written in place are caught by FolderChanged, which the find bar calls
    // whenever it opens: watching 10,000 files one by one costs too much.)
    void SetFolder(const QString &folder);
    // The folding the stored texts are in; a change reads every card anew.
    void SetGerman(bool german);
    bool German() const { return m_german; }

    // The index's entry for a file, made on first ask; it stays valid as
    // long as the index.
    struct Entry;
    Entry *EntryFor(const QString &fileName);
    // The entry's card as its file now is: read when it is new to the
    // index or its file changed.
    const Card &FreshCard(Entry *entry);
    const Card &FreshCard(const QString &fileName) { return FreshCard(EntryFor(fileName)); }
    // The file has just been written or read: its text is read again at its next use.
    void FileTouched(const QString &fileName);
    // The folder changed (the watcher calls it).
    void FolderChanged() { ++m_epoch; }

    // Bytes held for the texts of all cards, and the files read so far (both for measuring).
    qsizetype HeldBytes() const;
    int FilesRead() const { return m_filesRead; }

    struct Entry {
        QString fileName;
        Card card;
        qint64 modified = 0; // ns
        qint64 size = -1;
        quint64 epoch = 0;
        bool stale = true;
    };

private:
    void read(Entry &entry);

    std::unordered_map<QString, Entry> m_entries;
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    QString m_folder;
    quint64 m_epoch = 1;
    bool m_german = false;
    int m_filesRead = 0;
};

} // namespace cards
