// The counted tree on its own: batches of rows inserted and removed at random places, checked
// against a plain vector after every step and at capacities small enough to split and merge
// inner nodes.
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
    TTextRow* make(int length)
    {
        return m_arena.Create(std::string(static_cast<size_t>(length), 'r').c_str(), length);
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
            if (step % 3 != 2 || model.empty()) {
                std::vector<TTextRow*> batch(std::uniform_int_distribution<size_t>(1, 40)(rng));
                for (TTextRow*& row : batch)
                    row = pool.make(std::uniform_int_distribution<int>(1, 2047)(rng));
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
        }
        verifyLookups(index, model);
        // Emptying everything leaves a usable tree.
        index.Remove(0, index.RowCount());
        EXPECT_EQ(index.check(nullptr), "");
        EXPECT_EQ(index.CharCount(), 0);
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
