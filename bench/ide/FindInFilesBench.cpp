// Search > Find in Files over a folder of 2,000 program files of 50 KB each (100 MB), in ten
// subfolders, half of them *.bas and half *.INC: the search the window runs, once through the
// window itself (offscreen, Find pressed, events running, the result list filling) and once
// without a window. Three texts: one held by 40 files (every file read, most rejected by the
// block search), one held once by every file (every file read twice: the block search, then
// the line search), and one in no file. The files stay in the system's file cache after the
// first repetition, as a user's project does between two searches. Wall times.
#include "BasicSource.h"

#include "ide/FindInFilesForm.h"
#include "ide/scan/FindInFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 2000;
constexpr int kFolders = 10;
constexpr size_t kFileBytes = 50 * 1024;
constexpr const char* kRareText = "gyro_reading";  // in every 50th file
constexpr const char* kEveryFileText = "calibrate"; // once in every file
constexpr const char* kMissingText = "unheard_of";

// The folder of files, made once and removed at the end.
class TBenchFolder
{
public:
    TBenchFolder() : m_root(fs::temp_directory_path() / ("zbx-find-in-files-" + std::to_string(::getpid())))
    {
        bench::BasicSourceGenerator generator(7);
        for (int i = 0; i < kFiles; ++i) {
            const fs::path folder = m_root / ("module" + std::to_string(i % kFolders));
            fs::create_directories(folder);
            std::string text = generator.generate(kFileBytes - 64);
            // The every-file text sits in the middle; the rare one straddles the first block
            // seam of the block search (30,000 bytes) in some files.
            const size_t middle = text.find("\r\n", text.size() / 2) + 2;
            text.insert(middle, "    calibrate x\r\n");
            if (i % 50 == 0) {
                const size_t at = i % 100 == 0 ? 30000 - 5 : text.find("\r\n", text.size() / 4) + 2;
                text.insert(at, std::string(kRareText) + " = 1\r\n");
            }
            text.resize(kFileBytes, ' ');
            const std::string name = "file" + std::to_string(i) + (i % 2 ? ".INC" : ".bas");
            std::ofstream((folder / name), std::ios::binary) << text;
        }
    }
    ~TBenchFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    std::string path() const { return m_root.string(); }

private:
    fs::path m_root;
};

const TBenchFolder& benchFolder()
{
    static const TBenchFolder folder;
    return folder;
}

// The rows a search of text gives: one per file that holds it.
int expectedRows(const char* text)
{
    const std::string wanted = text;
    return wanted == kRareText ? kFiles / 50 : wanted == kEveryFileText ? kFiles : 0;
}

// The window as the user has it: text typed, Find pressed; the search returns when done.
void BM_FindInFilesWindow(benchmark::State& state, const char* text, bool wholeWord)
{
    TFindInFilesForm form;
    form.show();
    form.FolderEdit->setText(QString::fromStdString(benchFolder().path()));
    form.TextEdit->setText(text);
    form.WholeWordCheck->setChecked(wholeWord);
    QApplication::processEvents();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        form.FindButtonClick();
        QApplication::processEvents(); // the list's repaint
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["rows"] = form.ResultList->count();
    if (form.ResultList->count() != expectedRows(text))
        state.SkipWithError("the window did not list the expected rows");
}

void BM_FindInFilesEngine(benchmark::State& state, const char* text, bool wholeWord)
{
    TFindInFilesQuery query;
    query.folder = benchFolder().path();
    query.text = text;
    query.wholeWord = wholeWord;
    TFindInFiles search;
    size_t rows = 0;
    search.OnFileHits = [&rows](const TFileHits& found) { rows += found.hits.size(); };
    for (auto _ : state) {
        rows = 0;
        QElapsedTimer clock;
        clock.start();
        search.run(query);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["files_looked_at"] = static_cast<double>(search.filesLookedAt());
    if (search.filesLookedAt() != kFiles || rows != static_cast<size_t>(expectedRows(text)))
        state.SkipWithError("the search did not look at every file or found other rows");
}

} // namespace

BENCHMARK_CAPTURE(BM_FindInFilesWindow, rare_text, kRareText, false)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_FindInFilesWindow, text_in_every_file, kEveryFileText, false)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_FindInFilesWindow, whole_word_in_every_file, kEveryFileText, true)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_FindInFilesEngine, rare_text, kRareText, false)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_FindInFilesEngine, text_in_every_file, kEveryFileText, false)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_FindInFilesEngine, text_in_no_file, kMissingText, false)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchFolder();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
