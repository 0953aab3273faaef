// Hits found over the whole text at once; line numbers come from counting the breaks between
// one hit and the next, so a text without hits costs one search and nothing else.
#include "ide/scan/LineHits.h"

#include "ide/scan/ContentSearch.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

bool isBreak(char c)
{
    return c == '\r' || c == '\n';
}

// Walks forward through the text, keeping the number of the line it stands in.
class TLineCounter
{
public:
    explicit TLineCounter(const std::string& bytes) : m_bytes(bytes) {}

    // Moves to offset (never backwards) and answers the 1-based line holding it.
    int64_t lineAt(size_t offset)
    {
        while (m_at < offset) {
            const void* next = findBreak(m_at, offset);
            if (!next) {
                m_at = offset;
                break;
            }
            size_t at = static_cast<size_t>(static_cast<const char*>(next) - m_bytes.data());
            if (at + 1 < m_bytes.size() && isBreak(m_bytes[at + 1]) && m_bytes[at + 1] != m_bytes[at])
                ++at;
            ++m_line;
            m_lineStart = at + 1;
            m_at = at + 1;
        }
        return m_line;
    }
    size_t lineStart() const { return m_lineStart; }
    size_t lineEnd(size_t from) const
    {
        const size_t end = m_bytes.find_first_of("\r\n", from);
        return end == std::string::npos ? m_bytes.size() : end;
    }

private:
    const void* findBreak(size_t from, size_t to) const
    {
        const char* begin = m_bytes.data() + from;
        const size_t length = to - from;
        const void* cr = std::memchr(begin, '\r', length);
        const void* lf = std::memchr(begin, '\n', cr ? static_cast<size_t>(static_cast<const char*>(cr) - begin) : length);
        return lf ? lf : cr;
    }

    const std::string& m_bytes;
    size_t m_at = 0;
    size_t m_lineStart = 0;
    int64_t m_line = 1;
};

bool wholeWordAt(const std::string& bytes, size_t at, size_t length)
{
    if (at > 0 && isWordCharacter(bytes[at - 1]))
        return false;
    return at + length >= bytes.size() || !isWordCharacter(bytes[at + length]);
}

std::string shownLine(const std::string& bytes, size_t start, size_t end)
{
    while (start < end && (bytes[start] == ' ' || bytes[start] == '\t'))
        ++start;
    return bytes.substr(start, std::min(end - start, kMaxShownLine));
}

} // namespace

bool isWordCharacter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           byte == '_' || (byte >= 0xC0 && byte != 0xD7 && byte != 0xF7);
}

std::vector<TLineHit> findLineHits(const std::string& bytes, const TLineQuery& query, size_t maxHits)
{
    std::vector<TLineHit> hits;
    if (query.text.empty() || maxHits == 0)
        return hits;
    std::string folded;
    std::string needle = query.text;
    if (!query.caseSense) {
        folded = bytes;
        upperCp1252InPlace(folded);
        upperCp1252InPlace(needle);
    }
    const std::string& haystack = query.caseSense ? bytes : folded;
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    TLineCounter lines(bytes);
    auto from = haystack.begin();
    while (hits.size() < maxHits) {
        const auto hit = std::search(from, haystack.end(), searcher);
        if (hit == haystack.end())
            break;
        const size_t at = static_cast<size_t>(hit - haystack.begin());
        if (query.wholeWord && !wholeWordAt(bytes, at, needle.size())) {
            from = hit + 1;
            continue;
        }
        const int64_t line = lines.lineAt(at);
        const size_t end = lines.lineEnd(at);
        hits.push_back({line, shownLine(bytes, lines.lineStart(), end)});
        from = haystack.begin() + static_cast<std::ptrdiff_t>(end);
    }
    return hits;
}
