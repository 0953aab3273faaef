#include "editor/text/RowIndex.h"

#include <algorithm>
#include <cstring>

// Arrays have one spare entry: a node may hold capacity + 1 entries for the moment between an
// insertion and the split it causes.
// The ends-a-line bits sit in their own array rather than in the top bit of Lengths, so the
// offset and index lookups read the lengths as they are, without masking.
struct TRowIndex::Leaf : TRowNode
{
    TTextRow* Rows[kMaxLeaf + 1];
    uint16_t Lengths[kMaxLeaf + 1];
    uint8_t Breaks[kMaxLeaf + 1]; // 1 when the row ends in CR

    void set(int slot, TTextRow* row)
    {
        Rows[slot] = row;
        Lengths[slot] = row->Length;
        Breaks[slot] = row->EndsLine() ? 1 : 0;
    }
    TRowTotals totals(int from, int count) const
    {
        TRowTotals sum{0, count, 0};
        for (int i = from; i < from + count; ++i) {
            sum.Chars += Lengths[i];
            sum.Breaks += Breaks[i];
        }
        return sum;
    }
    void erase(int slot, int count)
    {
        const int after = Count - slot - count;
        std::memmove(Rows + slot, Rows + slot + count, after * sizeof(TTextRow*));
        std::memmove(Lengths + slot, Lengths + slot + count, after * sizeof(uint16_t));
        std::memmove(Breaks + slot, Breaks + slot + count, after * sizeof(uint8_t));
        Count -= count;
    }
    void append(const Leaf& other)
    {
        std::memcpy(Rows + Count, other.Rows, other.Count * sizeof(TTextRow*));
        std::memcpy(Lengths + Count, other.Lengths, other.Count * sizeof(uint16_t));
        std::memcpy(Breaks + Count, other.Breaks, other.Count * sizeof(uint8_t));
        Count += other.Count;
    }
};

struct TRowInner : TRowNode
{
    TRowNode* Children[TRowIndex::kMaxFanout + 1];
    int64_t Chars[TRowIndex::kMaxFanout + 1];
    int64_t Rows[TRowIndex::kMaxFanout + 1];
    int64_t Breaks[TRowIndex::kMaxFanout + 1];

    TRowTotals totalsAt(int slot) const { return {Chars[slot], Rows[slot], Breaks[slot]}; }
    void setAt(int slot, TRowNode* child, const TRowTotals& totals)
    {
        Children[slot] = child;
        Chars[slot] = totals.Chars;
        Rows[slot] = totals.Rows;
        Breaks[slot] = totals.Breaks;
    }
    void addAt(int slot, const TRowTotals& delta)
    {
        Chars[slot] += delta.Chars;
        Rows[slot] += delta.Rows;
        Breaks[slot] += delta.Breaks;
    }
    // Moves count entries from slot `from` to slot `to`; the ranges may overlap.
    void moveSlots(int from, int to, int count)
    {
        std::memmove(Children + to, Children + from, count * sizeof(TRowNode*));
        std::memmove(Chars + to, Chars + from, count * sizeof(int64_t));
        std::memmove(Rows + to, Rows + from, count * sizeof(int64_t));
        std::memmove(Breaks + to, Breaks + from, count * sizeof(int64_t));
    }
};

