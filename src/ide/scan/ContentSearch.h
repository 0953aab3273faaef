// Looking for texts inside one file, block by block, so that files of any size are searched in
// bounded memory. Each block is searched after the last bytes of the block before it (one more
// than the longest text), so a text that spans two blocks is found, and the bounds a text
// must have (a space before it, a space, comma or full stop after it) are judged with the
// real neighbouring byte, never with the edge of a block. A zero byte bounds a text like a
// space, and the start and end of the file bound it too.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum TSearchStringType { sst_Normal, sst_Word, sst_Prefix, sst_Suffix };
enum TSearchType { st_And, st_Or, st_Not };

enum class TContentResult { Match, NoMatch, NotOpenable, ReadError };

struct TContentQuery {
    std::vector<std::string> texts; // empty texts are left out
    TSearchStringType stringType = sst_Normal;
    TSearchType searchType = st_Or;
    bool caseSense = false; // false: compared in upper case (Windows-1252 letters)
};

class TContentSearch
{
public:
    static constexpr int64_t kBlockSize = 30000;

    explicit TContentSearch(TContentQuery query);

    // Searches the file. before and after (either may be empty) are told each block's number,
    // counting from 0, around its search.
    TContentResult searchFile(const std::string& path, const std::function<void(int64_t)>& before = {},
                              const std::function<void(int64_t)>& after = {}) const;
    // The same over bytes already in memory, block by block as a file would be read.
    TContentResult searchBytes(const std::string& bytes) const;

    // Test knob: blocks of another size (at least 1).
    void setBlockSize(int64_t size) { m_blockSize = size < 1 ? 1 : size; }

private:
    class Run;

    TContentQuery m_query;
    std::vector<std::string> m_needles; // texts as compared (upper case unless caseSense)
    size_t m_longest = 0;
    int64_t m_blockSize = kBlockSize;
};

// The Windows-1252 upper case of one byte.
char upperCp1252(char c);
void upperCp1252InPlace(std::string& text);
