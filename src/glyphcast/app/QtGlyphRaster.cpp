#include "glyphcast/app/QtGlyphRaster.h"

#include <QFontMetrics>
#include <QPainter>

using namespace glyph;

namespace {
// 96 dots per inch, the screen resolution at which a pixel is 15 twips.
constexpr int DotsPerMeter = 3780;
} // namespace

TQtGlyphRaster::TQtGlyphRaster()
    : m_font(QStringLiteral("Arial")), m_image(RasterSize, RasterSize, QImage::Format_RGB32)
{
    m_font.setPointSizeF(9.75);
    m_image.setDotsPerMeterX(DotsPerMeter);
    m_image.setDotsPerMeterY(DotsPerMeter);
    clear();
}

void TQtGlyphRaster::clear()
{
    m_image.fill(Qt::white);
}

void TQtGlyphRaster::drawCharacter(int code)
{
    clear();
    QPainter painter(&m_image);
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    // Codes 32..127 are the same in the ANSI code page and in Latin-1.
    const QString character(QChar(char16_t(code & 0xFF)));
    const QFontMetrics metrics(m_font, &m_image);
    painter.drawText(QPoint(0, metrics.ascent()), character);
}

int32_t TQtGlyphRaster::pixel(int x, int y) const
{
    if (!insideRaster(x, y))
        return OutsideRaster;
    const QRgb rgb = m_image.pixel(x, y);
    return packColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

void TQtGlyphRaster::setPixel(int x, int y, int32_t colour)
{
    if (!insideRaster(x, y))
        return;
    m_image.setPixel(x, y, qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
}
