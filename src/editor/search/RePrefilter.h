// Finds the positions where a match can start, so the matcher is not tried everywhere: a
// program whose every match begins with the same literal text is searched for that text with
// the plain search; one whose every match begins with a character from a known set is scanned
// for those characters. A program that can match the empty string, or starts with ^ or $,
// gets no prefilter and every position is a candidate.
#pragma once

#include "editor/search/PlainSearch.h"
#include "editor/search/ReProgram.h"
#include "editor/search/TextSource.h"

#include <array>
#include <cstdint>
#include <string>

class TRePrefilter
{
public:
    enum class TKind
    {
        None,
        Literal,
        FirstChars
    };

    void Build(const TReProgram& program);
    TKind Kind() const { return m_kind; }
    const std::string& Literal() const { return m_literal; }

    // The first candidate at or after from (from itself without a prefilter); -1 when none.
    int64_t Next(TTextReader& reader, int64_t from);
    // The last candidate at or before at; -1 when none.
    int64_t Prev(TTextReader& reader, int64_t at);
    // The plain search behind a literal prefilter, for its poll.
    TPlainSearch& Plain() { return m_plain; }

private:
    bool firstChars(const uint8_t* program, size_t node, std::array<uint8_t, 256>& set, int depth);

    TKind m_kind = TKind::None;
    std::string m_literal;
    TPlainSearch m_plain;
    std::array<uint8_t, 256> m_first{};
    int m_visits = 0;
};
