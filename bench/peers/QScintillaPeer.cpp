// QScintilla's side of the side-by-side harness: the same document loaded into a QsciScintilla
// widget, coloured by its FreeBASIC lexer with our language's keywords, then the same inserts
// and undo, in one process run. Usage: peers_qscintilla FILE (FILE.keywords beside it).
#include "PeerWorkload.h"

#include <Qsci/qsciscintilla.h>
#include <QApplication>

namespace {

const char* const kProgram = "qscintilla";

using Sci = QsciScintillaBase;

void load(QsciScintilla& editor, const std::string& path)
{
    const std::string text = peers::readFile(path);
    editor.SendScintilla(Sci::SCI_SETTEXT, static_cast<unsigned long>(0), text.c_str());
    editor.SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
}

double colourise(QsciScintilla& editor)
{
    editor.SendScintilla(Sci::SCI_CLEARDOCUMENTSTYLE);
    return peers::cpuMilliseconds([&] { editor.SendScintilla(Sci::SCI_COLOURISE, 0L, -1L); });
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: peers_qscintilla FILE\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string path = argv[1];
    const std::string keywords = peers::readFile(path + ".keywords");
    const double fileBytes = static_cast<double>(peers::readFile(path).size());
    const int64_t before = peers::residentBytes();
    auto* editor = new QsciScintilla;
    load(*editor, path);
    const double loadedBytes = static_cast<double>(peers::residentBytes() - before);
    editor->SendScintilla(Sci::SCI_SETLEXER, static_cast<unsigned long>(Sci::SCLEX_FREEBASIC));
    editor->SendScintilla(Sci::SCI_SETKEYWORDS, static_cast<unsigned long>(0), keywords.c_str());
    std::vector<double> loads, highlights;
    for (int i = 0; i < 5; ++i)
        highlights.push_back(colourise(*editor));
    const double highlightedBytes = static_cast<double>(peers::residentBytes() - before);
    for (int i = 0; i < 5; ++i) {
        QsciScintilla other;
        loads.push_back(peers::cpuMilliseconds([&] { load(other, path); }));
    }
    peers::report(kProgram, "load_ms", peers::median(loads));
    peers::report(kProgram, "highlight_ms", peers::median(highlights));
    peers::report(kProgram, "memory_loaded_x", loadedBytes / fileBytes);
    peers::report(kProgram, "memory_highlighted_x", highlightedBytes / fileBytes);

    // The inserts and their undo measure editing alone, as ours do (no lexer attached). Each
    // insert costs QScintilla tens of milliseconds in this document, so the first
    // kSampledInserts of the same positions are timed and the time scaled to all of them.
    editor->SendScintilla(Sci::SCI_SETLEXER, static_cast<unsigned long>(Sci::SCLEX_NULL));
    const long lineCount = editor->SendScintilla(Sci::SCI_GETLINECOUNT);
    std::vector<int64_t> lines = peers::insertLines(lineCount);
    constexpr size_t kSampledInserts = 200;
    lines.resize(kSampledInserts);
    const double scale = static_cast<double>(peers::kInserts) / kSampledInserts;
    peers::report(kProgram, "inserts_ms", scale * peers::cpuMilliseconds([&] {
                      for (int64_t line : lines) {
                          const long start = editor->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
                          const long length = editor->SendScintilla(Sci::SCI_LINELENGTH, line);
                          editor->SendScintilla(Sci::SCI_INSERTTEXT,
                                                static_cast<unsigned long>(start + std::min(5L, std::max(0L, length - 1))),
                                                "x");
                      }
                  }));
    peers::report(kProgram, "undo_ms", scale * peers::cpuMilliseconds([&] {
                      for (size_t i = 0; i < kSampledInserts; ++i)
                          editor->SendScintilla(Sci::SCI_UNDO);
                  }));
    delete editor;
    return 0;
}
