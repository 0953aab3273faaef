// Undo and redo through the editor: steps per group, the modified state, block indent and
// un-indent in one step each with the removed bytes restored exactly, the errors of the
// recording protocol and the recovery from a damaged log.
#include "EditTestSupport.h"

#include "editor/keys/KeyCommands.h"
#include "editor/text/SourceMemoErrors.h"

using UndoTest = EditorFixture;

TEST_F(UndoTest, EachTypedCharacterIsItsOwnStep)
{
    load("");
    type("abc");
    EXPECT_EQ(text(), "abc");
    editor.Undo();
    EXPECT_EQ(text(), "ab");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{2, 2}));
    editor.Undo();
    editor.Undo();
    EXPECT_EQ(text(), "");
    EXPECT_FALSE(editor.CanUndo());
    editor.Redo();
    editor.Redo();
    EXPECT_EQ(text(), "ab");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{2, 2}));
    expectSound();
}

TEST_F(UndoTest, ModifiedFollowsTheLog)
{
    load("text");
    EXPECT_FALSE(editor.Modified());
    editor.SetSelection(4, 4);
    type("!");
    EXPECT_TRUE(editor.Modified());
    editor.Undo();
    EXPECT_FALSE(editor.Modified());
    EXPECT_TRUE(editor.CanRedo());
    editor.Redo();
    EXPECT_TRUE(editor.Modified());
    EXPECT_FALSE(editor.CanRedo());
    editor.SetModified(true);
    EXPECT_TRUE(editor.Modified());
    editor.SetModified(false);
    EXPECT_FALSE(editor.Modified());
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_EQ(text(), "text!");
    // Saving clears the log as well.
    TMemoryStream out;
    type("?");
    store.SaveToStream(&out);
    EXPECT_FALSE(editor.Modified());
}

TEST_F(UndoTest, NewEditDiscardsRedoSteps)
{
    load("");
    type("ab");
    editor.Undo();
    type("c");
    EXPECT_FALSE(editor.CanRedo());
    editor.Redo();
    EXPECT_EQ(text(), "ac");
    editor.Undo();
    editor.Undo();
    EXPECT_EQ(text(), "");
    expectSound();
}

TEST_F(UndoTest, BlockIndentIsOneStep)
{
    load("one\r\ntwo\r\nthree\r\nfour");
    editor.SetSelection(1, 10); // from inside "one" to inside "three"
    editor.IndentBlock(2, false);
    EXPECT_EQ(text(), "  one\r  two\r  three\rfour");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{0, 16}));
    expectSound();
    editor.Undo();
    EXPECT_EQ(text(), "one\rtwo\rthree\rfour");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{1, 10}));
    editor.Redo();
    EXPECT_EQ(text(), "  one\r  two\r  three\rfour");
    expectSound();
}

TEST_F(UndoTest, IndentSkipsTheLineTheSelectionEndsBefore)
{
    editor.Settings.Options = smoUseTAB;
    editor.Settings.IndentStep = 1;
    load("a\r\nb\r\nc");
    editor.SetSelection(0, 4); // ends at the start of "c"
    run(cmdIndentBlock);
    EXPECT_EQ(text(), " a\r b\rc");
    editor.IndentBlock(1, true);
    EXPECT_EQ(text(), "\t a\r\t b\rc");
    expectSound();
}

TEST_F(UndoTest, UndoingUnindentRestoresTheRemovedBytes)
{
    load("\t\xA0x\r\n  y\r\n\r\n\tz");
    editor.SelectAll();
    editor.UnindentBlock(2);
    EXPECT_EQ(text(), "x\ry\r\rz");
    expectSound();
    editor.Undo();
    EXPECT_EQ(text(), "\t\xA0x\r  y\r\r\tz");
    editor.Redo();
    EXPECT_EQ(text(), "x\ry\r\rz");
    editor.Undo();
    EXPECT_EQ(text(), "\t\xA0x\r  y\r\r\tz");
    EXPECT_FALSE(editor.Modified());
    expectSound();
}

TEST_F(UndoTest, UnindentTakesAtMostStepBlanks)
{
    load("    a\r\n b\r\nc");
    editor.SetSelection(0, 12);
    run(cmdUnindentBlock);
    EXPECT_EQ(text(), "   a\rb\rc");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{0, 8}));
    editor.Settings.ReadOnly = true;
    run(cmdUnindentBlock);
    EXPECT_EQ(text(), "   a\rb\rc");
    expectSound();
}

TEST_F(UndoTest, ProtocolErrorsClearTheLogAndBeep)
{
    load("x");
    type("a");
    editor.RecordUndo(ukText, 1, std::string_view("new"));
    try {
        editor.RecordUndo(ukText, 1, std::string_view("again"));
        FAIL() << "a second pending action was accepted";
    } catch (const ESourceMemo& e) {
        EXPECT_STREQ(e.what(), "Bad transaction log entry");
    }
    EXPECT_EQ(host.beeps, 1);
    EXPECT_FALSE(editor.Modified());
    EXPECT_THROW(editor.RecordUndo(ukText, 2), ESourceMemo);
    EXPECT_EQ(host.beeps, 2);
    // With recording off nothing is logged and nothing fails.
    editor.RecordUndo(ukRecordOff, 0);
    editor.RecordUndo(ukText, 2);
    type("b");
    EXPECT_FALSE(editor.Modified());
    editor.RecordUndo(ukRecordOn, 0);
    type("c");
    EXPECT_TRUE(editor.Modified());
    expectSound();
}

TEST_F(UndoTest, DamagedLogIsClearedWithABeep)
{
    load("abc");
    editor.SetSelection(3, 3);
    type("d");
    // A stray record on top of the log: undo finds no marker.
    log().Push(TUndoRecord::Selection({0, 0}).release(), 0);
    editor.Undo();
    EXPECT_EQ(host.beeps, 1);
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_EQ(text(), "abcd");
    EXPECT_TRUE(editor.Recording());
    expectSound();

    // An action whose closing marker names another kind.
    type("e");
    log().Push(TUndoRecord::Marker(ukText).release(), 0);
    log().Push(TUndoRecord::Selection({0, 0}).release(), 0);
    log().Push(TUndoRecord::TextCopy("").release(), 0);
    log().Push(TUndoRecord::TextCopy("").release(), 0);
    log().Push(TUndoRecord::Selection({0, 0}).release(), 0);
    log().Push(TUndoRecord::Marker(ukStream).release(), 0);
    editor.Undo();
    EXPECT_EQ(host.beeps, 2);
    EXPECT_FALSE(editor.CanUndo());
}

TEST_F(UndoTest, UndoInReadOnlyModeDoesNothing)
{
    load("");
    type("a");
    editor.Settings.ReadOnly = true;
    run(cmdUndo);
    EXPECT_EQ(text(), "a");
    editor.Settings.ReadOnly = false;
    run(cmdUndo);
    EXPECT_EQ(text(), "");
    run(cmdRedo);
    EXPECT_EQ(text(), "a");
}

TEST_F(UndoTest, StoreSwitchKeepsEachDocumentsHistory)
{
    load("first");
    editor.SetSelection(5, 5);
    type("1");
    TTextStore other;
    editor.SetStore(other);
    type("x");
    EXPECT_EQ(other.GetText(), "x");
    editor.SetStore(store);
    editor.Undo();
    EXPECT_EQ(text(), "first");
    EXPECT_EQ(other.GetText(), "x");
    expectSound();
}
