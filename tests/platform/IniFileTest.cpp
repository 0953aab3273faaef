#include "platform/IniDocument.h"
#include "platform/IniFile.h"

#include "base/Exception.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <random>
#include <unistd.h>

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefault)
{
    TempFolder folder;
    TIniFile missing(folder.path("ZBX.INI"));
    EXPECT_EQ(missing.ReadString("EXT_PROG", "NAME", "Undefined"), "Undefined");
    EXPECT_EQ(missing.ReadInteger("EDITOR", "ASM_WIDTH", 0), 0);
    EXPECT_FALSE(missing.ValueExists("EXT_PROG", "NAME"));

    writeWholeFile(folder.path("ZBX.INI"), "[PROGRAMMER]\r\nTYPE=OTHER\r\n");
    TIniFile ini(folder.path("ZBX.INI"));
    EXPECT_EQ(ini.ReadString("BOOTLOADER", "TYPE", "STANDARD"), "STANDARD");
    EXPECT_EQ(ini.ReadString("PROGRAMMER", "PATH", "none"), "none");
    EXPECT_EQ(ini.ReadString("PROGRAMMER", "TYPE", "EPIC"), "OTHER");
    EXPECT_EQ(ini.ReadString("PROGRAMMER", "", "empty key"), "empty key");
}

TEST(IniFile, IntegersAcceptDecimalAndHexAndRejectEverythingElse)
{
    TempFolder folder;
    writeWholeFile(folder.path("a.ini"),
        "[EDITOR]\nA= 120 \nB=-35\nC=$1F\nD=0x10\nE=12abc\nF=99999999999\nG=\nH=-2147483648\nI=+7\nJ=0x\n");
    TIniFile ini(folder.path("a.ini"));
    EXPECT_EQ(ini.ReadInteger("EDITOR", "A", 0), 120);
    EXPECT_EQ(ini.ReadInteger("EDITOR", "B", 0), -35);
    EXPECT_EQ(ini.ReadInteger("EDITOR", "C", 0), 31);
    EXPECT_EQ(ini.ReadInteger("EDITOR", "D", 0), 16);
    EXPECT_EQ(ini.ReadInteger("EDITOR", "E", 7), 7);
    EXPECT_EQ(ini.ReadInteger("EDITOR", "F", 7), 7);
    EXPECT_EQ(ini.ReadInteger("EDITOR", "G", 7), 7);
    EXPECT_EQ(ini.ReadInteger("EDITOR", "H", 7), INT32_MIN);
    EXPECT_EQ(ini.ReadInteger("EDITOR", "I", 0), 7);
    EXPECT_EQ(ini.ReadInteger("EDITOR", "J", 5), 5);
}

TEST(IniFile, SectionsKeysAndTheFileNameIgnoreLetterCase)
{
    TempFolder folder;
    writeWholeFile(folder.path("zbx.ini"), "[Ext_Prog]\n  name = My Programmer  \n");
    TIniFile ini(folder.path("ZBX.INI"));
    EXPECT_EQ(ini.ReadString("EXT_PROG", "NAME", "Undefined"), "My Programmer");
    ini.WriteString("ext_prog", "Name", "Other");
    EXPECT_FALSE(std::filesystem::exists(folder.path("ZBX.INI")));
    EXPECT_EQ(readWholeFile(folder.path("zbx.ini")), "[Ext_Prog]\n  name = Other\n");
}

TEST(IniFile, OddContentIsReadLikeWindowsDoesAndNeverBreaksTheReader)
{
    TempFolder folder;
    const std::string longValue(300000, 'v');
    std::string content = "ORPHAN=before any section\r\n"
                          "; comment=not a key of any real section\r\n"
                          "[EPIC]\r\n"
                          "line without equals sign\r\n"
                          "PATHNAME=first\r\n"
                          "PATHNAME=second\r\n"
                          "[unclosed header\r\n"
                          "AFTER=still in EPIC\r\n"
                          "[EPIC]\r\n"
                          "ONLY_IN_SECOND=x\r\n"
                          "[  SPACED ]  trailing text\r\n"
                          "LONG=" + longValue + "\r\n"
                          "NUL=a" + std::string(1, '\0') + "b\r\n"
                          "[LAST]\r\n"
                          "END=no final newline";
    writeWholeFile(folder.path("odd.ini"), content);
    TIniFile ini(folder.path("odd.ini"));
    EXPECT_EQ(ini.ReadString("", "ORPHAN", "default"), "default");
    EXPECT_EQ(ini.ReadString("EPIC", "PATHNAME", ""), "first");
    EXPECT_EQ(ini.ReadString("EPIC", "AFTER", ""), "still in EPIC");
    EXPECT_EQ(ini.ReadString("EPIC", "ONLY_IN_SECOND", "first section wins"), "first section wins");
    EXPECT_EQ(ini.ReadString("EPIC", "line without equals sign", "none"), "none");
    EXPECT_EQ(ini.ReadString("SPACED", "LONG", ""), longValue);
    EXPECT_EQ(ini.ReadString("SPACED", "NUL", ""), std::string("a\0b", 3));
    EXPECT_EQ(ini.ReadString("LAST", "END", ""), "no final newline");
}

