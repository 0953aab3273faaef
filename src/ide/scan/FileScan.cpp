// The folder walk of TFileScan, its filters and its result lines.
#include "ide/scan/FileScan.h"

#include "ide/scan/ScanDates.h"
#include "platform/FileLookup.h"
#include "platform/Folders.h"
#include "platform/LocalTime.h"

#include <cmath>

namespace {

constexpr unsigned kFolderAttribute = 16;

std::vector<std::string> splitPatterns(const std::string& list)
{
    std::vector<std::string> patterns;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(';', start), list.size());
        if (end > start)
            patterns.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return patterns;
}

unsigned attributesOf(const TFolderEntry& entry)
{
    return (entry.isReadOnly ? ftReadOnly : 0u) | (entry.isHidden ? ftHidden : 0u) |
           (entry.isFolder ? kFolderAttribute : 0u);
}

// An entry is listed unless it carries one of the attributes hidden, system, volume label or
// folder that the mask does not ask for (read-only and archived entries are always listed).
bool maskAdmits(unsigned attributes, unsigned mask)
{
    constexpr unsigned excludable = ftHidden | ftSystem | ftVolumeID | kFolderAttribute;
    return (attributes & excludable & ~mask) == 0;
}

double dateTimeOf(int64_t secondsSince1970)
{
    const TLocalDateTime local = localDateTime(secondsSince1970);
    return encodeDateTime(local.year, local.month, local.day, local.hour, local.minute, local.second);
}

double today()
{
    const TLocalDateTime now = localNow();
    return encodeDate(now.year, now.month, now.day);
}

std::string padLeft(const std::string& text, size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

} // namespace

bool compareWith(TFileComp op, int64_t value, int64_t reference)
{
    switch (op) {
    case fctNone:
        return true;
    case fctEqual:
        return value == reference;
    case fctGreaterThan:
        return value > reference;
    case fctLessThan:
        return value < reference;
    case fctGreaterThanOrEqual:
        return value >= reference;
    case fctLessThanOrEqual:
        return value <= reference;
    }
    return true;
}

std::string formatSize(int64_t size)
{
    const bool negative = size < 0;
    std::string digits = std::to_string(negative ? -size : size);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return padLeft((negative ? "-" : "") + digits, 12);
}

std::string formatResultLine(const std::string& folder, const TScanEntry& entry, const TResultLineFormat& format)
{
    std::string line = format.incDirName ? folder + entry.name : entry.name;
    if (format.showSize)
        line += "  " + formatSize(entry.size);
    if (format.showDate) {
        const TLocalDateTime when = localDateTime(entry.modified);
        line += "  " + padLeft(Format("%4.2d/%2.2d/%2.2d", when.year, when.month, when.day), 10);
        line += "  " + padLeft(Format("%2.2d:%2.2d:%2.2d", when.hour, when.minute, when.second), 8);
    }
    if (format.showAttr) {
        static constexpr struct {
            unsigned bit;
            char letter;
        } letters[] = {{ftReadOnly, 'R'}, {ftHidden, 'H'}, {ftSystem, 'S'},
                       {ftVolumeID, 'V'}, {kFolderAttribute, 'D'}, {ftArchive, 'A'}};
        line += "  ";
        for (const auto& entryLetter : letters)
            line += (entry.attributes & entryLetter.bit) ? entryLetter.letter : '-';
    }
    return line;
}

TFileScan::TFileScan() = default;

// ---- the date range -----------------------------------------------------------------------

void TFileScan::SetStartYear(int year)
{
    if (year < 0 || (year >= 1 && year <= 1900))
        throw EFileScan("Invalid Start Year: Year Must be > 1900 - Or Equal 0");
    m_startYear = year;
}

void TFileScan::SetEndYear(int year)
{
    if (year < 0 || (year >= 1 && year <= 1900))
        throw EFileScan("Invalid End Year: Year Must be > 1900 or Equal 0");
    m_endYear = year;
}

void TFileScan::SetStartMonth(int month)
{
    if (month < 0 || month > 12)
        throw EFileScan("Invalid Start Month: Month Must be 0 < Month > 13 - Or Equal to 0");
    m_startMonth = month;
}

void TFileScan::SetEndMonth(int month)
{
    if (month < 0 || month > 12)
        throw EFileScan("Invalid End Month: Month Must be 0 < Month > 13 - Or Equal to 0");
    m_endMonth = month;
}

// Without a month yet, any day a month can have (31) is taken.
void TFileScan::SetStartDay(int day)
{
    const int longest = m_startMonth == 0 ? 31 : daysInMonth(m_startYear, m_startMonth);
    if (day < 0 || day > longest)
        throw EFileScan("Invalid Start Day: Day Must be 0 > Day < (Max for Month)");
    m_startDay = day;
}

void TFileScan::SetEndDay(int day)
{
    const int longest = m_endMonth == 0 ? 31 : daysInMonth(m_endYear, m_endMonth);
    if (day < 0 || day > longest)
        throw EFileScan("Invalid End Day: Day Must be 0 > Day < (Max for Month)");
    m_endDay = day;
}

// ---- the scan ---------------------------------------------------------------------------------

