// The Windows-1252 code page in which all text of the editor and its files is held: one byte
// per character. Bytes 0x00-0x7F and 0xA0-0xFF are the same-valued Unicode characters; 0x80-0x9F
// carry typographic characters, except the five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D), which stand for the same-valued C1 controls so that every byte
// survives a trip through Unicode. Characters outside the code page become '?'.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

char32_t cp1252ToUnicode(uint8_t byte);
// The byte of character, or '?' when the code page has none.
uint8_t unicodeToCp1252(char32_t character);

std::u32string cp1252ToUnicode(std::string_view bytes);
std::string unicodeToCp1252(std::u32string_view text);

// UTF-8 forms, for file names and messages. Malformed UTF-8 gives one '?' per bad byte.
std::string cp1252ToUtf8(std::string_view bytes);
std::string utf8ToCp1252(std::string_view utf8);
