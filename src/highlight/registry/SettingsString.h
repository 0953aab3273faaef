// The settings string: the text form in which a language's display settings are kept in the
// per-user store. It is "Zylnor", one version digit, a colon and the fields. Version 6 is
// written: tagged fields TAG "#" LENGTH "#" VALUE in a fixed order, closed by "#END#", so that a
// reader skips nothing it does not know and stops at the first tag it does not know. Versions 5
// to 9 are read as tagged; 1 to 4 are the older positional form, read only.
#pragma once

#include "highlight/ParserSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr char kSettingsStringVersion = '6';

std::string settingsString(const TSM_Settings& settings);

// Reads text over settings: what the text does not carry keeps its value. The text is applied
// as a whole or not at all: on any error settings are unchanged and the error passes on
// (ESourceMemo "Invalid data in style string" for a wrong prefix or version or a style number
// out of range, EConvertError for a value that is no number, the tab-stop reader's ESourceMemo).
void readSettingsString(std::string_view text, TSM_Settings& settings);

// The entry point for untrusted bytes: reads them as a settings string over settings and
// answers whether they were accepted. Never crashes, hangs or allocates beyond the input's size.
bool parseSettingsStringBytes(const uint8_t* data, size_t size, TSM_Settings& settings);
