// Published properties: the tab-column text and its five errors, ranges that ignore bad
// values, the version, and the option set against the option word.
#include "MemoFixture.h"

#include "editor/text/SourceMemoErrors.h"
#include "editor/widget/SourceMemoProperties.h"

#include <string>

namespace {

std::string parseError(const std::string& text)
{
    try {
        ParseTabColumns(text);
    } catch (const ESourceMemo& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(TabColumnsText, ReadsOneBasedColumnsAndWritesThemBack)
{
    EXPECT_EQ(ParseTabColumns("9 17 25"), (std::vector<int>{8, 16, 24}));
    EXPECT_EQ(FormatTabColumns({8, 16, 24}), "9 17 25");
    EXPECT_EQ(ParseTabColumns("  2\t5   7 "), (std::vector<int>{1, 4, 6}));
    EXPECT_TRUE(ParseTabColumns("").empty());
    EXPECT_EQ(FormatTabColumns({}), "");
    std::string most;
    for (int column = 2; column < 2 + kMaxTabStops; ++column)
        most += std::to_string(column) + " ";
    EXPECT_EQ(ParseTabColumns(most).size(), 32u);
    EXPECT_EQ(parseError(most + "99"), "Too many tab stops - maximum of 32");
}

TEST(TabColumnsText, EachFaultHasItsMessage)
{
    EXPECT_EQ(parseError("9 9"), "Tab columns must be in order and unique");
    EXPECT_EQ(parseError("9 5"), "Tab columns must be in order and unique");
    EXPECT_EQ(parseError("9 x"), "Tab stop column value expected");
    EXPECT_EQ(parseError("9 -3"), "Tab stop column value expected");
    EXPECT_EQ(parseError("9a"), "Tab stop column value expected");
    EXPECT_EQ(parseError("99999999999999999999"), "Tab stop column value expected");
    EXPECT_EQ(parseError("1 5"), "Tab column must be > 1");
    EXPECT_EQ(parseError("0"), "Tab column must be > 1");
    EXPECT_EQ(parseError(std::to_string(kMaxTabColumn)), "no error");
}

TEST(OptionWord, SetAndWordConvert)
{
    const TSourceMemoOptions defaults = WordToOptions(kDefaultOptionWord);
    EXPECT_EQ(defaults.size(), AllSourceMemoOptions().size() - 5);
    for (const TSourceMemoOption off :
         {smoWordWrap, smoWrapOverride, smoShowAllChars, smoCaretAfterEOL, smoLineNumbers})
        EXPECT_EQ(defaults.count(off), 0u) << off;
    EXPECT_EQ(OptionsToWord(defaults), kDefaultOptionWord);
    // Bits that name no option are dropped.
    EXPECT_EQ(OptionsToWord(WordToOptions(0xF000000Eu | smoUseTAB)),
              static_cast<uint32_t>(smoUseTAB));
    uint32_t every = 0;
    for (const TSourceMemoOption option : AllSourceMemoOptions())
        every |= option;
    EXPECT_EQ(every, 0x0FFFFFF1u);
}

using Properties = MemoFixture;

TEST_F(Properties, TabColumnsOnTheControl)
{
    SetTabColumns(memo, "9 17 25");
    EXPECT_EQ(memo.Editor().Settings.TabColumns, (std::vector<int>{8, 16, 24}));
    EXPECT_EQ(TabColumns(memo), "9 17 25");
    EXPECT_THROW(SetTabColumns(memo, "9 9"), ESourceMemo);
    EXPECT_EQ(TabColumns(memo), "9 17 25"); // the previous stops stay
    // The stops drive typing: a TAB fill reaches column 8.
    memo.SetOptions(memo.Options() & ~static_cast<uint32_t>(smoUseTAB));
    memo.Editor().KeyPress('\t');
    EXPECT_EQ(stored(), std::string(8, ' '));
}

TEST_F(Properties, TabDefaultRejectsZero)
{
    SetTabDefault(memo, 8);
    EXPECT_EQ(TabDefault(memo), 8);
    try {
        SetTabDefault(memo, 0);
        FAIL() << "accepted 0";
    } catch (const ESourceMemo& error) {
        EXPECT_STREQ(error.what(), "=Illegal default tab stop value, must be > 0");
    }
    EXPECT_THROW(SetTabDefault(memo, -4), ESourceMemo);
    EXPECT_EQ(TabDefault(memo), 8);
}

TEST_F(Properties, OutOfRangeValuesAreIgnored)
{
    EXPECT_EQ(IndentStep(memo), 1);
    SetIndentStep(memo, 25);
    EXPECT_EQ(IndentStep(memo), 1);
    SetIndentStep(memo, 0);
    SetIndentStep(memo, 20);
    EXPECT_EQ(IndentStep(memo), 1);
    SetIndentStep(memo, 19);
    EXPECT_EQ(IndentStep(memo), 19);
    EXPECT_EQ(memo.Gutter(), 34);
    memo.SetGutter(20);
    EXPECT_EQ(memo.Gutter(), 34);
    memo.SetGutter(0);
    EXPECT_EQ(memo.Gutter(), 0);
    EXPECT_EQ(Version(memo), "3.00.39");
}

TEST_F(Properties, OptionsGoThroughTheOptionWord)
{
    SetOptions(memo, {smoAutoIndent, smoWordWrap});
    EXPECT_EQ(memo.Options(), static_cast<uint32_t>(smoAutoIndent | smoWordWrap));
    EXPECT_TRUE(WordWrap(memo));
    SetWordWrap(memo, false);
    EXPECT_EQ(Options(memo), (TSourceMemoOptions{smoAutoIndent}));
    load("abc");
    memo.Editor().KeyPress('x');
    EXPECT_TRUE(Modified(memo));
    SetModified(memo, true);
    EXPECT_TRUE(memo.Editor().CanUndo());
    SetModified(memo, false);
    EXPECT_FALSE(Modified(memo));
    EXPECT_FALSE(memo.Editor().CanUndo());
    EXPECT_TRUE(memo.WantTab());
    memo.SetWantTab(false);
    EXPECT_FALSE(memo.WantTab());
    SetWantReturns(memo, false);
    EXPECT_FALSE(WantReturns(memo));
}
