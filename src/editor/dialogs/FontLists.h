// The font lists of the properties dialog's Highlighting page: the sizes offered, the Windows
// character sets by name, and the font names for a character set as the list shows them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct TCharsetName
{
    const char* name; // "ANSI_CHARSET"
    uint8_t value;    // as settings store it
};

// The 18 character sets, sorted by name.
std::span<const TCharsetName> charsetNames();
// The name of a stored character set; "DEFAULT_CHARSET" for a value the table does not hold.
const char* charsetName(uint8_t value);

std::span<const int> fontSizes();

// Font names as the list shows them: sorted without regard to case, a name met again in
// another case next to its first spelling removed.
std::vector<std::string> fontNameList(std::vector<std::string> names);