// Rows appended to one leaf whose totals are not yet added to the ancestors.
struct TRowIndex::Cursor
{
    Leaf* At;
    TRowTotals Added;
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
    node->moveSlots(slot + 1, slot, node->Count - slot - 1);
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
    if (index < 0 || index >= m_totals.Rows)
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
    if (offset < 0 || offset >= m_totals.Chars)
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

int64_t TRowIndex::BreaksBefore(int64_t index) const
{
    if (index >= m_totals.Rows)
        return m_totals.Breaks;
    if (index <= 0)
        return 0;
    const TRowNode* node = m_root;
    int64_t rest = index;
    int64_t breaks = 0;
    while (!node->IsLeaf) {
        auto* inner = static_cast<const TRowInner*>(node);
        int i = 0;
        for (; i < inner->Count - 1 && rest >= inner->Rows[i]; ++i) {
            rest -= inner->Rows[i];
            breaks += inner->Breaks[i];
        }
        node = inner->Children[i];
    }
    auto* leaf = static_cast<const Leaf*>(node);
    for (int i = 0; i < rest; ++i)
        breaks += leaf->Breaks[i];
    return breaks;
}

bool TRowIndex::FindLine(int64_t line, TRowSpot& spot) const
{
    if (line == 0)
        return FindIndex(0, spot);
    if (line < 0 || line > m_totals.Breaks)
        return false;
    // Down to the line-th row that ends in CR; the line starts with the row after it.
    const TRowNode* node = m_root;
    int64_t need = line;
    int64_t start = 0;
    int64_t index = 0;
    while (!node->IsLeaf) {
        auto* inner = static_cast<const TRowInner*>(node);
        int i = 0;
        for (; i < inner->Count - 1 && need > inner->Breaks[i]; ++i) {
            need -= inner->Breaks[i];
            start += inner->Chars[i];
            index += inner->Rows[i];
        }
        node = inner->Children[i];
    }
    auto* leaf = static_cast<const Leaf*>(node);
    int slot = 0;
    for (; slot < leaf->Count; ++slot) {
        start += leaf->Lengths[slot];
        if (leaf->Breaks[slot] && --need == 0)
            break;
    }
    const int next = slot + 1;
    if (slot == leaf->Count || index + next >= m_totals.Rows)
        return false;
    if (next < leaf->Count) {
        spot = {leaf->Rows[next], start, index + next};
        return true;
    }
    return FindIndex(index + next, spot);
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

void TRowIndex::addToAncestors(TRowNode* node, const TRowTotals& delta)
{
    for (TRowNode* n = node; n->Parent; n = n->Parent)
        n->Parent->addAt(slotOf(n->Parent, n), delta);
    m_totals += delta;
}

void TRowIndex::insertChild(TRowNode* after, TRowNode* child, const TRowTotals& totals)
{
    TRowInner* parent = after->Parent;
    if (!parent) {
        parent = takeInner();
        parent->Count = 1;
        parent->setAt(0, after, m_totals);
        after->Parent = parent;
        m_root = parent;
    }
    const int slot = slotOf(parent, after) + 1;
    parent->moveSlots(slot, slot + 1, parent->Count - slot);
    parent->setAt(slot, child, totals);
    ++parent->Count;
    child->Parent = parent;
    addToAncestors(parent, totals);
    if (parent->Count > m_fanout)
        splitInner(parent);
}

void TRowIndex::splitInner(TRowInner* node)
{
    const int keep = node->Count / 2;
    TRowInner* sibling = takeInner();
    TRowTotals moved{0, 0, 0};
    for (int i = keep; i < node->Count; ++i) {
        const int j = sibling->Count++;
        sibling->setAt(j, node->Children[i], node->totalsAt(i));
        sibling->Children[j]->Parent = sibling;
        moved += node->totalsAt(i);
    }
    node->Count = keep;
    addToAncestors(node, -moved);
    insertChild(node, sibling, moved);
}

void TRowIndex::appendToLeaf(Cursor& cursor, TTextRow* row)
{
    if (cursor.At->Count >= m_leafCapacity) {
        flushLeaf(cursor);
        Leaf* next = takeLeaf();
        insertChild(cursor.At, next, {0, 0, 0});
        cursor.At = next;
    }
    const int slot = cursor.At->Count++;
    cursor.At->set(slot, row);
    cursor.Added += {row->Length, 1, cursor.At->Breaks[slot]};
}

void TRowIndex::flushLeaf(Cursor& cursor)
{
    addToAncestors(cursor.At, cursor.Added);
    cursor.Added = {0, 0, 0};
}

void TRowIndex::Insert(int64_t index, TTextRow* const* rows, int64_t count)
{
    if (count <= 0)
        return;
    index = std::clamp<int64_t>(index, 0, m_totals.Rows);
    reserveNodes(count + m_leafCapacity);
    int slot = 0;
    Leaf* leaf = nullptr;
    if (index == m_totals.Rows) {
        leaf = lastLeaf();
        slot = leaf->Count;
    } else {
        leaf = leafOf(index, slot);
    }
    // The entries after the insertion point are lifted out and appended after the new ones,
    // so a long insertion fills whole leaves instead of splitting one leaf many times.
    TTextRow* tail[kMaxLeaf + 1];
    const int tailCount = leaf->Count - slot;
    std::copy_n(leaf->Rows + slot, tailCount, tail);
    const TRowTotals lifted = leaf->totals(slot, tailCount);
    leaf->Count = slot;
    addToAncestors(leaf, -lifted);
    Cursor cursor{leaf, {0, 0, 0}};
    for (int64_t i = 0; i < count; ++i)
        appendToLeaf(cursor, rows[i]);
    for (int i = 0; i < tailCount; ++i)
        appendToLeaf(cursor, tail[i]);
    flushLeaf(cursor);
}

void TRowIndex::Remove(int64_t index, int64_t count)
{
    if (index < 0 || index >= m_totals.Rows || count <= 0)
        return;
    count = std::min(count, m_totals.Rows - index);
    while (count > 0) {
        int slot = 0;
        Leaf* leaf = leafOf(index, slot);
        const int n = static_cast<int>(std::min<int64_t>(count, leaf->Count - slot));
        const TRowTotals removed = leaf->totals(slot, n);
        leaf->erase(slot, n);
        addToAncestors(leaf, -removed);
        count -= n;
        rebalance(leaf);
    }
}

void TRowIndex::Replace(int64_t index, TTextRow* row)
{
    if (index < 0 || index >= m_totals.Rows)
        return;
    int slot = 0;
    Leaf* leaf = leafOf(index, slot);
    TRowTotals delta = -leaf->totals(slot, 1);
    leaf->set(slot, row);
    delta += leaf->totals(slot, 1);
    if (delta != TRowTotals{0, 0, 0})
        addToAncestors(leaf, delta);
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
        static_cast<Leaf*>(left)->append(*static_cast<Leaf*>(right));
    } else {
        auto* l = static_cast<TRowInner*>(left);
        auto* r = static_cast<TRowInner*>(right);
        for (int i = 0; i < r->Count; ++i) {
            l->setAt(l->Count, r->Children[i], r->totalsAt(i));
            r->Children[i]->Parent = l;
            ++l->Count;
        }
    }
    TRowInner* parent = left->Parent;
    const int ls = slotOf(parent, left);
    const int rs = slotOf(parent, right);
    parent->addAt(ls, parent->totalsAt(rs));
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
    m_totals = {0, 0, 0};
}

size_t TRowIndex::nodeBytes(const TRowNode* node) const
{
    if (node->IsLeaf)
        return sizeof(Leaf);
    auto* inner = static_cast<const TRowInner*>(node);
    size_t bytes = sizeof(TRowInner);
    for (int i = 0; i < inner->Count; ++i)
        bytes += nodeBytes(inner->Children[i]);
    return bytes;
}

size_t TRowIndex::HeapBytes() const
{
    return nodeBytes(m_root) + m_spareLeaves.size() * sizeof(Leaf) + m_spareInners.size() * sizeof(TRowInner);
}

int64_t TRowIndex::IndexOf(const TTextRow* row) const
{
    // Leaf by leaf, from the leaf holding each next index.
    for (int64_t index = 0; index < m_totals.Rows;) {
        int slot = 0;
        const Leaf* leaf = leafOf(index, slot);
        for (int i = slot; i < leaf->Count; ++i)
            if (leaf->Rows[i] == row)
                return index + (i - slot);
        index += leaf->Count - slot;
    }
    return -1;
}

std::string TRowIndex::checkLeaf(const Leaf* leaf, TRowTotals& totals,
                                 const TTextRow*& expect) const
{
    if (leaf->Count > m_leafCapacity)
        return "leaf over capacity";
    for (int i = 0; i < leaf->Count; ++i) {
        if (leaf->Rows[i] != expect)
            return "index order differs from the row chain";
        if (leaf->Lengths[i] != expect->Length)
            return "index length differs from the row";
        if ((leaf->Breaks[i] != 0) != expect->EndsLine() || leaf->Breaks[i] > 1)
            return "index line-break bit differs from the row";
        totals += {expect->Length, 1, expect->EndsLine() ? 1 : 0};
        expect = expect->Next;
    }
    return {};
}

std::string TRowIndex::checkNode(const TRowNode* node, int depth, int& leafDepth,
                                 TRowTotals& totals, const TTextRow*& expect) const
{
    totals = {0, 0, 0};
    if (node != m_root && node->Count == 0)
        return "empty node below the root";
    if (node->IsLeaf) {
        if (leafDepth >= 0 && leafDepth != depth)
            return "leaves at different depths";
        leafDepth = depth;
        return checkLeaf(static_cast<const Leaf*>(node), totals, expect);
    }
    auto* inner = static_cast<const TRowInner*>(node);
    if (inner->Count > m_fanout)
        return "inner node over capacity";
    if (node == m_root && inner->Count < 2)
        return "inner root with a single child";
    for (int i = 0; i < inner->Count; ++i) {
        if (inner->Children[i]->Parent != inner)
            return "wrong parent link";
        TRowTotals child;
        std::string error = checkNode(inner->Children[i], depth + 1, leafDepth, child, expect);
        if (!error.empty())
            return error;
        if (child != inner->totalsAt(i))
            return "child totals differ from the subtree";
        totals += child;
    }
    return {};
}

std::string TRowIndex::check(const TTextRow* first) const
{
    if (m_root->Parent)
        return "root has a parent";
    int leafDepth = -1;
    TRowTotals totals;
    const TTextRow* expect = first;
    std::string error = checkNode(m_root, 0, leafDepth, totals, expect);
    if (!error.empty())
        return error;
    if (expect)
        return "row chain longer than the index";
    if (totals != m_totals)
        return "index totals differ from the tree";
    return {};
}
