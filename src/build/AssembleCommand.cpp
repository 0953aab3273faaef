#include "build/AssembleCommand.h"

#include "build/WindowsCommandLine.h"

#include <string>

namespace {

TCommandLine assemblerCommand(std::string_view incDir, std::string parameters)
{
    return {std::string(incDir) + "MPASMWIN.EXE", std::move(parameters), LaunchMode::Wait};
}

} // namespace

TCommandLine reassembleCommand(std::string_view incDir, std::string_view listingPath)
{
    return assemblerCommand(incDir, quotedArgument(listingPath) + " /e+ /l+ /x- /w2 /c- /m- /q");
}

TCommandLine reassembleAsCommand(std::string_view incDir, std::string_view savedPath)
{
    return assemblerCommand(incDir,
                            quotedArgument(savedPath) + " /aINHX8M /e+ /l+ /x- /w2 /c- /m- /q");
}
