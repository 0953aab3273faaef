// Sampling synthetic glyphs: column bytes, dropped leading columns, widths, the grid, the
// raster's edge and the green marks.
#include "glyphcast/core/GlyphSampler.h"
#include "glyphcast/core/MemoryRaster.h"

#include <gtest/gtest.h>

using namespace glyph;
using Cell = TPreviewGrid::Cell;

namespace {

struct SamplerFixture : ::testing::Test
{
    TMemoryRaster raster;
    TPreviewGrid grid;
    TConversionSettings settings;

    TSampledGlyph sample(int code)
    {
        TSampledGlyph glyph = sampleCharacter(raster, code, settings, grid);
        EXPECT_TRUE(raster.check());
        EXPECT_TRUE(grid.check());
        EXPECT_TRUE(settings.check());
        return glyph;
    }
};

} // namespace

TEST(InkTest, GreyLevelsAndSpecialColours)
{
    EXPECT_TRUE(isInk(packColour(183, 183, 183)));
    EXPECT_FALSE(isInk(packColour(184, 184, 184)));
    EXPECT_FALSE(isInk(White));
    EXPECT_TRUE(isInk(Black));
    EXPECT_TRUE(isInk(Green));
    EXPECT_TRUE(isInk(OutsideRaster));
    TMemoryRaster raster;
    EXPECT_TRUE(raster.isInkAt(RasterSize, 0));
    EXPECT_TRUE(raster.isInkAt(0, -1));
    EXPECT_FALSE(raster.isInkAt(RasterSize - 1, RasterSize - 1));
}

TEST_F(SamplerFixture, ExclamationMarkGivesTheDocumentedBytes)
{
    raster.addInk('!', 1, 2, 2, 9);
    raster.addInk('!', 1, 2, 12, 13);
    raster.drawCharacter('!');
    EXPECT_EQ(measureWidth(raster), 2);

    TSampledGlyph glyph = sample('!');
    EXPECT_TRUE(glyph.complete);
    EXPECT_EQ(glyph.bytes, (std::vector<int>{252, 51, 252, 51, 0, 0}));
    EXPECT_EQ(glyph.widthValue, 3);
    EXPECT_EQ(glyph.columnCount(settings.bytesHigh()), glyph.widthValue);
}

TEST_F(SamplerFixture, GreyAntialiasingIsJudgedByTheInkTest)
{
    raster.defineCharacter('a',
                           {{0, 0, packColour(183, 183, 183)}, {0, 1, packColour(184, 184, 184)}});
    TSampledGlyph glyph = sample('a');
    EXPECT_EQ(glyph.bytes, (std::vector<int>{1, 0, 0, 0}));
}

TEST_F(SamplerFixture, SpaceIsTwoBlankColumnsWithAndWithoutTheSpaceOption)
{
    TSampledGlyph glyph = sample(' ');
    EXPECT_EQ(glyph.bytes, std::vector<int>(4, 0));
    EXPECT_EQ(glyph.widthValue, 2);

    settings.spaceAtEnd = false;
    settings.setBytesHigh(3);
    glyph = sample(' ');
    EXPECT_EQ(glyph.bytes, std::vector<int>(6, 0));
    EXPECT_EQ(glyph.widthValue, 1);
}

TEST_F(SamplerFixture, LeadingBlankColumnsAreDroppedButShownOnTheGrid)
{
    raster.addInk('l', 3, 3, 0, 0);
    raster.addInk('l', 5, 5, 9, 9); // column 4 is blank after the first ink: it stays
    TSampledGlyph glyph = sample('l');
    // W = 5; columns 0..6 sampled; 0..2 dropped.
    EXPECT_EQ(glyph.bytes, (std::vector<int>{1, 0, 0, 0, 0, 2, 0, 0}));
    EXPECT_EQ(glyph.widthValue, 5 + 1 + 1 - 3);
    for (int column = 0; column <= 6; ++column)
        EXPECT_EQ(grid.cellAt(column, 0), column == 3 ? Cell::Filled : Cell::Hollow) << column;
    EXPECT_EQ(grid.cellAt(5, 9), Cell::Filled);
    EXPECT_EQ(grid.cellAt(7, 0), Cell::Hidden);
    EXPECT_EQ(grid.cellAt(0, 16), Cell::Hidden); // only two byte rows were shown
}

