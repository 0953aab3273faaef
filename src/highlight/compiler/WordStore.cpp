#include "highlight/compiler/WordStore.h"

#include <stdexcept>

TWordStore::TWordStore()
{
    m_roots.fill(-1);
}

uint8_t TWordStore::fold(char c)
{
    const auto ch = static_cast<uint8_t>(c);
    return ch >= 'A' && ch <= 'Z' ? static_cast<uint8_t>(ch + 32) : ch;
}

// The first level lives in m_roots (one slot per character); deeper levels are sibling chains
// kept in ascending order so a lookup stops at the first larger character.
int32_t TWordStore::childWith(int32_t parent, uint8_t ch, bool create)
{
    if (parent < 0) {
        if (m_roots[ch] < 0 && create) {
            m_nodes.push_back(Node{ch});
            m_roots[ch] = static_cast<int32_t>(m_nodes.size() - 1);
        }
        return m_roots[ch];
    }
    int32_t previous = -1;
    int32_t node = m_nodes[static_cast<size_t>(parent)].child;
    while (node >= 0 && m_nodes[static_cast<size_t>(node)].ch < ch) {
        previous = node;
        node = m_nodes[static_cast<size_t>(node)].sibling;
    }
    if (node >= 0 && m_nodes[static_cast<size_t>(node)].ch == ch)
        return node;
    if (!create)
        return -1;
    Node added{ch};
    added.sibling = node;
    m_nodes.push_back(added);
    const auto index = static_cast<int32_t>(m_nodes.size() - 1);
    if (previous < 0)
        m_nodes[static_cast<size_t>(parent)].child = index;
    else
        m_nodes[static_cast<size_t>(previous)].sibling = index;
    return index;
}

int32_t TWordStore::find(std::string_view word) const
{
    int32_t node = -1;
    for (size_t i = 0; i < word.size(); ++i) {
        const uint8_t ch = fold(word[i]);
        node = i == 0 ? m_roots[ch] : m_nodes[static_cast<size_t>(node)].child;
        while (i > 0 && node >= 0 && m_nodes[static_cast<size_t>(node)].ch < ch)
            node = m_nodes[static_cast<size_t>(node)].sibling;
        if (node < 0 || m_nodes[static_cast<size_t>(node)].ch != ch)
            return -1;
    }
    return node >= 0 && m_nodes[static_cast<size_t>(node)].endsWord ? node : -1;
}

int32_t TWordStore::insert(std::string_view word)
{
    if (word.empty())
        return -1;
    int32_t node = -1;
    for (char c : word)
        node = childWith(node, fold(c), true);
    Node& n = m_nodes[static_cast<size_t>(node)];
    if (!n.endsWord) {
        n.endsWord = true;
        ++m_words;
    }
    return node;
}

void TWordStore::addText(std::string_view word, std::string_view text)
{
    const int32_t node = insert(word);
    if (node < 0)
        return;
    Node& n = m_nodes[static_cast<size_t>(node)];
    if (n.text < 0) {
        m_texts.emplace_back(text);
        n.text = static_cast<int32_t>(m_texts.size() - 1);
    } else {
        m_texts[static_cast<size_t>(n.text)] = std::string(text);
    }
}

void TWordStore::addValue(std::string_view word, int value)
{
    const int32_t node = insert(word);
    if (node >= 0)
        m_nodes[static_cast<size_t>(node)].value = value;
}

std::optional<std::string> TWordStore::textOf(std::string_view word) const
{
    const int32_t node = find(word);
    if (node < 0 || m_nodes[static_cast<size_t>(node)].text < 0)
        return std::nullopt;
    return m_texts[static_cast<size_t>(m_nodes[static_cast<size_t>(node)].text)];
}

int TWordStore::valueOf(std::string_view word) const
{
    const int32_t node = find(word);
    return node < 0 ? -1 : m_nodes[static_cast<size_t>(node)].value;
}

bool TWordStore::contains(std::string_view word) const
{
    return find(word) >= 0;
}

TWordStore::Match TWordStore::longestAt(std::string_view text) const
{
    Match best;
    int32_t node = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t ch = fold(text[i]);
        node = i == 0 ? m_roots[ch] : m_nodes[static_cast<size_t>(node)].child;
        while (i > 0 && node >= 0 && m_nodes[static_cast<size_t>(node)].ch < ch)
            node = m_nodes[static_cast<size_t>(node)].sibling;
        if (node < 0 || m_nodes[static_cast<size_t>(node)].ch != ch)
            break;
        if (m_nodes[static_cast<size_t>(node)].endsWord)
            best = Match{i + 1, m_nodes[static_cast<size_t>(node)].value};
    }
    return best;
}

void TWordStore::checkNode(int32_t index, std::string& path, int depth) const
{
    int previous = -1;
    for (int32_t node = index; node >= 0; node = m_nodes[static_cast<size_t>(node)].sibling) {
        const Node& n = m_nodes[static_cast<size_t>(node)];
        if (n.ch >= 'A' && n.ch <= 'Z')
            throw std::logic_error("word store holds an upper-case character");
        if (depth > 0 && static_cast<int>(n.ch) <= previous)
            throw std::logic_error("word store siblings out of order");
        previous = n.ch;
        path.push_back(static_cast<char>(n.ch));
        if (n.endsWord && find(path) != node)
            throw std::logic_error("word store word not reachable: " + path);
        checkNode(n.child, path, depth + 1);
        path.pop_back();
        if (depth == 0)
            break; // root slots have no siblings
    }
}

void TWordStore::check() const
{
    std::string path;
    size_t words = 0;
    for (const Node& n : m_nodes)
        words += n.endsWord ? 1 : 0;
    if (words != m_words)
        throw std::logic_error("word store count wrong");
    for (int32_t root : m_roots)
        checkNode(root, path, 0);
}
