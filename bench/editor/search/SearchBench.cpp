// Search benchmarks on a generated 50 MB, 1.2-million-line BASIC document (with Print_
// routines, so the identifier expression has matches to count). Each comparison is
// paired: every iteration times the reference (memmem over the same bytes held in one
// buffer, or PCRE2's interpreter without JIT) and then our search through the editor's own
// engine over the store's rows, and reports both times and their ratio (ours / reference).
// Times are this thread's CPU time. Run with --benchmark_repetitions=5
// --benchmark_report_aggregates_only=true for medians.
//   RowWalk/0     visiting every row once (one byte each): what any scan of the rows costs
//   RowWalk/1     glibc's memmem run row by row
//   PlainEngine*  the plain search engine counting every "GOSUB", over one buffer and over rows
//   Plain*        a FindText loop counting every match (case-sensitive, folded, whole word);
//                 it also selects each match, as a user's repeated Find does
//   Regex*        TREParser::Search counting every match against pcre2_match
//   ReplaceAll*   "GOSUB" by "CALL" as one undo step, then the undo back to the original
//   Budget*       pathological expressions over a 1 MB line of "a" until the budget stops them
#include "BasicSource.h"

#include "editor/edit/SourceEditor.h"
#include "editor/search/EditorSearch.h"
#include "editor/text/EdStream.h"

#include "base/Stream.h"

#include <benchmark/benchmark.h>

#ifdef ZBX_HAVE_PCRE2
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>
#endif

#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

