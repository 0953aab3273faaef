// The colours of the drop-down palette of the dialog's colour buttons: a grid of 4 columns by
// 5 rows, listed column by column, as COLORREF values (0x00BBGGRR).
#pragma once

#include "highlight/ParserSettings.h"

#include <array>

inline constexpr int kPaletteColumns = 4;
inline constexpr int kPaletteRows = 5;

constexpr TColorValue rgbColor(int red, int green, int blue)
{
    return static_cast<TColorValue>(red | (green << 8) | (blue << 16));
}

inline constexpr std::array<TColorValue, kPaletteColumns * kPaletteRows> kPaletteColors = {
    rgbColor(255, 255, 255), rgbColor(255, 0, 0),   rgbColor(0, 255, 0),     rgbColor(0, 0, 255),
    rgbColor(191, 215, 191), rgbColor(0, 0, 0),     rgbColor(127, 0, 0),     rgbColor(0, 127, 0),
    rgbColor(0, 0, 127),     rgbColor(159, 191, 239), rgbColor(191, 191, 191), rgbColor(255, 255, 0),
    rgbColor(0, 255, 255),   rgbColor(255, 0, 255), rgbColor(255, 247, 239), rgbColor(127, 127, 127),
    rgbColor(127, 127, 0),   rgbColor(0, 127, 127), rgbColor(127, 0, 127),   rgbColor(159, 159, 159),
};

// column and row count from 0.
constexpr TColorValue paletteColor(int column, int row)
{
    return kPaletteColors[static_cast<size_t>(column * kPaletteRows + row)];
}