TEST(IniFile, WritingChangesOnlyTheOneLineAndKeepsCrLf)
{
    TempFolder folder;
    const std::string before = "; written by the compiler\r\n"
                               "\r\n"
                               "[PROGRAMMER]\r\n"
                               "TYPE = EPIC\r\n"
                               "odd line\r\n"
                               "\r\n"
                               "[BOOTLOADER]\r\n"
                               "TYPE=STANDARD\r\n";
    writeWholeFile(folder.path("ZBX.INI"), before);
    TIniFile ini(folder.path("ZBX.INI"));

    ini.WriteString("programmer", "type", "OTHER");
    std::string expected = before;
    expected.replace(expected.find("TYPE = EPIC"), 11, "TYPE = OTHER");
    EXPECT_EQ(readWholeFile(folder.path("ZBX.INI")), expected);

    // A new key goes after the section's last entry, before the blank line that ends it.
    ini.WriteString("PROGRAMMER", "PORT", "2");
    expected.insert(expected.find("\r\n\r\n[BOOTLOADER]") + 2, "PORT=2\r\n");
    EXPECT_EQ(readWholeFile(folder.path("ZBX.INI")), expected);

    // A new section goes at the end after one blank line.
    ini.WriteInteger("EDITOR", "ASM_WIDTH", 640);
    expected += "\r\n[EDITOR]\r\nASM_WIDTH=640\r\n";
    EXPECT_EQ(readWholeFile(folder.path("ZBX.INI")), expected);
    EXPECT_EQ(ini.ReadInteger("EDITOR", "ASM_WIDTH", 0), 640);

    ini.DeleteKey("PROGRAMMER", "PORT");
    expected.erase(expected.find("PORT=2\r\n"), 8);
    EXPECT_EQ(readWholeFile(folder.path("ZBX.INI")), expected);
}

TEST(IniFile, WritingKeepsLfEndsTerminatesTheLastLineAndStartsNewFilesWithCrLf)
{
    TempFolder folder;
    writeWholeFile(folder.path("lf.ini"), "[A]\nX=1");
    TIniFile lf(folder.path("lf.ini"));
    lf.WriteString("A", "Y", "2");
    EXPECT_EQ(readWholeFile(folder.path("lf.ini")), "[A]\nX=1\nY=2\n");
    lf.WriteString("B", "Z", "3");
    EXPECT_EQ(readWholeFile(folder.path("lf.ini")), "[A]\nX=1\nY=2\n\n[B]\nZ=3\n");

    TIniFile fresh(folder.path("new.ini"));
    fresh.WriteString("WORKING_DIRECTORY", "PATHNAME", "/home/user/src");
    EXPECT_EQ(readWholeFile(folder.path("new.ini")), "[WORKING_DIRECTORY]\r\nPATHNAME=/home/user/src\r\n");
}

TEST(IniFile, ValueWithLineBreaksCannotAddLinesOrSections)
{
    TempFolder folder;
    TIniFile ini(folder.path("ZBX.INI"));
    ini.WriteString("EXT_PROG", "CMD_LINE", "-p %PIC\r\n[PROGRAMMER]\nTYPE=OTHER");
    EXPECT_EQ(ini.ReadString("PROGRAMMER", "TYPE", "EPIC"), "EPIC");
    EXPECT_EQ(ini.ReadString("EXT_PROG", "CMD_LINE", ""), "-p %PIC  [PROGRAMMER] TYPE=OTHER");
    // A blank key could never be read back, so it is not written.
    const std::string before = readWholeFile(folder.path("ZBX.INI"));
    ini.WriteString("EXT_PROG", " ", "lost");
    EXPECT_EQ(readWholeFile(folder.path("ZBX.INI")), before);
}

// Found by fuzzing: a section named with blanks around it was written as "[NAME]" and then
// never found again, so each write appended another copy of the section.
TEST(IniDocument, SectionNamesWithBlanksAroundThemAreFoundAsWritten)
{
    TIniDocument document("[EDITOR]\r\nASM_LEFT=3\r\n");
    EXPECT_EQ(document.value(" EDITOR\t", "ASM_LEFT"), "3");
    document.setValue(" NEW ", "KEY", "1");
    document.setValue("NEW", "KEY", "2");
    document.setValue("\tNEW", " KEY ", "3");
    EXPECT_EQ(document.value("NEW ", "KEY"), "3");
    EXPECT_EQ(document.bytes(), "[EDITOR]\r\nASM_LEFT=3\r\n\r\n[NEW]\r\nKEY=3\r\n");
}

