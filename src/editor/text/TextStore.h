// The document of the editor control: its rows in a doubly linked chain in document order,
// a counted index over them, the counters, the line-end style and the attachments (undo log,
// bookmarks, ranges, breakpoints, code breaks) that edits keep in step.
// Invariants (check()): no row is empty or longer than 2047 bytes; only the last row of a line
// ends in CR; a row carries the continuation bit exactly when the row before it does not end
// in CR; RowCount, CharCount, the index totals and LongestRow agree with the rows.
// Positions are 0-based character offsets in which a line break (one stored CR) counts once.
#pragma once

#include "editor/text/RowArena.h"
#include "editor/text/RowIndex.h"
#include "editor/text/StoreHooks.h"
#include "editor/text/TextRow.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TStream;
class TStyleSource;

enum TSelLineStyle { lsCRLF = 0, lsLF = 1 };
enum TSaveFormat { sfTEXT = 0, sfUNIX = 1, sfRTF = 2, sfHTML = 3 };

// Internal capacities. Tests shrink them so that boundary code runs with a few bytes of text.
struct TStoreCapacities
{
    int LeafRows = TRowIndex::kMaxLeaf;
    int Fanout = TRowIndex::kMaxFanout;
    int ChunkBytes = 8192; // a stream is read in pieces of this size
    int CommitRows = 4096; // new rows are linked into the index in batches of this many
};

class TTextStore
{
public:
    explicit TTextStore(const TStoreCapacities& capacities = {});
    ~TTextStore();
    TTextStore(const TTextStore&) = delete;
    TTextStore& operator=(const TTextStore&) = delete;

    TTextRow* FirstRow() const { return m_first; }
    TTextRow* LastRow() const { return m_last; }
    int64_t RowCount() const { return m_index.RowCount(); }
    int64_t CharCount() const { return m_index.CharCount(); }
    int LongestRow() const { return m_longest; }

    TSelLineStyle LineStyle() const { return m_lineStyle; }
    void SetLineStyle(TSelLineStyle style) { m_lineStyle = style; }
    TSaveFormat SaveFormat() const { return m_saveFormat; }
    void SetSaveFormat(TSaveFormat format) { m_saveFormat = format; }

    // Lookups. RowAt returns the row holding the offset (clamped to 0..CharCount), its start
    // and index. At CharCount it returns the last row when that row does not end in CR, else
    // no row, with Start CharCount and Index RowCount (the empty line after a final break).
    TRowSpot RowAt(int64_t offset);
    // The row with index n, clamped to the last row; no row in an empty document.
    TRowSpot RowByIndex(int64_t n) const;
    // The cached row at the top of the first registered view; rebuilt from the view's TopRow
    // on the next RowAt after an edit before it. Null while not built.
    TTextRow* CursorRow() const { return m_cursorValid ? m_cursor.Row : nullptr; }
    // The view scrolled: the cached top row is rebuilt on the next lookup.
    void TopRowChanged() { m_cursorValid = false; }
    // Linear in the document; for callers that hold only a row. -1 when not in this store.
    int64_t IndexOfRow(const TTextRow* row) const { return m_index.IndexOf(row); }
    // Lines, as opposed to rows: a line is the run of rows up to one that ends in CR, so with
    // word wrap or forced splits one line is many rows. All three cost O(log n).
    // The 0-based line holding the row (index clamped to 0..RowCount).
    int64_t LineOfRow(int64_t rowIndex) const { return m_index.BreaksBefore(rowIndex); }
    // Line breaks + 1: the empty line after a final CR counts, and an empty document has one.
    int64_t LineCount() const { return m_index.LineBreakCount() + 1; }
    // The first row of the line (clamped to 0..LineCount-1), its start and index. The empty
    // line after a final CR has no row: Start CharCount and Index RowCount, as RowAt gives.
    // No row in an empty document.
    TRowSpot LineStart(int64_t line) const;

