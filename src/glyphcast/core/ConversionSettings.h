// The converter's settings and options. Invariant: width 1..64, height 1..32, offset 0..16,
// bytesHigh 1..4; every writer goes through the setters, which keep values in range.
#pragma once

#include <string>

struct TSettingRange
{
    int minimum;
    int maximum;
    int clamp(int value) const
    {
        return value < minimum ? minimum : (value > maximum ? maximum : value);
    }
    bool contains(int value) const { return value >= minimum && value <= maximum; }
};

class TConversionSettings
{
public:
    static constexpr TSettingRange WidthRange{1, 64};
    static constexpr TSettingRange HeightRange{1, 32};
    static constexpr TSettingRange OffsetRange{0, 16};
    static constexpr TSettingRange BytesHighRange{1, 4};

    int width() const { return m_width; }
    int height() const { return m_height; }
    int offset() const { return m_offset; }
    int bytesHigh() const { return m_bytesHigh; }
    void setWidth(int value) { m_width = WidthRange.clamp(value); }
    void setHeight(int value) { m_height = HeightRange.clamp(value); }
    void setOffset(int value) { m_offset = OffsetRange.clamp(value); }
    void setBytesHigh(int value) { m_bytesHigh = BytesHighRange.clamp(value); }

    // The space option as the number added to widths: 1 when ticked, else 0.
    int space() const { return spaceAtEnd ? 1 : 0; }

    bool fixedWidth = false;
    bool spaceAtEnd = true;
    bool autoCalculate = true;
    bool includeWidth = true;
    bool includeLabel = true;
    bool labelOffset = true;

    bool check() const;

private:
    int m_width = 15;
    int m_height = 16;
    int m_offset = 0;
    int m_bytesHigh = 2;
};

// The captions beside the four scroll bars, rewritten on every change.
std::string widthCaption(int width);
std::string heightCaption(int height);
std::string offsetCaption(int offset);
std::string bytesHighCaption(int bytesHigh);
