// The IDE's own settings file (KALTOR.DAT): sections of plain-text entries, one per line, each
// section a header line "[Name]" followed by its entries and ended by an empty line or the end
// of the file. The whole file is held in memory as lines; every section write rewrites the
// file. Invariants: no line holds a line break; a written section holds at most `limit`
// entries and none of them is empty, and is always followed by exactly one empty line.
#pragma once

#include <string>
#include <vector>

class TEdPersistent
{
public:
    static constexpr int DefaultLimit = 20;

    // Loads the file; when it does not exist it is created empty. A file that cannot be read or
    // created throws EFOpenError / EFCreateError with the reason.
    explicit TEdPersistent(std::string fileName);

    // The entries of "[section]" (header compared without regard to case): the lines after the
    // first matching header up to an empty line, the end of the file or `limit` entries.
    std::vector<std::string> ReadList(const std::string& section, int limit = DefaultLimit) const;

    // Replaces "[section]" by the non-empty strings among the first `limit` items and writes
    // the file back. The rewritten section moves to the end of the file.
    void WriteList(const std::string& section, const std::vector<std::string>& items,
                   int limit = DefaultLimit);

    const std::vector<std::string>& Lines() const { return m_lines; }
    const std::string& FileName() const { return m_fileName; }

    // The last search, kept in memory only.
    std::string LastFindText;
    int LastFindOptions = 0;

private:
    void load();
    void save() const;
    int findHeader(const std::string& header) const;

    std::string m_fileName;
    std::vector<std::string> m_lines;
};
