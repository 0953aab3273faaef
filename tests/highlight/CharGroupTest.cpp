// Character groups, their manager and the 256-value sets.
#include "highlight/CharGroup.h"
#include "highlight/ParserErrors.h"

#include <gtest/gtest.h>

TEST(ParserStateSet, BitsFollowTheStoredLayout)
{
    ParserStateSet set{0, 9, 255};
    EXPECT_EQ(set.bytes()[0], 0x01);
    EXPECT_EQ(set.bytes()[1], 0x02);
    EXPECT_EQ(set.bytes()[31], 0x80);
    EXPECT_EQ(set.first(), 0);
    EXPECT_EQ(set.last(), 255);
    set.erase(0);
    EXPECT_FALSE(set.contains(0));
    EXPECT_TRUE(set.intersects(ParserStateSet{9}));
    EXPECT_FALSE(set.intersects(ParserStateSet{10}));
    EXPECT_EQ((ParserStateSet{1, 2} | ParserStateSet{3}) - ParserStateSet{2}, (ParserStateSet{1, 3}));
    EXPECT_TRUE(ParserStateSet{}.empty());
    EXPECT_EQ(ParserStateSet{}.first(), -1);
}

TEST(CharGroup, NegatedGroupsMatchWhatIsNotInTheSet)
{
    const TSM_CharGroup digits(ParserStateSet{'0', '1'}, false);
    const TSM_CharGroup notDigits(ParserStateSet{'0', '1'}, true);
    EXPECT_TRUE(digits.matches('0'));
    EXPECT_FALSE(digits.matches('x'));
    EXPECT_FALSE(notDigits.matches('1'));
    EXPECT_TRUE(notDigits.matches('x'));
    EXPECT_EQ(digits.lowest(), '0');
    EXPECT_EQ(digits.highest(), '1');
}

TEST(CharGroupManager, EqualGroupsShareOneId)
{
    TSM_CharGroupManager groups;
    const uint16_t a = groups.registerGroup(TSM_CharGroup(ParserStateSet{'a'}, false));
    const uint16_t b = groups.registerGroup(TSM_CharGroup(ParserStateSet{'b'}, false));
    const uint16_t notA = groups.registerGroup(TSM_CharGroup(ParserStateSet{'a'}, true));
    EXPECT_EQ(groups.registerGroup(TSM_CharGroup(ParserStateSet{'a'}, false)), a);
    EXPECT_NE(a, b);
    EXPECT_NE(a, notA);
    EXPECT_EQ(groups.count(), 3u);
    EXPECT_TRUE(groups.check());
    for (int i = 0; i < 40; ++i)
        groups.registerGroup(TSM_CharGroup(ParserStateSet{i + 100}, false));
    EXPECT_EQ(groups.count(), 43u);
    EXPECT_TRUE(groups.group(notA).negated());
    EXPECT_TRUE(groups.check());
}

TEST(CharGroupManager, IdsOutsideTheListAreInvalid)
{
    TSM_CharGroupManager groups;
    groups.registerGroup(TSM_CharGroup(ParserStateSet{'a'}, false));
    try {
        groups.group(1);
        FAIL() << "no error";
    } catch (const ESourceMemo& e) {
        EXPECT_STREQ(e.what(), "Invalid Set ID (1)");
    }
    EXPECT_THROW(groups.group(-1), ESourceMemo);
}

TEST(CharGroupManager, HoldsAtMostSixtyFourKGroups)
{
    TSM_CharGroupManager groups;
    for (int i = 0; i < 65536; ++i) {
        ParserStateSet set;
        set.bytes()[0] = static_cast<uint8_t>(i);
        set.bytes()[1] = static_cast<uint8_t>(i >> 8);
        groups.registerGroup(TSM_CharGroup(set, false));
    }
    EXPECT_EQ(groups.count(), 65536u);
    EXPECT_THROW(groups.registerGroup(TSM_CharGroup(ParserStateSet{200}, false)), ESourceMemo);
}
