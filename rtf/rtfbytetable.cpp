#include "rtfbytetable.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rtf {

qsizetype FirstShownByte(QByteArrayView bytes, const char16_t *table)
{
    qsizetype i = 0;
    while (i < bytes.size() && !table[static_cast<unsigned char>(bytes[i])])
        ++i;
    return i;
}

qsizetype MapBytes(QByteArrayView bytes, const char16_t *table, char16_t *const begin)
{
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    char16_t *out = begin;
#if defined(__SSE2__)
    // Printable ASCII, most of a card's text, stands for itself: sixteen
    // bytes widened at a time.
    const __m128i below = _mm_set1_epi8(0x1F), del = _mm_set1_epi8(0x7F), zero = _mm_setzero_si128();
    const auto widen = [&](qsizetype at, char16_t *to) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes.data() + at));
        const __m128i printable = _mm_andnot_si128(_mm_cmpeq_epi8(v, del), _mm_cmpgt_epi8(v, below));
        if (_mm_movemask_epi8(printable) != 0xFFFF)
            return false;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to + 8), _mm_unpackhi_epi8(v, zero));
        return true;
    };
    while (n - i >= 16 && widen(i, out)) {
        out += 16;
        i += 16;
    }
    // The last few bytes as the last sixteen, again over some already
    // written the same: those are printable, so they come out as before.
    if (i < n && n - i < 16 && n >= 16 && widen(n - 16, out + (n - i) - 16)) {
        out += n - i;
        i = n;
    }
#endif
    bool dropped = false; // bytes that show nothing are rare: taken out after
    for (; i < n; ++i) {
        const char16_t ch = table[static_cast<unsigned char>(bytes[i])];
        *out++ = ch;
        dropped |= ch == 0;
    }
    if (dropped)
        out = std::remove(begin, out, char16_t(0));
    return out - begin;
}

} // namespace rtf
