// KTextEditor's side of the side-by-side harness: the same document opened in a KTextEditor
// document, highlighted to its last line by its FreeBASIC definition, then the same inserts and
// undo, in one process run. KTextEditor is built on Qt 5, so this program is built on its own
// (ktexteditor/CMakeLists.txt). Usage: peers_ktexteditor FILE.
#include "PeerWorkload.h"

#include <KTextEditor/Document>
#include <KTextEditor/Editor>
#include <QApplication>
#include <QUrl>

namespace {

const char* const kProgram = "ktexteditor";

KTextEditor::Document* open(const std::string& path)
{
    KTextEditor::Document* document = KTextEditor::Editor::instance()->createDocument(nullptr);
    document->setHighlightingMode(QStringLiteral("None"));
    document->openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    return document;
}

// Asking for the style of the last line makes the document highlight every line before it.
double highlightAll(KTextEditor::Document& document)
{
    document.setHighlightingMode(QStringLiteral("None"));
    document.setHighlightingMode(QStringLiteral("FreeBASIC"));
    return peers::cpuMilliseconds([&] {
        document.defaultStyleAt(KTextEditor::Cursor(document.lines() - 1, 0));
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: peers_ktexteditor FILE\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string path = argv[1];
    const double fileBytes = static_cast<double>(peers::readFile(path).size());
    KTextEditor::Editor::instance();
    const int64_t before = peers::residentBytes();
    KTextEditor::Document* document = open(path);
    const double loadedBytes = static_cast<double>(peers::residentBytes() - before);
    const double highlight = highlightAll(*document); // seconds long: once
    const double highlightedBytes = static_cast<double>(peers::residentBytes() - before);
    std::vector<double> loads;
    for (int i = 0; i < 3; ++i) {
        KTextEditor::Document* other = nullptr;
        loads.push_back(peers::cpuMilliseconds([&] { other = open(path); }));
        delete other;
    }
    peers::report(kProgram, "load_ms", peers::median(loads));
    peers::report(kProgram, "highlight_ms", highlight);
    peers::report(kProgram, "memory_loaded_x", loadedBytes / fileBytes);
    peers::report(kProgram, "memory_highlighted_x", highlightedBytes / fileBytes);

    const std::vector<int64_t> lines = peers::insertLines(document->lines());
    peers::report(kProgram, "inserts_ms", peers::cpuMilliseconds([&] {
                      for (int64_t line : lines) {
                          const int row = static_cast<int>(line);
                          const int column = std::min(5, document->lineLength(row));
                          document->insertText(KTextEditor::Cursor(row, column), QStringLiteral("x"));
                      }
                  }));
    peers::report(kProgram, "undo_ms", peers::cpuMilliseconds([&] {
                      for (int i = 0; i < peers::kInserts; ++i)
                          QMetaObject::invokeMethod(document, "undo");
                  }));
    delete document;
    return 0;
}
