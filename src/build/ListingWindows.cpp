#include "build/ListingWindows.h"

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
                                      std::optional<int> height)
{
    const TWindowGeometry design = listingWindowDesignSize(window);
    return {left.value_or(0), top.value_or(0), width && *width > 0 ? *width : design.width,
            height && *height > 0 ? *height : design.height};
}
