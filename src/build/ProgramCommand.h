// The Program command: the two kinds of device programmer, their keys in the settings, and the
// command lines that start them (detached: the IDE neither waits nor reads anything back).
#pragma once

#include "build/CommandLine.h"

#include <optional>
#include <string_view>

enum class ProgrammerType
{
    Epic,
    Other
};

// The [PROGRAMMER] TYPE value: "EPIC" or "OTHER".
std::string_view programmerTypeKey(ProgrammerType type);
// The type a stored value names; nothing for any other value (exact letter case).
std::optional<ProgrammerType> programmerTypeFromKey(std::string_view key);

// The HEX file (a path as it is, quoted here as quotedArgument does) reaches each program as
// one argument.
// EPIC: the HEX file, " -dPIC" and the device directly after (nothing when there is none),
// e.g. "D:\WORK\LED.HEX -dPIC16F877".
TCommandLine epicProgramCommand(std::string_view epicPath, std::string_view hexFile,
                                std::string_view device);

// User-defined programmer: the HEX file, one space, then the expanded template.
TCommandLine userProgramCommand(std::string_view programPath, std::string_view commandTemplate,
                                std::string_view hexFile, std::string_view device);
