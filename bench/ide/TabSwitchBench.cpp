// Switching between two open 50 MB files in the main window: the file records exchange text
// stores with the editor, so a switch costs the same whatever the files' sizes. Runs on the
// offscreen platform.
#include "BasicSource.h"
#include "editor/widget/SourceMemo.h"
#include "ide/EditorMainForm.h"
#include "platform/Folders.h"
#include "platform/ScriptedMessageBoxes.h"

#include <QApplication>
#include <QTabBar>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

struct Workspace {
    std::filesystem::path folder;
    std::string first;
    std::string second;
};

Workspace makeWorkspace(size_t bytes)
{
    Workspace w;
    w.folder = std::filesystem::temp_directory_path() / ("zbx_tabs_" + std::to_string(bytes));
    std::filesystem::create_directories(w.folder / "INC");
    std::ofstream(w.folder / "INC" / "ZBX.INI") << "[PROGRAMMER]\r\nTYPE=EPIC\r\n";
    w.first = (w.folder / "ONE.BAS").string();
    w.second = (w.folder / "TWO.BAS").string();
    for (const auto& [name, seed] : {std::pair{w.first, 1u}, std::pair{w.second, 2u}}) {
        if (!std::filesystem::exists(name))
            std::ofstream(name, std::ios::binary) << bench::BasicSourceGenerator(seed).generate(bytes);
    }
    return w;
}

void BM_SwitchTabs(benchmark::State& state)
{
    const Workspace w = makeWorkspace(static_cast<size_t>(state.range(0)));
    setApplicationFolder(w.folder.string());
    TScriptedMessageBoxes boxes;
    TScopedMessageBoxes installed(boxes);
    TEditorMainForm form(QStringList{"zbxedit"});
    form.resize(1200, 900);
    form.show();
    QApplication::processEvents();
    form.OpenFile(QString::fromStdString(w.first));
    form.OpenFile(QString::fromStdString(w.second));
    int next = 0;
    for (auto _ : state) {
        form.OpenFilesTab->setCurrentIndex(next);
        QApplication::processEvents(); // includes the repaint of the editor
        next = 1 - next;
    }
    state.counters["tabs"] = form.OpenFilesTab->count();
    setApplicationFolder({});
}
BENCHMARK(BM_SwitchTabs)->Arg(1 << 20)->Arg(50 << 20)->Unit(benchmark::kMillisecond);

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
