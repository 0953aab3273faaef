#include "highlight/languages/Languages.h"

#include <cstddef>

extern const unsigned char zbxLanguageZBX[];
extern const std::size_t zbxLanguageZBX_size;
extern const unsigned char zbxLanguageASM[];
extern const std::size_t zbxLanguageASM_size;

std::span<const uint8_t> zenBasicParserStream()
{
    return {zbxLanguageZBX, zbxLanguageZBX_size};
}

std::span<const uint8_t> assemblerParserStream()
{
    return {zbxLanguageASM, zbxLanguageASM_size};
}
