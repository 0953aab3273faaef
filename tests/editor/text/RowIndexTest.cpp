// The counted tree on its own: batches of rows inserted, removed and replaced at random places,
// checked against a plain vector after every step and at capacities small enough to split and
// merge inner nodes. Rows end in CR at random, so the line-break totals move with every step.
#include "editor/text/RowArena.h"
#include "editor/text/RowIndex.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Rows owned by the test, linked in the order of the model so check() can compare.
class RowPool
{
public:
    TTextRow* make(int length, bool endsLine = false)
    {
        std::string text(static_cast<size_t>(length), 'r');
        if (endsLine)
            text.back() = kLineBreak;
        return m_arena.Create(text.c_str(), length);
    }
    static void link(const std::vector<TTextRow*>& order)
    {
        for (size_t i = 0; i < order.size(); ++i) {
            order[i]->Prev = i ? order[i - 1] : nullptr;
            order[i]->Next = i + 1 < order.size() ? order[i + 1] : nullptr;
        }
    }

private:
    TRowArena m_arena;
};

void verifyLookups(const TRowIndex& index, const std::vector<TTextRow*>& model)
{
    int64_t start = 0;
    for (size_t i = 0; i < model.size(); ++i) {
        TRowSpot byIndex;
        ASSERT_TRUE(index.FindIndex(static_cast<int64_t>(i), byIndex));
        ASSERT_EQ(byIndex.Row, model[i]);
        ASSERT_EQ(byIndex.Start, start);
        TRowSpot byOffset;
        ASSERT_TRUE(index.FindOffset(start + model[i]->Length - 1, byOffset));
        ASSERT_EQ(byOffset.Row, model[i]);
        ASSERT_EQ(byOffset.Index, static_cast<int64_t>(i));
        start += model[i]->Length;
    }
    TRowSpot none;
    EXPECT_FALSE(index.FindOffset(start, none));
    EXPECT_FALSE(index.FindIndex(static_cast<int64_t>(model.size()), none));
    EXPECT_FALSE(index.FindIndex(-1, none));
}

// BreaksBefore and FindLine against a count over the vector.
void verifyLines(const TRowIndex& index, const std::vector<TTextRow*>& model)
{
    const auto size = static_cast<int64_t>(model.size());
    std::vector<int64_t> lineStarts{0}; // row index of each line's first row
    std::vector<int64_t> rowStarts{0};
    int64_t breaks = 0;
    for (int64_t i = 0; i < size; ++i) {
        ASSERT_EQ(index.BreaksBefore(i), breaks) << i;
        rowStarts.push_back(rowStarts.back() + model[i]->Length);
        if (model[i]->EndsLine()) {
            ++breaks;
            lineStarts.push_back(i + 1);
        }
    }
    ASSERT_EQ(index.LineBreakCount(), breaks);
    EXPECT_EQ(index.BreaksBefore(size), breaks);
    EXPECT_EQ(index.BreaksBefore(size + 9), breaks);
    EXPECT_EQ(index.BreaksBefore(-3), 0);
    for (size_t line = 0; line < lineStarts.size(); ++line) {
        TRowSpot spot;
        const int64_t row = lineStarts[line];
        ASSERT_EQ(index.FindLine(static_cast<int64_t>(line), spot), row < size) << line;
        if (row < size) {
            ASSERT_EQ(spot.Row, model[row]) << line;
            ASSERT_EQ(spot.Index, row) << line;
            ASSERT_EQ(spot.Start, rowStarts[row]) << line;
        }
    }
    TRowSpot none;
    EXPECT_FALSE(index.FindLine(static_cast<int64_t>(lineStarts.size()), none));
    EXPECT_FALSE(index.FindLine(-1, none));
}

} // namespace