    // Goes up with every change of the rows: edits, re-cuts and loading. A holder of row
    // pointers compares it with the value it saw to notice that its rows may be gone.
    uint64_t EditCount() const { return m_editCount; }

    // Inserts text at position (clamped) after normalising it; returns the stored length.
    int64_t InsertText(int64_t position, std::string_view text);
    // Deletes the characters between two offsets (in either order, clamped).
    void DeleteRange(int64_t start, int64_t end);
    // Cuts the count rows from first again into rows of the given lengths, which add up to the
    // rows' bytes, each 1..2047, a CR only at a row's end. The rows may be part of one line or
    // several whole lines. Text, positions and token bytes stay; the first new row of each line
    // keeps that line's track object and extras and the bookmark and mark bits of all its
    // rows. New rows get rfRepaint plus the highlighting flags the old rows had (rfReparse when
    // a row had no token bytes). No text change is reported. Returns where the rows changed.
    // Word wrap re-flows lines through this.
    TRowChange RecutRows(const TRowSpot& first, int64_t count, const std::vector<int>& lengths);
    // Token bytes of a row (read through TTextRow::CopyAttrs and AttrAt): set to these
    // Length bytes, or dropped. Setting throws std::bad_alloc (the row keeps none then).
    void SetAttrs(TTextRow* row, const uint8_t* tokens) { m_arena.SetAttrs(row, tokens); }
    void DropAttrs(TTextRow* row) { m_arena.DropAttrs(row); }
    // A row's extras (-1 on a fresh row) and track object (null on a fresh row). Few rows
    // have either, so they are kept beside the rows. The row owns its track object, and frees
    // a previous one when given another; the store keeps the object's Row pointing at it.
    int32_t Extra1(const TTextRow* row) const { return m_arena.Extras(row).Extra1; }
    int32_t Extra2(const TTextRow* row) const { return m_arena.Extras(row).Extra2; }
    void SetExtras(TTextRow* row, int32_t extra1, int32_t extra2) { m_arena.SetExtras(row, extra1, extra2); }
    TRowTrack* Track(const TTextRow* row) const { return m_arena.Extras(row).Track; }
    void SetTrack(TTextRow* row, TRowTrack* track) { m_arena.SetTrack(row, track); }
    // Bytes the store's rows, token bytes and index take on the heap (the slabs whole).
    size_t HeapBytes() const;

    // The stored bytes between two offsets (line breaks as CR).
    std::string GetText(int64_t start, int64_t end) const;
    std::string GetText() const { return GetText(0, CharCount()); }

    // Replaces the document by the stream's bytes; clears the undo log before and after.
    // Running out of memory throws ESourceMemo "Not enough memory for operation" and leaves
    // the store empty.
    void LoadFromStream(TStream& stream);
    // EFOpenError "File '%s' cannot be opened for reading" when the file does not exist.
    void LoadFromFile(const std::string& fileName);
    // Writes the whole document in SaveFormat; returns the bytes written. Throws
    // EFileSaveError "Bad TStream instance" for a null stream and "Could not save text to
    // stream" when the stream keeps refusing bytes.
    int64_t SaveToStream(TStream* stream);
    // Writes through a temporary file that replaces the target only when complete, so a
    // failed save leaves the previous file as it was.
    void SaveToFile(const std::string& fileName);
    // Writes the characters between two offsets in the given format (clipboard, export).
    int64_t WriteRange(TStream& stream, int64_t start, int64_t end, TSaveFormat format);

    // Colours, font and title for the RTF and HTML writers; a plain default when null. The
    // store does not own it; the control showing the store sets it.
    void SetStyleSource(TStyleSource* styles) { m_styles = styles; }
    TStyleSource* StyleSource() const { return m_styles; }

    // Controls showing this store; the store does not own them.
    void RegisterView(TStoreView* view);
    void UnregisterView(TStoreView* view);
    const std::vector<TStoreView*>& Views() const { return m_views; }

