#include "spellchecker.h"

namespace platform {

namespace {
// The cache forgets everything past this many words, so a huge card of
// distinct words cannot grow it without bound.
constexpr int kMaxVerdicts = 200000;
} // namespace

TSpellChecker::TSpellChecker(const QStringList &languages, const QStringList &folders, const QString &personalPath)
    : m_personal(personalPath)
{
    for (const QString &language : languages) {
        auto dictionary = std::make_unique<THunspellDictionary>(language, folders);
        if (dictionary->IsLoaded())
            m_dictionaries.push_back(std::move(dictionary));
    }
}

TSpellChecker::~TSpellChecker() = default;

QStringList TSpellChecker::Languages() const
{
    QStringList languages;
    for (const auto &d : m_dictionaries)
        languages << d->Language();
    return languages;
}

bool TSpellChecker::IsCorrect(const QString &word, bool dotFollows) const
{
    if (m_ignored.contains(word) || m_personal.Contains(word))
        return true;
    const QString key = dotFollows ? word + QLatin1Char('.') : word;
    const auto known = m_verdicts.constFind(key);
    if (known != m_verdicts.cend())
        return *known;
    // With the full stop Hunspell also finds abbreviations ("usw.") and
    // still accepts a word at the end of a sentence.
    const bool right = std::any_of(m_dictionaries.begin(), m_dictionaries.end(),
                                   [&](const auto &d) { return d->Spell(key); });
    if (m_verdicts.size() >= kMaxVerdicts)
        m_verdicts.clear();
    m_verdicts.insert(key, right);
    return right;
}

QList<TWordRange> TSpellChecker::Misspelled(QStringView text) const
{
    QList<TWordRange> wrong;
    if (m_dictionaries.empty())
        return wrong;
    for (const TWordRange &word : CheckableWords(text))
        if (!IsCorrect(text.mid(word.start, word.length).toString(), word.dotFollows))
            wrong.append(word);
    return wrong;
}

QStringList TSpellChecker::Suggestions(const QString &word, int max) const
{
    std::vector<QStringList> lists;
    for (const auto &d : m_dictionaries)
        lists.push_back(d->Suggest(word));
    QStringList result;
    for (int rank = 0; result.size() < max; ++rank) {
        bool any = false;
        for (const QStringList &list : lists) {
            if (rank >= list.size())
                continue;
            any = true;
            if (!result.contains(list.at(rank)) && result.size() < max)
                result << list.at(rank);
        }
        if (!any)
            break;
    }
    return result;
}

void TSpellChecker::AddToDictionary(const QString &word)
{
    m_personal.Add(word);
    ++m_generation;
}

void TSpellChecker::Ignore(const QString &word)
{
    m_ignored.insert(word);
    ++m_generation;
}

} // namespace platform
