// The glyph raster drawn by Qt: a 59 x 59 white image at 96 dots per inch (15 twips a pixel)
// into which one character is drawn in the current font with the platform's text rendering.
#pragma once

#include "glyphcast/core/GlyphRaster.h"

#include <QFont>
#include <QImage>

class TQtGlyphRaster : public TGlyphRaster
{
public:
    TQtGlyphRaster();

    const QFont& font() const { return m_font; }
    void setFont(const QFont& font) { m_font = font; }
    const QImage& image() const { return m_image; }

    void clear() override;
    void drawCharacter(int code) override;
    int32_t pixel(int x, int y) const override;
    void setPixel(int x, int y, int32_t colour) override;

private:
    QFont m_font;
    QImage m_image;
};
