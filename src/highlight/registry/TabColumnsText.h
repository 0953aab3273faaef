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
// beyond the widest column cannot be written as text that reads again and are left out.
std::string tabColumnsText(const TTabStopTable& table);

// Reads text into a table with the editor's rules and messages (editor/edit/TabColumnsText.h).
TTabStopTable readTabColumnsText(std::string_view text);
