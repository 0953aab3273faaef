#include "build/CompileResult.h"
#include "build/ReportView.h"
#include "build/TextLines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using Lines = std::vector<std::string>;

TEST(TextLines, EveryKindOfLineEndSplitsAndAFinalLineEndAddsNoLine)
{
    EXPECT_EQ(splitTextLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitTextLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(splitTextLines("\r\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(splitTextLines("\n\r"), (Lines{"", ""})); // LF CR is two line ends
    EXPECT_TRUE(splitTextLines("").empty());
    EXPECT_EQ(splitTextLines(std::string_view("a\0b\r", 4)), (Lines{std::string("a\0b", 3)}));
}

TEST(CompileResult, FirstLineDecidesFailureSuccessOrNeither)
{
    const TCompileResult failed = parseCompileResult("ERROR\r\nline 3: bad\r\n");
    EXPECT_EQ(failed.verdict, CompileVerdict::Failed);
    EXPECT_TRUE(failed.compileFailed());
    EXPECT_EQ(failed.reportLines, (Lines{"line 3: bad"}));
    EXPECT_EQ(parseCompileResult("ASSEMBLER ERRORS").verdict, CompileVerdict::Failed);

    for (const char* notAVerdict :
         {"error", "Error", "ERROR ", " ERROR", "ASSEMBLER ERROR", "", "r", "\r\nERROR"}) {
        SCOPED_TRACE(notAVerdict);
        const TCompileResult result = parseCompileResult(notAVerdict);
        EXPECT_EQ(result.verdict, CompileVerdict::Neither);
        EXPECT_TRUE(result.check());
    }
    EXPECT_EQ(parseCompileResult(std::string_view("ERROR\0", 6)).verdict, CompileVerdict::Neither);
    const TCompileResult lowerCase = parseCompileResult("error\nsomething");
    EXPECT_FALSE(lowerCase.compileFailed());
    EXPECT_EQ(lowerCase.devicePanel(), "");
    EXPECT_EQ(lowerCase.codePanel(), "");
    EXPECT_EQ(lowerCase.ramPanel(), "");
    EXPECT_EQ(lowerCase.reportLines, (Lines{"something"}));
}

TEST(CompileResult, SummaryFieldsEndAtCommasOrTheLineEnd)
{
    const TCompileResult r = parseCompileResult("RF675,512,20,\r\nok\r\n\r\ndone");
    EXPECT_EQ(r.verdict, CompileVerdict::Succeeded);
    EXPECT_EQ(r.device, "RF675");
    EXPECT_EQ(r.codeSize, "512");
    EXPECT_EQ(r.ramSize, "20");
    EXPECT_EQ(r.devicePanel(), "DEVICE RF675");
    EXPECT_EQ(r.codePanel(), "CODE 512");
    EXPECT_EQ(r.ramPanel(), "RAM 20");
    EXPECT_EQ(r.reportLines, (Lines{"ok", "", "done"}));
    EXPECT_TRUE(r.check());

    const TCompileResult shortLine = parseCompileResult("16F877,1234");
    EXPECT_EQ(shortLine.device, "16F877");
    EXPECT_EQ(shortLine.codeSize, "1234");
    EXPECT_EQ(shortLine.ramSize, "");
    const TCompileResult deviceOnly = parseCompileResult("R");
    EXPECT_EQ(deviceOnly.device, "R");
    EXPECT_EQ(deviceOnly.codeSize, "");
    const TCompileResult fromLines = parseCompileResultLines({"1X,2,3,", "", "b"});
    EXPECT_EQ(fromLines.device, "1X");
    EXPECT_EQ(fromLines.reportLines, (Lines{"", "b"}));
    const TCompileResult extraFields = parseCompileResult("18F452,100,,9,");
    EXPECT_EQ(extraFields.codeSize, "100");
    EXPECT_EQ(extraFields.ramSize, "");
}

// A result whose first line was 20 MB long froze the window for minutes while the status bar
// laid the field out; NUL and control bytes reached the widgets as they were.
TEST(CompileResult, HugeFieldsAreCutAndControlBytesShownAsDotsBeforeAnyWidgetSeesThem)
{
    std::string huge = "16F877" + std::string(20 * 1024 * 1024, 'X') + ",12\x01" + "3,56,\r\n";
    huge += std::string("ab\0c\td\x1b", 7) + std::string(5000, 'y') + "\r\n";
    const TCompileResult result = parseCompileResult(huge);
    ASSERT_EQ(result.verdict, CompileVerdict::Succeeded);
    EXPECT_EQ(result.device, "16F877" + std::string(kMaxResultFieldLength - 6, 'X') + "...");
    EXPECT_EQ(result.codeSize, "12.3");
    ASSERT_EQ(result.reportLines.size(), 1u);
    EXPECT_EQ(result.reportLines[0].size(), kMaxReportLineLength + 3);
    EXPECT_EQ(result.reportLines[0].substr(0, 7), "ab.c\td.");
}

TEST(CompileResult, ResultFileIsReadUpToItsBoundWithALineSayingSo)
{
    const auto path = std::filesystem::temp_directory_path() / "zbx_compile_result_bound.ZBE";
    {
        std::ofstream out(path, std::ios::binary);
        out << "ERROR\r\n";
        for (int i = 0; i < 100000; ++i)
            out << "line " << i << ": a long report of errors\r\n";
    }
    const std::optional<TCompileResult> read = readCompileResultFile(path.string());
    std::filesystem::remove(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(read->compileFailed());
    EXPECT_LT(read->reportLines.size(), 100000u);
    EXPECT_EQ(read->reportLines.back(), "... The report is longer than 1 MB; the rest is not shown.");
}

TEST(CompileResult, MissingFileIsNothingAndAFileIsReadWhole)
{
    const auto path = std::filesystem::temp_directory_path() / "zbx_compile_result_test.ZBE";
    std::filesystem::remove(path);
    EXPECT_FALSE(readCompileResultFile(path.string()).has_value());
    {
        std::ofstream out(path, std::ios::binary);
        out << "16F877,1234,56,\r\nNo errors\r";
    }
    const std::optional<TCompileResult> read = readCompileResultFile(path.string());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->device, "16F877");
    EXPECT_EQ(read->reportLines, (Lines{"No errors"}));
    std::filesystem::remove(path);
}

namespace {

TReportViewState visibleReport()
{
    TReportViewState state;
    state.reportChecked = state.paneVisible = state.splitterVisible = true;
    state.paneLines = {"old report"};
    return state;
}

} // namespace

TEST(ReportView, FailureOpensThePaneEvenWhenTheUserClosedIt)
{
    TReportViewState closed;
    const TReportViewState after = applyCompileResult(closed, parseCompileResult("ERROR"));
    EXPECT_TRUE(after.compileFailed);
    EXPECT_TRUE(after.paneVisible);
    EXPECT_TRUE(after.splitterVisible);
    EXPECT_TRUE(after.reportChecked);
    EXPECT_TRUE(after.paneLines.empty()); // "ERROR" alone: visible and empty
    EXPECT_EQ(after.panels[0], "");
}

TEST(ReportView, SuccessKeepsThePaneAsTheUserSetIt)
{
    TReportViewState closed;
    closed.splitterVisible = true;
    const TReportViewState hidden =
        applyCompileResult(closed, parseCompileResult("16F877,1234,56,\nreport"));
    EXPECT_FALSE(hidden.paneVisible);
    EXPECT_FALSE(hidden.splitterVisible);
    EXPECT_FALSE(hidden.reportChecked);
    EXPECT_TRUE(hidden.paneLines.empty());
    EXPECT_EQ(hidden.device, "16F877");
    EXPECT_EQ(hidden.panels[0], "DEVICE 16F877");
    EXPECT_EQ(hidden.panels[1], "CODE 1234");
    EXPECT_EQ(hidden.panels[2], "RAM 56");

    const TReportViewState shown =
        applyCompileResult(visibleReport(), parseCompileResult("16F877,1234,56,\nreport"));
    EXPECT_TRUE(shown.paneVisible);
    EXPECT_TRUE(shown.splitterVisible);
    EXPECT_EQ(shown.paneLines, (Lines{"report"}));
    EXPECT_FALSE(shown.compileFailed);
}

TEST(ReportView, NeitherOrNoFileClearsDeviceFlagAndPanelsAndEmptiesAVisiblePane)
{
    TReportViewState before =
        applyCompileResult(TReportViewState{}, parseCompileResult("ERROR\nx"));
    before = applyCompileResult(before, parseCompileResult("18F452,1,2,"));
    ASSERT_EQ(before.device, "18F452");

    const TReportViewState emptyFile = applyCompileResult(before, parseCompileResult(""));
    EXPECT_EQ(emptyFile.device, "");
    EXPECT_FALSE(emptyFile.compileFailed);
    for (const std::string& panel : emptyFile.panels)
        EXPECT_EQ(panel, "");
    EXPECT_TRUE(emptyFile.paneVisible);
    EXPECT_TRUE(emptyFile.paneLines.empty());

    const TReportViewState noFile = applyCompileResult(visibleReport(), std::nullopt);
    EXPECT_TRUE(noFile.paneVisible);
    EXPECT_TRUE(noFile.paneLines.empty());

    const TReportViewState lowerCase =
        applyCompileResult(visibleReport(), parseCompileResult("error\nline"));
    EXPECT_FALSE(lowerCase.compileFailed);
    EXPECT_EQ(lowerCase.panels[0], "");
    EXPECT_EQ(lowerCase.paneLines, (Lines{"line"}));
}
