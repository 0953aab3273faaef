// Replace all through the editor control, as a user runs it: the shown, highlighted control
// (ZENBASIC) on the 50 MB, 1.2-million-line document replaces every "GOSUB" by "CALL" with
// FindReplace and srReplaceAll, then one undo step brings the original bytes back. Times are
// this thread's CPU time (the machines are shared); the control paints on the same thread.
#include "BasicSource.h"

#include "base/Stream.h"
#include "editor/widget/SourceMemo.h"
#include "editor/widget/SourceMemoMessages.h"
#include "highlight/languages/Languages.h"
#include "highlight/runtime/SourceMemoParser.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

namespace {

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

TSourceMemoParser& zenBasic()
{
    static TSourceMemoParser parser;
    static bool loaded = false;
    if (!loaded) {
        const auto stream = zenBasicParserStream();
        TReadOnlyMemoryStream bytes(stream.data(), static_cast<int64_t>(stream.size()));
        parser.LoadParser(bytes);
        loaded = true;
    }
    return parser;
}

void BM_MemoReplaceAll(benchmark::State& state)
{
    const std::string text =
        bench::BasicSourceGenerator(7).generate((50u << 20) / static_cast<size_t>(state.range(0)));
    double replaceTotal = 0;
    double undoTotal = 0;
    int64_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto memo = std::make_unique<TSourceMemo>();
        TReadOnlyMemoryStream stream(text.data(), static_cast<int64_t>(text.size()));
        memo->Store().LoadFromStream(stream);
        memo->SetParser(1, &zenBasic());
        memo->resize(900, 700);
        memo->show();
        QApplication::processEvents();
        const std::string original = memo->Store().GetText();
        rows = memo->Store().RowCount();
        state.ResumeTiming();
        const double t0 = cpuSeconds();
        std::string newText;
        int64_t position = 0;
        memo->FindReplace("GOSUB", "CALL", srMatchCase | srReplaceAll, newText, position);
        QApplication::processEvents();
        const double t1 = cpuSeconds();
        Perform(*memo, EM_UNDO);
        QApplication::processEvents();
        const double t2 = cpuSeconds();
        state.PauseTiming();
        if (memo->Store().GetText() != original || memo->Editor().Modified())
            state.SkipWithError("one undo step did not bring back the original text");
        memo.reset();
        state.ResumeTiming();
        replaceTotal += t1 - t0;
        undoTotal += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["replace_ms"] = replaceTotal / iterations * 1e3;
    state.counters["undo_ms"] = undoTotal / iterations * 1e3;
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_MemoReplaceAll)
    ->Arg(1)
    ->Arg(4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
