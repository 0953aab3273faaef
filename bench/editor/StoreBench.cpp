// Text store benchmarks on a generated 50 MB, 1.2-million-line BASIC source: loading against
// merely reading the file, offset lookups against a binary search over line starts, lookups
// in a large against a small document, single-character inserts, and the memory a loaded
// store holds.
#include "BasicSource.h"

#include "editor/text/TextStore.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kLargeBytes = 50u << 20;

// The generated file, written once per process and removed at exit. The name lives in a
// plain array so that it still exists when the exit handler runs.
char g_sourcePath[96];

const std::string& sourceFile()
{
    static const std::string path = [] {
        std::snprintf(g_sourcePath, sizeof g_sourcePath, "/tmp/zbx-bench-store-%d.bas", static_cast<int>(::getpid()));
        const std::string text = bench::BasicSourceGenerator(7).generate(kLargeBytes);
        std::ofstream(g_sourcePath, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
        std::atexit([] { std::remove(g_sourcePath); });
        return std::string(g_sourcePath);
    }();
    return path;
}

int64_t fileSize()
{
    std::ifstream in(sourceFile(), std::ios::binary | std::ios::ate);
    return static_cast<int64_t>(in.tellg());
}

TTextStore& largeStore()
{
    static TTextStore store;
    if (store.RowCount() == 0)
        store.LoadFromFile(sourceFile());
    return store;
}

std::vector<int64_t> randomOffsets(int64_t limit, size_t count, unsigned seed)
{
    std::mt19937_64 rng(seed);
    std::uniform_int_distribution<int64_t> pick(0, limit - 1);
    std::vector<int64_t> offsets(count);
    for (int64_t& offset : offsets)
        offset = pick(rng);
    return offsets;
}

void lookups(benchmark::State& state, TTextStore& store)
{
    const std::vector<int64_t> offsets = randomOffsets(store.CharCount(), 100000, 5);
    for (auto _ : state) {
        int64_t sum = 0;
        for (int64_t offset : offsets)
            sum += store.RowAt(offset).Index;
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows"] = static_cast<double>(store.RowCount());
}

void BM_LoadStore(benchmark::State& state)
{
    sourceFile();
    for (auto _ : state) {
        auto store = std::make_unique<TTextStore>();
        store->LoadFromFile(sourceFile());
        benchmark::DoNotOptimize(store->RowCount());
        state.PauseTiming();
        store.reset();
        malloc_trim(0); // the next load should not pay for tidying up after this one
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * fileSize());
}
BENCHMARK(BM_LoadStore)->Unit(benchmark::kMillisecond);

void BM_ReadAndCountLines(benchmark::State& state)
{
    sourceFile();
    std::vector<char> buffer(65536);
    for (auto _ : state) {
        std::FILE* file = std::fopen(sourceFile().c_str(), "rb");
        int64_t lines = 0;
        size_t n = 0;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0)
            lines += std::count(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n), '\n');
        std::fclose(file);
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * fileSize());
}
BENCHMARK(BM_ReadAndCountLines)->Unit(benchmark::kMillisecond);

void BM_RowAtRandomLarge(benchmark::State& state)
{
    lookups(state, largeStore());
}
BENCHMARK(BM_RowAtRandomLarge)->Unit(benchmark::kMillisecond);

void BM_BinarySearchLineStarts(benchmark::State& state)
{
    std::vector<int64_t> starts;
    int64_t offset = 0;
    for (const TTextRow* row = largeStore().FirstRow(); row; row = row->Next) {
        starts.push_back(offset);
        offset += row->Length;
    }
    const std::vector<int64_t> offsets = randomOffsets(offset, 100000, 5);
    for (auto _ : state) {
        int64_t sum = 0;
        for (int64_t target : offsets)
            sum += std::upper_bound(starts.begin(), starts.end(), target) - starts.begin() - 1;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_BinarySearchLineStarts)->Unit(benchmark::kMillisecond);

void BM_RowAtRandomSmall(benchmark::State& state)
{
    TTextStore store;
    bench::BasicSourceGenerator generator(7);
    std::string text;
    for (int i = 0; i < 1000; ++i)
        generator.appendLine(text);
    store.InsertText(0, text);
    lookups(state, store);
}
BENCHMARK(BM_RowAtRandomSmall)->Unit(benchmark::kMillisecond);

void BM_InsertCharacters(benchmark::State& state)
{
    TTextStore& store = largeStore();
    const std::vector<int64_t> offsets = randomOffsets(store.CharCount(), 10000, 9);
    for (auto _ : state) {
        for (int64_t offset : offsets)
            store.InsertText(offset, "x");
    }
}
BENCHMARK(BM_InsertCharacters)->Unit(benchmark::kMillisecond);

// Peak resident memory (VmHWM, reset through clear_refs) that loading a store adds, as a
// multiple of the file size and per row. The rows live in mapped slabs, which heap statistics
// such as mallinfo2 do not see, so resident memory is the measure.
int64_t statusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::atoll(line.c_str() + std::string(field).size());
    return 0;
}

void BM_LoadedStoreMemory(benchmark::State& state)
{
    sourceFile();
    const double size = static_cast<double>(fileSize());
    for (auto _ : state) {
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        const int64_t before = statusKilobytes("VmRSS:");
        auto store = std::make_unique<TTextStore>();
        store->LoadFromFile(sourceFile());
        const double added = static_cast<double>(statusKilobytes("VmHWM:") - before) * 1024.0;
        state.counters["peak_rss_x_file"] = added / size;
        state.counters["peak_rss_bytes_per_row"] = added / static_cast<double>(store->RowCount());
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadedStoreMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
