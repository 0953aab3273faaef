// Decodes an Intel HEX file (INHX8M or INHX32) into the listing of the program and EEPROM data
// windows. The format is decided by the first record: type 00 means INHX8M, type 04 INHX32.
// Records are read up to the end-of-file record (or the end of the file when there is none);
// extended linear address records set the upper address byte (0 at the start), data records
// add a line, other types are passed over. Checksums are not verified.
// A file is loaded whole or not at all: an empty line, a line that does not start with ":",
// a first record of another type, or a record before the end-of-file record that is too short
// for the positions it is read at or holds other characters than hexadecimal digits there
// make the file invalid.
#pragma once

#include "build/HexListing.h"

#include <optional>
#include <string>
#include <string_view>

// Decodes the bytes of a HEX file; nothing when the file is invalid. Never fails otherwise.
std::optional<THexListing> decodeHexFile(std::string_view bytes);

// The largest program memory, 2 MB, takes less than 6 MB as HEX text.
inline constexpr long long kMaxHexFileSize = 16LL * 1024 * 1024;

// Reads and decodes the HEX file at path; nothing when it is invalid. A file that cannot be
// opened or read, or is larger than kMaxHexFileSize, raises EFOpenError or EReadError.
std::optional<THexListing> LoadHexFile(const std::string& path);
