// The printable rectangle of a page: the whole sheet less the page set-up margins, in the
// printer's device units.
#pragma once

#include <cstdint>

// A rectangle in printer device units; right and bottom are the edges past the last unit.
struct TPrintRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TPrintRect&) const = default;
};

// Page set-up margins in thousandths of an inch.
struct TPageMargins
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TPageMargins&) const = default;
};

// The sheet (0, 0, pageWidth, pageHeight) with each edge moved inwards by the resolution times
// its margin divided by 1000, rounded to the nearest unit (halves away from zero). Negative
// margins count as 0. Margins that meet or cross leave an area one unit wide or high at the
// place the near edge reached, inside the sheet, so a print still has somewhere to go.
TPrintRect PrintAreaOf(int pageWidth, int pageHeight, int dpiX, int dpiY, const TPageMargins& margins);

// dpi * thousandths / 1000, rounded to the nearest whole number, halves away from zero.
int MarginUnits(int dpi, int thousandths);
