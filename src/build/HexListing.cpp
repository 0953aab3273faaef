#include "build/HexListing.h"

#include "base/Exception.h"

namespace {

std::string labelText(uint16_t label)
{
    return Format("%04X- ", static_cast<unsigned>(label));
}

char programChar(unsigned byte)
{
    return byte < 0x20 || byte >= 0x80 ? '.' : static_cast<char>(byte);
}

char eepromChar(unsigned value)
{
    return value >= 0x20 && value <= 0x7F ? static_cast<char>(value) : '.';
}

bool startsWithLabel(const std::string& line)
{
    if (line.size() < 6 || line.compare(4, 2, "- ") != 0)
        return false;
    for (size_t i = 0; i < 4; ++i) {
        const char c = line[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

bool columnsMatch(const std::vector<std::string>& values, const std::vector<std::string>& chars)
{
    if (values.size() != chars.size())
        return false;
    for (size_t i = 0; i < values.size(); ++i) {
        if (!startsWithLabel(values[i]) || !startsWithLabel(chars[i]) ||
            values[i].compare(0, 4, chars[i], 0, 4) != 0)
            return false;
    }
    return true;
}

} // namespace

void THexListing::addProgramRecord(uint16_t label, const std::vector<uint16_t>& entries)
{
    std::string values = labelText(label);
    std::string chars = values;
    for (uint16_t entry : entries) {
        values += Format("%04X ", static_cast<unsigned>(entry));
        chars += programChar(entry >> 8);
        chars += programChar(entry & 0xFFu);
    }
    codeLines.push_back(std::move(values));
    codeAsciiLines.push_back(std::move(chars));
}

void THexListing::addEepromRecord(uint16_t label, const std::vector<uint16_t>& entries)
{
    std::string values = labelText(label);
    std::string chars = values;
    for (uint16_t entry : entries) {
        values += Format("%02X ", static_cast<unsigned>(entry));
        chars += eepromChar(entry);
    }
    dataLines.push_back(std::move(values));
    dataAsciiLines.push_back(std::move(chars));
}

bool THexListing::check() const
{
    if (!columnsMatch(codeLines, codeAsciiLines) || !columnsMatch(dataLines, dataAsciiLines))
        return false;
    for (size_t i = 0; i < codeLines.size(); ++i) {
        const size_t entries = (codeLines[i].size() - 6) / 5;
        if (codeLines[i].size() != 6 + 5 * entries || codeAsciiLines[i].size() != 6 + 2 * entries)
            return false;
    }
    return true;
}
