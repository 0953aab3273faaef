#include "glyphcast/core/PreviewGrid.h"

void TPreviewGrid::showByte(int& index, int byte)
{
    for (int bit = 0; bit < 8; ++bit) {
        if (index > CellCount - 1)
            index = CellCount - 1;
        if (index < 0)
            index = 0;
        m_cells[index] = (byte >> bit) & 1 ? Cell::Filled : Cell::Hollow;
        ++index;
    }
}

bool TPreviewGrid::check() const
{
    for (Cell cell : m_cells)
        if (cell != Cell::Hidden && cell != Cell::Hollow && cell != Cell::Filled)
            return false;
    return true;
}
