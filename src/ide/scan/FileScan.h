// TFileScan: lists the files of a folder that match file patterns and filters on size, age,
// date and content, as result lines for a list box. A scan runs when StartScan is set; it lets
// pending events run after every entry (ProcessMessages) and can be asked to stop.
// Invariants: Busy() is true exactly while a scan runs, and a scan started while one runs
// returns at once; result lines are only ever appended during a scan; the date properties
// always hold values their setters accept, apart from the 1900 the scan itself puts into
// StartYear when only an end date is set.
#pragma once

#include "ide/scan/ContentSearch.h"

#include "base/Exception.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A date property given a value it refuses; the property keeps its old value.
class EFileScan : public Exception
{
public:
    using Exception::Exception;
};

// Attributes of folders to visit besides plain ones; the values are the attribute bits.
enum TDirType : unsigned { dtReadOnly = 1, dtHidden = 2, dtSystem = 4, dtArchive = 32 };
// Attributes of files to list; ftNormal adds no bit (plain files are always listed).
enum TFileType : unsigned { ftReadOnly = 1, ftHidden = 2, ftSystem = 4, ftVolumeID = 8, ftArchive = 32, ftNormal = 128 };
enum TFileComp { fctNone, fctEqual, fctGreaterThan, fctLessThan, fctGreaterThanOrEqual, fctLessThanOrEqual };

inline constexpr const char* kErrorScanning = "*** Error Scanning: ";
inline constexpr const char* kMatchLimitMet = "  *** Search Match Limit has been meet!  Search Stopped.";

// What the scan knows of one folder entry; the attribute bits are those of TFileType plus
// 16 for a folder.
struct TScanEntry {
    std::string name;
    int64_t size = 0;
    int64_t modified = 0; // seconds since 1970, UTC
    unsigned attributes = 0;
};

// The result line of an entry in folder (which ends in the separator).
struct TResultLineFormat {
    bool showSize = false;
    bool showDate = false;
    bool showAttr = false;
    bool incDirName = true;
};
std::string formatResultLine(const std::string& folder, const TScanEntry& entry, const TResultLineFormat& format);
// "%12.0n": the whole number with thousands separated by ",", right-aligned in 12.
std::string formatSize(int64_t size);

class TFileScan
{
public:
    TFileScan();

    // Published properties, with their defaults.
    unsigned DirType = 0;       // TDirType bits
    unsigned FileType = ftNormal; // TFileType bits
    bool IncSubDir = true;
    std::string Directory = "/"; // the root of the file system, this platform's only drive
    bool SearchAllDrives = false;
    std::string FileSpecs = "*.*";
    std::vector<std::string> SearchStrings;
    TSearchStringType SearchStringType = sst_Normal;
    TSearchType SearchType = st_Or;
    bool CaseSense = false;
    int64_t FileSize = 0;
    TFileComp FileSizeComp = fctNone;
    int64_t FileAge = 0;
    TFileComp FileAgeComp = fctNone;
    // Shows the entry being looked at (the label of the owner); may be empty.
    std::function<void(const std::string&)> CurrInfoLabel;
    bool ShowSize = false;
    bool ShowDate = false;
    bool ShowAttr = false;
    bool AppendItems = false;
    bool IncDirName = true;
    int MatchLimit = 0;

    int StartYear() const { return m_startYear; }
    int StartMonth() const { return m_startMonth; }
    int StartDay() const { return m_startDay; }
    int EndYear() const { return m_endYear; }
    int EndMonth() const { return m_endMonth; }
    int EndDay() const { return m_endDay; }
    // Each throws EFileScan with its message for a value it refuses.
    void SetStartYear(int year);
    void SetStartMonth(int month);
    void SetStartDay(int day);
    void SetEndYear(int year);
    void SetEndMonth(int month);
    void SetEndDay(int day);

    // Events: folder ends in the separator; name is the entry's name.
    std::function<void(const std::string& folder, const std::string& name)> OnFoundFile;
    std::function<void(const std::string& folder, const std::string& name)> OnFoundDirectory;
    std::function<void()> OnStartSearch;
    std::function<void()> OnEndSearch;
    // Around the search of each block of a file's content: the file and the block's number.
    std::function<void(const std::string& file, int64_t block)> OnBeforeBufferScan;
    std::function<void(const std::string& file, int64_t block)> OnAfterBufferScan;
    // Lets pending window events run; called after every entry.
    std::function<void()> ProcessMessages;

    // Setting true runs a scan at once; it reads back false. A date that does not exist in the
    // date range ends the scan with EConvertError (the busy flag is cleared all the same).
    bool StartScan() const { return false; }
    void SetStartScan(bool start);

    // Asks a running scan to end after the entry it is looking at (an event handler or
    // ProcessMessages may ask). The next scan starts afresh.
    void Stop() { m_stopRequested = true; }
    bool StopRequested() const { return m_stopRequested; }
    bool Busy() const { return m_busy; }

    // The result list, one line per accepted entry (plus error and limit lines).
    std::vector<std::string>& Results() { return m_results; }
    const std::vector<std::string>& Results() const { return m_results; }

    // Test knob: the block size of the content search.
    void setContentBlockSize(int64_t size) { m_blockSize = size; }

private:
    void scanFolder(const std::string& folder);
    void scanPattern(const std::string& folder, const std::string& pattern, unsigned mask, bool& ended);
    bool acceptEntry(const std::string& folder, const TScanEntry& entry);
    bool passesDateRange(const TScanEntry& entry);
    bool passesContent(const std::string& folder, const TScanEntry& entry);
    void visitSubfolders(const std::string& folder);
    bool limitReached() const;

    int m_startYear = 0, m_startMonth = 0, m_startDay = 0;
    int m_endYear = 0, m_endMonth = 0, m_endDay = 0;
    std::vector<std::string> m_results;
    bool m_busy = false;
    bool m_stopRequested = false;
    int64_t m_blockSize = TContentSearch::kBlockSize;
};

// Matches the comparison op of value with reference; fctNone always passes.
bool compareWith(TFileComp op, int64_t value, int64_t reference);