namespace {

using TClock = std::chrono::steady_clock;

constexpr size_t kLargeBytes = 50u << 20;

struct Document
{
    TTextStore store;
    TSourceEditor editor{store};
    TEditorSearch search{editor};
    std::string stored; // the same bytes in one buffer
};

std::unique_ptr<Document> makeDocument(size_t bytes)
{
    bench::BasicSourceGenerator generator(7, bench::BasicSourceGenerator::Routines::WithPrintNames);
    const std::string text = generator.generate(bytes);
    auto document = std::make_unique<Document>();
    TReadOnlyMemoryStream stream(text.data(), static_cast<int64_t>(text.size()));
    document->store.LoadFromStream(stream);
    document->stored = document->store.GetText();
    return document;
}

Document& largeDocument()
{
    static std::unique_ptr<Document> document = makeDocument(kLargeBytes);
    return *document;
}

double seconds(TClock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// The CPU time of this thread: the machines these run on are shared, so wall time waits for
// other programs as well.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Runs reference and ours once per iteration; ours is the benchmark's (CPU) time.
template <typename Reference, typename Ours>
void paired(benchmark::State& state, Reference reference, Ours ours, bool countsMustAgree)
{
    double referenceTotal = 0;
    double oursTotal = 0;
    int64_t referenceCount = 0;
    int64_t oursCount = 0;
    for (auto _ : state) {
        const double t0 = cpuSeconds();
        referenceCount = reference();
        const double t1 = cpuSeconds();
        oursCount = ours();
        const double t2 = cpuSeconds();
        referenceTotal += t1 - t0;
        oursTotal += t2 - t1;
        state.SetIterationTime(t2 - t1);
    }
    if (countsMustAgree && referenceCount != oursCount)
        state.SkipWithError("the counts differ");
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["ref_ms"] = referenceTotal / iterations * 1e3;
    state.counters["ours_ms"] = oursTotal / iterations * 1e3;
    state.counters["ratio"] = oursTotal / referenceTotal;
    state.counters["matches"] = static_cast<double>(oursCount);
    state.counters["ref_matches"] = static_cast<double>(referenceCount);
}

int64_t countMemmem(const std::string& text, const char* pattern)
{
    const size_t m = std::strlen(pattern);
    int64_t count = 0;
    for (const char* at = text.data();
         (at = static_cast<const char*>(memmem(at, text.data() + text.size() - at, pattern, m)));
         at += m)
        ++count;
    return count;
}

// Counts matches the way a user repeating Find does: FindText from the caret, which each match
// moves to the match's end.
int64_t countFindText(Document& doc, const char* text, uint16_t flags)
{
    doc.editor.SetSelection(0, 0);
    int64_t count = 0;
    for (int64_t position = 0; doc.search.FindText(text, flags | srDirect, position);)
        ++count;
    return count;
}

void BM_PlainCaseSensitive(benchmark::State& state)
{
    Document& doc = largeDocument();
    paired(
        state, [&] { return countMemmem(doc.stored, "GOSUB"); },
        [&] { return countFindText(doc, "GOSUB", srMatchCase); }, true);
}
void BM_PlainCaseInsensitive(benchmark::State& state)
{
    Document& doc = largeDocument();
    paired(
        state, [&] { return countMemmem(doc.stored, "GOSUB"); },
        [&] { return countFindText(doc, "GOSUB", 0); }, false);
}
void BM_PlainWholeWord(benchmark::State& state)
{
    Document& doc = largeDocument();
    paired(
        state, [&] { return countMemmem(doc.stored, "GOSUB"); },
        [&] { return countFindText(doc, "GOSUB", srMatchCase | srWholeWord); }, false);
}
// Arg 0: case-sensitive, 1: folded, 2: case-sensitive whole words.
void BM_PlainEngineOnly(benchmark::State& state)
{
    Document& doc = largeDocument();
    TPlainOptions options;
    options.MatchCase = state.range(0) != 1;
    options.WholeWord = state.range(0) == 2;
    paired(
        state, [&] { return countMemmem(doc.stored, "GOSUB"); },
        [&] {
            TEdStream stream(doc.store);
            TEdStreamTextSource source(stream, doc.store);
            TTextReader reader(source);
            TPlainSearch plain;
            plain.SetPattern("GOSUB");
            int64_t count = 0;
            for (int64_t at = 0; (at = plain.FindForward(reader, at, options)) >= 0; at += 5)
                ++count;
            return count;
        },
        true);
}
// The floor of a scan over the rows: rows are blocks of their own, about twice the text's
// bytes. Arg 0 touches one byte per row; arg 1 runs glibc's memmem row by row; arg 2 reads
// every byte with glibc's memchr, row by row.
void BM_RowWalk(benchmark::State& state)
{
    Document& doc = largeDocument();
    paired(
        state, [&] { return countMemmem(doc.stored, "GOSUB"); },
        [&] {
            int64_t sum = 0;
            for (const TTextRow* row = doc.store.FirstRow(); row; row = row->Next) {
                if (state.range(0) == 1)
                    sum += memmem(row->Text(), row->Length, "GOSUB", 5) != nullptr;
                else if (state.range(0) == 2)
                    sum += std::memchr(row->Text(), '\x01', row->Length) != nullptr;
                else
                    sum += row->Text()[row->Length / 2];
            }
            return sum;
        },
        false);
}
BENCHMARK(BM_RowWalk)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The plain engine over the same bytes held in one buffer, as memmem reads them.
void BM_PlainEngineBuffer(benchmark::State& state)
{
    Document& doc = largeDocument();
    paired(
        state, [&] { return countMemmem(doc.stored, "GOSUB"); },
        [&] {
            TBufferTextSource source(doc.stored);
            TTextReader reader(source);
            TPlainSearch plain;
            plain.SetPattern("GOSUB");
            int64_t count = 0;
            for (int64_t at = 0; (at = plain.FindForward(reader, at, {})) >= 0; at += 5)
                ++count;
            return count;
        },
        true);
}
BENCHMARK(BM_PlainEngineBuffer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK(BM_PlainEngineOnly)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_PlainCaseSensitive)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainCaseInsensitive)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainWholeWord)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

int64_t countOurs(Document& doc, TREParser& parser)
{
    TEdStream stream(doc.store);
    TEdStreamTextSource source(stream, doc.store);
    int64_t count = 0;
    for (int64_t p = 0;
         p <= doc.store.CharCount() && parser.Search(source, p, TSearchDirection::Forward);) {
        ++count;
        p = std::max(parser.MatchEnd(), parser.MatchStart() + 1);
    }
    return count;
}

#ifdef ZBX_HAVE_PCRE2
int64_t countPcre(const std::string& text, pcre2_code* code, pcre2_match_data* data)
{
    int64_t count = 0;
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
    for (PCRE2_SIZE at = 0; at <= text.size();) {
        if (pcre2_match(code, subject, text.size(), at, 0, data, nullptr) < 0)
            break;
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
        ++count;
        at = std::max(ovector[1], ovector[0] + 1);
    }
    return count;
}

