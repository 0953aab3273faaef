#include "glyphcast/app/GridView.h"

#include "glyphcast/core/PreviewGrid.h"

#include <QPainter>

TGridView::TGridView(const TPreviewGrid& grid, QWidget* parent) : QWidget(parent), m_grid(grid)
{
    const int side = TPreviewGrid::Side * Pitch + 1;
    setFixedSize(side, side);
}

void TGridView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    for (int k = 0; k < TPreviewGrid::CellCount; ++k) {
        const TPreviewGrid::Cell cell = m_grid.cell(k);
        if (cell == TPreviewGrid::Cell::Hidden)
            continue;
        const QRect square((k / TPreviewGrid::Side) * Pitch, (k % TPreviewGrid::Side) * Pitch,
                           CellSide, CellSide);
        if (cell == TPreviewGrid::Cell::Filled)
            painter.fillRect(square, Qt::black);
        else
            painter.drawRect(square.adjusted(0, 0, -1, -1));
    }
}
