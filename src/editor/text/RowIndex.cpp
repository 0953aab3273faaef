#include "editor/text/RowIndex.h"

#include <algorithm>
#include <cstring>

// Arrays have one spare entry: a node may hold capacity + 1 entries for the moment between an
// insertion and the split it causes.
struct TRowIndex::Leaf : TRowNode
{
    TTextRow* Rows[kMaxLeaf + 1];
    uint16_t Lengths[kMaxLeaf + 1];
};

struct TRowInner : TRowNode
{
    TRowNode* Children[TRowIndex::kMaxFanout + 1];
    int64_t Chars[TRowIndex::kMaxFanout + 1];
    int64_t Rows[TRowIndex::kMaxFanout + 1];
};

// Rows appended to one leaf whose totals are not yet added to the ancestors.
struct TRowIndex::Cursor
{
    Leaf* At;
    int64_t Chars = 0;
    int64_t Rows = 0;
};

namespace {

int slotOf(const TRowInner* parent, const TRowNode* child)
{
    int slot = 0;
    while (slot < parent->Count && parent->Children[slot] != child)
        ++slot;
    return slot;
}


void removeSlot(TRowInner* node, int slot)
{
    const int after = node->Count - slot - 1;
    std::memmove(node->Children + slot, node->Children + slot + 1, after * sizeof(TRowNode*));
    std::memmove(node->Chars + slot, node->Chars + slot + 1, after * sizeof(int64_t));
    std::memmove(node->Rows + slot, node->Rows + slot + 1, after * sizeof(int64_t));
    --node->Count;
}

} // namespace

TRowIndex::TRowIndex(int leafCapacity, int fanout)
    : m_root(new Leaf), m_leafCapacity(std::clamp(leafCapacity, 2, kMaxLeaf)),
      m_fanout(std::clamp(fanout, 3, kMaxFanout))
{
}

TRowIndex::~TRowIndex()
{
    destroy(m_root);
    for (Leaf* leaf : m_spareLeaves)
        delete leaf;
    for (TRowInner* inner : m_spareInners)
        delete inner;
}

// Allocates beforehand every node an insertion may need, so that running out of memory
// happens before the tree changes and an insertion either completes or changes nothing.
void TRowIndex::reserveNodes(int64_t entries)
{
    int depth = 1;
    for (const TRowNode* node = m_root; !node->IsLeaf; node = static_cast<const TRowInner*>(node)->Children[0])
        ++depth;
    const int64_t leaves = entries / m_leafCapacity + 2;
    const int64_t inners = 2 * leaves + 2 * depth + 4;
    while (static_cast<int64_t>(m_spareLeaves.size()) < leaves) {
        m_spareLeaves.reserve(static_cast<size_t>(leaves));
        m_spareLeaves.push_back(new Leaf);
    }
    while (static_cast<int64_t>(m_spareInners.size()) < inners) {
        m_spareInners.reserve(static_cast<size_t>(inners));
        m_spareInners.push_back(new TRowInner);
    }
}

TRowIndex::Leaf* TRowIndex::takeLeaf()
{
    if (m_spareLeaves.empty())
        return new Leaf;
    Leaf* leaf = m_spareLeaves.back();
    m_spareLeaves.pop_back();
    leaf->Parent = nullptr;
    leaf->Count = 0;
    leaf->IsLeaf = true;
    return leaf;
}

TRowInner* TRowIndex::takeInner()
{
    if (m_spareInners.empty()) {
        auto* fresh = new TRowInner;
        fresh->IsLeaf = false;
        return fresh;
    }
    TRowInner* inner = m_spareInners.back();
    m_spareInners.pop_back();
    inner->Parent = nullptr;
    inner->Count = 0;
    inner->IsLeaf = false;
    return inner;
}

void TRowIndex::destroy(TRowNode* node)
{
    if (node->IsLeaf) {
        delete static_cast<Leaf*>(node);
        return;
    }
    auto* inner = static_cast<TRowInner*>(node);
    for (int i = 0; i < inner->Count; ++i)
        destroy(inner->Children[i]);
    delete inner;
}

TRowIndex::Leaf* TRowIndex::leafOf(int64_t index, int& slot) const
{
    TRowNode* node = m_root;
    while (!node->IsLeaf) {
        auto* inner = static_cast<TRowInner*>(node);
        int i = 0;
        while (i < inner->Count - 1 && index >= inner->Rows[i])
            index -= inner->Rows[i++];
        node = inner->Children[i];
    }
    slot = static_cast<int>(index);
    return static_cast<Leaf*>(node);
}

