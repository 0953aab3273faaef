// An ordered set of ranges of document offsets (start <= end) that edits shift in O(log n):
// every range from a given start on moves at once through a shift kept pending at a node for
// its children, instead of one write per range. Random priorities (a treap) keep it balanced,
// and each node knows the largest end below it, so the ranges reaching over an offset are found
// without visiting the others. Marks, breakpoints and named bookmarks are kept in such trees.
// Invariants (check()): starts ascend in order; start <= end in every node; a parent's priority
// is at least its children's; parent and child links agree; a node's MaxEnd is the largest end
// in its subtree; the node count is Size().
// A sorted array with every position written on each edit was rejected: one keystroke near the
// top of a document with thousands of marks would rewrite all of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TOffsetTree;

// What the tree holds; marks, breakpoints and named bookmarks derive from it. The tree never
// owns its nodes. Start and End are exact whether the node is in a tree or not.
class TOffsetNode
{
public:
    TOffsetNode() = default;
    TOffsetNode(const TOffsetNode&) = delete;
    TOffsetNode& operator=(const TOffsetNode&) = delete;

    // O(depth): the shifts still pending above the node are added on the way to the root.
    int64_t Start() const { return m_start + shiftAbove(); }
    int64_t End() const { return m_end + shiftAbove(); }
    bool InTree() const { return m_inTree; }

protected:
    ~TOffsetNode() = default;

private:
    friend class TOffsetTree;
    int64_t shiftAbove() const;

    TOffsetNode* m_left = nullptr;
    TOffsetNode* m_right = nullptr;
    TOffsetNode* m_parent = nullptr;
    uint32_t m_priority = 0;
    bool m_inTree = false;
    // Relative to the node's frame: the pending shifts of its ancestors are still to be added.
    int64_t m_start = 0;
    int64_t m_end = 0;
    int64_t m_shift = 0;  // still to be added to everything in both subtrees
    int64_t m_maxEnd = 0; // the largest end in the subtree, in this node's frame
};

enum class TShiftFrom
{
    AtOrAfter, // ranges starting at the offset move too
    After,     // only ranges starting beyond it move
};

class TOffsetTree
{
public:
    explicit TOffsetTree(uint64_t seed = 0x9E3779B97F4A7C15ull) : m_random(seed | 1) {}
    TOffsetTree(const TOffsetTree&) = delete;
    TOffsetTree& operator=(const TOffsetTree&) = delete;

    bool Empty() const { return m_root == nullptr; }
    size_t Size() const { return m_size; }

    // Adds a node that is in no tree with the range [start, max(start, end)]; it goes after the
    // nodes with an equal start.
    void Insert(TOffsetNode& node, int64_t start, int64_t end);
    // Takes the node out; its Start and End keep their values.
    void Remove(TOffsetNode& node);
    // Gives the node a new range, moving it to keep the order.
    void Move(TOffsetNode& node, int64_t start, int64_t end);
    // A new end (at least the start); the order is unchanged.
    void SetEnd(TOffsetNode& node, int64_t end);
    // Adds delta to both ends of every range starting at or after (or after) offset. The caller
    // keeps the order: no shifted start may fall below a start that stays.
    void ShiftFrom(int64_t offset, int64_t delta, TShiftFrom from);
    // Takes every node out (they stay alive).
    void Clear();

    TOffsetNode* First() const;
    static TOffsetNode* Next(const TOffsetNode& node);
    // The first node whose start is at least offset, or null.
    TOffsetNode* LowerBound(int64_t offset) const;

    // Calls visit(node) in start order for every node with Start() < startBelow and
    // End() >= endFrom; nodes that end too early are skipped by whole subtrees. visit must not
    // change the tree.
    template <typename Visit>
    void ForEachReaching(int64_t startBelow, int64_t endFrom, Visit&& visit) const
    {
        reaching(m_root, 0, startBelow, endFrom, visit);
    }

    // Empty when every invariant holds, else the first broken one.
    std::string check() const;

private:
    template <typename Visit>
    static void reaching(const TOffsetNode* node, int64_t above, int64_t startBelow, int64_t endFrom,
                         Visit& visit)
    {
        if (!node || node->m_maxEnd + above < endFrom)
            return;
        const int64_t below = above + node->m_shift;
        reaching(node->m_left, below, startBelow, endFrom, visit);
        if (node->m_start + above >= startBelow)
            return;
        if (node->m_end + above >= endFrom)
            visit(*const_cast<TOffsetNode*>(node));
        reaching(node->m_right, below, startBelow, endFrom, visit);
    }

    uint32_t nextPriority();
    static void addToSubtree(TOffsetNode* node, int64_t delta);
    static void pushDown(TOffsetNode* node);
    static void pushDownTo(TOffsetNode* node);
    static void recompute(TOffsetNode* node);
    static void recomputeUpwards(TOffsetNode* node);
    void rotateUp(TOffsetNode* node);
    std::string checkNode(const TOffsetNode* node, int64_t above, int64_t& previousStart, int64_t& maxEnd,
                          size_t& count) const;

    TOffsetNode* m_root = nullptr;
    size_t m_size = 0;
    uint64_t m_random;
};
