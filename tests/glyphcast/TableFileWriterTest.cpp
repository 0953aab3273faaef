// The file writer's line ends and its breaking of long lines after commas past column 80.
#include "glyphcast/core/TableFileWriter.h"

#include "base/Exception.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string written(const std::string& text, std::vector<int>* progress = nullptr)
{
    TMemoryStream stream;
    writeTableText(text, stream, [progress](int percent) {
        if (progress)
            progress->push_back(percent);
    });
    std::string bytes(size_t(stream.Size()), '\0');
    stream.SetPosition(0);
    stream.ReadBuffer(bytes.data(), stream.Size());
    return bytes;
}

const std::string Indent(10, ' ');

} // namespace

TEST(TableFileWriterTest, BreaksAfterTheFirstCommaPastColumnEighty)
{
    const std::string at80 = std::string(79, 'a') + ",b";
    EXPECT_EQ(written(at80 + "\r\n"), at80 + "\r\n");
    const std::string at81 = std::string(80, 'a') + ",b,c";
    EXPECT_EQ(written(at81 + "\r\n"), std::string(80, 'a') + ",_\r\n" + Indent + "b,c\r\n");
}

TEST(TableFileWriterTest, ContinuationLinesBreakAgain)
{
    const std::string tail = std::string(70, 'c') + ",d";
    const std::string text =
        std::string(85, 'a') + "," + std::string(60, 'b') + "," + tail + "\r\n";
    EXPECT_EQ(written(text), std::string(85, 'a') + ",_\r\n" + Indent + std::string(60, 'b') + "," +
                                 std::string(70, 'c') + ",_\r\n" + Indent + "d\r\n");
}

TEST(TableFileWriterTest, CommaInACharacterCommentPastColumnEighty)
{
    const std::string line = std::string(70, '9') + " ' Code for char ,  ";
    EXPECT_EQ(written(line + "\r\n"),
              std::string(70, '9') + " ' Code for char ,_\r\n" + Indent + "  \r\n");
}

TEST(TableFileWriterTest, LongDataLineKeepsEveryNumber)
{
    std::string line = "CDATA 33";
    for (int i = 0; i < 132; ++i)
        line += ",255";
    line += " ' Code for char W  ";
    const std::string file = written(line + "\r\n");
    std::string joined;
    size_t start = 0;
    int pieces = 0;
    for (size_t end; (end = file.find("\r\n", start)) != std::string::npos;
         start = end + 2, ++pieces) {
        std::string piece = file.substr(start, end - start);
        if (pieces > 0) {
            ASSERT_TRUE(piece.starts_with(Indent)) << piece;
            piece.erase(0, Indent.size());
        }
        if (piece.ends_with(",_")) {
            EXPECT_LE(piece.size(), 86u);
            piece.pop_back();
        }
        joined += piece;
    }
    EXPECT_EQ(start, file.size());
    EXPECT_GE(pieces, 6);
    EXPECT_EQ(joined, line);
}

TEST(TableFileWriterTest, FinalLineWithoutLineBreakIsKept)
{
    EXPECT_EQ(written("abc\r\ndef"), "abc\r\ndef\r\n");
    EXPECT_EQ(written("abc\r\n"), "abc\r\n");
    EXPECT_EQ(written(""), "");
    // A break at the very end leaves only the indent: no extra blank line.
    EXPECT_EQ(written(std::string(81, 'x') + ","), std::string(81, 'x') + ",_\r\n");
}

TEST(TableFileWriterTest, LoneCarriageReturnKeepsTheFollowingCharacter)
{
    EXPECT_EQ(written("ab\rcd\r\n\r\n"), "ab\r\ncd\r\n\r\n");
}

TEST(TableFileWriterTest, ProgressRisesToOneHundred)
{
    std::vector<int> progress;
    written("ab\r\ncd\r\n", &progress);
    ASSERT_EQ(progress.size(), 6u); // the line feeds are skipped with their carriage returns
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);
}

TEST(TableFileWriterTest, WriteErrorsPropagate)
{
    struct FullDisk : TMemoryStream
    {
        int64_t Write(const void*, int64_t) override { return 0; }
    } full;
    EXPECT_THROW(writeTableText("abc\r\n", full), EWriteError);
}
