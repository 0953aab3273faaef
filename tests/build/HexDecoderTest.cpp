#include "build/HexDecoder.h"
#include "HexTestFiles.h"
#include "base/Exception.h"
#include "build/IntelHexRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using Lines = std::vector<std::string>;

namespace {

THexListing decoded(const std::string& text)
{
    const std::optional<THexListing> listing = decodeHexFile(text);
    EXPECT_TRUE(listing.has_value()) << text;
    if (!listing)
        return {};
    EXPECT_TRUE(listing->check());
    return *listing;
}

void expectInvalid(const std::string& text)
{
    EXPECT_FALSE(decodeHexFile(text).has_value()) << text;
}

} // namespace

TEST(IntelHexRecord, ReadsHeaderEntriesAndUpperAddressByPosition)
{
    const auto data = parseIntelHexRecord(":0400100086000728ZZ");
    ASSERT_TRUE(data.has_value()); // the checksum is never read
    EXPECT_EQ(data->count, 4);
    EXPECT_EQ(data->address, 0x0010);
    EXPECT_EQ(data->type, kHexDataRecord);
    EXPECT_EQ(data->entries, (std::vector<uint16_t>{0x0086, 0x2807}));

    const auto upper = parseIntelHexRecord(":020000041230B8");
    ASSERT_TRUE(upper.has_value());
    EXPECT_EQ(upper->upperAddress, 0x30); // positions 12-13; 10-11 are not used

    const auto lowerCase = parseIntelHexRecord(":02000a00abcd00");
    ASSERT_TRUE(lowerCase.has_value());
    EXPECT_EQ(lowerCase->address, 0x000A);
    EXPECT_EQ(lowerCase->entries, (std::vector<uint16_t>{0xCDAB}));

    const auto odd = parseIntelHexRecord(":03000000112233");
    ASSERT_TRUE(odd.has_value());
    EXPECT_EQ(odd->entries, (std::vector<uint16_t>{0x2211})); // the odd byte is not read
}

TEST(IntelHexRecord, RefusesLinesTooShortOrNotHexWherePositionsAreRead)
{
    for (const char* bad : {"", ":", ":0000000", "0000000000", ":00 00000", ":0G000000",
                            ":04000000860007", ":040000008600072", ":0400000086000Z28", ":02000004",
                            ":020000040X30", ":0200000400", ":-1000000"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseIntelHexRecord(bad).has_value());
    }
    // Other record types are read only up to their type.
    EXPECT_TRUE(parseIntelHexRecord(":02000002").has_value());
    EXPECT_TRUE(parseIntelHexRecord(":00000001").has_value());
    EXPECT_FALSE(intelHexRecordType(":0000000").has_value());
    EXPECT_EQ(intelHexRecordType(":00000001FF"), kHexEndOfFileRecord);
}

TEST(HexDecoder, Inhx8mSplitsProgramAndEepromAndPassesOverConfiguration)
{
    const THexListing listing = decoded(hexFile({
        wordRecord(0x0000, {0x2804, 0x0000}),
        wordRecord(0x4000, {0x3FFF}), // word 0x2000: ID location
        wordRecord(0x4004, {0x3FFF}), // word 0x2002: ID location
        wordRecord(0x4006, {0x3F12}), // word 0x2003: shown
        wordRecord(0x400E, {0x3F72}), // word 0x2007: configuration
        wordRecord(0x4200, {0x0041, 0x0100, 0x007F, 0x001F}),
        wordRecord(0x4210, {0x0020}),
        endRecord(),
    }));
    EXPECT_EQ(listing.format, HexFormat::INHX8M);
    EXPECT_EQ(listing.codeLines, (Lines{"0000- 2804 0000 ", "2003- 3F12 "}));
    EXPECT_EQ(listing.codeAsciiLines, (Lines{"0000- (...", "2003- ?."}));
    EXPECT_EQ(listing.dataLines, (Lines{"0000- 41 100 7F 1F ", "0008- 20 "}));
    EXPECT_EQ(listing.dataAsciiLines, (Lines{"0000- A.\x7F.", "0008-  "}));
}

TEST(HexDecoder, CharacterColumnsShowHighByteFirstAndDotsOutsidePrintableRange)
{
    const THexListing listing = decoded(hexFile({
        wordRecord(0x0000, {0x4142, 0x7F20, 0x801F, 0xFF7E}),
        endRecord(),
    }));
    EXPECT_EQ(listing.codeAsciiLines, (Lines{"0000- AB\x7F ...~"}));
    EXPECT_EQ(listing.codeLines, (Lines{"0000- 4142 7F20 801F FF7E "}));
}

