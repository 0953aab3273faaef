// The program entry of zbxedit, in its fixed order: the single-instance guard, the check for
// ZBX.INI, the application title, the windows, the message loop.
#pragma once

#include <QStringList>

class QApplication;

// Runs the program and returns its exit code. A second copy ends at once after asking the
// first to come to the front; without <inc>ZBX.INI the fatal box is shown and the program ends
// without a main window.
int RunZbxEdit(QApplication& application, const QStringList& arguments);

// Whether the program can start at all: shows the fatal box and answers false when
// <inc>ZBX.INI is missing.
bool checkZbxIniPresent();

extern const char* const applicationTitle;
