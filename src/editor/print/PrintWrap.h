// Cutting a row of text into printed rows that fit the paper: cuts fall after blanks, widths
// count TABs in the columns they expand to.
#pragma once

class TTabStops;

// The characters a printed row holds: (right edge - text left) / character width - 1, and at
// least 1 so that every printed row makes progress.
int FittingColumns(int right, int textLeft, int charWidth);

// Where the printed row that starts at from ends (exclusive) in text[0..length), the line
// break excluded. The row is measured in columns from its own start, a TAB reaching the next
// tab stop. When the rest does not fit in fit columns, the cut goes back to just after the last
// blank (a byte of 32 or less) at or before the first character that no longer fits, then on
// over the blanks that follow, so blanks end a printed row; without a blank in reach the row
// is cut where it stops fitting. Always at least one character past from.
int PrintedRowEnd(const char* text, int length, int from, int fit, const TTabStops& tabs);
