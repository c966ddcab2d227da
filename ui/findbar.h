#pragma once
// The find bar between the tab row and the editor: finds a term in every
// card, the current one first from the caret on, then the following cards in
// tab order. A hit in another card is reached by picking its tab as the
// user would, so the leaving card is written and the arriving one loaded.

#include "cardindex.h"
#include "findrun.h"

#include <QStringList>
#include <QWidget>
#include <vector>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;

namespace controls {
class TTabControl;
class TRichEdit;
} // namespace controls

namespace cards {
class TCardStore;
}

namespace ui {

class TFindBar : public QWidget {
    Q_OBJECT
public:
    TFindBar(controls::TTabControl *tabs, controls::TRichEdit *editor, cards::TCardStore &cards, QWidget *parent = nullptr);

    // Opens with the editor's selection as the term when it is one line, and
    // without an earlier search's count.
    void Open();
    // Hides the bar and gives the focus back to the editor.
    void Close();
    // The next (forward) or previous hit from the editor's selection on.
    void FindNext(bool forward);

    // A key of the window, after the menus had it: Ctrl+F, F3 and Shift+F3,
    // Return in the bar, Escape in the bar or the editor. True when it was
    // the bar's.
    bool HandleKey(QObject *watched, const QKeyEvent &event);
    // Editing keys typed into the search field are the field's own, not the
    // editor's commands of the menu.
    bool LeavesKeyToField(QObject *watched, const QKeyEvent &event) const;

    cards::TCardIndex &Index() { return m_index; }
    // A tab's card now lives in another file (a rename that may keep the
    // caption, such as one of case): the tabs' entries are looked up again.
    void CardFilesMoved() { m_tabEntriesCaptions.clear(); }
    QLineEdit *Field() const { return m_field; }
    QCheckBox *GermanBox() const { return m_german; }
    QLabel *Status() const { return m_status; }

private:
    void search(TFindStep step);
    // The cards as the step sees them; the index's entries of the tabs'
    // cards are looked up again when the tabs or the folder changed.
    TFindCards cardsToSearch();
    // Picks the tab of the card the step goes to, as the user would.
    bool reachCard(int card, TFindStep step);
    void selectHit(const TFindRun &run);
    void report(int number, int total, int cards, int unreadable);
    // Where a search began: the card and the editor's selection.
    void markStart();
    void backToStart();

    controls::TTabControl *m_tabs;
    controls::TRichEdit *m_editor;
    cards::TCardStore &m_cards;
    cards::TCardIndex m_index;
    QLineEdit *m_field;
    QCheckBox *m_german;
    QLabel *m_status;
    // A pick of another card was refused while typing: further typing
    // stays in this card until the user asks for the next hit.
    bool m_typingStaysInCard = false;
    struct Start {
        int card = -1;
        int anchor = 0;
        int position = 0;
    } m_start;
    // The index's entry of each tab's card, for these captions in this folder.
    std::vector<cards::TCardIndex::Entry *> m_tabEntries;
    QStringList m_tabEntriesCaptions;
    QString m_tabEntriesFolder;
};

} // namespace ui
