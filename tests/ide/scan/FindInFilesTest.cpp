// Find in Files: line numbers as the editor counts them, whole words, subfolders (a symbolic
// link back to a parent searched once), the hit limit and a stop from an event.
#include "ide/scan/FindInFiles.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

std::map<std::string, std::vector<int64_t>> linesByFile(TFindInFiles& search, const TFindInFilesQuery& query)
{
    std::map<std::string, std::vector<int64_t>> found;
    search.OnFileHits = [&](const TFileHits& hits) {
        for (const TLineHit& hit : hits.hits)
            found[hits.path].push_back(hit.line);
    };
    search.run(query);
    return found;
}

} // namespace

TEST(LineHits, LinesAreCountedAsTheEditorCountsThem)
{
    // CR LF, LF CR, CR and LF each end one line.
    const std::string text = "a\r\nb x\n\rc\rx d\nx\n\nend x";
    const auto hits = findLineHits(text, {"X", false, false}, 100);
    ASSERT_EQ(hits.size(), 4u);
    EXPECT_EQ(hits[0].line, 2);
    EXPECT_EQ(hits[0].text, "b x");
    EXPECT_EQ(hits[1].line, 4);
    EXPECT_EQ(hits[2].line, 5);
    EXPECT_EQ(hits[3].line, 7);
    EXPECT_EQ(hits[3].text, "end x");
}

TEST(LineHits, OneHitPerLineWholeWordsCaseAndTheLimit)
{
    const std::string text = "  print print\r\nprinter\r\nPRINT_X\r\nx=PRINT(1)";
    const auto all = findLineHits(text, {"print", false, false}, 100);
    EXPECT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].text, "print print") << "leading blanks dropped";
    const auto words = findLineHits(text, {"print", false, true}, 100);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].line, 1);
    EXPECT_EQ(words[1].line, 4);
    EXPECT_EQ(findLineHits(text, {"PRINT", true, false}, 100).size(), 2u);
    EXPECT_EQ(findLineHits(text, {"print", false, false}, 3).size(), 3u);
    EXPECT_TRUE(findLineHits(text, {"", false, false}, 100).empty());
}

TEST(FindInFiles, SearchesMatchingFilesInSubfoldersOnce)
{
    TempFolder root;
    writeWholeFile(root.path("main.bas"), "10 GOSUB Init\r\n20 END\r\nInit:\r\n");
    writeWholeFile(root.path("notes.txt"), "Init");
    std::filesystem::create_directories(root.path("lib/v1.2"));
    writeWholeFile(root.path("lib/LCD.INC"), "' no hit\r\nInit_LCD:\r\nInit:\r\n");
    writeWholeFile(root.path("lib/v1.2/old.inc"), "init");
    std::filesystem::create_directory_symlink(root.path(), root.path("lib/loop"));
    TFindInFiles search;
    TFindInFilesQuery query{root.path(), "*.bas;*.inc", "init", false, true, true};
    const auto found = linesByFile(search, query);
    const std::map<std::string, std::vector<int64_t>> expected = {
        {root.path("main.bas"), {1, 3}}, {root.path("lib/LCD.INC"), {3}}, {root.path("lib/v1.2/old.inc"), {1}}};
    EXPECT_EQ(found, expected);
    EXPECT_EQ(search.hitCount(), 4u);
    EXPECT_EQ(search.filesMatched(), 3u);
    query.subfolders = false;
    EXPECT_EQ(linesByFile(search, query).size(), 1u);
}

TEST(FindInFiles, StopsOnRequestAndAtTheHitLimit)
{
    TempFolder root;
    for (int i = 0; i < 30; ++i)
        writeWholeFile(root.path("f" + std::to_string(i) + ".bas"), "x\r\n");
    TFindInFiles search;
    int files = 0;
    search.OnFileHits = [&](const TFileHits&) {
        if (++files == 5)
            search.stop();
    };
    search.run({root.path(), "*.bas", "x"});
    EXPECT_EQ(files, 5);
    EXPECT_TRUE(search.stopped());

    std::string many;
    for (size_t i = 0; i < TFindInFiles::kMaxHits; ++i)
        many += "x\r";
    writeWholeFile(root.path("many.bas"), many);
    search.OnFileHits = nullptr;
    search.run({root.path(), "*.bas", "x"});
    EXPECT_EQ(search.hitCount(), TFindInFiles::kMaxHits);
    EXPECT_TRUE(search.limitReached());
    EXPECT_FALSE(search.stopped());
}
