// The file scan: which entries it lists and how, the refusals of the date setters, the date,
// size and age filters, the match limit, the content filter's error line, and the busy rule
// that keeps subfolders out of a scan.
#include "ide/scan/FileScan.h"
#include "ide/scan/ScanDates.h"
#include "platform/LocalTime.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include <sys/stat.h>
#include <utime.h>

namespace {

void setModified(const std::string& path, int year, int month, int day)
{
    std::tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = 12;
    when.tm_isdst = -1;
    const utimbuf times{std::mktime(&when), std::mktime(&when)};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

std::vector<std::string> sorted(std::vector<std::string> lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

class FileScanTest : public ::testing::Test
{
protected:
    void SetUp() override { m_scan.Directory = m_folder.path(); }
    std::vector<std::string> scan()
    {
        m_scan.SetStartScan(true);
        return sorted(m_scan.Results());
    }
    std::string in(const std::string& name) const { return m_folder.path(name); }

    TempFolder m_folder;
    TFileScan m_scan;
};

} // namespace

TEST_F(FileScanTest, DateSettersRefuseWithTheirMessagesAndKeepTheOldValue)
{
    const struct {
        void (TFileScan::*set)(int);
        int (TFileScan::*get)() const;
        int good;
        std::vector<int> refused;
        const char* message;
    } cases[] = {
        {&TFileScan::SetStartYear, &TFileScan::StartYear, 2004, {1, 1900, -1}, "Invalid Start Year: Year Must be > 1900 - Or Equal 0"},
        {&TFileScan::SetEndYear, &TFileScan::EndYear, 1901, {1, 1900, -5}, "Invalid End Year: Year Must be > 1900 or Equal 0"},
        {&TFileScan::SetStartMonth, &TFileScan::StartMonth, 12, {13, -1}, "Invalid Start Month: Month Must be 0 < Month > 13 - Or Equal to 0"},
        {&TFileScan::SetEndMonth, &TFileScan::EndMonth, 1, {13, -1}, "Invalid End Month: Month Must be 0 < Month > 13 - Or Equal to 0"},
    };
    for (const auto& c : cases) {
        TFileScan scan;
        (scan.*c.set)(c.good);
        (scan.*c.set)(0);
        (scan.*c.set)(c.good);
        for (int value : c.refused) {
            try {
                (scan.*c.set)(value);
                ADD_FAILURE() << c.message << " not raised for " << value;
            } catch (const EFileScan& error) {
                EXPECT_EQ(error.Message(), c.message);
            }
            EXPECT_EQ((scan.*c.get)(), c.good) << c.message;
        }
    }
}

TEST_F(FileScanTest, DaySettersKnowTheLengthOfTheMonthAndLeapYears)
{
    TFileScan scan;
    scan.SetStartYear(2004);
    scan.SetStartMonth(2);
    scan.SetStartDay(29); // 2004 is a leap year
    scan.SetEndYear(2000);
    scan.SetEndMonth(2);
    scan.SetEndDay(29); // 2100 is not, but 2000 is
    scan.SetEndYear(2100);
    EXPECT_THROW(scan.SetEndDay(29), EFileScan);
    EXPECT_EQ(scan.EndDay(), 29) << "the refused value is not kept";
    try {
        scan.SetStartDay(30);
        ADD_FAILURE();
    } catch (const EFileScan& error) {
        EXPECT_EQ(error.Message(), "Invalid Start Day: Day Must be 0 > Day < (Max for Month)");
    }
    scan.SetEndMonth(4);
    try {
        scan.SetEndDay(31);
        ADD_FAILURE();
    } catch (const EFileScan& error) {
        EXPECT_EQ(error.Message(), "Invalid End Day: Day Must be 0 > Day < (Max for Month)");
    }
    EXPECT_THROW(scan.SetStartDay(-1), EFileScan);
    EXPECT_EQ(scan.StartDay(), 29);
}

TEST_F(FileScanTest, AnEndYearAloneStartsTheRangeIn1900)
{
    writeWholeFile(in("old.bas"), "x");
    writeWholeFile(in("new.bas"), "x");
    setModified(in("old.bas"), 1999, 6, 1);
    setModified(in("new.bas"), 2010, 6, 1);
    m_scan.SetEndYear(2004);
    m_scan.SetEndMonth(1);
    m_scan.SetEndDay(1);
    EXPECT_EQ(scan(), std::vector<std::string>{in("old.bas")});
    EXPECT_EQ(m_scan.StartYear(), 1900);
    EXPECT_EQ(m_scan.StartMonth(), 1);
    EXPECT_EQ(m_scan.StartDay(), 1);
}

TEST_F(FileScanTest, AnImpossibleRangeEndsTheScanWithTheDateErrorAndLeavesItIdle)
{
    writeWholeFile(in("a.bas"), "x");
    m_scan.SetStartYear(2001);
    m_scan.SetEndYear(2004); // months and days left at 0
    try {
        m_scan.SetStartScan(true);
        ADD_FAILURE();
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), kInvalidDateEncode);
    }
    EXPECT_FALSE(m_scan.Busy());
    m_scan.SetStartMonth(1);
    m_scan.SetStartDay(1);
    m_scan.SetEndMonth(1);
    m_scan.SetEndDay(1);
    EXPECT_TRUE(scan().empty()) << "the file is from today, outside 2001 to 2004";
}

