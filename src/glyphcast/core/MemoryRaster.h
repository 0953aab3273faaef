// A raster held in memory whose characters are given as pixel lists: the exact, platform-free
// stand-in for rendered text, used wherever a known picture of a glyph is wanted.
// Invariant: the surface always holds RasterSize * RasterSize packed colours.
#pragma once

#include "glyphcast/core/GlyphRaster.h"

#include <map>
#include <vector>

class TMemoryRaster : public TGlyphRaster
{
public:
    struct Dot
    {
        int x;
        int y;
        int32_t colour;
    };

    TMemoryRaster();

    // The picture drawCharacter produces for code; codes without one draw nothing.
    void defineCharacter(int code, std::vector<Dot> dots);
    // Convenience: black ink on the rectangle of columns x0..x1 and rows y0..y1.
    void addInk(int code, int x0, int x1, int y0, int y1);

    void clear() override;
    void drawCharacter(int code) override;
    int32_t pixel(int x, int y) const override;
    void setPixel(int x, int y, int32_t colour) override;

    bool check() const;

private:
    std::vector<int32_t> m_pixels;
    std::map<int, std::vector<Dot>> m_characters;
};
