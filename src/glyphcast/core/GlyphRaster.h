// The 59 x 59 drawing surface one character is rendered into, read back pixel by pixel.
// Colours are packed as red + 256 * green + 65536 * blue; a pixel outside the surface reads
// as -1, which the ink test counts as ink, so sampling past the edge yields set bits.
#pragma once

#include <cstdint>

namespace glyph {

constexpr int RasterSize = 59;
// Sampling and measuring scan this many columns and rows (0..55).
constexpr int ScanLimit = 56;

constexpr int32_t packColour(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

constexpr int32_t White = packColour(255, 255, 255);
constexpr int32_t Black = packColour(0, 0, 0);
constexpr int32_t Red = packColour(255, 0, 0);
constexpr int32_t Green = packColour(0, 255, 0);
constexpr int32_t Blue = packColour(0, 0, 255);
constexpr int32_t OutsideRaster = -1;

// Anything darker than this packed value is ink: greys with equal components up to 183 are
// ink, 184 and lighter are not, and pure green (a sampled mark) stays ink.
constexpr int32_t InkThreshold = 12077215;

constexpr bool isInk(int32_t colour)
{
    return colour < InkThreshold;
}

constexpr bool insideRaster(int x, int y)
{
    return x >= 0 && y >= 0 && x < RasterSize && y < RasterSize;
}

} // namespace glyph

// What the sampler needs of a raster. drawCharacter clears the surface to white and draws the
// character of the given ANSI code with its cell's top-left corner at (0, 0). setPixel ignores
// coordinates outside the surface; pixel returns OutsideRaster for them.
class TGlyphRaster
{
public:
    virtual ~TGlyphRaster() = default;
    virtual void clear() = 0;
    virtual void drawCharacter(int code) = 0;
    virtual int32_t pixel(int x, int y) const = 0;
    virtual void setPixel(int x, int y, int32_t colour) = 0;

    bool isInkAt(int x, int y) const { return glyph::isInk(pixel(x, y)); }
};
