#pragma once
// Where the lines of a text end, found fast: for the line list, the merge's rewriter
// and the merge's look at its inputs, which must agree on every line.

#include <cstddef>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace mp {

// Calls onBreak(at) for every CR and LF of the n bytes at p, and every NUL when
// nulToo, in order, until it answers false; false then. Sixteen bytes at a time where
// the processor can: one compare finds every line end of the block, and the loop
// visits only those, where a byte loop looks at each byte.
template <bool nulToo, typename OnBreak>
bool forEachBreak(const char* p, std::size_t n, OnBreak onBreak) {
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        __m128i found = _mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf));
        if (nulToo) {
            found = _mm_or_si128(found, _mm_cmpeq_epi8(block, nul));
        }
        auto ends = static_cast<unsigned>(_mm_movemask_epi8(found));
        while (ends != 0) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(ends));
            ends &= ends - 1;
            if (!onBreak(at)) {
                return false;
            }
        }
    }
#endif
    for (; i < n; ++i) {
        const auto u = static_cast<unsigned char>(p[i]);
        // Every other common byte is above CR, so one comparison usually decides.
        if (u <= '\r' && (u == '\r' || u == '\n' || (nulToo && u == 0)) && !onBreak(i)) {
            return false;
        }
    }
    return true;
}

} // namespace mp
