#include "editor/text/TextNormaliser.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Copies the bytes before the first one below 32 from in to out, as many as fit in whole
// blocks that start before n; returns how many it copied. Ordinary text is almost all such
// bytes, so this loop carries the bulk of a file.
size_t copyOrdinary(const char* in, size_t n, char* out)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i limit = _mm_set1_epi8(31);
    while (i + 16 <= n) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), block);
        const int control = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(block, limit), limit));
        if (control != 0)
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(control)));
        i += 16;
    }
#else
    constexpr uint64_t ones = 0x0101010101010101ull;
    constexpr uint64_t highs = 0x8080808080808080ull;
    while (i + 8 <= n) {
        uint64_t word;
        std::memcpy(&word, in + i, 8);
        if (((word - ones * 32) & ~word & highs) != 0)
            break;
        std::memcpy(out + i, &word, 8);
        i += 8;
    }
#endif
    while (i < n && static_cast<unsigned char>(in[i]) >= 32) {
        out[i] = in[i];
        ++i;
    }
    return i;
}

} // namespace

size_t TTextNormaliser::Feed(const char* in, size_t n, char* out)
{
    size_t written = 0;
    size_t i = 0;
    char pending = m_pending;
    while (i < n) {
        const size_t run = copyOrdinary(in + i, n - i, out + written);
        if (run > 0) {
            i += run;
            written += run;
            pending = 0;
            if (i == n)
                break;
        }
        const auto c = static_cast<unsigned char>(in[i++]);
        if (c == '\r' || c == '\n') {
            // The second byte of CR LF or LF CR is the same line break.
            if (pending != 0 && pending != static_cast<char>(c)) {
                pending = 0;
                continue;
            }
            out[written++] = '\r';
            pending = static_cast<char>(c);
        } else {
            out[written++] = c == '\t' ? '\t' : '.';
            pending = 0;
        }
    }
    m_pending = pending;
    return written;
}
