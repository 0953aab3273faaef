// The check boxes of the properties dialog's Options page: each shows one bit of the settings'
// option word, and two of them are only sometimes available.
#pragma once

#include "editor/edit/EditorOptions.h"

#include <cstdint>
#include <span>

enum class TOptionGroup { Print, General };

struct TOptionBox
{
    const char* name;    // the check box's object name
    const char* caption;
    TSourceMemoOption option;
    TOptionGroup group;
};

// Every box of the page, in the order they are laid out.
std::span<const TOptionBox> optionBoxes();

// Whether a box can be changed with this option word. "Smart tab" cannot while word wrap is on
// (columns lose their meaning on wrapped rows); "Cursor beyond EOL" only when the preview
// editor lets the caret stand past a line end, which it does with a fixed-pitch font only.
bool optionBoxEnabled(const TOptionBox& box, uint32_t optionWord, bool caretPastEndPermitted);

constexpr uint32_t withOption(uint32_t word, uint32_t option, bool on)
{
    return on ? word | option : word & ~option;
}