bool TRowIndex::FindIndex(int64_t index, TRowSpot& spot) const
{
    if (index < 0 || index >= m_rows)
        return false;
    const TRowNode* node = m_root;
    int64_t rest = index;
    int64_t start = 0;
    while (!node->IsLeaf) {
        auto* inner = static_cast<const TRowInner*>(node);
        int i = 0;
        for (; i < inner->Count - 1 && rest >= inner->Rows[i]; ++i) {
            rest -= inner->Rows[i];
            start += inner->Chars[i];
        }
        node = inner->Children[i];
    }
    auto* leaf = static_cast<const Leaf*>(node);
    for (int i = 0; i < rest; ++i)
        start += leaf->Lengths[i];
    spot = {leaf->Rows[rest], start, index};
    return true;
}

bool TRowIndex::FindOffset(int64_t offset, TRowSpot& spot) const
{
    if (offset < 0 || offset >= m_chars)
        return false;
    const TRowNode* node = m_root;
    int64_t start = 0;
    int64_t index = 0;
    while (!node->IsLeaf) {
        auto* inner = static_cast<const TRowInner*>(node);
        int i = 0;
        for (; i < inner->Count - 1 && offset - start >= inner->Chars[i]; ++i) {
            start += inner->Chars[i];
            index += inner->Rows[i];
        }
        node = inner->Children[i];
    }
    auto* leaf = static_cast<const Leaf*>(node);
    int slot = 0;
    for (; slot < leaf->Count - 1 && offset - start >= leaf->Lengths[slot]; ++slot)
        start += leaf->Lengths[slot];
    spot = {leaf->Rows[slot], start, index + slot};
    return true;
}

TRowIndex::Leaf* TRowIndex::lastLeaf() const
{
    TRowNode* node = m_root;
    while (!node->IsLeaf) {
        auto* inner = static_cast<TRowInner*>(node);
        node = inner->Children[inner->Count - 1];
    }
    return static_cast<Leaf*>(node);
}

void TRowIndex::addToAncestors(TRowNode* node, int64_t chars, int64_t rows)
{
    for (TRowNode* n = node; n->Parent; n = n->Parent) {
        const int slot = slotOf(n->Parent, n);
        n->Parent->Chars[slot] += chars;
        n->Parent->Rows[slot] += rows;
    }
    m_chars += chars;
    m_rows += rows;
}

void TRowIndex::insertChild(TRowNode* after, TRowNode* child, int64_t chars, int64_t rows)
{
    TRowInner* parent = after->Parent;
    if (!parent) {
        parent = takeInner();
        parent->Count = 1;
        parent->Children[0] = after;
        parent->Chars[0] = m_chars;
        parent->Rows[0] = m_rows;
        after->Parent = parent;
        m_root = parent;
    }
    const int slot = slotOf(parent, after) + 1;
    const int move = parent->Count - slot;
    std::memmove(parent->Children + slot + 1, parent->Children + slot, move * sizeof(TRowNode*));
    std::memmove(parent->Chars + slot + 1, parent->Chars + slot, move * sizeof(int64_t));
    std::memmove(parent->Rows + slot + 1, parent->Rows + slot, move * sizeof(int64_t));
    parent->Children[slot] = child;
    parent->Chars[slot] = chars;
    parent->Rows[slot] = rows;
    ++parent->Count;
    child->Parent = parent;
    for (TRowNode* n = parent; n->Parent; n = n->Parent) {
        const int s = slotOf(n->Parent, n);
        n->Parent->Chars[s] += chars;
        n->Parent->Rows[s] += rows;
    }
    m_chars += chars;
    m_rows += rows;
    if (parent->Count > m_fanout)
        splitInner(parent);
}

void TRowIndex::splitInner(TRowInner* node)
{
    const int keep = node->Count / 2;
    TRowInner* sibling = takeInner();
    int64_t chars = 0;
    int64_t rows = 0;
    for (int i = keep; i < node->Count; ++i) {
        const int j = sibling->Count++;
        sibling->Children[j] = node->Children[i];
        sibling->Chars[j] = node->Chars[i];
        sibling->Rows[j] = node->Rows[i];
        sibling->Children[j]->Parent = sibling;
        chars += node->Chars[i];
        rows += node->Rows[i];
    }
    node->Count = keep;
    addToAncestors(node, -chars, -rows);
    insertChild(node, sibling, chars, rows);
}

