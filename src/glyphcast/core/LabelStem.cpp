#include "glyphcast/core/LabelStem.h"

#include <cmath>
#include <cstdint>

std::string sizeCaption(double pointSize, char decimalSeparator)
{
    if (!std::isfinite(pointSize))
        return "0";
    // Money values are fixed-point with four decimals.
    const bool negative = pointSize < 0;
    const auto tenThousandths = int64_t(std::llround(std::fabs(pointSize) * 10000.0));
    std::string text =
        (negative && tenThousandths != 0 ? "-" : "") + std::to_string(tenThousandths / 10000);
    std::string decimals = std::to_string(10000 + tenThousandths % 10000).substr(1);
    while (!decimals.empty() && decimals.back() == '0')
        decimals.pop_back();
    if (!decimals.empty())
        text += decimalSeparator + decimals;
    return text;
}

namespace {

std::string firstFivePadded(const std::string& text)
{
    std::string five = text.substr(0, 5);
    five.resize(5, ' ');
    return five;
}

} // namespace

std::string defaultLabelStem(const std::string& fontName, bool bold, bool italic,
                             const std::string& sizeCaptionText)
{
    std::string name = firstFivePadded(fontName);
    for (char& c : name)
        if (c == ' ')
            c = '_';
    std::string size = firstFivePadded(sizeCaptionText);
    for (char& c : size)
        if (c == '.' || c == ',')
            c = 'o';
    return name + (bold ? "_B" : "__") + (italic ? "I_" : "__") + size;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}
