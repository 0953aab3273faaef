// One line of an Intel HEX file, read by character position (":" is position 1): byte count at
// 2-3, load address at 4-7, record type at 8-9, data from 10 on, all hexadecimal. Checksums
// are not looked at. A line is a record only when every position its type is read at exists
// and holds a hexadecimal digit: the header (2 to 9) always, positions 10 to 13 for an extended
// linear address record, 10 to 9+4*(count/2) for a data record.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

enum : uint8_t
{
    kHexDataRecord = 0x00,
    kHexEndOfFileRecord = 0x01,
    kHexExtendedLinearAddressRecord = 0x04,
};

struct TIntelHexRecord
{
    uint8_t count = 0;
    uint16_t address = 0;
    uint8_t type = 0;
    // Data records: count/2 (rounded down) 16-bit values, each the byte at positions 10+4k,
    // 11+4k (low) and the byte at 12+4k, 13+4k (high). An odd last byte is not read.
    std::vector<uint16_t> entries;
    // Extended linear address records: the byte at positions 12 and 13 (the low byte of the
    // upper address word).
    uint8_t upperAddress = 0;
};

// The value of the hexadecimal digit c (either letter case), or -1 for any other byte.
int hexDigitValue(char c);

// The record type at positions 8 and 9 when the header is well formed.
std::optional<uint8_t> intelHexRecordType(std::string_view line);

// Reads a whole record; nothing when the line is not a record as described above.
std::optional<TIntelHexRecord> parseIntelHexRecord(std::string_view line);
