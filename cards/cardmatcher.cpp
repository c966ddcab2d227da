#include "cardmatcher.h"

#include <cstring>

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
    // At most two characters for each: written through a pointer, as this
    // runs over every card's whole text.
    QString out(text.size() * (german ? 2 : 1), Qt::Uninitialized);
    char16_t *to = reinterpret_cast<char16_t *>(out.data());
    if (origin) {
        origin->clear();
        origin->reserve(out.size());
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = caseFolded(text[i].unicode());
        if (const char16_t *pair = german && ch >= 0xDF ? spelledOut(ch) : nullptr) {
            *to++ = pair[0];
            *to++ = pair[1];
            if (origin)
                origin->append({i, i});
            continue;
        }
        *to++ = ch;
        if (origin)
            origin->append(i);
    }
    out.truncate(to - reinterpret_cast<const char16_t *>(out.constData()));
    return out;
}

QByteArray FoldForIndex(QStringView text, bool german) { return FoldForSearch(text, german).toUtf8(); }

TCardMatcher::TCardMatcher(const QString &term, bool german)
    : m_term(FoldForSearch(term, german)), m_termUtf8(m_term.toUtf8()), m_german(german), m_matcher(m_term, Qt::CaseSensitive)
{
    if (m_termUtf8.size() >= 3)
        m_searcher.emplace(m_termUtf8.cbegin(), m_termUtf8.cend());
}

int TCardMatcher::Count(QByteArrayView folded) const
{
    // UTF-8 needs no character boundaries here: a whole character sequence
    // can only match at the start of a character.
    if (m_termUtf8.isEmpty())
        return 0;
    int count = 0;
    const char *at = folded.data();
    const char *const end = at + folded.size();
    const std::size_t length = std::size_t(m_termUtf8.size());
    while (std::size_t(end - at) >= length) {
        const char *found;
        if (m_searcher) {
            found = (*m_searcher)(at, end).first;
            if (found == end)
                break;
        } else {
            found = static_cast<const char *>(length == 1 ? memchr(at, m_termUtf8[0], std::size_t(end - at))
                                                          : memmem(at, std::size_t(end - at), m_termUtf8.constData(), length));
            if (!found)
                break;
        }
        ++count;
        at = found + length;
    }
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
