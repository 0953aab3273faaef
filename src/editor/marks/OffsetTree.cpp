#include "editor/marks/OffsetTree.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr int64_t kNoEnd = std::numeric_limits<int64_t>::min() / 4;

} // namespace

int64_t TOffsetNode::shiftAbove() const
{
    int64_t shift = 0;
    for (const TOffsetNode* up = m_parent; up; up = up->m_parent)
        shift += up->m_shift;
    return shift;
}

uint32_t TOffsetTree::nextPriority()
{
    // xorshift64: cheap, and a fixed seed keeps runs repeatable.
    m_random ^= m_random << 13;
    m_random ^= m_random >> 7;
    m_random ^= m_random << 17;
    return static_cast<uint32_t>(m_random >> 32);
}

void TOffsetTree::addToSubtree(TOffsetNode* node, int64_t delta)
{
    if (!node)
        return;
    node->m_start += delta;
    node->m_end += delta;
    node->m_shift += delta;
    node->m_maxEnd += delta;
}

void TOffsetTree::pushDown(TOffsetNode* node)
{
    if (node->m_shift == 0)
        return;
    addToSubtree(node->m_left, node->m_shift);
    addToSubtree(node->m_right, node->m_shift);
    node->m_shift = 0;
}

// Pushes every pending shift on the way from the root down to node (node's own included), so
// that node and its ancestors hold exact values.
void TOffsetTree::pushDownTo(TOffsetNode* node)
{
    std::vector<TOffsetNode*> path;
    for (TOffsetNode* up = node; up; up = up->m_parent)
        path.push_back(up);
    for (auto it = path.rbegin(); it != path.rend(); ++it)
        pushDown(*it);
}

void TOffsetTree::recompute(TOffsetNode* node)
{
    int64_t most = node->m_end;
    if (node->m_left)
        most = std::max(most, node->m_left->m_maxEnd + node->m_shift);
    if (node->m_right)
        most = std::max(most, node->m_right->m_maxEnd + node->m_shift);
    node->m_maxEnd = most;
}

void TOffsetTree::recomputeUpwards(TOffsetNode* node)
{
    for (; node; node = node->m_parent)
        recompute(node);
}

// Lifts node above its parent. Both must have no pending shift.
void TOffsetTree::rotateUp(TOffsetNode* node)
{
    TOffsetNode* parent = node->m_parent;
    TOffsetNode* grand = parent->m_parent;
    if (parent->m_left == node) {
        parent->m_left = node->m_right;
        if (node->m_right)
            node->m_right->m_parent = parent;
        node->m_right = parent;
    } else {
        parent->m_right = node->m_left;
        if (node->m_left)
            node->m_left->m_parent = parent;
        node->m_left = parent;
    }
    parent->m_parent = node;
    node->m_parent = grand;
    if (!grand)
        m_root = node;
    else if (grand->m_left == parent)
        grand->m_left = node;
    else
        grand->m_right = node;
    recompute(parent);
    recompute(node);
}

void TOffsetTree::Insert(TOffsetNode& node, int64_t start, int64_t end)
{
    node.m_left = node.m_right = node.m_parent = nullptr;
    node.m_start = start;
    node.m_end = std::max(start, end);
    node.m_shift = 0;
    node.m_maxEnd = node.m_end;
    node.m_priority = nextPriority();
    node.m_inTree = true;
    ++m_size;
    if (!m_root) {
        m_root = &node;
        return;
    }
    // Shifts are pushed down along the way, so the new node's frame is the document's.
    TOffsetNode* at = m_root;
    for (;;) {
        pushDown(at);
        TOffsetNode*& child = start < at->m_start ? at->m_left : at->m_right;
        if (!child) {
            child = &node;
            node.m_parent = at;
            break;
        }
        at = child;
    }
    while (node.m_parent && node.m_parent->m_priority < node.m_priority)
        rotateUp(&node);
    recomputeUpwards(&node);
}

void TOffsetTree::Remove(TOffsetNode& node)
{
    if (!node.m_inTree)
        return;
    pushDownTo(&node);
    // Rotate the node down until it is a leaf; then it simply comes off.
    while (node.m_left || node.m_right) {
        TOffsetNode* child = !node.m_left    ? node.m_right
                             : !node.m_right ? node.m_left
                             : node.m_left->m_priority > node.m_right->m_priority ? node.m_left
                                                                                    : node.m_right;
        pushDown(child);
        rotateUp(child);
    }
    TOffsetNode* parent = node.m_parent;
    if (!parent)
        m_root = nullptr;
    else if (parent->m_left == &node)
        parent->m_left = nullptr;
    else
        parent->m_right = nullptr;
    recomputeUpwards(parent);
    node.m_parent = nullptr;
    node.m_inTree = false;
    node.m_maxEnd = node.m_end;
    --m_size;
}

