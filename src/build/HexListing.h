// The four text columns of the program and EEPROM data windows, one line per shown record.
// Invariants: the program columns have equally many lines, and so have the EEPROM columns;
// every line starts with its label as 4 upper-case hexadecimal digits and "- "; a program line
// holds 5 characters per entry ("1234 ") and its character line 2 (high byte, then low byte).
#pragma once

#include "build/HexPlacement.h"

#include <cstdint>
#include <string>
#include <vector>

struct THexListing
{
    HexFormat format = HexFormat::INHX8M;
    std::vector<std::string> codeLines;      // CODE_MEMO
    std::vector<std::string> codeAsciiLines; // CODE_ASCII_MEMO
    std::vector<std::string> dataLines;      // DATA_MEMO
    std::vector<std::string> dataAsciiLines; // DATA_ASCII_MEMO

    // Entries as 4 digits and a space; characters high byte first, a byte below 0x20 or from
    // 0x80 up shown as ".".
    void addProgramRecord(uint16_t label, const std::vector<uint16_t>& entries);
    // Entries with at least 2 digits and a space; one character per entry, the value itself
    // from 0x20 to 0x7F, else ".".
    void addEepromRecord(uint16_t label, const std::vector<uint16_t>& entries);
    bool empty() const { return codeLines.empty() && dataLines.empty(); }
    bool check() const;
};
