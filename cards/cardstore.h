#pragma once
// The card store: where card files live, how the card list is built, how the
// current card is loaded into the editor and written back, and whether the
// editor's content may differ from the current card's file.

#include "files.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QHash>
#include <QSet>
#include <QTimer>
#include <memory>
#include <QString>
#include <functional>
#include <QVector>

namespace controls {
class TTabControl;
class TRichEdit;
} // namespace controls

namespace cards {

// Shown in the editor while there is no card to type into.
extern const QString kNoCardHint;

// The card folder inside a program folder (which ends in a separator).
QString CardFolderIn(const QString &programFolder);

// What tells two contents of a card file apart: a hash of the bytes.
QByteArray ContentHash(const QByteArray &bytes);

// RTF whose end has not been written yet: it starts as RTF does, but its
// last non-blank byte is not the closing brace.
bool IsUnclosedRtf(const QByteArray &bytes);

// What the program last read from or wrote to the file whose text the
// editor holds.
struct KnownContent {
    QString path;
    platform::FileStamp stamp;
    QByteArray hash;
};

// What a look at the folder followed.
struct FolderChanges {
    struct Renamed {
        QString oldPath, newPath;
        bool current = false; // the card whose text the editor holds
    };
    QVector<Renamed> renamed;
    QStringList removed;    // files whose tabs left
    QString currentRemoved; // caption of the current card that left, nothing typed in it
    QString currentKept;    // caption of the current card whose file went while text was typed in it
    bool arrived = false;
    bool Any() const { return !renamed.isEmpty() || !removed.isEmpty() || !currentKept.isEmpty() || arrived; }
};

class TCardStore {
public:
    TCardStore(controls::TTabControl *tabs, controls::TRichEdit *editor);

    const QString &CardDir() const { return m_cardDir; }
    void SetCardDir(const QString &dir) { m_cardDir = dir; }
    // CardDir + name + ".rtf": the file of a card made or renamed here.
    QString CardFileName(const QString &name) const;
    // The file of the card at tab index, for every access to it: the very
    // file the listing found for that tab while it keeps its caption (the
    // listing ignores case, and a name need not be UTF-8), else
    // CardFileName(caption). Empty for an index that is no tab's.
    QString CardPath(int index) const;

    // The editor's content may differ from the current card's file.
    bool CardModified() const { return m_cardModified; }
    void SetCardModified(bool modified) { m_cardModified = modified; }

    // Text was typed since the program last read or wrote the card's file.
    // Unlike CardModified, a write clears it.
    bool Unwritten() const { return m_unwritten; }
    void SetUnwritten(bool unwritten) { m_unwritten = unwritten; }

    const KnownContent &Known() const { return m_known; }
    // The card's file now has another name; its content is still what is known.
    void FileRenamed(const QString &oldPath, const QString &newPath);
    enum class DiskState { Same, Changed, Gone };
    // Whether the file whose text the editor holds still holds what the
    // program last read or wrote. A new stamp with the same bytes (a touched
    // time, a rewrite of the same content) is Same, and becomes the known stamp.
    DiskState CompareWithDisk();

    // A card named so exists: a tab, or a file in the folder that has no tab
    // (yet), such as one a sync tool delivered.
    bool NameTaken(const QString &name) const;
    // Writes bytes as the new file of card name, never over a file of that
    // name: false when one is there. Throws for other failures.
    bool CreateCardFile(const QString &name, const QByteArray &bytes) const;
    // Writes the editor's text as the current card's new file, as
    // CreateCardFile does; false when a file of that name appeared.
    bool CreateCurrentCard();
    // The editor's text, bytes, is now what path holds: it becomes the known
    // content, and OnWritten is told.
    void KnowWritten(const QString &path, const QByteArray &bytes);
    // The current card's text as its file would hold it.
    QByteArray EditorBytes() const;

    // Follows what other programs (a sync tool, a file manager) did in the
    // folder since the list was built. A file that arrived gets a tab where
    // the card order puts it once its stamp is the same at two looks in a
    // row and it is not RTF still missing its end (given up on after
    // kSettleGiveUpMs without change: no file stays hidden). A tab's file
    // missing at two looks in a row (some programs save by delete and
    // create) is gone: its tab leaves, or follows the arrival with the same
    // content, which is that card renamed. The current card follows a
    // rename at once; gone with text typed in it, its tab stays and the next
    // save point writes it again. A folder without card files is gone as a
    // whole, not every card in it: nothing leaves. Dot files and sync
    // engines' temporary files are never cards. True while a file waits to
    // settle (look again later).
    bool FollowFolder(FolderChanges &changes);
    // Told after a look or a save point changed the tab row or the current card's file.
    std::function<void(const FolderChanges &)> OnFollowed;
    // Whether a name found in the folder may be an arriving card.
    static bool IsArrivingCardName(const QString &fileName);
    static constexpr int kSettleGiveUpMs = 30000;
    // The current card's file changed outside and is RTF not yet closed:
    // look again a moment later, up to kSettleGiveUpMs after its last change.
    bool CurrentFileUnfinished();
    void SetSettleGiveUp(int ms) { m_settleGiveUpMs = ms; }

