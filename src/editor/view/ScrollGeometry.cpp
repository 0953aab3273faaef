#include "editor/view/ScrollGeometry.h"

#include <algorithm>

int64_t ScrollScale(int64_t rowCount)
{
    return std::max<int64_t>(rowCount, 0) / 32000 + 1;
}

TVerticalScroll VerticalScroll(int64_t rowCount, int64_t visibleRows, int64_t topRow)
{
    const int64_t scale = ScrollScale(rowCount);
    const int64_t page = std::min(visibleRows, std::max<int64_t>(rowCount - topRow, 0));
    TVerticalScroll scroll{static_cast<int>(rowCount / scale), static_cast<int>(page / scale),
                           static_cast<int>(topRow / scale)};
    scroll.ViewPage = static_cast<int>(std::max<int64_t>(visibleRows / scale, 1));
    // A longer document scrolls until its last row and the empty line after it show.
    const int needed = rowCount > visibleRows ? scroll.Range - scroll.ViewPage + 1 : 0;
    scroll.Maximum = std::max({needed, scroll.Position, 0});
    return scroll;
}

int64_t TopRowForThumb(int64_t rowCount, int position)
{
    const int64_t row = static_cast<int64_t>(position) * ScrollScale(rowCount);
    return std::clamp<int64_t>(row, 0, std::max<int64_t>(rowCount - 1, 0));
}
