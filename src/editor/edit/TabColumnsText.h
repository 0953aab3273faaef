// Tab stops as users write them: 1-based column numbers separated by blanks (TABs and commas
// also separate, as language scripts write them), each above 1, strictly increasing, at most
// 32 of them. Parsed stops are 0-based columns. Every reader of tab-stop text (the control's
// property, language scripts, stored settings) goes through here, so all accept the same text
// and fail with the same messages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline constexpr int kMaxTabStops = 32;
inline constexpr int kMaxTabColumn = 32767;
inline constexpr const char* kIllegalTabDefault = "=Illegal default tab stop value, must be > 0";
inline constexpr const char* kTooManyTabStops = "Too many tab stops - maximum of ";
inline constexpr const char* kTabColumnExpected = "Tab stop column value expected";
inline constexpr const char* kTabColumnsOrder = "Tab columns must be in order and unique";
inline constexpr const char* kTabColumnTooSmall = "Tab column must be > 1";

// The 0-based stops of text; ESourceMemo with one of the messages above for text that is not
// a valid list (a token that is not a number up to kMaxTabColumn, a column of 1 or less, a
// column not above the one before, more than 32 columns).
std::vector<int> ParseTabColumns(std::string_view text);
// The 1-based text of 0-based stops, separated by single blanks.
std::string FormatTabColumns(const std::vector<int>& stops);
// ESourceMemo kIllegalTabDefault unless width is at least 1.
void CheckTabDefault(int width);
