// Rows, normalisation, counters and bookkeeping of single edits.
#include "StoreTestSupport.h"

#include "base/Stream.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> rowTexts(const TTextStore& store)
{
    std::vector<std::string> rows;
    for (const TTextRow* row = store.FirstRow(); row; row = row->Next)
        rows.emplace_back(row->Text(), row->Length);
    return rows;
}

class CountedTrack : public TRowTrack
{
public:
    explicit CountedTrack(int& freed) : m_freed(freed) {}
    ~CountedTrack() override { ++m_freed; }

private:
    int& m_freed;
};

} // namespace

TEST(TextStore, NewStoreIsEmptyWithLongestRowOne)
{
    TTextStore store;
    EXPECT_EQ(store.FirstRow(), nullptr);
    EXPECT_EQ(store.RowCount(), 0);
    EXPECT_EQ(store.CharCount(), 0);
    EXPECT_EQ(store.LongestRow(), 1);
    EXPECT_EQ(store.LineStyle(), lsCRLF);
    EXPECT_EQ(store.RowAt(5).Row, nullptr);
    EXPECT_EQ(store.RowByIndex(3).Row, nullptr);
    EXPECT_EQ(store.check(), "");
}

TEST(TextStore, LineBreakPairsBecomeOneBreakAndCrCrTwo)
{
    for (const std::string& text : {std::string("a\r\nb"), std::string("a\n\rb"), std::string("a\nb")}) {
        TTextStore store;
        store.InsertText(0, text);
        EXPECT_EQ(rowTexts(store), (std::vector<std::string>{"a\r", "b"}));
        EXPECT_EQ(store.CharCount(), 3);
    }
    TTextStore store;
    store.InsertText(0, "a\r\rb");
    EXPECT_EQ(rowTexts(store), (std::vector<std::string>{"a\r", "\r", "b"}));
    EXPECT_EQ(store.check(), "");
}

TEST(TextStore, ControlBytesBecomeDotsAndTabFlagsItsRow)
{
    TTextStore store;
    store.InsertText(0, std::string("x\0y\x1b\x7f\r\tz", 8));
    EXPECT_EQ(rowTexts(store), (std::vector<std::string>{"x.y.\x7f\r", "\tz"}));
    EXPECT_EQ(store.FirstRow()->Flags & rfHasTab, 0u);
    EXPECT_NE(store.LastRow()->Flags & rfHasTab, 0u);
    store.DeleteRange(6, 7); // the TAB goes, the flag with it
    EXPECT_EQ(store.LastRow()->Flags & rfHasTab, 0u);
    EXPECT_EQ(store.check(), "");
}

TEST(TextStore, LongLineIsCutInto2047ByteRowsWithContinuationBits)
{
    TTextStore store;
    store.InsertText(0, std::string(5000, 'x'));
    EXPECT_EQ(rowLengths(store), (std::vector<int>{2047, 2047, 906}));
    const TTextRow* first = store.FirstRow();
    EXPECT_FALSE(first->IsContinuation());
    EXPECT_TRUE(first->Next->IsContinuation());
    EXPECT_TRUE(first->Next->Next->IsContinuation());
    EXPECT_EQ(store.LongestRow(), 2047);

    // A line of 2047 characters and its break: the break gets a row of its own.
    TTextStore exact;
    exact.InsertText(0, std::string(2047, 'y') + "\r\nz");
    EXPECT_EQ(rowLengths(exact), (std::vector<int>{2047, 1, 1}));
    EXPECT_TRUE(exact.FirstRow()->Next->IsContinuation());
    EXPECT_FALSE(exact.LastRow()->IsContinuation());
    EXPECT_EQ(exact.check(), "");
}

TEST(TextStore, TypingIntoAFullRowSplitsIt)
{
    TTextStore store;
    store.InsertText(0, std::string(2047, 'a') + "\r" + "next");
    ASSERT_EQ(rowLengths(store), (std::vector<int>{2047, 1, 4}));
    store.InsertText(10, "Q");
    EXPECT_EQ(rowLengths(store), (std::vector<int>{2047, 1, 1, 4}));
    EXPECT_EQ(store.GetText(0, 12), std::string(10, 'a') + "Qa");
    EXPECT_TRUE(store.FirstRow()->Next->IsContinuation());
    EXPECT_EQ(store.check(), "");
}