TEST(HexDecoder, SixteenDataBytesGiveEightEntriesAndTheLineEndsWithASpace)
{
    const THexListing listing = decoded(hexFile({
        wordRecord(0x0020, {1, 2, 3, 4, 5, 6, 7, 0xABCD}),
        endRecord(),
    }));
    EXPECT_EQ(listing.codeLines, (Lines{"0010- 0001 0002 0003 0004 0005 0006 0007 ABCD "}));
}

TEST(HexDecoder, RecordsArePlacedWholeByTheirStartAddress)
{
    std::vector<uint16_t> eight(8, 0x3FFF);
    const THexListing listing = decoded(hexFile({
        wordRecord(0x3FF8, eight),  // words 0x1FFC to 0x2003
        wordRecord(0x41FE, {1, 2}), // word 0x20FF: program, although it reaches 0x2100
        endRecord(),
    }));
    ASSERT_EQ(listing.codeLines.size(), 2u);
    EXPECT_EQ(listing.codeLines[0], "1FFC- 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF ");
    EXPECT_EQ(listing.codeLines[1], "20FF- 0001 0002 ");
    EXPECT_TRUE(listing.dataLines.empty());
}

TEST(HexDecoder, Inhx32PassesOverIdAndConfigurationRangesOnly)
{
    const THexListing listing = decoded(hexFile({
        upperAddressRecord(0x0000),
        wordRecord(0x0000, {0xEF10, 0xF000}),
        upperAddressRecord(0x0020),
        wordRecord(0x0000, {0x1111}), // 0x200000: passed over
        wordRecord(0x0006, {0x2222}), // 0x200006: passed over
        wordRecord(0x0007, {0x3333}), // 0x200007: shown
        upperAddressRecord(0x0030),
        hexRecord(0x0000, 0, {1, 2}),       // 0x300000: passed over
        hexRecord(0x000D, 0, {3, 4}),       // 0x30000D: passed over
        hexRecord(0x000E, 0, {0x41, 0x42}), // 0x30000E: program memory
        upperAddressRecord(0x00F0),
        hexRecord(0x0000, 0, {0x48, 0x69, 0x05, 0x00}),
        hexRecord(0x0010, 0, {0x41, 0x00}),
        endRecord(),
    }));
    EXPECT_EQ(listing.format, HexFormat::INHX32);
    EXPECT_EQ(listing.codeLines, (Lines{"0000- EF10 F000 ", "0003- 3333 ", "0007- 4241 "}));
    EXPECT_EQ(listing.codeAsciiLines, (Lines{"0000- ....", "0003- 33", "0007- BA"}));
    EXPECT_EQ(listing.dataLines, (Lines{"0000- 6948 05 ", "0008- 41 "}));
    EXPECT_EQ(listing.dataAsciiLines, (Lines{"0000- ..", "0008- A"}));
}

TEST(HexDecoder, ExtremeAddressesStayWithinTheirLabels)
{
    const THexListing inhx8m = decoded(hexFile({wordRecord(0xFFFE, {0x1234}), endRecord()}));
    EXPECT_EQ(inhx8m.dataLines, (Lines{"5EFF- 1234 "}));

    const THexListing inhx32 = decoded(hexFile({
        upperAddressRecord(0xFFFF),
        wordRecord(0xFFFE, {0x0042}),
        upperAddressRecord(0x00EF),
        wordRecord(0xFFFE, {0xBEEF}), // just below EEPROM: program label wraps to 16 bits
        endRecord(),
    }));
    EXPECT_EQ(inhx32.dataLines, (Lines{"7FFF- 42 "}));
    EXPECT_EQ(inhx32.codeLines, (Lines{"FFFF- BEEF "}));
}

TEST(HexDecoder, Inhx8mIgnoresTheUpperAddressAndOtherRecordTypesArePassedOver)
{
    const THexListing listing = decoded(hexFile({
        wordRecord(0x0000, {0x0001}),
        upperAddressRecord(0x00F0),
        hexRecord(0x0000, 0x02, {0x10, 0x00}), // extended segment address: not used
        hexRecord(0x0000, 0x05, {0, 0, 0, 0}),
        wordRecord(0x0002, {0x0002}),
        endRecord(),
    }));
    EXPECT_EQ(listing.codeLines, (Lines{"0000- 0001 ", "0001- 0002 "}));
}

