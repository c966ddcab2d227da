#pragma once
// Finding a search term in card text: letter case never matters, and for
// German the umlauts and ß may be taken as their spelled-out forms
// (ä = ae, ö = oe, ü = ue, ß = ss).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringMatcher>
#include <functional>
#include <optional>

namespace cards {

// The form in which texts are compared. With german, ä, ö, ü and ß (and
// their capitals) are spelled out, so the result may be longer; origin, when
// given, receives for every character of the result its index in text.
QString FoldForSearch(QStringView text, bool german, QList<qsizetype> *origin = nullptr);

// FoldForSearch as UTF-8: half the memory of UTF-16 for Latin text, and
// the byte search of the C library scans it fastest.
QByteArray FoldForIndex(QStringView text, bool german);

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

    // Occurrences, not overlapping, in a text already folded with the same
    // german and stored as UTF-8 (FoldForIndex).
    int Count(QByteArrayView folded) const;
    // The occurrences in unfolded text, as ranges of that text.
    QList<TTextRange> Find(QStringView text) const;

private:
    QString m_term; // folded
    QByteArray m_termUtf8;
    // Skips through the index text for terms of three bytes and more.
    std::optional<std::boyer_moore_horspool_searcher<const char *>> m_searcher;
    bool m_german;
    QStringMatcher m_matcher;
};

} // namespace cards
