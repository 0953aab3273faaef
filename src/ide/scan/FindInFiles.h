// Find in Files: the files under a folder whose names match patterns and whose text holds a
// search text, with the number and text of each line that holds it. The file scan picks the
// files (its content search reads them in blocks and rejects most without reading them whole);
// only the files it accepts are read again for their lines. Events run after every file, and a
// run can be stopped from an event.
// Invariants: hitCount() is the number of hits reported so far and never exceeds kMaxHits;
// each folder is searched at most once per run, however symbolic links lead back to it.
#pragma once

#include "ide/scan/LineHits.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TFileScan;

struct TFindInFilesQuery {
    std::string folder;
    std::string patterns = "*.bas;*.inc";
    std::string text;
    bool caseSense = false;
    bool wholeWord = false;
    bool subfolders = true;
};

struct TFileHits {
    std::string path;
    std::vector<TLineHit> hits;
};

class TFindInFiles
{
public:
    static constexpr size_t kMaxHits = 20000;
    // Files larger than this are searched in their first kMaxFileBytes bytes for lines.
    static constexpr long long kMaxFileBytes = 64LL * 1024 * 1024;

    // Called with each file that holds the text, as soon as it is found.
    std::function<void(const TFileHits&)> OnFileHits;
    // Called with each folder the search enters.
    std::function<void(const std::string& folder)> OnLooking;
    // Lets pending window events run; called after every file.
    std::function<void()> ProcessMessages;

    // Searches; returns when done, stopped or at kMaxHits. Never throws.
    void run(const TFindInFilesQuery& query);
    // Ends a run after the file it is looking at.
    void stop();

    bool stopped() const { return m_stopped; }
    bool limitReached() const { return m_hitCount >= kMaxHits; }
    size_t hitCount() const { return m_hitCount; }
    size_t filesMatched() const { return m_filesMatched; }
    size_t filesLookedAt() const { return m_filesLookedAt; }
    // "*** Error Scanning: " lines of files that could not be read.
    const std::vector<std::string>& errors() const { return m_errors; }

private:
    void searchFolder(const std::string& folder, const TFindInFilesQuery& query, std::vector<std::string>& pending);
    void reportHits(const std::string& path, const TFindInFilesQuery& query);

    TFileScan* m_scan = nullptr; // the scan running, for stop()
    bool m_stopped = false;
    size_t m_hitCount = 0;
    size_t m_filesMatched = 0;
    size_t m_filesLookedAt = 0;
    std::vector<std::string> m_errors;
};
