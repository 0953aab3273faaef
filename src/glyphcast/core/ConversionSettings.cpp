#include "glyphcast/core/ConversionSettings.h"

bool TConversionSettings::check() const
{
    return WidthRange.contains(m_width) && HeightRange.contains(m_height) &&
           OffsetRange.contains(m_offset) && BytesHighRange.contains(m_bytesHigh);
}

// The width caption counts columns (0..width), hence the + 1.
std::string widthCaption(int width)
{
    return "Width " + std::to_string(width + 1);
}

std::string heightCaption(int height)
{
    return "Height " + std::to_string(height);
}

std::string offsetCaption(int offset)
{
    return "Offset " + std::to_string(offset);
}

std::string bytesHighCaption(int bytesHigh)
{
    return std::to_string(bytesHigh) + " Bytes High";
}
