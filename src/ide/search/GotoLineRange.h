// The line-number check of the Goto line dialog and where the view goes afterwards.
// Invariant: Minimum <= Maximum.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct TGotoLineRange
{
    int64_t Minimum = 1;
    int64_t Maximum = 1;

    // The range for a document of lineCount lines: 1 to one past the last line.
    static TGotoLineRange ForLines(int64_t lineCount);

    // The value of text when it is a whole number (blanks around it allowed, an optional
    // sign) within the range; none otherwise, including numbers too large to hold.
    std::optional<int64_t> Accept(std::string_view text) const;
    // "Value must be between 1 and 11".
    std::string Warning() const;
};

// The top row that puts row in the middle of a view of clientHeight pixels with lines of
// lineHeight pixels: row minus half the visible rows, never above the first row.
int64_t centredTopRow(int64_t row, int clientHeight, int lineHeight);
