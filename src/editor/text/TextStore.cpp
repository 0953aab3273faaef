#include "editor/text/TextStore.h"

#include "editor/text/RowSplice.h"
#include "editor/text/TextNormaliser.h"

#include <algorithm>
#include <cstring>

TTextStore::TTextStore(const TStoreCapacities& capacities)
    : m_capacities(capacities), m_index(capacities.LeafRows, capacities.Fanout)
{
    m_capacities.ChunkBytes = std::max(m_capacities.ChunkBytes, 2);
    m_capacities.CommitRows = std::max(m_capacities.CommitRows, 1);
}

TTextStore::~TTextStore()
{
    releaseAllRows();
}

// Frees what the rows own; their blocks go back with the arena's slabs.
void TTextStore::releaseAllRows()
{
    m_first = nullptr;
    m_last = nullptr;
    m_arena.Reset();
}

void TTextStore::RegisterView(TStoreView* view)
{
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
    m_cursorValid = false;
}

void TTextStore::UnregisterView(TStoreView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    m_cursorValid = false;
}

TRowSpot TTextStore::RowByIndex(int64_t n) const
{
    TRowSpot spot;
    if (RowCount() > 0)
        m_index.FindIndex(std::clamp<int64_t>(n, 0, RowCount() - 1), spot);
    return spot;
}

TRowSpot TTextStore::LineStart(int64_t line) const
{
    TRowSpot spot;
    if (RowCount() == 0)
        return spot;
    if (!m_index.FindLine(std::clamp<int64_t>(line, 0, LineCount() - 1), spot))
        spot = {nullptr, CharCount(), RowCount()};
    return spot;
}

TRowSpot TTextStore::RowAt(int64_t offset)
{
    offset = std::clamp<int64_t>(offset, 0, CharCount());
    if (!m_cursorValid && RowCount() > 0) {
        const int64_t top = m_views.empty() ? 0 : m_views.front()->TopRow();
        m_cursor = RowByIndex(top);
        m_cursorEnd = m_cursor.Start + m_cursor.Row->Length;
        m_cursorValid = true;
    }
    if (m_cursorValid && offset >= m_cursor.Start && offset < m_cursorEnd)
        return m_cursor;
    TRowSpot spot;
    if (m_index.FindOffset(offset, spot))
        return spot;
    if (m_last && !m_last->EndsLine())
        return {m_last, CharCount() - m_last->Length, RowCount() - 1};
    return {nullptr, CharCount(), RowCount()};
}

std::string TTextStore::GetText(int64_t start, int64_t end) const
{
    start = std::clamp<int64_t>(start, 0, CharCount());
    end = std::clamp<int64_t>(end, 0, CharCount());
    if (start > end)
        std::swap(start, end);
    std::string text;
    TRowSpot spot;
    if (start == end || !m_index.FindOffset(start, spot))
        return text;
    text.reserve(static_cast<size_t>(end - start));
    int64_t rowStart = spot.Start;
    for (const TTextRow* row = spot.Row; row && rowStart < end; row = row->Next) {
        const int64_t from = std::max(start, rowStart) - rowStart;
        const int64_t to = std::min<int64_t>(end - rowStart, row->Length);
        text.append(row->Text() + from, static_cast<size_t>(to - from));
        rowStart += row->Length;
    }
    return text;
}

void TTextStore::rowAdded(int length)
{
    ++m_rowsOfLength[length];
    m_longest = std::max(length, m_longest);
}

void TTextStore::rowRemoved(int length)
{
    --m_rowsOfLength[length];
    // The histogram makes the rescan after the longest row shrinks cost at most 2048 steps
    // instead of a walk over every row.
    if (length == m_longest && m_rowsOfLength[length] == 0) {
        while (m_longest > 0 && m_rowsOfLength[m_longest] == 0)
            --m_longest;
    }
}

void TTextStore::linkAfter(TTextRow* prev, TTextRow* first, TTextRow* last)
{
    TTextRow* next = prev ? prev->Next : m_first;
    first->Prev = prev;
    last->Next = next;
    if (prev)
        prev->Next = first;
    else
        m_first = first;
    if (next)
        next->Prev = last;
    else
        m_last = last;
}

void TTextStore::unlink(TTextRow* first, TTextRow* last)
{
    TTextRow* prev = first->Prev;
    TTextRow* next = last->Next;
    if (prev)
        prev->Next = next;
    else
        m_first = next;
    if (next)
        next->Prev = prev;
    else
        m_last = prev;
    first->Prev = nullptr;
    last->Next = nullptr;
}

void TTextStore::fixContinuation(TTextRow* row)
{
    if (!row)
        return;
    if (row->Prev && !row->Prev->EndsLine())
        row->RowBits |= rbContinuation;
    else
        row->RowBits &= ~rbContinuation;
}

void TTextStore::forEachShiftTarget(const std::function<void(TStoreShiftTarget&)>& action)
{
    for (TStoreShiftTarget* target : {m_bookmarks.get(), m_ranges.get(), m_breakpoints.get(),
                                      m_codeBreaks.get()})
        if (target)
            action(*target);
}

