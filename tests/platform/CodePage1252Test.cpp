#include "platform/CodePage1252.h"

#include <gtest/gtest.h>

#include <set>

TEST(CodePage1252, EveryByteSurvivesTheTripThroughUnicodeAndUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::u32string text = cp1252ToUnicode(all);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(std::set<char32_t>(text.begin(), text.end()).size(), 256u) << "two bytes share a character";
    EXPECT_EQ(unicodeToCp1252(text), all);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(CodePage1252, TypographicBytesAndUndefinedBytesMapAsWindowsDoes)
{
    EXPECT_EQ(cp1252ToUnicode(uint8_t {0x80}), U'\u20AC');
    EXPECT_EQ(cp1252ToUnicode(uint8_t {0x8A}), U'\u0160');
    EXPECT_EQ(cp1252ToUnicode(uint8_t {0x93}), U'\u201C');
    EXPECT_EQ(cp1252ToUnicode(uint8_t {0x99}), U'\u2122');
    EXPECT_EQ(cp1252ToUnicode(uint8_t {0x9F}), U'\u0178');
    EXPECT_EQ(cp1252ToUnicode(uint8_t {0xA0}), U'\u00A0');
    EXPECT_EQ(cp1252ToUnicode(uint8_t {0xFF}), U'\u00FF');
    for (const uint8_t undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(cp1252ToUnicode(undefined), static_cast<char32_t>(undefined));
        EXPECT_EQ(unicodeToCp1252(static_cast<char32_t>(undefined)), undefined);
    }
    EXPECT_EQ(cp1252ToUtf8("\x80 \xE9"), "\xE2\x82\xAC \xC3\xA9");
}

TEST(CodePage1252, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    // C1 controls that the code page uses for other characters, CJK, an emoji, a lone surrogate.
    EXPECT_EQ(unicodeToCp1252(std::u32string {0x80, 0x9F, 0x4E2D, 0x1F600, 0xD800, 0x110000, U'A'}), "??????A");
    // Malformed UTF-8: a stray continuation byte, a cut sequence, an overlong '/', a surrogate.
    EXPECT_EQ(utf8ToCp1252("a\x80" "b"), "a?b");
    EXPECT_EQ(utf8ToCp1252("\xE2\x82"), "??");
    EXPECT_EQ(utf8ToCp1252("\xC0\xAF"), "??");
    EXPECT_EQ(utf8ToCp1252("\xED\xA0\x80"), "???");
    EXPECT_EQ(utf8ToCp1252("\xF0\x9F\x98\x80!"), "?!");
}