TEST_F(SamplerFixture, FixedWidthWithAndWithoutTheSpaceOption)
{
    settings.fixedWidth = true;
    raster.addInk('i', 0, 1, 0, 15);
    TSampledGlyph glyph = sample('i');
    EXPECT_EQ(glyph.columnCount(2), 16);
    EXPECT_EQ(glyph.widthValue, 16);

    settings.spaceAtEnd = false;
    glyph = sample('i');
    EXPECT_EQ(glyph.columnCount(2), 16);
    EXPECT_EQ(glyph.widthValue, 15);
    EXPECT_EQ(glyph.bytes[0], 255);
    EXPECT_EQ(glyph.bytes[2], 255);
    EXPECT_EQ(glyph.bytes[4], 0);

    // Dropped leading columns shorten both the list and the width value.
    raster.addInk('j', 2, 2, 0, 0);
    glyph = sample('j');
    EXPECT_EQ(glyph.columnCount(2), 14);
    EXPECT_EQ(glyph.widthValue, 13);
}

TEST_F(SamplerFixture, ColumnsBeyondTheRasterCountAsInk)
{
    settings.fixedWidth = true;
    settings.setWidth(61);
    raster.addInk('m', 0, 0, 0, 0);
    TSampledGlyph glyph = sample('m');
    ASSERT_EQ(glyph.columnCount(2), 62);
    EXPECT_EQ(glyph.bytes[2 * 58], 0);
    for (int column = 59; column <= 61; ++column) {
        EXPECT_EQ(glyph.bytes[2 * column], 255) << column;
        EXPECT_EQ(glyph.bytes[2 * column + 1], 255) << column;
    }
    // Columns from 32 on pile up on the last cell.
    EXPECT_EQ(grid.cell(TPreviewGrid::CellCount - 1), Cell::Filled);
}

TEST_F(SamplerFixture, RowsBelowTheRasterCountAsInk)
{
    settings.setOffset(16);
    settings.setBytesHigh(4);
    raster.addInk('g', 0, 0, 16, 16);
    raster.addInk('g', 0, 0, 47, 47);
    raster.addInk('g', 0, 0, 15, 15); // above the sampled rows
    raster.addInk('g', 0, 0, 48, 48); // below them
    TSampledGlyph glyph = sample('g');
    EXPECT_EQ(glyph.bytes, (std::vector<int>{1, 0, 0, 128, 0, 0, 0, 0}));
    EXPECT_EQ(grid.cellAt(0, 0), Cell::Filled);
    EXPECT_EQ(grid.cellAt(0, 31), Cell::Filled);
    EXPECT_EQ(grid.cellAt(0, 1), Cell::Hollow);

    settings.setOffset(15); // rows 15..46
    glyph = sample('g');
    EXPECT_EQ(glyph.bytes[0], 3);
    EXPECT_EQ(glyph.bytes[3], 0);
}

TEST_F(SamplerFixture, SampledInkIsMarkedGreenAndGuideLinesFollowTheSettings)
{
    raster.addInk('x', 0, 0, 0, 1);
    raster.addInk('x', 0, 0, 20, 20); // below the two byte rows: never sampled
    sample('x');
    EXPECT_EQ(raster.pixel(0, 0), Green);
    EXPECT_EQ(raster.pixel(0, 1), Green);
    EXPECT_EQ(raster.pixel(0, 2), White);
    EXPECT_EQ(raster.pixel(0, 20), Black);

    settings.setWidth(10);
    settings.setOffset(3);
    settings.setHeight(12);
    raster.clear();
    drawGuideLines(raster, settings);
    EXPECT_EQ(raster.pixel(10, 55), Red);
    EXPECT_EQ(raster.pixel(10, 56), White);
    EXPECT_EQ(raster.pixel(40, 15), Green);
    EXPECT_EQ(raster.pixel(40, 3), Blue);
    EXPECT_EQ(raster.pixel(10, 3), Blue); // blue is drawn last
    settings.setWidth(64);                // off the raster: nothing drawn, nothing breaks
    drawGuideLines(raster, settings);
    EXPECT_TRUE(raster.check());
}

TEST_F(SamplerFixture, AStopAfterAByteRowEndsTheSamplingAtOnce)
{
    raster.addInk('w', 0, 4, 0, 15);
    int rows = 0;
    TSampledGlyph glyph =
        sampleCharacter(raster, 'w', settings, grid, [&rows] { return ++rows < 3; });
    EXPECT_FALSE(glyph.complete);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(glyph.bytes.size(), 3u);
}