TEST(RowIndex, RandomBatchesMatchVectorAtSmallCapacities)
{
    for (const auto& [leaf, fanout] : std::vector<std::pair<int, int>>{{2, 3}, {3, 4}, {5, 3}, {128, 32}}) {
        SCOPED_TRACE(leaf * 100 + fanout);
        RowPool pool;
        TRowIndex index(leaf, fanout);
        std::vector<TTextRow*> model;
        std::mt19937 rng(leaf * 31 + fanout);
        for (int step = 0; step < 300; ++step) {
            const auto size = static_cast<int64_t>(model.size());
            const int64_t at = std::uniform_int_distribution<int64_t>(0, size)(rng);
            if (step % 5 == 1 && !model.empty()) {
                // A fresh row in the slot, or the same row after its last byte changed.
                const int64_t slot = at % size;
                if (step % 2) {
                    model[slot] =
                        pool.make(std::uniform_int_distribution<int>(1, 2047)(rng), rng() % 2);
                } else {
                    TTextRow* row = model[slot];
                    row->Text()[row->Length - 1] = row->EndsLine() ? 'r' : kLineBreak;
                }
                index.Replace(slot, model[slot]);
            } else if (step % 3 != 2 || model.empty()) {
                std::vector<TTextRow*> batch(std::uniform_int_distribution<size_t>(1, 40)(rng));
                for (TTextRow*& row : batch)
                    row =
                        pool.make(std::uniform_int_distribution<int>(1, 2047)(rng), rng() % 3 == 0);
                index.Insert(at, batch.data(), static_cast<int64_t>(batch.size()));
                model.insert(model.begin() + at, batch.begin(), batch.end());
            } else {
                const int64_t count = std::uniform_int_distribution<int64_t>(1, 50)(rng);
                index.Remove(at, count);
                model.erase(model.begin() + std::min(at, size),
                            model.begin() + std::min(at + count, size));
            }
            RowPool::link(model);
            ASSERT_EQ(index.check(model.empty() ? nullptr : model.front()), "") << step;
            ASSERT_EQ(index.RowCount(), static_cast<int64_t>(model.size()));
            if (step % 10 == 0) {
                ASSERT_NO_FATAL_FAILURE(verifyLines(index, model)) << step;
            }
        }
        verifyLookups(index, model);
        verifyLines(index, model);
        // Emptying everything leaves a usable tree.
        index.Remove(0, index.RowCount());
        EXPECT_EQ(index.check(nullptr), "");
        EXPECT_EQ(index.CharCount(), 0);
        EXPECT_EQ(index.LineBreakCount(), 0);
        TTextRow* again = pool.make(3);
        again->Next = again->Prev = nullptr;
        index.Insert(0, &again, 1);
        EXPECT_EQ(index.check(again), "");
    }
}

TEST(RowIndex, ReplaceUpdatesTotalsAndCheckSeesStaleLengths)
{
    RowPool pool;
    TRowIndex index(2, 3);
    std::vector<TTextRow*> rows;
    for (int i = 0; i < 9; ++i)
        rows.push_back(pool.make(i + 1));
    RowPool::link(rows);
    index.Insert(0, rows.data(), 9);
    TTextRow* longer = pool.make(100);
    rows[4] = longer;
    RowPool::link(rows);
    index.Replace(4, longer);
    EXPECT_EQ(index.check(rows.front()), "");
    EXPECT_EQ(index.CharCount(), 45 - 5 + 100);
    TRowSpot spot;
    ASSERT_TRUE(index.FindOffset(10 + 99, spot));
    EXPECT_EQ(spot.Row, longer);
    rows[2]->Length = 7; // a row changed behind the index's back
    EXPECT_NE(index.check(rows.front()), "");
}

TEST(RowIndex, CheckSeesLineBreakChangedBehindTheIndex)
{
    RowPool pool;
    TRowIndex index(2, 3);
    std::vector<TTextRow*> rows;
    for (int i = 0; i < 9; ++i)
        rows.push_back(pool.make(4, i % 2 == 0));
    RowPool::link(rows);
    index.Insert(0, rows.data(), 9);
    EXPECT_EQ(index.LineBreakCount(), 5);
    rows[4]->Text()[3] = 'x'; // the row lost its CR without the index being told
    EXPECT_NE(index.check(rows.front()), "");
    index.Replace(4, rows[4]);
    EXPECT_EQ(index.check(rows.front()), "");
    EXPECT_EQ(index.LineBreakCount(), 4);
    EXPECT_EQ(index.BreaksBefore(9), 4);
    TRowSpot spot;
    ASSERT_TRUE(index.FindLine(2, spot));
    EXPECT_EQ(spot.Index, 3); // line 2 now runs over rows 3 to 6
    ASSERT_TRUE(index.FindLine(3, spot));
    EXPECT_EQ(spot.Index, 7);
    index.Clear();
    EXPECT_EQ(index.LineBreakCount(), 0);
    EXPECT_FALSE(index.FindLine(0, spot));
}
