#pragma once
// Finding a search term in card text: letter case never matters, and for
// German the umlauts and ß may be taken as their spelled-out forms
// (ä = ae, ö = oe, ü = ue, ß = ss).

#include <QList>
#include <QString>
#include <QStringMatcher>

namespace cards {

// The form in which texts are compared. With german, ä, ö, ü and ß (and
// their capitals) are spelled out, so the result may be longer; origin, when
// given, receives for every character of the result its index in text.
QString FoldForSearch(QStringView text, bool german, QList<qsizetype> *origin = nullptr);

struct TTextRange {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const TTextRange &) const = default;
};

class TCardMatcher {
public:
    TCardMatcher(const QString &term, bool german);

    bool IsEmpty() const { return m_term.isEmpty(); }
    bool German() const { return m_german; }

    // Occurrences, not overlapping, in a text already folded with the same german.
    int Count(QStringView folded) const;
    // The occurrences in unfolded text, as ranges of that text.
    QList<TTextRange> Find(QStringView text) const;

private:
    QString m_term; // folded
    bool m_german;
    QStringMatcher m_matcher;
};

} // namespace cards
