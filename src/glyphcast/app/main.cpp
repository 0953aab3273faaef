// glyphcast: converts the characters of a font into LCD column data for BASIC programs.
#include "glyphcast/app/Form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    TForm1 form(programServices());
    form.show();
    return QApplication::exec();
}
