// Text from files other programs write, made safe for a widget: control bytes (NUL included)
// become "." so nothing invisible or line-breaking reaches a label, and the text is cut to a
// length a status panel or a report line can lay out at once (a 20 MB field froze the window).
#pragma once

#include <string>
#include <string_view>

enum class TabHandling
{
    Keep,    // report lines keep their tabulators
    Replace, // one-line fields show them as "."
};

// text with every control byte (below 0x20, and 0x7F) but kept tabulators replaced by ".",
// cut after maxLength bytes with "..." added when it is longer.
std::string shownText(std::string_view text, size_t maxLength, TabHandling tabs = TabHandling::Replace);
