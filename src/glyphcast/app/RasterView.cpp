#include "glyphcast/app/RasterView.h"

#include "glyphcast/app/QtGlyphRaster.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int Border = 1;
}

TRasterView::TRasterView(const TQtGlyphRaster& raster, QWidget* parent)
    : QWidget(parent), m_raster(raster)
{
    setMouseTracking(true);
    setFixedSize(glyph::RasterSize + 2 * Border, glyph::RasterSize + 2 * Border);
}

void TRasterView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, width() - 1, height() - 1);
    painter.drawImage(Border, Border, m_raster.image());
}

void TRasterView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    emit pointerMoved(position.x() - Border, position.y() - Border);
}
