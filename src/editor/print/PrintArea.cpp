#include "editor/print/PrintArea.h"

#include <algorithm>

int MarginUnits(int dpi, int thousandths)
{
    const int64_t product = static_cast<int64_t>(std::max(dpi, 0)) * std::max(thousandths, 0);
    return static_cast<int>((product + 500) / 1000);
}

TPrintRect PrintAreaOf(int pageWidth, int pageHeight, int dpiX, int dpiY, const TPageMargins& margins)
{
    const int width = std::max(pageWidth, 1);
    const int height = std::max(pageHeight, 1);
    TPrintRect area;
    area.Left = std::min(MarginUnits(dpiX, margins.Left), width - 1);
    area.Top = std::min(MarginUnits(dpiY, margins.Top), height - 1);
    area.Right = std::max(width - MarginUnits(dpiX, margins.Right), area.Left + 1);
    area.Bottom = std::max(height - MarginUnits(dpiY, margins.Bottom), area.Top + 1);
    return area;
}
