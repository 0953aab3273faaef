// Our side of the side-by-side harness: the text store, the editor, the ZENBASIC language and
// the highlighting pass on the generated document, in one process run.
// Usage: peers_ours --write FILE (writes the document), peers_ours FILE (measures),
// peers_ours --highlight, --load or --churn FILE (one workload alone, for a profiler).
#include "PeerWorkload.h"

#include "base/Stream.h"
#include "editor/edit/SourceEditor.h"
#include "highlight/languages/Languages.h"
#include "highlight/runtime/HighlightPass.h"
#include "highlight/runtime/SourceMemoParser.h"

#include <cctype>
#include <cstring>
#include <memory>

namespace {

const char* const kProgram = "ours";

std::unique_ptr<TSourceMemoParser> zenBasic()
{
    auto parser = std::make_unique<TSourceMemoParser>();
    const std::span<const uint8_t> stream = zenBasicParserStream();
    TReadOnlyMemoryStream in(stream.data(), static_cast<int64_t>(stream.size()));
    parser->LoadParser(in);
    return parser;
}

// The language's keywords made of word characters, lower case, separated by blanks: the list
// the peers' BASIC lexers get, so every highlighter knows the same words.
std::string keywordList()
{
    std::string list;
    const auto parser = zenBasic();
    for (const KeywordEntry& keyword : parser->Tables().keywords) {
        std::string word = keyword.text;
        bool plain = !word.empty();
        for (char& c : word) {
            plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (plain)
            list += (list.empty() ? "" : " ") + word;
    }
    return list;
}

double highlightAll(TTextStore& store, TSourceMemoParser& parser)
{
    for (TTextRow* row = store.FirstRow(); row; row = row->Next)
        store.DropAttrs(row);
    THighlightPass pass(store);
    pass.setParser(&parser);
    return peers::cpuMilliseconds([&] { pass.highlightAll(); });
}

// Each insert is one undoable keystroke at the fifth column of its line (or the line end).
double insertAtLines(TTextStore& store, TSourceEditor& editor, const std::vector<int64_t>& lines)
{
    return peers::cpuMilliseconds([&] {
        for (int64_t line : lines) {
            const TRowSpot spot = store.LineStart(line);
            const int column = spot.Row ? std::min(5, spot.Row->TextLength()) : 0;
            editor.SetSelStart(spot.Start + column);
            editor.KeyPress('x');
        }
    });
}

// What a process that has worked with another large file has been through: about as many
// line-sized strings as the document has lines, allocated and freed again.
void churnTheHeap(int64_t lineCount)
{
    std::vector<std::string> strings;
    std::mt19937 random(5);
    for (int64_t i = 0; i < lineCount; ++i)
        strings.push_back(std::string(16 + random() % 60, 'q'));
    std::shuffle(strings.begin(), strings.end(), random); // moves: the blocks stay where they are
    for (std::string& text : strings)
        std::string().swap(text);
}

int measure(const std::string& path)
{
    const auto parser = zenBasic();
    const double fileBytes = static_cast<double>(peers::readFile(path).size());
    // Memory first, while the heap has held nothing large.
    const int64_t before = peers::residentBytes();
    auto store = std::make_unique<TTextStore>();
    store->LoadFromFile(path);
    const double loadedBytes = static_cast<double>(peers::residentBytes() - before);
    std::vector<double> floors, loads, highlights;
    for (int i = 0; i < 5; ++i)
        highlights.push_back(highlightAll(*store, *parser));
    const double highlightedBytes = static_cast<double>(peers::residentBytes() - before);
    int64_t lineCount = 0;
    for (int i = 0; i < 5; ++i)
        floors.push_back(peers::floorLoadMilliseconds(path, lineCount));
    for (int i = 0; i < 5; ++i) {
        TTextStore other;
        loads.push_back(peers::cpuMilliseconds([&] { other.LoadFromFile(path); }));
    }

    peers::report(kProgram, "lines", static_cast<double>(lineCount));
    peers::report(kProgram, "file_mb", fileBytes / 1e6);
    peers::report(kProgram, "floor_ms", peers::median(floors));
    peers::report(kProgram, "load_ms", peers::median(loads));
    peers::report(kProgram, "highlight_ms", peers::median(highlights));
    peers::report(kProgram, "memory_loaded_x", loadedBytes / fileBytes);
    peers::report(kProgram, "memory_highlighted_x", highlightedBytes / fileBytes);

    const std::vector<int64_t> lines = peers::insertLines(store->LineCount());
    {
        TSourceEditor editor(*store);
        peers::report(kProgram, "inserts_ms", insertAtLines(*store, editor, lines));
        peers::report(kProgram, "undo_ms", peers::cpuMilliseconds([&] {
                          for (int i = 0; i < peers::kInserts; ++i)
                              editor.Undo();
                      }));
    }
    // The same inserts after a fresh load, once in a clean heap and once after the churn.
    std::vector<double> clean, churned;
    for (int round = 0; round < 3; ++round) {
        store = std::make_unique<TTextStore>();
        store->LoadFromFile(path);
        TSourceEditor editor(*store);
        clean.push_back(insertAtLines(*store, editor, lines));
    }
    for (int round = 0; round < 3; ++round) {
        store = std::make_unique<TTextStore>();
        store->LoadFromFile(path);
        churnTheHeap(lineCount);
        TSourceEditor editor(*store);
        churned.push_back(insertAtLines(*store, editor, lines));
    }
    peers::report(kProgram, "inserts_clean_heap_ms", peers::median(clean));
    peers::report(kProgram, "inserts_after_churn_ms", peers::median(churned));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
        std::ofstream(argv[2], std::ios::binary) << peers::generateDocument();
        std::ofstream(std::string(argv[2]) + ".keywords", std::ios::binary) << keywordList();
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--highlight") == 0) { // for a profiler
        const auto parser = zenBasic();
        TTextStore store;
        store.LoadFromFile(argv[2]);
        for (int i = 0; i < 5; ++i)
            peers::report(kProgram, "highlight_ms", highlightAll(store, *parser));
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--load") == 0) { // for a profiler
        for (int i = 0; i < 10; ++i) {
            TTextStore store;
            peers::report(kProgram, "load_ms", peers::cpuMilliseconds([&] { store.LoadFromFile(argv[2]); }));
        }
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--churn") == 0) { // for a profiler
        auto store = std::make_unique<TTextStore>();
        store->LoadFromFile(argv[2]);
        const std::vector<int64_t> lines = peers::insertLines(store->LineCount());
        {
            TSourceEditor editor(*store);
            peers::report(kProgram, "inserts_clean_heap_ms", insertAtLines(*store, editor, lines));
        }
        store = std::make_unique<TTextStore>();
        store->LoadFromFile(argv[2]);
        churnTheHeap(store->LineCount());
        TSourceEditor editor(*store);
        peers::report(kProgram, "inserts_after_churn_ms", insertAtLines(*store, editor, lines));
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: peers_ours --write FILE | peers_ours FILE\n");
        return 2;
    }
    return measure(argv[1]);
}
