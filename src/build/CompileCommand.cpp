#include "build/CompileCommand.h"

#include "build/BuildPaths.h"
#include "build/WindowsCommandLine.h"

bool isBasicProgram(std::string_view fileName)
{
    std::string extension = ExtractFileExt(fileName);
    for (char& c : extension) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return extension == ".BAS";
}

std::string notBasicProgramQuestion(std::string_view fileName)
{
    return "File \"" + ExtractFileName(fileName) +
           "\" is not a BASIC program\r\nDo you still wish to compile the code?";
}

TCommandLine compilerCommand(std::string_view appDir, std::string_view sourceShortPath)
{
    return {std::string(appDir) + "KALTOR_PL.EXE", quotedArgument(sourceShortPath) + " -m -q",
            LaunchMode::Wait};
}
