#include "editor/edit/EditorOptions.h"
#include "editor/widget/SourceMemo.h"
#include "ide/EdPersistent.h"
#include "ide/ParserRepository.h"
#include "ide/StatusPanels.h"
#include "ProgramFixture.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QToolButton>

#include <filesystem>

namespace {

// The program with one untitled file, in an application folder of its own.
class FileLifecycleTest : public ProgramFixture
{
protected:
    FileLifecycleTest()
    {
        writeIni("[PROGRAMMER]\r\nTYPE=EPIC\r\n");
        m_form = &start();
    }

    QString source(const std::string& name, const std::string& text)
    {
        writeWholeFile(m_app.path(name), text);
        return QString::fromStdString(m_app.path(name));
    }
    void type(const char* text)
    {
        m_form->SourceMemo1->setFocus();
        QTest::keyClicks(m_form->SourceMemo1, text);
    }
    std::string shownText() const { return m_form->SourceMemo1->Store().GetText(); }
    QString tabText(int i) const { return m_form->OpenFilesTab->tabText(i); }
    int tabs() const { return m_form->OpenFilesTab->count(); }
    int selectedTab() const { return m_form->OpenFilesTab->currentIndex(); }

    TEditorMainForm* m_form = nullptr;
};

} // namespace

TEST_F(FileLifecycleTest, PristineUntitledTabGivesWayButAModifiedOneStays)
{
    ASSERT_EQ(tabs(), 1);
    ASSERT_TRUE(m_form->OpenFile(source("A.BAS", "a\r\n")));
    EXPECT_EQ(tabs(), 1);
    EXPECT_EQ(tabText(0), "A.BAS");

    m_form->NewButtonClick();
    type("x");
    EXPECT_EQ(m_form->StatusBar1->panelText(1), "Modified");
    ASSERT_TRUE(m_form->OpenFile(source("B.BAS", "b\r\n")));
    EXPECT_EQ(tabs(), 3);
    EXPECT_EQ(tabText(1), "No_name.bas");
    EXPECT_EQ(tabText(2), "B.BAS");
    EXPECT_EQ(selectedTab(), 2);
    EXPECT_EQ(shownText(), "b\r");
}

TEST_F(FileLifecycleTest, ReopeningAnOpenFileAsksAndOnlyYesReloadsFromDisk)
{
    const QString name = source("R.BAS", "old\r\n");
    ASSERT_TRUE(m_form->OpenFile(name));
    type("z");
    writeWholeFile(m_app.path("R.BAS"), "new\r\n");

    m_boxes.answer(TMessageResult::No);
    EXPECT_FALSE(m_form->OpenFile(name));
    m_boxes.answer(TMessageResult::Cancel);
    EXPECT_FALSE(m_form->OpenFile(name));
    EXPECT_EQ(shownText(), "zold\r");
    EXPECT_EQ(m_boxes.shown().back().text, "File \"" + name.toStdString() + "\" is already open\rDo you wish to reload ?");
    EXPECT_EQ(m_boxes.shown().back().kind, TMessageKind::Information);

    // Yes closes the modified copy first, which asks to save: No keeps the disk version.
    m_boxes.answer(TMessageResult::Yes).answer(TMessageResult::No);
    EXPECT_TRUE(m_form->OpenFile(name));
    EXPECT_EQ(tabs(), 1);
    EXPECT_EQ(shownText(), "new\r");
    EXPECT_EQ(m_boxes.pendingAnswers(), 0u);
}

TEST_F(FileLifecycleTest, NamesAreComparedExactly)
{
    std::filesystem::create_directories(m_app.path("A"));
    std::filesystem::create_directories(m_app.path("a"));
    ASSERT_TRUE(m_form->OpenFile(source("A/X.BAS", "upper\r\n")));
    ASSERT_TRUE(m_form->OpenFile(source("a/x.bas", "lower\r\n")));
    EXPECT_EQ(tabs(), 2);
    EXPECT_TRUE(m_boxes.shown().empty());
}