void regexAgainstPcre(benchmark::State& state, const char* ours, const char* pcre)
{
    Document& doc = largeDocument();
    TREParser parser;
    if (!parser.SetExpression(ours)) {
        state.SkipWithError("does not compile");
        return;
    }
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
    pcre2_set_newline(context, PCRE2_NEWLINE_CR);
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pcre), PCRE2_ZERO_TERMINATED,
                                     PCRE2_MULTILINE, &error, &offset, context);
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
    paired(
        state, [&] { return countPcre(doc.stored, code, data); },
        [&] { return countOurs(doc, parser); }, true);
    pcre2_match_data_free(data);
    pcre2_code_free(code);
    pcre2_compile_context_free(context);
}

void BM_RegexPrintIdentifier(benchmark::State& state)
{
    regexAgainstPcre(state, "Print_[A-Za-z]+", "Print_[A-Za-z]+");
}
// The same engine where the document does match: a literal prefix with a counted tail, and an
// expression without a literal prefix (a first-character set).
void BM_RegexGosubTarget(benchmark::State& state)
{
    regexAgainstPcre(state, "GOSUB sub_\\d{1,3}", "GOSUB sub_\\d{1,3}");
}
void BM_RegexNumberThen(benchmark::State& state)
{
    regexAgainstPcre(state, "[0-9]+ THEN", "[0-9]+ THEN");
}
BENCHMARK(BM_RegexPrintIdentifier)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RegexGosubTarget)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RegexNumberThen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
#endif

// Replace all in a fresh document of the given size (full: 50 MB; 4: a quarter of it, for
// the linearity check), one undo step back, and a check that the bytes are the original ones.
void BM_ReplaceAll(benchmark::State& state)
{
    const size_t bytes = kLargeBytes / static_cast<size_t>(state.range(0));
    double replaceTotal = 0;
    double undoTotal = 0;
    int64_t replaced = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = makeDocument(bytes);
        state.ResumeTiming();
        const auto t0 = TClock::now();
        replaced = doc->search.ReplaceAll("GOSUB", "CALL", srMatchCase, 0);
        const auto t1 = TClock::now();
        doc->editor.Undo();
        const auto t2 = TClock::now();
        state.PauseTiming();
        const bool restored = doc->store.GetText() == doc->stored && !doc->editor.Modified();
        doc.reset();
        state.ResumeTiming();
        if (!restored)
            state.SkipWithError("one undo step did not bring back the original text");
        replaceTotal += seconds(t1 - t0);
        undoTotal += seconds(t2 - t1);
        state.SetIterationTime(seconds(t1 - t0));
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["replaced"] = static_cast<double>(replaced);
    state.counters["replace_ms"] = replaceTotal / iterations * 1e3;
    state.counters["undo_ms"] = undoTotal / iterations * 1e3;
    state.counters["ns_per_byte"] = replaceTotal / iterations / static_cast<double>(bytes) * 1e9;
}
BENCHMARK(BM_ReplaceAll)
    ->Arg(1)
    ->Arg(4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void budget(benchmark::State& state, const char* expression)
{
    auto doc = makeDocument(0);
    const std::string line(1 << 20, 'a');
    TReadOnlyMemoryStream stream(line.data(), static_cast<int64_t>(line.size()));
    doc->store.LoadFromStream(stream);
    TREParser parser;
    parser.SetExpression(expression);
    bool stopped = false;
    for (auto _ : state) {
        TEdStream edStream(doc->store);
        TEdStreamTextSource source(edStream, doc->store);
        try {
            parser.Search(source, 0, TSearchDirection::Forward);
        } catch (const ERegExpError& error) {
            stopped = error.Id() == reTooMuchWork;
        }
    }
    if (!stopped)
        state.SkipWithError("the budget did not stop the search");
}
void BM_BudgetNestedPlus(benchmark::State& state)
{
    budget(state, "(a+)+b");
}
void BM_BudgetAlternatives(benchmark::State& state)
{
    budget(state, "(a|aa)+b");
}
BENCHMARK(BM_BudgetNestedPlus)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BudgetAlternatives)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
