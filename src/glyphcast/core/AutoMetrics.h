// Width, offset, height and bytes high for a whole character set, measured from the ink of
// codes 32..127. A size problem is reported as a flag with its message and leaves the
// offending setting as it was; results below a setting's minimum are raised to it, so the
// settings always stay in range.
#pragma once

#include "glyphcast/core/ConversionSettings.h"
#include "glyphcast/core/GlyphRaster.h"

#include <string>
#include <vector>

inline constexpr const char* FontSizeErrorTitle = "Font size error";
inline constexpr const char* OffsetTooLargeMessage =
    "Font offset to large, please select a smaller font";
inline constexpr const char* FontTooTallMessage = "Font to tall, please select a smaller font";

struct TInkExtent
{
    int maxX = 0;
    int minY = 50;
    int maxY = 0;

    bool anyInk() const { return maxY >= minY; }
};

struct TAutoMetricsResult
{
    TInkExtent extent;
    bool offsetTooLarge = false;
    bool fontTooTall = false;
    // The messages to show, in order.
    std::vector<std::string> messages;

    bool failed() const { return offsetTooLarge || fontTooTall; }
};

// Draws each character and gathers the ink extent over columns 0..55 and rows 0..50.
TInkExtent measureCharacterSet(TGlyphRaster& raster);

// Applies the extent to the settings and reports what could not be applied.
TAutoMetricsResult applyInkExtent(const TInkExtent& extent, TConversionSettings& settings);

inline TAutoMetricsResult calculateAutoMetrics(TGlyphRaster& raster, TConversionSettings& settings)
{
    return applyInkExtent(measureCharacterSet(raster), settings);
}