TEST_F(FileScanTest, PatternsMatchWithoutLetterCaseAndSubfoldersAreOnlyAnnounced)
{
    writeWholeFile(in("A.EXE"), "");
    writeWholeFile(in("B.exe"), "");
    writeWholeFile(in("notes.txt"), "");
    writeWholeFile(in(".hidden.exe"), "");
    std::filesystem::create_directories(in("sub"));
    std::filesystem::create_directories(in("v1.2"));
    writeWholeFile(in("sub/C.EXE"), "");
    m_scan.FileSpecs = "*.exe";
    std::vector<std::string> announced;
    m_scan.OnFoundDirectory = [&](const std::string& folder, const std::string& name) {
        announced.push_back(folder + name);
        // A scan started from the handler finds the component busy.
        m_scan.Directory = folder + name;
        m_scan.SetStartScan(true);
    };
    EXPECT_EQ(scan(), (std::vector<std::string>{in("A.EXE"), in("B.exe")}));
    EXPECT_EQ(announced, std::vector<std::string>{in("sub")}) << "names with a dot are not folders to visit";
    m_scan.Directory = m_folder.path();
    m_scan.FileType = ftNormal | ftHidden;
    m_scan.OnFoundDirectory = nullptr;
    EXPECT_EQ(scan().size(), 3u) << "hidden files only when asked for";
}

TEST_F(FileScanTest, ResultLinesCarrySizeDateAndAttributesWhenAsked)
{
    writeWholeFile(in("prog.bas"), std::string(1234567, 'x'));
    setModified(in("prog.bas"), 2004, 3, 5);
    ::chmod(in("prog.bas").c_str(), 0444);
    m_scan.ShowSize = true;
    m_scan.ShowDate = true;
    m_scan.ShowAttr = true;
    m_scan.IncDirName = false;
    ASSERT_EQ(scan().size(), 1u);
    EXPECT_EQ(m_scan.Results()[0], "prog.bas     1,234,567  2004/03/05  12:00:00  R-----");
    EXPECT_EQ(formatSize(0), "           0");
    EXPECT_EQ(formatSize(999), "         999");
    EXPECT_EQ(formatSize(1000), "       1,000");
}

