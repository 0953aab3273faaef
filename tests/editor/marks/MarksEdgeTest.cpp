// The annotations' edge cases: numbered bookmarks toggling and replacing, the bookmark index
// error, breakpoints and the execution point losing their line, marks at the edges of edits,
// and what FindMark calls an overlap.
#include "editor/marks/MarkEvents.h"
#include "editor/marks/StoreMarks.h"

#include "editor/text/SourceMemoErrors.h"
#include "editor/text/TextStore.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TFreedEvents : TMarkEvents
{
    void BreakpointFreed(TSM_BreakpointData& bp) override { freed.push_back(bp.Line); }
    void BreakpointStateChanged(TSM_BreakpointData& bp) override { stateChanges.push_back(bp.Line); }
    void MarkFreed(TMark& mark) override { freedMarks.push_back(mark.Tag); }
    std::vector<int32_t> freed;
    std::vector<int32_t> stateChanges;
    std::vector<int32_t> freedMarks;
};

class MarksEdgeTest : public ::testing::Test
{
protected:
    MarksEdgeTest() { store.InsertText(0, "alpha\rbeta\rgamma\rdelta\r"); }

    TTextStore store;
    TFreedEvents events;
};

} // namespace

TEST_F(MarksEdgeTest, SettingABookmarkTwiceOnItsLineClearsItAndAnotherOnItsRowReplacesIt)
{
    TNumberedBookmarks& bookmarks = EnsureBookmarks(store, &events).Numbered;
    TBookmarkChange change = bookmarks.Set(store, 3, 1, 4, false);
    EXPECT_TRUE(change.Set);
    TRowSpot row;
    int column = 0;
    ASSERT_TRUE(bookmarks.Get(store, 3, row, column));
    EXPECT_EQ(row.Index, 1);
    EXPECT_EQ(column, 4);

    change = bookmarks.Set(store, 3, 1, 2, false); // the same line: a toggle
    EXPECT_FALSE(change.Set);
    EXPECT_EQ(change.Cleared, std::vector<int>{3});
    EXPECT_FALSE(bookmarks.Get(store, 3, row, column));

    bookmarks.Set(store, 3, 1, 4, false);
    change = bookmarks.Set(store, 4, 1, 6, false); // the row loses 3's bit to 4
    EXPECT_TRUE(change.Set);
    EXPECT_EQ(change.Cleared, std::vector<int>{3});
    EXPECT_EQ(store.BookmarkCols[3], 4); // the column stays, no row carries the bit
    EXPECT_FALSE(bookmarks.Get(store, 3, row, column));
    ASSERT_TRUE(bookmarks.Get(store, 4, row, column));
    EXPECT_EQ(store.RowByIndex(1).Row->RowBits & rbBookmarkMask, 1u << 4);

    EXPECT_THROW(bookmarks.Set(store, 10, 0, 1, false), ESourceMemo);
    try {
        bookmarks.Get(store, -1, row, column);
        FAIL();
    } catch (const ESourceMemo& error) {
        EXPECT_STREQ(error.what(), "Bookmark index range error");
    }
}

TEST_F(MarksEdgeTest, BookmarksGoWithTheirRowsThroughEditsAndDeletingEverything)
{
    TNumberedBookmarks& bookmarks = EnsureBookmarks(store, &events).Numbered;
    bookmarks.Set(store, 1, 2, 1, false); // "gamma"
    store.InsertText(0, "new\r");
    store.DeleteRange(6, 8); // inside "alpha"
    TRowSpot row;
    int column = 0;
    ASSERT_TRUE(bookmarks.Get(store, 1, row, column));
    EXPECT_EQ(std::string(row.Row->Text(), 6), "gamma\r");
    store.DeleteRange(row.Start, row.Start + 6); // the whole line goes, and its bookmark
    EXPECT_FALSE(bookmarks.Get(store, 1, row, column));
    bookmarks.Set(store, 2, 0, 1, false);
    store.DeleteRange(0, store.CharCount());
    EXPECT_EQ(store.BookmarkCols[2], 0);
    EXPECT_FALSE(bookmarks.Get(store, 2, row, column));
}

