#include "ide/InformationArguments.h"

#include <string_view>

std::optional<int> answerInformationArguments(int argc, const char* const* argv, std::ostream& output)
{
    if (argc < 2 || !argv[1])
        return std::nullopt;
    const std::string_view first = argv[1];
    if (first == "--version") {
        output << "zbxedit " ZBX_VERSION "\n";
        return 0;
    }
    if (first == "--help") {
        output << "Usage: zbxedit [FILE]\n"
                  "A development environment for the KALTOR+ BASIC compiler for PIC microcontrollers.\n"
                  "\n"
                  "  FILE       the source file to open; when zbxedit is already running, the file\n"
                  "             opens there in a new tab\n"
                  "  --help     show this help and exit\n"
                  "  --version  show the version and exit\n"
                  "\n"
                  "The compiler KALTOR_PL.EXE goes into the program's folder, beside zbxedit;\n"
                  "Windows programs are started through wine.\n";
        return 0;
    }
    return std::nullopt;
}
