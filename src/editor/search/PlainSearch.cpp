#include "editor/search/PlainSearch.h"

#include "editor/edit/WordChars.h"
#include "editor/search/CaseFold.h"
#include "editor/search/SearchErrors.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int64_t kPollBytes = 1 << 20;

} // namespace

void TPlainSearch::SetPattern(std::string_view pattern)
{
    if (pattern == m_pattern && m_builds > 0)
        return;
    m_pattern = std::string(pattern);
    m_upper = m_pattern;
    const auto& upper = upperCaseTable();
    for (char& c : m_upper)
        c = static_cast<char>(upper[static_cast<unsigned char>(c)]);
    const int m = static_cast<int>(m_pattern.size());
    m_forward.fill(std::max(m, 1));
    m_backward.fill(std::max(m, 1));
    // Forwards the window moves by the distance from the last occurrence of its last byte in
    // the pattern (the pattern's own last byte excluded) to the pattern's end; backwards by
    // the distance from the window's first byte to its first occurrence after position 0.
    for (int i = 0; i + 1 < m; ++i)
        m_forward[static_cast<unsigned char>(m_pattern[static_cast<size_t>(i)])] = m - 1 - i;
    for (int i = m - 1; i >= 1; --i)
        m_backward[static_cast<unsigned char>(m_pattern[static_cast<size_t>(i)])] = i;
    TSkips upperForward;
    TSkips upperBackward;
    upperForward.fill(std::max(m, 1));
    upperBackward.fill(std::max(m, 1));
    for (int i = 0; i + 1 < m; ++i)
        upperForward[static_cast<unsigned char>(m_upper[static_cast<size_t>(i)])] = m - 1 - i;
    for (int i = m - 1; i >= 1; --i)
        upperBackward[static_cast<unsigned char>(m_upper[static_cast<size_t>(i)])] = i;
    // The folded tables are indexed by the text's byte, so a lower-case byte skips as its
    // upper-case form does.
    for (int c = 0; c < 256; ++c) {
        m_forwardFolded[static_cast<size_t>(c)] = upperForward[upper[static_cast<size_t>(c)]];
        m_backwardFolded[static_cast<size_t>(c)] = upperBackward[upper[static_cast<size_t>(c)]];
    }
    m_crosses.fill(0);
    m_crossesFolded.fill(0);
    for (int i = 0; i + 1 < m; ++i) {
        m_crosses[static_cast<unsigned char>(m_pattern[static_cast<size_t>(i)])] = 1;
        for (int c = 0; c < 256; ++c)
            if (upper[static_cast<size_t>(c)] == static_cast<unsigned char>(m_upper[static_cast<size_t>(i)]))
                m_crossesFolded[static_cast<size_t>(c)] = 1;
    }
    if (m > 0) {
        m_first = static_cast<uint8_t>(m_pattern.front());
        m_last = static_cast<uint8_t>(m_pattern.back());
        m_firstFolded = static_cast<uint8_t>(m_upper.front()) | 0x20;
        m_lastFolded = static_cast<uint8_t>(m_upper.back()) | 0x20;
        // Setting bit 5 must not separate two bytes of one fold class (0x8A and 0x9A do).
        m_filterFolded = true;
        for (int c = 0; c < 256; ++c) {
            const uint8_t folded = static_cast<uint8_t>(c | 0x20);
            if ((upper[static_cast<size_t>(c)] == static_cast<uint8_t>(m_upper.front()) &&
                 folded != m_firstFolded) ||
                (upper[static_cast<size_t>(c)] == static_cast<uint8_t>(m_upper.back()) &&
                 folded != m_lastFolded))
                m_filterFolded = false;
        }
    }
    ++m_builds;
}

bool TPlainSearch::verify(TTextReader& verifier, int64_t position, bool folded) const
{
    const auto& upper = upperCaseTable();
    const std::string& pattern = folded ? m_upper : m_pattern;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const int c = verifier.At(position + static_cast<int64_t>(i));
        if (c < 0 ||
            (folded ? upper[static_cast<size_t>(c)] : c) != static_cast<unsigned char>(pattern[i]))
            return false;
    }
    return true;
}

bool TPlainSearch::wordAt(TTextReader& reader, int64_t position, const TPlainOptions& options) const
{
    const auto inWord = [&](char c) {
        return options.Words.IsInWord ? options.Words.IsInWord(c) : defaultCharIsInWord(c);
    };
    const auto startsWord = [&](char c) {
        return options.Words.StartsWord ? options.Words.StartsWord(c) : defaultCharStartsWord(c);
    };
    const int before = reader.At(position - 1);
    if (before >= 0 && inWord(static_cast<char>(before)))
        return false;
    const int after = reader.At(position + static_cast<int64_t>(m_pattern.size()));
    return after < 0 ||
           (!inWord(static_cast<char>(after)) && !startsWord(static_cast<char>(after)));
}