TEST_F(FileLifecycleTest, SaveKeepsThePreviousDiskVersionInTheBackupByteForByte)
{
    const std::string original("first\nline\0with NUL\r\rlast", 26);
    const QString name = source("P.BAS", original);
    ASSERT_TRUE(m_form->OpenFile(name));
    type("!");
    ASSERT_TRUE(m_form->SaveButtonClick());
    EXPECT_EQ(readWholeFile(m_app.path("P.BAK")), original);
    EXPECT_EQ(readWholeFile(m_app.path("P.BAS")).substr(0, 7), "!first\r");
    EXPECT_EQ(m_form->StatusBar1->panelText(1), "");
    EXPECT_FALSE(m_form->currentFile()->IsModifiedIn(*m_form->SourceMemo1));
}

TEST_F(FileLifecycleTest, SavingAFileDeletedSinceItWasOpenedSkipsTheBackupAndSaves)
{
    const QString name = source("GONE.BAS", "text\r\n");
    ASSERT_TRUE(m_form->OpenFile(name));
    std::filesystem::remove(m_app.path("GONE.BAS"));
    type("y");
    EXPECT_TRUE(m_form->SaveButtonClick());
    EXPECT_EQ(readWholeFile(m_app.path("GONE.BAS")), "ytext\r\n");
    EXPECT_FALSE(std::filesystem::exists(m_app.path("GONE.BAK")));
    EXPECT_TRUE(m_boxes.shown().empty());
}

TEST_F(FileLifecycleTest, UntitledSaveWithSaveAsCancelledSavesNothingAndStaysModified)
{
    type("q");
    m_dialogs.answer(std::nullopt);
    EXPECT_FALSE(m_form->SaveButtonClick());
    EXPECT_EQ(m_form->StatusBar1->panelText(1), "Modified");
    EXPECT_EQ(m_app.entryCount(), 2u); // INC, KALTOR.DAT and nothing else
}

TEST_F(FileLifecycleTest, SaveAsRenamesTheTabAndSavesUnderTheNewName)
{
    type("w");
    m_dialogs.answer(m_app.path("NEW.BAS"));
    ASSERT_TRUE(m_form->SaveAs1Click());
    EXPECT_EQ(tabText(0), "NEW.BAS");
    EXPECT_EQ(readWholeFile(m_app.path("NEW.BAS")), "w");
    EXPECT_EQ(m_form->windowTitle().toStdString(), m_app.path("NEW.BAS"));
}

TEST_F(FileLifecycleTest, ClosingLastMiddleAndFirstOfThreeTabsSelectsTheRightNeighbour)
{
    for (const char* name : {"1.BAS", "2.BAS", "3.BAS", "4.BAS", "5.BAS"})
        ASSERT_TRUE(m_form->OpenFile(source(name, name)));
    ASSERT_EQ(tabs(), 5);
    ASSERT_TRUE(m_form->Close1Click()); // the last: the new last is selected
    EXPECT_EQ(selectedTab(), 3);
    EXPECT_EQ(shownText(), "4.BAS");
    m_form->OpenFilesTab->setCurrentIndex(1); // the middle: the same index
    ASSERT_TRUE(m_form->Close1Click());
    EXPECT_EQ(selectedTab(), 1);
    EXPECT_EQ(shownText(), "3.BAS");
    m_form->OpenFilesTab->setCurrentIndex(0); // the first: the new first
    ASSERT_TRUE(m_form->Close1Click());
    EXPECT_EQ(selectedTab(), 0);
    EXPECT_EQ(shownText(), "3.BAS");
    EXPECT_EQ(tabText(1), "4.BAS");
}

TEST_F(FileLifecycleTest, ClosingAnUntitledFileLeavesTheReopenMenuAlone)
{
    ASSERT_TRUE(m_form->Close1Click());
    EXPECT_EQ(tabs(), 0);
    EXPECT_EQ(m_form->Reopen1->actions().size(), 1);
    EXPECT_EQ(m_form->windowTitle(), "KALTOR+ Compiler");

    m_form->NewButtonClick();
    ASSERT_TRUE(m_form->OpenFile(source("K.BAS", "k")));
    ASSERT_TRUE(m_form->Close1Click());
    const auto entries = m_form->Reopen1->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[1]->text().toStdString(), m_app.path("K.BAS"));
}

