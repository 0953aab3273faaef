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

TGutterCell GutterCellOf(const TTextRow& row, int64_t lineNumber, bool lineNumbers)
{
    if (const uint16_t bookmarks = row.RowBits & rbBookmarkMask)
        return {TGutterCell::Bookmark, highestBit(bookmarks)};
    if (row.MarkBits)
        return {TGutterCell::Mark, highestBit(row.MarkBits)};
    if (lineNumbers && !row.IsContinuation())
        return {TGutterCell::LineNumber, lineNumber};
    return {};
}
