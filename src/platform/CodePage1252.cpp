#include "platform/CodePage1252.h"

#include <array>

namespace {

// Unicode of the bytes 0x80 to 0x9F.
constexpr std::array<char32_t, 32> upperControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 character at text[i], advancing i; a malformed or overlong sequence, a
// surrogate or a value above U+10FFFF consumes one byte and gives U+FFFD.
char32_t decodeUtf8(std::string_view text, size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 1) {
        ++i;
        return lead;
    }
    char32_t c = length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length != 0 && i + static_cast<size_t>(length) <= text.size();
    for (int k = 1; valid && k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
        valid = (next & 0xC0) == 0x80;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (!valid || c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += static_cast<size_t>(length);
    return c;
}

} // namespace

char32_t cp1252ToUnicode(uint8_t byte)
{
    return byte >= 0x80 && byte < 0xA0 ? upperControls[byte - 0x80] : byte;
}

uint8_t unicodeToCp1252(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<uint8_t>(character);
    for (size_t i = 0; i < upperControls.size(); ++i) {
        if (upperControls[i] == character)
            return static_cast<uint8_t>(0x80 + i);
    }
    return '?';
}

std::u32string cp1252ToUnicode(std::string_view bytes)
{
    std::u32string text;
    text.reserve(bytes.size());
    for (const char c : bytes)
        text += cp1252ToUnicode(static_cast<uint8_t>(c));
    return text;
}

std::string unicodeToCp1252(std::u32string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (const char32_t c : text)
        bytes += static_cast<char>(unicodeToCp1252(c));
    return bytes;
}

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char c : bytes)
        appendUtf8(utf8, cp1252ToUnicode(static_cast<uint8_t>(c)));
    return utf8;
}

std::string utf8ToCp1252(std::string_view utf8)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();)
        bytes += static_cast<char>(unicodeToCp1252(decodeUtf8(utf8, i)));
    return bytes;
}