TEST(IniFile, UnreadableOrOversizedFileReadsDefaultsAndIsNeverOverwritten)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path("ZBX.INI"));
    TIniFile directory(folder.path("ZBX.INI"));
    EXPECT_EQ(directory.ReadString("A", "B", "default"), "default");
    EXPECT_THROW(directory.WriteString("A", "B", "C"), EFOpenError);

    // A sparse file just over the limit costs no disk space.
    const std::string huge = folder.path("huge.ini");
    writeWholeFile(huge, "[A]\nB=1\n");
    ASSERT_EQ(::truncate(huge.c_str(), TIniFile::maxFileSize + 1), 0);
    TIniFile oversized(huge);
    EXPECT_EQ(oversized.ReadString("A", "B", "default"), "default");
    EXPECT_THROW(oversized.WriteString("A", "B", "2"), EFOpenError);
    EXPECT_EQ(std::filesystem::file_size(huge), static_cast<uintmax_t>(TIniFile::maxFileSize + 1));
}

TEST(IniDocument, AnyBytesRoundTripUnchanged)
{
    std::mt19937 random(1252);
    const std::string alphabet("[]=; \t\r\nAbz\0", 12);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 60, ' ');
        for (char& c : bytes)
            c = alphabet[random() % 12];
        const TIniDocument document(bytes);
        ASSERT_TRUE(document.check());
        ASSERT_EQ(document.bytes(), bytes);
    }
}

// Random writes and deletes against a plain map, over a document that starts with clutter.
TEST(IniDocument, RandomEditsAgreeWithAPlainMap)
{
    std::mt19937 random(42);
    const char* sections[] = {"A", "b", "Ccc"};
    const char* keys[] = {"K", "k2", "LONG_KEY", "x"};
    auto lower = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    TIniDocument document("junk line\n; comment\n\n[other]\nK=unrelated\n");
    std::map<std::pair<std::string, std::string>, std::string> model;
    for (int step = 0; step < 3000; ++step) {
        const std::string section = sections[random() % 3];
        const std::string key = keys[random() % 4];
        const auto slot = std::make_pair(lower(section), lower(key));
        if (random() % 4 == 0) {
            EXPECT_EQ(document.deleteKey(random() % 2 ? section : lower(section), key), model.erase(slot) == 1);
        } else {
            const std::string value = " v" + std::to_string(random() % 100) + " ";
            document.setValue(section, random() % 2 ? key : lower(key), value);
            model[slot] = value.substr(1, value.size() - 2);
        }
        ASSERT_TRUE(document.check()) << "step " << step;
        for (const char* s : sections) {
            for (const char* k : keys) {
                const auto found = model.find({lower(s), lower(k)});
                const auto value = document.value(s, k);
                ASSERT_EQ(value.has_value(), found != model.end()) << s << "/" << k << " at step " << step;
                if (value) {
                    ASSERT_EQ(*value, found->second);
                }
            }
        }
    }
    EXPECT_EQ(document.value("other", "K"), "unrelated");
    EXPECT_TRUE(document.bytes().starts_with("junk line\n; comment\n\n[other]\nK=unrelated\n\n[")) << document.bytes();
    // Every section appears once: writes never duplicate a section.
    EXPECT_EQ(document.sectionNames().size(), 4u);
}

// A FIFO in a settings file's place blocked the program at the first read; a folder or a
// device is no file either.
TEST(IniFile, FifoFolderOrDeviceInTheFilesPlaceReadsAsDefaultsAndIsNeverReplaced)
{
    TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.path("ZBX.INI").c_str(), 0600), 0);
    std::filesystem::create_directory(folder.path("folder.ini"));
    for (const std::string& name : {folder.path("ZBX.INI"), folder.path("folder.ini"), std::string("/dev/zero")}) {
        SCOPED_TRACE(name);
        TIniFile ini(name);
        EXPECT_EQ(ini.ReadString("PROGRAMMER", "TYPE", "EPIC"), "EPIC");
        std::string bytes;
        EXPECT_THROW(readFileLimited(name, 1024, bytes), EFOpenError);
        if (name != "/dev/zero") {
            EXPECT_THROW(ini.WriteString("PROGRAMMER", "TYPE", "OTHER"), EStreamError);
        }
    }
    EXPECT_TRUE(std::filesystem::is_fifo(folder.path("ZBX.INI")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path("folder.ini")));
}