void TOffsetTree::Move(TOffsetNode& node, int64_t start, int64_t end)
{
    Remove(node);
    Insert(node, start, end);
}

void TOffsetTree::SetEnd(TOffsetNode& node, int64_t end)
{
    const int64_t above = node.shiftAbove();
    node.m_end = std::max(end - above, node.m_start);
    if (node.m_inTree)
        recomputeUpwards(&node);
    else
        node.m_maxEnd = node.m_end;
}

void TOffsetTree::ShiftFrom(int64_t offset, int64_t delta, TShiftFrom from)
{
    if (delta == 0)
        return;
    TOffsetNode* last = nullptr;
    int64_t above = 0;
    for (TOffsetNode* at = m_root; at;) {
        last = at;
        const int64_t start = at->m_start + above;
        const int64_t below = above + at->m_shift;
        const bool moves = from == TShiftFrom::AtOrAfter ? start >= offset : start > offset;
        if (moves) {
            // This node and everything after it within the subtree move.
            at->m_start += delta;
            at->m_end += delta;
            addToSubtree(at->m_right, delta);
            at = at->m_left;
        } else {
            at = at->m_right;
        }
        above = below;
    }
    recomputeUpwards(last);
}

void TOffsetTree::Clear()
{
    // Each node takes its exact range from the shifts above it before the links go.
    std::vector<std::pair<TOffsetNode*, int64_t>> pending;
    if (m_root)
        pending.emplace_back(m_root, 0);
    while (!pending.empty()) {
        auto [node, above] = pending.back();
        pending.pop_back();
        const int64_t below = above + node->m_shift;
        if (node->m_left)
            pending.emplace_back(node->m_left, below);
        if (node->m_right)
            pending.emplace_back(node->m_right, below);
        node->m_start += above;
        node->m_end += above;
        node->m_maxEnd = node->m_end;
        node->m_shift = 0;
        node->m_left = node->m_right = node->m_parent = nullptr;
        node->m_inTree = false;
    }
    m_root = nullptr;
    m_size = 0;
}

TOffsetNode* TOffsetTree::First() const
{
    TOffsetNode* node = m_root;
    while (node && node->m_left)
        node = node->m_left;
    return node;
}

TOffsetNode* TOffsetTree::Next(const TOffsetNode& node)
{
    if (node.m_right) {
        TOffsetNode* next = node.m_right;
        while (next->m_left)
            next = next->m_left;
        return next;
    }
    const TOffsetNode* child = &node;
    TOffsetNode* up = node.m_parent;
    while (up && up->m_right == child) {
        child = up;
        up = up->m_parent;
    }
    return up;
}

TOffsetNode* TOffsetTree::LowerBound(int64_t offset) const
{
    TOffsetNode* found = nullptr;
    int64_t above = 0;
    for (TOffsetNode* at = m_root; at;) {
        const int64_t below = above + at->m_shift;
        if (at->m_start + above >= offset) {
            found = at;
            at = at->m_left;
        } else {
            at = at->m_right;
        }
        above = below;
    }
    return found;
}

std::string TOffsetTree::checkNode(const TOffsetNode* node, int64_t above, int64_t& previousStart,
                                   int64_t& maxEnd, size_t& count) const
{
    maxEnd = kNoEnd;
    if (!node)
        return {};
    ++count;
    if (!node->m_inTree)
        return "a linked node is not marked as in the tree";
    const int64_t below = above + node->m_shift;
    int64_t leftMax = kNoEnd;
    int64_t rightMax = kNoEnd;
    for (const TOffsetNode* child : {node->m_left, node->m_right}) {
        if (child && child->m_parent != node)
            return "child does not point back at its parent";
        if (child && child->m_priority > node->m_priority)
            return "child outranks its parent";
    }
    std::string error = checkNode(node->m_left, below, previousStart, leftMax, count);
    if (!error.empty())
        return error;
    const int64_t start = node->m_start + above;
    const int64_t end = node->m_end + above;
    if (start < previousStart)
        return "starts out of order";
    if (end < start)
        return "a range ends before it starts";
    previousStart = start;
    error = checkNode(node->m_right, below, previousStart, rightMax, count);
    if (!error.empty())
        return error;
    maxEnd = std::max({end, leftMax, rightMax});
    if (maxEnd != node->m_maxEnd + above)
        return "largest end of a subtree is stale";
    return {};
}

std::string TOffsetTree::check() const
{
    if (m_root && m_root->m_parent)
        return "root has a parent";
    int64_t previousStart = std::numeric_limits<int64_t>::min();
    int64_t maxEnd = kNoEnd;
    size_t count = 0;
    std::string error = checkNode(m_root, 0, previousStart, maxEnd, count);
    if (error.empty() && count != m_size)
        return "node count differs from Size()";
    return error;
}
