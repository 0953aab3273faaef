// The block search inside files: texts across the seam of two blocks, the bounds of prefix,
// suffix and word searches judged by the real neighbouring bytes, and the and/or/not rules.
#include "ide/scan/ContentSearch.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TContentResult search(const std::string& bytes, TContentQuery query, int64_t blockSize = TContentSearch::kBlockSize)
{
    TContentSearch searcher(std::move(query));
    searcher.setBlockSize(blockSize);
    return searcher.searchBytes(bytes);
}

TContentQuery texts(std::vector<std::string> list, TSearchStringType type = sst_Normal, TSearchType how = st_Or)
{
    return TContentQuery{std::move(list), type, how, false};
}

} // namespace

TEST(ContentSearch, TextSpanningTheSeamOfTwoFileBlocksIsFound)
{
    TempFolder folder;
    for (int64_t startOffset = TContentSearch::kBlockSize - 6; startOffset <= TContentSearch::kBlockSize; ++startOffset) {
        std::string bytes(static_cast<size_t>(TContentSearch::kBlockSize * 2), 'x');
        bytes.replace(static_cast<size_t>(startOffset), 6, "NEEDLE");
        writeWholeFile(folder.path("big.bas"), bytes);
        TContentSearch searcher(texts({"needle"}));
        int blocks = 0;
        EXPECT_EQ(searcher.searchFile(folder.path("big.bas"), [&](int64_t) { ++blocks; }), TContentResult::Match)
            << "text at " << startOffset;
        EXPECT_EQ(blocks, startOffset + 6 > TContentSearch::kBlockSize ? 2 : 1) << "stops at the block that decides";
    }
    std::string plain(static_cast<size_t>(TContentSearch::kBlockSize * 2), 'x');
    writeWholeFile(folder.path("none.bas"), plain);
    EXPECT_EQ(TContentSearch(texts({"needle"})).searchFile(folder.path("none.bas")), TContentResult::NoMatch);
}

TEST(ContentSearch, EveryPlaceOfAWordIsFoundAtTinyBlockSizes)
{
    const std::string text = "GOSUB x, LOOP. end";
    for (int64_t block = 1; block <= 20; ++block) {
        EXPECT_EQ(search(text, texts({"loop"}, sst_Word), block), TContentResult::Match) << block;
        EXPECT_EQ(search(text, texts({"gosub"}, sst_Prefix), block), TContentResult::Match) << block;
        EXPECT_EQ(search(text, texts({"end"}, sst_Suffix), block), TContentResult::Match) << block;
        EXPECT_EQ(search(text, texts({"x"}, sst_Word), block), TContentResult::Match) << block;
        EXPECT_EQ(search(text, texts({"oop"}, sst_Prefix), block), TContentResult::NoMatch) << block;
        EXPECT_EQ(search(text, texts({"en"}, sst_Suffix), block), TContentResult::NoMatch) << block;
    }
}

TEST(ContentSearch, TheEdgeOfABlockIsNoBoundOfAWord)
{
    // "ab" sits right after the seam of the blocks: a block edge must not count as a space.
    const std::string text = "xxxxab yy";
    EXPECT_EQ(search(text, texts({"ab"}, sst_Prefix), 4), TContentResult::NoMatch);
    EXPECT_EQ(search(text, texts({"xx"}, sst_Suffix), 2), TContentResult::NoMatch);
    EXPECT_EQ(search(text, texts({"ab"}, sst_Suffix), 4), TContentResult::Match);
}

TEST(ContentSearch, ALaterOccurrenceWithItsBoundsCounts)
{
    EXPECT_EQ(search("printer print", texts({"print"}, sst_Word)), TContentResult::Match);
    EXPECT_EQ(search("printer printed", texts({"print"}, sst_Word)), TContentResult::NoMatch);
}

TEST(ContentSearch, ZeroBytesBoundTextsLikeSpaces)
{
    const std::string text = std::string("one\0two\0", 8);
    EXPECT_EQ(search(text, texts({"two"}, sst_Word)), TContentResult::Match);
    EXPECT_EQ(search(text, texts({"etw"})), TContentResult::NoMatch) << "pieces do not join";
}

TEST(ContentSearch, CaseRulesFollowCaseSense)
{
    TContentQuery query = texts({"Señor"});
    EXPECT_EQ(search("SE\xD1OR", query), TContentResult::NoMatch) << "ñ is written in UTF-8 here";
    query.texts = {"se\xF1or"};
    EXPECT_EQ(search("SE\xD1OR", query), TContentResult::Match) << "Windows-1252 letters fold too";
    query.caseSense = true;
    EXPECT_EQ(search("SE\xD1OR", query), TContentResult::NoMatch);
    EXPECT_EQ(search("se\xF1or", query), TContentResult::Match);
}

TEST(ContentSearch, AndOrAndNotCombineTheTexts)
{
    const std::string text = "alpha beta";
    EXPECT_EQ(search(text, texts({"gamma", "beta"}, sst_Normal, st_Or)), TContentResult::Match);
    EXPECT_EQ(search(text, texts({"gamma", "delta"}, sst_Normal, st_Or)), TContentResult::NoMatch);
    EXPECT_EQ(search(text, texts({"beta", "alpha"}, sst_Normal, st_And)), TContentResult::Match);
    EXPECT_EQ(search(text, texts({"beta", "gamma"}, sst_Normal, st_And)), TContentResult::NoMatch);
    EXPECT_EQ(search(text, texts({"gamma", "delta"}, sst_Normal, st_Not)), TContentResult::Match);
    EXPECT_EQ(search(text, texts({"gamma", "alpha"}, sst_Normal, st_Not)), TContentResult::NoMatch);
    // The texts of an and-search may lie in different blocks.
    EXPECT_EQ(search(text, texts({"beta", "alpha"}, sst_Normal, st_And), 3), TContentResult::Match);
}

TEST(ContentSearch, FilesThatCannotBeReadAreToldApart)
{
    TempFolder folder;
    TContentSearch searcher(texts({"x"}));
    EXPECT_EQ(searcher.searchFile(folder.path("missing.bas")), TContentResult::NotOpenable);
    EXPECT_EQ(searcher.searchFile(folder.path()), TContentResult::NotOpenable) << "a folder is no file";
    writeWholeFile(folder.path("empty.bas"), "");
    EXPECT_EQ(searcher.searchFile(folder.path("empty.bas")), TContentResult::NoMatch);
}
