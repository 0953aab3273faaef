#include "highlight/runtime/SyntaxKeywords.h"

#include "base/Exception.h"
#include "highlight/CharSpecifier.h"
#include "highlight/ParserErrors.h"
#include "highlight/runtime/StateSetOps.h"

TKeywords::TKeywords(bool caseSensitive)
{
    setCaseSensitive(caseSensitive);
    m_root.fill(-1);
}

void TKeywords::setCaseSensitive(bool caseSensitive)
{
    if (m_entryCount != 0 && caseSensitive != m_caseSensitive)
        throw EKeywords("Cannot change the case rule of a filled keyword list");
    m_caseSensitive = caseSensitive;
    for (int c = 0; c < 256; ++c)
        m_fold[c] =
            static_cast<uint8_t>(!caseSensitive && c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
}

void TKeywords::clear()
{
    m_root.fill(-1);
    m_nodes.clear();
    m_dense.clear();
    m_entryCount = 0;
}

// The child of parent (or the root node, parent -1) for ch, created in sibling order.
int32_t TKeywords::childFor(int32_t parent, uint8_t ch)
{
    if (parent < 0) {
        if (m_root[ch] < 0) {
            m_root[ch] = static_cast<int32_t>(m_nodes.size());
            m_nodes.push_back({ch});
        }
        return m_root[ch];
    }
    int32_t previous = -1;
    int32_t node = m_nodes[parent].child;
    while (node >= 0 && m_nodes[node].ch < ch) {
        previous = node;
        node = m_nodes[node].sibling;
    }
    if (node >= 0 && m_nodes[node].ch == ch)
        return node;
    const auto created = static_cast<int32_t>(m_nodes.size());
    m_nodes.push_back({ch, node});
    if (previous < 0)
        m_nodes[parent].child = created;
    else
        m_nodes[previous].sibling = created;
    if (m_nodes[parent].dense >= 0)
        m_dense[static_cast<size_t>(m_nodes[parent].dense)][ch] = created;
    return created;
}

void TKeywords::compact()
{
    for (Node& n : m_nodes) {
        if (n.dense >= 0)
            continue;
        int children = 0;
        for (int32_t c = n.child; c >= 0; c = m_nodes[static_cast<size_t>(c)].sibling)
            ++children;
        if (children < kDenseChildren)
            continue;
        std::array<int32_t, 256> table;
        table.fill(-1);
        for (int32_t c = n.child; c >= 0; c = m_nodes[static_cast<size_t>(c)].sibling)
            table[m_nodes[static_cast<size_t>(c)].ch] = c;
        n.dense = static_cast<int32_t>(m_dense.size());
        m_dense.push_back(table);
    }
}

void TKeywords::add(std::string_view word, const ParserStateSet& states,
                    const ParserStateSet& followers, uint8_t token, bool foldWord)
{
    if (word.empty())
        return;
    std::string text(word);
    if (foldWord)
        for (char& c : text)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + ('a' - 'A'));
    // Find the end node first, so a duplicate leaves the trie untouched.
    std::vector<int32_t> path;
    int32_t node = -1;
    for (char c : text) {
        node = childFor(node, static_cast<uint8_t>(c));
        path.push_back(node);
    }
    for (const Entry& entry : m_nodes[node].entries)
        if (setsMeet(entry.states, states))
            throw EKeywords(Format("Duplicate keyword - '%s'", text.c_str()));
    m_nodes[node].entries.push_back({states, followers, token});
    for (int32_t step : path)
        m_nodes[step].reach |= states;
    ++m_entryCount;
}

bool TKeywords::match(TParseCursor& in, const ParserStateSet& current, int& token,
                      int& length) const
{
    int32_t node = in.atEnd() ? -1 : m_root[fold(in.current())];
    if (node < 0) { // most characters start no keyword: step over them at once
        in.next();
        length = 1;
        return false;
    }
    const int64_t start = in.position();
    int count = 0;
    int bestLength = 0;
    int bestToken = -1;
    while (node >= 0) {
        const Node& n = m_nodes[static_cast<size_t>(node)];
        if (!setsMeet(n.reach, current))
            break;
        in.next();
        ++count;
        const uint8_t after = in.current();
        for (const Entry& entry : n.entries)
            if (setsMeet(entry.states, current) && entry.followers.contains(after)) {
                bestLength = count;
                bestToken = entry.token;
                break;
            }
        if (in.atEnd())
            break;
        node = childOf(n, fold(after));
    }
    if (bestToken >= 0) {
        in.setPosition(start + bestLength);
        length = bestLength;
        token = bestToken;
        return true;
    }
    in.setPosition(start);
    in.next();
    length = 1;
    return false;
}

