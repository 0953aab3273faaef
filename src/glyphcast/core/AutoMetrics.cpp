#include "glyphcast/core/AutoMetrics.h"

using namespace glyph;

namespace {
constexpr int LastScannedRow = 50;
constexpr int FirstCode = 32;
constexpr int LastCode = 127;
} // namespace

TInkExtent measureCharacterSet(TGlyphRaster& raster)
{
    TInkExtent extent;
    for (int code = FirstCode; code <= LastCode; ++code) {
        raster.drawCharacter(code);
        for (int x = 0; x < ScanLimit; ++x) {
            for (int y = 0; y <= LastScannedRow; ++y) {
                if (!raster.isInkAt(x, y))
                    continue;
                if (x > extent.maxX)
                    extent.maxX = x;
                if (y < extent.minY)
                    extent.minY = y;
                if (y > extent.maxY)
                    extent.maxY = y;
            }
        }
    }
    return extent;
}

TAutoMetricsResult applyInkExtent(const TInkExtent& extent, TConversionSettings& settings)
{
    TAutoMetricsResult result;
    result.extent = extent;
    settings.setWidth(extent.maxX + settings.space());

    if (extent.minY > TConversionSettings::OffsetRange.maximum) {
        result.offsetTooLarge = true;
        result.messages.push_back(OffsetTooLargeMessage);
    } else {
        settings.setOffset(extent.minY);
    }

    // Without any ink there is no span to measure: height and bytes high stay as they are.
    if (!extent.anyInk())
        return result;
    const int span = extent.maxY - extent.minY;
    if (span <= TConversionSettings::HeightRange.maximum)
        settings.setHeight(span);
    const int bytesNeeded = (span + 7) / 8;
    if (bytesNeeded > TConversionSettings::BytesHighRange.maximum) {
        result.fontTooTall = true;
        result.messages.push_back(FontTooTallMessage);
    } else {
        settings.setBytesHigh(bytesNeeded);
    }
    return result;
}
