// The undo log: the record patterns of actions and groups, lazily logged groups, trimming by
// whole steps at tiny memory limits, and the modified state derived from the count.
#include "editor/undo/UndoStack.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::vector<int32_t> kindsFromOldest(const TUndoStack& stack)
{
    std::vector<int32_t> kinds;
    for (const TStackEntry* e = stack.Oldest(); e; e = e->Newer)
        kinds.push_back(static_cast<const TUndoRecord*>(e->Record)->Kind);
    return kinds;
}

void logTyping(TUndoStack& stack, int64_t at, const std::string& text)
{
    stack.BeginGroup(ugTyping, {at, at});
    ASSERT_TRUE(stack.BeginAction(ukText, {at, at}, "", text));
    const int64_t end = at + static_cast<int64_t>(text.size());
    ASSERT_TRUE(stack.EndAction(ukText, {end, end}));
    stack.EndGroup(ugTyping, {end, end});
}

} // namespace

TEST(UndoStack, ActionInsideGroupIsTwelveRecords)
{
    TUndoStack stack;
    logTyping(stack, 3, "x");
    EXPECT_EQ(kindsFromOldest(stack),
              (std::vector<int32_t>{5, 0, 5, 5, 0, 1, 1, 0, 5, 5, 0, 5}));
    const auto* open = static_cast<const TUndoRecord*>(stack.Oldest()->Record);
    EXPECT_EQ(open->A, ugTyping);
    EXPECT_EQ(open->Data, gpOpen);
    const auto* close = static_cast<const TUndoRecord*>(stack.Newest()->Record);
    EXPECT_EQ(close->A, ugTyping);
    EXPECT_EQ(close->Data, gpClose);
    // 12 entries of 16 bytes and one inserted byte; an empty removed text is stored as none.
    EXPECT_EQ(stack.Memory(), 12 * 16 + 1);
    EXPECT_TRUE(stack.Modified());
    EXPECT_EQ(stack.check(), "");
}

TEST(UndoStack, NestedBeginJoinsOuterGroupAndOnlyItsOwnIdCloses)
{
    TUndoStack stack;
    EXPECT_TRUE(stack.BeginGroup(ugTyping, {0, 0}));
    EXPECT_FALSE(stack.BeginGroup(ugReplaceSelection, {0, 0}));
    ASSERT_TRUE(stack.BeginAction(ukText, {0, 0}, "", "a"));
    ASSERT_TRUE(stack.EndAction(ukText, {1, 1}));
    stack.EndGroup(ugReplaceSelection, {1, 1});
    EXPECT_TRUE(stack.GroupOpen());
    ASSERT_TRUE(stack.BeginAction(ukText, {1, 1}, "", "b"));
    ASSERT_TRUE(stack.EndAction(ukText, {2, 2}));
    stack.EndGroup(ugTyping, {2, 2});
    EXPECT_FALSE(stack.GroupOpen());
    EXPECT_EQ(stack.EntryCount(), 3 + 6 + 6 + 3);
    EXPECT_EQ(stack.check(), "");
}

TEST(UndoStack, GroupThatChangedNothingKeepsRedoSteps)
{
    TUndoStack stack;
    logTyping(stack, 0, "a");
    stack.ReadBack();
    for (int i = 0; i < 11; ++i)
        stack.ReadBack();
    ASSERT_TRUE(stack.CanRedo());
    stack.BeginGroup(ugDelete, {0, 0});
    stack.EndGroup(ugDelete, {0, 0});
    EXPECT_TRUE(stack.CanRedo());
    EXPECT_EQ(stack.EntryCount(), 12);
    EXPECT_FALSE(stack.Modified());
    EXPECT_EQ(stack.check(), "");
}

TEST(UndoStack, PendingActionRules)
{
    TUndoStack stack;
    EXPECT_FALSE(stack.EndAction(ukText, {0, 0}));
    ASSERT_TRUE(stack.BeginAction(ukText, {0, 0}, "", "a"));
    EXPECT_FALSE(stack.BeginAction(ukText, {0, 0}, "", "b"));
    EXPECT_FALSE(stack.EndAction(ukStream, {0, 0}));
    EXPECT_TRUE(stack.EndAction(ukText, {1, 1}));
    EXPECT_FALSE(stack.ActionPending());
    EXPECT_EQ(stack.EntryCount(), 6);
    EXPECT_EQ(stack.check(), "");
}

TEST(UndoStack, StreamActionChargesTheStreamObject)
{
    TUndoStack stack;
    ASSERT_TRUE(stack.BeginAction(ukStream, {0, 0}, "old", "pasted"));
    ASSERT_TRUE(stack.EndAction(ukStream, {6, 6}));
    EXPECT_EQ(stack.Memory(), 6 * 16 + 3 + 6 + static_cast<int64_t>(sizeof(TMemoryStream)));
    const TStackEntry* inserted = stack.Newest()->Older->Older;
    EXPECT_EQ(static_cast<const TUndoRecord*>(inserted->Record)->Content(), "pasted");
}

