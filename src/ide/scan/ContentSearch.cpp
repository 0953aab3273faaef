// The block search: a window of carried bytes plus one block, searched for every text still
// undecided, then the window's tail carried over.
#include "ide/scan/ContentSearch.h"

#include "platform/BlockReader.h"

#include <algorithm>
#include <array>
#include <functional>

namespace {

std::array<char, 256> makeUpperTable()
{
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        int upper = c;
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            upper = c - 0x20;
        else if (c == 0x9A || c == 0x9C || c == 0x9E)
            upper = c - 0x10;
        else if (c == 0xFF)
            upper = 0x9F;
        table[static_cast<size_t>(c)] = static_cast<char>(upper);
    }
    return table;
}

const std::array<char, 256> upperTable = makeUpperTable();

bool boundsBefore(char c)
{
    return c == ' ' || c == '\0';
}

bool boundsAfter(char c)
{
    return c == ' ' || c == ',' || c == '.' || c == '\0';
}

bool needsBefore(TSearchStringType type)
{
    return type == sst_Prefix || type == sst_Word;
}

bool needsAfter(TSearchStringType type)
{
    return type == sst_Suffix || type == sst_Word;
}

} // namespace

char upperCp1252(char c)
{
    return upperTable[static_cast<unsigned char>(c)];
}

void upperCp1252InPlace(std::string& text)
{
    for (char& c : text)
        c = upperCp1252(c);
}

TContentSearch::TContentSearch(TContentQuery query) : m_query(std::move(query))
{
    for (std::string needle : m_query.texts) {
        if (needle.empty())
            continue;
        if (!m_query.caseSense)
            upperCp1252InPlace(needle);
        m_longest = std::max(m_longest, needle.size());
        m_needles.push_back(std::move(needle));
    }
}

// One search through one file: which texts were found so far, and the window being searched.
class TContentSearch::Run
{
public:
    explicit Run(const TContentSearch& search)
        : m_search(search), m_found(search.m_needles.size(), false), m_left(search.m_needles.size())
    {
    }

    // Adds one block; final when no more bytes follow. Answers whether the outcome is decided.
    bool add(const char* bytes, int64_t count, bool final)
    {
        const size_t carried = m_window.size();
        m_window.append(bytes, static_cast<size_t>(count));
        if (!m_search.m_query.caseSense) {
            for (size_t i = carried; i < m_window.size(); ++i)
                m_window[i] = upperCp1252(m_window[i]);
        }
        const bool decided = searchWindow(final);
        const size_t keep = std::min(m_window.size(), m_search.m_longest + 1);
        m_windowStart += static_cast<int64_t>(m_window.size() - keep);
        m_window.erase(0, m_window.size() - keep);
        return decided;
    }

    TContentResult result() const
    {
        switch (m_search.m_query.searchType) {
        case st_Or:
            return m_anyFound ? TContentResult::Match : TContentResult::NoMatch;
        case st_And:
            return m_left == 0 && !m_search.m_needles.empty() && m_anyFound ? TContentResult::Match
                                                                              : TContentResult::NoMatch;
        case st_Not:
            return m_anyFound ? TContentResult::NoMatch : TContentResult::Match;
        }
        return TContentResult::NoMatch;
    }

private:
    bool searchWindow(bool final)
    {
        for (size_t i = 0; i < m_found.size(); ++i) {
            if (m_found[i] || !occurs(m_search.m_needles[i], final))
                continue;
            m_found[i] = true;
            m_anyFound = true;
            --m_left;
            if (m_search.m_query.searchType != st_And)
                return true;
        }
        return m_search.m_query.searchType == st_And && m_left == 0;
    }

    // Whether needle occurs in the window with the bounds the query asks for. An occurrence
    // whose neighbour lies outside the window is left to the window that holds it: the one
    // before for the first byte (it was judged there already), the next for the last.
    bool occurs(const std::string& needle, bool final) const
    {
        const TSearchStringType type = m_search.m_query.stringType;
        const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
        auto from = m_window.begin();
        while (true) {
            const auto hit = std::search(from, m_window.end(), searcher);
            if (hit == m_window.end())
                return false;
            const size_t at = static_cast<size_t>(hit - m_window.begin());
            const size_t end = at + needle.size();
            if (bounded(type, at, end, final))
                return true;
            from = hit + 1;
        }
    }

    bool bounded(TSearchStringType type, size_t at, size_t end, bool final) const
    {
        if (needsBefore(type)) {
            const bool fileStart = at == 0 && m_windowStart == 0;
            if (!fileStart && (at == 0 || !boundsBefore(m_window[at - 1])))
                return false;
        }
        if (needsAfter(type)) {
            if (end == m_window.size())
                return final;
            if (!boundsAfter(m_window[end]))
                return false;
        }
        return true;
    }

    const TContentSearch& m_search;
    std::vector<bool> m_found;
    size_t m_left;
    bool m_anyFound = false;
    std::string m_window;
    int64_t m_windowStart = 0; // file offset of m_window[0]
};

TContentResult TContentSearch::searchFile(const std::string& path, const std::function<void(int64_t)>& before,
                                          const std::function<void(int64_t)>& after) const
{
    TBlockReader reader;
    if (!reader.open(path))
        return TContentResult::NotOpenable;
    Run run(*this);
    std::string block(static_cast<size_t>(m_blockSize), '\0');
    for (int64_t number = 0;; ++number) {
        const int64_t count = reader.read(block.data(), m_blockSize);
        if (count < 0)
            return TContentResult::ReadError;
        if (before)
            before(number);
        const bool final = count < m_blockSize;
        const bool decided = run.add(block.data(), count, final);
        if (after)
            after(number);
        if (decided || final)
            break;
    }
    return run.result();
}

TContentResult TContentSearch::searchBytes(const std::string& bytes) const
{
    Run run(*this);
    for (size_t at = 0;; at += static_cast<size_t>(m_blockSize)) {
        const size_t count = std::min(bytes.size() - std::min(at, bytes.size()), static_cast<size_t>(m_blockSize));
        const bool final = static_cast<int64_t>(count) < m_blockSize;
        if (run.add(bytes.data() + std::min(at, bytes.size()), static_cast<int64_t>(count), final) || final)
            break;
    }
    return run.result();
}
