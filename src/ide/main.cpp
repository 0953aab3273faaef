#include "ide/InformationArguments.h"
#include "ide/ZbxEditProgram.h"
#include "platform/QtMessageBoxes.h"

#include <QApplication>

#include <iostream>

int main(int argc, char** argv)
{
    if (const auto exitCode = answerInformationArguments(argc, argv, std::cout))
        return *exitCode;
    QApplication application(argc, argv);
    TQtMessageBoxes boxes;
    TScopedMessageBoxes installed(boxes);
    return RunZbxEdit(application, application.arguments());
}
