// Word wrap: the lines of the document are cut into rows that fit the wrap width, breaking
// after blanks, and joined back into rows of at most 2047 bytes when word wrap is off. Only row
// boundaries move; the text, positions and token bytes stay as they are, so re-flowing never
// touches the undo log or the highlighting.
// Text is laid out as the view draws it: on the character grid, where every byte takes
// CharWidth pixels, or, for a proportional face, at each byte's own advance; a TAB runs to
// the next tab stop (a cell edge), counted from the start of its row.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TTabStops;
class TTextStore;

// An edit-control word-break procedure asked for the break left of current (code 0) in the
// count bytes at text; it returns the offset, within text, where the row breaks.
using TWordBreakProc = std::function<int(const char* text, int current, int count, int code)>;

struct TWrapRule
{
    static constexpr int kFitFreeChars = 5; // characters a row takes before the fit test starts

    bool WordWrap = false;
    int WrapWidth = 8; // pixels, at least 1
    int CharWidth = 7; // pixels per column
    // With UseOverride, a line whose first character is one of OverrideChars is not wrapped.
    bool UseOverride = false;
    std::string OverrideChars = ">|:";
    const TTabStops* Tabs = nullptr; // null: a TAB takes one column
    // The pixel advance of each byte in the default style's face; null: every byte one cell.
    const std::array<double, 256>* Advances = nullptr;
    TWordBreakProc WordBreakProc;   // replaces the break-after-blanks rule when set
};

// The wrap width in pixels for a view: WrapAtColumn columns when above 0, else the client
// width less the text's left edge and twice a vertical scroll bar; below 1 it becomes 8.
int WrapWidthFor(int wrapAtColumn, int charWidth, int clientWidth, int textLeft, int scrollBarWidth);

// A byte that ends a word for wrapping: blanks and controls (32 and below) and 160.
inline bool IsWrapDelimiter(unsigned char c)
{
    return c <= 32 || c == 160;
}

// The lengths of the rows a line of length bytes (its CR included when it has one) is cut
// into under rule; they add up to length, each is 1..2047, and only the last holds the CR.
void SplitLine(const char* text, int length, const TWrapRule& rule, std::vector<int>& rows);

struct TReflowResult
{
    int64_t FirstRow = 0;   // index of the first row of the first line looked at
    int64_t RowsBefore = 0; // rows those lines had
    int64_t RowsAfter = 0;  // rows they have now
    int64_t LinesRecut = 0; // lines whose rows changed
};

// Re-flows the lines holding rows firstRow..lastRow (clamped; firstRow below 0 means the
// whole document). Lines whose rows already match the rule are left untouched.
TReflowResult Reflow(TTextStore& store, int64_t firstRow, int64_t lastRow, const TWrapRule& rule);
