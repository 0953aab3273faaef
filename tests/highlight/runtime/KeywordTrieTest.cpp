// The keyword trie on its own: terminators, longest match, states, case folding, duplicates.
#include "highlight/ParserErrors.h"
#include "highlight/runtime/StateSetOps.h"
#include "highlight/runtime/SyntaxKeywords.h"

#include <gtest/gtest.h>

namespace {

ParserStateSet charsOf(std::string_view chars)
{
    ParserStateSet set;
    for (unsigned char c : chars)
        set.insert(c);
    return set;
}

const ParserStateSet kNotWord =
    complementOf(charsOf("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"));

struct Hit
{
    bool found;
    int token;
    int length;
    int64_t position;
};

Hit matchAt(const TKeywords& keywords, std::string_view text, const ParserStateSet& current = {0})
{
    TStringCharSource source(text);
    TParseCursor in(source);
    int token = -1;
    int length = 0;
    const bool found = keywords.match(in, current, token, length);
    return {found, found ? token : -1, length, in.position()};
}

TEST(KeywordTrie, TerminatorDecidesWhetherAWordEnds)
{
    TKeywords keywords;
    keywords.add("print", {0}, kNotWord, 12, true);
    keywords.add("'", {0}, allMembers(), 1, true);
    ASSERT_EQ(keywords.check(), "");

    Hit hit = matchAt(keywords, "PRINT x");
    EXPECT_TRUE(hit.found);
    EXPECT_EQ(hit.token, 12);
    EXPECT_EQ(hit.length, 5);
    EXPECT_EQ(hit.position, 5);

    hit = matchAt(keywords, "PRINTER");
    EXPECT_FALSE(hit.found);
    EXPECT_EQ(hit.length, 1);
    EXPECT_EQ(hit.position, 1); // a miss moves one character

    hit = matchAt(keywords, "print"); // the end of the text counts as a non-word character
    EXPECT_TRUE(hit.found);
    EXPECT_EQ(hit.length, 5);

    hit = matchAt(keywords, "'x");
    EXPECT_TRUE(hit.found);
    EXPECT_EQ(hit.token, 1);
    EXPECT_EQ(hit.length, 1);
}

TEST(KeywordTrie, LongestValidWordWins)
{
    TKeywords keywords;
    keywords.add("pprint", {0}, kNotWord, 27, true);
    keywords.add("pprint_at", {0}, kNotWord, 28, true);
    keywords.add("pp", {0}, allMembers(), 29, true);
    ASSERT_EQ(keywords.check(), "");

    EXPECT_EQ(matchAt(keywords, "PPRINT_AT 1").token, 28);
    EXPECT_EQ(matchAt(keywords, "PPRINT_AT 1").length, 9);
    EXPECT_EQ(matchAt(keywords, "PPRINT 1").token, 27);
    // PPRINT_A is no word and PPRINT is followed by '_': the shorter "pp" is the longest valid.
    const Hit hit = matchAt(keywords, "PPRINT_A");
    EXPECT_EQ(hit.token, 29);
    EXPECT_EQ(hit.position, 2);
}

TEST(KeywordTrie, WordsOutsideTheCurrentStatesAreSkipped)
{
    TKeywords keywords;
    keywords.add("endasm", {1}, kNotWord, 21, true);
    keywords.add("end", {0}, kNotWord, 12, true);
    keywords.add("end", {1}, kNotWord, 13, true); // same word, disjoint states
    ASSERT_EQ(keywords.check(), "");

    EXPECT_FALSE(matchAt(keywords, "ENDASM", {0}).found);
    EXPECT_EQ(matchAt(keywords, "ENDASM", {1}).token, 21);
    EXPECT_EQ(matchAt(keywords, "END", {0}).token, 12);
    EXPECT_EQ(matchAt(keywords, "END", {1}).token, 13);
    EXPECT_FALSE(matchAt(keywords, "END", {5}).found);
}

TEST(KeywordTrie, CaseFoldingTouchesOnlyAtoZ)
{
    TKeywords folding(false);
    folding.add("D\xE9j\xE0", {0}, allMembers(), 5, true);
    ASSERT_EQ(folding.check(), "");
    EXPECT_TRUE(!matchAt(folding, "D\xC9J\xC0").found); // accented capitals are not folded
    EXPECT_TRUE(matchAt(folding, "D\xE9J\xE0").found);

    TKeywords exact(true);
    exact.add("Print", {0}, kNotWord, 12, false);
    EXPECT_TRUE(matchAt(exact, "Print").found);
    EXPECT_FALSE(matchAt(exact, "print").found);
    EXPECT_FALSE(matchAt(exact, "PRINT").found);
}

TEST(KeywordTrie, DuplicateWithOverlappingStatesIsRefused)
{
    TKeywords keywords;
    keywords.add("goto", {0, 3}, kNotWord, 12, true);
    try {
        keywords.add("GOTO", {3}, kNotWord, 13, true);
        FAIL() << "duplicate accepted";
    } catch (const EKeywords& e) {
        EXPECT_STREQ(e.what(), "Duplicate keyword - 'goto'");
    }
    EXPECT_EQ(keywords.entryCount(), 1u);
    EXPECT_EQ(keywords.check(), "");
    EXPECT_EQ(matchAt(keywords, "goto", {3}).token, 12);
}

TEST(KeywordTrie, SiblingsStayOrderedWhateverTheInsertionOrder)
{
    TKeywords keywords;
    for (const char* word : {"mz", "ma", "mm", "m", "mb", "maa", "mab", "ma_"})
        keywords.add(word, {0}, allMembers(), 7, true);
    ASSERT_EQ(keywords.check(), "");
    EXPECT_EQ(matchAt(keywords, "mab").length, 3);
    EXPECT_EQ(matchAt(keywords, "mc").length, 1); // "m" only
    EXPECT_EQ(matchAt(keywords, "mzz").length, 2);
}

} // namespace
