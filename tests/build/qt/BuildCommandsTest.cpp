// Compile end to end with a stand-in compiler, the reading of its result into the status bar
// and report pane, and the refresh of the listing windows.
#include "BuildFixture.h"

#include "build/qt/ASMList.h"
#include "build/qt/DataLists.h"
#include "build/qt/DummyVirtualForm.h"
#include "editor/widget/SourceMemo.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include <filesystem>

namespace {

using CompileTest = BuildFixture;

TEST_F(CompileTest, FailedCompileOpensTheReportWithLinesTwoOn)
{
    installCompiler();
    compileWith("ERROR\r\nLine 3: Syntax error\r\nLine 9: Undefined label\r\n");
    EXPECT_EQ(splitLines(readWholeFile(m_dir.path("compiler.txt"))), (Lines{m_source, "-m", "-q"}));
    EXPECT_TRUE(m_commands->compileFailed());
    EXPECT_TRUE(m_host.paneVisible);
    EXPECT_TRUE(m_host.splitter);
    EXPECT_TRUE(m_host.checked);
    EXPECT_EQ(m_host.reportLines, (Lines{"Line 3: Syntax error", "Line 9: Undefined label"}));
    EXPECT_EQ(m_host.panels[2], "");
    EXPECT_GE(m_host.focusCount, 1);

    compileWith("ASSEMBLER ERRORS");
    EXPECT_TRUE(m_commands->compileFailed());
    EXPECT_TRUE(m_host.paneVisible);
    EXPECT_EQ(m_host.reportLines, Lines{});
}

TEST_F(CompileTest, SuccessFillsThePanelsAndLeavesThePaneAsTheUserSetIt)
{
    installCompiler();
    compileWith("RF675,512,20,\r\nCompiled OK\r\n");
    EXPECT_FALSE(m_commands->compileFailed());
    EXPECT_EQ(m_commands->device(), "RF675");
    EXPECT_EQ(m_host.panels[2], "DEVICE RF675");
    EXPECT_EQ(m_host.panels[3], "CODE 512");
    EXPECT_EQ(m_host.panels[4], "RAM 20");
    EXPECT_FALSE(m_host.paneVisible);
    EXPECT_EQ(m_host.reportLines, Lines{"old report"});

    m_host.checked = true;
    compileWith("16F877,1234,56,\r\nWords used 1234\r\n");
    EXPECT_EQ(m_commands->device(), "16F877");
    EXPECT_TRUE(m_host.paneVisible);
    EXPECT_EQ(m_host.reportLines, Lines{"Words used 1234"});
}

TEST_F(CompileTest, LowerCaseErrorAndEmptyResultAreNeither)
{
    installCompiler();
    compileWith("RF675,512,20,\r\n");
    m_host.paneVisible = true;
    compileWith("error\r\nsomething\r\n");
    EXPECT_FALSE(m_commands->compileFailed());
    EXPECT_EQ(m_commands->device(), "");
    EXPECT_EQ(m_host.panels[2], "");
    EXPECT_EQ(m_host.panels[4], "");
    EXPECT_EQ(m_host.reportLines, Lines{"something"});

    compileWith("");
    EXPECT_FALSE(m_commands->compileFailed());
    EXPECT_EQ(m_host.panels[3], "");
    EXPECT_TRUE(m_host.paneVisible);
    EXPECT_EQ(m_host.reportLines, Lines{});
}

TEST_F(CompileTest, MissingCompilerIsReportedAndAnEarlierResultIsNotShownAsThisOne)
{
    writeWholeFile(work("LED.ZBE"), "16F877,100,10,\r\nfrom yesterday\r\n");
    m_host.paneVisible = true;
    m_host.panels[2] = "DEVICE 16F877";
    m_boxes.answer(TMessageResult::Ok);
    m_commands->compile();
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].kind, TMessageKind::Error);
    EXPECT_EQ(m_boxes.shown()[0].text, "Problem Running " + m_dir.path("KALTOR_PL.EXE") +
                                           "\r\rThe compiler is not installed. Put KALTOR_PL.EXE into \"" +
                                           std::filesystem::path(m_dir.path("KALTOR_PL.EXE")).parent_path().string() +
                                           "\" and compile again.");
    EXPECT_TRUE(m_commands->compileFailed());
    EXPECT_EQ(m_commands->device(), "");
    EXPECT_EQ(m_host.panels[2], "");
    EXPECT_EQ(m_host.reportLines, Lines{});
    EXPECT_FALSE(m_commands->busyBox().isVisible());
}

