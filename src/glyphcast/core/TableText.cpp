#include "glyphcast/core/TableText.h"

namespace {

constexpr const char* LineEnd = "\r\n";

std::string line(const std::string& text)
{
    return text + LineEnd;
}

std::string pointerTable(const std::string& label, const TConversionSettings& settings)
{
    std::string table = "Cdata     ";
    for (int code = FirstCharacterCode; code <= LastCharacterCode; ++code) {
        if (code != FirstCharacterCode)
            table += ",";
        table += label + "_" + std::to_string(labelNumber(code, settings));
    }
    return table;
}

} // namespace

int labelNumber(int code, const TConversionSettings& settings)
{
    return settings.labelOffset ? code - FirstCharacterCode : code;
}

std::string tableHeader(const TTableHeading& heading, const TConversionSettings& settings)
{
    const std::string height = std::to_string(settings.height());
    std::string title = "' FONT information for  " + heading.fontName + "  - Font Size " + height +
                        " (Point Size " + heading.pointSize + ")";
    if (heading.bold)
        title += " Bold ";
    if (heading.italic)
        title += " Italic ";

    std::string text = line("'") + line(title) + line("'" + std::string(99, '-') + "'");
    text += line("'") + line("'") + line("' Pointers to the actual font table") + line("'");
    text += line(heading.label + ":-") + line("");
    text += line("Cdata     word " + height + " ' Font is " + height + " High") + line("");
    text += line(pointerTable(heading.label, settings));
    text += line("") + line("") + line("") + line("' Font data") + line("");
    return text;
}

std::string characterText(int code, const TSampledGlyph& glyph, const std::string& label,
                          const TConversionSettings& settings)
{
    std::string text;
    if (settings.includeLabel)
        text += line(label + "_" + std::to_string(labelNumber(code, settings)) + ":-");
    std::string data = "CDATA ";
    if (settings.includeWidth)
        data += std::to_string(glyph.widthValue) + ",";
    for (size_t i = 0; i < glyph.bytes.size(); ++i) {
        if (i != 0)
            data += ",";
        data += std::to_string(glyph.bytes[i]);
    }
    data += " ' Code for char ";
    data += char(code);
    data += "  ";
    return text + line(data);
}
