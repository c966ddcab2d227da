#pragma once
// Crash recovery: a few seconds after typing stops, and at the latest every
// few seconds while it goes on, the current card's text goes to a recovery
// file outside the card folder, so a crash or power loss between save points
// loses at most those seconds. A card written at a save point, or a normal
// end, drops its recovery. A recovery remembers which content of the card's
// file the text was based on, so the next start can tell whether the card
// changed meanwhile. The text is copied on the GUI thread and written on a
// thread of its own, so a big card's write does not hold up the typing.

#include "serialqueue.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>

class QObject;

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

    // What makes the RTF of the text. Taken on the GUI thread, it runs on
    // the writing thread, so it holds a copy of the text, not the editor.
    using Content = std::function<QByteArray()>;

    // currentCardFile gives the file of the card whose text the editor holds
    // (empty for none); content takes a copy of that text.
    TRecovery(QString folder, std::function<QString()> currentCardFile, std::function<Content()> content);
    // Waits for the writes still queued or running.
    ~TRecovery();
    TRecovery(const TRecovery &) = delete;
    TRecovery &operator=(const TRecovery &) = delete;

    // Takes the copy over turns of the event loop, where set, so that not
    // even the copy of a big card holds up the typing: calls ready, never
    // before it returned, with what makes the RTF once it has the copy, or
    // with an empty Content when the text went meanwhile. It returns the copy
    // under way, whose destruction abandons it. Without it the constructor's
    // content takes the copy at once.
    using Ready = std::function<void(Content)>;
    std::function<std::unique_ptr<QObject>(Ready ready)> CopyLater;

    // The text as RTF made on the calling thread, for the writes that wait
    // (WriteNow): cheaper than a copy made RTF. Without it, they take a copy.
    std::function<QByteArray()> ContentNow;

    // Where a failed write in the background is said, on the GUI thread, once
    // until a write succeeds again; without it, the error box.
    std::function<void(const QString &message)> OnFailure;

    const QString &Folder() const { return m_folder; }
    // The pause in typing after which the text is written.
    void SetDelay(int ms) { m_timer.setInterval(ms); }
    int Delay() const { return m_timer.interval(); }
    // The longest time typed text waits, however steady the typing.
    void SetLongestDelay(int ms) { m_longest.setInterval(ms); }
    bool Pending() const { return m_timer.isActive() || m_longest.isActive() || m_copying; }

    // Gives the ContentHash of the card file that the editor's text of
    // cardFile is based on (what the program last read or wrote there).
    std::function<QByteArray(const QString &cardFile)> BasisOf;

    // The editor's text changed: a copy of it is written once typing has
    // paused, or once the longest delay has passed since the first change not
    // yet written. The copy is taken then; the writing thread writes the
    // copies in turn, so a later text is never overwritten by an earlier one.
    void ContentChanged();
    // Writes the current card's recovery now, after the writes still queued,
    // and returns once it is written. Throws platform::Exception when the
    // file cannot be written; the previous recovery then stays whole.
    void WriteNow();
    // The card's file now holds the editor's text (or the card is gone): its
    // recovery goes, and a write of it still queued or running never lands.
    void CardWritten(const QString &cardFile);
    // The card now has another file: its recovery moves along.
    void Renamed(const QString &oldCardFile, const QString &newCardFile);
    // A normal end: nothing of this run needs recovering, and no write still
    // queued lands.
    void EndOfRun();
    // Returns once every write handed to the writing thread is done.
    void WaitForWrites();

    // The recovery file of a card: one per card file, never shared.
    QString FileFor(const QString &cardFile) const;
    // Every recovery whose card lives in cardDir, in no particular order.
    QList<Entry> EntriesIn(const QString &cardDir) const;
    // The recovery's RTF, as the editor can load it; empty when unreadable.
    static QByteArray ContentOf(const QString &recoveryFile);
    // The basis the recovery's text grew from; empty when unknown.
    static QByteArray BasedOn(const QString &recoveryFile);

private:
    // Stops the timers: the file of the card whose text is due, empty for none.
    QString due();
    void writeLater();
    // Hands the copy to the writing thread, with the card's basis and drops as they are now.
    void queue(const QString &cardFile, Content content);
    void abandonCopy();
    void failed(const QString &message);
    quint64 dropsOf(const QString &cardFile);
    // On either thread: lands unless the card's recovery was dropped since
    // drops was counted.
    void write(const QString &cardFile, const QByteArray &basis, const Content &content, quint64 drops);
    void drop(const QString &cardFile);

    QString m_folder;
    std::function<QString()> m_currentCardFile;
    std::function<Content()> m_content;
    QTimer m_timer;
    QTimer m_longest;
    QSet<QString> m_writtenThisRun;
    std::unique_ptr<QObject> m_copying; // the copy under way, of m_copyingFor
    QString m_copyingFor;
    std::atomic<bool> m_failureShown = false; // in the order of the writes
    // Held while a write lands and while a recovery is dropped; a drop counts,
    // so a write whose copy was taken before it never lands.
    QMutex m_landing;
    QHash<QString, quint64> m_drops;
    TSerialQueue m_writer; // last: it goes first, waiting for its writes
};

} // namespace cards