TEST_F(MarksEdgeTest, DeletingALineFreesItsBreakpointAndDisablesTheExecutionPoint)
{
    TSM_Breakpoints& breakpoints = EnsureBreakpoints(store, &events);
    TSM_CodeBreak& point = EnsureCodeBreak(store, &events);
    breakpoints.Add(8, 2); // inside "beta": the line start 6
    TSM_BreakpointData* kept = breakpoints.Add(17, 4);
    kept->SetEnabled(false);
    EXPECT_EQ(events.stateChanges, std::vector<int32_t>{4});
    point.SetPoint(6, 2);
    ASSERT_NE(breakpoints.BreakpointAt(6), nullptr);
    TBreakpointStyle style;
    ASSERT_TRUE(breakpoints.GetBreakpointStyle(6, style));
    EXPECT_EQ(style.Image, 11);
    ASSERT_TRUE(breakpoints.GetBreakpointStyle(17, style));
    EXPECT_EQ(style.Image, 12);
    EXPECT_EQ(style.Background, 0x008000u);
    EXPECT_FALSE(breakpoints.GetBreakpointStyle(7, style));

    store.DeleteRange(6, 11); // "beta" and its line break
    EXPECT_EQ(events.freed, std::vector<int32_t>{2});
    EXPECT_EQ(breakpoints.Count(), 1u);
    EXPECT_EQ(kept->Position(), 12);
    EXPECT_FALSE(point.Point()->Enabled());
    EXPECT_FALSE(point.GetBreakpointStyle(point.Point()->Position(), style)); // shown only while enabled
    point.SetPoint(0, 1);
    ASSERT_TRUE(point.GetBreakpointStyle(0, style));
    EXPECT_EQ(style.Background, 0x800000u);

    // Joining a breakpoint's line to the line before keeps it, at the joined line's start.
    store.DeleteRange(11, 12); // the line break before "delta"
    EXPECT_EQ(kept->Position(), 6);
    EXPECT_EQ(breakpoints.BreakpointAt(6), kept);
}

// A mark that starts inside a deleted range and ends after it keeps the characters it had left
// after the range. Keeping its old start as it stood would leave it ending before it starts
// when less of it survives than the range took before it.
TEST_F(MarksEdgeTest, MarkStartingInsideADeletionKeepsItsSurvivingText)
{
    TMarkList& marks = EnsureMarks(store, &events);
    TMark* mark = marks.AddMark(8, 4, 1); // "ta\rg"
    store.DeleteRange(2, 10);
    EXPECT_EQ(mark->Start(), 2);
    EXPECT_EQ(mark->End(), 4);
    EXPECT_EQ(marks.check(), "");
}

TEST_F(MarksEdgeTest, MarksAtTheEdgesOfEdits)
{
    TMarkList& marks = EnsureMarks(store, &events);
    TMark* whole = marks.AddMark(6, 4, 1); // "beta"
    store.InsertText(6, "xx"); // at its start: the whole mark moves
    EXPECT_EQ(whole->Start(), 8);
    EXPECT_EQ(whole->End(), 12);
    store.InsertText(12, "y"); // at its end: it does not grow
    EXPECT_EQ(whole->End(), 12);
    store.InsertText(9, "z"); // inside: it grows
    EXPECT_EQ(whole->End(), 13);
    TMark* empty = marks.AddMark(2, 0, 2);
    store.DeleteRange(2, 4); // the characters after an empty mark go; it stays
    EXPECT_EQ(empty->Start(), 2);
    store.DeleteRange(1, 3); // one inside the range goes
    EXPECT_EQ(events.freedMarks, std::vector<int32_t>{2});

    TMark* found = nullptr;
    EXPECT_TRUE(marks.FindMark(whole->Start() + 1, 0, found)); // an empty range inside
    EXPECT_EQ(found, whole);
    EXPECT_FALSE(marks.FindMark(whole->End(), 3, found)); // touching its end shares nothing
    EXPECT_TRUE(marks.FindMark(whole->End() - 1, 3, found));
    TMark* point = marks.AddMark(0, 0, 3);
    EXPECT_TRUE(marks.FindMark(0, 2, found));
    EXPECT_EQ(found, point);
    EXPECT_EQ(marks.check(), "");
}