TEST_F(CompileTest, RefreshAfterTabChangeReadsTheShownFilesResult)
{
    writeWholeFile(work("LED.ZBE"), "16F628,80,9,\r\n");
    m_commands->RefreshBuildViews();
    EXPECT_EQ(m_commands->device(), "16F628");
    EXPECT_EQ(m_commands->hexFile(), hex());
    EXPECT_EQ(m_commands->listingPath(), work("LED.ASM"));
    // No result file: the panels clear and a visible pane is emptied.
    std::filesystem::remove(work("LED.ZBE"));
    m_host.paneVisible = true;
    m_commands->RefreshBuildViews();
    EXPECT_EQ(m_commands->device(), "");
    EXPECT_EQ(m_host.panels[2], "");
    EXPECT_EQ(m_host.reportLines, Lines{});
}

TEST_F(CompileTest, BusyBoxShowsWhileTheCompilerRuns)
{
    installCompiler("sleep 0.4");
    bool seenBusy = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { seenBusy = seenBusy || m_commands->busyBox().isVisible(); });
    probe.start(30);
    compileWith("RF675,512,20,\r\n");
    EXPECT_TRUE(seenBusy);
    EXPECT_FALSE(m_commands->busyBox().isVisible());
    EXPECT_FALSE(m_commands->busyBox().isEnabled());
    const TDummy_Virtual_Form& box = m_commands->busyBox();
    EXPECT_EQ(box.windowTitle(), "Initiate Virtual Machine");
    EXPECT_EQ(box.size(), QSize(211, 96));
    EXPECT_EQ(box.Label2->text(), "Please Wait");
    EXPECT_TRUE(box.Label2->font().bold());
    EXPECT_EQ(box.Label2->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
}

TEST_F(CompileTest, ShowReportTogglesThePaneAndReadsTheResult)
{
    writeWholeFile(work("LED.ZBE"), "RF675,512,20,\r\nreport line\r\n");
    m_commands->showReportClick();
    EXPECT_TRUE(m_host.checked);
    EXPECT_TRUE(m_host.paneVisible);
    EXPECT_TRUE(m_host.splitter);
    EXPECT_EQ(m_host.reportLines, Lines{"report line"});
    m_commands->showReportClick();
    EXPECT_FALSE(m_host.checked);
    EXPECT_FALSE(m_host.paneVisible);
    EXPECT_FALSE(m_host.splitter);
}

TEST_F(CompileTest, CompileRefreshesTheShownListingWindows)
{
    // The stand-in compiler also leaves a listing and a HEX file beside the source.
    installCompiler("printf '\\tnop\\r\\n' > \"${1%.*}.ASM\"\nprintf ':020000000428D2\\r\\n"
                    ":00000001FF\\r\\n' > \"${1%.*}.HEX\"");
    m_commands->ASMButtonClick();
    m_commands->showDATAClick();
    EXPECT_TRUE(m_host.listingItems[ListingWindow::Assembler]);
    EXPECT_TRUE(m_host.listingItems[ListingWindow::EepromData]);
    EXPECT_EQ(m_commands->asmList().ASMText->Store().CharCount(), 0);
    EXPECT_TRUE(m_commands->asmList().isVisible());

    compileWith("RF675,512,20,\r\n");
    EXPECT_EQ(m_commands->asmList().ASMText->Store().GetText(), "\tnop\r");
    // One load fills both data windows, the hidden program window included.
    EXPECT_EQ(m_commands->hexList().CODE_MEMO->toPlainText(), "0000- 2804 ");
    EXPECT_FALSE(m_commands->hexList().isVisible());

    // The files go away: the listing is cleared, the hex box of the shown window too.
    std::filesystem::remove(work("LED.ASM"));
    std::filesystem::remove(hex());
    m_commands->RefreshBuildViews();
    EXPECT_EQ(m_commands->asmList().ASMText->Store().CharCount(), 0);
    EXPECT_TRUE(m_commands->dataList().DATA_MEMO->toPlainText().isEmpty());

    m_commands->ASMButtonClick();
    EXPECT_FALSE(m_host.listingItems[ListingWindow::Assembler]);
    EXPECT_FALSE(m_commands->asmList().isVisible());
    m_commands->dataList().close();
    EXPECT_FALSE(m_host.listingItems[ListingWindow::EepromData]);
}

TEST_F(CompileTest, SourceInAFolderWithBlanksReachesTheCompilerAsOneArgument)
{
    installCompiler();
    std::filesystem::create_directory(m_dir.path("my work"));
    const std::string source = m_dir.path("my work/LED.BAS");
    writeWholeFile(source, "END\r\n");
    m_commands->setCurrentSource(source);
    compileWith("16F877,10,2,\r\n");
    EXPECT_EQ(splitLines(readWholeFile(m_dir.path("compiler.txt"))), (Lines{source, "-m", "-q"}));
    EXPECT_EQ(m_commands->device(), "16F877");
}

TEST_F(CompileTest, NoCurrentFileCompilesNothing)
{
    installCompiler();
    m_commands->setCurrentSource("");
    compileWith("ERROR\r\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir.path("compiler.txt")));
    EXPECT_FALSE(m_commands->compileFailed());
    EXPECT_EQ(m_host.reportLines, Lines{"old report"});
}

} // namespace
