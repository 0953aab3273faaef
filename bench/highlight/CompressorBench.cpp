// Packing and unpacking speed of both compressor methods on BASIC-like source text and on
// random bytes (1 MiB each). Run with --benchmark_repetitions to get medians.
#include "highlight/Compressor.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kInputSize = 1 << 20;

std::vector<uint8_t> sourceLikeText()
{
    static const char* const lines[] = {
        "    PRINT AT 1,2,\"Hello World\", Bin8 Var1\r\n", "' Comment Line about the ports\r\n",
        "    VAR1 = %11010010\r\n", "    HBUSIN MACRO Varin,Bitin,Byteout\r\n", "    DECLARE RSOUT_PIN PORTA.1\r\n",
        "Loop:\r\n", "    IF Counter > 10 THEN GOTO Done\r\n", "    Counter = Counter + 1\r\n",
        "    SHIN CLK,DTA,MSBPRE,[Var1]\r\n", "    LED = 1 : DELAYMS 500\r\n"};
    std::mt19937 random(42);
    std::string text;
    while (text.size() < kInputSize) {
        text += lines[random() % std::size(lines)];
        text += "    VAR" + std::to_string(random() % 1000) + " = $" + std::to_string(random() % 65536) + "\r\n";
    }
    text.resize(kInputSize);
    return {text.begin(), text.end()};
}

std::vector<uint8_t> randomData()
{
    std::mt19937 random(43);
    std::vector<uint8_t> bytes(kInputSize);
    for (auto& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}

const std::vector<uint8_t>& input(bool text)
{
    static const std::vector<uint8_t> source = sourceLikeText();
    static const std::vector<uint8_t> noise = randomData();
    return text ? source : noise;
}

void BM_Pack(benchmark::State& state, int method, bool text)
{
    const std::vector<uint8_t>& in = input(text);
    size_t packed = 0;
    for (auto _ : state)
        packed = compressBytes(in.data(), in.size(), method).size();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
    state.counters["ratio%"] = 100.0 * double(packed) / double(in.size());
}

void BM_Unpack(benchmark::State& state, int method, bool text)
{
    const std::vector<uint8_t>& in = input(text);
    const std::vector<uint8_t> packed = compressBytes(in.data(), in.size(), method);
    for (auto _ : state)
        benchmark::DoNotOptimize(decompressBytes(packed.data(), packed.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

} // namespace

BENCHMARK_CAPTURE(BM_Pack, block_text, cmBlock, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Pack, block_random, cmBlock, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Pack, lzh_text, cmLZH, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Pack, lzh_random, cmLZH, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Unpack, block_text, cmBlock, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Unpack, block_random, cmBlock, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Unpack, lzh_text, cmLZH, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Unpack, lzh_random, cmLZH, false)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
