// Dropped text: where a drop lands, moving and copying the editor's own text (one undo step
// each), the drop hook, read-only mode, stale source ranges, and a seeded run of random moves
// and copies against a plain string.
#include "EditTestSupport.h"

#include <random>

using DropTest = EditorFixture;

namespace {

struct PlanCase
{
    int64_t at;
    TDropSource source;
    TDropPlan expected;
};

} // namespace

TEST(DropPlan, LandsWhereDroppedAndShiftsPastAMovedRange)
{
    const PlanCase cases[] = {
        {7, {}, {false, 0, 0, 7}},            // from another program
        {3, {2, 6, false}, {true, 0, 0, 3}},  // inside the copied range
        {2, {2, 6, false}, {false, 0, 0, 2}}, // a copy at its start duplicates it
        {6, {2, 6, false}, {false, 0, 0, 6}}, // ... and at its end
        {9, {2, 6, false}, {false, 0, 0, 9}}, // a copy after it
        {5, {2, 6, true}, {true, 0, 0, 5}},   // inside the moved range
        {2, {2, 6, true}, {true, 0, 0, 2}},   // a move to its own start
        {6, {2, 6, true}, {true, 0, 0, 6}},   // ... or end changes nothing
        {0, {2, 6, true}, {false, 2, 6, 0}},  // a move before it
        {10, {2, 6, true}, {false, 2, 6, 6}}, // a move after it lands 4 earlier
        {7, {2, 6, true}, {false, 2, 6, 3}},
    };
    for (const PlanCase& c : cases) {
        const TDropPlan plan = PlanDrop(c.at, c.source);
        SCOPED_TRACE(testing::Message() << "at " << c.at << " source " << c.source.Start << ".."
                                        << c.source.End << (c.source.Move ? " move" : " copy"));
        EXPECT_EQ(plan.Ignored, c.expected.Ignored);
        if (!plan.Ignored) {
            EXPECT_EQ(plan.RemoveStart, c.expected.RemoveStart);
            EXPECT_EQ(plan.RemoveEnd, c.expected.RemoveEnd);
            EXPECT_EQ(plan.InsertAt, c.expected.InsertAt);
        }
    }
}

TEST_F(DropTest, ForeignTextIsInsertedSelectedAsOneStepUnlessTheHookOrReadOnlyRefuses)
{
    load("PRINT x\rEND");
    editor.SetSelection(1, 3);
    std::vector<uint32_t> seen;
    uint32_t answer = dsText;
    editor.OnDataDrop = [&](uint32_t& flags) {
        seen.push_back(flags);
        flags = answer;
    };
    ASSERT_TRUE(editor.DropText("a = 1\r\nb = 2\r\n", 8, {}));
    EXPECT_EQ(text(), "PRINT x\ra = 1\rb = 2\rEND");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{8, 20}));
    ASSERT_EQ(store.check(), "");
    editor.Undo();
    EXPECT_EQ(text(), "PRINT x\rEND");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{1, 3}));
    EXPECT_FALSE(editor.CanUndo());
    ASSERT_TRUE(editor.DropText("!", 999, {})); // past the end lands at the end
    EXPECT_EQ(text(), "PRINT x\rEND!");

    answer = 0;
    EXPECT_FALSE(editor.DropText("2", 1, {}));
    EXPECT_FALSE(editor.DropText("P", 9, {0, 1, true})); // a refused move keeps its source
    EXPECT_EQ(seen, (std::vector<uint32_t>(4, dsText)));
    editor.DropText("R", 1, {1, 2, true}); // a drop that would do nothing asks nobody
    EXPECT_EQ(seen.size(), 4u);

    editor.Settings.ReadOnly = true;
    answer = dsText;
    EXPECT_FALSE(editor.AcceptsDrop(0, {}));
    EXPECT_FALSE(editor.DropText("new", 0, {}));
    EXPECT_FALSE(editor.RemoveDraggedText(0, 5, "PRINT"));
    EXPECT_EQ(text(), "PRINT x\rEND!");
    expectSound();
}

