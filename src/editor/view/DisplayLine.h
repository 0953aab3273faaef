// A row as the screen shows it: TABs expanded to blanks up to the next tab stop, with the token
// byte of a TAB repeated over its blanks, the maps between character and column, and, once
// placed, the x of every column edge.
// Invariants: Text and Tokens have the same size, the number of columns; ColumnOfChar has one
// entry per character of the row plus one for the end, strictly increasing, starting at 0 and
// ending at Text.size(); a character that is not a TAB takes exactly one column. After Place,
// X has one entry per column edge (Columns() + 1), starting at 0 and never decreasing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TTabStops;

// How wide each byte is drawn in each of the eight faces (face = bold | italic << 1 |
// underline << 2), in pixels, and the width of the cells that tab stops, the space past a
// line end and horizontal scrolling count in. A fixed-pitch face gives every byte one cell,
// so columns and pixels agree exactly.
struct TGlyphAdvances
{
    double CellWidth = 7;
    std::array<std::array<double, 256>, 8> Advance{};

    static TGlyphAdvances Grid(double cellWidth);
};

class TDisplayLine
{
public:
    // Lays out length bytes (the row's line break excluded by the caller). attrs may be null:
    // every token is then 0. Buffers are reused, so one object can lay out row after row
    // without allocating.
    void Layout(const char* text, int length, const uint8_t* attrs, const TTabStops& stops);
    // Places the columns laid out: each byte advances by its width in the face its token is
    // shown in; a TAB reaches its tab stop's cell edge, or one blank further when the text
    // before it is already past that edge.
    void Place(const TGlyphAdvances& advances, const std::array<uint8_t, 256>& faceOfToken);

    int Columns() const { return static_cast<int>(Text.size()); }
    int CharCount() const { return static_cast<int>(ColumnOfChar.size()) - 1; }
    // The character shown at column (a TAB covers several); CharCount() past the end.
    int CharAtColumn(int column) const;

    // After Place. The x of a column's left edge; columns past the end continue in cells.
    double XOfColumn(int column) const;
    // The column edge nearest to x (past the end, counted on in cells; never below 0).
    int ColumnNearest(double x) const;
    // The column whose cell holds x (past the end, counted on in cells; never below 0).
    int ColumnUnder(double x) const;

    std::string Text;
    std::vector<uint8_t> Tokens;
    std::vector<int> ColumnOfChar;
    std::vector<double> X;

    std::string check() const;

private:
    std::vector<bool> m_tabAt; // per character: the character is a TAB
    double m_cellWidth = 7;
};