// A single '&' in a caption marks an access key and is not drawn: "R&D.BAS" showed as "RD.BAS".
TEST_F(FileLifecycleTest, NamesWithAnAmpersandShowItInTheTabAndTheReopenMenu)
{
    ASSERT_TRUE(m_form->OpenFile(source("R&D.BAS", "x")));
    EXPECT_EQ(tabText(selectedTab()), "R&&D.BAS");
    ASSERT_TRUE(m_form->Close1Click());
    const auto entries = m_form->Reopen1->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[1]->text().toStdString(), m_app.path("R&&D.BAS"));
    entries[1]->trigger(); // opens the file itself, not a name without its '&'
    ASSERT_NE(m_form->currentFile(), nullptr);
    EXPECT_EQ(m_form->currentFile()->FileName.toStdString(), m_app.path("R&D.BAS"));
    EXPECT_TRUE(m_boxes.shown().empty());
}

TEST_F(FileLifecycleTest, SwitchingTabsKeepsCaretSelectionScrollAndUndoHistory)
{
    std::string longText;
    for (int i = 0; i < 300; ++i)
        longText += "line " + std::to_string(i) + "\r\n";
    ASSERT_TRUE(m_form->OpenFile(source("LONG.BAS", longText)));
    m_form->SourceMemo1->SetTopRow(120);
    m_form->SourceMemo1->Editor().SetSelection(1000, 1010);
    type("abc"); // replaces the selection: three undo steps
    ASSERT_TRUE(m_form->OpenFile(source("OTHER.BAS", "other")));
    EXPECT_EQ(shownText(), "other");

    m_form->OpenFilesTab->setCurrentIndex(0);
    TSourceEditor& editor = m_form->SourceMemo1->Editor();
    EXPECT_EQ(editor.SelCaret(), 1003);
    EXPECT_EQ(m_form->SourceMemo1->TopRow(), 120);
    EXPECT_EQ(m_form->StatusBar1->panelText(1), "Modified");
    EXPECT_TRUE(editor.CanUndo());
    editor.Undo();
    editor.Undo();
    editor.Undo();
    std::string stored = longText;
    for (size_t at = stored.find("\r\n"); at != std::string::npos; at = stored.find("\r\n", at + 1))
        stored.erase(at + 1, 1);
    EXPECT_EQ(shownText(), stored);
    EXPECT_FALSE(editor.Modified());
}

TEST_F(FileLifecycleTest, CancelAtTheFirstQuestionOnExitLeavesBothModifiedFilesOpen)
{
    ASSERT_TRUE(m_form->OpenFile(source("M1.BAS", "1")));
    type("a");
    ASSERT_TRUE(m_form->OpenFile(source("M2.BAS", "2")));
    type("b");
    m_boxes.answer(TMessageResult::Cancel);
    EXPECT_FALSE(m_form->close());
    EXPECT_EQ(tabs(), 2);
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].text, "File \"" + m_app.path("M1.BAS") + "\" has been modified\r\nSave changes ?");
    EXPECT_EQ(selectedTab(), 0);
    EXPECT_EQ(shownText(), "a1");
    // The second file kept its change too.
    m_form->OpenFilesTab->setCurrentIndex(1);
    EXPECT_EQ(shownText(), "b2");
}

TEST_F(FileLifecycleTest, ExitSavesOnYesAndRemembersEveryNamedFile)
{
    ASSERT_TRUE(m_form->OpenFile(source("E1.BAS", "1")));
    type("x");
    ASSERT_TRUE(m_form->OpenFile(source("E2.BAS", "2")));
    m_boxes.answer(TMessageResult::Yes);
    EXPECT_TRUE(m_form->close());
    EXPECT_EQ(readWholeFile(m_app.path("E1.BAS")), "x1");
    const auto recent = TEdPersistent(m_app.path("KALTOR.DAT")).ReadList("MRU");
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0], m_app.path("E2.BAS"));
    EXPECT_EQ(recent[1], m_app.path("E1.BAS"));
}

