#include "ide/EdPersistent.h"

#include "base/Exception.h"
#include "platform/AtomicFile.h"
#include "platform/FileAccess.h"

#include <algorithm>

namespace {

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// Splits file bytes into lines at CR LF, LF or CR; a final line break adds no empty line.
std::vector<std::string> splitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::string headerOf(const std::string& section) { return "[" + section + "]"; }

} // namespace

TEdPersistent::TEdPersistent(std::string fileName, std::string seedFileName)
    : m_fileName(std::move(fileName))
{
    load(seedFileName);
}

void TEdPersistent::load(const std::string& seedFileName)
{
    std::string bytes;
    try {
        if (readFileLimited(m_fileName, MaxFileSize, bytes)) {
            m_lines = splitLines(bytes);
            dropLongLines();
            return;
        }
    } catch (const Exception& error) {
        m_unreadable = true;
        m_loadProblem = error.Message();
        return;
    }
    try {
        if (!seedFileName.empty() && readFileLimited(seedFileName, MaxFileSize, bytes)) {
            m_lines = splitLines(bytes);
            dropLongLines();
        }
    } catch (const Exception&) {
        // A seed that cannot be read is no loss: the settings start empty.
    }
    try {
        save();
    } catch (const Exception& error) {
        m_loadProblem = error.Message();
    }
}

void TEdPersistent::dropLongLines()
{
    const size_t before = m_lines.size();
    std::erase_if(m_lines, [](const std::string& line) { return line.size() > MaxEntryLength; });
    if (m_lines.size() != before)
        m_loadProblem = Format("File \"%s\" holds %zu entries longer than %zu characters; they are left out.",
                               m_fileName.c_str(), before - m_lines.size(), MaxEntryLength);
}

void TEdPersistent::save() const
{
    if (m_unreadable)
        throw EFOpenError(m_loadProblem);
    std::string bytes;
    for (const auto& line : m_lines)
        bytes += line + "\r\n";
    WriteFileAtomically(m_fileName, bytes);
}

int TEdPersistent::findHeader(const std::string& header) const
{
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (equalsIgnoringCase(m_lines[i], header))
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<std::string> TEdPersistent::ReadList(const std::string& section, int limit) const
{
    std::vector<std::string> entries;
    const int header = findHeader(headerOf(section));
    if (header < 0)
        return entries;
    for (size_t i = static_cast<size_t>(header) + 1; i < m_lines.size(); ++i) {
        if (m_lines[i].empty() || static_cast<int>(entries.size()) >= limit)
            break;
        entries.push_back(m_lines[i]);
    }
    return entries;
}

void TEdPersistent::WriteList(const std::string& section, const std::vector<std::string>& items, int limit)
{
    const std::string header = headerOf(section);
    const int found = findHeader(header);
    if (found >= 0) {
        auto first = m_lines.begin() + found;
        auto last = first + 1;
        while (last != m_lines.end() && !last->empty())
            ++last;
        while (last != m_lines.end() && last->empty())
            ++last;
        m_lines.erase(first, last);
    }
    // A section must be separated from the one before it even when that one ended the file
    // without its empty line (a hand-edited or truncated file); otherwise the new header would
    // be read back as an entry of the previous section.
    if (!m_lines.empty() && !m_lines.back().empty())
        m_lines.emplace_back();
    m_lines.push_back(header);
    const size_t count = std::min(items.size(), static_cast<size_t>(std::max(limit, 0)));
    for (size_t i = 0; i < count; ++i) {
        if (!items[i].empty() && items[i].size() <= MaxEntryLength)
            m_lines.push_back(items[i]);
    }
    m_lines.emplace_back();
    const auto firstText = std::find_if(m_lines.begin(), m_lines.end(), [](const std::string& l) { return !l.empty(); });
    m_lines.erase(m_lines.begin(), firstText);
    save();
}
