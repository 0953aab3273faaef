// Runs the staged MPASMWIN.EXE on the sample programs with the switches the listing window
// passes, then checks the HEX file it leaves twice: decoded by our decoder and cross-checked
// byte for byte against srec_cat's reading of the same file.
#include "build/HexDecoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using ByteMap = std::map<uint32_t, uint8_t>;

namespace {

const fs::path kSamples = fs::path(ZBX_SOURCE_DIR) / "tests" / "build" / "data";
const fs::path kAssembler = fs::path(ZBX_STAGED_INC_DIR) / "MPASMWIN.EXE";

std::string quoted(const fs::path& path)
{
    return "'" + path.string() + "'";
}

class AssemblerWrapper : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("zbx_mpasm_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path copySample(const std::string& name)
    {
        fs::copy_file(kSamples / name, m_dir / name);
        return m_dir / name;
    }

    // Runs the wrapper from the work folder; returns its exit status.
    int assemble(const std::string& arguments)
    {
        const std::string command = "cd " + quoted(m_dir) + " && " + quoted(kAssembler) + " " +
                                    arguments + " >out.txt 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string read(const std::string& name)
    {
        std::ifstream in(m_dir / name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // srec_cat's reading of an Intel HEX file: byte address to value.
    ByteMap srecBytes(const std::string& hexName)
    {
        const std::string command = "cd " + quoted(m_dir) + " && srec_cat " + hexName +
                                    " -intel -o srec.vmem -vmem 8 2>srec.err";
        EXPECT_EQ(std::system(command.c_str()), 0) << read("srec.err");
        ByteMap bytes;
        std::istringstream vmem(read("srec.vmem"));
        std::string word;
        uint32_t address = 0;
        while (vmem >> word) {
            if (word.rfind("/*", 0) == 0) {
                std::string rest;
                std::getline(vmem, rest);
            } else if (word[0] == '@') {
                address = static_cast<uint32_t>(std::stoul(word.substr(1), nullptr, 16));
            } else {
                bytes[address++] = static_cast<uint8_t>(std::stoul(word, nullptr, 16));
            }
        }
        return bytes;
    }

    fs::path m_dir;
};

bool passedOver(HexFormat format, uint32_t byteAddress)
{
    if (format == HexFormat::INHX8M) {
        const uint32_t word = byteAddress / 2;
        return (word >= 0x2000 && word < 0x2003) || word == 0x2007;
    }
    return (byteAddress >= 0x200000 && byteAddress < 0x200007) ||
           (byteAddress >= 0x300000 && byteAddress <= 0x30000D);
}

// Byte address of the first entry of a listing line, from its label (program memory below
// 64K words in these samples).
uint32_t lineAddress(HexFormat format, bool eeprom, const std::string& line)
{
    const uint32_t label = static_cast<uint32_t>(std::stoul(line.substr(0, 4), nullptr, 16));
    if (format == HexFormat::INHX8M)
        return (eeprom ? label + 0x2100 : label) * 2;
    return eeprom ? 0xF00000 + label * 2 : label * 2;
}

// Every entry shown equals srec_cat's bytes at its address, and every byte srec_cat read is
// shown unless it lies in a passed-over range.
void expectListingMatches(const THexListing& listing, const ByteMap& bytes)
{
    ByteMap shown;
    for (bool eeprom : {false, true}) {
        for (const std::string& line : eeprom ? listing.dataLines : listing.codeLines) {
            uint32_t address = lineAddress(listing.format, eeprom, line);
            std::istringstream values(line.substr(6));
            std::string value;
            while (values >> value) {
                const auto word = static_cast<uint16_t>(std::stoul(value, nullptr, 16));
                ASSERT_TRUE(bytes.count(address) && bytes.count(address + 1)) << line;
                EXPECT_EQ(word, bytes.at(address) | bytes.at(address + 1) << 8) << line;
                shown[address] = shown[address + 1] = 0;
                address += 2;
            }
        }
    }
    for (const auto& [address, byte] : bytes) {
        if (!passedOver(listing.format, address)) {
            EXPECT_TRUE(shown.count(address)) << std::hex << "byte at 0x" << address;
        }
    }
}

} // namespace

TEST_F(AssemblerWrapper, Pic16F877ReassembleGivesInhx8mWithEeprom)
{
    copySample("LED877.ASM");
    ASSERT_EQ(assemble("LED877.ASM /e+ /l+ /x- /w2 /c- /m- /q"), 0) << read("out.txt");
    EXPECT_TRUE(fs::exists(m_dir / "LED877.LST"));
    EXPECT_TRUE(fs::exists(m_dir / "LED877.ERR"));
    EXPECT_EQ(read("LED877.ERR").find("Error["), std::string::npos);

    const std::optional<THexListing> listing = decodeHexFile(read("LED877.HEX"));
    ASSERT_TRUE(listing.has_value());
    EXPECT_TRUE(listing->check());
    EXPECT_EQ(listing->format, HexFormat::INHX8M);
    EXPECT_EQ(listing->dataLines, (Lines{"0000- 48 45 4C 4C 4F 00 7F 20 "}));
    EXPECT_EQ(listing->dataAsciiLines, (Lines{"0000- HELLO.\x7F "}));
    // The retlw table at 0x100: "addwf PCL,F" then retlw 'A' (0x3441) and retlw 'B'.
    EXPECT_NE(
        std::find(listing->codeAsciiLines.begin(), listing->codeAsciiLines.end(), "0100- ..4A4B"),
        listing->codeAsciiLines.end());
    expectListingMatches(*listing, srecBytes("LED877.HEX"));
}

TEST_F(AssemblerWrapper, Pic16F877AsInhx32AndAPathFirstOrLast)
{
    const fs::path source = copySample("LED877.ASM");
    ASSERT_EQ(assemble("/aINHX32 /q -w2 " + quoted(source)), 0) << read("out.txt");
    const std::optional<THexListing> listing = decodeHexFile(read("LED877.HEX"));
    ASSERT_TRUE(listing.has_value());
    EXPECT_EQ(listing->format, HexFormat::INHX32);
    // INHX32 reads the EEPROM at byte address 0x4200 as program memory.
    EXPECT_TRUE(listing->dataLines.empty());
    expectListingMatches(*listing, srecBytes("LED877.HEX"));
}

TEST_F(AssemblerWrapper, Pic18F452ReassembleFallsToInhx32)
{
    copySample("BLINK452.ASM");
    ASSERT_EQ(assemble("BLINK452.ASM /e+ /l+ /x- /w2 /c- /m- /q"), 0) << read("out.txt");
    const std::optional<THexListing> listing = decodeHexFile(read("BLINK452.HEX"));
    ASSERT_TRUE(listing.has_value());
    EXPECT_TRUE(listing->check());
    EXPECT_EQ(listing->format, HexFormat::INHX32);
    EXPECT_EQ(listing->dataLines, (Lines{"0000- 6948 05 "}));
    EXPECT_NE(std::find(listing->codeAsciiLines.begin(), listing->codeAsciiLines.end(), "0080- AB"),
              listing->codeAsciiLines.end());
    expectListingMatches(*listing, srecBytes("BLINK452.HEX"));
}

TEST_F(AssemblerWrapper, FailuresLeaveNoHexAndSayWhyInTheErrorFile)
{
    copySample("BADOP.ASM");
    {
        std::ofstream stale(m_dir / "BADOP.HEX");
        stale << ":0200000001020B\r\n";
    }
    EXPECT_NE(assemble("BADOP.ASM /e+ /l+ /q"), 0);
    EXPECT_FALSE(fs::exists(m_dir / "BADOP.HEX"));
    EXPECT_NE(read("BADOP.ERR").find("Error["), std::string::npos);

    copySample("BLINK452.ASM");
    EXPECT_NE(assemble("BLINK452.ASM /aINHX8M /e+ /l+ /x- /w2 /c- /m- /q"), 0);
    EXPECT_FALSE(fs::exists(m_dir / "BLINK452.HEX"));
    EXPECT_NE(read("BLINK452.ERR").find("INHX32"), std::string::npos);
}

TEST_F(AssemblerWrapper, FileSwitchesAndRefusedArguments)
{
    copySample("LED877.ASM");
    ASSERT_EQ(assemble("LED877.ASM /e- /lLISTING.TXT /q"), 0) << read("out.txt");
    EXPECT_TRUE(fs::exists(m_dir / "LISTING.TXT"));
    EXPECT_FALSE(fs::exists(m_dir / "LED877.LST"));
    EXPECT_FALSE(fs::exists(m_dir / "LED877.ERR"));
    EXPECT_TRUE(fs::exists(m_dir / "LED877.HEX"));

    EXPECT_EQ(assemble("LED877.ASM /z"), 2);
    EXPECT_EQ(assemble("LED877.ASM /aINHX16"), 2);
    EXPECT_EQ(assemble("MISSING.ASM /q"), 2);
    EXPECT_EQ(assemble("/q"), 2);
    EXPECT_EQ(assemble("'/?'"), 0);
    EXPECT_NE(read("out.txt").find("/a[INHX8M|INHX8S|INHX32]"), std::string::npos);
}

TEST_F(AssemblerWrapper, CaseAndMessageLevelSwitchesReachTheAssembler)
{
    copySample("CASES.ASM");
    EXPECT_NE(assemble("CASES.ASM /c+ /q"), 0);
    EXPECT_NE(assemble("CASES.ASM /q"), 0); // symbols are case sensitive by default
    ASSERT_EQ(assemble("CASES.ASM /c- /q"), 0) << read("out.txt");
    EXPECT_TRUE(fs::exists(m_dir / "CASES.HEX"));

    // Register 0x86 outside bank 0 draws a message at level 0 but not at level 2.
    ASSERT_EQ(assemble("CASES.ASM /c- /w0 /q"), 0);
    EXPECT_NE(read("CASES.ERR").find("Message["), std::string::npos);
    ASSERT_EQ(assemble("CASES.ASM /c- /w2 /q"), 0);
    EXPECT_EQ(read("CASES.ERR").find("Message["), std::string::npos);
}