TEST_F(FileLifecycleTest, DroppingThreeFilesOpensOnlyTheFirstAndLeavesTheWorkingFolder)
{
    const QStringList names{source("D1.BAS", "d1"), source("D2.BAS", "d2"), source("D3.BAS", "d3")};
    m_form->SourceMemo1FilesDropped(names);
    EXPECT_EQ(tabs(), 1);
    EXPECT_EQ(shownText(), "d1");
    EXPECT_EQ(readWholeFile(m_app.path("INC/ZBX.INI")).find("WORKING_DIRECTORY"), std::string::npos);
}

TEST_F(FileLifecycleTest, OpenedFilesAreColouredAsZenBasicWhenTheyAreShown)
{
    const QString name = QString::fromStdString(std::string(ZBX_SOURCE_DIR) + "/data/examples/THERMO.BAS");
    ASSERT_TRUE(m_form->OpenFile(name));
    m_form->SourceMemo1->viewport()->repaint();
    const TTextStore& store = m_form->SourceMemo1->Store();
    const TTextRow* comment = store.RowByIndex(0).Row;
    ASSERT_TRUE(comment->HasAttrs());
    EXPECT_EQ(comment->AttrAt(0), 1); // a comment to the end of the line
    EXPECT_EQ(comment->AttrAt(comment->Length - 2), 1);
    const TTextRow* device = store.RowByIndex(9).Row; // "Device = 16F877"
    ASSERT_TRUE(device->HasAttrs());
    EXPECT_EQ(std::string(device->Text(), 15), "Device = 16F877");
    EXPECT_EQ(device->AttrAt(0), 12); // keyword
    EXPECT_EQ(device->AttrAt(9), 25); // device name
    // Rows far below the view are left for when they are shown.
    EXPECT_FALSE(store.RowByIndex(store.RowCount() - 1).Row->HasAttrs());
}

namespace {

// A stand-in compiler: writes the result file beside the source it is given (its first
// argument), as the real compiler does.
void installCompiler(const TempFolder& app, const std::string& resultLines)
{
    const std::string script = "#!/bin/sh\nsource=\"$1\"\nprintf '" + resultLines + "' > \"${source%.*}.ZBE\"\n";
    writeWholeFile(app.path("KALTOR_PL.EXE"), script);
    std::filesystem::permissions(app.path("KALTOR_PL.EXE"), std::filesystem::perms::owner_all);
}

} // namespace

TEST_F(FileLifecycleTest, CompileSavesRunsTheCompilerAndShowsItsVerdict)
{
    installCompiler(m_app, "16F877,1234,56,\\r\\nNo errors\\r\\n");
    ASSERT_TRUE(m_form->OpenFile(source("LED.BAS", "High PORTB.0\r\n")));
    type("'");
    m_form->action("Compile1")->trigger();
    EXPECT_EQ(readWholeFile(m_app.path("LED.BAS")), "'High PORTB.0\r\n"); // saved first
    EXPECT_EQ(m_form->StatusBar1->panelText(2), "DEVICE 16F877");
    EXPECT_EQ(m_form->StatusBar1->panelText(3), "CODE 1234");
    EXPECT_EQ(m_form->StatusBar1->panelText(4), "RAM 56");
    EXPECT_EQ(m_form->device(), "16F877");
    EXPECT_FALSE(m_form->compileFailed());
    EXPECT_TRUE(m_form->ReportMemo->isHidden()); // success leaves the pane as it was

    installCompiler(m_app, "ERROR\\r\\nLine 1: syntax\\r\\n");
    m_form->CompileButtonClick();
    EXPECT_TRUE(m_form->compileFailed());
    EXPECT_FALSE(m_form->ReportMemo->isHidden());
    EXPECT_EQ(m_form->ReportMemo->toPlainText(), "Line 1: syntax");
    EXPECT_EQ(m_form->StatusBar1->panelText(2), "");
}