void TPlainSearch::poll(TTextReader& reader, TTextReader& verifier)
{
    if (!Poll)
        return;
    if (!Poll())
        throw ERegExpError(reSearchInterrupted);
    reader.Source().Invalidate();
    reader.Forget();
    verifier.Forget();
}

namespace {

// A byte as the scan compares it: folded to upper case, or as it is.
template <bool Folded> inline uint8_t compared(uint8_t c, const uint8_t* upper)
{
    if constexpr (Folded)
        return upper[c];
    else
        return c;
}

// Whether bytes from..to of the window at data equal the same bytes of pattern.
template <bool Folded>
inline bool windowEquals(const uint8_t* data, const std::string& pattern, int64_t from, int64_t to,
                         const uint8_t* upper)
{
    for (int64_t i = from; i < to; ++i)
        if (compared<Folded>(data[i], upper) !=
            static_cast<unsigned char>(pattern[static_cast<size_t>(i)]))
            return false;
    return true;
}

} // namespace

int64_t TPlainSearch::FindForward(TTextReader& reader, int64_t from, const TPlainOptions& options)
{
    if (m_pattern.empty())
        return -1;
    from = std::max<int64_t>(from, 0);
    if (options.MatchCase)
        return filtered<false>(reader, from, options);
    return m_filterFolded ? filtered<true>(reader, from, options)
                          : forward<true>(reader, from, options);
}

int64_t TPlainSearch::FindBackward(TTextReader& reader, int64_t before,
                                   const TPlainOptions& options)
{
    if (m_pattern.empty() || static_cast<int64_t>(m_pattern.size()) > reader.Length())
        return -1;
    return options.MatchCase ? backward<false>(reader, before, options)
                             : backward<true>(reader, before, options);
}

