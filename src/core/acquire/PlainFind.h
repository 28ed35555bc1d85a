#pragma once
#include <bit>
#include <cstring>
#include <string_view>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

// A plain byte search, for UTF-8 pages, where no byte of a character is ASCII.
// Markup is full of "<" and Japanese text of a few lead bytes, so a search by the
// first byte alone stops at nearly every tag or character; this one looks at sixteen
// starts at once and stops only where the first and the last byte both match.
// Inline: the shop page parser calls it for every row.
inline size_t PlainFind(std::string_view text, std::string_view needle, size_t from) {
#if defined(__SSE2__) || defined(_M_X64)
    const size_t n = needle.size();
    if (n < 2 || from > text.size() || text.size() - from < n + 16) return text.find(needle, from);
    const __m128i first = _mm_set1_epi8(needle.front());
    const __m128i last = _mm_set1_epi8(needle.back());
    const char* const begin = text.data();
    const char* p = begin + from;
    // Past this, fewer than sixteen starts are left.
    const char* const stop = begin + text.size() - n - 15;
    for (; p < stop; p += 16) {
        const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 1));
        const __m128i both =
            _mm_and_si128(_mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, last));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(both)); mask != 0;
             mask &= mask - 1) {
            const char* candidate = p + std::countr_zero(mask);
            if (std::memcmp(candidate + 1, needle.data() + 1, n - 2) == 0)
                return static_cast<size_t>(candidate - begin);
        }
    }
    from = static_cast<size_t>(p - begin);
#endif
    return text.find(needle, from);
}
