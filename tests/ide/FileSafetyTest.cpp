// The paths found to lose work or freeze the window, each reproduced through the program as
// users start it: settings files that cannot be written, a close after a cancelled exit, Save
// As onto a file open in another tab, files changed on disk by another program, files that
// are not regular files, the report pane after the last close, and names that are not UTF-8.
#include "editor/widget/SourceMemo.h"
#include "ide/EdPersistent.h"
#include "ide/ParserRepository.h"
#include "ide/StatusPanels.h"
#include "ProgramFixture.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>

#include <sys/stat.h>

namespace {

class FileSafetyTest : public ProgramFixture
{
protected:
    FileSafetyTest() { writeIni("[PROGRAMMER]\r\nTYPE=EPIC\r\n"); }

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
    int tabs() const { return m_form->OpenFilesTab->count(); }
    std::string lastBox() const { return m_boxes.shown().empty() ? "" : m_boxes.shown().back().text; }

    TEditorMainForm* m_form = nullptr;
};

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

// A KALTOR.DAT or ZBX.INI that could not be written (here a folder and a FIFO in their
// places) threw an exception nothing caught: the program aborted, losing unsaved text.
TEST_F(FileSafetyTest, SettingsThatCannotBeReadOrWrittenAreReportedOnceAndNeverEndTheProgram)
{
    std::filesystem::remove(m_app.path("INC/ZBX.INI"));
    ASSERT_EQ(::mkfifo(m_app.path("INC/ZBX.INI").c_str(), 0600), 0);
    std::filesystem::create_directory(m_app.path("KALTOR.DAT"));
    m_boxes.answer(TMessageResult::Ok); // KALTOR.DAT, at start
    m_form = &start();
    m_boxes.answer(TMessageResult::Ok); // ZBX.INI, at the first open
    ASSERT_TRUE(m_form->OpenFile(source("A.BAS", "a\r\n")));
    ASSERT_TRUE(m_form->OpenFile(source("B.BAS", "b\r\n")));
    type("x");
    m_boxes.answer(TMessageResult::Yes);
    ASSERT_TRUE(m_form->Close1Click()); // saves, then fails to write [MRU] again: not reported again
    m_form->SourceMemo1Change();
    EXPECT_EQ(readWholeFile(m_app.path("B.BAS")), "xb\r\n");
    ASSERT_EQ(m_boxes.shown().size(), 3u);
    EXPECT_EQ(m_boxes.shown()[0].kind, TMessageKind::Error);
    EXPECT_TRUE(contains(m_boxes.shown()[0].text, m_app.path("KALTOR.DAT"))) << m_boxes.shown()[0].text;
    EXPECT_TRUE(contains(m_boxes.shown()[1].text, m_app.path("INC/ZBX.INI"))) << m_boxes.shown()[1].text;
    EXPECT_TRUE(contains(m_boxes.shown()[1].text, "not a regular file")) << m_boxes.shown()[1].text;
    EXPECT_EQ(tabs(), 1);
    EXPECT_EQ(m_form->recentFiles().front().toStdString(), m_app.path("B.BAS")); // kept in memory
}

// After Cancel at the exit question, Close read a "Modified" status panel left by another
// file and closed the modified one without asking; the question showed the wrong file.
TEST_F(FileSafetyTest, CloseAndCloseAllAfterACancelledExitStillAskAboutTheModifiedFile)
{
    m_form = &start();
    ASSERT_TRUE(m_form->OpenFile(source("M1.BAS", "1")));
    type("a");
    ASSERT_TRUE(m_form->OpenFile(source("M2.BAS", "2")));
    m_boxes.answer(TMessageResult::Cancel);
    EXPECT_FALSE(m_form->close());
    // The caption and the status bar name the file the question was about.
    EXPECT_EQ(m_form->windowTitle().toStdString(), m_app.path("M1.BAS"));
    EXPECT_EQ(m_form->StatusBar1->panelText(1), "Modified");
    m_boxes.answer(TMessageResult::Cancel);
    m_form->CloseAll1Click();
    EXPECT_EQ(tabs(), 2);
    m_boxes.answer(TMessageResult::No);
    EXPECT_TRUE(m_form->Close1Click());
    ASSERT_EQ(m_boxes.shown().size(), 3u);
    for (const TShownMessageBox& box : m_boxes.shown())
        EXPECT_EQ(box.text, "File \"" + m_app.path("M1.BAS") + "\" has been modified\r\nSave changes ?");
}

// A new file's record named no parser, so the untitled file shown again for the exit question
// (and saved from there) had lost its colours and its language's settings.
TEST_F(FileSafetyTest, UntitledFileShownAgainForTheExitQuestionKeepsItsLanguage)
{
    m_form = &start();
    type("Low PORTB.1");
    ASSERT_TRUE(m_form->OpenFile(source("OTHER.BAS", "x\r\n")));
    m_boxes.answer(TMessageResult::Cancel);
    EXPECT_FALSE(m_form->close());
    EXPECT_EQ(m_form->windowTitle(), "No_name.bas");
    EXPECT_EQ(m_form->SourceMemo1->ActiveParserObject(), m_program->parserRepository().FindParser("ZENBASIC"));
}

// Save As onto the name of a file open in another tab wrote over it, and the other tab's
// unsaved text was freed when the tabs were sorted out.
TEST_F(FileSafetyTest, SaveAsOntoAFileOpenInAnotherTabIsRefusedAndBothTextsStay)
{
    m_form = &start();
    const QString first = source("A.BAS", "disk a\r\n");
    ASSERT_TRUE(m_form->OpenFile(first));
    type("unsaved ");
    ASSERT_TRUE(m_form->OpenFile(source("B.BAS", "b\r\n")));
    m_dialogs.answer(first.toStdString());
    m_boxes.answer(TMessageResult::Ok);
    EXPECT_FALSE(m_form->SaveAs1Click());
    EXPECT_TRUE(contains(lastBox(), "is open in another tab")) << lastBox();
    EXPECT_EQ(readWholeFile(m_app.path("A.BAS")), "disk a\r\n");
    EXPECT_EQ(m_form->currentFile()->FileName.toStdString(), m_app.path("B.BAS"));
    m_form->OpenFilesTab->setCurrentIndex(0);
    EXPECT_EQ(shownText(), "unsaved disk a\r");
    EXPECT_EQ(m_form->StatusBar1->panelText(1), "Modified");
}

// A file changed by another program was overwritten by the next save without a word, and a
// file shown unmodified kept showing the old text.
TEST_F(FileSafetyTest, FileChangedOnDiskIsOfferedForReloadAndNeverOverwrittenSilently)
{
    m_form = &start();
    const QString name = source("R.BAS", "one\r\n");
    ASSERT_TRUE(m_form->OpenFile(name));
    writeWholeFile(m_app.path("R.BAS"), "two two\r\n");
    m_boxes.answer(TMessageResult::Yes);
    m_form->ApplicationActivate();
    EXPECT_TRUE(contains(lastBox(), "has been changed by another program")) << lastBox();
    EXPECT_EQ(shownText(), "two two\r");
    EXPECT_EQ(tabs(), 1);
    m_form->ApplicationActivate(); // nothing new on disk: no question

    type("x");
    writeWholeFile(m_app.path("R.BAS"), "three three three\r\n");
    m_boxes.answer(TMessageResult::No); // coming back: overwrite? No
    m_form->ApplicationActivate();
    m_boxes.answer(TMessageResult::No); // at the save: overwrite? No
    EXPECT_FALSE(m_form->SaveButtonClick());
    EXPECT_EQ(readWholeFile(m_app.path("R.BAS")), "three three three\r\n");
    EXPECT_EQ(m_form->StatusBar1->panelText(1), "Modified");
    m_boxes.answer(TMessageResult::Yes);
    EXPECT_TRUE(m_form->SaveButtonClick());
    EXPECT_EQ(readWholeFile(m_app.path("R.BAS")), "xtwo two\r\n");
    EXPECT_EQ(readWholeFile(m_app.path("R.BAK")), "three three three\r\n"); // the other version kept

    std::filesystem::remove(m_app.path("R.BAS"));
    m_boxes.answer(TMessageResult::Ok);
    m_form->ApplicationActivate();
    EXPECT_TRUE(contains(lastBox(), "has been deleted or moved")) << lastBox();
    m_form->ApplicationActivate();
    EXPECT_EQ(m_boxes.shown().size(), 5u);
    EXPECT_EQ(m_boxes.pendingAnswers(), 0u);
}

// Opening a FIFO waited for a writer for ever, and a device such as /dev/zero was read without
// end: the window froze.
TEST_F(FileSafetyTest, OpeningAFifoOrADeviceSaysSoInsteadOfFreezing)
{
    m_form = &start();
    ASSERT_EQ(::mkfifo(m_app.path("PIPE.BAS").c_str(), 0600), 0);
    for (const std::string& name : {m_app.path("PIPE.BAS"), std::string("/dev/zero")}) {
        m_boxes.answer(TMessageResult::Ok);
        EXPECT_FALSE(m_form->OpenFile(QString::fromStdString(name)));
        EXPECT_EQ(lastBox(), "Cannot open \"" + name + "\"\rIt is not a regular file");
    }
    EXPECT_EQ(tabs(), 1);
}

// The report of the last file stayed in the pane after that file was closed.
TEST_F(FileSafetyTest, ClosingTheLastTabClearsTheReportPane)
{
    m_form = &start();
    const QString name = source("LED.BAS", "x\r\n");
    writeWholeFile(m_app.path("LED.ZBE"), "ERROR\r\nLine 1: syntax\r\n");
    ASSERT_TRUE(m_form->OpenFile(name));
    EXPECT_EQ(m_form->ReportMemo->toPlainText(), "Line 1: syntax");
    ASSERT_TRUE(m_form->Close1Click());
    EXPECT_EQ(tabs(), 0);
    EXPECT_EQ(m_form->ReportMemo->toPlainText(), "");
}

// Names that are not valid UTF-8 (here Latin-1) were changed on their way through the
// recent-files list and the command line, so the file was not found again.
TEST_F(FileSafetyTest, NamesThatAreNotUtf8KeepTheirBytesThroughRecentFilesAndTheCommandLine)
{
    const std::string latin1 = m_app.path("caf\xE9.bas");
    const std::string argument = m_app.path("\xFF\xFE.bas");
    writeWholeFile(latin1, "latin\r\n");
    writeWholeFile(argument, "argument\r\n");
    writeWholeFile(m_app.path("KALTOR.DAT"), "[MRU]\r\n" + latin1 + "\r\n");
    m_form = &start({"zbxedit", argument});
    EXPECT_EQ(shownText(), "argument\r");
    const auto entries = m_form->Reopen1->actions();
    ASSERT_EQ(entries.size(), 2);
    entries[1]->trigger();
    EXPECT_EQ(shownText(), "latin\r");
    EXPECT_EQ(m_form->currentFile()->DiskName(), latin1);
    m_form->CloseAll1Click();
    EXPECT_EQ(TEdPersistent(m_app.path("KALTOR.DAT")).ReadList("MRU"), (std::vector<std::string>{argument, latin1}));
    EXPECT_TRUE(m_boxes.shown().empty());
}
