// Character specifiers of parser scripts: the raw text of a string literal read as a sequence
// of character groups. A specifier is one character (with backslash escapes) or a bracket
// expression of characters and ranges, negated by a leading '^'.
#pragma once

#include "highlight/CharGroup.h"

#include <optional>
#include <string_view>
#include <vector>

// The groups written in raw, in order; nothing when the text is malformed (an unclosed
// bracket). A range whose end is below its start raises Exception "Characters not in correct
// order for range specifier".
std::optional<std::vector<TSM_CharGroup>> parseCharSpecifiers(std::string_view raw);
