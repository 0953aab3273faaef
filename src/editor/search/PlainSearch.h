// Plain-text search: a Boyer-Moore-Horspool scan over a character source, forwards or
// backwards, case-sensitive or folded to upper case, optionally for whole words only. The four
// skip tables (two directions, two cases) are built once per pattern and kept while the
// pattern stays the same. The scan reads the source's spans in place; only a window that
// straddles two spans is compared through a second reader.
#pragma once

#include "editor/search/CharSource.h"

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
    int64_t FindForward(TCharReader& reader, int64_t from, const TPlainOptions& options);
    // The last match starting before `before`; -1 when none.
    int64_t FindBackward(TCharReader& reader, int64_t before, const TPlainOptions& options);

    // Called about every megabyte scanned; answering false stops the search with
    // ERegExpError reSearchInterrupted. The source is invalidated after each call.
    std::function<bool()> Poll;

private:
    using TSkips = std::array<int, 256>;

    bool verify(TCharReader& verifier, int64_t position, const uint8_t* fold) const;
    bool wordAt(TCharReader& reader, int64_t position, const TPlainOptions& options) const;
    void poll(TCharReader& reader, TCharReader& verifier);

    std::string m_pattern;
    std::string m_upper;
    TSkips m_forward{};
    TSkips m_forwardFolded{};
    TSkips m_backward{};
    TSkips m_backwardFolded{};
    int m_builds = 0;
};
