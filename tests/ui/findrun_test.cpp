#include "findrun.h"

#include <gtest/gtest.h>
#include <vector>

using namespace ui;

namespace {

// One card per tab; by default four, the third current and in the editor,
// with hits at 0 and 20.
struct Tabs {
    std::vector<cards::TCardIndex::Card> index;
    TFindCards input;
    const cards::TCardMatcher matcher{QStringLiteral("apfel"), false};

    explicit Tabs(const QStringList &texts, int current = 2, bool live = true)
    {
        for (const QString &text : texts)
            index.push_back({cards::FoldForIndex(text, false), true});
        input.count = int(texts.size());
        input.current = current;
        input.live = live;
        input.editorText = current >= 0 ? texts[current] : QString();
        input.indexed = [this](int tab) -> const cards::TCardIndex::Card & {
            EXPECT_FALSE(input.live && tab == input.current) << "the current card is searched in the editor";
            return index[std::size_t(tab)];
        };
    }
    Tabs() : Tabs({"Ein Apfel", "nichts", "Apfel und Birne und Apfel", "Apfel, noch ein Apfel"}) {}

    TFindRun run(TFindStep step, qsizetype from, bool selection)
    {
        input.selectionStart = from;
        input.hasSelection = selection;
        return RunFind(matcher, input, step);
    }
};

} // namespace

TEST(FindRun, GoesToTheHitOfTheStepOrToTheNextCardWithHits)
{
    const struct {
        const char *name;
        TFindStep step;
        qsizetype from;
        bool selection;
        int card, hit, number;
    } cases[] = {
        {"typing keeps the selected hit", TFindStep::Typing, 0, true, 2, 0, 2},
        {"next is the one after the selected hit", TFindStep::Forward, 0, true, 2, 1, 3},
        {"a caret right at a hit has not seen it", TFindStep::Forward, 0, false, 2, 0, 2},
        {"previous is the last one before the selection", TFindStep::Backward, 25, false, 2, 1, 3},
        {"past the last hit: the next card with hits", TFindStep::Forward, 20, true, 3, -1, 0},
        {"typing past the last hit leaves the card too", TFindStep::Typing, 21, false, 3, -1, 0},
        {"before the first hit: back over the card without hits", TFindStep::Backward, 0, true, 0, -1, 0},
    };
    for (const auto &c : cases) {
        Tabs cards;
        const TFindRun run = cards.run(c.step, c.from, c.selection);
        EXPECT_EQ(run.hits, QList<int>({1, 0, 2, 2})) << c.name;
        EXPECT_EQ(run.Total(), 5) << c.name;
        EXPECT_EQ(run.CardsWithHits(), 3) << c.name;
        EXPECT_EQ(run.card, c.card) << c.name;
        EXPECT_EQ(run.hit, c.hit) << c.name;
        EXPECT_EQ(run.Number(), c.number) << c.name;
    }
}

TEST(FindRun, ArrivingInAnotherCardSelectsItsFirstOrLastHitCountedOverAllCards)
{
    Tabs forward;
    TFindRun run = forward.run(TFindStep::Forward, 20, true);
    run.Arrived(forward.matcher.Find(u"Apfel, noch ein Apfel, Apfel"), TFindStep::Forward);
    EXPECT_EQ(run.hit, 0);
    EXPECT_EQ(run.Number(), 1 + 0 + 2 + 1);
    EXPECT_EQ(run.Total(), 6) << "the arrived card counts as the editor shows it";

    // Backwards round the start of the tabs: the last card, at its last hit.
    Tabs backward({"nichts", "Apfel Apfel", "Apfel"}, 1);
    run = backward.run(TFindStep::Backward, 0, true);
    ASSERT_EQ(run.card, 2);
    run.Arrived(backward.matcher.Find(u"Apfel und Apfel"), TFindStep::Backward);
    EXPECT_EQ(run.hit, 1);
    EXPECT_EQ(run.Number(), 4);
}

TEST(FindRun, TheOnlyCardWithHitsIsRoundedAndACardNotInTheEditorIsNotSearchedThere)
{
    Tabs alone({"nichts", "Apfel, Apfel", "leer"}, 1);
    TFindRun run = alone.run(TFindStep::Forward, 7, true);
    EXPECT_EQ(run.card, 1);
    EXPECT_EQ(run.hit, 0);
    run = alone.run(TFindStep::Backward, 0, true);
    EXPECT_EQ(run.hit, 1);

    // The editor holds another card's text (a failed load): the current
    // card's hits come from the index and none of them is selected.
    Tabs stale({"nichts", "Apfel", "leer"}, 1, false);
    stale.input.editorText = QStringLiteral("Apfel im Editor");
    run = stale.run(TFindStep::Forward, 0, false);
    EXPECT_EQ(run.card, 1);
    EXPECT_EQ(run.hit, -1);
    EXPECT_TRUE(run.here.isEmpty());
    EXPECT_EQ(run.Number(), 0);
    EXPECT_EQ(run.Total(), 1);
}

TEST(FindRun, NothingToGoToWithoutHitsOrWithoutACurrentCard)
{
    Tabs none({"nichts", "leer", "auch nichts"});
    none.index[0].readable = false;
    TFindRun run = none.run(TFindStep::Typing, 0, false);
    EXPECT_EQ(run.card, -1);
    EXPECT_EQ(run.Total(), 0);
    EXPECT_EQ(run.unreadable, 1);

    Tabs noTab({"Apfel", "Apfel"}, -1, false);
    run = noTab.run(TFindStep::Forward, 0, false);
    EXPECT_EQ(run.card, -1);
    EXPECT_EQ(run.Total(), 2);
}
