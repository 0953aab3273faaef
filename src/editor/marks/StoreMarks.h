// The annotations a text store carries, made on first use and kept in the store's slots, so
// that they travel with the document when a control exchanges stores: the bookmarks (numbered
// and named) in Bookmarks, the marks in Ranges, the breakpoints in Breakpoints and the
// execution point in CodeBreaks. A store only holds them as shift targets; these functions
// know what they are.
#pragma once

#include "editor/marks/Breakpoints.h"
#include "editor/marks/CustomBookmarks.h"
#include "editor/marks/MarkList.h"
#include "editor/marks/NumberedBookmarks.h"

class TMarkEvents;
class TTextStore;

// Both kinds of bookmark in the one slot the store has for them.
class TStoreBookmarks : public TStoreShiftTarget
{
public:
    TNumberedBookmarks Numbered;
    TCustomBookmarks Named;

    void TextDeleting(int64_t start, int64_t end) override;
    void TextInserted(int64_t position, int64_t length) override;
    void TextDeleted(int64_t position, int64_t length) override;
    void TextCleared() override;
};

// The objects, made (and pointed at events) when the store has none yet.
TStoreBookmarks& EnsureBookmarks(TTextStore& store, TMarkEvents* events);
TMarkList& EnsureMarks(TTextStore& store, TMarkEvents* events);
TSM_Breakpoints& EnsureBreakpoints(TTextStore& store, TMarkEvents* events);
TSM_CodeBreak& EnsureCodeBreak(TTextStore& store, TMarkEvents* events);

// The objects when the store has them, else null; painting asks without making any.
TStoreBookmarks* BookmarksOf(const TTextStore& store);
TMarkList* MarksOf(const TTextStore& store);
TSM_Breakpoints* BreakpointsOf(const TTextStore& store);
TSM_CodeBreak* CodeBreakOf(const TTextStore& store);

// Points every annotation object of the store at events (null: tells no one).
void SetMarkEvents(TTextStore& store, TMarkEvents* events);
// Tells no one any more where the objects still tell events; another control that attached
// the store since keeps hearing from them.
void ReleaseMarkEvents(TTextStore& store, const TMarkEvents* events);
