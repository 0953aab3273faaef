// TReversedKeywords: a character trie of names stored reversed and in lower case, so that the longest
// name ending at a place in the text is found by reading backwards from it, one node per
// character read. A node holds its character, its first child, its next sibling (siblings in
// ascending character order), the entry a name ending there leads to, and the set of its
// children's characters, which turns a character no child has away without walking them.
// (TKeywords, the trie a highlighting language matches keywords with, reads forwards.)
// Invariants (check()): node 0 is the root; siblings ascend; each node's set holds exactly its
// children's characters; LongestName() is the longest name added.
#pragma once

#include <bitset>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The common base of the control's table objects: a class name for the messages of Assign.
class TSM_Base
{
public:
    virtual ~TSM_Base() = default;
    virtual const char* ClassName() const = 0;
};

class TReversedKeywords : public TSM_Base
{
public:
    TReversedKeywords() { ClearNames(); }
    const char* ClassName() const override { return "TReversedKeywords"; }

    // Makes name lead to entry (0 or more), replacing what it led to. An empty name is ignored.
    void AddName(std::string_view name, int entry);
    void ClearNames();
    size_t LongestName() const { return m_longest; }

    // Reads characters backwards: previous() gives the next character going back, or -1 when
    // none is left. Returns the entry of the longest name read that way (its length in
    // length), or -1.
    template <typename Previous>
    int LongestMatch(Previous&& previous, size_t& length) const
    {
        int found = -1;
        int32_t node = 0;
        for (size_t read = 1; read <= m_longest; ++read) {
            const int c = previous();
            if (c < 0)
                break;
            node = child(node, static_cast<unsigned char>(std::tolower(c)));
            if (node < 0)
                break;
            if (m_nodes[static_cast<size_t>(node)].Entry >= 0) {
                found = m_nodes[static_cast<size_t>(node)].Entry;
                length = read;
            }
        }
        return found;
    }

    std::string check() const;

private:
    struct TNode
    {
        unsigned char Character = 0;
        int32_t Child = -1;
        int32_t Sibling = -1;
        int32_t Entry = -1;
        std::bitset<256> Children;
    };
    int32_t child(int32_t node, unsigned char c) const;
    int32_t addChild(int32_t node, unsigned char c);

    std::vector<TNode> m_nodes;
    size_t m_longest = 0;
};
