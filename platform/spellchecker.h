#pragma once
// The spell check of this run: the active dictionaries, the personal
// dictionary and the words ignored for the run. A word is right when any
// active dictionary accepts it, when the personal dictionary holds it or when
// it is ignored.

#include "hunspelldictionary.h"
#include "personaldictionary.h"
#include "spellwords.h"

#include <QHash>
#include <QSet>

#include <memory>
#include <vector>

namespace platform {

class TSpellChecker {
public:
    // Loads each of languages found in folders; the others are left out.
    TSpellChecker(const QStringList &languages, const QStringList &folders, const QString &personalPath);
    ~TSpellChecker();

    // Whether at least one dictionary was found.
    bool HasDictionary() const { return !m_dictionaries.empty(); }
    // The languages loaded, in the order asked for.
    QStringList Languages() const;

    bool IsCorrect(const QString &word, bool dotFollows = false) const;
    // The checkable words of text that are wrong.
    QList<TWordRange> Misspelled(QStringView text) const;
    // Up to max suggestions, taken from the dictionaries in turn so that
    // each language offers its best.
    QStringList Suggestions(const QString &word, int max = 5) const;

    // Adds word to the personal dictionary (throws as its Add does).
    void AddToDictionary(const QString &word);
    // Counts word as right until the program ends.
    void Ignore(const QString &word);
    // Grows whenever a word's verdict may have changed (an addition, an
    // ignored word): checked text is to be checked again.
    int Generation() const { return m_generation; }

private:
    std::vector<std::unique_ptr<THunspellDictionary>> m_dictionaries;
    TPersonalDictionary m_personal;
    QSet<QString> m_ignored;
    // Hunspell takes microseconds a word, German compounds more; a card
    // repeats its words, so each is asked once.
    mutable QHash<QString, bool> m_verdicts;
    int m_generation = 0;
};

} // namespace platform
