#include "ide/ZbxEditProgram.h"
#include "platform/QtMessageBoxes.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    TQtMessageBoxes boxes;
    TScopedMessageBoxes installed(boxes);
    return RunZbxEdit(application, application.arguments());
}
