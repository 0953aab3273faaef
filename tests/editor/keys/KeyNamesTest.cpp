// Key names and key texts, in both directions.
#include "editor/keys/KeyNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

TEST(KeyNames, EveryNameFindsItsCodeInAnyCase)
{
    const std::map<std::string, int> expected = {
        {"backspace", 8}, {"tab", 9},   {"return", 13}, {"space", 32},  {"pageup", 33},
        {"pagedown", 34}, {"end", 35},  {"home", 36},   {"left", 37},   {"up", 38},
        {"right", 39},    {"down", 40}, {"insert", 45}, {"delete", 46}, {"f1", 112},
        {"f2", 113},      {"f3", 114},  {"f4", 115},    {"f5", 116},    {"f6", 117},
        {"f7", 118},      {"f8", 119},  {"f9", 120},    {"f10", 121},   {"f11", 122},
        {"f12", 123}};
    ASSERT_EQ(keyNameTable().size(), expected.size());
    for (const auto& [name, code] : expected) {
        SCOPED_TRACE(name);
        EXPECT_EQ(keyCodeOfName(name), code);
        std::string upper = name;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return std::toupper(c); });
        EXPECT_EQ(keyCodeOfName(upper), code);
    }
    EXPECT_EQ(keyCodeOfName("PageUp"), 33);
    for (const char* unknown : {"", "f", "f13", "f0", "escape", "pageupx", "tabs", "a", "zzz"})
        EXPECT_EQ(keyCodeOfName(unknown), -1) << unknown;
}

TEST(KeyTexts, NamedKeysAndModifiersBothWays)
{
    const std::map<std::string, TShortCut> cases = {
        {"Ctrl+J", 0x4000 | 'J'},
        {"Ctrl+Shift+F3", 0x6000 | 114},
        {"Ctrl+Alt+Shift+PageDown", 0xE000 | 34},
        {"Alt+A", 0x8000 | 'A'},
        {"Shift+Tab", 0x2000 | 9},
        {"Return", 13},
        {"Backspace", 8},
        {"Ctrl+Space", 0x4000 | 32},
        {"F12", 123},
        {"7", '7'},
        {"Ctrl+;", 0x4000 | 0xBA},
        {"Ctrl+\\", 0x4000 | 0xDC},
        {"#27", 27},
        {"Shift+#255", 0x2000 | 255},
    };
    for (const auto& [text, shortCut] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(shortCutToText(shortCut), text);
        EXPECT_EQ(textToShortCut(text), shortCut);
    }
    EXPECT_EQ(textToShortCut("shift+ctrl+f3"), 0x6000 | 114);
    EXPECT_EQ(textToShortCut("CTRL+j"), 0x4000 | 'J');
    EXPECT_EQ(textToShortCut("alt+ALT+x"), 0x8000 | 'X');
}

TEST(KeyTexts, EveryKeyAndModifierCombinationReadsBack)
{
    for (int key = 1; key < 256; ++key) {
        for (TShortCut modifiers :
             {0x0000, 0x2000, 0x4000, 0x6000, 0x8000, 0xA000, 0xC000, 0xE000}) {
            const auto shortCut = static_cast<TShortCut>(key | modifiers);
            const std::string text = shortCutToText(shortCut);
            ASSERT_FALSE(text.empty());
            ASSERT_EQ(textToShortCut(text), shortCut) << text;
        }
    }
    EXPECT_EQ(shortCutToText(0), "");
    EXPECT_EQ(shortCutToText(0x4000), ""); // modifiers without a key
}

TEST(KeyTexts, MalformedTextsGiveNoKey)
{
    for (const char* text :
         {"", "Ctrl+", "Ctrl", "Ctrl+Shift+", "Hyper+A", "AB", "Ctrl+AB", "#", "#0", "#256",
          "#1234", "#x1", "Ctrl + A", "+", "F13", "\x80", "Ctrl+\xff"})
        EXPECT_EQ(textToShortCut(text), 0) << text;
}