namespace {

constexpr uint64_t kLowBits = 0x0101010101010101ULL;
constexpr uint64_t kSevenBits = 0x7F7F7F7F7F7F7F7FULL;

inline uint64_t load64(const uint8_t* p)
{
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Bit 7 of each byte set exactly where v holds a zero byte.
inline uint64_t zeroBytes(uint64_t v)
{
    return ~(((v & kSevenBits) + kSevenBits) | v | kSevenBits);
}

// The index of the lowest byte flagged in mask (little- or big-endian loads alike).
inline int flaggedByte(uint64_t mask)
{
    if constexpr (std::endian::native == std::endian::little)
        return std::countr_zero(mask) / 8;
    else
        return std::countl_zero(mask) / 8;
}
inline uint64_t dropFlagged(uint64_t mask, int byte)
{
    if constexpr (std::endian::native == std::endian::little)
        return mask & (mask - 1);
    else
        return mask & ~(uint64_t{0x80} << (8 * (7 - byte)));
}

#if defined(__GNUC__)
// Sixteen bytes as one vector of the compiler's (plain SIMD on any target it has).
using TBlock16 = uint8_t __attribute__((vector_size(16)));

inline TBlock16 load16(const uint8_t* p)
{
    TBlock16 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline TBlock16 splat16(uint8_t c)
{
    TBlock16 v;
    std::memset(&v, c, sizeof v);
    return v;
}

// What comparing two blocks gives: each byte 0 or all ones.
using THits16 = decltype(std::declval<TBlock16>() == std::declval<TBlock16>());

// Bit k set where byte k of v is set.
inline unsigned byteMask(THits16 v)
{
#if defined(__SSE2__)
    return static_cast<unsigned>(_mm_movemask_epi8(reinterpret_cast<__m128i>(v)));
#else
    unsigned mask = 0;
    for (int k = 0; k < 16; ++k)
        mask |= static_cast<unsigned>(v[k] & 1) << k;
    return mask;
#endif
}
#endif

} // namespace

namespace {

// The filter's bytes in the forms the scan compares with, made once per search: a byte b
// passes as the window's first (last) byte when (b | Or) equals First (Last).
struct TWindowFilter
{
    int64_t PatternLength = 0;
    uint8_t FirstByte = 0; // the pattern's first byte, as compared (folded or not)
    uint64_t Or8 = 0;
    uint64_t First8 = 0;
    uint64_t Last8 = 0;
#if defined(__GNUC__)
    TBlock16 Or16{};
    TBlock16 First16{};
    TBlock16 Last16{};
#endif
    TWindowFilter(int64_t m, uint8_t orMask, uint8_t first, uint8_t last, uint8_t firstByte)
        : PatternLength(m), FirstByte(firstByte), Or8(orMask * kLowBits), First8(first * kLowBits),
          Last8(last * kLowBits)
    {
#if defined(__GNUC__)
        Or16 = splat16(orMask);
        First16 = splat16(first);
        Last16 = splat16(last);
#endif
    }
};

// Calls accept(i) for each window start i in [first, last] (whose window lies in data)
// where the first and last bytes fit the filter, until one accepts; answers that i or -1.
// Windows are tested in blocks; the last block is moved back to end at `last`, so some
// windows are tested twice (none of them was accepted the first time).
template <bool Folded, typename Accept>
#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline int64_t scanInside(const TWindowFilter& f, const uint8_t* data, int64_t first,
                          int64_t last, Accept&& accept)
{
    const int64_t m = f.PatternLength;
    const auto flagged = [&](uint64_t mask, int64_t block) -> int64_t {
        while (mask) {
            const int k = flaggedByte(mask);
            if (accept(block + k))
                return block + k;
            mask = dropFlagged(mask, k);
        }
        return -1;
    };
#if defined(__GNUC__)
    if (last - first >= 15) {
        const auto hitsAt = [&](int64_t block) {
            return ((load16(data + block) | f.Or16) == f.First16) &
                   ((load16(data + block + m - 1) | f.Or16) == f.Last16);
        };
        // Most rows hold no candidate at all: the blocks' hits of a run of up to 256 windows
        // are gathered first and tested once, which spares a branch per block. Up to 48
        // windows (most rows) take three blocks, overlapping as they must, so the row's
        // length decides no branch. A short last run is moved back to hold sixteen windows.
        constexpr int64_t kRun = 256;
        for (int64_t runFirst = first; runFirst <= last; runFirst += kRun) {
            const int64_t runLast = std::min(last, runFirst + kRun - 1);
            const int64_t from = std::min(runFirst, runLast - 15);
            auto any =
                hitsAt(from) | hitsAt(std::min(from + 16, runLast - 15)) | hitsAt(runLast - 15);
            for (int64_t block = from + 32; block < runLast - 15; block += 16)
                any |= hitsAt(block);
            if (byteMask(any) == 0)
                continue;
            for (int64_t i = from; i <= runLast; i += 16) {
                const int64_t block = std::min(i, runLast - 15);
                for (unsigned hit = byteMask(hitsAt(block)); hit != 0; hit &= hit - 1) {
                    const int64_t at = block + std::countr_zero(hit);
                    if (accept(at))
                        return at;
                }
            }
        }
        return -1;
    }
#endif
    if (last - first >= 7) {
        const auto hitsAt = [&](int64_t block) {
            return zeroBytes((load64(data + block) | f.Or8) ^ f.First8) &
                   zeroBytes((load64(data + block + m - 1) | f.Or8) ^ f.Last8);
        };
        for (int64_t i = first; i <= last; i += 8) {
            const int64_t block = std::min(i, last - 7);
            const int64_t at = flagged(hitsAt(block), block);
            if (at >= 0)
                return at;
        }
        return -1;
    }
    const uint8_t* upper = upperCaseTable().data();
    for (int64_t j = first; j <= last; ++j)
        if (compared<Folded>(data[j], upper) == f.FirstByte && accept(j))
            return j;
    return -1;
}

} // namespace

template <bool Folded>
int64_t TPlainSearch::filtered(TTextReader& reader, int64_t from, const TPlainOptions& options)
{
    const int64_t m = static_cast<int64_t>(m_pattern.size());
    const int64_t length = reader.Length();
    if (from + m > length)
        return -1;
    const uint8_t* upper = upperCaseTable().data();
    const std::string& pattern = Folded ? m_upper : m_pattern;
    const uint8_t* crosses = Folded ? m_crossesFolded.data() : m_crosses.data();
    const uint8_t firstByte = static_cast<uint8_t>(pattern.front());
    const TWindowFilter filter(m, Folded ? 0x20 : 0, Folded ? m_firstFolded : m_first,
                               Folded ? m_lastFolded : m_last, firstByte);
    TTextReader verifier(reader.Source());
    int64_t nextPoll = from + kPollBytes;
    int64_t pos = from;
    // The span being scanned is held in locals (the hot loop keeps them in registers) rather
    // than in the reader, which is told where the scan ended when it ends.
    const TTextSpan first = reader.SpanAt(pos);
    const uint8_t* data = reinterpret_cast<const uint8_t*>(first.Data);
    int64_t spanStart = first.Start;
    int64_t n = first.End - first.Start;
    const TTextRow* row = first.Row;
    const auto current = [&] {
        return TTextSpan{reinterpret_cast<const char*>(data), spanStart, spanStart + n, row};
    };
    const auto leave = [&](int64_t result) {
        reader.Adopt(current());
        return result;
    };
    // The window at index i is compared in place when it lies in the span, else (it runs on
    // into the next span) through the verifier, which starts from this span.
    const auto accept = [&](int64_t i) {
        const int64_t start = spanStart + i;
        verifier.Adopt(current());
        const bool equal = i + m <= n ? windowEquals<Folded>(data + i, pattern, 0, m, upper)
                                      : verify(verifier, start, Folded);
        return equal && (!options.WholeWord || wordAt(verifier, start, options));
    };
    const auto moveTo = [&](const TTextSpan& span) {
        data = reinterpret_cast<const uint8_t*>(span.Data);
        spanStart = span.Start;
        n = span.End - span.Start;
        row = span.Row;
    };
    while (true) {
        const int64_t firstInside = pos - spanStart;
        const int64_t lastInside = n - m;
        if (firstInside <= lastInside) {
            const int64_t at = scanInside<Folded>(filter, data, firstInside, lastInside, accept);
            if (at >= 0)
                return leave(spanStart + at);
        }
        if (m > 1 && crosses[data[n - 1]]) {
            for (int64_t i = std::max(firstInside, lastInside + 1); i < n; ++i)
                if (compared<Folded>(data[i], upper) == firstByte && accept(i))
                    return leave(spanStart + i);
        }
        pos = spanStart + n;
        if (pos + m > length)
            return leave(-1);
        if (pos >= nextPoll) {
            poll(reader, verifier);
            nextPoll = pos + kPollBytes;
            moveTo(reader.SpanAt(pos));
        } else if (const TTextRow* next = row ? row->Next : nullptr) {
#if defined(__GNUC__)
            if (next->Next)
                __builtin_prefetch(next->Next);
#endif
            moveTo({next->Text(), pos, pos + next->Length, next});
        } else {
            reader.Adopt(current());
            moveTo(reader.SpanAt(pos));
        }
    }
}

template <bool Folded>
int64_t TPlainSearch::forward(TTextReader& reader, int64_t from, const TPlainOptions& options)
{
    const int64_t m = static_cast<int64_t>(m_pattern.size());
    const int64_t length = reader.Length();
    const uint8_t* upper = upperCaseTable().data();
    const int* skip = Folded ? m_forwardFolded.data() : m_forward.data();
    const std::string& pattern = Folded ? m_upper : m_pattern;
    const auto lastByte = static_cast<unsigned char>(pattern.back());
    TTextReader verifier(reader.Source());
    int64_t nextPoll = from + kPollBytes;
    int64_t last = from + m - 1; // the window's last byte
    while (last < length) {
        if (last >= nextPoll) {
            poll(reader, verifier);
            nextPoll = last + kPollBytes;
        }
        // The span's bytes are indexed relative to its start.
        const TTextSpan& span = reader.SpanAt(last);
        const auto* data = reinterpret_cast<const uint8_t*>(span.Data);
        const int64_t spanStart = span.Start;
        int64_t i = last - spanStart;
        const int64_t end = span.End - spanStart;
        while (i < end) {
            const uint8_t c = data[i];
            if (compared<Folded>(c, upper) == lastByte) {
                const int64_t start = spanStart + i - m + 1;
                const bool equal = i - m + 1 >= 0 ? windowEquals<Folded>(data + (i - m + 1),
                                                                         pattern, 0, m - 1, upper)
                                                  : verify(verifier, start, Folded);
                if (equal && (!options.WholeWord || wordAt(verifier, start, options)))
                    return start;
            }
            i += skip[c];
        }
        last = spanStart + i;
    }
    return -1;
}

template <bool Folded>
int64_t TPlainSearch::backward(TTextReader& reader, int64_t before, const TPlainOptions& options)
{
    const int64_t m = static_cast<int64_t>(m_pattern.size());
    const int64_t length = reader.Length();
    const uint8_t* upper = upperCaseTable().data();
    const int* skip = Folded ? m_backwardFolded.data() : m_backward.data();
    const std::string& pattern = Folded ? m_upper : m_pattern;
    const auto firstByte = static_cast<unsigned char>(pattern.front());
    TTextReader verifier(reader.Source());
    int64_t start = std::min(before - 1, length - m); // the window's first byte
    int64_t nextPoll = start - kPollBytes;
    while (start >= 0) {
        if (start <= nextPoll) {
            poll(reader, verifier);
            nextPoll = start - kPollBytes;
        }
        const TTextSpan& span = reader.SpanAt(start);
        const auto* data = reinterpret_cast<const uint8_t*>(span.Data);
        const int64_t spanStart = span.Start;
        const int64_t end = span.End - spanStart;
        int64_t i = start - spanStart;
        while (i >= 0) {
            const uint8_t c = data[i];
            if (compared<Folded>(c, upper) == firstByte) {
                const bool equal = i + m <= end
                                       ? windowEquals<Folded>(data + i, pattern, 1, m, upper)
                                       : verify(verifier, spanStart + i, Folded);
                if (equal && (!options.WholeWord || wordAt(verifier, spanStart + i, options)))
                    return spanStart + i;
            }
            i -= skip[c];
        }
        start = spanStart + i;
    }
    return -1;
}