void TTextStore::markForReparse(TTextRow* row)
{
    int64_t visible = 0;
    for (const TStoreView* view : m_views)
        visible = std::max(visible, view->VisibleRows());
    for (int64_t i = 0; row && i < visible + 2; ++i, row = row->Next)
        row->Flags |= rfReparse;
}

void TTextStore::finishEdit(int64_t position, int64_t length, const TRowChange& change)
{
    if (m_views.empty())
        FlowKey = kFlowUnknown;
    if (m_cursorValid && position <= m_cursorEnd)
        m_cursorValid = false;
    if (length > 0) {
        markForReparse(change.First);
        forEachShiftTarget([&](TStoreShiftTarget& t) { t.TextInserted(position, length); });
    } else {
        forEachShiftTarget([&](TStoreShiftTarget& t) { t.TextDeleted(position, -length); });
    }
    for (TStoreView* view : m_views)
        view->RowsChanged(change);
    if (OnTextChange)
        OnTextChange(position, length);
}

// Gives the row new text: in its own block when the size class allows, else in a new block
// that takes over every field of the old row. Returns the row now holding the text. The index
// hears of it either way: the length and whether the row ends a line may both have changed.
TTextRow* TTextStore::replaceRowText(const TRowSpot& spot, const char* text, int length)
{
    TTextRow* row = spot.Row;
    const int oldLength = row->Length;
    if (TRowArena::FitsInPlace(oldLength, length)) {
        m_arena.DropAttrs(row);
        TRowArena::PrepareResize(row, length);
        row->ReplaceTextInPlace(text, length);
        TRowArena::FinishResize(row);
    } else {
        TTextRow* moved = m_arena.Create(text, length);
        moved->Flags = row->Flags;
        moved->RowBits = row->RowBits;
        moved->MarkBits = row->MarkBits;
        const TRowExtras& extras = m_arena.Extras(row);
        if (extras.Extra1 != -1 || extras.Extra2 != -1 || extras.Track) {
            try {
                m_arena.SetExtras(moved, extras.Extra1, extras.Extra2);
                m_arena.SetTrack(moved, m_arena.TakeTrack(row));
            } catch (...) {
                m_arena.Destroy(moved);
                throw;
            }
        }
        moved->UpdateTabFlag();
        TTextRow* prev = row->Prev;
        unlink(row, row);
        linkAfter(prev, moved, moved);
        m_arena.Destroy(row);
        row = moved;
    }
    row->Flags |= rfRepaint | rfReparse;
    m_index.Replace(spot.Index, row);
    rowRemoved(oldLength);
    rowAdded(length);
    return row;
}

bool TTextStore::insertInPlace(int64_t position, std::string_view stored)
{
    if (stored.find(kLineBreak) != std::string_view::npos)
        return false;
    TRowSpot spot;
    if (!m_index.FindOffset(position, spot)) {
        if (!m_last || m_last->EndsLine())
            return false;
        spot = {m_last, CharCount() - m_last->Length, RowCount() - 1};
    }
    const int oldLength = spot.Row->Length;
    const int64_t newLength = oldLength + static_cast<int64_t>(stored.size());
    if (newLength > kMaxRowLength)
        return false;
    const auto cut = static_cast<size_t>(position - spot.Start);
    char text[kMaxRowLength];
    std::memcpy(text, spot.Row->Text(), cut);
    std::memcpy(text + cut, stored.data(), stored.size());
    std::memcpy(text + cut + stored.size(), spot.Row->Text() + cut, oldLength - cut);
    TTextRow* row = replaceRowText(spot, text, static_cast<int>(newLength));
    finishEdit(position, static_cast<int64_t>(stored.size()), {row->Prev, row, row->Next, spot.Index});
    return true;
}

int64_t TTextStore::InsertText(int64_t position, std::string_view text)
{
    if (text.empty())
        return 0;
    ++m_editCount;
    position = std::clamp<int64_t>(position, 0, CharCount());
    if (text.size() <= static_cast<size_t>(kMaxRowLength)) {
        // Typing and small pastes usually stay inside the row at the position.
        char stored[kMaxRowLength];
        TTextNormaliser normaliser;
        const size_t made = normaliser.Feed(text.data(), text.size(), stored);
        if (insertInPlace(position, {stored, made}))
            return static_cast<int64_t>(made);
    }
    TRowSpot spot;
    int64_t count = 1;
    if (!m_index.FindOffset(position, spot)) {
        if (m_last && !m_last->EndsLine()) {
            spot = {m_last, CharCount() - m_last->Length, RowCount() - 1};
        } else {
            spot = {nullptr, CharCount(), RowCount()};
            count = 0;
        }
    }
    const int64_t before = CharCount();
    const auto cut = static_cast<size_t>(position - spot.Start);
    TRowSplice splice(*this, spot, count);
    if (count > 0)
        splice.Add(spot.Row->Text(), cut);
    TTextNormaliser normaliser;
    splice.AddRaw(text.data(), text.size(), normaliser);
    if (count > 0)
        splice.Add(spot.Row->Text() + cut, spot.Row->Length - cut);
    const TRowChange change = splice.Finish();
    const int64_t inserted = CharCount() - before;
    finishEdit(position, inserted, change);
    return inserted;
}

