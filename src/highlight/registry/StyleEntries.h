// The styles of a settings string: a count, then per defined style its number, foreground and
// background colour and the letters of its flags. Only bold, italic, underline and the two
// as-default flags travel; strike-out and the hot-spot flag stay as the compiled language has
// them.
#pragma once

#include "highlight/ParserSettings.h"
#include "highlight/registry/SettingsCursor.h"

#include <array>
#include <string>

using TStyleTable = std::array<StyleRecord, 256>;

// "N" or "N," followed by "style,foreground,background,LETTERS;" for every defined style in
// ascending style number. A count of 256 is written as 255: readers of older versions take no
// larger count.
std::string styleEntriesText(const TStyleTable& styles);

// Reads a count and that many entries into styles. Reading stops early at the end of the text;
// a count of 255 followed by a 256th entry reads that entry too, so that a table with every
// style defined survives the trip. A style number outside 0..255 raises message 4133.
void readStyleEntries(TSettingsCursor& in, TStyleTable& styles);