TEST(TextStore, InsertCutsRowAndFirstNewRowInheritsItsBookkeeping)
{
    int freed = 0;
    TTextStore store;
    RecordingView view;
    view.m_visible = 1;
    store.RegisterView(&view);
    store.InsertText(0, "abcd\rtail\rend\rlast");
    TTextRow* row = store.FirstRow();
    row->RowBits = 0x0005;
    row->MarkBits = 0x0100;
    store.SetExtras(row, 7, 8);
    store.SetTrack(row, new CountedTrack(freed));
    for (TTextRow* r = store.FirstRow(); r; r = r->Next)
        r->Flags = 0;

    store.InsertText(2, "XY\r\nZ");
    EXPECT_EQ(rowTexts(store), (std::vector<std::string>{"abXY\r", "Zcd\r", "tail\r", "end\r", "last"}));
    const TTextRow* first = store.FirstRow();
    const TTextRow* second = first->Next;
    EXPECT_EQ(first->RowBits, 0x0005);
    EXPECT_EQ(first->MarkBits, 0x0100);
    EXPECT_EQ(store.Extra1(first), 7);
    EXPECT_EQ(store.Extra2(first), 8);
    ASSERT_NE(store.Track(first), nullptr);
    EXPECT_EQ(store.Track(first)->Row, first);
    EXPECT_EQ(second->RowBits, 0);
    EXPECT_EQ(second->MarkBits, 0);
    EXPECT_EQ(store.Extra1(second), -1);
    EXPECT_EQ(store.Extra2(second), -1);
    EXPECT_EQ(store.Track(second), nullptr);
    EXPECT_EQ(freed, 0);
    EXPECT_EQ(first->Flags & (rfRepaint | rfReparse), rfRepaint | rfReparse);
    EXPECT_EQ(second->Flags & (rfRepaint | rfReparse), rfRepaint | rfReparse);
    // One visible row plus two: the two rows after the new ones are marked for re-highlight.
    EXPECT_EQ(second->Next->Flags, rfReparse);
    EXPECT_EQ(second->Next->Next->Flags, 0u);
    ASSERT_EQ(view.changes.size(), 2u);
    EXPECT_EQ(view.changes.back().First, first);
    EXPECT_EQ(view.changes.back().FirstIndex, 0);
    EXPECT_EQ(store.check(), "");
    store.UnregisterView(&view);
}

TEST(TextStore, DeleteJoinsRowsInheritsFirstAndFreesRemovedTracks)
{
    int freed = 0;
    TTextStore store;
    store.InsertText(0, "one\rtwo\rthree\rfour");
    int index = 0;
    for (TTextRow* r = store.FirstRow(); r; r = r->Next, ++index) {
        store.SetTrack(r, new CountedTrack(freed));
        store.SetExtras(r, index, -1);
    }
    TRowTrack* firstTrack = store.Track(store.FirstRow());
    store.DeleteRange(10, 2); // "e\rtwo\rth"
    EXPECT_EQ(rowTexts(store), (std::vector<std::string>{"onree\r", "four"}));
    EXPECT_EQ(store.Track(store.FirstRow()), firstTrack);
    EXPECT_EQ(store.Extra1(store.FirstRow()), 0);
    EXPECT_EQ(freed, 2);
    EXPECT_NE(store.FirstRow()->Flags & rfReparse, 0u);
    EXPECT_EQ(store.check(), "");
}

TEST(TextStore, DeletingWholeLinesLeavesTheFollowingRowAlone)
{
    int freed = 0;
    TTextStore store;
    store.InsertText(0, "one\rtwo\rthree\r");
    TTextRow* third = store.FirstRow()->Next->Next;
    store.SetTrack(third, new CountedTrack(freed));
    store.DeleteRange(0, 8);
    EXPECT_EQ(store.FirstRow(), third);
    EXPECT_EQ(freed, 0);
    EXPECT_EQ(store.RowCount(), 1);
    EXPECT_EQ(store.check(), "");
}

TEST(TextStore, RemovingForcedSplitRowClearsContinuationOfTheNextRow)
{
    TTextStore store;
    store.InsertText(0, "a\r" + std::string(2047, 'b') + "cc\rd");
    ASSERT_EQ(rowLengths(store), (std::vector<int>{2, 2047, 3, 1}));
    store.DeleteRange(2, 2 + 2047);
    EXPECT_EQ(rowTexts(store), (std::vector<std::string>{"a\r", "cc\r", "d"}));
    EXPECT_FALSE(store.FirstRow()->Next->IsContinuation());
    EXPECT_EQ(store.check(), "");
    // And the other way: removing a line break makes the next row continue the line.
    TTextStore joined;
    joined.InsertText(0, std::string(2047, 'b') + "\rcc\r");
    joined.DeleteRange(2047, 2048);
    EXPECT_EQ(rowLengths(joined), (std::vector<int>{2047, 3}));
    EXPECT_TRUE(joined.LastRow()->IsContinuation());
    EXPECT_EQ(joined.check(), "");
}

