#include "editor/dialogs/FontLists.h"

#include "editor/dialogs/ListOrder.h"

#include <algorithm>

namespace {

constexpr TCharsetName kCharsets[] = {
    {"ANSI_CHARSET", 0},        {"ARABIC_CHARSET", 178},   {"BALTIC_CHARSET", 186},
    {"CHINESEBIG5_CHARSET", 136}, {"DEFAULT_CHARSET", 1},  {"EASTEUROPE_CHARSET", 238},
    {"GB2312_CHARSET", 134},    {"GREEK_CHARSET", 161},    {"HANGEUL_CHARSET", 129},
    {"HEBREW_CHARSET", 177},    {"JOHAB_CHARSET", 130},    {"MAC_CHARSET", 77},
    {"OEM_CHARSET", 255},       {"RUSSIAN_CHARSET", 204},  {"SHIFTJIS_CHARSET", 128},
    {"SYMBOL_CHARSET", 2},      {"THAI_CHARSET", 222},     {"TURKISH_CHARSET", 162},
};

constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 30};

} // namespace

std::span<const TCharsetName> charsetNames()
{
    return kCharsets;
}

const char* charsetName(uint8_t value)
{
    for (const TCharsetName& charset : kCharsets)
        if (charset.value == value)
            return charset.name;
    return "DEFAULT_CHARSET";
}

std::span<const int> fontSizes()
{
    return kSizes;
}

std::vector<std::string> fontNameList(std::vector<std::string> names)
{
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return lessIgnoringCase(a, b); });
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::string& a, const std::string& b) { return equalIgnoringCase(a, b); }),
                names.end());
    return names;
}
