#include "TestServices.h"

#include <QApplication>

TGlyphServices TTestServices::services(const QString& programFolder)
{
    TGlyphServices result;
    result.programFolder = programFolder.isEmpty() ? folder.path() : programFolder;
    result.messageBox = &messageBox;
    result.clipboard = &clipboard;
    result.chooseFont = [this](const QFont&) { return nextFont; };
    result.endProgram = [this] { ++endCount; };
    return result;
}

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "glyph_window_tests";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv);
}
