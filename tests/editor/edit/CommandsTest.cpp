// The editing commands: caret moves with and without Shift, vertical moves that keep their
// column, page and scroll moves against a fake view, words, and the deleting commands.
#include "EditTestSupport.h"

#include "editor/keys/KeyCommands.h"

using CommandsTest = EditorFixture;

TEST_F(CommandsTest, ShiftKeepsTheAnchor)
{
    load("hello world");
    editor.SetSelection(2, 2);
    run(cmdCursorRight, true);
    run(cmdCursorRight, true);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{2, 4}));
    run(cmdCursorRight);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{5, 5}));
    run(cmdDocumentEnd, true);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{5, 11}));
    run(cmdDocumentStart);
    run(cmdCursorLeft);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{0, 0}));
    expectSound();
}

TEST_F(CommandsTest, LineStartAndEnd)
{
    load("  ab \t\r\ncd\r\n");
    editor.SetSelection(3, 3);
    run(cmdLineEnd);
    EXPECT_EQ(editor.SelCaret(), 4); // trailing blanks are skipped
    run(cmdLineStart, true);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{4, 0}));
    // On the empty line after the final break neither moves.
    editor.SetSelection(10, 10);
    run(cmdLineStart);
    run(cmdLineEnd);
    EXPECT_EQ(editor.SelCaret(), 10);
    expectSound();
}

TEST_F(CommandsTest, VerticalMovesKeepTheTrackColumn)
{
    editor.Settings.Options = smoColumnTrack;
    load("abcdefgh\r\nab\r\n\t\tx\r\nabcdefgh");
    editor.SetSelection(6, 6);
    run(cmdDownOneLine);
    EXPECT_EQ(editor.SelCaret(), 11); // end of "ab"
    EXPECT_TRUE(editor.VerticalMove());
    run(cmdDownOneLine);
    EXPECT_EQ(editor.SelCaret(), 13); // column 6 lies inside the second TAB
    EXPECT_EQ(editor.CaretColumn(), 4);
    run(cmdDownOneLine);
    EXPECT_EQ(editor.SelCaret(), 22);
    EXPECT_EQ(editor.CaretColumn(), 6);
    run(cmdDownOneLine);
    EXPECT_EQ(editor.SelCaret(), 22);
    run(cmdUpOneLine, true);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{22, 13}));
    expectSound();

    // Without column tracking the column shrinks on a short line.
    editor.Settings.Options = 0;
    editor.SetSelection(6, 6);
    run(cmdDownOneLine);
    run(cmdDownOneLine);
    run(cmdDownOneLine);
    EXPECT_EQ(editor.SelCaret(), 16);
    expectSound();
}

TEST_F(CommandsTest, CaretAfterEndOfLine)
{
    editor.Settings.Options = smoCaretAfterEOL | smoColumnTrack;
    load("abcdef\r\nab\r\nabcdef");
    editor.SetSelection(5, 5);
    run(cmdDownOneLine);
    EXPECT_TRUE(editor.PastEol());
    EXPECT_EQ(editor.SelCaret(), 9);
    EXPECT_EQ(editor.CaretColumn(), 5);
    EXPECT_EQ(editor.CaretCol(), 6);
    expectSound();
    run(cmdCursorLeft);
    run(cmdCursorLeft);
    run(cmdCursorLeft);
    EXPECT_FALSE(editor.PastEol());
    EXPECT_EQ(editor.SelCaret(), 9);
    run(cmdCursorLeft);
    EXPECT_EQ(editor.SelCaret(), 8);
    // Backspace past the end only moves left.
    editor.SetSelection(9, 9);
    run(cmdCursorRight);
    run(cmdDeletePrevChar);
    EXPECT_FALSE(editor.PastEol());
    EXPECT_EQ(text(), "abcdef\rab\rabcdef");
    // Delete past the end joins the next line at the caret column.
    run(cmdCursorRight);
    run(cmdCursorRight);
    run(cmdDeleteChar);
    EXPECT_EQ(text(), "abcdef\rab  abcdef");
    expectSound();
}

TEST_F(CommandsTest, PageAndScrollMoveTheView)
{
    std::string lines;
    for (int i = 0; i < 30; ++i)
        lines += "line\r\n";
    load(lines);
    host.visible = 5;
    run(cmdDownOnePage);
    EXPECT_EQ(host.top, 5);
    EXPECT_EQ(editor.CaretLine(), 6);
    run(cmdUpOnePage);
    EXPECT_EQ(host.top, 0);
    EXPECT_EQ(editor.CaretLine(), 1);
    // Scrolling down takes the caret along when it would leave the view.
    run(cmdScrollDown);
    EXPECT_EQ(host.top, 1);
    EXPECT_EQ(editor.CaretLine(), 2);
    run(cmdScrollUp);
    run(cmdScrollUp);
    EXPECT_EQ(host.top, 0);
    EXPECT_EQ(editor.CaretLine(), 2);
    expectSound();
}

TEST_F(CommandsTest, WordTargets)
{
    load("  foo_bar 12ab-c, x'y\r\nzz");
    EXPECT_EQ(editor.WordBefore(0), 0);
    EXPECT_EQ(editor.WordBefore(9), 2);   // after "foo_bar"
    EXPECT_EQ(editor.WordBefore(5), 2);   // inside it
    EXPECT_EQ(editor.WordBefore(15), 12); // "12ab-c" is entered at "a"
    EXPECT_EQ(editor.WordBefore(24), 22); // across the line break
    EXPECT_EQ(editor.WordAfter(0), 2);
    EXPECT_EQ(editor.WordAfter(2), 12);
    EXPECT_EQ(editor.WordAfter(12), 18);
    EXPECT_EQ(editor.WordAfter(24), 24); // no word after: the caret itself
    editor.fn_CharStartsWord = [](char c) { return c >= '0' && c <= '9'; };
    EXPECT_EQ(editor.WordBefore(15), 10);
}

TEST_F(CommandsTest, DeleteWordsAndLines)
{
    load("alpha beta gamma\r\nnext\r\n");
    editor.SetSelection(0, 0);
    run(cmdDeletePrevWord);
    EXPECT_EQ(text(), "alpha beta gamma\rnext\r");
    EXPECT_FALSE(editor.Modified());

    editor.SetSelection(10, 10);
    run(cmdDeletePrevWord);
    EXPECT_EQ(text(), "alpha  gamma\rnext\r");
    run(cmdDeleteNextWord);
    EXPECT_EQ(text(), "alpha gamma\rnext\r");
    run(cmdDeleteLine);
    EXPECT_EQ(text(), "next\r");
    EXPECT_EQ(editor.SelCaret(), 0);
    editor.Undo();
    editor.Undo();
    editor.Undo();
    EXPECT_EQ(text(), "alpha beta gamma\rnext\r");
    expectSound();
}

TEST_F(CommandsTest, DeleteAndBackspaceAtTheEnds)
{
    load("ab");
    run(cmdDeletePrevChar);
    editor.SetSelection(2, 2);
    run(cmdDeleteChar);
    EXPECT_EQ(text(), "ab");
    EXPECT_FALSE(editor.Modified());
    run(cmdDeletePrevChar);
    EXPECT_EQ(text(), "a");
    editor.SetSelection(0, 0);
    run(cmdDeleteChar);
    EXPECT_EQ(text(), "");
    expectSound();
}
