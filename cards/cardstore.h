#pragma once
// The card store: where card files live, how the card list is built, how the
// current card is loaded into the editor and written back, and whether the
// editor's content may differ from the current card's file.

#include "files.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QHash>
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

// What the program last read from or wrote to the file whose text the
// editor holds.
struct KnownContent {
    QString path;
    platform::FileStamp stamp;
    QByteArray hash;
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

    // Card files that arrived in the folder since the list was built (a sync
    // tool, another program) get a tab where their name sorts. A file is
    // taken once its stamp is the same at two looks in a row: one still
    // being written waits. Dot files and sync engines' temporary files are
    // never cards. True while a file waits to settle (look again later).
    bool AddArrivals();
    // Told after AddArrivals added tabs.
    std::function<void()> OnArrived;
    // Whether a name found in the folder may be an arriving card.
    static bool IsArrivingCardName(const QString &fileName);

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
    struct ListedCard {
        QString caption;
        QString fileName;
    };
    QVector<ListedCard> m_listed;
    QHash<QString, platform::FileStamp> m_arriving;
    std::unique_ptr<QFileSystemWatcher> m_folderWatch;
    std::unique_ptr<QTimer> m_arrivalLook;
    void watchFolder();

    void writeCurrentCard(const QString &path);
    // The file name of the tab's card, without the folder; all of them in tab order.
    QString fileNameOf(int index) const;
    QStringList fileNames() const;
    QVector<ListedCard> listedTabs() const;
    // Puts a tab for the file where its name sorts; its index.
    int insertListed(const QString &caption, const QString &fileName);
};

} // namespace cards
