// Seeded random edits against a plain byte string, with the invariants checked after each and
// the line numbering of a random row compared with a count of the model's line breaks.
#include "StoreTestSupport.h"

#include "base/Stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

std::string randomText(std::mt19937& rng, int maxLength)
{
    static const char alphabet[] = "abc \t\r\n\r\n\x01xyz";
    std::uniform_int_distribution<int> length(1, maxLength);
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 2);
    std::string text(static_cast<size_t>(length(rng)), ' ');
    for (char& c : text)
        c = alphabet[pick(rng)];
    return text;
}

// Occasionally a line far beyond the row limit, so forced splits meet every other edit.
std::string longLine(std::mt19937& rng)
{
    std::uniform_int_distribution<int> length(2040, 4200);
    return std::string(static_cast<size_t>(length(rng)), 'L');
}

// The line of the row holding probe, and that line's first row, against the model.
void verifyLineOfProbe(const TTextStore& store, const TRowSpot& spot, const std::string& model)
{
    const auto before =
        static_cast<int64_t>(std::count(model.begin(), model.begin() + spot.Start, '\r'));
    ASSERT_EQ(store.LineOfRow(spot.Index), before);
    const TRowSpot first = store.LineStart(before);
    ASSERT_NE(first.Row, nullptr);
    const size_t lineStart =
        before == 0 ? 0 : model.rfind('\r', static_cast<size_t>(spot.Start) - 1) + 1;
    ASSERT_EQ(first.Start, static_cast<int64_t>(lineStart));
    ASSERT_FALSE(first.Row->IsContinuation());
    ASSERT_LE(first.Index, spot.Index);
    ASSERT_EQ(store.RowByIndex(first.Index).Row, first.Row);
}

void runRandomEdits(const TStoreCapacities& capacities, unsigned seed, int steps)
{
    TTextStore store(capacities);
    std::string model;
    std::mt19937 rng(seed);
    for (int step = 0; step < steps; ++step) {
        std::uniform_int_distribution<int64_t> at(0, static_cast<int64_t>(model.size()));
        const int choice = std::uniform_int_distribution<int>(0, 999)(rng);
        if (step == steps / 2) {
            store.DeleteRange(store.CharCount(), 0);
            model.clear();
        } else if (choice < 600 || model.empty()) {
            const std::string text = choice % 97 == 0 ? longLine(rng) : randomText(rng, choice % 5 == 0 ? 80 : 6);
            const int64_t position = at(rng);
            const int64_t inserted = store.InsertText(position, text);
            const std::string stored = normalised(text);
            ASSERT_EQ(inserted, static_cast<int64_t>(stored.size()));
            model.insert(static_cast<size_t>(position), stored);
        } else {
            const int64_t reach = choice < 960 ? 6 : 3000;
            int64_t a = at(rng);
            int64_t b = std::min<int64_t>(a + std::uniform_int_distribution<int64_t>(0, reach)(rng),
                                          static_cast<int64_t>(model.size()));
            if (choice % 3 == 0) {
                // Whole rows: both ends on row starts.
                a = store.RowAt(a).Start;
                b = store.RowAt(b).Start;
            }
            if (choice % 2)
                std::swap(a, b);
            store.DeleteRange(a, b);
            model.erase(static_cast<size_t>(std::min(a, b)), static_cast<size_t>(std::abs(b - a)));
        }
        ASSERT_EQ(store.check(), "") << "step " << step;
        ASSERT_EQ(store.CharCount(), static_cast<int64_t>(model.size())) << "step " << step;
        ASSERT_EQ(store.LineCount(), std::count(model.begin(), model.end(), '\r') + 1)
            << "step " << step;
        if (step % 16 == 0 || model.size() < 200) {
            ASSERT_EQ(store.GetText(), model) << "step " << step;
        }
        if (!model.empty()) {
            const int64_t probe = at(rng) % static_cast<int64_t>(model.size());
            const TRowSpot spot = store.RowAt(probe);
            ASSERT_NE(spot.Row, nullptr);
            ASSERT_LE(spot.Start, probe);
            ASSERT_LT(probe, spot.Start + spot.Row->Length);
            ASSERT_EQ(spot.Row->Text()[probe - spot.Start], model[static_cast<size_t>(probe)]);
            ASSERT_EQ(store.RowByIndex(spot.Index).Row, spot.Row);
            ASSERT_NO_FATAL_FAILURE(verifyLineOfProbe(store, spot, model)) << "step " << step;
        }
    }
    EXPECT_EQ(store.GetText(), model);
}

} // namespace

TEST(TextStoreRandom, MatchesByteStringModelAtDefaultCapacities)
{
    runRandomEdits({}, 20261207u, 4000);
}

TEST(TextStoreRandom, MatchesByteStringModelAtTinyCapacities)
{
    for (int leaf = 2; leaf <= 4; ++leaf) {
        SCOPED_TRACE(leaf);
        runRandomEdits({leaf, leaf + 1, 7, 3}, 1000u + leaf, 2500);
    }
}

TEST(TextStoreRandom, LoadingInTinyPiecesMatchesModel)
{
    std::mt19937 rng(77);
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += i % 50 == 0 ? longLine(rng) : randomText(rng, 30);
    for (int chunk : {2, 3, 5, 8192}) {
        TTextStore store({3, 4, chunk, 2});
        TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
        store.LoadFromStream(stream);
        ASSERT_EQ(store.check(), "") << chunk;
        EXPECT_EQ(store.GetText(), normalised(text)) << chunk;
        const std::string stored = normalised(text);
        EXPECT_EQ(store.LineCount(), std::count(stored.begin(), stored.end(), '\r') + 1) << chunk;
    }
}
