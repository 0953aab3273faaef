// Shows the glyph raster at its real size and reports the pointer's raster coordinates.
#pragma once

#include <QWidget>

class TQtGlyphRaster;

class TRasterView : public QWidget
{
    Q_OBJECT
public:
    TRasterView(const TQtGlyphRaster& raster, QWidget* parent);

signals:
    void pointerMoved(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const TQtGlyphRaster& m_raster;
};
