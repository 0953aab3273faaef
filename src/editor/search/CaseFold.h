// Upper-case folding of the editor's single-byte text (Windows-1252): a-z, the accented
// lower-case letters 0xE0-0xFE (except the division sign 0xF7), and the three lower-case
// letters of 0x9A, 0x9C, 0x9E and 0xFF, each to its upper-case letter. Other bytes stay.
#pragma once

#include <array>
#include <cstdint>

inline const std::array<uint8_t, 256>& upperCaseTable()
{
    static const std::array<uint8_t, 256> table = [] {
        std::array<uint8_t, 256> t{};
        for (int c = 0; c < 256; ++c)
            t[static_cast<size_t>(c)] = static_cast<uint8_t>(c);
        for (int c = 'a'; c <= 'z'; ++c)
            t[static_cast<size_t>(c)] = static_cast<uint8_t>(c - 32);
        for (int c = 0xE0; c <= 0xFE; ++c)
            if (c != 0xF7)
                t[static_cast<size_t>(c)] = static_cast<uint8_t>(c - 32);
        t[0x9A] = 0x8A;
        t[0x9C] = 0x8C;
        t[0x9E] = 0x8E;
        t[0xFF] = 0x9F;
        return t;
    }();
    return table;
}
