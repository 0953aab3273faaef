// Tab stops as the user writes them: 1-based columns separated by blanks ("5 9 13"). The
// settings keep them 0-based in a table of 32 entries, unused entries -1 after the used ones.
#pragma once

#include "highlight/ParserSettings.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

using TTabStopTable = std::array<int32_t, TSM_Settings::kTabStops>;

// The used entries, 1-based, separated by single blanks. Entries below column 1 (0-based) or
// at the 32-bit limit cannot be written as text that reads again and are left out.
std::string tabColumnsText(const TTabStopTable& table);

// Reads text into a table, raising ESourceMemo for a token that is not a number "Tab stop column
// value expected", a column of 1 or less "Tab column must be > 1", columns not strictly
// increasing "Tab columns must be in order and unique", more than 32 columns "Too many tab stops
// - maximum of 32". Runs of blanks count as one separator.
TTabStopTable readTabColumnsText(std::string_view text);
