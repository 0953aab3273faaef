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
    // The bar as a slider whose thumb is one view high and runs over 0..Maximum (top rows,
    // scaled). A document that fits the view from its top has Maximum 0: no bar is needed.
    // Scrolled further down than the document needs, Maximum is the top row, so the thumb
    // stands at the end of the track and the top can be reached again.
    int Maximum = 0;
    int ViewPage = 0; // the thumb's size: the view's rows, scaled, at least 1
};

int64_t ScrollScale(int64_t rowCount);

// rowCount rows, visibleRows of them fit, topRow is the first shown. Page shrinks to the rows
// left below topRow when the document ends inside the view; ViewPage does not.
TVerticalScroll VerticalScroll(int64_t rowCount, int64_t visibleRows, int64_t topRow);

// The top row for a thumb dragged to position, clamped so the last row can still be reached
// but not scrolled past.
int64_t TopRowForThumb(int64_t rowCount, int position);
