// The rows of the ASCII table window: one row per code 0 to 255 in columns of 8 characters.
#pragma once

#include <string>

inline constexpr const char* kAsciiTableHeader = "chr     dec#    hex#    ctrl";

// The row of code (0..255) as Windows-1252 bytes: the character shown (codes 0 to 31 show
// character 127, codes 142 to 144 show character 141), the decimal value with at least two
// digits, the hexadecimal value with two upper-case digits and, for codes 0 to 32, the
// control name, each column padded to 8 characters (the last one not padded).
std::string asciiTableRow(int code);
