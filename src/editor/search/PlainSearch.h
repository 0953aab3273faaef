// Plain-text search over a character source, forwards or backwards, case-sensitive or folded
// to upper case, optionally for whole words only. Backwards it is a Boyer-Moore-Horspool scan;
// forwards too, except where the pattern's first and last bytes allow a faster filter: then
// sixteen (or eight) window positions at a time are tested for both bytes at once (document
// rows are short, so skipping saves little and the skip chain's latency is what a Horspool
// scan costs there).
// The four skip tables (two directions, two cases) and the filter's bytes are prepared once
// per pattern and kept while the pattern stays the same. The scan reads the source's spans in
// place; only a window that straddles two spans is compared through a second reader.
#pragma once

#include "editor/search/TextSource.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The word tests of whole-word search; the editor's own when unset.
struct TWordTests
{
    std::function<bool(char)> StartsWord;
    std::function<bool(char)> IsInWord;
};

struct TPlainOptions
{
    bool MatchCase = true;
    bool WholeWord = false;
    TWordTests Words;
};

class TPlainSearch
{
public:
    // The pattern in stored form (line breaks as CR). An empty pattern finds nothing.
    void SetPattern(std::string_view pattern);
    const std::string& Pattern() const { return m_pattern; }
    // How many times the tables were built (tests check that an equal pattern reuses them).
    int TablesBuilt() const { return m_builds; }

    // The first match starting at or after from; -1 when none.
    int64_t FindForward(TTextReader& reader, int64_t from, const TPlainOptions& options);
    // The last match starting before `before`; -1 when none.
    int64_t FindBackward(TTextReader& reader, int64_t before, const TPlainOptions& options);

    // Called about every megabyte scanned; answering false stops the search with
    // ERegExpError reSearchInterrupted. The source is invalidated after each call.
    std::function<bool()> Poll;

private:
    using TSkips = std::array<int, 256>;

    template <bool Folded>
    int64_t filtered(TTextReader& reader, int64_t from, const TPlainOptions& options);
    template <bool Folded>
    int64_t forward(TTextReader& reader, int64_t from, const TPlainOptions& options);
    template <bool Folded>
    int64_t backward(TTextReader& reader, int64_t before, const TPlainOptions& options);
    bool verify(TTextReader& verifier, int64_t position, bool folded) const;
    bool wordAt(TTextReader& reader, int64_t position, const TPlainOptions& options) const;
    void poll(TTextReader& reader, TTextReader& verifier);

    std::string m_pattern;
    std::string m_upper;
    TSkips m_forward{};
    TSkips m_forwardFolded{};
    TSkips m_backward{};
    TSkips m_backwardFolded{};
    int m_builds = 0;
    // The filter: a byte b may be the pattern's first (last) byte when (b | mask) equals the
    // first (last) byte's value. Folded needs the mask 0x20 and a fold class it covers.
    bool m_filterFolded = false;
    uint8_t m_first = 0;
    uint8_t m_last = 0;
    uint8_t m_firstFolded = 0;
    uint8_t m_lastFolded = 0;
    // Whether a window that runs past a span's end can match there, by the span's last byte:
    // only when that byte (folded, in the second table) is one of the pattern's first m - 1.
    // Rows end in a line break, so a pattern without one never checks the row ends.
    std::array<uint8_t, 256> m_crosses{};
    std::array<uint8_t, 256> m_crossesFolded{};
};