TEST_F(FileLifecycleTest, MissingCompilerIsReportedAndNoEarlierResultIsShownAsThisOne)
{
    ASSERT_TRUE(m_form->OpenFile(source("OLD.BAS", "x\r\n")));
    writeWholeFile(m_app.path("OLD.ZBE"), "16F84,10,2,\r\n"); // left by an earlier compile
    m_boxes.answer(TMessageResult::Ok);
    m_form->CompileButtonClick();
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].text, "Problem Running " + m_app.path("KALTOR_PL.EXE") +
                                           "\r\rThe compiler is not installed. Put KALTOR_PL.EXE into \"" +
                                           std::filesystem::path(m_app.path("KALTOR_PL.EXE")).parent_path().string() +
                                           "\" and compile again.");
    EXPECT_EQ(m_form->StatusBar1->panelText(2), "");
    EXPECT_TRUE(m_form->compileFailed());
}

// Undoing past the save and typing something else leaves an undo log of the saved depth; the
// file must still count as modified even when the new top entry reuses the freed one's memory.
TEST_F(FileLifecycleTest, UndoingPastTheSaveAndTypingAgainIsStillModified)
{
    ASSERT_TRUE(m_form->OpenFile(source("S.BAS", "s\r\n")));
    type("a");
    ASSERT_TRUE(m_form->SaveButtonClick());
    EXPECT_EQ(m_form->StatusBar1->panelText(1), "");
    for (int i = 0; i < 20; ++i) {
        m_form->SourceMemo1->Editor().Undo();
        type("b");
        m_form->SourceMemo1Change();
        ASSERT_EQ(m_form->StatusBar1->panelText(1), "Modified") << "round " << i;
    }
}

TEST_F(FileLifecycleTest, EditingButtonsFollowTheSelectionAndTheUndoLog)
{
    ASSERT_TRUE(m_form->OpenFile(source("T.BAS", "abc\r\n")));
    EXPECT_FALSE(m_form->toolButton("UndoButton")->isEnabled());
    EXPECT_FALSE(m_form->toolButton("CutButton")->isEnabled());
    type("x");
    EXPECT_TRUE(m_form->toolButton("UndoButton")->isEnabled());
    QTest::mouseClick(m_form->toolButton("UndoButton"), Qt::LeftButton);
    EXPECT_EQ(shownText(), "abc\r");
    EXPECT_TRUE(m_form->toolButton("RedoButton")->isEnabled());
    m_form->SourceMemo1->Editor().SetSelection(0, 3);
    m_form->SourceMemo1Change();
    EXPECT_TRUE(m_form->toolButton("IndentButton")->isEnabled());
    QTest::mouseClick(m_form->toolButton("IndentButton"), Qt::LeftButton);
    EXPECT_EQ(shownText(), "        abc\r"); // the ZENBASIC language indents by 8
}

TEST_F(FileLifecycleTest, WordWrapIsTheParsersSettingAndFollowsEachFile)
{
    TParserRepository& repository = m_program->parserRepository();
    const std::string longLine(300, 'w');
    ASSERT_TRUE(m_form->OpenFile(source("A.BAS", "short\r\n" + longLine + " " + longLine + "\r\n")));
    ASSERT_TRUE(m_form->OpenFile(source("B.BAS", longLine + " " + longLine + "\r\n")));
    TSourceMemo& memo = *m_form->SourceMemo1;
    ASSERT_EQ(selectedTab(), 1);
    EXPECT_EQ(memo.Store().RowCount(), 1);
    memo.SetOptions(memo.Options() | smoWordWrap); // B wraps
    EXPECT_GT(memo.Store().RowCount(), 1);
    EXPECT_TRUE(repository.FindParser("ZENBASIC")->Settings().options & smoWordWrap);
    m_form->OpenFilesTab->setCurrentIndex(0); // A was open unwrapped and comes back so
    EXPECT_FALSE(memo.Options() & smoWordWrap);
    EXPECT_EQ(memo.Store().RowCount(), 2);
    m_form->OpenFilesTab->setCurrentIndex(1);
    EXPECT_TRUE(memo.Options() & smoWordWrap);
    EXPECT_GT(memo.Store().RowCount(), 1);
    EXPECT_EQ(memo.Store().check(), "");
}
