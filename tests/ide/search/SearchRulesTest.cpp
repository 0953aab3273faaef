// The IDE's search rules that need no window: the histories as KALTOR.DAT keeps them, the
// case changes and the line-number check of Goto line.
#include "ide/EdPersistent.h"
#include "ide/search/CaseChange.h"
#include "ide/search/GotoLineRange.h"
#include "ide/search/SearchHistory.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> numbered(const std::string& stem, int count)
{
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i)
        items.push_back(stem + std::to_string(i));
    return items;
}

} // namespace

TEST(SearchHistory, NewestFirstAtMostTwentyComparedWithoutLetterCase)
{
    TempFolder folder;
    TEdPersistent settings(folder.path("KALTOR.DAT"));
    TSearchHistory history;
    for (const std::string& text : numbered("text", 25))
        history.Use(text);
    history.Use("TEXT24"); // the newest already, in other letters: no second entry
    ASSERT_EQ(history.check(), "");
    EXPECT_EQ(history.Entries().size(), 25u);
    EXPECT_EQ(history.Entries().front(), "TEXT24");
    history.Save(settings, "FindHistory");
    EXPECT_EQ(history.Entries().size(), 20u);

    TEdPersistent reread(folder.path("KALTOR.DAT"));
    TSearchHistory loaded;
    loaded.Load(reread, "findhistory");
    ASSERT_EQ(loaded.Entries().size(), 20u);
    EXPECT_EQ(loaded.Entries().front(), "TEXT24");
    EXPECT_EQ(loaded.Entries()[1], "text23");
    EXPECT_EQ(loaded.Entries().back(), "text5"); // the five oldest dropped off
    EXPECT_TRUE(loaded.Contains("Text10"));
    EXPECT_FALSE(loaded.Contains("text4"));
}

TEST(SearchHistory, AnOfferedTextIsOldestButBecomesNewestWhenUsed)
{
    TSearchHistory history(numbered("t", 20));
    EXPECT_EQ(history.Offer("T3"), 3); // present: found where it is, nothing added
    EXPECT_EQ(history.Offer("start"), 20);
    EXPECT_EQ(history.Entries().back(), "start");
    // Searching for the offered text keeps it: saved at the end of a full list it would go.
    EXPECT_EQ(history.Use("start"), 0);
    EXPECT_EQ(history.Entries().size(), 21u);
    EXPECT_EQ(history.Entries().front(), "start");
    history.Use("t19");
    EXPECT_EQ(history.Entries()[0], "t19");
    EXPECT_EQ(history.Entries()[1], "start");
    EXPECT_EQ(history.IndexOf("t19"), 0);
    EXPECT_EQ(history.Use(""), -1);
    EXPECT_EQ(history.Offer(""), -1);
    EXPECT_EQ(history.check(), "");
}

TEST(SearchHistory, FindAndReplaceHistoriesLiveSideBySideInTheSettingsFile)
{
    TempFolder folder;
    TEdPersistent settings(folder.path("KALTOR.DAT"));
    TSearchHistory find({"alpha", "beta"});
    TSearchHistory replace({"gamma", "", "GAMMA", "delta"});
    EXPECT_EQ(replace.Entries(), (std::vector<std::string>{"gamma", "delta"}));
    find.Save(settings, "FindHistory");
    replace.Save(settings, "ReplaceHistory");
    TEdPersistent reread(folder.path("KALTOR.DAT"));
    EXPECT_EQ(reread.ReadList("FindHistory"), find.Entries());
    EXPECT_EQ(reread.ReadList("ReplaceHistory"), replace.Entries());
    EXPECT_EQ(reread.Lines(), (std::vector<std::string>{"[FindHistory]", "alpha", "beta", "", "[ReplaceHistory]",
                                                         "gamma", "delta", ""}));
}

TEST(CaseChange, OnlyTheLettersAToZChange)
{
    EXPECT_EQ(capitalisedOf("hELLO wORLD"), "Hello world");
    EXPECT_EQ(capitalisedOf("1st LINE\rSECOND"), "1st line\rsecond");
    EXPECT_EQ(capitalisedOf(""), "");
    EXPECT_EQ(upperCaseOf("abc xyz_09 \xE9\xE0"), "ABC XYZ_09 \xE9\xE0"); // accented letters stay
    EXPECT_EQ(lowerCaseOf("ABC XYZ [@`{] \xC9"), "abc xyz [@`{] \xC9");
    EXPECT_EQ(upperCaseOf("@[`{"), "@[`{"); // the neighbours of the letter ranges
}

TEST(GotoLineRange, TenLinesAcceptOneToElevenAndNameTheRangeOtherwise)
{
    const TGotoLineRange range = TGotoLineRange::ForLines(10);
    EXPECT_EQ(range.Accept("1"), 1);
    EXPECT_EQ(range.Accept("11"), 11);
    EXPECT_EQ(range.Accept(" 7 "), 7);
    EXPECT_EQ(range.Accept("+5"), 5);
    for (const char* refused : {"0", "12", "-1", "", " ", "abc", "5x", "1.5", "99999999999999999999", "++5"})
        EXPECT_FALSE(range.Accept(refused).has_value()) << refused;
    EXPECT_EQ(range.Warning(), "Value must be between 1 and 11");
}

TEST(GotoLineRange, TheRowGoesToTheMiddleOfTheView)
{
    EXPECT_EQ(centredTopRow(100, 170, 17), 95); // ten rows shown
    EXPECT_EQ(centredTopRow(100, 186, 17), 95); // 10.9 rows: ten
    EXPECT_EQ(centredTopRow(3, 170, 17), 0);    // never above the first row
    EXPECT_EQ(centredTopRow(50, 170, 0), 50);
}
