// Lines as opposed to rows: LineCount, LineOfRow and LineStart against a walk over the rows,
// in documents whose long lines take several rows, and after edits that move a line's end.
#include "StoreTestSupport.h"

#include "base/Stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Walks the rows and compares every row's line and every line's first row with the store.
void expectLinesMatchRowWalk(const TTextStore& store)
{
    ASSERT_EQ(store.check(), "");
    int64_t line = 0;
    int64_t start = 0;
    int64_t index = 0;
    for (const TTextRow* row = store.FirstRow(); row; row = row->Next, ++index) {
        ASSERT_EQ(store.LineOfRow(index), line) << "row " << index;
        if (!row->IsContinuation()) {
            const TRowSpot first = store.LineStart(line);
            ASSERT_EQ(first.Row, row) << "line " << line;
            ASSERT_EQ(first.Start, start) << "line " << line;
            ASSERT_EQ(first.Index, index) << "line " << line;
        }
        start += row->Length;
        line += row->EndsLine() ? 1 : 0;
    }
    ASSERT_EQ(store.LineOfRow(index), line);
    ASSERT_EQ(store.LineCount(), line + 1);
}

// Lines of the given lengths (CR not counted), each ended by CR, the last one optionally not.
std::string linesOf(const std::vector<int>& lengths, bool finalBreak)
{
    std::string text;
    char fill = 'a';
    for (size_t i = 0; i < lengths.size(); ++i) {
        text.append(static_cast<size_t>(lengths[i]), fill);
        fill = fill == 'z' ? 'a' : static_cast<char>(fill + 1);
        if (i + 1 < lengths.size() || finalBreak)
            text += '\r';
    }
    return text;
}

} // namespace

TEST(LineCount, EmptyDocumentHasOneLineAndNoRow)
{
    TTextStore store;
    EXPECT_EQ(store.LineCount(), 1);
    EXPECT_EQ(store.LineOfRow(0), 0);
    EXPECT_EQ(store.LineOfRow(-4), 0);
    for (int64_t line : {-1, 0, 3}) {
        const TRowSpot spot = store.LineStart(line);
        EXPECT_EQ(spot.Row, nullptr);
        EXPECT_EQ(spot.Start, 0);
        EXPECT_EQ(spot.Index, 0);
    }
}

TEST(LineCount, FinalBreakOpensAnEmptyLineWithoutRow)
{
    TTextStore store;
    store.InsertText(0, "ab\r\ncd\r\n");
    EXPECT_EQ(store.RowCount(), 2);
    EXPECT_EQ(store.LineCount(), 3);
    EXPECT_EQ(store.LineOfRow(store.RowCount()), 2);
    for (int64_t line : {2, 9}) {
        const TRowSpot past = store.LineStart(line); // clamped to the empty last line
        EXPECT_EQ(past.Row, nullptr);
        EXPECT_EQ(past.Start, store.CharCount());
        EXPECT_EQ(past.Index, store.RowCount());
    }
    EXPECT_EQ(store.LineStart(-2).Row, store.FirstRow());
    EXPECT_EQ(store.LineStart(1).Start, 3);
    expectLinesMatchRowWalk(store);
}

TEST(LineCount, LinesSplitIntoRowsAreNumberedFromTheirFirstRow)
{
    // 5000 characters make rows of 2047, 2047 and 907 (with the CR); 4094 make two full rows
    // and a row holding only the CR.
    const std::string text = linesOf({5, 5000, 0, 4094, 2046, 2047, 12, 6200, 3}, false);
    for (const TStoreCapacities& capacities :
         {TStoreCapacities{}, TStoreCapacities{2, 3, 7, 3}, TStoreCapacities{3, 4, 5, 2}}) {
        SCOPED_TRACE(capacities.LeafRows);
        TTextStore store(capacities);
        store.InsertText(0, text);
        EXPECT_EQ(store.LineCount(), 9);
        EXPECT_GT(store.RowCount(), 15);
        expectLinesMatchRowWalk(store);
        // The second line's rows all show as line 1 and the line starts at its first row.
        const TRowSpot second = store.LineStart(1);
        EXPECT_EQ(second.Start, 6);
        EXPECT_EQ(store.LineOfRow(second.Index + 2), 1);
        EXPECT_TRUE(store.RowByIndex(second.Index + 2).Row->IsContinuation());
        EXPECT_EQ(store.LineOfRow(second.Index + 3), 2);
    }
}

TEST(LineCount, EditsThatMoveALineEndKeepTheCountExact)
{
    TTextStore store({2, 3, 7, 3});
    store.InsertText(0, "ab\rcd\r");
    EXPECT_EQ(store.LineCount(), 3);
    // The last row loses its CR inside its own block.
    store.DeleteRange(store.CharCount() - 1, store.CharCount());
    EXPECT_EQ(store.LineCount(), 2);
    expectLinesMatchRowWalk(store);
    store.InsertText(store.CharCount(), "x");
    EXPECT_EQ(store.LineCount(), 2);
    expectLinesMatchRowWalk(store);
    store.InsertText(1, "\r");
    EXPECT_EQ(store.GetText(), "a\rb\rcdx");
    EXPECT_EQ(store.LineCount(), 3);
    expectLinesMatchRowWalk(store);
    store.DeleteRange(3, 4); // joins "b" and "cdx"
    EXPECT_EQ(store.LineCount(), 2);
    expectLinesMatchRowWalk(store);
    store.InsertText(store.CharCount(), "\n");
    EXPECT_EQ(store.LineCount(), 3);
    expectLinesMatchRowWalk(store);
}

TEST(LineCount, LoadedDocumentAtTinyCapacitiesMatchesRowWalk)
{
    std::vector<int> lengths;
    for (int i = 0; i < 600; ++i)
        lengths.push_back(i % 97 == 0 ? 2500 + i : i % 13);
    const std::string text = linesOf(lengths, true);
    TTextStore store({2, 3, 5, 2});
    TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
    store.LoadFromStream(stream);
    EXPECT_EQ(store.LineCount(), 601);
    expectLinesMatchRowWalk(store);
    // Remove whole lines from the middle and from the front, then check again.
    store.DeleteRange(store.LineStart(100).Start, store.LineStart(350).Start);
    EXPECT_EQ(store.LineCount(), 351);
    expectLinesMatchRowWalk(store);
    store.DeleteRange(0, store.LineStart(7).Start + 1);
    EXPECT_EQ(store.LineCount(), 344);
    expectLinesMatchRowWalk(store);
}

TEST(LineCount, RowsRecutForWrapKeepTheirLineNumbers)
{
    TTextStore store({2, 3, 7, 3});
    store.InsertText(0, "alpha beta gamma\rdelta\r");
    const TRowChange change = store.RecutRows(store.RowByIndex(0), 1, {6, 5, 6});
    ASSERT_NE(change.First, nullptr);
    EXPECT_EQ(store.RowCount(), 4);
    EXPECT_EQ(store.LineCount(), 3);
    EXPECT_EQ(store.LineOfRow(2), 0);
    EXPECT_EQ(store.LineOfRow(3), 1);
    EXPECT_EQ(store.LineStart(1).Index, 3);
    EXPECT_EQ(store.LineStart(1).Start, 17);
    expectLinesMatchRowWalk(store);
}
