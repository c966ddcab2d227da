#pragma once
// The card store: where card files live, how the card list is built, how the
// current card is loaded into the editor and written back, and whether the
// editor's content may differ from the current card's file.

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

    // Makes CardDir when it is missing (one level). False when that failed.
    bool EnsureCardFolder(int *errorCode = nullptr) const;
    // Lists the card files as tabs in card order (cardorder.h); selects the first.
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

private:
    controls::TTabControl *m_tabs;
    controls::TRichEdit *m_editor;
    QString m_cardDir;
    bool m_cardModified = false;
    int m_editorCard = -1;
    // What BuildCardList found, one per tab: caption and real file name.
    struct ListedCard {
        QString caption;
        QString fileName;
    };
    QVector<ListedCard> m_listed;
    // The file name of the tab's card, without the folder; all of them in tab order.
    QString fileNameOf(int index) const;
    QStringList fileNames() const;
    QVector<ListedCard> listedTabs() const;
};

} // namespace cards
