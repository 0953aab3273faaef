// A counted B+ tree over the rows of a store, in document order, so that finding the row that
// holds a character offset or has a given index costs O(log n) anywhere in the document.
// Invariants: every leaf is at the same depth; an inner node stores, per child, the child's
// character and row totals, and they add up to what the child's subtree holds; a leaf keeps a
// copy of each row's Length beside the row pointer so lookups never touch the rows themselves;
// only the root may be empty or have a single child (then it is a leaf).
// A flat array of line starts was rejected: one keystroke near the top of a 1.2-million-line
// file would rewrite a million entries.
#pragma once

#include "editor/text/TextRow.h"

#include <cstdint>
#include <string>
#include <vector>

struct TRowInner;

struct TRowNode
{
    TRowInner* Parent = nullptr;
    int Count = 0;
    bool IsLeaf = true;
};

// Position of a row inside the index.
struct TRowSpot
{
    TTextRow* Row = nullptr;
    int64_t Start = 0; // offset of the row's first character
    int64_t Index = 0; // 0-based row index
};

class TRowIndex
{
public:
    static constexpr int kMaxLeaf = 128;
    static constexpr int kMaxFanout = 32;

    // Capacities below the maxima exist so tests can run the split and merge code with a
    // handful of rows; production code uses the defaults.
    explicit TRowIndex(int leafCapacity = kMaxLeaf, int fanout = kMaxFanout);
    ~TRowIndex();
    TRowIndex(const TRowIndex&) = delete;
    TRowIndex& operator=(const TRowIndex&) = delete;

    int64_t RowCount() const { return m_rows; }
    int64_t CharCount() const { return m_chars; }

    // The row holding offset (0 <= offset < CharCount()); false when out of range.
    bool FindOffset(int64_t offset, TRowSpot& spot) const;
    // The row with the given index (0 <= index < RowCount()); false when out of range.
    bool FindIndex(int64_t index, TRowSpot& spot) const;

    // Inserts count row pointers so that the first gets the given index (0..RowCount()).
    // Throws std::bad_alloc before changing anything when memory runs out.
    void Insert(int64_t index, TTextRow* const* rows, int64_t count);
    // Removes count entries from index on; the rows themselves are not freed. Never throws.
    void Remove(int64_t index, int64_t count);
    // Points entry index at row (a new row, or the same row after its Length changed).
    void Replace(int64_t index, TTextRow* row);
    // Drops every entry; the rows are not freed.
    void Clear();

    // Linear search, for the rare callers that hold only a row pointer; -1 when absent.
    int64_t IndexOf(const TTextRow* row) const;

    // Verifies the invariants and that the entries are the chain starting at first, in order.
    // Returns an empty string when everything holds, else what is wrong.
    std::string check(const TTextRow* first) const;

private:
    struct Leaf;
    struct Cursor;

    void appendToLeaf(Cursor& cursor, TTextRow* row);
    void flushLeaf(Cursor& cursor);
    void addToAncestors(TRowNode* node, int64_t chars, int64_t rows);
    void insertChild(TRowNode* after, TRowNode* child, int64_t chars, int64_t rows);
    void splitInner(TRowInner* node);
    void removeNode(TRowNode* node);
    void rebalance(TRowNode* node);
    void mergeInto(TRowNode* left, TRowNode* right);
    void collapseRoot();
    void reserveNodes(int64_t entries);
    Leaf* takeLeaf();
    TRowInner* takeInner();
    Leaf* lastLeaf() const;
    Leaf* leafOf(int64_t index, int& slot) const;
    void destroy(TRowNode* node);
    std::string checkNode(const TRowNode* node, int depth, int& leafDepth, int64_t& chars,
                          int64_t& rows, const TTextRow*& expect) const;

    TRowNode* m_root;
    std::vector<Leaf*> m_spareLeaves;
    std::vector<TRowInner*> m_spareInners;
    int64_t m_rows = 0;
    int64_t m_chars = 0;
    int m_leafCapacity;
    int m_fanout;
};
