#include "editor/view/GutterCell.h"

#include "editor/text/TextRow.h"

namespace {

int highestBit(uint16_t bits)
{
    int n = -1;
    for (int i = 0; i < 16; ++i) {
        if (bits & (1u << i))
            n = i;
    }
    return n;
}

} // namespace

TGutterCell GutterCellOf(const TTextRow& row, int64_t lineNumber, bool lineNumbers, int breakpointImage)
{
    const int image = breakpointImage >= 0 ? breakpointImage : row.MarkBits ? highestBit(row.MarkBits) : -1;
    if (const uint16_t bookmarks = row.RowBits & rbBookmarkMask)
        return {TGutterCell::Bookmark, highestBit(bookmarks), image};
    if (image >= 0)
        return {TGutterCell::Mark, image, image};
    if (lineNumbers && !row.IsContinuation())
        return {TGutterCell::LineNumber, lineNumber};
    return {};
}
