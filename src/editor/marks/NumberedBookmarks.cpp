#include "editor/marks/NumberedBookmarks.h"

#include "editor/text/SourceMemoErrors.h"

#include <algorithm>

namespace {

uint16_t bitOf(int n)
{
    return static_cast<uint16_t>(1u << n);
}

} // namespace

void TNumberedBookmarks::CheckIndex(int n)
{
    if (n < 0 || n >= kCount)
        throw ESourceMemo(kBookmarkIndexRangeError);
}

void TNumberedBookmarks::placed(int n, int64_t rowStart)
{
    m_hint[static_cast<size_t>(n)] = THint::At;
    m_at[static_cast<size_t>(n)] = rowStart;
}

TRowSpot TNumberedBookmarks::walk(TTextStore& store, int n)
{
    TRowSpot spot{store.FirstRow(), 0, 0};
    for (; spot.Row; spot.Start += spot.Row->Length, ++spot.Index, spot.Row = spot.Row->Next) {
        if (spot.Row->RowBits & bitOf(n)) {
            placed(n, spot.Start);
            return spot;
        }
    }
    m_hint[static_cast<size_t>(n)] = THint::Gone;
    return {};
}

TRowSpot TNumberedBookmarks::find(TTextStore& store, int n)
{
    const auto i = static_cast<size_t>(n);
    if (store.BookmarkCols[i] == 0 || m_hint[i] == THint::Gone)
        return {};
    if (m_hint[i] == THint::At) {
        const TRowSpot spot = store.RowAt(m_at[i]);
        if (spot.Row && spot.Start == m_at[i] && (spot.Row->RowBits & bitOf(n)))
            return spot;
        const TRowSpot head = store.LineStart(store.LineOfRow(spot.Index));
        if (head.Row && (head.Row->RowBits & bitOf(n))) {
            placed(n, head.Start);
            return head;
        }
    }
    return walk(store, n);
}

void TNumberedBookmarks::clearRowBits(const TRowSpot& spot, TBookmarkChange& change)
{
    const uint16_t bits = spot.Row->RowBits & rbBookmarkMask;
    if (!bits)
        return;
    for (int k = 0; k < kCount; ++k) {
        if (bits & bitOf(k)) {
            change.Cleared.push_back(k);
            m_hint[static_cast<size_t>(k)] = THint::Gone;
        }
    }
    spot.Row->RowBits &= static_cast<uint16_t>(~rbBookmarkMask);
    change.Rows.push_back(spot.Index);
}

TBookmarkChange TNumberedBookmarks::Set(TTextStore& store, int n, int64_t row, int column, bool wordWrap)
{
    CheckIndex(n);
    TBookmarkChange change;
    TRowSpot target = store.RowByIndex(std::clamp<int64_t>(row, 0, std::max<int64_t>(store.RowCount() - 1, 0)));
    if (target.Row && wordWrap)
        target = store.LineStart(store.LineOfRow(target.Index));
    const TRowSpot old = find(store, n);
    if (old.Row) {
        const bool sameLine = wordWrap ? store.LineOfRow(old.Index) == store.LineOfRow(target.Index)
                                       : old.Index == target.Index;
        clearRowBits(old, change);
        if (sameLine)
            return change;
    }
    if (!target.Row)
        return change; // an empty document has no row to mark
    clearRowBits(target, change);
    target.Row->RowBits |= bitOf(n);
    store.BookmarkCols[static_cast<size_t>(n)] = static_cast<uint16_t>(std::clamp(column, 1, 0xFFFF));
    placed(n, target.Start);
    if (change.Rows.empty() || change.Rows.back() != target.Index)
        change.Rows.push_back(target.Index);
    change.Set = true;
    return change;
}

bool TNumberedBookmarks::Get(TTextStore& store, int n, TRowSpot& row, int& column)
{
    CheckIndex(n);
    row = find(store, n);
    if (!row.Row)
        return false;
    column = store.BookmarkCols[static_cast<size_t>(n)];
    return true;
}

void TNumberedBookmarks::TextInserted(int64_t position, int64_t length)
{
    // The row at the insertion point keeps its start and its bits (the first new row takes
    // them), so only hints beyond it move.
    for (size_t i = 0; i < m_hint.size(); ++i)
        if (m_hint[i] == THint::At && m_at[i] > position)
            m_at[i] += length;
}

void TNumberedBookmarks::TextDeleted(int64_t position, int64_t length)
{
    const int64_t end = position + length;
    for (size_t i = 0; i < m_hint.size(); ++i) {
        if (m_hint[i] != THint::At || m_at[i] <= position)
            continue;
        if (m_at[i] < end)
            m_hint[i] = THint::Gone; // a row starting inside the range went with it
        else
            m_at[i] -= length;
    }
}

void TNumberedBookmarks::TextCleared()
{
    m_hint.fill(THint::Gone);
}
