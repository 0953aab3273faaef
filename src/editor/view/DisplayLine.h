// A row as the screen shows it: TABs expanded to blanks up to the next tab stop, with the token
// byte of a TAB repeated over its blanks, and the maps between character and column.
// Invariants: Text and Tokens have the same size, the number of columns; ColumnOfChar has one
// entry per character of the row plus one for the end, strictly increasing, starting at 0 and
// ending at Text.size(); a character that is not a TAB takes exactly one column.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TTabStops;

class TDisplayLine
{
public:
    // Lays out length bytes (the row's line break excluded by the caller). attrs may be null:
    // every token is then 0. Buffers are reused, so one object can lay out row after row
    // without allocating.
    void Layout(const char* text, int length, const uint8_t* attrs, const TTabStops& stops);

    int Columns() const { return static_cast<int>(Text.size()); }
    int CharCount() const { return static_cast<int>(ColumnOfChar.size()) - 1; }
    // The character shown at column (a TAB covers several); CharCount() past the end.
    int CharAtColumn(int column) const;

    std::string Text;
    std::vector<uint8_t> Tokens;
    std::vector<int> ColumnOfChar;

    std::string check() const;
};