void TRowIndex::appendToLeaf(Cursor& cursor, TTextRow* row)
{
    if (cursor.At->Count >= m_leafCapacity) {
        flushLeaf(cursor);
        Leaf* next = takeLeaf();
        insertChild(cursor.At, next, 0, 0);
        cursor.At = next;
    }
    const int slot = cursor.At->Count++;
    cursor.At->Rows[slot] = row;
    cursor.At->Lengths[slot] = row->Length;
    cursor.Chars += row->Length;
    ++cursor.Rows;
}

void TRowIndex::flushLeaf(Cursor& cursor)
{
    addToAncestors(cursor.At, cursor.Chars, cursor.Rows);
    cursor.Chars = 0;
    cursor.Rows = 0;
}

void TRowIndex::Insert(int64_t index, TTextRow* const* rows, int64_t count)
{
    if (count <= 0)
        return;
    index = std::clamp<int64_t>(index, 0, m_rows);
    reserveNodes(count + m_leafCapacity);
    int slot = 0;
    Leaf* leaf = nullptr;
    if (index == m_rows) {
        leaf = lastLeaf();
        slot = leaf->Count;
    } else {
        leaf = leafOf(index, slot);
    }
    // The entries after the insertion point are lifted out and appended after the new ones,
    // so a long insertion fills whole leaves instead of splitting one leaf many times.
    TTextRow* tail[kMaxLeaf + 1];
    const int tailCount = leaf->Count - slot;
    int64_t tailChars = 0;
    for (int i = 0; i < tailCount; ++i) {
        tail[i] = leaf->Rows[slot + i];
        tailChars += leaf->Lengths[slot + i];
    }
    leaf->Count = slot;
    addToAncestors(leaf, -tailChars, -tailCount);
    Cursor cursor{leaf};
    for (int64_t i = 0; i < count; ++i)
        appendToLeaf(cursor, rows[i]);
    for (int i = 0; i < tailCount; ++i)
        appendToLeaf(cursor, tail[i]);
    flushLeaf(cursor);
}

void TRowIndex::Remove(int64_t index, int64_t count)
{
    if (index < 0 || index >= m_rows || count <= 0)
        return;
    count = std::min(count, m_rows - index);
    while (count > 0) {
        int slot = 0;
        Leaf* leaf = leafOf(index, slot);
        const int n = static_cast<int>(std::min<int64_t>(count, leaf->Count - slot));
        int64_t chars = 0;
        for (int i = 0; i < n; ++i)
            chars += leaf->Lengths[slot + i];
        const int after = leaf->Count - slot - n;
        std::memmove(leaf->Rows + slot, leaf->Rows + slot + n, after * sizeof(TTextRow*));
        std::memmove(leaf->Lengths + slot, leaf->Lengths + slot + n, after * sizeof(uint16_t));
        leaf->Count -= n;
        addToAncestors(leaf, -chars, -n);
        count -= n;
        rebalance(leaf);
    }
}

void TRowIndex::Replace(int64_t index, TTextRow* row)
{
    if (index < 0 || index >= m_rows)
        return;
    int slot = 0;
    Leaf* leaf = leafOf(index, slot);
    const int64_t delta = int64_t(row->Length) - leaf->Lengths[slot];
    leaf->Rows[slot] = row;
    leaf->Lengths[slot] = row->Length;
    if (delta != 0)
        addToAncestors(leaf, delta, 0);
}

void TRowIndex::rebalance(TRowNode* node)
{
    if (node == m_root) {
        collapseRoot();
        return;
    }
    if (node->Count == 0) {
        removeNode(node);
        return;
    }
    const int capacity = node->IsLeaf ? m_leafCapacity : m_fanout;
    if (node->Count > capacity / 3)
        return;
    TRowInner* parent = node->Parent;
    const int slot = slotOf(parent, node);
    if (slot + 1 < parent->Count && node->Count + parent->Children[slot + 1]->Count <= capacity)
        mergeInto(node, parent->Children[slot + 1]);
    else if (slot > 0 && parent->Children[slot - 1]->Count + node->Count <= capacity)
        mergeInto(parent->Children[slot - 1], node);
}

