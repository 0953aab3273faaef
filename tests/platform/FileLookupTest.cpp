#include "platform/FileLookup.h"
#include "platform/Folders.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(FileLookup, ResolvesEachComponentWithoutRegardToCase)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.path("inc/External Programs"));
    writeWholeFile(folder.path("inc/zbx.ini"), "");
    writeWholeFile(folder.path("inc/External Programs/GlyphCast.exe"), "");

    EXPECT_EQ(resolveIgnoringCase(folder.path(), "INC/ZBX.INI"), folder.path("inc/zbx.ini"));
    EXPECT_EQ(resolveIgnoringCase(folder.path(), "INC\\EXTERNAL PROGRAMS\\glyphcast.EXE"),
        folder.path("inc/External Programs/GlyphCast.exe"));
    // The missing part is kept as written, after the part that was found.
    EXPECT_EQ(resolveIgnoringCase(folder.path(), "INC\\EXTERNAL PROGRAMS\\RES_FILE.TXT"),
        folder.path("inc/External Programs/RES_FILE.TXT"));
    EXPECT_EQ(resolveIgnoringCase(folder.path(), "NOWHERE/ZBX.INI"), folder.path("NOWHERE/ZBX.INI"));
    // A folder without its trailing '/' and an absolute path from an empty folder.
    EXPECT_EQ(resolveIgnoringCase(folder.path().substr(0, folder.path().size() - 1), "Inc"), folder.path("inc"));
    EXPECT_EQ(resolveIgnoringCase("", folder.path("INC/ZBX.ini")), folder.path("inc/zbx.ini"));
}

TEST(FileLookup, ExactSpellingWinsThenTheFirstInByteOrder)
{
    TempFolder folder;
    writeWholeFile(folder.path("zbx.ini"), "lower");
    writeWholeFile(folder.path("Zbx.ini"), "mixed");
    EXPECT_EQ(resolveIgnoringCase(folder.path(), "zbx.ini"), folder.path("zbx.ini"));
    EXPECT_EQ(resolveIgnoringCase(folder.path(), "ZBX.INI"), folder.path("Zbx.ini"));
}

TEST(FileLookup, WildcardsMatchWithoutCaseAndWithoutRunawayBacktracking)
{
    EXPECT_TRUE(matchesWildcard("glyphcast.exe", "*.EXE"));
    EXPECT_TRUE(matchesWildcard("A.EXE", "*.exe"));
    EXPECT_FALSE(matchesWildcard("tool.exe.txt", "*.exe"));
    EXPECT_FALSE(matchesWildcard("exe", "*.exe"));
    EXPECT_TRUE(matchesWildcard("README", "*.*"));
    EXPECT_TRUE(matchesWildcard("", "*"));
    EXPECT_TRUE(matchesWildcard("BOOTLOAD_A.EXE", "BOOTLOAD?A.*"));
    EXPECT_FALSE(matchesWildcard("BOOTLOAD.EXE", "BOOTLOAD?.EXE"));
    EXPECT_TRUE(matchesWildcard("abcabcabd", "*abd"));
    EXPECT_FALSE(matchesWildcard("abc", ""));
    const std::string longName(100000, 'a');
    EXPECT_FALSE(matchesWildcard(longName, "*a*a*a*a*a*a*a*a*b"));
}

TEST(FileLookup, ListingFiltersByPatternAndKind)
{
    TempFolder folder;
    writeWholeFile(folder.path("A.EXE"), "12345");
    writeWholeFile(folder.path("b.exe"), "");
    writeWholeFile(folder.path(".hidden.exe"), "");
    writeWholeFile(folder.path("notes.txt"), "");
    std::filesystem::create_directory(folder.path("sub.exe"));
    std::filesystem::create_symlink(folder.path("missing"), folder.path("dangling.exe"));
    std::filesystem::permissions(folder.path("b.exe"), std::filesystem::perms::owner_read);

    std::vector<std::string> names = matchingFileNames(folder.path(), "*.EXE");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string> {".hidden.exe", "A.EXE", "b.exe"}));

    const auto all = listFolder(folder.path(), "*.*", EntryKind::FilesAndFolders);
    EXPECT_EQ(all.size(), 5u);
    for (const TFolderEntry& entry : all) {
        EXPECT_EQ(entry.isFolder, entry.name == "sub.exe");
        EXPECT_EQ(entry.isHidden, entry.name == ".hidden.exe");
        EXPECT_EQ(entry.isReadOnly, entry.name == "b.exe");
        EXPECT_EQ(entry.size, entry.name == "A.EXE" ? 5 : 0);
        EXPECT_GT(entry.modified, 0);
    }
    const auto folders = listFolder(folder.path(), "*", EntryKind::Folders);
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].name, "sub.exe");
    EXPECT_TRUE(listFolder(folder.path("no such folder"), "*", EntryKind::FilesAndFolders).empty());
}

TEST(Folders, ApplicationAndIncludeFoldersEndInSlashAndFindInc)
{
    EXPECT_TRUE(std::filesystem::exists(applicationFolder() + "platform_tests"));
    TempFolder folder;
    std::filesystem::create_directory(folder.path("inc"));
    setApplicationFolder(folder.path().substr(0, folder.path().size() - 1));
    EXPECT_EQ(applicationFolder(), folder.path());
    EXPECT_EQ(includeFolder(), folder.path("inc/"));
    setApplicationFolder("");
    EXPECT_TRUE(std::filesystem::exists(applicationFolder() + "platform_tests"));

    EXPECT_EQ(toLocalPath("C:\\WINDOWS\\\\SYSTEM32\\CALC.EXE"), "C:/WINDOWS//SYSTEM32/CALC.EXE");
    EXPECT_EQ(ShortPath("/home/user/My Programs/long name.bas"), "/home/user/My Programs/long name.bas");
}
