// The editor's tab-stop text: 1-based columns separated by blanks or commas, read into the
// 32-entry table of 0-based columns (unused entries -1).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// Throws ESourceMemo "Tab stop column value expected", "Tab column must be > 1", "Tab columns
// must be in order and unique" or "Too many tab stops - maximum of 32".
std::array<int32_t, 32> parseTabColumns(std::string_view text);
