#include "editor/view/DisplayLine.h"
#include "editor/view/GutterCell.h"
#include "editor/text/TextStore.h"
#include "editor/view/ScrollGeometry.h"
#include "editor/edit/TabStops.h"

#include <gtest/gtest.h>

TEST(DisplayLine, TabsExpandWithTheirTokenAndBothMapsAgree)
{
    TEditorSettings settings;
    settings.TabDefault = 4;
    const TTabStops stops(settings);
    const char text[] = "a\tbc\t\td";
    const uint8_t attrs[] = {1, 2, 3, 3, 4, 5, 6};
    TDisplayLine line;
    line.Layout(text, 7, attrs, stops);
    ASSERT_EQ(line.check(), "");
    EXPECT_EQ(line.Text, "a   bc      d");
    EXPECT_EQ(line.Tokens, (std::vector<uint8_t>{1, 2, 2, 2, 3, 3, 4, 4, 5, 5, 5, 5, 6}));
    EXPECT_EQ(line.ColumnOfChar, (std::vector<int>{0, 1, 4, 5, 6, 8, 12, 13}));
    for (int c = 0; c < line.CharCount(); ++c)
        EXPECT_EQ(line.CharAtColumn(line.ColumnOfChar[static_cast<size_t>(c)]), c);
    EXPECT_EQ(line.CharAtColumn(2), 1);  // inside the first TAB
    EXPECT_EQ(line.CharAtColumn(13), 7); // the end
    EXPECT_EQ(line.CharAtColumn(99), 7);
}

TEST(DisplayLine, ReusedForRowsOfDifferentLengthsAndWithoutTokens)
{
    TEditorSettings settings;
    settings.TabDefault = 8;
    const TTabStops stops(settings);
    TDisplayLine line;
    line.Layout("\t\t\tlong row", 12, nullptr, stops);
    line.Layout("x", 1, nullptr, stops);
    EXPECT_EQ(line.check(), "");
    EXPECT_EQ(line.Text, "x");
    EXPECT_EQ(line.Tokens, std::vector<uint8_t>{0});
    line.Layout("", 0, nullptr, stops);
    EXPECT_EQ(line.check(), "");
    EXPECT_EQ(line.CharAtColumn(3), 0);
}

TEST(ScrollGeometry, HundredThousandRowsScaleByFourAndTheThumbReachesTheLastRow)
{
    EXPECT_EQ(ScrollScale(31999), 1);
    EXPECT_EQ(ScrollScale(32000), 2);
    const TVerticalScroll scroll = VerticalScroll(100000, 40, 0);
    EXPECT_EQ(scroll.Range, 25000);
    EXPECT_EQ(scroll.Page, 10);
    EXPECT_EQ(TopRowForThumb(100000, 25000), 99999);
    EXPECT_EQ(TopRowForThumb(100000, 24990), 99960);
    EXPECT_EQ(TopRowForThumb(0, 5), 0);
}

TEST(ScrollGeometry, PageShrinksWhenTheDocumentEndsInsideTheView)
{
    const TVerticalScroll scroll = VerticalScroll(50, 40, 30);
    EXPECT_EQ(scroll.Page, 20);
    EXPECT_EQ(scroll.Position, 30);
    EXPECT_EQ(VerticalScroll(10, 40, 0).Page, 10);
    // As a slider: no travel for a document that fits, a view-sized thumb, travel to the top
    // row when scrolled past what the document needs.
    EXPECT_EQ(VerticalScroll(10, 40, 0).Maximum, 0);
    EXPECT_EQ(VerticalScroll(10, 40, 6).Maximum, 6);
    EXPECT_EQ(scroll.ViewPage, 40);
    EXPECT_EQ(scroll.Maximum, 30);
    EXPECT_EQ(VerticalScroll(50, 40, 0).Maximum, 11);
}

TEST(GutterCell, BookmarkBeatsMarkAndEitherReplacesTheLineNumber)
{
    TTextStore store;
    store.InsertText(0, "x\r");
    TTextRow* row = store.FirstRow();
    EXPECT_EQ(GutterCellOf(*row, 7, true).What, TGutterCell::LineNumber);
    EXPECT_EQ(GutterCellOf(*row, 7, true).Value, 7);
    EXPECT_EQ(GutterCellOf(*row, 7, false).What, TGutterCell::Empty);
    row->MarkBits = 0b0110; // the highest mark shows
    EXPECT_EQ(GutterCellOf(*row, 7, true).What, TGutterCell::Mark);
    EXPECT_EQ(GutterCellOf(*row, 7, true).Value, 2);
    row->RowBits |= 1u << 3; // bookmark 3
    EXPECT_EQ(GutterCellOf(*row, 7, true).What, TGutterCell::Bookmark);
    EXPECT_EQ(GutterCellOf(*row, 7, true).Value, 3);
    row->RowBits = rbContinuation;
    row->MarkBits = 0;
    EXPECT_EQ(GutterCellOf(*row, 7, true).What, TGutterCell::Empty); // a continuation has no number
}
