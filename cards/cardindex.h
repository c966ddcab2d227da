#pragma once
// The search text of every card, kept folded for the matcher so that a
// search over thousands of cards reads no file. A card's text is read on
// first use and read again once its file has been written, loaded or
// changed by anyone.

#include <QDateTime>
#include <QHash>
#include <QString>
#include <memory>

class QFileSystemWatcher;

namespace cards {

class TCardIndex {
public:
    struct Card {
        QString folded;       // FoldForSearch of the card's text
        bool readable = false;
    };

    TCardIndex();
    ~TCardIndex();

    // Watches this folder: any change there makes every card check its file
    // again at its next use.
    void SetFolder(const QString &folder);
    // The folding the stored texts are in; a change reads every card anew.
    void SetGerman(bool german);
    bool German() const { return m_german; }

    // The card of this file, read when it is new to the index or its file changed.
    const Card &Text(const QString &fileName);
    // The file has just been written or read: its text is read again at its next use.
    void FileTouched(const QString &fileName);
    // The folder changed (the watcher calls it).
    void FolderChanged() { ++m_epoch; }

    // Characters held for all cards, and the files read so far (both for measuring).
    qsizetype HeldCharacters() const;
    int FilesRead() const { return m_filesRead; }

private:
    struct Entry {
        Card card;
        QDateTime modified;
        qint64 size = -1;
        quint64 epoch = 0;
        bool stale = true;
    };
    void read(const QString &fileName, Entry &entry);

    QHash<QString, Entry> m_entries;
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    QString m_folder;
    quint64 m_epoch = 1;
    bool m_german = false;
    int m_filesRead = 0;
};

} // namespace cards
