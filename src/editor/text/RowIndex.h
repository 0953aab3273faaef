// A counted B+ tree over the rows of a store, in document order, so that finding the row that
// holds a character offset or has a given index, counting the line breaks before a row and
// finding the row where a line starts cost O(log n) anywhere in the document.
// Invariants: every leaf is at the same depth; an inner node stores, per child, the child's
// character, row and line-break totals (a line break is a row that ends in CR), and they add
// up to what the child's subtree holds; a leaf keeps a copy of each row's Length and of its
// ends-a-line bit beside the row pointer so lookups never touch the rows themselves; only the
// root may be empty or have a single child (then it is a leaf).
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

// What a run of index entries adds up to.
struct TRowTotals
{
    int64_t Chars = 0;
    int64_t Rows = 0;
    int64_t Breaks = 0; // rows that end in CR

    TRowTotals& operator+=(const TRowTotals& other)
    {
        Chars += other.Chars;
        Rows += other.Rows;
        Breaks += other.Breaks;
        return *this;
    }
    TRowTotals operator-() const { return {-Chars, -Rows, -Breaks}; }
    bool operator==(const TRowTotals&) const = default;
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

    int64_t RowCount() const { return m_totals.Rows; }
    int64_t CharCount() const { return m_totals.Chars; }
    // Entries whose row ends in CR.
    int64_t LineBreakCount() const { return m_totals.Breaks; }

    // The row holding offset (0 <= offset < CharCount()); false when out of range.
    bool FindOffset(int64_t offset, TRowSpot& spot) const;
    // The row with the given index (0 <= index < RowCount()); false when out of range.
    bool FindIndex(int64_t index, TRowSpot& spot) const;
    // Entries among [0, index) whose row ends in CR; index is clamped to 0..RowCount().
    int64_t BreaksBefore(int64_t index) const;
    // The first row of 0-based line `line`: row 0 for line 0, else the row after the line-th
    // row that ends in CR. False when there is no such row (the line is past the end, or is
    // the empty line after a final CR).
    bool FindLine(int64_t line, TRowSpot& spot) const;

    // Inserts count row pointers so that the first gets the given index (0..RowCount()).
    // Throws std::bad_alloc before changing anything when memory runs out.
    void Insert(int64_t index, TTextRow* const* rows, int64_t count);
    // Removes count entries from index on; the rows themselves are not freed. Never throws.
    void Remove(int64_t index, int64_t count);
    // Points entry index at row (a new row, or the same row after its bytes changed); the
    // copies of Length and of the ends-a-line bit are refreshed from the row.
    void Replace(int64_t index, TTextRow* row);
    // Drops every entry; the rows are not freed.
    void Clear();

    // Bytes of the nodes, spare ones included.
    size_t HeapBytes() const;

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
    void addToAncestors(TRowNode* node, const TRowTotals& delta);
    void insertChild(TRowNode* after, TRowNode* child, const TRowTotals& totals);
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
    size_t nodeBytes(const TRowNode* node) const;
    std::string checkNode(const TRowNode* node, int depth, int& leafDepth, TRowTotals& totals,
                          const TTextRow*& expect) const;
    std::string checkLeaf(const Leaf* leaf, TRowTotals& totals, const TTextRow*& expect) const;

    TRowNode* m_root;
    std::vector<Leaf*> m_spareLeaves;
    std::vector<TRowInner*> m_spareInners;
    TRowTotals m_totals;
    int m_leafCapacity;
    int m_fanout;
};
