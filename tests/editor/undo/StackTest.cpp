// The record stack under the undo log: counting, redo entries, underflow and freeing.
#include "editor/undo/Stack.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FreedLog
{
    std::vector<int> freed;
    TStack makeStack()
    {
        return TStack([this](void* record) { freed.push_back(*static_cast<int*>(record)); });
    }
};

int values[8] = {0, 1, 2, 3, 4, 5, 6, 7};

} // namespace

TEST(Stack, CountsMemoryAndReadsBackAndForward)
{
    FreedLog log;
    TStack stack = log.makeStack();
    stack.Push(&values[1], 10);
    stack.Push(&values[2], 0);
    stack.Push(&values[3], 5);
    EXPECT_EQ(stack.Count(), 3);
    EXPECT_EQ(stack.Memory(), 3 * 16 + 15);
    EXPECT_FALSE(stack.CanRedo());

    EXPECT_EQ(*static_cast<int*>(stack.ReadBack()), 3);
    EXPECT_EQ(*static_cast<int*>(stack.ReadBack()), 2);
    EXPECT_EQ(stack.Count(), 1);
    EXPECT_TRUE(stack.CanRedo());
    EXPECT_EQ(stack.check(), "");
    EXPECT_EQ(*static_cast<int*>(stack.ReadForward()), 2);
    EXPECT_EQ(stack.Count(), 2);
    EXPECT_EQ(stack.EntryCount(), 3);
    EXPECT_EQ(stack.check(), "");
    EXPECT_TRUE(log.freed.empty());
}

TEST(Stack, UnderflowAtBothEnds)
{
    FreedLog log;
    TStack stack = log.makeStack();
    EXPECT_THROW(stack.Pop(), EStackError);
    EXPECT_THROW(stack.ReadBack(), EStackError);
    EXPECT_THROW(stack.ReadForward(), EStackError);
    stack.Push(&values[1], 0);
    stack.ReadBack();
    EXPECT_EQ(stack.Count(), 0);
    try {
        stack.ReadBack();
        FAIL() << "read below the bottom";
    } catch (const EStackError& e) {
        EXPECT_STREQ(e.what(), "Stack underflow");
    }
    EXPECT_EQ(stack.Count(), 0);
    stack.ReadForward();
    EXPECT_THROW(stack.ReadForward(), EStackError);
    EXPECT_EQ(stack.Count(), 1);
    EXPECT_EQ(stack.check(), "");
}

TEST(Stack, PushDiscardsUndoneEntriesNewestFirst)
{
    FreedLog log;
    TStack stack = log.makeStack();
    for (int i = 1; i <= 4; ++i)
        stack.Push(&values[i], i);
    stack.ReadBack();
    stack.ReadBack();
    stack.ReadBack();
    stack.Push(&values[5], 0);
    EXPECT_EQ(log.freed, (std::vector<int>{4, 3, 2}));
    EXPECT_EQ(stack.Count(), 2);
    EXPECT_EQ(stack.EntryCount(), 2);
    EXPECT_EQ(stack.Memory(), 2 * 16 + 1);
    EXPECT_FALSE(stack.CanRedo());
    EXPECT_EQ(stack.check(), "");
}

TEST(Stack, PopHandsBackTheRecordWithoutFreeingIt)
{
    FreedLog log;
    TStack stack = log.makeStack();
    stack.Push(&values[1], 3);
    stack.Push(&values[2], 4);
    stack.ReadBack();
    // The newest entry is an undone one: popping it leaves the count alone.
    EXPECT_EQ(*static_cast<int*>(stack.Pop()), 2);
    EXPECT_EQ(stack.Count(), 1);
    EXPECT_EQ(*static_cast<int*>(stack.Pop()), 1);
    EXPECT_EQ(stack.Count(), 0);
    EXPECT_EQ(stack.Memory(), 0);
    EXPECT_TRUE(log.freed.empty());
    EXPECT_EQ(stack.check(), "");
}
