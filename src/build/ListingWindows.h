// The three listing windows' settings keys and the geometry they open with. Stored values are
// used as they are; a width or height that is absent (or not positive, which would give an
// unusable window) is the window's design size. An absent left or top (a first start) places
// the window inside the screen's working area, at its right below the main window's menus and
// tool bar, each of the three a little further in, so none opens over the menu at (0, 0).
#pragma once

#include <optional>
#include <string_view>

enum class ListingWindow
{
    Assembler,
    ProgramData,
    EepromData
};

struct TListingWindowKeys
{
    std::string_view section;
    std::string_view width;
    std::string_view left;
    std::string_view top;
    std::string_view height;
};

struct TWindowGeometry
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const TWindowGeometry&) const = default;
};

// [EDITOR] ASM_*, [CODE] HEX_* and [EEPROM] DATA_*.
TListingWindowKeys listingWindowKeys(ListingWindow window);
// 402 x 500, 568 x 262 and 481 x 169.
TWindowGeometry listingWindowDesignSize(ListingWindow window);

// area: the working area of the screen the window opens on. Without a saved size (keys absent
// or 0, as shipped) the window opens at its first-start place below the menus, whatever the
// saved place says.
TWindowGeometry listingWindowGeometry(ListingWindow window, std::optional<int> left,
                                      std::optional<int> top, std::optional<int> width,
                                      std::optional<int> height, const TWindowGeometry& area);
