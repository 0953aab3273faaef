// Painting the editor control on the offscreen platform: a full repaint of a 120 x 50 view, and
// one page down with its repaint, in a 1.2-million-line document, with and without the ZENBASIC
// highlighter. Painting walks only the visible rows, so neither depends on the document size.
#include "BasicSource.h"
#include "base/Stream.h"
#include "editor/keys/KeyCommands.h"
#include "editor/widget/SourceMemo.h"
#include "highlight/languages/Languages.h"
#include "highlight/runtime/SourceMemoParser.h"

#include <QApplication>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const std::string& document(size_t bytes)
{
    static std::string small, large;
    std::string& text = bytes > (1 << 20) ? large : small;
    if (text.empty())
        text = bench::BasicSourceGenerator(7).generate(bytes);
    return text;
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

// A control showing 120 columns and 50 rows of the document.
std::unique_ptr<TSourceMemo> makeView(size_t bytes, bool highlighted)
{
    auto memo = std::make_unique<TSourceMemo>();
    const std::string& text = document(bytes);
    TReadOnlyMemoryStream stream(text.data(), static_cast<int64_t>(text.size()));
    memo->Store().LoadFromStream(stream);
    if (highlighted)
        memo->SetParser(1, &zenBasic());
    const int width = memo->TextLeft() + 120 * memo->CharWidth() + memo->verticalScrollBar()->sizeHint().width();
    memo->resize(width + 4, 50 * memo->LineHeight() + memo->horizontalScrollBar()->sizeHint().height() + 4);
    memo->show();
    QApplication::processEvents();
    memo->SetTopRow(memo->Store().RowCount() / 2);
    memo->viewport()->repaint();
    return memo;
}

void BM_RepaintView(benchmark::State& state)
{
    auto memo = makeView(static_cast<size_t>(state.range(0)), state.range(1) != 0);
    for (auto _ : state)
        memo->viewport()->repaint();
    state.counters["rows"] = static_cast<double>(memo->RowsPaintedLastTime());
}

void BM_PageDownAndRepaint(benchmark::State& state)
{
    auto memo = makeView(static_cast<size_t>(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        memo->Editor().ExecuteCommand(7, false); // one page down
        memo->viewport()->repaint();
    }
    state.counters["rows"] = static_cast<double>(memo->RowsPaintedLastTime());
}

// One character typed in the middle of the view and the repaint it causes, with word wrap on
// at the window's width: the edited line is re-flowed and only the rows from it down are
// painted, whatever the document's size.
void BM_TypeWrappedAndRepaint(benchmark::State& state)
{
    auto memo = makeView(static_cast<size_t>(state.range(0)), true);
    if (state.range(1))
        memo->SetOptions(memo->Options() | smoWordWrap);
    memo->viewport()->repaint();
    const int64_t at = memo->Store().RowByIndex(memo->TopRow() + 25).Start + 3;
    bool insert = true;
    for (auto _ : state) {
        memo->Editor().SetSelection(at, insert ? at : at + 1);
        if (insert)
            memo->Editor().KeyPress('x');
        else
            memo->Editor().ExecuteCommand(cmdDeleteChar, false);
        insert = !insert;
        memo->Editor().NotifyChange();
        QApplication::processEvents(); // paints what the edit invalidated
    }
    state.counters["rows"] = static_cast<double>(memo->RowsPaintedLastTime());
}

BENCHMARK(BM_TypeWrappedAndRepaint)->Args({64 << 10, 1})->Args({50 << 20, 1})->Args({50 << 20, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintView)->Args({64 << 10, 0})->Args({50 << 20, 0})->Args({50 << 20, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageDownAndRepaint)->Args({50 << 20, 0})->Args({50 << 20, 1})->Unit(benchmark::kMillisecond);

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
