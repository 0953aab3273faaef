// Character groups of a parser and the manager that keeps them distinct. A group matches a
// character when the character is in its set, or, for a negated group, when it is not. The
// manager holds each distinct group once (same set, flag and ranges); a group id is an index
// into it, so ids stay valid as long as the manager lives.
#pragma once

#include "highlight/ParserStateSet.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct CharRange
{
    uint16_t low = 0;
    uint16_t high = 0;
    bool operator==(const CharRange&) const = default;
};

class TSM_CharGroup
{
public:
    TSM_CharGroup() = default;
    TSM_CharGroup(const ParserStateSet& chars, bool negated);

    const ParserStateSet& chars() const { return m_chars; }
    bool negated() const { return m_negated; }
    // Lowest and highest member of the set; -1 for an empty set. Not stored.
    int lowest() const { return m_lowest; }
    int highest() const { return m_highest; }
    // Always empty in groups we build; kept so equality covers every field.
    const std::vector<CharRange>& ranges() const { return m_ranges; }

    bool matches(uint8_t ch) const { return m_chars.contains(ch) != m_negated; }
    bool operator==(const TSM_CharGroup& other) const
    {
        return m_chars == other.m_chars && m_negated == other.m_negated && m_ranges == other.m_ranges;
    }

private:
    ParserStateSet m_chars;
    bool m_negated = false;
    int m_lowest = -1;
    int m_highest = -1;
    std::vector<CharRange> m_ranges;
};

class TSM_CharGroupManager
{
public:
    // Ids are 16-bit, so a manager holds at most this many groups.
    static constexpr size_t kMaxGroups = 65536;

    // The id of an equal group already held, else of a copy appended now. Throws ESourceMemo
    // when the manager is full.
    uint16_t registerGroup(const TSM_CharGroup& group);
    // Throws ESourceMemo "Invalid Set ID (%d)" for an id at or beyond count().
    const TSM_CharGroup& group(int id) const;
    size_t count() const { return m_groups.size(); }
    void clear();
    // Every group is distinct and the lookup index matches the list.
    bool check() const;

private:
    static std::string keyOf(const TSM_CharGroup& group);

    std::vector<TSM_CharGroup> m_groups;
    std::map<std::string, uint16_t> m_index;
};
