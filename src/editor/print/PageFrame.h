// What surrounds the text on a printed page: the header line with the title and the date, the
// rule under it, the page-number line and its rule, and the band left for text.
// Invariants: TextTop <= TextBottom is not promised (a tiny area leaves no band); the pager
// copes with that by printing one row per page.
#pragma once

#include "editor/print/PrintArea.h"

#include <cstdint>
#include <string>

struct TPageFrame
{
    bool BlackOnWhite = false; // header or footer text is drawn, in black on white
    bool Title = false;        // the title, left-aligned in HeaderLine
    bool Date = false;         // date and time, right-aligned in HeaderLine
    TPrintRect HeaderLine;
    int HeaderRuleY = -1;      // -1: no rule
    bool PageNumber = false;   // "- n -", centred in FooterLine
    TPrintRect FooterLine;
    int FooterRuleY = -1;
    int TextTop = 0;           // the first printed row's top
    int TextBottom = 0;        // printed rows end at or above this
};

// The frame of every page for the print options (smoPrintFilename, smoPrintDate,
// smoPrintPageNos) in an area, rows being lineHeight units high. The header takes the first
// line, its rule lies two lines down and text starts on the fourth line; the page number's
// line starts two and a half lines above the bottom, its rule three lines above it, and text
// ends four lines above it.
TPageFrame PageFrameOf(const TPrintRect& area, int lineHeight, uint32_t options);

// "- 7 -": the footer text of page 7.
std::string PageNumberText(int page);
// "     7:": a printed line number, six places wide and a colon.
std::string LineNumberText(int64_t line);
