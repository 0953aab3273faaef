// The 32 x 32 preview of one sampled character as the LCD will show it. Cell k lies in grid
// column k / 32 and grid row k % 32. Invariant: exactly CellCount cells, each hidden, hollow
// (bit clear) or filled (bit set).
#pragma once

#include <array>
#include <cstdint>

class TPreviewGrid
{
public:
    enum class Cell : uint8_t
    {
        Hidden,
        Hollow,
        Filled
    };
    static constexpr int Side = 32;
    static constexpr int CellCount = Side * Side;

    TPreviewGrid() { hideAll(); }

    void hideAll() { m_cells.fill(Cell::Hidden); }
    // Shows one column's byte at the next cells of a column cursor; cursors beyond the grid
    // pile up on the last cell.
    void showByte(int& index, int byte);
    Cell cell(int index) const { return m_cells[index]; }
    Cell cellAt(int gridColumn, int gridRow) const { return m_cells[gridColumn * Side + gridRow]; }

    bool check() const;

private:
    std::array<Cell, CellCount> m_cells{};
};
