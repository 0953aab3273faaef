#include "build/ListingWindows.h"

#include <algorithm>

TListingWindowKeys listingWindowKeys(ListingWindow window)
{
    switch (window) {
    case ListingWindow::Assembler:
        return {"EDITOR", "ASM_WIDTH", "ASM_LEFT", "ASM_TOP", "ASM_HEIGHT"};
    case ListingWindow::ProgramData:
        return {"CODE", "HEX_WIDTH", "HEX_LEFT", "HEX_TOP", "HEX_HEIGHT"};
    case ListingWindow::EepromData:
        break;
    }
    return {"EEPROM", "DATA_WIDTH", "DATA_LEFT", "DATA_TOP", "DATA_HEIGHT"};
}

TWindowGeometry listingWindowDesignSize(ListingWindow window)
{
    switch (window) {
    case ListingWindow::Assembler:
        return {0, 0, 402, 500};
    case ListingWindow::ProgramData:
        return {0, 0, 568, 262};
    case ListingWindow::EepromData:
        break;
    }
    return {0, 0, 481, 169};
}

TWindowGeometry listingWindowGeometry(ListingWindow window, std::optional<int> left,
                                      std::optional<int> top, std::optional<int> width,
                                      std::optional<int> height, const TWindowGeometry& area)
{
    const TWindowGeometry design = listingWindowDesignSize(window);
    // The shipped settings hold 0 for all four keys, and a window that was ever shown saves
    // its real size: with no size saved, the place was never saved either.
    const bool sizeSaved = (width && *width > 0) || (height && *height > 0);
    if (!sizeSaved) {
        left.reset();
        top.reset();
    }
    TWindowGeometry geometry{0, 0, width && *width > 0 ? *width : design.width,
                             height && *height > 0 ? *height : design.height};
    // Below the menu and tool bar, clear of the right edge; each window one step further in.
    constexpr int belowToolBar = 120;
    constexpr int rightMargin = 40;
    constexpr int step = 32;
    const int index = static_cast<int>(window);
    geometry.left = left.value_or(area.left + std::max(0, area.width - geometry.width - rightMargin - step * index));
    geometry.top = top.value_or(area.top + std::min(belowToolBar + step * index, std::max(0, area.height - geometry.height)));
    return geometry;
}
