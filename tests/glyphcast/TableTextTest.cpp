// The generated table text: the documented Arial example end to end through the writer, the
// options, the label stem and the size caption.
#include "glyphcast/core/ConversionRun.h"
#include "glyphcast/core/MemoryRaster.h"
#include "glyphcast/core/TableFileWriter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct QuietObserver : TConversionObserver
{
    int characters = 0;
    int byteRows = 0;
    int stopAfterByteRows = -1;
    bool byteRowDone() override { return ++byteRows != stopAfterByteRows; }
    void characterDone(int, const std::string&) override { ++characters; }
    void waitForStep() override {}
};

std::vector<std::string> splitCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last line end";
    return lines;
}

std::string writtenFile(const std::string& text)
{
    TMemoryStream stream;
    writeTableText(text, stream);
    std::string bytes(size_t(stream.Size()), '\0');
    stream.SetPosition(0);
    stream.ReadBuffer(bytes.data(), stream.Size());
    return bytes;
}

struct TableFixture : ::testing::Test
{
    TMemoryRaster raster;
    TPreviewGrid grid;
    TConversionSettings settings;
    TTableHeading heading{"Arial", "9.75", false, false, "Arial____9o75"};

    TableFixture()
    {
        raster.addInk('!', 1, 2, 2, 9);
        raster.addInk('!', 1, 2, 12, 13);
    }

    std::string convert()
    {
        TConversionRun run(raster, grid, settings);
        QuietObserver observer;
        EXPECT_TRUE(run.run(heading, observer));
        EXPECT_EQ(observer.characters, 96);
        return run.text();
    }
};

} // namespace

TEST_F(TableFixture, ArialExampleIsWrittenByteForByte)
{
    const std::vector<std::string> lines = splitCrLf(writtenFile(convert()));
    const std::vector<std::string> head = {
        "'",
        "' FONT information for  Arial  - Font Size 16 (Point Size 9.75)",
        "'" + std::string(99, '-') + "'",
        "'",
        "'",
        "' Pointers to the actual font table",
        "'",
        "Arial____9o75:-",
        "",
        "Cdata     word 16 ' Font is 16 High",
        "",
        "Cdata     "
        "Arial____9o75_0,Arial____9o75_1,Arial____9o75_2,Arial____9o75_3,Arial____9o75_4,_",
        "          "
        "Arial____9o75_5,Arial____9o75_6,Arial____9o75_7,Arial____9o75_8,Arial____9o75_9,_",
        "          "
        "Arial____9o75_10,Arial____9o75_11,Arial____9o75_12,Arial____9o75_13,Arial____9o75_14,_",
    };
    ASSERT_GT(lines.size(), head.size());
    for (size_t i = 0; i < head.size(); ++i)
        EXPECT_EQ(lines[i], head[i]) << "line " << i;
    EXPECT_EQ(lines[2].size(), 101u);

    // The pointer table goes on five entries a line and ends with entry 95, without a comma.
    size_t i = head.size();
    while (i < lines.size() && lines[i].ends_with(",_")) {
        EXPECT_TRUE(lines[i].starts_with(std::string(10, ' ') + "Arial____9o75_"));
        ++i;
    }
    ASSERT_LT(i, lines.size());
    EXPECT_EQ(lines[i], std::string(10, ' ') + "Arial____9o75_95");
    const std::vector<std::string> rest = {"",
                                           "",
                                           "",
                                           "' Font data",
                                           "",
                                           "Arial____9o75_0:-",
                                           "CDATA 2,0,0,0,0 ' Code for char    ",
                                           "Arial____9o75_1:-",
                                           "CDATA 3,252,51,252,51,0,0 ' Code for char !  "};
    for (size_t k = 0; k < rest.size(); ++k)
        EXPECT_EQ(lines.at(i + 1 + k), rest[k]) << "line " << i + 1 + k;
    EXPECT_EQ(lines.back(), "CDATA 2,0,0,0,0 ' Code for char \x7f  ");
    EXPECT_EQ(lines.size(), i + 1 + 5 + 2 * 96);
}

TEST_F(TableFixture, OptionsChangeLabelsAndDataLines)
{
    settings.labelOffset = false;
    settings.includeWidth = false;
    std::string text = convert();
    EXPECT_NE(text.find("Arial____9o75_32,Arial____9o75_33,"), std::string::npos);
    EXPECT_NE(text.find(",Arial____9o75_127\r\n"), std::string::npos);
    EXPECT_NE(
        text.find("\r\nArial____9o75_33:-\r\nCDATA 252,51,252,51,0,0 ' Code for char !  \r\n"),
        std::string::npos);
    EXPECT_EQ(text.find("Arial____9o75_0"), std::string::npos);

    settings.includeLabel = false;
    text = convert();
    EXPECT_EQ(text.find(":-\r\nCDATA"), std::string::npos);
    EXPECT_NE(text.find("Cdata     Arial____9o75_32,"), std::string::npos); // the table stays
    EXPECT_NE(text.find("\r\n\r\nCDATA 0,0,0,0 ' Code for char    \r\nCDATA 252,"),
              std::string::npos);
}

TEST_F(TableFixture, BoldItalicHeadingAndHeightSetting)
{
    settings.setHeight(9);
    heading = {"MS Sans Serif", "12", true, true, "MS_Sa_BI_12"};
    std::string text = convert();
    EXPECT_TRUE(text.starts_with("'\r\n' FONT information for  MS Sans Serif  - Font Size 9 (Point "
                                 "Size 12) Bold  Italic \r\n"));
    EXPECT_NE(text.find("\r\nCdata     word 9 ' Font is 9 High\r\n"), std::string::npos);
}

TEST_F(TableFixture, StopEndsTheRunWithoutTheRestOfTheText)
{
    TConversionRun run(raster, grid, settings);
    QuietObserver observer;
    observer.stopAfterByteRows = 5; // inside the second character
    EXPECT_FALSE(run.run(heading, observer));
    EXPECT_EQ(observer.characters, 1);
    EXPECT_EQ(run.text().find("Code for char !"), std::string::npos);
}

TEST(LabelStemTest, StemsFromNameStyleAndSize)
{
    EXPECT_EQ(defaultLabelStem("Arial", false, false, "9.75"), "Arial____9o75 ");
    EXPECT_EQ(defaultLabelStem("MS Sans Serif", true, true, "12"), "MS_Sa_BI_12   ");
    EXPECT_EQ(defaultLabelStem("Sym", false, true, "8,25"), "Sym____I_8o25 ");
    EXPECT_EQ(defaultLabelStem("Courier New", true, false, "10.125"), "Couri_B__10o12");
    EXPECT_EQ(trimmed(defaultLabelStem("MS Sans Serif", true, true, "12")), "MS_Sa_BI_12");
    EXPECT_EQ(trimmed("  a b  "), "a b");
    EXPECT_EQ(trimmed("   "), "");
}

TEST(LabelStemTest, SizeCaptionIsAMoneyValue)
{
    EXPECT_EQ(sizeCaption(9.75), "9.75");
    EXPECT_EQ(sizeCaption(10.0), "10");
    EXPECT_EQ(sizeCaption(8.25, ','), "8,25");
    EXPECT_EQ(sizeCaption(7.123456), "7.1235");
    EXPECT_EQ(sizeCaption(1234.5), "1234.5");
    EXPECT_EQ(sizeCaption(0.00001), "0");
}
