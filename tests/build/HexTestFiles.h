// Builds Intel HEX text for tests: well-formed records with correct checksums, joined by CR LF.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline std::string hexRecord(uint16_t address, uint8_t type, const std::vector<uint8_t>& data)
{
    char buffer[8];
    unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFFu) + type;
    std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned>(data.size()));
    std::string line = std::string(":") + buffer;
    std::snprintf(buffer, sizeof buffer, "%04X%02X", static_cast<unsigned>(address), type);
    line += buffer;
    for (uint8_t byte : data) {
        std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned>(byte));
        line += buffer;
        sum += byte;
    }
    std::snprintf(buffer, sizeof buffer, "%02X", (0x100u - (sum & 0xFFu)) & 0xFFu);
    return line + buffer;
}

// A data record of little-endian words.
inline std::string wordRecord(uint16_t byteAddress, const std::vector<uint16_t>& words)
{
    std::vector<uint8_t> bytes;
    for (uint16_t word : words) {
        bytes.push_back(static_cast<uint8_t>(word & 0xFFu));
        bytes.push_back(static_cast<uint8_t>(word >> 8));
    }
    return hexRecord(byteAddress, 0x00, bytes);
}

inline std::string upperAddressRecord(uint16_t upper)
{
    return hexRecord(0, 0x04, {static_cast<uint8_t>(upper >> 8), static_cast<uint8_t>(upper)});
}

inline std::string endRecord()
{
    return ":00000001FF";
}

inline std::string hexFile(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}
