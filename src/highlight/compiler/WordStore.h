// TWordStore: a trie of lower-cased words, each with an integer value and an optional text; the
// script compiler keeps its reserved words and its macros in two of these. Invariants
// (check()): siblings ascend by character; every node's character is not an upper-case letter;
// a node that ends a word is reachable from the root by that word.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TWordStore
{
public:
    TWordStore();

    // Adds word with a text, replacing any earlier text (the value stays).
    void addText(std::string_view word, std::string_view text);
    // Adds word with an integer value, replacing any earlier value.
    void addValue(std::string_view word, int value);
    // The text of word, when word exists and has one.
    std::optional<std::string> textOf(std::string_view word) const;
    // The value of word, or -1 when word is absent or has none.
    int valueOf(std::string_view word) const;
    bool contains(std::string_view word) const;

    struct Match
    {
        size_t length = 0; // 0: no word matches
        int value = -1;
    };
    // The longest word that text starts with, ignoring case.
    Match longestAt(std::string_view text) const;

    size_t wordCount() const { return m_words; }
    // Throws std::logic_error naming the first broken invariant.
    void check() const;

private:
    struct Node
    {
        uint8_t ch = 0;
        int32_t sibling = -1;
        int32_t child = -1;
        bool endsWord = false;
        int value = -1;
        int32_t text = -1; // index into m_texts
    };

    static uint8_t fold(char c);
    int32_t find(std::string_view word) const;
    int32_t insert(std::string_view word);
    int32_t childWith(int32_t parent, uint8_t ch, bool create);
    void checkNode(int32_t index, std::string& path, int depth) const;

    std::array<int32_t, 256> m_roots;
    std::vector<Node> m_nodes;
    std::vector<std::string> m_texts;
    size_t m_words = 0;
};