    // Watches CardDir for arrivals, removals and renames; again after the
    // folder went and came back (a new folder is a new watch).
    void WatchFolder();

    // Makes CardDir when it is missing (one level). False when that failed.
    bool EnsureCardFolder(int *errorCode = nullptr) const;
    // Lists the card files as tabs in card order (cardorder.h), each sync
    // engine's conflict copy right after its card (conflictcopies.h); selects
    // the first. From then on the folder is watched for arrivals.
    void BuildCardList();
    // Adds the tab of a card named name where the name sorts; the selected
    // tab and EditorCard stay with their cards. Returns the new tab's index.
    int InsertCard(const QString &name);
    // The tab at index got a new caption (its file the matching name):
    // moves it where the name sorts, the selection and EditorCard with their
    // cards. Returns the tab's new index.
    int CardRenamed(int index);

    // Loads the current tab's card. On success the editor holds that card;
    // on failure (thrown) the editor keeps what it had. Without a current
    // tab nothing is loaded and the editor holds no card.
    void LoadCurrentCard();
    // Writes the current card, but only the text of that very card: when the
    // editor holds another card's text (after a failed load) nothing is written.
    void SaveCurrentCard();

    // The leaving step: write the current card when it was changed.
    void Leaving();
    // The arriving step: load the now current card and clear CardModified. A
    // failed load selects again the tab whose text the editor still holds.
    void Arriving();

    // The tab whose text the editor holds, -1 for none.
    int EditorCard() const { return m_editorCard; }
    void SetEditorCard(int index);
    // Keeps EditorCard pointing at the same card when a tab goes.
    void TabDeleted(int index);

    // Companions told about the current card's file; each may stay empty.
    // OnBeforeWrite answers false when it has kept the text elsewhere and
    // the card's file must not be written. A failed write tells nobody: the
    // file is then as it was, or replaced whole, which the folder's watchers see.
    std::function<bool(const QString &path)> OnBeforeWrite;
    std::function<void(const QString &path)> OnWritten;
    std::function<void(const QString &path)> OnLoaded;
    // A save point found another program's write in the file's place at the
    // instant it replaced it (bytes: what it swapped out). Told after
    // OnWritten; the bytes are the only copy left.
    std::function<void(const QString &path, const QByteArray &bytes)> OnReplacedOther;

private:
    controls::TTabControl *m_tabs;
    controls::TRichEdit *m_editor;
    QString m_cardDir;
    bool m_cardModified = false;
    bool m_unwritten = false;
    KnownContent m_known;
    int m_editorCard = -1;
    // What BuildCardList found, one per tab: caption and real file name.
    // What the program last knew of the file, to tell its rename from a
    // removal: the stamp at listing, the hash once it read or wrote the bytes.
    struct ListedCard {
        QString caption;
        QString fileName;
        platform::FileStamp stamp = {};
        QByteArray hash = {};
    };
    QVector<ListedCard> m_listed;
    // A file that may still be being written: its stamp, and since when it has it.
    struct Settling {
        platform::FileStamp stamp;
        qint64 sinceMs = 0;
    };
    QHash<QString, Settling> m_arriving;
    Settling m_currentSettling;
    // Tabs' files missing at the last look; the current one said once.
    QSet<QString> m_missing;
    QString m_toldKept;
    // A tab follows a rename without moving while the tab row is switching.
    bool m_orderStale = false;
    int m_settleGiveUpMs = kSettleGiveUpMs;
    std::unique_ptr<QFileSystemWatcher> m_folderWatch;
    std::unique_ptr<QTimer> m_arrivalLook;

    void writeCurrentCard(const QString &path);
    // The file name of the tab's card, without the folder; all of them in tab order.
    QString fileNameOf(int index) const;
    QStringList fileNames() const;
    QVector<ListedCard> listedTabs() const;
    // Puts a tab for the file where the card order puts it; its index.
    int insertListed(const ListedCard &card);
    // Moves the tabs into the card order (CardListOrder), the selection and
    // EditorCard with their cards; returns where the tab at follow went.
    int putInCardOrder(int follow);
    // The tab at index now stands for fileName (a rename from outside).
    int followRename(int index, const QString &fileName, const platform::FileStamp &stamp, bool reorder);
    // The current card's file went and a file with its bytes is in the
    // folder under another name: the card follows it. True when it did.
    bool followCurrentRename(FolderChanges &changes, bool reorder);
    // Records what the program knows of the editor card's file.
    void rememberKnown();
    void tellFollowed(const FolderChanges &changes);
};

} // namespace cards
