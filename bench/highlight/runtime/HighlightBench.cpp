// Highlighting speed: a whole generated 50 MB BASIC document from scratch, the tokeniser alone
// over the same text, and the cost of the pass after one typed character in the middle.
#include "BasicSource.h"
#include "TestLanguage.h"

#include "base/Stream.h"
#include "editor/text/TextStore.h"
#include "highlight/runtime/HighlightPass.h"
#include "highlight/runtime/ParseCursor.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr size_t kDocumentBytes = 50u << 20;
constexpr int kExtraKeywords = 300; // a few hundred keywords, like the delivered language

const std::string& documentText()
{
    static const std::string text = bench::BasicSourceGenerator(7).generate(kDocumentBytes);
    return text;
}

TSourceMemoParser& basicParser()
{
    static TSourceMemoParser* parser = [] {
        auto* p = new TSourceMemoParser;
        rtlang::buildBasicLanguage(p->Tables(), kExtraKeywords);
        p->TablesChanged();
        return p;
    }();
    return *parser;
}

// Remembers the first row an edit changed, as the editor control does.
class StartRowView : public TStoreView
{
public:
    int64_t TopRow() const override { return 0; }
    void SetTopRow(int64_t) override {}
    int64_t VisibleRows() const override { return 40; }
    void RowsChanged(const TRowChange& change) override { first = change.FirstIndex; }
    int64_t first = 0;
};

std::unique_ptr<TTextStore> loadedStore()
{
    auto store = std::make_unique<TTextStore>();
    TReadOnlyMemoryStream stream(documentText().data(),
                                 static_cast<int64_t>(documentText().size()));
    store->LoadFromStream(stream);
    return store;
}

void BM_HighlightWholeDocument(benchmark::State& state)
{
    auto store = loadedStore();
    THighlightPass pass(*store);
    pass.setParser(&basicParser());
    int64_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (TTextRow* row = store->FirstRow(); row; row = row->Next)
            store->DropAttrs(row);
        state.ResumeTiming();
        rows = pass.highlightAll().rowsTokenised;
    }
    state.SetBytesProcessed(state.iterations() * store->CharCount());
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_HighlightWholeDocument)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TokeniseWholeText(benchmark::State& state)
{
    const std::string& text = documentText();
    TSourceMemoParser& parser = basicParser();
    int64_t tokens = 0;
    for (auto _ : state) {
        TStringCharSource source(text);
        TParseCursor in(source);
        parser.ResetState(0);
        tokens = 0;
        while (!in.atEnd()) {
            int64_t length = 0;
            benchmark::DoNotOptimize(parser.NextToken(nullptr, in, length));
            ++tokens;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    state.counters["tokens"] = static_cast<double>(tokens);
}
BENCHMARK(BM_TokeniseWholeText)->Unit(benchmark::kMillisecond)->Iterations(1);

// One character typed in the middle of the highlighted document and the pass that follows,
// then the character deleted again (two edits and two passes per iteration).
void BM_TypeOneCharacterInTheMiddle(benchmark::State& state)
{
    auto store = loadedStore();
    StartRowView view;
    store->RegisterView(&view);
    THighlightPass pass(*store);
    pass.setParser(&basicParser());
    pass.highlightAll();
    const TRowSpot middle = store->RowByIndex(store->RowCount() / 2);
    const int64_t at = middle.Start + middle.Row->TextLength() / 2;
    int64_t rows = 0;
    for (auto _ : state) {
        store->InsertText(at, "x");
        rows = pass.highlightFrom(view.first).rowsTokenised;
        store->DeleteRange(at, at + 1);
        pass.highlightFrom(view.first);
    }
    state.counters["rows_per_keystroke"] = static_cast<double>(rows);
    store->UnregisterView(&view);
}
BENCHMARK(BM_TypeOneCharacterInTheMiddle)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
