// How the dialogs' sorted lists order and match their texts: ASCII letters without regard to
// case, every other byte as it is.
#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

inline char foldedLetter(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

inline bool lessIgnoringCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return foldedLetter(x) < foldedLetter(y); });
}

inline bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldedLetter(x) == foldedLetter(y); });
}
