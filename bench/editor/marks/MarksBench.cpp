// Annotation benchmarks on the generated 50 MB, 1.2-million-line BASIC document: a keystroke
// near the top with and without 100,000 marks, 10,000 breakpoints, 1,000 named bookmarks and
// ten numbered bookmarks after it (all of which the keystroke moves), the same shift done the
// plain way over an array of 111,000 positions, and finding the ten numbered bookmarks after
// each keystroke against one walk over the rows.
#include "BasicSource.h"

#include "editor/marks/StoreMarks.h"
#include "editor/text/TextStore.h"

#include "base/Stream.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr size_t kLargeBytes = 50u << 20;
constexpr int kMarks = 100000;
constexpr int kBreakpoints = 10000;
constexpr int kNamed = 1000;

std::unique_ptr<TTextStore> makeStore(bool annotated)
{
    bench::BasicSourceGenerator generator(7);
    const std::string text = generator.generate(kLargeBytes);
    auto store = std::make_unique<TTextStore>();
    TReadOnlyMemoryStream stream(text.data(), static_cast<int64_t>(text.size()));
    store->LoadFromStream(stream);
    if (!annotated)
        return store;
    const int64_t size = store->CharCount();
    TMarkList& marks = EnsureMarks(*store, nullptr);
    for (int i = 0; i < kMarks; ++i)
        marks.AddMark(1000 + size / kMarks * i, 6, 0x123456);
    TSM_Breakpoints& breakpoints = EnsureBreakpoints(*store, nullptr);
    for (int i = 0; i < kBreakpoints; ++i)
        breakpoints.Add(1000 + size / kBreakpoints * i, i);
    TStoreBookmarks& bookmarks = EnsureBookmarks(*store, nullptr);
    for (int i = 0; i < kNamed; ++i)
        bookmarks.Named.Set("b" + std::to_string(i), 1000 + size / kNamed * i);
    for (int n = 0; n < 10; ++n)
        bookmarks.Numbered.Set(*store, n, store->RowCount() / 10 * n + 50, 1, false);
    return store;
}

TTextStore& store(bool annotated)
{
    static std::unique_ptr<TTextStore> stores[2];
    std::unique_ptr<TTextStore>& slot = stores[annotated ? 1 : 0];
    if (!slot)
        slot = makeStore(annotated);
    return *slot;
}

// One character typed and taken back near the top: every annotation after it moves twice.
void BM_KeystrokeNearTheTop(benchmark::State& state)
{
    TTextStore& doc = store(state.range(0) != 0);
    for (auto _ : state) {
        doc.InsertText(100, "x");
        doc.DeleteRange(100, 101);
    }
    state.counters["annotations"] = state.range(0) ? kMarks + kBreakpoints + kNamed + 10 : 0;
}
BENCHMARK(BM_KeystrokeNearTheTop)->Arg(0)->Arg(1)->Iterations(20000);

// What the same two shifts cost when every position is written: the plain sorted array.
void BM_PlainArrayShift(benchmark::State& state)
{
    std::vector<int64_t> positions(kMarks + kBreakpoints + kNamed + 10);
    for (size_t i = 0; i < positions.size(); ++i)
        positions[i] = 1000 + static_cast<int64_t>(i) * 450;
    for (auto _ : state) {
        for (int64_t& p : positions)
            p += p >= 100 ? 1 : 0;
        for (int64_t& p : positions)
            p -= p >= 101 ? 1 : 0;
        benchmark::DoNotOptimize(positions.data());
    }
}
BENCHMARK(BM_PlainArrayShift)->Iterations(2000);

// The ten numbered bookmarks found after every keystroke, as a status refresh would ask.
void BM_FindTenBookmarksAfterAKeystroke(benchmark::State& state)
{
    TTextStore& doc = store(true);
    TNumberedBookmarks& bookmarks = BookmarksOf(doc)->Numbered;
    int found = 0;
    for (auto _ : state) {
        doc.InsertText(100, "x");
        doc.DeleteRange(100, 101);
        for (int n = 0; n < 10; ++n) {
            TRowSpot row;
            int column = 0;
            found += bookmarks.Get(doc, n, row, column) ? 1 : 0;
        }
    }
    benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_FindTenBookmarksAfterAKeystroke)->Iterations(20000);

// One walk over the rows for the last bookmark: what every lookup would cost without hints.
void BM_WalkForABookmark(benchmark::State& state)
{
    TTextStore& doc = store(true);
    int64_t index = 0;
    for (auto _ : state) {
        index = 0;
        for (const TTextRow* row = doc.FirstRow(); row; row = row->Next, ++index)
            if (row->RowBits & (1u << 9))
                break;
        benchmark::DoNotOptimize(index);
    }
}
BENCHMARK(BM_WalkForABookmark)->Iterations(20);

} // namespace

BENCHMARK_MAIN();