TEST(UndoStack, TrimsWholeStepsFromTheOldestEnd)
{
    const int64_t step = 12 * 16 + 1;
    TUndoStack stack(3 * step);
    for (int i = 0; i < 10; ++i) {
        logTyping(stack, i, "x");
        ASSERT_EQ(stack.check(), "") << i;
        ASSERT_LE(stack.Memory(), 3 * step);
    }
    EXPECT_EQ(stack.EntryCount(), 36);
    // Everything left can be undone back to the first kept step's opening marker.
    for (int i = 0; i < 36; ++i)
        stack.ReadBack();
    EXPECT_THROW(stack.ReadBack(), EStackError);
    const auto* oldest = static_cast<const TUndoRecord*>(stack.Oldest()->Record);
    EXPECT_TRUE(oldest->IsGroupMarker(gpOpen));
    // Steps were dropped, so the text can no longer be brought back: still modified.
    EXPECT_EQ(stack.Count(), 0);
    EXPECT_TRUE(stack.Modified());
}

TEST(UndoStack, NewestStepSurvivesALimitBelowItsSize)
{
    TUndoStack stack(10);
    logTyping(stack, 0, "a");
    EXPECT_EQ(stack.EntryCount(), 12);
    logTyping(stack, 1, "b");
    EXPECT_EQ(stack.EntryCount(), 12);
    EXPECT_TRUE(stack.Modified());
    EXPECT_EQ(stack.check(), "");
    stack.SetMemoryLimit(0);
    EXPECT_EQ(stack.EntryCount(), 12);
}

TEST(UndoStack, TrimmingLeavesTheOpenGroupWhole)
{
    TUndoStack stack(200);
    logTyping(stack, 0, "a");
    stack.BeginGroup(ugIndent, {0, 5});
    for (int line = 0; line < 5; ++line) {
        stack.LogLineEdit(ukIndent, line * 3, "\t");
        ASSERT_EQ(stack.check(), "");
    }
    stack.EndGroup(ugIndent, {0, 10});
    EXPECT_EQ(stack.check(), "");
    const auto* oldest = static_cast<const TUndoRecord*>(stack.Oldest()->Record);
    EXPECT_EQ(oldest->A, ugIndent);
    EXPECT_EQ(stack.EntryCount(), 6 + 5 * 3);
}

TEST(UndoStack, ClearForgetsEverythingButTheOpenGroup)
{
    TUndoStack stack;
    logTyping(stack, 0, "a");
    stack.BeginGroup(ugPaste, {1, 1});
    ASSERT_TRUE(stack.BeginAction(ukText, {1, 1}, "", "b"));
    ASSERT_TRUE(stack.EndAction(ukText, {2, 2}));
    stack.Clear();
    EXPECT_FALSE(stack.Modified());
    EXPECT_EQ(stack.Memory(), 0);
    EXPECT_TRUE(stack.GroupOpen());
    ASSERT_TRUE(stack.BeginAction(ukText, {2, 2}, "", "c"));
    ASSERT_TRUE(stack.EndAction(ukText, {3, 3}));
    stack.EndGroup(ugPaste, {3, 3});
    EXPECT_EQ(stack.EntryCount(), 12);
    EXPECT_EQ(stack.check(), "");
}

TEST(UndoStack, RandomSessionStaysWithinTinyLimits)
{
    for (int64_t limit : {0, 1, 100, 250, 1000}) {
        std::mt19937 random(static_cast<unsigned>(limit) + 7);
        TUndoStack stack(limit);
        for (int i = 0; i < 2000; ++i) {
            const int choice = static_cast<int>(random() % 10);
            if (choice < 5) {
                logTyping(stack, i, std::string(random() % 40, 'q'));
            } else if (choice < 7 && stack.CanUndo()) {
                // One step back: a group is read back as a whole.
                ASSERT_TRUE(stack.ReadBackRecord().IsGroupMarker(gpClose));
                while (!stack.ReadBackRecord().IsGroupMarker(gpOpen)) {
                }
                stack.ReadBack();
                ASSERT_TRUE(stack.ReadBackRecord().IsGroupMarker(gpOpen));
            } else if (choice < 9 && stack.CanRedo()) {
                ASSERT_TRUE(stack.ReadForwardRecord().IsGroupMarker(gpOpen));
                while (!stack.ReadForwardRecord().IsGroupMarker(gpClose)) {
                }
                stack.ReadForward();
                ASSERT_TRUE(stack.ReadForwardRecord().IsGroupMarker(gpClose));
            } else if (choice == 9) {
                stack.BeginGroup(ugIndent, {0, 0});
                stack.LogLineEdit(ukIndent, 0, "  ");
                stack.LogLineEdit(ukUnindent, 4, "\t");
                stack.EndGroup(ugIndent, {0, 0});
            }
            ASSERT_EQ(stack.check(), "") << "limit " << limit << " step " << i;
        }
    }
}
