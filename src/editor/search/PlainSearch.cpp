#include "editor/search/PlainSearch.h"

#include "editor/edit/WordChars.h"
#include "editor/search/CaseFold.h"
#include "editor/search/SearchErrors.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

} // namespace

template <bool Folded>
int64_t TPlainSearch::filtered(TTextReader& reader, int64_t from, const TPlainOptions& options)
{
    const int64_t m = static_cast<int64_t>(m_pattern.size());
    const int64_t length = reader.Length();
    const uint8_t* upper = upperCaseTable().data();
    const std::string& pattern = Folded ? m_upper : m_pattern;
    const uint64_t orMask = Folded ? 0x20 * kLowBits : 0;
    const uint64_t first = (Folded ? m_firstFolded : m_first) * kLowBits;
    const uint64_t last = (Folded ? m_lastFolded : m_last) * kLowBits;
    const uint8_t firstByte = static_cast<uint8_t>(pattern.front());
    TTextReader verifier(reader.Source());
    int64_t nextPoll = from + kPollBytes;
    // The window starting at index i of a span is tested in place when it fits in the span,
    // else (it runs into the next span) through the verifier.
    const auto accept = [&](const uint8_t* data, int64_t i, int64_t n, int64_t spanStart) {
        const int64_t start = spanStart + i;
        const bool equal = i + m <= n ? windowEquals<Folded>(data + i, pattern, 0, m, upper)
                                      : verify(verifier, start, Folded);
        return equal && (!options.WholeWord || wordAt(verifier, start, options));
    };
    for (int64_t pos = from; pos + m <= length;) {
        if (pos >= nextPoll) {
            poll(reader, verifier);
            nextPoll = pos + kPollBytes;
        }
        const TTextSpan& span = reader.SpanAt(pos);
        const auto* data = reinterpret_cast<const uint8_t*>(span.Data);
        const int64_t spanStart = span.Start;
        const int64_t n = span.End - spanStart;
        // Windows starting at [i, n - m] lie inside the span: eight at a time, the last eight
        // ending at n - m (they may overlap windows tested already, which are skipped).
        const int64_t firstInside = pos - spanStart;
        const int64_t lastInside = n - m;
        for (int64_t i = firstInside; i <= lastInside; i += 8) {
            const int64_t block = std::min(i, std::max<int64_t>(lastInside - 7, firstInside));
            uint64_t mask = 0;
            if (block + m - 1 + 8 <= n) {
                mask = zeroBytes((load64(data + block) | orMask) ^ first) &
                       zeroBytes((load64(data + block + m - 1) | orMask) ^ last);
            } else { // a span shorter than a block: window by window
                for (int64_t j = block; j <= lastInside; ++j)
                    if (compared<Folded>(data[j], upper) == firstByte &&
                        accept(data, j, n, spanStart))
                        return spanStart + j;
                break;
            }
            while (mask) {
                const int k = flaggedByte(mask);
                if (block + k >= i && accept(data, block + k, n, spanStart))
                    return spanStart + block + k;
                mask = dropFlagged(mask, k);
            }
        }
        // Windows that run on into the next span.
        for (int64_t i = std::max(firstInside, lastInside + 1); i < n; ++i)
            if (compared<Folded>(data[i], upper) == firstByte && accept(data, i, n, spanStart))
                return spanStart + i;
        pos = span.End;
    }
    return -1;
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