TEST(TextStore, JoiningTwoLongLinesKeepsRowsWithinTheLimit)
{
    TTextStore store;
    store.InsertText(0, std::string(2000, 'a') + "\r" + std::string(2000, 'b'));
    store.DeleteRange(2000, 2001);
    EXPECT_EQ(rowLengths(store), (std::vector<int>{2047, 1953}));
    EXPECT_EQ(store.CharCount(), 4000);
    EXPECT_EQ(store.check(), "");
}

TEST(TextStore, ChangesReachListenerShiftTargetsAndCursorRules)
{
    std::vector<ShiftEvent> shifts;
    std::vector<std::pair<int64_t, int64_t>> changes;
    TTextStore store;
    store.SetRanges(std::make_unique<RecordingShiftTarget>(shifts));
    store.SetBreakpoints(std::make_unique<RecordingShiftTarget>(shifts));
    store.OnTextChange = [&](int64_t p, int64_t n) { changes.emplace_back(p, n); };
    store.InsertText(0, "ab\r\ncd");
    store.DeleteRange(4, 1);
    store.InsertText(1, "");
    store.DeleteRange(2, 2);
    EXPECT_EQ(changes, (std::vector<std::pair<int64_t, int64_t>>{{0, 5}, {1, -3}}));
    EXPECT_EQ(shifts, (std::vector<ShiftEvent>{{'i', 0, 5}, {'i', 0, 5}, {'d', 1, 3}, {'d', 1, 3}}));
}

TEST(TextStore, DeletingEverythingResetsCountsViewsAndBookmarks)
{
    std::vector<ShiftEvent> shifts;
    std::vector<std::pair<int64_t, int64_t>> changes;
    TTextStore store;
    RecordingView view;
    store.RegisterView(&view);
    store.SetBookmarks(std::make_unique<RecordingShiftTarget>(shifts));
    store.InsertText(0, "hello\rworld");
    store.BookmarkCols[3] = 4;
    view.m_top = 1;
    store.OnTextChange = [&](int64_t p, int64_t n) { changes.emplace_back(p, n); };
    store.DeleteRange(store.CharCount(), 0);
    EXPECT_EQ(store.RowCount(), 0);
    EXPECT_EQ(store.CharCount(), 0);
    EXPECT_EQ(store.LongestRow(), 0);
    EXPECT_EQ(store.FirstRow(), nullptr);
    EXPECT_EQ(view.m_top, 0);
    EXPECT_EQ(view.cleared, 1);
    EXPECT_EQ(store.BookmarkCols[3], 0);
    EXPECT_EQ(shifts.back(), (ShiftEvent{'c', 0, 0}));
    EXPECT_EQ(changes, (std::vector<std::pair<int64_t, int64_t>>{{0, -11}}));
    EXPECT_EQ(store.check(), "");
    store.UnregisterView(&view);
}

TEST(TextStore, LongestRowFollowsGrowthAndShrinking)
{
    TTextStore store;
    store.InsertText(0, "12345\r123\r1234567");
    EXPECT_EQ(store.LongestRow(), 7);
    store.DeleteRange(14, 17);
    EXPECT_EQ(store.LongestRow(), 6);
    store.DeleteRange(0, 4);
    EXPECT_EQ(store.LongestRow(), 4);
    EXPECT_EQ(store.check(), "");
}

TEST(TextStore, RowAtAndRowByIndexAtTheEdges)
{
    TTextStore store;
    store.InsertText(0, "ab\rcd\r");
    TRowSpot end = store.RowAt(6);
    EXPECT_EQ(end.Row, nullptr);
    EXPECT_EQ(end.Start, 6);
    EXPECT_EQ(end.Index, 2);
    EXPECT_EQ(store.RowAt(99).Start, 6);
    TRowSpot second = store.RowAt(3);
    EXPECT_EQ(second.Index, 1);
    EXPECT_EQ(second.Start, 3);
    EXPECT_EQ(store.RowByIndex(50).Row, store.LastRow());
    EXPECT_EQ(store.RowByIndex(-2).Row, store.FirstRow());
    store.DeleteRange(5, 6);
    TRowSpot last = store.RowAt(5);
    EXPECT_EQ(last.Row, store.LastRow());
    EXPECT_EQ(last.Start, 3);
}

