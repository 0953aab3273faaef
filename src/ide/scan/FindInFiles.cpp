// A breadth-first walk over the folders, one file scan per folder.
#include "ide/scan/FindInFiles.h"

#include "ide/scan/FileScan.h"
#include "platform/FileAccess.h"
#include "platform/FileLookup.h"
#include "platform/Folders.h"

#include <filesystem>
#include <set>

namespace {

std::string folderIdentity(const std::string& folder)
{
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::canonical(folder, error);
    return error ? folder : canonical.string();
}

} // namespace

void TFindInFiles::stop()
{
    m_stopped = true;
    if (m_scan)
        m_scan->Stop();
}

void TFindInFiles::run(const TFindInFilesQuery& query)
{
    m_stopped = false;
    m_hitCount = 0;
    m_filesMatched = 0;
    m_filesLookedAt = 0;
    m_errors.clear();
    if (query.text.empty())
        return;
    std::vector<std::string> pending{withTrailingSlash(toLocalPath(query.folder))};
    std::set<std::string> seen;
    try {
        for (size_t next = 0; next < pending.size() && !m_stopped && !limitReached(); ++next) {
            const std::string folder = pending[next];
            if (!seen.insert(folderIdentity(folder)).second)
                continue;
            searchFolder(folder, query, pending);
        }
    } catch (...) {
        // A file system that fails under the walk ends the run with what was found.
        m_stopped = true;
    }
    m_scan = nullptr;
}

void TFindInFiles::searchFolder(const std::string& folder, const TFindInFilesQuery& query,
                                std::vector<std::string>& pending)
{
    TFileScan scan;
    scan.Directory = folder;
    scan.FileSpecs = query.patterns;
    scan.SearchStrings = {query.text};
    scan.CaseSense = query.caseSense;
    scan.IncSubDir = false; // folders are walked here, dotted names included
    scan.CurrInfoLabel = [this](const std::string&) { ++m_filesLookedAt; };
    scan.OnFoundFile = [this, &query](const std::string& in, const std::string& name) {
        reportHits(in + name, query);
        if (limitReached() && m_scan)
            m_scan->Stop();
    };
    scan.ProcessMessages = ProcessMessages;
    if (OnLooking)
        OnLooking(folder);
    m_scan = &scan;
    scan.SetStartScan(true);
    m_scan = nullptr;
    for (const std::string& line : scan.Results()) {
        if (line.rfind(kErrorScanning, 0) == 0)
            m_errors.push_back(line);
    }
    if (!query.subfolders || m_stopped)
        return;
    for (const TFolderEntry& entry : listFolder(folder, "*", EntryKind::Folders)) {
        if (!entry.isHidden)
            pending.push_back(folder + entry.name + "/");
    }
}

void TFindInFiles::reportHits(const std::string& path, const TFindInFilesQuery& query)
{
    std::string bytes;
    try {
        if (readRegularFile(path, kMaxFileBytes, bytes) == TReadResult::Missing)
            return;
    } catch (const Exception&) {
        m_errors.push_back(kErrorScanning + path);
        return;
    }
    TFileHits found{path, findLineHits(bytes, {query.text, query.caseSense, query.wholeWord}, kMaxHits - m_hitCount)};
    if (found.hits.empty())
        return;
    m_hitCount += found.hits.size();
    ++m_filesMatched;
    if (OnFileHits)
        OnFileHits(found);
}
