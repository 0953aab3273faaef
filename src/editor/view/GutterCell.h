// What the gutter shows beside a row: a bookmark image, a mark image, the line number or
// nothing. A bookmark wins over a mark, and either takes the place of the line number; a row
// that continues a line shows no number. A breakpoint's image takes the place of the row's mark
// image.
#pragma once

#include <cstdint>

struct TTextRow;

struct TGutterCell
{
    enum Kind { Empty, Bookmark, Mark, LineNumber };
    Kind What = Empty;
    int64_t Value = 0; // bookmark number, mark image number or 1-based line number
    int Image = -1;    // the mark or breakpoint image, also beside a bookmark; -1 for none
};

// lineNumber is the number the row's line would show; lineNumbers says whether numbers are
// shown at all (gutter and line numbers both on).
// breakpointImage is the image of a breakpoint shown on the row, -1 for none.
TGutterCell GutterCellOf(const TTextRow& row, int64_t lineNumber, bool lineNumbers, int breakpointImage = -1);
