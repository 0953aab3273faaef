// Editing benchmarks on generated BASIC source: a keystroke in the middle of a 50 MB,
// 1.2-million-line document against the same keystroke in a 1,000-line one (undo records
// included), undoing and redoing 10,000 keystrokes in both, and the undo log's memory through
// a long random editing session under a memory limit, and a caret move with the refresh's
// SelLength question with and without the whole document selected.
#include "BasicSource.h"

#include "editor/edit/SourceEditor.h"
#include "editor/edit/StoreUndoStack.h"
#include "editor/keys/KeyCommands.h"

#include "base/Stream.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

namespace {

constexpr size_t kLargeBytes = 50u << 20;

struct Document
{
    TTextStore store;
    TSourceEditor editor{store};
};

std::unique_ptr<Document> makeDocument(bool large)
{
    bench::BasicSourceGenerator generator(7);
    std::string text;
    if (large) {
        text = generator.generate(kLargeBytes);
    } else {
        for (int i = 0; i < 1000; ++i)
            generator.appendLine(text);
    }
    auto document = std::make_unique<Document>();
    TReadOnlyMemoryStream stream(text.data(), static_cast<int64_t>(text.size()));
    document->store.LoadFromStream(stream);
    return document;
}

Document& document(bool large)
{
    static std::unique_ptr<Document> documents[2];
    std::unique_ptr<Document>& slot = documents[large ? 1 : 0];
    if (!slot)
        slot = makeDocument(large);
    return *slot;
}

// Offsets around the middle of the document, so the keystrokes land on different rows.
int64_t middleOffset(const TTextStore& store, std::mt19937& random)
{
    const int64_t middle = store.CharCount() / 2;
    return middle + static_cast<int64_t>(random() % 4096) - 2048;
}

void BM_TypeCharacter(benchmark::State& state)
{
    Document& doc = document(state.range(0) != 0);
    std::mt19937 random(3);
    for (auto _ : state) {
        state.PauseTiming();
        doc.editor.SetSelection(0, middleOffset(doc.store, random));
        doc.editor.SetSelStart(doc.editor.SelCaret());
        state.ResumeTiming();
        doc.editor.KeyPress('x');
    }
    state.counters["rows"] = static_cast<double>(doc.store.RowCount());
    doc.editor.SetModified(false);
}
BENCHMARK(BM_TypeCharacter)->Arg(0)->Arg(1)->Iterations(20000);

void BM_UndoRedo10000(benchmark::State& state)
{
    Document& doc = document(state.range(0) != 0);
    std::mt19937 random(4);
    doc.editor.SetModified(false);
    for (int i = 0; i < 10000; ++i) {
        doc.editor.SetSelStart(middleOffset(doc.store, random));
        doc.editor.KeyPress(static_cast<char>('a' + i % 26));
    }
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i)
            doc.editor.Undo();
        for (int i = 0; i < 10000; ++i)
            doc.editor.Redo();
    }
    state.counters["rows"] = static_cast<double>(doc.store.RowCount());
    doc.editor.SetModified(false);
}
BENCHMARK(BM_UndoRedo10000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Random typing, deleting, pasting of source lines and block indenting with a 256 KB limit;
// reports the largest memory the log ever held.
void BM_LongSessionMemory(benchmark::State& state)
{
    Document& doc = document(true);
    auto& log = *dynamic_cast<TStoreUndoStack*>(doc.store.UndoStack());
    const int64_t limit = 256 * 1024;
    log.SetMemoryLimit(limit);
    std::mt19937 random(5);
    bench::BasicSourceGenerator lines(11);
    int64_t highest = 0;
    for (auto _ : state) {
        for (int i = 0; i < 50000; ++i) {
            const int64_t at = middleOffset(doc.store, random);
            switch (random() % 5) {
            case 0:
                doc.editor.SetSelection(at, at + static_cast<int64_t>(random() % 300));
                doc.editor.ExecuteCommand(cmdDeleteChar, false);
                break;
            case 1:
                doc.editor.SetSelection(at, at + static_cast<int64_t>(random() % 200));
                doc.editor.IndentBlock(2, false);
                break;
            case 2: {
                std::string paste;
                for (int n = static_cast<int>(random() % 8); n >= 0; --n)
                    lines.appendLine(paste);
                doc.editor.SetSelStart(at);
                doc.editor.ReplaceSelection(paste);
                break;
            }
            default:
                doc.editor.SetSelStart(at);
                doc.editor.KeyPress('k');
                break;
            }
            highest = std::max(highest, log.Memory());
        }
    }
    state.counters["limit"] = static_cast<double>(limit);
    state.counters["highest"] = static_cast<double>(highest);
    state.counters["within"] = highest <= limit ? 1 : 0;
    log.SetMemoryLimit(kDefaultUndoMemoryLimit);
    doc.editor.SetModified(false);
}
BENCHMARK(BM_LongSessionMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// One caret move and the question the main window's refresh asks after it (is anything
// selected?) in the 50 MB document, the caret near the end: Arg 0 moves a bare caret, Arg 1
// the caret end of a selection of a few characters, Arg 2 that of a selection spanning the
// whole document. The selection's size must not change the cost.
void BM_CaretMoveAndSelLength(benchmark::State& state)
{
    Document& doc = document(true);
    const bool selected = state.range(0) != 0;
    const int64_t end = doc.store.CharCount();
    doc.editor.SetSelection(state.range(0) == 2 ? 0 : end - (selected ? 3 : 0), end);
    int64_t answered = 0;
    bool back = true;
    for (auto _ : state) {
        doc.editor.ExecuteCommand(back ? cmdCursorLeft : cmdCursorRight, selected);
        answered += doc.editor.SelLength() > 0 ? 1 : 0;
        back = !back;
    }
    benchmark::DoNotOptimize(answered);
    state.counters["selected"] = static_cast<double>(doc.editor.SelLength());
}
BENCHMARK(BM_CaretMoveAndSelLength)->Arg(0)->Arg(1)->Arg(2);

} // namespace

BENCHMARK_MAIN();
