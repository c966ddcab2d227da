#pragma once
// Crash recovery: a few seconds after typing stops, and at the latest every
// few seconds while it goes on, the current card's text goes to a recovery
// file outside the card folder, so a crash or power loss between save points
// loses at most those seconds. A card written at a save point, or a normal
// end, drops its recovery. A recovery remembers which content of the card's
// file the text was based on, so the next start can tell whether the card
// changed meanwhile.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QTimer>
#include <functional>

namespace cards {

// The one place that says where recoveries live: the user's state folder
// ($XDG_STATE_HOME, else ~/.local/state) + "Kartolino/". A portable setup
// points it elsewhere, never inside the card folder.
QString RecoveryFolder();

class TRecovery {
public:
    static constexpr int kDefaultDelayMs = 3000;
    static constexpr int kDefaultLongestDelayMs = 10000;

    struct Entry {
        QString cardFile;     // the card the text belongs to
        QString recoveryFile; // where the text is
        QDateTime written;
        QByteArray basis;     // ContentHash of the card file the text grew from; empty when unknown
    };

    // currentCardFile gives the file of the card whose text the editor holds
    // (empty for none); content gives that text as RTF.
    TRecovery(QString folder, std::function<QString()> currentCardFile, std::function<QByteArray()> content);

    // Where a failed write in the background is said; without it, the error box.
    std::function<void(const QString &message)> OnFailure;

    const QString &Folder() const { return m_folder; }
    // The pause in typing after which the text is written.
    void SetDelay(int ms) { m_timer.setInterval(ms); }
    int Delay() const { return m_timer.interval(); }
    // The longest time typed text waits, however steady the typing.
    void SetLongestDelay(int ms) { m_longest.setInterval(ms); }
    bool Pending() const { return m_timer.isActive() || m_longest.isActive(); }

    // Gives the ContentHash of the card file that the editor's text of
    // cardFile is based on (what the program last read or wrote there).
    std::function<QByteArray(const QString &cardFile)> BasisOf;

    // The editor's text changed: write it once typing has paused, or once
    // the longest delay has passed since the first change not yet written.
    void ContentChanged();
    // Writes the current card's recovery now. Throws platform::Exception when
    // the file cannot be written; the previous recovery then stays whole.
    void WriteNow();
    // The card's file now holds the editor's text (or the card is gone).
    void CardWritten(const QString &cardFile);
    // The card now has another file: its recovery moves along.
    void Renamed(const QString &oldCardFile, const QString &newCardFile);
    // A normal end: nothing of this run needs recovering.
    void EndOfRun();

    // The recovery file of a card: one per card file, never shared.
    QString FileFor(const QString &cardFile) const;
    // Every recovery whose card lives in cardDir, in no particular order.
    QList<Entry> EntriesIn(const QString &cardDir) const;
    // The recovery's RTF, as the editor can load it; empty when unreadable.
    static QByteArray ContentOf(const QString &recoveryFile);
    // The basis the recovery's text grew from; empty when unknown.
    static QByteArray BasedOn(const QString &recoveryFile);

private:
    void drop(const QString &cardFile);

    QString m_folder;
    std::function<QString()> m_currentCardFile;
    std::function<QByteArray()> m_content;
    QTimer m_timer;
    QTimer m_longest;
    QSet<QString> m_writtenThisRun;
    bool m_failureShown = false;
};

} // namespace cards
