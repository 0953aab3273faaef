// The one QApplication of a Qt test program, created on first use (offscreen under ctest). It
// is never destroyed: tearing Qt down among the other static objects at exit crashes.
#pragma once

#include <QApplication>

inline QApplication& testApplication()
{
    static int argc = 1;
    static char name[] = "platform_qt_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}
