// The Search menu on a 50 MB document in the main window, as a user runs it: Show all of a
// word with 265,000 matches (the marks painted), the next keystroke taking every mark away
// again, and Replace All of a common word from the replace dialog without prompting. Wall
// times, each including the repaint that follows. Runs on the offscreen platform.
#include "BasicSource.h"

#include "base/Stream.h"
#include "editor/marks/MarkList.h"
#include "editor/widget/SourceMemo.h"
#include "ide/EdPersistent.h"
#include "ide/EdReplDlg.h"
#include "ide/EditorMainForm.h"
#include "platform/Folders.h"
#include "platform/ScriptedMessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

constexpr size_t kDocumentBytes = 50u << 20;
constexpr int64_t kMatches = 265000;

// Generated program text with " ' tally" appended to kMatches lines spread evenly over it.
const std::string& document()
{
    static const std::string text = [] {
        const std::string plain = bench::BasicSourceGenerator(5).generate(kDocumentBytes - kMatches * 8);
        int64_t lines = 0;
        for (char c : plain)
            lines += c == '\n';
        std::string out;
        out.reserve(plain.size() + kMatches * 8);
        int64_t line = 0;
        int64_t marked = 0;
        size_t start = 0;
        for (size_t end; (end = plain.find("\r\n", start)) != std::string::npos; start = end + 2, ++line) {
            out.append(plain, start, end - start);
            if ((line + 1) * kMatches / lines > marked) {
                out += " ' tally";
                ++marked;
            }
            out += "\r\n";
        }
        return out;
    }();
    return text;
}

struct Window {
    std::filesystem::path folder;
    TScriptedMessageBoxes boxes;
    std::unique_ptr<TScopedMessageBoxes> installed;
    std::unique_ptr<TEditorMainForm> form;

    Window()
    {
        folder = std::filesystem::temp_directory_path() / "zbx_search_bench";
        std::filesystem::create_directories(folder / "INC");
        std::ofstream(folder / "INC" / "ZBX.INI") << "[PROGRAMMER]\r\nTYPE=EPIC\r\n";
        setApplicationFolder(folder.string());
        installed = std::make_unique<TScopedMessageBoxes>(boxes);
        form = std::make_unique<TEditorMainForm>(QStringList{"zbxedit"});
        form->resize(1200, 900);
        form->show();
        QApplication::processEvents();
        load();
    }
    ~Window()
    {
        form.reset();
        setApplicationFolder({});
    }
    void load()
    {
        const std::string& text = document();
        TReadOnlyMemoryStream stream(text.data(), static_cast<int64_t>(text.size()));
        form->SourceMemo1->Store().LoadFromStream(stream);
        form->SourceMemo1->Editor().SetSelection(0, 0);
        QApplication::processEvents();
    }
    TSourceMemo& memo() { return *form->SourceMemo1; }
};

double millisecondsOf(const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    QApplication::processEvents(); // the repaint that follows
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void BM_ShowAllThenKeystroke(benchmark::State& state)
{
    Window window;
    window.form->settings().LastFindText = "tally";
    window.form->settings().LastFindOptions = 0;
    double keystrokeTotal = 0;
    size_t marks = 0;
    for (auto _ : state) {
        const double showAll = millisecondsOf([&] { window.form->Showall1Click(); });
        state.SetIterationTime(showAll / 1000);
        marks = window.memo().Marks().Count();
        keystrokeTotal += millisecondsOf([&] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
            QApplication::sendEvent(&window.memo(), &press);
        });
        if (window.memo().Marks().Count() != 0)
            state.SkipWithError("the keystroke left marks");
        state.PauseTiming();
        window.memo().Editor().Undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["marks"] = static_cast<double>(marks);
    state.counters["keystroke_ms"] = keystrokeTotal / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ShowAllThenKeystroke)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReplaceAllWithoutPrompting(benchmark::State& state)
{
    Window window;
    const std::string& text = document();
    int64_t occurrences = 0;
    for (size_t at = 0; (at = text.find("GOSUB", at)) != std::string::npos; at += 5)
        ++occurrences;
    TEdReplDlg& dialog = window.form->EdReplDlg();
    dialog.Execute(window.memo(), "GOSUB", 0);
    dialog.ReplHistoryBox->setEditText("CALL");
    dialog.PromptOnReplBox->setChecked(false);
    const int64_t before = window.memo().Store().CharCount();
    for (auto _ : state) {
        const double replaceAll = millisecondsOf([&] { dialog.ReplaceAllButton->click(); });
        state.SetIterationTime(replaceAll / 1000);
        state.PauseTiming();
        if (window.memo().Store().CharCount() != before - occurrences)
            state.SkipWithError("not every GOSUB was replaced");
        window.memo().Editor().Undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["replaced"] = static_cast<double>(occurrences);
    dialog.hide();
}
BENCHMARK(BM_ReplaceAllWithoutPrompting)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

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
