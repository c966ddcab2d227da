#pragma once
// Watches the current card's file for other programs' writes (a word
// processor opened through the hand-off, a sync tool, an editor). The stamp
// of what the program wrote or loaded itself is given; a file that no
// longer matches it may have been changed by someone else (whether its
// content changed is the card store's to decide).

#include "files.h"

#include <QFileSystemWatcher>
#include <QString>
#include <functional>

namespace cards {

class TCardWatcher {
public:
    TCardWatcher();

    // The program has just loaded or written path, which then had stamp.
    void Watch(const QString &path, const platform::FileStamp &stamp);
    const QString &Path() const { return m_path; }

    // Raised (on the GUI thread) when the watched file got a stamp other
    // than its known one, once per stamp.
    std::function<void()> OnChanged;

private:
    void check();

    QFileSystemWatcher m_watcher;
    QString m_path;
    platform::FileStamp m_reported;
};

} // namespace cards