TEST_F(DropTest, OwnTextMovesForwardAndBackAcrossLinesAsOneStep)
{
    load("one\rtwo\rthree\rfour");
    editor.SetSelection(4, 8); // "two\r" dragged behind "three\r"
    ASSERT_TRUE(editor.DropText("two\r\n", 14, {4, 8, true}));
    EXPECT_EQ(text(), "one\rthree\rtwo\rfour");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{10, 14}));
    editor.SetSelection(14, 18); // and the last word in front of everything
    ASSERT_TRUE(editor.DropText("four", 0, {14, 18, true}));
    EXPECT_EQ(text(), "fourone\rthree\rtwo\r");
    ASSERT_EQ(store.check(), "");
    editor.Undo();
    EXPECT_EQ(editor.Selection(), (TSelectionPair{14, 18}));
    editor.Undo();
    EXPECT_EQ(text(), "one\rtwo\rthree\rfour");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{4, 8}));
    EXPECT_FALSE(editor.CanUndo());
    expectSound();
}

// A source range that no longer holds the dragged text is not cut: the drop is a copy.
TEST_F(DropTest, StaleSourceRangesLoseNothingAndAMoveOutIsOneStep)
{
    load("alpha beta");
    ASSERT_TRUE(editor.DropText("gamma", 10, {0, 5, true}));
    ASSERT_TRUE(editor.DropText("x", 0, {12, 40, true}));
    EXPECT_EQ(text(), "xalpha betagamma");
    EXPECT_FALSE(editor.RemoveDraggedText(1, 6, "beta "));
    EXPECT_FALSE(editor.RemoveDraggedText(10, 99, "gamma"));
    EXPECT_EQ(text(), "xalpha betagamma");
    editor.SetSelection(6, 11);
    ASSERT_TRUE(editor.RemoveDraggedText(6, 11, " beta"));
    EXPECT_EQ(text(), "xalphagamma");
    editor.Undo();
    EXPECT_EQ(text(), "xalpha betagamma");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{6, 11}));
    expectSound();
}

// Random moves and copies of random ranges against a plain string: the drop offset arithmetic,
// the store and the undo log must agree with the model at every step, and undoing everything
// must lead back to the start.
TEST_F(DropTest, SeededRandomMovesAndCopiesMatchAPlainString)
{
    const std::string start = "10 PRINT A\r20 GOTO 10\r\r30 END\rfoo bar baz\rlast";
    load(start);
    std::string model = start;
    std::mt19937 random(20261207);
    int steps = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto length = static_cast<int64_t>(model.size());
        std::uniform_int_distribution<int64_t> offset(0, length);
        int64_t a = offset(random);
        int64_t b = offset(random);
        if (a > b)
            std::swap(a, b);
        if (a == b)
            continue;
        const int64_t at = offset(random);
        const bool move = random() % 2 == 0;
        const std::string piece = model.substr(static_cast<size_t>(a), static_cast<size_t>(b - a));
        std::string dragged;
        for (const char c : piece)
            dragged += c == '\r' ? std::string("\r\n") : std::string(1, c);
        if (!editor.DropText(dragged, at, {a, b, move}))
            continue;
        ++steps;
        if (move) {
            model.erase(static_cast<size_t>(a), static_cast<size_t>(b - a));
            model.insert(static_cast<size_t>(at > b ? at - (b - a) : at), piece);
        } else {
            model.insert(static_cast<size_t>(at), piece);
        }
        ASSERT_EQ(text(), model) << i;
        ASSERT_EQ(editor.SelText(), dragged) << i; // the dropped text is selected
        // Keep the text from growing without bound.
        if (model.size() > 400) {
            editor.SetSelection(200, static_cast<int64_t>(model.size()));
            editor.ReplaceSelection({});
            model.resize(200);
        }
        ASSERT_EQ(store.check(), "") << i;
        ASSERT_EQ(editor.check(), "") << i;
    }
    ASSERT_GT(steps, 500);
    while (editor.CanUndo())
        editor.Undo();
    EXPECT_EQ(text(), start);
}