void TTextStore::DeleteRange(int64_t start, int64_t end)
{
    ++m_editCount;
    start = std::clamp<int64_t>(start, 0, CharCount());
    end = std::clamp<int64_t>(end, 0, CharCount());
    if (start > end)
        std::swap(start, end);
    if (start == end)
        return;
    if (start == 0 && end == CharCount()) {
        clearAll();
        return;
    }
    forEachShiftTarget([&](TStoreShiftTarget& t) { t.TextDeleting(start, end); });
    TRowSpot first;
    m_index.FindOffset(start, first);
    TRowSpot last;
    if (!m_index.FindOffset(end, last))
        last = {m_last, CharCount() - m_last->Length, RowCount() - 1};
    const int64_t headLength = start - first.Start;
    const int64_t tailFrom = std::min<int64_t>(end - last.Start, last.Row->Length);
    TRowChange change;
    if (first.Row == last.Row && headLength + (last.Row->Length - tailFrom) > 0) {
        // Inside one row: the row keeps its place in the chain.
        char text[kMaxRowLength];
        const auto head = static_cast<size_t>(headLength);
        const auto tail = static_cast<size_t>(last.Row->Length - tailFrom);
        std::memcpy(text, first.Row->Text(), head);
        std::memcpy(text + head, first.Row->Text() + tailFrom, tail);
        TTextRow* row = replaceRowText(first, text, static_cast<int>(head + tail));
        change = {row->Prev, row, row->Next, first.Index};
    } else if (headLength == 0 && tailFrom == 0) {
        // Whole rows go; the row at end stays as it is.
        TRowSplice splice(*this, first, last.Index - first.Index);
        change = splice.Finish();
    } else {
        TRowSplice splice(*this, first, last.Index - first.Index + 1);
        splice.Add(first.Row->Text(), static_cast<size_t>(headLength));
        splice.Add(last.Row->Text() + tailFrom, static_cast<size_t>(last.Row->Length - tailFrom));
        change = splice.Finish();
    }
    finishEdit(start, -(end - start), change);
}

void TTextStore::clearAll()
{
    ++m_editCount;
    const int64_t deleted = CharCount();
    releaseAllRows();
    m_index.Clear();
    m_rowsOfLength.fill(0);
    m_longest = 0;
    m_cursorValid = false;
    BookmarkCols.fill(0);
    forEachShiftTarget([](TStoreShiftTarget& t) { t.TextCleared(); });
    for (TStoreView* view : m_views) {
        view->SetTopRow(0);
        view->DocumentCleared();
    }
    // The listener hears how much went, like any other deletion, so positions it keeps
    // can follow.
    if (OnTextChange)
        OnTextChange(0, -deleted);
}

void TTextStore::clearUndo()
{
    if (m_undo)
        m_undo->Clear();
}

size_t TTextStore::HeapBytes() const
{
    return m_arena.SlabBytes() + m_index.HeapBytes();
}

std::string TTextStore::check() const
{
    std::string error = m_index.check(m_first);
    if (!error.empty())
        return error;
    std::array<int64_t, kMaxRowLength + 1> lengths{};
    int64_t breaks = 0;
    const TTextRow* prev = nullptr;
    for (const TTextRow* row = m_first; row; prev = row, row = row->Next) {
        if (row->Prev != prev)
            return "broken back link";
        if (row->Length < 1 || row->Length > kMaxRowLength)
            return "row length out of range";
        if (row->Text()[row->Length] != 0)
            return "row text not NUL-terminated";
        const void* cr = std::memchr(row->Text(), kLineBreak, row->Length);
        if (cr && cr != row->Text() + row->Length - 1)
            return "line break inside a row";
        if (std::memchr(row->Text(), '\n', row->Length))
            return "LF stored";
        if (row->IsContinuation() != (prev && !prev->EndsLine()))
            return "continuation bit differs from the row before";
        if (((row->Flags & rfHasTab) != 0) != (std::memchr(row->Text(), '\t', row->Length) != nullptr))
            return "tab flag differs from the text";
        if (Track(row) && Track(row)->Row != row)
            return "track object points elsewhere";
        ++lengths[row->Length];
        breaks += row->EndsLine() ? 1 : 0;
    }
    if (prev != m_last)
        return "last row pointer is stale";
    if (breaks != m_index.LineBreakCount())
        return "line count differs from the rows";
    if (lengths != m_rowsOfLength)
        return "length histogram differs from the rows";
    int longest = kMaxRowLength;
    while (longest > 0 && lengths[longest] == 0)
        --longest;
    if (RowCount() > 0 && longest != m_longest)
        return "LongestRow differs from the rows";
    if (m_cursorValid && (m_cursorEnd != m_cursor.Start + m_cursor.Row->Length))
        return "cached top row is stale";
    return {};
}
