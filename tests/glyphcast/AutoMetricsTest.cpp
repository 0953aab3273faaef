// The automatic width, offset, height and bytes-high calculation over synthetic fonts.
#include "glyphcast/core/AutoMetrics.h"
#include "glyphcast/core/MemoryRaster.h"

#include <gtest/gtest.h>

namespace {

struct AutoMetricsFixture : ::testing::Test
{
    TMemoryRaster raster;
    TConversionSettings settings;

    TAutoMetricsResult calculate()
    {
        TAutoMetricsResult result = calculateAutoMetrics(raster, settings);
        EXPECT_TRUE(settings.check());
        return result;
    }
};

} // namespace

TEST_F(AutoMetricsFixture, InkFromRowTwoToTenGivesOneByte)
{
    raster.addInk('A', 0, 6, 2, 10);
    raster.addInk('~', 9, 9, 5, 5); // widest ink lies in another character
    TAutoMetricsResult result = calculate();
    EXPECT_FALSE(result.failed());
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(settings.width(), 10);
    EXPECT_EQ(settings.offset(), 2);
    EXPECT_EQ(settings.height(), 8);
    EXPECT_EQ(settings.bytesHigh(), 1);
}

TEST_F(AutoMetricsFixture, SpanOfNineNeedsTwoBytesAndTheSpaceOptionCounts)
{
    settings.spaceAtEnd = false;
    raster.addInk('B', 3, 3, 0, 9);
    calculate();
    EXPECT_EQ(settings.width(), 3);
    EXPECT_EQ(settings.height(), 9);
    EXPECT_EQ(settings.bytesHigh(), 2);
}

TEST_F(AutoMetricsFixture, InkBelowRowSixteenOnlyReportsTheOffsetAndGoesOn)
{
    settings.setOffset(5);
    raster.addInk('C', 0, 0, 17, 20);
    TAutoMetricsResult result = calculate();
    EXPECT_TRUE(result.offsetTooLarge);
    EXPECT_FALSE(result.fontTooTall);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.messages[0], "Font offset to large, please select a smaller font");
    EXPECT_EQ(settings.offset(), 5);
    EXPECT_EQ(settings.height(), 3);
    EXPECT_EQ(settings.bytesHigh(), 1);
}

TEST_F(AutoMetricsFixture, TooTallAndTooLowGiveBothMessagesAndKeepTheSettings)
{
    raster.addInk('D', 0, 0, 17, 50);
    raster.addInk('D', 0, 0, 51, 55); // below the scanned rows
    TAutoMetricsResult result = calculate();
    EXPECT_TRUE(result.offsetTooLarge);
    EXPECT_TRUE(result.fontTooTall);
    EXPECT_EQ(result.messages,
              (std::vector<std::string>{OffsetTooLargeMessage,
                                        "Font to tall, please select a smaller font"}));
    EXPECT_EQ(result.extent.maxY, 50);
    EXPECT_EQ(settings.offset(), 0);
    EXPECT_EQ(settings.height(), 16); // span 33: no message, unchanged
    EXPECT_EQ(settings.bytesHigh(), 2);
}

TEST_F(AutoMetricsFixture, SpanOfThirtyTwoFitsFourBytes)
{
    raster.addInk('E', 0, 0, 0, 32);
    TAutoMetricsResult result = calculate();
    EXPECT_FALSE(result.failed());
    EXPECT_EQ(settings.height(), 32);
    EXPECT_EQ(settings.bytesHigh(), 4);
}

TEST_F(AutoMetricsFixture, VeryWideFontIsLimitedToSixtyFour)
{
    raster.addInk('W', 55, 55, 4, 4);
    calculate();
    EXPECT_EQ(settings.width(), 56);
    TInkExtent wide;
    wide.maxX = 64;
    wide.minY = 0;
    wide.maxY = 7;
    applyInkExtent(wide, settings);
    EXPECT_EQ(settings.width(), 64);
}

TEST_F(AutoMetricsFixture, ResultsBelowTheMinimumsStayInRange)
{
    settings.spaceAtEnd = false;
    raster.addInk('.', 0, 0, 7, 7); // one pixel: width 0, span 0
    TAutoMetricsResult result = calculate();
    EXPECT_FALSE(result.failed());
    EXPECT_EQ(settings.width(), 1);
    EXPECT_EQ(settings.offset(), 7);
    EXPECT_EQ(settings.height(), 1);
    EXPECT_EQ(settings.bytesHigh(), 1);
}

TEST_F(AutoMetricsFixture, FontWithoutInkReportsTheOffsetAndKeepsHeight)
{
    settings.setHeight(20);
    settings.setBytesHigh(3);
    TAutoMetricsResult result = calculate();
    EXPECT_TRUE(result.offsetTooLarge);
    EXPECT_FALSE(result.extent.anyInk());
    EXPECT_EQ(settings.width(), 1);
    EXPECT_EQ(settings.height(), 20);
    EXPECT_EQ(settings.bytesHigh(), 3);
}
