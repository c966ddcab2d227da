#include "findrun.h"

namespace ui {

namespace {

// The hit of the current card the step goes to, -1 when it has to leave the card.
int hitInEditor(const QList<cards::TTextRange> &here, qsizetype from, bool hasSelection, TFindStep step)
{
    int before = -1;
    for (int k = 0; k < here.size(); ++k) {
        const qsizetype start = here[k].start;
        switch (step) {
        case TFindStep::Typing:
            if (start >= from)
                return k;
            break;
        case TFindStep::Forward:
            // A caret (no selection) right at a hit has not seen it yet.
            if (start > from || (start == from && !hasSelection))
                return k;
            break;
        case TFindStep::Backward:
            if (start < from)
                before = k;
            break;
        }
    }
    return before;
}

// The next card in the step's direction that has hits, round the end of
// the tabs; the current card itself when no other has any.
int nextCardWithHits(const QList<int> &hits, int current, TFindStep step)
{
    const int count = int(hits.size());
    for (int s = 1; s <= count; ++s) {
        const int i = ((step == TFindStep::Backward ? current - s : current + s) % count + count) % count;
        if (hits[i] > 0)
            return i;
    }
    return current;
}

// Where a card is entered: at its first hit, or at its last going backwards.
int edgeHit(const QList<cards::TTextRange> &here, TFindStep step)
{
    if (here.isEmpty())
        return -1;
    return step == TFindStep::Backward ? int(here.size()) - 1 : 0;
}

} // namespace

int TFindRun::Total() const
{
    int sum = 0;
    for (const int n : hits)
        sum += n;
    return sum;
}

int TFindRun::CardsWithHits() const
{
    int cards = 0;
    for (const int n : hits)
        cards += n > 0;
    return cards;
}

int TFindRun::Number() const
{
    if (hit < 0)
        return 0;
    int number = hit + 1;
    for (int i = 0; i < card; ++i)
        number += hits[i];
    return number;
}

void TFindRun::Arrived(QList<cards::TTextRange> ranges, TFindStep step)
{
    here = std::move(ranges);
    hits[card] = int(here.size());
    hit = edgeHit(here, step);
}

TFindRun RunFind(const cards::TCardMatcher &matcher, const TFindCards &input, TFindStep step)
{
    TFindRun run;
    run.hits = QList<int>(input.count, 0);
    for (int i = 0; i < input.count; ++i) {
        if (i == input.current && input.live) {
            run.here = matcher.Find(input.editorText);
            run.hits[i] = int(run.here.size());
            continue;
        }
        const cards::TCardIndex::Card &card = input.indexed(i);
        if (!card.readable)
            ++run.unreadable;
        run.hits[i] = matcher.Count(card.folded);
    }
    if (run.Total() == 0 || input.current < 0)
        return run;

    if (input.live)
        run.hit = hitInEditor(run.here, input.selectionStart, input.hasSelection, step);
    if (run.hit >= 0) {
        run.card = input.current;
        return run;
    }
    run.card = nextCardWithHits(run.hits, input.current, step);
    if (run.card == input.current)
        run.hit = edgeHit(run.here, step); // the only card with hits: round to its other end
    return run;
}

} // namespace ui