ParserStateSet TKeywords::checkNode(int32_t node, std::string& problem) const
{
    const Node& n = m_nodes[static_cast<size_t>(node)];
    ParserStateSet expected;
    for (size_t i = 0; i < n.entries.size(); ++i) {
        expected |= n.entries[i].states;
        for (size_t j = 0; j < i; ++j)
            if (setsMeet(n.entries[i].states, n.entries[j].states) && problem.empty())
                problem = "two entries of one word meet";
    }
    if (!m_caseSensitive && n.ch >= 'A' && n.ch <= 'Z' && problem.empty())
        problem = "upper-case character in a case-insensitive trie";
    if (n.dense >= 0) {
        int listed = 0;
        for (int32_t child = n.child; child >= 0; child = m_nodes[static_cast<size_t>(child)].sibling)
            listed += m_dense[static_cast<size_t>(n.dense)][m_nodes[static_cast<size_t>(child)].ch] == child;
        int held = 0;
        for (int32_t entry : m_dense[static_cast<size_t>(n.dense)])
            held += entry >= 0;
        int children = 0;
        for (int32_t child = n.child; child >= 0; child = m_nodes[static_cast<size_t>(child)].sibling)
            ++children;
        if ((listed != children || held != children) && problem.empty())
            problem = "direct child table differs from the siblings";
    }
    int last = -1;
    for (int32_t child = n.child; child >= 0; child = m_nodes[static_cast<size_t>(child)].sibling) {
        if (m_nodes[static_cast<size_t>(child)].ch <= last && problem.empty())
            problem = "siblings out of order";
        last = m_nodes[static_cast<size_t>(child)].ch;
        expected |= checkNode(child, problem);
    }
    if (!(expected == n.reach) && problem.empty())
        problem = "state union differs from the keywords below";
    return n.reach;
}

std::string TKeywords::check() const
{
    std::string problem;
    for (int c = 0; c < 256; ++c) {
        const int32_t node = m_root[c];
        if (node < 0)
            continue;
        if (m_nodes[static_cast<size_t>(node)].ch != c)
            problem = "root entry names another character";
        checkNode(node, problem);
        if (!problem.empty())
            return problem;
    }
    return problem;
}

ParserStateSet followersOf(const TSM_CharGroup& group)
{
    if (group.negated())
        return complementOf(group.chars());
    if (group.chars().empty())
        return allMembers();
    return group.chars();
}

void TSyntaxKeywords::build(const std::vector<KeywordEntry>& keywords,
                            const TSM_CharGroupManager& groups, bool caseSensitive)
{
    clear();
    m_declared.clear();
    setCaseSensitive(caseSensitive);
    for (const KeywordEntry& keyword : keywords) {
        add(keyword.text, keyword.states, followersOf(groups.group(keyword.terminator)),
            static_cast<uint8_t>(keyword.token), !caseSensitive);
        m_declared.push_back(keyword);
    }
    compact();
}

// A table keeps its terminator as the raw specifier text; its first specifier is the group
// that must follow a word. Without one (or when the text cannot be read) any character may.
ParserStateSet tableFollowers(std::string_view terminators)
{
    try {
        const std::optional<std::vector<TSM_CharGroup>> groups = parseCharSpecifiers(terminators);
        if (groups && !groups->empty())
            return followersOf(groups->front());
    } catch (const Exception&) {
        // a range written backwards: no group, as for any other unreadable text
    }
    return allMembers();
}

void TSyntaxKeywords::buildFromTables(const std::vector<KeywordTableRecord>& tables,
                                      bool caseSensitive)
{
    clear();
    m_declared.clear();
    setCaseSensitive(caseSensitive);
    for (const KeywordTableRecord& table : tables) {
        const ParserStateSet followers = tableFollowers(table.terminators);
        for (const auto& [word, value] : table.words)
            add(word, table.states, followers, static_cast<uint8_t>(value),
                table.caseSensitive == 0);
    }
    compact();
}
