// Turning one drawn character into column bytes: 8 vertical pixels per byte, bit 0 the top
// pixel, bytes column-major (all byte rows of column 0, then column 1, ...). Leading columns
// without ink are dropped; a character without any ink becomes two blank columns.
#pragma once

#include "glyphcast/core/ConversionSettings.h"
#include "glyphcast/core/GlyphRaster.h"
#include "glyphcast/core/PreviewGrid.h"

#include <functional>
#include <vector>

struct TSampledGlyph
{
    // Written before the bytes: the working width plus the space option.
    int widthValue = 0;
    std::vector<int> bytes;
    // False when the byte-row callback asked to stop; the glyph is then incomplete.
    bool complete = false;

    int columnCount(int bytesHigh) const { return int(bytes.size()) / bytesHigh; }
};

// Called after every byte row; returning false stops the sampling at once.
using ByteRowCallback = std::function<bool()>;

// The rightmost column 0..55 holding ink in rows 0..55, or 0 when there is none.
int measureWidth(const TGlyphRaster& raster);

// Draws the character, samples it with the current settings, shows it on the grid and paints
// every sampled ink pixel green.
TSampledGlyph sampleCharacter(TGlyphRaster& raster, int code, const TConversionSettings& settings,
                              TPreviewGrid& grid, const ByteRowCallback& afterByteRow = {});

// Red line at the width column, green at row offset + height, blue at the offset row; drawn
// over whatever the raster holds.
void drawGuideLines(TGlyphRaster& raster, const TConversionSettings& settings);