void TFileScan::SetStartScan(bool start)
{
    if (!start || m_busy)
        return;
    m_stopRequested = false;
    if (!AppendItems)
        m_results.clear();
    if (OnStartSearch)
        OnStartSearch();
    if (SearchAllDrives) {
        const bool append = AppendItems;
        AppendItems = true;
        try {
            scanFolder("/");
        } catch (...) {
            AppendItems = append;
            throw;
        }
        AppendItems = append;
    } else {
        scanFolder(Directory);
    }
    if (OnEndSearch)
        OnEndSearch();
}

void TFileScan::scanFolder(const std::string& folder)
{
    if (m_busy)
        return;
    struct BusyScope {
        bool& busy;
        explicit BusyScope(bool& flag) : busy(flag) { busy = true; }
        ~BusyScope() { busy = false; }
    } scope(m_busy);
    const std::string named = withTrailingSlash(toLocalPath(folder));
    const unsigned mask = FileType & (ftReadOnly | ftHidden | ftSystem | ftVolumeID | ftArchive);
    bool ended = false;
    for (const std::string& pattern : splitPatterns(FileSpecs)) {
        scanPattern(named, pattern, mask, ended);
        if (ended)
            return;
    }
    if (IncSubDir)
        visitSubfolders(named);
}

void TFileScan::scanPattern(const std::string& folder, const std::string& pattern, unsigned mask, bool& ended)
{
    for (const TFolderEntry& found : listFolder(folder, pattern, EntryKind::Files)) {
        const TScanEntry entry{found.name, found.size, found.modified, attributesOf(found)};
        if (!maskAdmits(entry.attributes, mask))
            continue;
        if (CurrInfoLabel)
            CurrInfoLabel(folder + entry.name + std::string(78, ' '));
        if (acceptEntry(folder, entry)) {
            if (OnFoundFile)
                OnFoundFile(folder, entry.name);
            m_results.push_back(formatResultLine(folder, entry, {ShowSize, ShowDate, ShowAttr, IncDirName}));
        }
        if (ProcessMessages)
            ProcessMessages();
        if (limitReached()) {
            m_results.push_back(kMatchLimitMet);
            ended = true;
            return;
        }
        if (m_stopRequested) {
            ended = true;
            return;
        }
    }
}

bool TFileScan::limitReached() const
{
    return MatchLimit > 0 && static_cast<int64_t>(m_results.size()) >= MatchLimit;
}

bool TFileScan::acceptEntry(const std::string& folder, const TScanEntry& entry)
{
    if (!compareWith(FileSizeComp, entry.size, FileSize))
        return false;
    if (FileAgeComp != fctNone) {
        const double age = std::floor(today() + 0.99999 - dateTimeOf(entry.modified));
        if (!compareWith(FileAgeComp, static_cast<int64_t>(age), FileAge))
            return false;
    }
    if (!passesDateRange(entry))
        return false;
    return passesContent(folder, entry);
}

bool TFileScan::passesDateRange(const TScanEntry& entry)
{
    if (m_endYear != 0 && m_startYear == 0) {
        m_startYear = 1900;
        m_startMonth = 1;
        m_startDay = 1;
    }
    if (m_startYear == 0 || m_endYear == 0)
        return true;
    const double start = encodeDate(m_startYear, m_startMonth, m_startDay);
    const double end = encodeDate(m_endYear, m_endMonth, m_endDay);
    const double when = dateTimeOf(entry.modified);
    return when > start && when < end;
}

bool TFileScan::passesContent(const std::string& folder, const TScanEntry& entry)
{
    if (SearchStrings.empty() || (SearchStrings.size() == 1 && SearchStrings.front() == "*"))
        return true;
    TContentSearch search(TContentQuery{SearchStrings, SearchStringType, SearchType, CaseSense});
    search.setBlockSize(m_blockSize);
    const std::string path = folder + entry.name;
    const auto before = [&](int64_t block) {
        if (OnBeforeBufferScan)
            OnBeforeBufferScan(path, block);
    };
    const auto after = [&](int64_t block) {
        if (OnAfterBufferScan)
            OnAfterBufferScan(path, block);
    };
    switch (search.searchFile(path, before, after)) {
    case TContentResult::Match:
        return true;
    case TContentResult::NoMatch:
        return false;
    case TContentResult::NotOpenable:
    case TContentResult::ReadError:
        m_results.push_back(kErrorScanning + path);
        return false;
    }
    return false;
}

void TFileScan::visitSubfolders(const std::string& folder)
{
    const unsigned mask = kFolderAttribute | (DirType & (dtReadOnly | dtHidden | dtSystem | dtArchive));
    for (const TFolderEntry& found : listFolder(folder, "*", EntryKind::Folders)) {
        if (!maskAdmits(attributesOf(found), mask) || found.name.find('.') != std::string::npos)
            continue;
        if (OnFoundDirectory)
            OnFoundDirectory(folder, found.name);
        // A handler that scans the subfolder finds the component busy; its entries are not
        // listed by this scan.
        scanFolder(folder + found.name);
        if (m_stopRequested)
            return;
    }
}