TEST(TextStore, CursorRowIsTheViewTopAndIsDroppedByEditsBeforeIt)
{
    TTextStore store;
    RecordingView view;
    store.RegisterView(&view);
    store.InsertText(0, "r0\rr1\rr2\rr3\rr4\r");
    view.m_top = 99; // clamped to the last row
    store.TopRowChanged();
    store.RowAt(0);
    EXPECT_EQ(store.CursorRow(), store.LastRow());
    view.m_top = 2;
    store.TopRowChanged();
    EXPECT_EQ(store.RowAt(7).Start, 6);
    TTextRow* top = store.CursorRow();
    EXPECT_EQ(top, store.RowByIndex(2).Row);
    store.InsertText(13, "x"); // after the top row: the cache stays
    EXPECT_EQ(store.CursorRow(), top);
    EXPECT_EQ(store.check(), "");
    store.InsertText(1, "y"); // before it: the cache goes
    EXPECT_EQ(store.CursorRow(), nullptr);
    EXPECT_EQ(store.RowAt(7).Row->Text()[0], 'r');
    EXPECT_EQ(store.RowAt(7).Start, 7);
    EXPECT_EQ(store.check(), "");
    store.UnregisterView(&view);
}

TEST(TextStore, EditsInsideARowKeepTheRowOrMoveItWithEverythingItCarries)
{
    int freed = 0;
    TTextStore store;
    store.InsertText(0, "hello\rworld");
    TTextRow* row = store.FirstRow();
    const uint8_t tokens[7] = {5};
    store.SetAttrs(row, tokens);
    store.InsertText(2, "y");
    EXPECT_EQ(store.FirstRow(), row); // one more byte fits the row's block
    EXPECT_EQ(std::string(row->Text()), "heyllo\r");
    EXPECT_FALSE(row->HasAttrs());
    store.DeleteRange(1, 2);
    EXPECT_EQ(store.FirstRow(), row);
    EXPECT_EQ(std::string(row->Text()), "hyllo\r");

    row->RowBits = 0x0202;
    row->MarkBits = 3;
    store.SetExtras(row, -1, 42);
    store.SetTrack(row, new CountedTrack(freed));
    TRowTrack* track = store.Track(row);
    store.InsertText(3, std::string(40, '-')); // a bigger block: the row moves
    TTextRow* moved = store.FirstRow();
    EXPECT_EQ(std::string(moved->Text()), "hyl" + std::string(40, '-') + "lo\r");
    EXPECT_EQ(moved->RowBits, 0x0202);
    EXPECT_EQ(moved->MarkBits, 3);
    EXPECT_EQ(store.Extra2(moved), 42);
    EXPECT_EQ(store.Track(moved), track);
    EXPECT_EQ(track->Row, moved);
    EXPECT_EQ(moved->Next->Prev, moved);
    EXPECT_EQ(freed, 0);
    store.DeleteRange(2, 40);
    EXPECT_EQ(store.GetText(), "hy---lo\rworld");
    EXPECT_EQ(store.Track(store.FirstRow()), track);
    EXPECT_EQ(store.check(), "");
}

TEST(TextStore, IndexOfRowFindsRowsAndRejectsStrangers)
{
    TTextStore store({2, 3, 8192, 4096});
    for (int i = 0; i < 30; ++i)
        store.InsertText(store.CharCount(), "row\r");
    EXPECT_EQ(store.IndexOfRow(store.RowByIndex(17).Row), 17);
    TTextStore other;
    other.InsertText(0, "x");
    EXPECT_EQ(store.IndexOfRow(other.FirstRow()), -1);
}

TEST(TextStore, ViewsHearWhichRowsADeletionReplaced)
{
    TTextStore store;
    RecordingView view;
    store.RegisterView(&view);
    store.InsertText(0, "aa\rbb\rcc\rdd\r");
    TTextRow* first = store.FirstRow();
    TTextRow* fourth = store.LastRow();
    store.DeleteRange(4, 7); // "b\rc": rows two and three become "bc\r"
    ASSERT_FALSE(view.changes.empty());
    const TRowChange& joined = view.changes.back();
    EXPECT_EQ(joined.Before, first);
    EXPECT_EQ(std::string(joined.First->Text()), "bc\r");
    EXPECT_EQ(joined.After, fourth);
    EXPECT_EQ(joined.FirstIndex, 1);
    store.DeleteRange(0, 3); // a whole row: nothing new, the next row follows the gap
    const TRowChange& removed = view.changes.back();
    EXPECT_EQ(removed.Before, nullptr);
    EXPECT_EQ(removed.First, nullptr);
    EXPECT_EQ(std::string(removed.After->Text()), "bc\r");
    EXPECT_EQ(store.check(), "");
    store.UnregisterView(&view);
}
