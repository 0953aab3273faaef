// The tree of key sequences of one key map. First keys form the root list; a prefix key holds
// the list of second keys under it. Invariants: shortcuts are unique within a list; a node
// either has second keys under it or has a command bound, never both and never neither;
// second keys carry no Shift, Ctrl or Alt bits and are never 0; second keys have no list of
// their own; the matcher is idle or waits at a prefix of the root list.
#pragma once

#include "platform/VirtualKeys.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <utility>

class TKeyboardActionContoller;

struct TKeyNode
{
    TShortCut Shortcut = 0;
    TKeyNode* Parent = nullptr;   // the prefix node of a second key; null for a first key
    TKeyNode* Sibling = nullptr;  // next node of the same list
    TKeyNode* Children = nullptr; // first second key under this prefix
    bool Bound = false;
    int32_t Command = -1;
    TKeyNode* LastChild = nullptr; // where the next second key is appended
};

enum class TKeyMatch
{
    NoMatch,
    Prefix,
    Command
};

constexpr TShortCut ModifierBits = vk::scShift | vk::scCtrl | vk::scAlt;

class TKeyStore
{
public:
    // The controller only supplies command descriptions for conflict messages; it may be null.
    explicit TKeyStore(const TKeyboardActionContoller* controller = nullptr)
        : m_controller(controller)
    {
    }
    TKeyStore(const TKeyStore&) = delete;
    TKeyStore& operator=(const TKeyStore&) = delete;

    // Binds a single key (second 0, or a second key without a key code) or a two-key sequence.
    // Throws EAmbigiousKeyPair when the sequence is taken, when a single key is already a prefix,
    // or when the first key of a sequence is bound alone; the store is then unchanged.
    void Bind(TShortCut first, TShortCut second, int32_t command);

    // One key-down: continues at the waiting prefix (the key's modifiers removed) or starts at
    // the first keys. A prefix makes the matcher wait; a command is left in LastCommand; both a
    // command and no match leave the matcher idle.
    TKeyMatch Match(TShortCut key);
    void ResetMatcher() { m_waitingPrefix = nullptr; }

    // Reverse lookup over the bound nodes in stored order: hit number SearchCount (counting
    // from 0) of command, or 0, 0. KeysOf restarts the count; a hit advances it.
    std::pair<TShortCut, TShortCut> KeysOf(int32_t command);
    std::pair<TShortCut, TShortCut> NextKeysOf(int32_t command);

    // Visits every bound node in stored order: the bound first keys in list order, then the
    // second keys of each prefix, prefixes in list order. The visitor gets the first shortcut,
    // the second (0 for a single key) and the command.
    void ForEachBinding(const std::function<void(TShortCut, TShortCut, int32_t)>& visit) const;

    const TKeyNode* Root() const { return m_root; }
    // The list being matched: null when idle, else the second keys of the waiting prefix.
    const TKeyNode* State() const { return m_waitingPrefix ? m_waitingPrefix->Children : nullptr; }
    int32_t LastCommand() const { return m_lastCommand; }
    int32_t SearchCount() const { return m_searchCount; }
    size_t BindingCount() const { return m_boundCount; }
    const TKeyboardActionContoller* Controller() const { return m_controller; }
    void SetController(const TKeyboardActionContoller* controller) { m_controller = controller; }

    // Throws std::logic_error naming the first broken invariant.
    void check() const;

private:
    TKeyNode* find(const TKeyNode* parent, TShortCut shortcut) const;
    TKeyNode* append(TKeyNode* parent, TShortCut shortcut);
    [[noreturn]] void conflict(int32_t adding, int32_t bound) const;
    std::optional<std::pair<TShortCut, TShortCut>> findHit(int32_t command, int32_t hit) const;

    const TKeyboardActionContoller* m_controller;
    std::deque<TKeyNode> m_nodes; // owns every node; links are plain pointers into it
    std::map<std::pair<const TKeyNode*, TShortCut>, TKeyNode*> m_index; // (parent, shortcut)
    TKeyNode* m_root = nullptr;
    TKeyNode* m_rootTail = nullptr;
    TKeyNode* m_waitingPrefix = nullptr;
    int32_t m_lastCommand = -1;
    int32_t m_searchCount = 0;
    size_t m_boundCount = 0;
};
