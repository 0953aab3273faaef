#include "editor/search/PlainSearch.h"

#include "editor/edit/WordChars.h"
#include "editor/search/CaseFold.h"
#include "editor/search/SearchErrors.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int64_t kPollBytes = 1 << 20;

// Folding for the case-sensitive search: every byte stays.
const std::array<uint8_t, 256>& identityTable()
{
    static const std::array<uint8_t, 256> table = [] {
        std::array<uint8_t, 256> t{};
        for (int c = 0; c < 256; ++c)
            t[static_cast<size_t>(c)] = static_cast<uint8_t>(c);
        return t;
    }();
    return table;
}

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
    ++m_builds;
}

bool TPlainSearch::verify(TCharReader& verifier, int64_t position, const uint8_t* fold) const
{
    const std::string& pattern = fold == identityTable().data() ? m_pattern : m_upper;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const int c = verifier.At(position + static_cast<int64_t>(i));
        if (c < 0 || fold[c] != static_cast<unsigned char>(pattern[i]))
            return false;
    }
    return true;
}

bool TPlainSearch::wordAt(TCharReader& reader, int64_t position, const TPlainOptions& options) const
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
    return after < 0 || (!inWord(static_cast<char>(after)) && !startsWord(static_cast<char>(after)));
}

void TPlainSearch::poll(TCharReader& reader, TCharReader& verifier)
{
    if (!Poll)
        return;
    if (!Poll())
        throw ERegExpError(reSearchInterrupted);
    reader.Source().Invalidate();
    reader.Forget();
    verifier.Forget();
}

int64_t TPlainSearch::FindForward(TCharReader& reader, int64_t from, const TPlainOptions& options)
{
    const int64_t m = static_cast<int64_t>(m_pattern.size());
    const int64_t length = reader.Length();
    if (m == 0)
        return -1;
    from = std::max<int64_t>(from, 0);
    const uint8_t* fold = options.MatchCase ? identityTable().data() : upperCaseTable().data();
    const int* skip = options.MatchCase ? m_forward.data() : m_forwardFolded.data();
    const std::string& pattern = options.MatchCase ? m_pattern : m_upper;
    const auto lastByte = static_cast<unsigned char>(pattern.back());
    TCharReader verifier(reader.Source());
    int64_t nextPoll = from + kPollBytes;
    int64_t last = from + m - 1; // the window's last byte
    while (last < length) {
        if (last >= nextPoll) {
            poll(reader, verifier);
            nextPoll = last + kPollBytes;
        }
        // Indexes into the span are taken relative to its start, as data[x - spanStart].
        const TTextSpan& span = reader.SpanAt(last);
        const auto* data = reinterpret_cast<const uint8_t*>(span.Data);
        const int64_t spanEnd = span.End;
        const int64_t spanStart = span.Start;
        while (last < spanEnd) {
            const uint8_t c = data[last - spanStart];
            if (fold[c] == lastByte) {
                const int64_t start = last - m + 1;
                bool equal;
                if (start >= spanStart) {
                    equal = true;
                    for (int64_t i = 0; i + 1 < m; ++i)
                        if (fold[data[start - spanStart + i]] != static_cast<unsigned char>(pattern[static_cast<size_t>(i)])) {
                            equal = false;
                            break;
                        }
                } else {
                    equal = verify(verifier, start, fold);
                }
                if (equal && (!options.WholeWord || wordAt(verifier, start, options)))
                    return start;
            }
            last += skip[c];
        }
    }
    return -1;
}

int64_t TPlainSearch::FindBackward(TCharReader& reader, int64_t before, const TPlainOptions& options)
{
    const int64_t m = static_cast<int64_t>(m_pattern.size());
    const int64_t length = reader.Length();
    if (m == 0 || m > length)
        return -1;
    const uint8_t* fold = options.MatchCase ? identityTable().data() : upperCaseTable().data();
    const int* skip = options.MatchCase ? m_backward.data() : m_backwardFolded.data();
    const std::string& pattern = options.MatchCase ? m_pattern : m_upper;
    const auto firstByte = static_cast<unsigned char>(pattern.front());
    TCharReader verifier(reader.Source());
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
        const int64_t spanEnd = span.End;
        while (start >= spanStart) {
            const uint8_t c = data[start - spanStart];
            if (fold[c] == firstByte) {
                bool equal;
                if (start + m <= spanEnd) {
                    equal = true;
                    for (int64_t i = 1; i < m; ++i)
                        if (fold[data[start - spanStart + i]] != static_cast<unsigned char>(pattern[static_cast<size_t>(i)])) {
                            equal = false;
                            break;
                        }
                } else {
                    equal = verify(verifier, start, fold);
                }
                if (equal && (!options.WholeWord || wordAt(verifier, start, options)))
                    return start;
            }
            start -= skip[c];
        }
    }
    return -1;
}
