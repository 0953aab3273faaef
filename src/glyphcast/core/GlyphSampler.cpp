#include "glyphcast/core/GlyphSampler.h"

#include <cstddef>

using namespace glyph;

int measureWidth(const TGlyphRaster& raster)
{
    int rightmost = 0;
    for (int x = 0; x < ScanLimit; ++x)
        for (int y = 0; y < ScanLimit; ++y)
            if (raster.isInkAt(x, y))
                rightmost = x;
    return rightmost;
}

namespace {

// One byte of one column; ink pixels are marked green as they are read (bottom-up).
int sampleByte(TGlyphRaster& raster, int column, int topRow)
{
    int byte = 0;
    for (int bit = 7; bit >= 0; --bit) {
        if (raster.isInkAt(column, topRow + bit)) {
            byte += 1 << bit;
            raster.setPixel(column, topRow + bit, Green);
        }
    }
    return byte;
}

struct ColumnPlan
{
    int lastColumn;
    int workingWidth;
};

ColumnPlan planColumns(const TGlyphRaster& raster, const TConversionSettings& settings)
{
    if (settings.fixedWidth)
        return {settings.width(), settings.width()};
    int inkWidth = measureWidth(raster);
    return {inkWidth + settings.space(), inkWidth + 1};
}

} // namespace

TSampledGlyph sampleCharacter(TGlyphRaster& raster, int code, const TConversionSettings& settings,
                              TPreviewGrid& grid, const ByteRowCallback& afterByteRow)
{
    raster.drawCharacter(code);
    const ColumnPlan plan = planColumns(raster, settings);
    int workingWidth = plan.workingWidth;
    grid.hideAll();

    TSampledGlyph glyph;
    int total = 0;
    bool stillLeading = true;
    for (int column = 0; column <= plan.lastColumn; ++column) {
        int cell = column * TPreviewGrid::Side;
        for (int byteRow = 0; byteRow < settings.bytesHigh(); ++byteRow) {
            int byte = sampleByte(raster, column, settings.offset() + 8 * byteRow);
            glyph.bytes.push_back(byte);
            total += byte;
            grid.showByte(cell, byte);
            if (afterByteRow && !afterByteRow())
                return glyph;
        }
        if (stillLeading && total > 0)
            stillLeading = false;
        if (stillLeading && total == 0) {
            glyph.bytes.clear();
            --workingWidth;
        }
    }
    if (glyph.bytes.empty()) {
        glyph.bytes.assign(std::size_t(2) * settings.bytesHigh(), 0);
        workingWidth = 1;
    }
    glyph.widthValue = workingWidth + settings.space();
    glyph.complete = true;
    return glyph;
}

void drawGuideLines(TGlyphRaster& raster, const TConversionSettings& settings)
{
    for (int i = 0; i < ScanLimit; ++i)
        raster.setPixel(settings.width(), i, Red);
    for (int i = 0; i < ScanLimit; ++i)
        raster.setPixel(i, settings.offset() + settings.height(), Green);
    for (int i = 0; i < ScanLimit; ++i)
        raster.setPixel(i, settings.offset(), Blue);
}
