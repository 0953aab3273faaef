#include "editor/marks/ReversedKeywords.h"

#include <algorithm>

void TReversedKeywords::ClearNames()
{
    m_nodes.assign(1, TNode{});
    m_longest = 0;
}

int32_t TReversedKeywords::child(int32_t node, unsigned char c) const
{
    const TNode& parent = m_nodes[static_cast<size_t>(node)];
    if (!parent.Children.test(c))
        return -1;
    for (int32_t at = parent.Child; at >= 0; at = m_nodes[static_cast<size_t>(at)].Sibling) {
        if (m_nodes[static_cast<size_t>(at)].Character == c)
            return at;
    }
    return -1;
}

int32_t TReversedKeywords::addChild(int32_t node, unsigned char c)
{
    const int32_t found = child(node, c);
    if (found >= 0)
        return found;
    const auto made = static_cast<int32_t>(m_nodes.size());
    TNode fresh;
    fresh.Character = c;
    m_nodes.push_back(fresh);
    // Keep the siblings in ascending order.
    int32_t* link = &m_nodes[static_cast<size_t>(node)].Child;
    while (*link >= 0 && m_nodes[static_cast<size_t>(*link)].Character < c)
        link = &m_nodes[static_cast<size_t>(*link)].Sibling;
    m_nodes[static_cast<size_t>(made)].Sibling = *link;
    *link = made;
    m_nodes[static_cast<size_t>(node)].Children.set(c);
    return made;
}

void TReversedKeywords::AddName(std::string_view name, int entry)
{
    if (name.empty())
        return;
    int32_t node = 0;
    for (auto it = name.rbegin(); it != name.rend(); ++it)
        node = addChild(node, static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(*it))));
    m_nodes[static_cast<size_t>(node)].Entry = entry;
    m_longest = std::max(m_longest, name.size());
}

std::string TReversedKeywords::check() const
{
    if (m_nodes.empty())
        return "no root";
    for (const TNode& node : m_nodes) {
        std::bitset<256> seen;
        int previous = -1;
        for (int32_t at = node.Child; at >= 0; at = m_nodes[static_cast<size_t>(at)].Sibling) {
            const TNode& sibling = m_nodes[static_cast<size_t>(at)];
            if (static_cast<int>(sibling.Character) <= previous)
                return "siblings out of order";
            previous = sibling.Character;
            seen.set(sibling.Character);
        }
        if (seen != node.Children)
            return "child set differs from the children";
    }
    return {};
}
