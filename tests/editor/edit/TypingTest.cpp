// Typing: insert and overwrite, ENTER with auto-indent, TAB with stops, smart fill and
// tab-to-column, typing past the line end, and what read-only mode and control bytes do.
#include "EditTestSupport.h"

using TypingTest = EditorFixture;

TEST_F(TypingTest, OverwriteAtLineEndInsertsBeforeTheBreak)
{
    load("ab\r\ncd");
    editor.SetInsertMode(false);
    editor.SetSelection(2, 2);
    type("x");
    EXPECT_EQ(text(), "abx\rcd");
    EXPECT_EQ(store.RowCount(), 2);
    editor.SetSelection(0, 0);
    type("QR");
    EXPECT_EQ(text(), "QRx\rcd");
    expectSound();
}

TEST_F(TypingTest, AutoIndentWithTabsAndSmartFill)
{
    editor.Settings.Options = smoAutoIndent | smoUseTAB | smoSmartFill;
    load("\t\tif x\r\n");
    editor.SetSelection(6, 6);
    type("\r");
    EXPECT_EQ(text(), "\t\tif x\r\t\t\r");
    EXPECT_EQ(editor.SelCaret(), 9);

    editor.Settings.Options = smoAutoIndent | smoUseTAB;
    load("\t\tif x\r\n");
    editor.SetSelection(6, 6);
    type("\r");
    EXPECT_EQ(text(), "\t\tif x\r        \r");
    expectSound();
}

TEST_F(TypingTest, AutoIndentIsCappedAtTheCaretAndCarriedOverBlankLines)
{
    editor.Settings.Options = smoAutoIndent;
    load("    abc\r\n");
    editor.SetSelection(2, 2);
    type("\r");
    EXPECT_EQ(text(), "  \r    abc\r");
    load("    abc\r\n\r\n");
    editor.SetSelection(8, 8); // the empty line
    type("\r");
    EXPECT_EQ(text(), "    abc\r\r    \r");
    // A line that starts with text gives no indent.
    load("abc\r\n");
    editor.SetSelection(3, 3);
    type("\r");
    EXPECT_EQ(text(), "abc\r\r");
    expectSound();
}

TEST_F(TypingTest, TabFillsToTheNextStopOrTypesATab)
{
    load("ab");
    editor.SetSelection(2, 2);
    type("\t");
    EXPECT_EQ(text(), "ab  ");
    editor.Settings.Options = smoUseTAB;
    type("\t");
    EXPECT_EQ(text(), "ab  \t");
    // With tab-to-column and smart fill the fill uses TABs for whole stops.
    editor.Settings.Options = smoUseTAB | smoTabToColumn | smoSmartFill;
    load("x");
    editor.SetSelection(1, 1);
    type("\t");
    EXPECT_EQ(text(), "x\t");
    expectSound();
}

TEST_F(TypingTest, TabToColumnFollowsTheWordsOfTheRowAbove)
{
    editor.Settings.Options = smoTabToColumn;
    load("ab\r\nlabel   mov  x\r\nq");
    editor.SetSelection(19, 19); // after "q"
    type("\t");
    EXPECT_EQ(text(), "ab\rlabel   mov  x\rq       ");
    type("\t");
    EXPECT_EQ(text(), "ab\rlabel   mov  x\rq            ");
    // Past the end of every row above: the next tab stop.
    // The row above ends first: its end column is the target.
    type("\t");
    EXPECT_EQ(text(), "ab\rlabel   mov  x\rq             ");
    // Past the end of every row above: the next tab stop.
    type("\t");
    EXPECT_EQ(text(), "ab\rlabel   mov  x\rq               ");
    expectSound();
}

TEST_F(TypingTest, TypingPastTheLineEndFillsTheGap)
{
    editor.Settings.Options = smoCaretAfterEOL;
    load("ab\r\ncd");
    editor.SetSelection(2, 2);
    run(1);
    run(1);
    run(1);
    EXPECT_TRUE(editor.PastEol());
    EXPECT_EQ(editor.CaretColumn(), 5);
    type("z");
    EXPECT_EQ(text(), "ab   z\rcd");
    EXPECT_FALSE(editor.PastEol());
    EXPECT_EQ(editor.CaretColumn(), 6);
    editor.Undo();
    EXPECT_EQ(text(), "ab\rcd");
    expectSound();
}

TEST_F(TypingTest, ReadOnlyControlBytesAndReturnsWanted)
{
    load("ab");
    editor.SetSelection(2, 2);
    type(std::string("\x01\x1b\x7f", 3));
    EXPECT_EQ(text(), "ab");
    editor.Settings.WantReturns = false;
    type("\r");
    EXPECT_EQ(text(), "ab");
    type("\n");
    EXPECT_EQ(text(), "ab\r");
    editor.Settings.WantReturns = true;
    type("\n");
    EXPECT_EQ(text(), "ab\r");
    editor.Settings.ReadOnly = true;
    type("xyz");
    run(16);
    run(40);
    EXPECT_EQ(text(), "ab\r");
    type("\xE9");
    EXPECT_EQ(text(), "ab\r");
    editor.Settings.ReadOnly = false;
    type("\xE9");
    EXPECT_EQ(text(), "ab\r\xE9");
    EXPECT_GT(host.changes, 0);
    expectSound();
}
