// Printing a generated BASIC program into a PDF through Qt's PDF printer, with the options the
// IDE sets (header, page numbers, line numbers, wrapping) and the ZENBASIC highlighter. Pages
// are drawn as they are laid out, so the memory a print needs does not grow with the document:
// peak_rss_mb is the process's peak resident size after the runs, to be compared across runs
// of different sizes started one at a time (--benchmark_filter=.../10000 and .../40000), and
// print_rss_mb how much the peak grew while printing a text that was loaded and highlighted.
#include "BasicSource.h"
#include "base/Stream.h"
#include "editor/edit/EditorOptions.h"
#include "editor/widget/SourceMemo.h"
#include "highlight/languages/Languages.h"
#include "highlight/runtime/SourceMemoParser.h"
#include "platform/Printers.h"
#include "platform/QtPrinters.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <memory>

namespace {

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

std::string program(int lines)
{
    bench::BasicSourceGenerator generator(18);
    std::string text;
    for (int i = 0; i < lines; ++i)
        generator.appendLine(text);
    return text;
}

void BM_PrintToPdf(benchmark::State& state)
{
    TSourceMemo memo;
    memo.resize(800, 600);
    memo.SetParser(1, &zenBasic());
    QFont font("Courier New");
    font.setPixelSize(16);
    memo.SetEditorFont(font);
    memo.SetOptions(smoSyntaxHighlight | smoPrintWrap | smoPrintLineNos | smoPrintFilename | smoPrintDate |
                    smoPrintPageNos | smoShowGutter);
    memo.SetTitle("BENCH.BAS");
    const std::string text = program(static_cast<int>(state.range(0)));
    TReadOnlyMemoryStream stream(text.data(), static_cast<int64_t>(text.size()));
    memo.Store().LoadFromStream(stream);
    TPageSetup setup;
    setup.ToPdf = true;
    // A file of this run's own, so that runs started side by side do not write the same file.
    const QString file = QDir::temp().filePath(QString("zbx_print_bench_%1.pdf").arg(QCoreApplication::applicationPid()));
    setup.PdfFileName = file.toStdString();
    setup.PaperSize = QPageSize::A4;
    setup.MarginLeft = setup.MarginTop = setup.MarginRight = setup.MarginBottom = 750;
    // The highlighting of the whole text happens on the first print; do it before measuring so
    // that the growth below is the print's own.
    memo.HighlightRange(0, memo.Store().CharCount());
    rusage loaded{};
    getrusage(RUSAGE_SELF, &loaded);
    for (auto _ : state) {
        std::unique_ptr<QPrinter> printer = makePrinter(setup);
        memo.SetPrinter(printer.get());
        memo.Print();
        memo.SetPrinter(nullptr);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["print_rss_mb"] = static_cast<double>(usage.ru_maxrss - loaded.ru_maxrss) / 1024.0;
    state.counters["pdf_mb"] = static_cast<double>(QFileInfo(QString::fromStdString(setup.PdfFileName)).size()) / 1e6;
    state.counters["lines"] = static_cast<double>(memo.Store().LineCount());
    QFile::remove(file);
}

BENCHMARK(BM_PrintToPdf)->Arg(1000)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);

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
