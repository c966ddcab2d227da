#pragma once
// Watches the current card's file for other programs' writes (a word
// processor opened through the hand-off, a sync tool, an editor). What the
// program wrote or loaded itself is remembered as a stamp; a file that no
// longer matches it was changed by someone else.

#include <QFileSystemWatcher>
#include <QString>
#include <functional>

namespace cards {

struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    bool operator==(const FileStamp &) const = default;
};
FileStamp StampOf(const QString &path);

class TCardWatcher {
public:
    TCardWatcher();

    // The program has just loaded or written path: that state is its own.
    void Watch(const QString &path);
    const QString &Path() const { return m_path; }
    // Someone else has written path since: it exists and differs from the
    // program's own state. A deleted file is no change of content.
    bool ChangedOnDisk(const QString &path) const;

    // Raised (on the GUI thread) when another program has written the
    // watched file.
    std::function<void()> OnChanged;

private:
    void check();

    QFileSystemWatcher m_watcher;
    QString m_path;
    FileStamp m_stamp;
    FileStamp m_reported;
};

} // namespace cards
