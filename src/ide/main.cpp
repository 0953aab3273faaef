#include "ide/ZbxEditProgram.h"

int main(int argc, char** argv)
{
    return RunZbxEdit(argc, argv);
}
