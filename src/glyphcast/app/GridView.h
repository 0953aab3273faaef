// Paints the 32 x 32 preview grid: 9-pixel cells on an 8-pixel pitch, so neighbours share
// their border line; hidden cells are not drawn, hollow ones outlined, filled ones solid.
#pragma once

#include <QWidget>

class TPreviewGrid;

class TGridView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Pitch = 8;
    static constexpr int CellSide = 9;

    TGridView(const TPreviewGrid& grid, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TPreviewGrid& m_grid;
};
