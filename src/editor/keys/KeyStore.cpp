#include "editor/keys/KeyStore.h"

#include "editor/keys/KeyErrors.h"
#include "editor/keys/KeyboardActionController.h"

#include <set>
#include <stdexcept>
#include <vector>

TKeyNode* TKeyStore::find(const TKeyNode* parent, TShortCut shortcut) const
{
    const auto it = m_index.find({parent, shortcut});
    return it == m_index.end() ? nullptr : it->second;
}

TKeyNode* TKeyStore::append(TKeyNode* parent, TShortCut shortcut)
{
    TKeyNode& node = m_nodes.emplace_back();
    node.Shortcut = shortcut;
    node.Parent = parent;
    TKeyNode*& tail = parent ? parent->LastChild : m_rootTail;
    TKeyNode*& head = parent ? parent->Children : m_root;
    if (tail)
        tail->Sibling = &node;
    else
        head = &node;
    tail = &node;
    m_index.emplace(std::make_pair(static_cast<const TKeyNode*>(parent), shortcut), &node);
    return &node;
}

void TKeyStore::conflict(int32_t adding, int32_t bound) const
{
    const std::string addingName = m_controller ? m_controller->NameOf(adding) : std::string();
    const std::string boundName = m_controller ? m_controller->NameOf(bound) : std::string();
    throw EAmbigiousKeyPair(Format("Duplicate key sequence definition for\r\n\"%s\" and \"%s\"",
                                   addingName.c_str(), boundName.c_str()));
}

void TKeyStore::Bind(TShortCut first, TShortCut second, int32_t command)
{
    // A second key is matched without modifiers, so it is stored without them; one that has no
    // key code left would be stored as 0 and read back as a single key, so it counts as none.
    second = static_cast<TShortCut>(second & ~ModifierBits);
    TKeyNode* node = find(nullptr, first);
    if (node && second == 0 && node->Children)
        conflict(command, node->Children->Command);
    if (node && node->Bound)
        conflict(command, node->Command);
    if (second != 0) {
        TKeyNode* secondNode = node ? find(node, second) : nullptr;
        if (secondNode)
            conflict(command, secondNode->Command);
        node = append(node ? node : append(nullptr, first), second);
    } else if (!node) {
        node = append(nullptr, first);
    }
    node->Command = command;
    node->Bound = true;
    ++m_boundCount;
}

TKeyMatch TKeyStore::Match(TShortCut key)
{
    const TKeyNode* parent = m_waitingPrefix;
    if (parent)
        key = static_cast<TShortCut>(key & ~ModifierBits);
    m_waitingPrefix = nullptr;
    TKeyNode* node = find(parent, key);
    if (!node)
        return TKeyMatch::NoMatch;
    if (node->Children) {
        m_waitingPrefix = node;
        return TKeyMatch::Prefix;
    }
    m_lastCommand = node->Command;
    return TKeyMatch::Command;
}

void TKeyStore::ForEachBinding(
    const std::function<void(TShortCut, TShortCut, int32_t)>& visit) const
{
    // A list first, then the lists under its nodes in the same order. Loading binds in the
    // order visited, so a loaded map visits (and saves) its bindings exactly as they were read.
    // No recursion: a list of tens of thousands of keys must not exhaust the stack.
    std::deque<const TKeyNode*> pending;
    if (m_root)
        pending.push_back(m_root);
    while (!pending.empty()) {
        const TKeyNode* node = pending.front();
        pending.pop_front();
        for (; node; node = node->Sibling) {
            if (node->Bound)
                visit(node->Parent ? node->Parent->Shortcut : node->Shortcut,
                      node->Parent ? node->Shortcut : 0, node->Command);
            if (node->Children)
                pending.push_back(node->Children);
        }
    }
}

std::optional<std::pair<TShortCut, TShortCut>> TKeyStore::findHit(int32_t command,
                                                                  int32_t hit) const
{
    std::optional<std::pair<TShortCut, TShortCut>> result;
    int32_t seen = 0;
    ForEachBinding([&](TShortCut first, TShortCut second, int32_t bound) {
        if (bound == command && seen++ == hit)
            result = {first, second};
    });
    return result;
}

std::pair<TShortCut, TShortCut> TKeyStore::KeysOf(int32_t command)
{
    m_searchCount = 0;
    return NextKeysOf(command);
}

std::pair<TShortCut, TShortCut> TKeyStore::NextKeysOf(int32_t command)
{
    const auto keys = findHit(command, m_searchCount);
    if (!keys)
        return {0, 0};
    ++m_searchCount;
    return *keys;
}

namespace {

void require(bool condition, const char* what)
{
    if (!condition)
        throw std::logic_error(std::string("key store: ") + what);
}

} // namespace

void TKeyStore::check() const
{
    size_t nodes = 0;
    size_t bound = 0;
    std::vector<const TKeyNode*> lists{m_root};
    bool waitingFound = m_waitingPrefix == nullptr;
    while (!lists.empty()) {
        const TKeyNode* head = lists.back();
        lists.pop_back();
        std::set<TShortCut> seen;
        const TKeyNode* last = nullptr;
        for (const TKeyNode* node = head; node; last = node, node = node->Sibling) {
            ++nodes;
            require(node->Parent == (head ? head->Parent : nullptr), "a list mixes parents");
            require(seen.insert(node->Shortcut).second, "a shortcut occurs twice in one list");
            require(find(node->Parent, node->Shortcut) == node, "the index misses a node");
            require((node->Children != nullptr) != node->Bound,
                    "a node must be either a prefix or bound");
            if (node->Parent) {
                require(node->Children == nullptr, "a second key has second keys");
                require((node->Shortcut & ModifierBits) == 0 && node->Shortcut != 0,
                        "a second key has modifiers");
            }
            if (node == m_waitingPrefix)
                waitingFound = node->Parent == nullptr && node->Children;
            bound += node->Bound ? 1 : 0;
            if (node->Children)
                lists.push_back(node->Children);
        }
        const TKeyNode* tail =
            head == m_root ? m_rootTail : (head ? head->Parent->LastChild : nullptr);
        require(tail == last, "a list's tail is wrong");
    }
    require(nodes == m_nodes.size() && nodes == m_index.size(), "a node is outside the tree");
    require(bound == m_boundCount, "the binding count is wrong");
    require(waitingFound, "the matcher waits at a node that is no prefix");
}
