// Selection, caret column and the selection properties the host reads.
#include "EditTestSupport.h"

using SelectionTest = EditorFixture;

TEST_F(SelectionTest, SelLengthCountsLineBreaksByLineStyle)
{
    load("ab\r\ncd\r\nef");
    editor.SetSelection(0, 6);
    EXPECT_EQ(editor.SelLength(), 8);
    EXPECT_EQ(editor.SelText(), "ab\r\ncd\r\n");
    store.SetLineStyle(lsLF);
    EXPECT_EQ(editor.SelLength(), 6);
    EXPECT_EQ(editor.SelText(), "ab\rcd\r");

    // Setting counts stored characters in either style.
    for (TSelLineStyle style : {lsCRLF, lsLF}) {
        store.SetLineStyle(style);
        editor.SetSelStart(0);
        editor.SetSelLength(6);
        EXPECT_EQ(editor.SelStart(), 0);
        EXPECT_EQ(editor.SelCaret(), 6);
        EXPECT_EQ(store.GetText(editor.SelStart(), editor.SelCaret()), "ab\rcd\r");
    }
}

TEST_F(SelectionTest, SetSelectionClampsAndMinusOneSelectsAll)
{
    load("hello\r\nworld");
    editor.SetSelection(-5, 500);
    EXPECT_EQ(editor.SelAnchor(), 0);
    EXPECT_EQ(editor.SelCaret(), 11);
    editor.SetSelection(3, 3);
    editor.SelectAll();
    EXPECT_EQ(editor.Selection(), (TSelectionPair{0, 11}));
    editor.SetSelection(9, 2);
    EXPECT_EQ(editor.SelStart(), 2);
    EXPECT_EQ(editor.SelLength(), 8);
    expectSound();
}

TEST_F(SelectionTest, CaretColumnExpandsTabsToStops)
{
    editor.Settings.TabColumns = {3, 10};
    load("\tx\ty\tz\r\n");
    editor.SetSelection(1, 1);
    EXPECT_EQ(editor.CaretColumn(), 3);
    editor.SetSelection(3, 3);
    EXPECT_EQ(editor.CaretColumn(), 10);
    // Past the last explicit stop they fall every TabDefault columns.
    editor.SetSelection(5, 5);
    EXPECT_EQ(editor.CaretColumn(), 12);
    EXPECT_EQ(editor.CaretCol(), 13);
    EXPECT_EQ(editor.CaretLine(), 1);
    expectSound();
}

// A caller that holds the caret's row gives it with the selection; a row that does not hold
// the caret (the one before, or one ending exactly at the caret) must not give the column.
TEST_F(SelectionTest, SelectionWithTheCaretsRowTakesItsColumnOnlyFromThatRow)
{
    editor.Settings.TabColumns = {3, 10};
    load("ab\tcd\r\tx\ty\r");
    const TRowSpot first = store.RowByIndex(0);  // "ab\tcd\r", offsets 0..5
    const TRowSpot second = store.RowByIndex(1); // "\tx\ty\r", offsets 6..10
    editor.SetSelection(1, 9, second.Row, second.Start);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{1, 9}));
    EXPECT_EQ(editor.CaretColumn(), 10);
    expectSound();
    editor.SetSelection(0, 8, first.Row, first.Start); // not the caret's row
    EXPECT_EQ(editor.CaretColumn(), 4);
    expectSound();
    editor.SetSelection(0, 3, second.Row, second.Start); // a row after the caret
    EXPECT_EQ(editor.CaretColumn(), 3);
    expectSound();
    editor.SetSelection(0, 6, first.Row, first.Start); // the first row ends at the caret
    EXPECT_EQ(editor.CaretColumn(), 0);
    expectSound();
    editor.SetSelection(2, 99, second.Row, second.Start); // clamped as without a row
    EXPECT_EQ(editor.Selection(), (TSelectionPair{2, 11}));
    expectSound();
}

TEST_F(SelectionTest, CaretOnTheEmptyLineAfterAFinalBreak)
{
    load("ab\r\n");
    editor.SetSelection(3, 3);
    EXPECT_EQ(editor.CaretCol(), 1);
    EXPECT_EQ(editor.CaretLine(), 2);
    expectSound();
}

TEST_F(SelectionTest, SelTextSetterReplacesAndNormalises)
{
    load("one two");
    editor.SetSelection(4, 7);
    editor.SetSelText("2\n3\r\n4\x01");
    EXPECT_EQ(text(), "one 2\r3\r4.");
    EXPECT_EQ(editor.SelCaret(), 10);
    EXPECT_EQ(editor.SelAnchor(), 10);
    expectSound();
}
