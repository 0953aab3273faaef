// The IDE's own settings file (KALTOR.DAT): sections of plain-text entries, one per line, each
// section a header line "[Name]" followed by its entries and ended by an empty line or the end
// of the file. The whole file is held in memory as lines; every section write rewrites the
// file. Invariants: no line holds a line break or more than MaxEntryLength bytes; a written
// section holds at most `limit` entries and none of them is empty, and is always followed by
// exactly one empty line.
#pragma once

#include <string>
#include <vector>

class TEdPersistent
{
public:
    static constexpr int DefaultLimit = 20;
    // Bounds on what is read: a file of three sections of twenty paths stays far below both.
    static constexpr long long MaxFileSize = 1024 * 1024;
    static constexpr size_t MaxEntryLength = 4096;

    // Loads the file and never throws; what went wrong is in LoadProblem(). A missing file is
    // created, with the lines of seedFileName when that names a readable file (the copy in a
    // read-only program folder that a per-user copy replaces), else empty. A file that cannot
    // be read, is not a regular file or is larger than MaxFileSize reads as empty and is left
    // alone: writes to it fail with the same message. Longer lines than MaxEntryLength are
    // left out.
    explicit TEdPersistent(std::string fileName, std::string seedFileName = {});

    // Empty, or the message (with the file and the reason) of what went wrong while loading.
    const std::string& LoadProblem() const { return m_loadProblem; }

    // The entries of "[section]" (header compared without regard to case): the lines after the
    // first matching header up to an empty line, the end of the file or `limit` entries.
    std::vector<std::string> ReadList(const std::string& section, int limit = DefaultLimit) const;

    // Replaces "[section]" by the non-empty strings among the first `limit` items (longer ones
    // than MaxEntryLength are left out) and writes the file back; the lines in memory change
    // even when the write fails (EFCreateError, EWriteError or EFOpenError with the reason).
    // The rewritten section moves to the end of the file.
    void WriteList(const std::string& section, const std::vector<std::string>& items,
                   int limit = DefaultLimit);

    const std::vector<std::string>& Lines() const { return m_lines; }
    const std::string& FileName() const { return m_fileName; }

    // The last search, kept in memory only.
    std::string LastFindText;
    int LastFindOptions = 0;

private:
    void load(const std::string& seedFileName);
    void dropLongLines();
    void save() const;
    int findHeader(const std::string& header) const;

    std::string m_fileName;
    std::vector<std::string> m_lines;
    std::string m_loadProblem;
    bool m_unreadable = false; // the file exists but could not be read: it is never replaced
};
