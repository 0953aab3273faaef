// Word wrap on the generated 50 MB, 1.2-million-line BASIC source: switching it on at a width
// most lines fit (only long lines are cut), at a width that cuts most lines, switching it back
// off, and re-flowing the line of one edit, which must not depend on the document's size.
#include "BasicSource.h"

#include "editor/edit/TabStops.h"
#include "editor/text/TextStore.h"
#include "editor/view/Reflow.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

const std::string& text(size_t bytes)
{
    static std::string small, large;
    std::string& held = bytes > (1 << 20) ? large : small;
    if (held.empty())
        held = bench::BasicSourceGenerator(7).generate(bytes);
    return held;
}

std::unique_ptr<TTextStore> load(size_t bytes)
{
    auto store = std::make_unique<TTextStore>();
    store->InsertText(0, text(bytes));
    return store;
}

TWrapRule rule(int columns, const TTabStops& tabs)
{
    TWrapRule wrap;
    wrap.WordWrap = columns > 0;
    wrap.CharWidth = 8;
    wrap.WrapWidth = columns * 8;
    wrap.Tabs = &tabs;
    return wrap;
}

// Wraps the whole document at the given width and joins it back, timing each direction.
void BM_WrapWholeDocument(benchmark::State& state)
{
    const TEditorSettings settings;
    const TTabStops tabs(settings);
    auto store = load(50u << 20);
    const int columns = static_cast<int>(state.range(0));
    int64_t rows = 0;
    for (auto _ : state) {
        const TReflowResult on = Reflow(*store, -1, -1, rule(columns, tabs));
        rows = on.RowsAfter;
        state.PauseTiming();
        Reflow(*store, -1, -1, rule(0, tabs));
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["lines"] = static_cast<double>(store->RowCount());
}
BENCHMARK(BM_WrapWholeDocument)->Arg(120)->Arg(30)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UnwrapWholeDocument(benchmark::State& state)
{
    const TEditorSettings settings;
    const TTabStops tabs(settings);
    auto store = load(50u << 20);
    for (auto _ : state) {
        state.PauseTiming();
        Reflow(*store, -1, -1, rule(30, tabs));
        state.ResumeTiming();
        Reflow(*store, -1, -1, rule(0, tabs));
    }
}
BENCHMARK(BM_UnwrapWholeDocument)->Unit(benchmark::kMillisecond)->Iterations(3);

// One character typed into a wrapped line in the middle and its line re-flowed, in a small and
// the large document: the cost of the edit's re-flow must not grow with the document.
void BM_TypeAndReflowOneLine(benchmark::State& state)
{
    const TEditorSettings settings;
    const TTabStops tabs(settings);
    auto store = load(static_cast<size_t>(state.range(0)));
    const TWrapRule wrap = rule(30, tabs);
    Reflow(*store, -1, -1, wrap);
    const int64_t middle = store->CharCount() / 2;
    bool insert = true;
    for (auto _ : state) {
        if (insert)
            store->InsertText(middle, "x");
        else
            store->DeleteRange(middle, middle + 1);
        insert = !insert;
        const int64_t row = store->RowAt(middle).Index;
        benchmark::DoNotOptimize(Reflow(*store, row - 1, row + 1, wrap));
    }
}
BENCHMARK(BM_TypeAndReflowOneLine)->Arg(64 << 10)->Arg(50 << 20)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
