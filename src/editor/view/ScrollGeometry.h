// The vertical scroll bar of a view over many rows. Scroll bars work in 16-bit-safe ranges, so
// range, page and position are divided by ScrollScale (RowCount / 32000 + 1) and a thumb
// position read back is multiplied by it.
#pragma once

#include <cstdint>

struct TVerticalScroll
{
    int Range = 0;    // maximum, in scaled units
    int Page = 0;     // visible rows, scaled
    int Position = 0; // top row, scaled
};

int64_t ScrollScale(int64_t rowCount);

// rowCount rows, visibleRows of them fit, topRow is the first shown. The page shrinks to the
// rows left below topRow when the document ends inside the view.
TVerticalScroll VerticalScroll(int64_t rowCount, int64_t visibleRows, int64_t topRow);

// The top row for a thumb dragged to position, clamped so the last row can still be reached
// but not scrolled past.
int64_t TopRowForThumb(int64_t rowCount, int position);
