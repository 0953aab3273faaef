#include "build/ProgramCommand.h"

#include "build/CommandTemplate.h"
#include "build/WindowsCommandLine.h"

std::string_view programmerTypeKey(ProgrammerType type)
{
    return type == ProgrammerType::Epic ? "EPIC" : "OTHER";
}

std::optional<ProgrammerType> programmerTypeFromKey(std::string_view key)
{
    if (key == "EPIC")
        return ProgrammerType::Epic;
    if (key == "OTHER")
        return ProgrammerType::Other;
    return std::nullopt;
}

TCommandLine epicProgramCommand(std::string_view epicPath, std::string_view hexFile,
                                std::string_view device)
{
    return {std::string(epicPath), quotedArgument(hexFile) + " -dPIC" + std::string(device),
            LaunchMode::Detached};
}

TCommandLine userProgramCommand(std::string_view programPath, std::string_view commandTemplate,
                                std::string_view hexFile, std::string_view device)
{
    return {std::string(programPath),
            quotedArgument(hexFile) + " " + ExpandCommandTemplate(commandTemplate, hexFile, device),
            LaunchMode::Detached};
}