void TRowIndex::mergeInto(TRowNode* left, TRowNode* right)
{
    if (left->IsLeaf) {
        auto* l = static_cast<Leaf*>(left);
        auto* r = static_cast<Leaf*>(right);
        std::memcpy(l->Rows + l->Count, r->Rows, r->Count * sizeof(TTextRow*));
        std::memcpy(l->Lengths + l->Count, r->Lengths, r->Count * sizeof(uint16_t));
        l->Count += r->Count;
    } else {
        auto* l = static_cast<TRowInner*>(left);
        auto* r = static_cast<TRowInner*>(right);
        for (int i = 0; i < r->Count; ++i) {
            l->Children[l->Count] = r->Children[i];
            l->Chars[l->Count] = r->Chars[i];
            l->Rows[l->Count] = r->Rows[i];
            r->Children[i]->Parent = l;
            ++l->Count;
        }
    }
    TRowInner* parent = left->Parent;
    const int ls = slotOf(parent, left);
    const int rs = slotOf(parent, right);
    parent->Chars[ls] += parent->Chars[rs];
    parent->Rows[ls] += parent->Rows[rs];
    removeSlot(parent, rs);
    right->Count = 0;
    destroy(right);
    rebalance(parent);
}

void TRowIndex::removeNode(TRowNode* node)
{
    // Ancestors left with no other child go with the node. When that reaches the root the
    // tree is empty, and the empty leaf becomes the root: removing never allocates.
    TRowNode* top = node;
    while (top->Parent && top->Parent->Count == 1)
        top = top->Parent;
    if (!top->Parent) {
        TRowInner* above = node->Parent;
        node->Parent = nullptr;
        while (above) {
            TRowInner* next = above->Parent;
            above->Count = 0;
            delete above;
            above = next;
        }
        m_root = node;
        return;
    }
    TRowInner* parent = top->Parent;
    removeSlot(parent, slotOf(parent, top));
    destroy(top);
    rebalance(parent);
}

void TRowIndex::collapseRoot()
{
    while (!m_root->IsLeaf) {
        auto* root = static_cast<TRowInner*>(m_root);
        if (root->Count != 1)
            return;
        TRowNode* child = root->Children[0];
        child->Parent = nullptr;
        root->Count = 0;
        delete root;
        m_root = child;
    }
}

void TRowIndex::Clear()
{
    auto* empty = new Leaf;
    destroy(m_root);
    m_root = empty;
    m_rows = 0;
    m_chars = 0;
}

int64_t TRowIndex::IndexOf(const TTextRow* row) const
{
    // Leaf by leaf, from the leaf holding each next index.
    for (int64_t index = 0; index < m_rows;) {
        int slot = 0;
        const Leaf* leaf = leafOf(index, slot);
        for (int i = slot; i < leaf->Count; ++i)
            if (leaf->Rows[i] == row)
                return index + (i - slot);
        index += leaf->Count - slot;
    }
    return -1;
}

std::string TRowIndex::checkNode(const TRowNode* node, int depth, int& leafDepth, int64_t& chars,
                                 int64_t& rows, const TTextRow*& expect) const
{
    chars = 0;
    rows = 0;
    if (node != m_root && node->Count == 0)
        return "empty node below the root";
    if (node->IsLeaf) {
        if (leafDepth >= 0 && leafDepth != depth)
            return "leaves at different depths";
        leafDepth = depth;
        if (node->Count > m_leafCapacity)
            return "leaf over capacity";
        auto* leaf = static_cast<const Leaf*>(node);
        for (int i = 0; i < leaf->Count; ++i) {
            if (leaf->Rows[i] != expect)
                return "index order differs from the row chain";
            if (leaf->Lengths[i] != expect->Length)
                return "index length differs from the row";
            chars += expect->Length;
            ++rows;
            expect = expect->Next;
        }
        return {};
    }
    auto* inner = static_cast<const TRowInner*>(node);
    if (inner->Count > m_fanout)
        return "inner node over capacity";
    if (node == m_root && inner->Count < 2)
        return "inner root with a single child";
    for (int i = 0; i < inner->Count; ++i) {
        if (inner->Children[i]->Parent != inner)
            return "wrong parent link";
        int64_t c = 0;
        int64_t r = 0;
        std::string error = checkNode(inner->Children[i], depth + 1, leafDepth, c, r, expect);
        if (!error.empty())
            return error;
        if (c != inner->Chars[i] || r != inner->Rows[i])
            return "child totals differ from the subtree";
        chars += c;
        rows += r;
    }
    return {};
}

std::string TRowIndex::check(const TTextRow* first) const
{
    if (m_root->Parent)
        return "root has a parent";
    int leafDepth = -1;
    int64_t chars = 0;
    int64_t rows = 0;
    const TTextRow* expect = first;
    std::string error = checkNode(m_root, 0, leafDepth, chars, rows, expect);
    if (!error.empty())
        return error;
    if (expect)
        return "row chain longer than the index";
    if (chars != m_chars || rows != m_rows)
        return "index totals differ from the tree";
    return {};
}
