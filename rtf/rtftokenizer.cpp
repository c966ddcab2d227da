#include "rtftokenizer.h"

#include <algorithm>
#include <array>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rtf {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes that end a run of text.
constexpr std::array<bool, 256> kEndsText = [] {
    std::array<bool, 256> ends{};
    for (const unsigned char c : {'\\', '{', '}', '\r', '\n'})
        ends[c] = true;
    return ends;
}();

// The first byte from p on that ends a run of text, or end. Most of a card
// is text, so it is scanned sixteen bytes at a time where the CPU can.
const char *textEnd(const char *p, const char *end)
{
#if defined(__SSE2__)
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i braces = _mm_or_si128(_mm_cmpeq_epi8(v, open), _mm_cmpeq_epi8(v, close));
        const __m128i lines = _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(braces, lines), _mm_cmpeq_epi8(v, backslash)));
        if (hits)
            return p + __builtin_ctz(unsigned(hits));
        p += 16;
    }
#endif
    while (p < end && !kEndsText[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

} // namespace

Token Tokenizer::next()
{
    const qsizetype n = m_bytes.size();
    while (m_pos < n) {
        const char c = m_bytes[m_pos];
        switch (c) {
        case '{':
            ++m_pos;
            return {TokenType::GroupOpen, {}, false, 0};
        case '}':
            ++m_pos;
            return {TokenType::GroupClose, {}, false, 0};
        case '\\':
            return readControl();
        case '\r':
        case '\n':
            // Line ends outside control words carry no meaning in RTF.
            ++m_pos;
            continue;
        default:
            return readText();
        }
    }
    return {};
}

Token Tokenizer::readText()
{
    const qsizetype start = m_pos;
    const char *begin = m_bytes.data();
    m_pos = textEnd(begin + start, begin + m_bytes.size()) - begin;
    return {TokenType::Text, m_bytes.sliced(start, m_pos - start), false, 0};
}

Token Tokenizer::readControl()
{
    const qsizetype n = m_bytes.size();
    ++m_pos; // the backslash
    if (m_pos >= n) {
        m_issues |= ReadIssue::BrokenEscape; // a lone backslash at the end
        return {};
    }
    const char c = m_bytes[m_pos];
    if (isRtfLetter(c))
        return readWord(m_pos);
    if (c == '\'') {
        ++m_pos;
        const int hi = m_pos < n ? hexValue(m_bytes[m_pos]) : -1;
        const int lo = m_pos + 1 < n ? hexValue(m_bytes[m_pos + 1]) : -1;
        if (hi < 0 || lo < 0) {
            // A broken hex escape: the interpreter ignores the symbol, the
            // bytes after it stay text.
            if (hi >= 0)
                ++m_pos;
            m_issues |= ReadIssue::BrokenEscape;
            return {TokenType::ControlSymbol, QByteArrayView("'"), false, 0};
        }
        m_pos += 2;
        return {TokenType::HexByte, {}, true, hi * 16 + lo};
    }
    ++m_pos;
    return {TokenType::ControlSymbol, m_bytes.sliced(m_pos - 1, 1), false, 0};
}

Token Tokenizer::readWord(qsizetype start)
{
    const qsizetype n = m_bytes.size();
    while (m_pos < n && isRtfLetter(m_bytes[m_pos]))
        ++m_pos;
    Token token{TokenType::ControlWord, m_bytes.sliced(start, m_pos - start), false, 0};
    if (token.text.size() > MaxWordLength) {
        token.text = QByteArrayView("?"); // never a known word
        m_issues |= ReadIssue::OverlongWord;
    }
    bool negative = false;
    if (m_pos + 1 < n && m_bytes[m_pos] == '-' && isDigit(m_bytes[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < n && isDigit(m_bytes[m_pos])) {
        // Saturate instead of overflowing; all digits belong to the word.
        constexpr std::int64_t limit = std::numeric_limits<std::int32_t>::max();
        std::int64_t value = 0;
        while (m_pos < n && isDigit(m_bytes[m_pos])) {
            value = std::min(limit, value * 10 + (m_bytes[m_pos] - '0'));
            ++m_pos;
        }
        token.hasParam = true;
        token.param = static_cast<std::int32_t>(negative ? -value : value);
    }
    if (m_pos < n && m_bytes[m_pos] == ' ')
        ++m_pos; // the delimiter space belongs to the control word
    return token;
}

bool Tokenizer::onlySpaceLeft() const
{
    for (qsizetype i = m_pos; i < m_bytes.size(); ++i) {
        const char c = m_bytes[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\0')
            return false;
    }
    return true;
}

void Tokenizer::skipBytes(qint64 count)
{
    takeBytes(count);
}

QByteArrayView Tokenizer::takeBytes(qint64 count)
{
    const qsizetype start = m_pos;
    const qsizetype available = m_bytes.size() - m_pos;
    const qsizetype taken = count <= 0 ? 0 : static_cast<qsizetype>(std::min<qint64>(count, available));
    if (count > available)
        m_issues |= ReadIssue::BinPastEnd;
    m_pos += taken;
    return m_bytes.sliced(start, taken);
}

} // namespace rtf
