// The plain search against a naive scan: seeded random texts (lines long enough to be cut into
// several rows, CR line breaks, letters with accents) and patterns, forwards and backwards,
// with and without case and whole words, over a buffer and over the store's rows.
#include "SearchTestSupport.h"

#include "editor/edit/WordChars.h"
#include "editor/search/CaseFold.h"
#include "editor/search/PlainSearch.h"

#include <random>

namespace {

bool naiveMatchAt(const std::string& text, const std::string& pattern, size_t at,
                  const TPlainOptions& options)
{
    if (at + pattern.size() > text.size())
        return false;
    const auto& upper = upperCaseTable();
    for (size_t i = 0; i < pattern.size(); ++i) {
        const auto t = static_cast<unsigned char>(text[at + i]);
        const auto p = static_cast<unsigned char>(pattern[i]);
        if (options.MatchCase ? t != p : upper[t] != upper[p])
            return false;
    }
    if (!options.WholeWord)
        return true;
    if (at > 0 && defaultCharIsInWord(text[at - 1]))
        return false;
    const size_t after = at + pattern.size();
    return after >= text.size() ||
           (!defaultCharIsInWord(text[after]) && !defaultCharStartsWord(text[after]));
}

int64_t naiveForward(const std::string& text, const std::string& pattern, int64_t from,
                     const TPlainOptions& options)
{
    for (int64_t at = std::max<int64_t>(from, 0); at < static_cast<int64_t>(text.size()); ++at)
        if (naiveMatchAt(text, pattern, static_cast<size_t>(at), options))
            return at;
    return -1;
}

int64_t naiveBackward(const std::string& text, const std::string& pattern, int64_t before,
                      const TPlainOptions& options)
{
    for (int64_t at = std::min<int64_t>(before, static_cast<int64_t>(text.size())) - 1; at >= 0;
         --at)
        if (naiveMatchAt(text, pattern, static_cast<size_t>(at), options))
            return at;
    return -1;
}

// The other case of the letters this file's texts use; other bytes as they are.
char otherCase(char c)
{
    const auto u = static_cast<unsigned char>(c);
    const bool letter = ((u | 0x20) >= 'a' && (u | 0x20) <= 'z') || (u | 0x20) == 0xE9;
    return letter ? static_cast<char>(u ^ 0x20) : c;
}

std::string randomText(std::mt19937& random)
{
    static const std::string alphabet = "aabAB c-'_1\xE9\xC9";
    std::string text;
    const int lines = 1 + static_cast<int>(random() % 6);
    for (int l = 0; l < lines; ++l) {
        const int length = random() % 4 == 0 ? 2000 + static_cast<int>(random() % 3000)
                                             : static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        if (l + 1 < lines || random() % 2)
            text += '\r';
    }
    return text.empty() ? "a" : text;
}

TEST(PlainSearch, FindsWhatANaiveScanFindsOverBuffersAndRows)
{
    for (uint32_t seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        for (int round = 0; round < 40; ++round) {
            const std::string text = randomText(random);
            auto store = storeWith(text);
            ASSERT_EQ(store->GetText(), text);
            TBufferTextSource buffer(text);
            TEdStream stream(*store);
            TEdStreamTextSource rows(stream, *store);
            TPlainSearch search;
            for (int query = 0; query < 25; ++query) {
                const size_t at = random() % text.size();
                std::string pattern = text.substr(at, 1 + random() % 6);
                if (random() % 4 == 0)
                    pattern[0] =
                        static_cast<char>(upperCaseTable()[static_cast<unsigned char>(pattern[0])]);
                search.SetPattern(pattern);
                TPlainOptions options;
                options.MatchCase = random() % 2;
                options.WholeWord = random() % 3 == 0;
                const auto from = static_cast<int64_t>(random() % (text.size() + 1));
                const int64_t forward = naiveForward(text, pattern, from, options);
                const int64_t backward = naiveBackward(text, pattern, from, options);
                for (TTextSource* source :
                     {static_cast<TTextSource*>(&buffer), static_cast<TTextSource*>(&rows)}) {
                    TTextReader reader(*source);
                    ASSERT_EQ(search.FindForward(reader, from, options), forward)
                        << "seed " << seed << " pattern " << pattern << " from " << from;
                    ASSERT_EQ(search.FindBackward(reader, from, options), backward)
                        << "seed " << seed << " pattern " << pattern << " before " << from;
                }
            }
        }
    }
}

// Rows cut to a few bytes put row ends inside most windows: matches running over a row end
// inside a line and over line breaks, in either case of letters with and without accents
// (the row-end test folds as the scan does), in rows shorter and longer than the blocks the
// scan tests at once, and whole words whose neighbours lie in other rows.
TEST(PlainSearch, FindsMatchesRunningOverRowEnds)
{
    static const std::string alphabet = "aAbB \xE9\xC9\r_";
    for (uint32_t seed : {11u, 12u, 13u, 14u}) {
        std::mt19937 random(seed);
        for (int round = 0; round < 12; ++round) {
            std::string text;
            const int length = 50 + static_cast<int>(random() % 400);
            for (int i = 0; i < length; ++i)
                text += alphabet[random() % alphabet.size()];
            auto store = storeWith(text);
            ASSERT_EQ(store->GetText(), text);
            cutRowsSmall(*store, random, round % 2 ? 40 : 4);
            TBufferTextSource buffer(text);
            TEdStream stream(*store);
            TEdStreamTextSource rows(stream, *store);
            TPlainSearch search;
            for (int query = 0; query < 40; ++query) {
                const size_t at = random() % text.size();
                std::string pattern = text.substr(at, 1 + random() % 7);
                for (char& c : pattern)
                    if (random() % 3 == 0)
                        c = otherCase(c);
                search.SetPattern(pattern);
                TPlainOptions options;
                options.MatchCase = random() % 2;
                options.WholeWord = random() % 4 == 0;
                for (int64_t from = static_cast<int64_t>(random() % 8);
                     from <= static_cast<int64_t>(text.size());) {
                    const int64_t expected = naiveForward(text, pattern, from, options);
                    TTextReader bufferReader(buffer);
                    TTextReader rowReader(rows);
                    ASSERT_EQ(search.FindForward(bufferReader, from, options), expected)
                        << "seed " << seed << " pattern " << pattern << " from " << from;
                    ASSERT_EQ(search.FindForward(rowReader, from, options), expected)
                        << "seed " << seed << " pattern " << pattern << " from " << from;
                    if (expected < 0)
                        break;
                    from = expected + 1;
                }
            }
        }
    }
}

TEST(PlainSearch, WholeWordsSkipWordsThatOnlyContainThePattern)
{
    const std::string text = "concat cats cat-like (cat) cat";
    TBufferTextSource source(text);
    TTextReader reader(source);
    TPlainSearch search;
    search.SetPattern("cat");
    TPlainOptions options;
    options.WholeWord = true;
    EXPECT_EQ(search.FindForward(reader, 0, options), 22); // "-" continues a word
    EXPECT_EQ(search.FindForward(reader, 23, options), 27);
    EXPECT_EQ(search.FindBackward(reader, 27, options), 22);
    options.Words.IsInWord = [](char c) { return c >= 'a' && c <= 'z'; };
    options.Words.StartsWord = options.Words.IsInWord;
    EXPECT_EQ(search.FindForward(reader, 0, options), 12);
}

TEST(PlainSearch, TablesAreBuiltOncePerPattern)
{
    TPlainSearch search;
    search.SetPattern("GOSUB");
    search.SetPattern("GOSUB");
    EXPECT_EQ(search.TablesBuilt(), 1);
    search.SetPattern("gosub");
    EXPECT_EQ(search.TablesBuilt(), 2);
}

} // namespace
