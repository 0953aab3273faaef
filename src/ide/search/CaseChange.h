// The Edit menu's case changes. Only the letters A to Z and a to z change; every other byte
// (digits, punctuation, line breaks, accented letters) is kept as it is.
#pragma once

#include <string>
#include <string_view>

std::string upperCaseOf(std::string_view text);
std::string lowerCaseOf(std::string_view text);
// The lower-case form with its first character made upper case ("hELLO wORLD" gives
// "Hello world"); the first character stays as it is when it is not a letter.
std::string capitalisedOf(std::string_view text);
