#include "cards/cardmatcher.h"

namespace cards {

namespace {

// The spelled-out form of a case-folded character, or null.
const char16_t *spelledOut(char16_t ch)
{
    switch (ch) {
    case u'ä': return u"ae";
    case u'ö': return u"oe";
    case u'ü': return u"ue";
    case u'ß': return u"ss";
    default: return nullptr;
    }
}

inline char16_t caseFolded(char16_t ch)
{
    if (ch < 0x80)
        return (ch >= u'A' && ch <= u'Z') ? char16_t(ch + 32) : ch;
    return QChar::toCaseFolded(ch);
}

} // namespace

QString FoldForSearch(QStringView text, bool german, QList<qsizetype> *origin)
{
    QString out;
    out.reserve(text.size() + (german ? text.size() / 16 : 0));
    if (origin) {
        origin->clear();
        origin->reserve(out.capacity());
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = caseFolded(text[i].unicode());
        if (const char16_t *pair = german && ch >= 0xDF ? spelledOut(ch) : nullptr) {
            out += QChar(pair[0]);
            out += QChar(pair[1]);
            if (origin)
                origin->append({i, i});
            continue;
        }
        out += QChar(ch);
        if (origin)
            origin->append(i);
    }
    return out;
}

TCardMatcher::TCardMatcher(const QString &term, bool german)
    : m_term(FoldForSearch(term, german)), m_german(german), m_matcher(m_term, Qt::CaseSensitive)
{
}

int TCardMatcher::Count(QStringView folded) const
{
    if (m_term.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype at = m_matcher.indexIn(folded); at >= 0; at = m_matcher.indexIn(folded, at + m_term.size()))
        ++count;
    return count;
}

QList<TTextRange> TCardMatcher::Find(QStringView text) const
{
    QList<TTextRange> ranges;
    if (m_term.isEmpty())
        return ranges;
    QList<qsizetype> origin;
    const QString folded = FoldForSearch(text, m_german, &origin);
    for (qsizetype at = m_matcher.indexIn(folded); at >= 0; at = m_matcher.indexIn(folded, at + m_term.size())) {
        const qsizetype start = origin[at];
        const qsizetype end = origin[at + m_term.size() - 1] + 1;
        ranges.append({start, end - start});
    }
    return ranges;
}

} // namespace cards
