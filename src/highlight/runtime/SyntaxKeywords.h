// The keyword trie of a highlighting language. A root array gives the node of each first
// character; a node holds its character, its next sibling, its first child, the union of the
// state sets of every keyword that passes through it, and the entries of the keywords that end
// at it. Invariants (check()): siblings ascend by character; every node's union equals its own
// entries' states joined with its children's unions; no node holds two entries with
// overlapping states; a trie that is not case sensitive holds no character A..Z.
// Nodes live in one array and link by index, so building never invalidates a walk's data.
// A node with many children also has a direct table of them (compact()), which always agrees
// with its sibling list.
#pragma once

#include "highlight/CharGroup.h"
#include "highlight/ParserSettings.h"
#include "highlight/ParserStateSet.h"
#include "highlight/ParserTables.h"
#include "highlight/runtime/ParseCursor.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TKeywords
{
public:
    struct Entry
    {
        ParserStateSet states;
        ParserStateSet followers; // characters that may come after the word (all: any)
        uint8_t token = 0;
    };

    explicit TKeywords(bool caseSensitive = false);

    // Only an empty trie may change its case rule.
    void setCaseSensitive(bool caseSensitive);
    bool caseSensitive() const { return m_caseSensitive; }
    bool empty() const { return m_entryCount == 0; }
    size_t entryCount() const { return m_entryCount; }
    void clear();

    // Adds a word (folded to lower case first when foldWord is set). An empty word is ignored.
    // Throws EKeywords "Duplicate keyword - '%s'" when an entry of the same word meets states.
    void add(std::string_view word, const ParserStateSet& states, const ParserStateSet& followers,
             uint8_t token, bool foldWord);

    // The longest keyword at the cursor valid in current: on a hit the cursor is after the
    // word, length its character count and token its number; on a miss the cursor is one
    // character after where it was (never beyond the end) and length is 1.
    bool match(TParseCursor& in, const ParserStateSet& current, int& token, int& length) const;

    // Gives every node with many children a direct table of them, so a match steps to the next
    // character in one lookup instead of a walk along the siblings. Later adds keep the tables.
    void compact();

    // Empty when every invariant holds, else the first broken one.
    std::string check() const;

private:
    static constexpr int kDenseChildren = 4;

    struct Node
    {
        uint8_t ch = 0;
        int32_t sibling = -1;
        int32_t child = -1;
        int32_t dense = -1; // index into m_dense, or -1: walk the siblings
        ParserStateSet reach;
        std::vector<Entry> entries;
    };

    int32_t childOf(const Node& n, uint8_t ch) const
    {
        if (n.dense >= 0)
            return m_dense[static_cast<size_t>(n.dense)][ch];
        int32_t child = n.child;
        while (child >= 0 && m_nodes[static_cast<size_t>(child)].ch < ch)
            child = m_nodes[static_cast<size_t>(child)].sibling;
        return child >= 0 && m_nodes[static_cast<size_t>(child)].ch == ch ? child : -1;
    }

    uint8_t fold(uint8_t c) const { return m_fold[c]; }
    int32_t childFor(int32_t parent, uint8_t ch);
    ParserStateSet checkNode(int32_t node, std::string& problem) const;

    bool m_caseSensitive = false;
    std::array<uint8_t, 256> m_fold{};
    std::array<int32_t, 256> m_root{};
    std::vector<Node> m_nodes;
    std::vector<std::array<int32_t, 256>> m_dense;
    size_t m_entryCount = 0;
};

// The parser's keyword list: the trie plus the keywords in declaration order, kept for
// saving. Terminator group ids resolve through the parser's character groups.
class TSyntaxKeywords : public TKeywords
{
public:
    using TKeywords::TKeywords;

    // Replaces the content by the declared keywords. Throws ESourceMemo "Invalid Set ID (%d)"
    // for a terminator outside groups and EKeywords for a duplicate.
    void build(const std::vector<KeywordEntry>& keywords, const TSM_CharGroupManager& groups,
               bool caseSensitive);
    // Replaces the content by the words of the settings' keyword tables; the tables' own case
    // flags fold the words, caseSensitive decides how text is matched.
    void buildFromTables(const std::vector<KeywordTableRecord>& tables, bool caseSensitive);

    const std::vector<KeywordEntry>& declared() const { return m_declared; }

private:
    std::vector<KeywordEntry> m_declared;
};

// The characters a terminator group lets follow a word: the group's members (its complement
// when negated); an empty, plain group lets any character follow.
ParserStateSet followersOf(const TSM_CharGroup& group);
// The characters a keyword table's terminator text lets follow its words.
ParserStateSet tableFollowers(std::string_view terminators);
