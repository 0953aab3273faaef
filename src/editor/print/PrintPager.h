// Lays a document, or the lines of a selection, out on pages: row after row from the top of
// each page's text band, cut to the paper width with print wrap, numbered on the first printed
// row of each line. Pages are handed to a sink as they are reached, so nothing of the layout
// is kept: a print of any length needs the memory of one row.
#pragma once

#include "editor/print/PrintArea.h"

#include <cstdint>

class TTabStops;
class TTextStore;
struct TTextRow;

// The lines to print, 0-based and inclusive; nothing when Last < First.
struct TPrintLines
{
    int64_t First = 0;
    int64_t Last = -1;
};

// Every line of the document.
TPrintLines DocumentLines(const TTextStore& store);
// The lines of the selection [start, end) (either order): from the line holding its start to
// the line holding its end, less that last line when a non-empty selection ends exactly where
// it begins. An empty selection prints the line it is in.
TPrintLines SelectionLines(TTextStore& store, int64_t start, int64_t end);

// One printed row: characters [First, First + Count) of the row, drawn from TextLeft at Y.
struct TPrintedRow
{
    const TTextRow* Row = nullptr;
    int64_t RowStart = 0;   // offset of the row's first character in the document
    int First = 0;
    int Count = 0;
    int64_t LineNumber = 0; // 1-based; 0 for a row that continues a line
    int Page = 1;
    int Y = 0;
    int NumberLeft = 0;     // where a line number starts; it is clipped at TextLeft
    int TextLeft = 0;
    int Right = 0;          // text is clipped here
};

class TPrintSink
{
public:
    virtual ~TPrintSink() = default;
    // Page page (from 1) begins: the sink starts it, draws its frame and answers the band the
    // rows go in: Left where line numbers start, Right the clip edge, rows from Top down to
    // Bottom. The first page begins before any row, even when there is none.
    virtual TPrintRect BeginPage(int page) = 0;
    virtual void PrintRow(const TPrintedRow& row) = 0;
};

struct TPrintSettings
{
    uint32_t Options = 0; // smoPrintWrap and smoPrintLineNos count here
    int CharWidth = 7;    // printer units
    int LineHeight = 17;  // printer units
};

struct TPrintCounts
{
    int Pages = 0;
    int64_t Rows = 0; // printed rows
};

// Prints lines through sink. A band too low for one row still takes one row per page, so the
// print always ends.
TPrintCounts PrintLines(const TTextStore& store, const TPrintLines& lines, const TPrintSettings& settings,
                        const TTabStops& tabs, TPrintSink& sink);
