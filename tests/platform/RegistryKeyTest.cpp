#include "platform/RegistryKey.h"

#include "base/Exception.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(RegistryKey, TextAndByteValuesRoundTripWithAnyBytes)
{
    TempFolder folder;
    TRegistryKey key("Software\\KALTOR_PLUS_COMP", folder.path());
    EXPECT_FALSE(key.KeyExists());
    EXPECT_FALSE(key.ReadString("Highlighting - ZENBASIC").has_value());

    std::string everyByte;
    for (int c = 0; c < 256; ++c)
        everyByte += static_cast<char>(c);
    const std::string settings = "Zylnor6:OPT#8#67099632FON#11#Courier New#END#";
    key.WriteString("Highlighting - ZENBASIC", settings);
    key.WriteString("odd = name\\with\r\nbreaks", everyByte);
    const std::vector<uint8_t> keyMap = {8, 'Z', 'y', 'l', 'n', 'o', 'r', '6', ':', 0, 0xFF, '\n', '='};
    key.WriteBinary("Key Assignments - ZENBASIC", keyMap);

    TRegistryKey reopened("software/kaltor_plus_comp", folder.path());
    EXPECT_TRUE(reopened.KeyExists());
    EXPECT_EQ(reopened.ReadString("HIGHLIGHTING - zenbasic"), settings);
    EXPECT_EQ(reopened.ReadString("odd = name\\with\r\nbreaks"), everyByte);
    EXPECT_EQ(reopened.ReadBinary("Key Assignments - ZENBASIC"), keyMap);
    // A value of the other kind is not returned.
    EXPECT_FALSE(reopened.ReadBinary("Highlighting - ZENBASIC").has_value());
    EXPECT_FALSE(reopened.ReadString("Key Assignments - ZENBASIC").has_value());
    EXPECT_EQ(folder.entryCount(), 1u);
    EXPECT_EQ(reopened.FileName(), folder.path("Software/KALTOR_PLUS_COMP.values"));
}

TEST(RegistryKey, OverwriteKeepsTheFirstSpellingAndDeleteRemovesOnlyOneValue)
{
    TempFolder folder;
    TRegistryKey key("Software\\KALTOR_PLUS_COMP", folder.path());
    key.WriteString("Highlighting - ZENBASIC", "one");
    key.WriteString("Other", "kept");
    key.WriteBinary("HIGHLIGHTING - ZENBASIC", {1, 2});
    EXPECT_EQ(key.ValueNames(), (std::vector<std::string> {"Highlighting - ZENBASIC", "Other"}));
    EXPECT_EQ(key.ReadBinary("Highlighting - ZENBASIC"), (std::vector<uint8_t> {1, 2}));
    EXPECT_TRUE(key.DeleteValue("highlighting - zenbasic"));
    EXPECT_FALSE(key.DeleteValue("highlighting - zenbasic"));
    EXPECT_FALSE(key.ValueExists("Highlighting - ZENBASIC"));
    EXPECT_EQ(key.ReadString("Other"), "kept");
}

TEST(RegistryKey, DamagedLinesAreSkippedAndTheRestIsRead)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.path("Software"));
    writeWholeFile(folder.path("Software/KALTOR_PLUS_COMP.values"),
        std::string("garbage without equals\n"
                    "=t:no name\n"
                    "Bad Kind=q:x\n"
                    "Odd Hex=b:ABC\n"
                    "Bad Hex=b:GG\n"
                    "Bad Escape=t:\\q\n"
                    "Cut Escape=t:\\x4\n"
                    "Short=t\n"
                    "Nul\0Name=t:\0\n", 128) +
        "Good=t:value\r\n"
        "Good=t:duplicate\n"
        "Bytes=b:00ff\n"
        "Last=t:no final newline");
    TRegistryKey key("Software\\KALTOR_PLUS_COMP", folder.path());
    EXPECT_EQ(key.ValueNames(), (std::vector<std::string> {std::string("Nul\0Name", 8), "Good", "Bytes", "Last"}));
    EXPECT_EQ(key.ReadString("Good"), "value");
    EXPECT_EQ(key.ReadBinary("Bytes"), (std::vector<uint8_t> {0, 0xFF}));
    EXPECT_EQ(key.ReadString("Last"), "no final newline");
    EXPECT_FALSE(key.ValueExists("Odd Hex"));
    // Writing keeps the good values and drops the damaged lines.
    key.WriteString("New", "v");
    EXPECT_EQ(TRegistryKey("Software\\KALTOR_PLUS_COMP", folder.path()).ValueNames().size(), 5u);
}

TEST(RegistryKey, KeyPathsCannotLeaveTheBaseFolder)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path("base"));
    TRegistryKey key("..\\..\\escape", folder.path("base"));
    key.WriteString("v", "x");
    EXPECT_EQ(key.FileName(), folder.path("base/_../_../escape.values"));
    EXPECT_TRUE(std::filesystem::exists(key.FileName()));
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(RegistryKey, UnreadableStoreReadsNothingAndIsNotOverwritten)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.path("Software/KALTOR_PLUS_COMP.values"));
    TRegistryKey key("Software\\KALTOR_PLUS_COMP", folder.path());
    EXPECT_FALSE(key.ReadString("x").has_value());
    EXPECT_TRUE(key.ValueNames().empty());
    EXPECT_THROW(key.WriteString("x", "y"), EStreamError);
    EXPECT_TRUE(std::filesystem::is_directory(folder.path("Software/KALTOR_PLUS_COMP.values")));
}

TEST(RegistryKey, DefaultFolderFollowsXdgConfigHome)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(defaultRegistryFolder(), "/somewhere/config/zbxedit/");
    ::setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
    EXPECT_EQ(defaultRegistryFolder(), std::string(std::getenv("HOME")) + "/.config/zbxedit/");
    if (saved)
        ::setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}
