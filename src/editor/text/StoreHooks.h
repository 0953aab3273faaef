// Interfaces through which a text store reaches the pieces that sit on top of it: the
// controls showing it, the objects that keep positions in step with edits, and the undo log.
// The store calls them; it never depends on how they are implemented.
#pragma once

#include <cstdint>
#include <string>

struct TTextRow;

// Where an edit changed the row chain. Rows are valid until the next edit of the store.
struct TRowChange
{
    TTextRow* Before = nullptr; // the row before the first changed row (null at the start)
    TTextRow* First = nullptr;  // the first new row (null when the edit left none)
    TTextRow* After = nullptr;  // the first row after the new rows (null at the end)
    int64_t FirstIndex = 0;     // index of the first new row (or where it would be)
    int64_t RowDelta = 0;       // rows the edit added (negative: removed); 0 for an edit inside a row
};

// A control registered with the store.
class TStoreView
{
public:
    virtual ~TStoreView() = default;
    // The index of the row at the top of the view, and how many rows it shows.
    virtual int64_t TopRow() const = 0;
    virtual void SetTopRow(int64_t row) = 0;
    virtual int64_t VisibleRows() const = 0;
    // Rows were replaced; the control sets its pending re-highlight start and re-flows the
    // range when word wrap is on.
    virtual void RowsChanged(const TRowChange& change) { (void)change; }
    // Every character was deleted; the control empties its selection.
    virtual void DocumentCleared() {}
    // Loading replaced the document; the control puts the caret at 0, repaints everything and
    // re-highlights from the first row.
    virtual void DocumentLoaded() {}
    // A file was loaded or saved under this name; the control's Title follows it when
    // smoTitleAsFilename is set.
    virtual void FileNameUsed(const std::string& fileName) { (void)fileName; }
};

// Keeps character positions (ranges, breakpoints, code breaks, bookmarks) in step with edits.
// The store owns the objects attached through these slots.
class TStoreShiftTarget
{
public:
    virtual ~TStoreShiftTarget() = default;
    // [start, end) is about to be deleted; the rows still hold it. Deleting everything skips
    // this and calls TextCleared.
    virtual void TextDeleting(int64_t start, int64_t end) { (void)start, (void)end; }
    virtual void TextInserted(int64_t position, int64_t length) = 0;
    virtual void TextDeleted(int64_t position, int64_t length) = 0;
    // Everything was deleted.
    virtual void TextCleared() = 0;
};

// The document's undo log, as far as the store needs it.
class TStoreUndo
{
public:
    virtual ~TStoreUndo() = default;
    virtual void Clear() = 0;
};
