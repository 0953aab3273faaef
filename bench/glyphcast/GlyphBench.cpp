// Cost of a whole conversion without the window: the automatic metrics, sampling the 96
// characters at the widest and tallest settings, and writing the resulting table text.
#include "glyphcast/core/AutoMetrics.h"
#include "glyphcast/core/ConversionRun.h"
#include "glyphcast/core/MemoryRaster.h"
#include "glyphcast/core/TableFileWriter.h"

#include <benchmark/benchmark.h>

namespace {

// A font whose every character is a filled box of its own width.
TMemoryRaster boxFont()
{
    TMemoryRaster raster;
    for (int code = 33; code <= 127; ++code)
        raster.addInk(code, 1, 1 + code % 12, 2, 14);
    return raster;
}

struct TNoStop : TConversionObserver
{
    bool byteRowDone() override { return true; }
    void characterDone(int, const std::string&) override {}
    void waitForStep() override {}
};

TConversionSettings widestSettings()
{
    TConversionSettings settings;
    settings.fixedWidth = true;
    settings.setWidth(64);
    settings.setBytesHigh(4);
    return settings;
}

void BM_AutoMetrics(benchmark::State& state)
{
    TMemoryRaster raster = boxFont();
    for (auto _ : state) {
        TConversionSettings settings;
        benchmark::DoNotOptimize(calculateAutoMetrics(raster, settings));
    }
}
BENCHMARK(BM_AutoMetrics)->Unit(benchmark::kMillisecond);

void BM_ConvertWidest(benchmark::State& state)
{
    TMemoryRaster raster = boxFont();
    TPreviewGrid grid;
    const TConversionSettings settings = widestSettings();
    TNoStop observer;
    for (auto _ : state) {
        TConversionRun run(raster, grid, settings);
        run.run({"Box", "10", false, false, "Box"}, observer);
        benchmark::DoNotOptimize(run.text().size());
    }
}
BENCHMARK(BM_ConvertWidest)->Unit(benchmark::kMillisecond);

void BM_WriteWidest(benchmark::State& state)
{
    TMemoryRaster raster = boxFont();
    TPreviewGrid grid;
    const TConversionSettings settings = widestSettings();
    TConversionRun run(raster, grid, settings);
    TNoStop observer;
    run.run({"Box", "10", false, false, "Box"}, observer);
    for (auto _ : state) {
        TMemoryStream out;
        writeTableText(run.text(), out, [](int percent) { benchmark::DoNotOptimize(percent); });
        benchmark::DoNotOptimize(out.Size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(run.text().size()));
}
BENCHMARK(BM_WriteWidest)->Unit(benchmark::kMillisecond);

} // namespace
BENCHMARK_MAIN();