TEST(HexDecoder, ReadingStopsAtTheEndRecordOrTheEndOfTheFile)
{
    const THexListing stopped = decoded(hexFile({
        wordRecord(0x0000, {0x0001}),
        endRecord(),
        wordRecord(0x0002, {0x0002}),
        ":this is not read",
    }));
    EXPECT_EQ(stopped.codeLines, (Lines{"0000- 0001 "}));

    const THexListing noEnd = decoded(hexFile({wordRecord(0, {1}), wordRecord(2, {2})}));
    EXPECT_EQ(noEnd.codeLines, (Lines{"0000- 0001 ", "0001- 0002 "}));

    const THexListing noLineEnd = decoded(wordRecord(0, {7}));
    EXPECT_EQ(noLineEnd.codeLines, (Lines{"0000- 0007 "}));
}

TEST(HexDecoder, EveryLineEndAndAnUnverifiedChecksumLoadAlike)
{
    const std::string a = wordRecord(0, {0x1234});
    const std::string b = ":0200020056780A"; // wrong checksum on purpose
    for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
        const THexListing listing = decoded(a + lineEnd + b + lineEnd + endRecord() + lineEnd);
        EXPECT_EQ(listing.codeLines, (Lines{"0000- 1234 ", "0001- 7856 "}));
    }
}

TEST(HexDecoder, ShortDataRecordsStillGetALabelLine)
{
    const THexListing listing = decoded(hexFile({
        hexRecord(0x0000, 0, {}),
        hexRecord(0x0004, 0, {0x55}),
        hexRecord(0x4200, 0, {0x41, 0x00, 0x42}),
        endRecord(),
    }));
    EXPECT_EQ(listing.codeLines, (Lines{"0000- ", "0002- "}));
    EXPECT_EQ(listing.dataLines, (Lines{"0000- 41 "}));
}

TEST(HexDecoder, AnyMalformedLineLoadsNothing)
{
    const std::string good = wordRecord(0, {1});
    expectInvalid(good + "\r\n\r\n" + endRecord());       // empty line inside
    expectInvalid(hexFile({good, endRecord()}) + "\r\n"); // empty line at the end
    expectInvalid("\r\n" + hexFile({good, endRecord()}));
    expectInvalid(hexFile({good, "0200020056780A", endRecord()}));
    expectInvalid(hexFile({good, endRecord(), "junk after the end"}));
    expectInvalid(hexFile({endRecord()}));                        // first record: end of file
    expectInvalid(hexFile({hexRecord(0, 0x02, {0, 0}), good}));   // first record: segment
    expectInvalid(hexFile({":0000000"}));                         // first record too short
    expectInvalid(hexFile({good, ":10000000AABB", endRecord()})); // data cut short
    expectInvalid(hexFile({good, ":02000000GG00", endRecord()})); // not hexadecimal
    expectInvalid(hexFile({good, ":02 000000000", endRecord()})); // header not hexadecimal
    expectInvalid(hexFile({good, ":02000004", endRecord()}));     // upper address cut short
    expectInvalid(hexFile({good, ":0", endRecord()}));
    expectInvalid(hexFile({good, std::string(":02000000\0\0\0\0", 13), endRecord()}));
}

TEST(HexDecoder, AnEmptyFileIsValidAndEmpty)
{
    const THexListing listing = decoded("");
    EXPECT_TRUE(listing.empty());
}

TEST(HexDecoder, LoadHexFileReadsTheFileAndReportsOneThatCannotBeOpened)
{
    const auto path = std::filesystem::temp_directory_path() / "zbx_hex_decoder_test.HEX";
    {
        std::ofstream out(path, std::ios::binary);
        out << hexFile({wordRecord(0x4200, {0x0041}), endRecord()});
    }
    const std::optional<THexListing> listing = LoadHexFile(path.string());
    ASSERT_TRUE(listing.has_value());
    EXPECT_EQ(listing->dataAsciiLines, (Lines{"0000- A"}));
    std::filesystem::remove(path);
    EXPECT_THROW(LoadHexFile(path.string()), EFOpenError);
}

// A HEX file of any size was read whole into memory; one larger than any device's program is
// now refused with a message instead.
TEST(HexDecoder, HexFileLargerThanAnyProgramIsRefusedWithAMessage)
{
    const auto path = std::filesystem::temp_directory_path() / "zbx_hex_bound.HEX";
    std::filesystem::remove(path);
    std::ofstream(path, std::ios::binary) << ":00000001FF\r\n";
    std::filesystem::resize_file(path, kMaxHexFileSize + 1); // sparse: costs no disk
    try {
        LoadHexFile(path.string());
        ADD_FAILURE() << "no error for a file over the bound";
    } catch (const Exception& error) {
        EXPECT_NE(error.Message().find("larger than 16 MB"), std::string::npos) << error.Message();
    }
    std::filesystem::remove(path);
}
