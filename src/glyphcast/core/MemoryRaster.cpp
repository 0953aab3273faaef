#include "glyphcast/core/MemoryRaster.h"

#include <cstddef>

using namespace glyph;

namespace {
constexpr std::size_t PixelCount = std::size_t(RasterSize) * RasterSize;
}

TMemoryRaster::TMemoryRaster() : m_pixels(PixelCount, White) {}

void TMemoryRaster::defineCharacter(int code, std::vector<Dot> dots)
{
    m_characters[code] = std::move(dots);
}

void TMemoryRaster::addInk(int code, int x0, int x1, int y0, int y1)
{
    auto& dots = m_characters[code];
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            dots.push_back({x, y, Black});
}

void TMemoryRaster::clear()
{
    m_pixels.assign(PixelCount, White);
}

void TMemoryRaster::drawCharacter(int code)
{
    clear();
    auto found = m_characters.find(code);
    if (found == m_characters.end())
        return;
    for (const Dot& dot : found->second)
        setPixel(dot.x, dot.y, dot.colour);
}

int32_t TMemoryRaster::pixel(int x, int y) const
{
    if (!insideRaster(x, y))
        return OutsideRaster;
    return m_pixels[y * RasterSize + x];
}

void TMemoryRaster::setPixel(int x, int y, int32_t colour)
{
    if (insideRaster(x, y))
        m_pixels[y * RasterSize + x] = colour;
}

bool TMemoryRaster::check() const
{
    if (m_pixels.size() != PixelCount)
        return false;
    for (int32_t colour : m_pixels)
        if (colour < 0 || colour > White)
            return false;
    return true;
}