TEST_F(FileScanTest, SizeAndAgeFiltersCompareAsTold)
{
    writeWholeFile(in("small.bas"), "12");
    writeWholeFile(in("large.bas"), "1234567890");
    setModified(in("large.bas"), 2000, 1, 1);
    m_scan.FileSize = 2;
    m_scan.FileSizeComp = fctGreaterThan;
    EXPECT_EQ(scan(), std::vector<std::string>{in("large.bas")});
    m_scan.FileSizeComp = fctLessThanOrEqual;
    EXPECT_EQ(scan(), std::vector<std::string>{in("small.bas")});
    m_scan.FileSizeComp = fctNone;
    m_scan.FileAge = 0;
    m_scan.FileAgeComp = fctEqual; // changed today
    EXPECT_EQ(scan(), std::vector<std::string>{in("small.bas")});
    m_scan.FileAge = 365;
    m_scan.FileAgeComp = fctGreaterThan;
    EXPECT_EQ(scan(), std::vector<std::string>{in("large.bas")});
}

TEST_F(FileScanTest, MatchLimitEndsTheScanWithItsLine)
{
    for (int i = 0; i < 5; ++i)
        writeWholeFile(in("f" + std::to_string(i) + ".bas"), "");
    m_scan.MatchLimit = 2;
    int looked = 0;
    m_scan.ProcessMessages = [&] { ++looked; };
    m_scan.SetStartScan(true);
    ASSERT_EQ(m_scan.Results().size(), 3u);
    EXPECT_EQ(m_scan.Results()[2], kMatchLimitMet);
    EXPECT_EQ(looked, 2);
    EXPECT_FALSE(m_scan.StartScan());
}

TEST_F(FileScanTest, ContentFilterListsMatchesAndAnUnreadableFileAsAnError)
{
    writeWholeFile(in("yes.bas"), "10 PRINT \"HELLO\"");
    writeWholeFile(in("no.bas"), "10 GOTO 10");
    writeWholeFile(in("locked.bas"), "PRINT");
    ::chmod(in("locked.bas").c_str(), 0);
    const bool rootReadsAnything = ::geteuid() == 0;
    m_scan.SearchStrings = {"print"};
    std::vector<std::string> expected = {in("yes.bas")};
    if (!rootReadsAnything)
        expected.push_back(std::string(kErrorScanning) + in("locked.bas"));
    else
        expected.push_back(in("locked.bas"));
    EXPECT_EQ(scan(), sorted(expected));
    m_scan.SearchStrings = {"*"};
    EXPECT_EQ(scan().size(), 3u) << "a lone \"*\" is no content filter";
}

TEST_F(FileScanTest, AppendItemsKeepsEarlierResultsAndStopEndsAScan)
{
    writeWholeFile(in("a.bas"), "");
    writeWholeFile(in("b.bas"), "");
    m_scan.SetStartScan(true);
    m_scan.AppendItems = true;
    m_scan.SetStartScan(true);
    EXPECT_EQ(m_scan.Results().size(), 4u);
    m_scan.AppendItems = false;
    m_scan.OnFoundFile = [&](const std::string&, const std::string&) { m_scan.Stop(); };
    m_scan.SetStartScan(true);
    EXPECT_EQ(m_scan.Results().size(), 1u);
    m_scan.OnFoundFile = nullptr;
    m_scan.SetStartScan(true);
    EXPECT_EQ(m_scan.Results().size(), 2u) << "a stop lasts for one scan";
}

TEST(ScanDates, DayNumbersAndLeapYears)
{
    EXPECT_EQ(encodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(encodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(encodeDate(2000, 3, 1) - encodeDate(2000, 2, 28), 2.0);
    EXPECT_EQ(encodeDate(1900, 3, 1) - encodeDate(1900, 2, 28), 1.0);
    EXPECT_THROW(encodeDate(2001, 2, 29), EConvertError);
    EXPECT_THROW(encodeDate(2001, 0, 1), EConvertError);
    EXPECT_DOUBLE_EQ(encodeDateTime(1900, 1, 1, 12, 0, 0), 2.5);
}
