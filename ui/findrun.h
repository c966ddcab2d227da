#pragma once
// One step of the find bar, decided before anything on the screen moves:
// the hits of every card, and where the step goes, to a hit of the current
// card or to the next card in tab order that has hits. The bar then picks
// that card's tab and selects the hit (TFindBar); nothing here needs a widget.

#include "cardindex.h"
#include "cardmatcher.h"

#include <QList>
#include <QString>
#include <functional>

namespace ui {

// Typing looks from the selection's start on, so a hit already selected
// stays; the next hit is the one after it, the previous one before it.
enum class TFindStep { Typing, Forward, Backward };

// What a step looks at: one card per tab.
struct TFindCards {
    int count = 0;
    int current = -1; // the current tab, -1 for none
    // The editor holds the current card, perhaps with unsaved changes, so
    // that card is searched in the editor's text.
    bool live = false;
    QString editorText;
    qsizetype selectionStart = 0;
    bool hasSelection = false;
    // A tab's card as the index holds it; not asked for the current card when live.
    std::function<const cards::TCardIndex::Card &(int tab)> indexed;
};

struct TFindRun {
    QList<int> hits;               // per tab
    int unreadable = 0;            // cards whose files could not be read
    QList<cards::TTextRange> here; // the hits in the editor's text
    // Where the step goes: the current card, another card with hits (whose
    // tab is to be picked), or -1 when there is nothing to go to.
    int card = -1;
    int hit = -1; // in `here`; -1 while `card` is not in the editor, or it has none there

    int Total() const;
    int CardsWithHits() const;
    // The hit counted over all cards in tab order, from 1; 0 for none.
    int Number() const;
    // The editor now holds `card`, and these are its hits there: the step
    // goes to the first, or the last one going backwards.
    void Arrived(QList<cards::TTextRange> ranges, TFindStep step);
};

TFindRun RunFind(const cards::TCardMatcher &matcher, const TFindCards &input, TFindStep step);

} // namespace ui
