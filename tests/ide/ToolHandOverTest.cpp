// The hand-over file of the tool programs and the Run menu entries made from scan results.
#include "ide/AsciiTable.h"
#include "ide/ToolHandOver.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(ToolHandOver, RunEntriesAreTheNamesWithoutTheirExtension)
{
    const auto programs = toolProgramsFromResults({"/app/INC/EXTERNAL PROGRAMS/A.EXE", "B.exe", "/x/my.tool.exe", "/x/"});
    ASSERT_EQ(programs.size(), 3u);
    EXPECT_EQ(programs[0].caption, "A");
    EXPECT_EQ(programs[0].fileName, "A.EXE");
    EXPECT_EQ(programs[1].caption, "B");
    EXPECT_EQ(programs[2].caption, "my.tool");
    EXPECT_EQ(programs[2].fileName, "my.tool.exe");
}

TEST(ToolHandOver, EveryLineEndsInCrLfWhateverItEndedInBefore)
{
    EXPECT_EQ(joinLinesWithCrLf(""), "");
    EXPECT_EQ(joinLinesWithCrLf("one"), "one\r\n");
    EXPECT_EQ(joinLinesWithCrLf("one\ntwo\nthree\n"), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(joinLinesWithCrLf("a\r\nb\rc\n\rd"), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(joinLinesWithCrLf("\n\n"), "\r\n\r\n");
}

TEST(ToolHandOver, ResultFileIsReadWithinItsLimitAndEmptiedOnRequest)
{
    TempFolder folder;
    const std::string path = folder.path("RES_FILE.TXT");
    EXPECT_EQ(readResultFile(path).kind, TResultFileText::Missing);
    writeWholeFile(path, "DATA 1\nDATA 2\nDATA 3\n");
    TResultFileText read = readResultFile(path);
    EXPECT_EQ(read.kind, TResultFileText::Text);
    EXPECT_EQ(read.text, "DATA 1\r\nDATA 2\r\nDATA 3\r\n");
    std::string error;
    ASSERT_TRUE(emptyResultFile(path, error)) << error;
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    writeWholeFile(path, std::string(101, 'x'));
    read = readResultFile(path, 100);
    EXPECT_EQ(read.kind, TResultFileText::Unreadable);
    EXPECT_NE(read.error.find("larger than 100 bytes"), std::string::npos) << read.error;

    std::filesystem::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    read = readResultFile(path); // must neither block nor be taken for text
    EXPECT_EQ(read.kind, TResultFileText::Unreadable);
}

TEST(AsciiTable, RowsShowStandInCharactersAndControlNames)
{
    EXPECT_EQ(asciiTableRow(0), "\x7f       00      00      NUL");
    EXPECT_EQ(asciiTableRow(9), "\x7f       09      09      HT");
    EXPECT_EQ(asciiTableRow(32), "        32      20      SP");
    EXPECT_EQ(asciiTableRow(65), "A       65      41");
    EXPECT_EQ(asciiTableRow(143), "\x8d       143     8F");
    EXPECT_EQ(asciiTableRow(145), "\x91       145     91");
    EXPECT_EQ(asciiTableRow(255), "\xff       255     FF");
}
