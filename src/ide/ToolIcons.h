// The pictures of the main window's tool buttons, drawn at run time so the program needs no
// image files.
#pragma once

#include <QIcon>

enum class ToolIcon {
    New, Open, Save, Print, Cut, Copy, Paste, Undo, Redo, Indent, Unindent,
    Compile, Program, Download, Asm
};

QIcon toolIcon(ToolIcon icon);