    // Owned attachments.
    TStoreUndo* UndoStack() const { return m_undo.get(); }
    void SetUndoStack(std::unique_ptr<TStoreUndo> undo) { m_undo = std::move(undo); }
    // Takes the undo log out of the store (so that a save, which clears the log, keeps it).
    std::unique_ptr<TStoreUndo> ReleaseUndoStack() { return std::move(m_undo); }
    TStoreShiftTarget* Bookmarks() const { return m_bookmarks.get(); }
    void SetBookmarks(std::unique_ptr<TStoreShiftTarget> t) { m_bookmarks = std::move(t); }
    TStoreShiftTarget* Ranges() const { return m_ranges.get(); }
    void SetRanges(std::unique_ptr<TStoreShiftTarget> t) { m_ranges = std::move(t); }
    TStoreShiftTarget* Breakpoints() const { return m_breakpoints.get(); }
    void SetBreakpoints(std::unique_ptr<TStoreShiftTarget> t) { m_breakpoints = std::move(t); }
    TStoreShiftTarget* CodeBreaks() const { return m_codeBreaks.get(); }
    void SetCodeBreaks(std::unique_ptr<TStoreShiftTarget> t) { m_codeBreaks = std::move(t); }

    // The 1-based column of bookmarks 0 to 9; 0 when not set.
    std::array<uint16_t, 10> BookmarkCols{};
    // The layout the rows were last cut for by a view (word wrap): kFlowStoreCut for the
    // store's own cut, kFlowUnknown after edits made while no view showed the store.
    static constexpr int64_t kFlowStoreCut = 0;
    static constexpr int64_t kFlowUnknown = -1;
    int64_t FlowKey = kFlowStoreCut;
    // Free-form strings kept with the document.
    std::vector<std::string> Strings;

    // Raised for every insertion (positive length) and deletion (negative length).
    std::function<void(int64_t position, int64_t length)> OnTextChange;

    // Empty when every invariant holds, else a description of the first broken one.
    std::string check() const;

private:
    friend class TRowSplice;

    void clearAll();
    void clearUndo();
    void finishEdit(int64_t position, int64_t length, const TRowChange& change);
    void markForReparse(TTextRow* row);
    void rowAdded(int length);
    void rowRemoved(int length);
    void linkAfter(TTextRow* prev, TTextRow* first, TTextRow* last);
    void unlink(TTextRow* first, TTextRow* last);
    void fixContinuation(TTextRow* row);
    bool insertInPlace(int64_t position, std::string_view stored);
    TTextRow* replaceRowText(const TRowSpot& spot, const char* text, int length);
    void releaseAllRows();
    void forEachShiftTarget(const std::function<void(TStoreShiftTarget&)>& action);
    int64_t writeOnce(TStream& stream, int64_t start, int64_t end, TSaveFormat format);

    TStoreCapacities m_capacities;
    TRowArena m_arena;
    TRowIndex m_index;
    TTextRow* m_first = nullptr;
    TTextRow* m_last = nullptr;
    TRowSpot m_cursor;
    int64_t m_cursorEnd = 0;
    bool m_cursorValid = false;
    std::array<int64_t, kMaxRowLength + 1> m_rowsOfLength{};
    int m_longest = 1;
    uint64_t m_editCount = 0;
    TSelLineStyle m_lineStyle = lsCRLF;
    TSaveFormat m_saveFormat = sfTEXT;
    TStyleSource* m_styles = nullptr;
    std::vector<TStoreView*> m_views;
    std::unique_ptr<TStoreUndo> m_undo;
    std::unique_ptr<TStoreShiftTarget> m_bookmarks;
    std::unique_ptr<TStoreShiftTarget> m_ranges;
    std::unique_ptr<TStoreShiftTarget> m_breakpoints;
    std::unique_ptr<TStoreShiftTarget> m_codeBreaks;
};
