// The compile command's decisions and command line: which files are BASIC programs, the
// questions asked before compiling, and how the compiler is started.
#pragma once

#include "build/CommandLine.h"

#include <string>
#include <string_view>

// Whether the upper-cased extension of fileName is ".BAS".
bool isBasicProgram(std::string_view fileName);

// The question asked before compiling a file that is not a BASIC program (Yes/No).
std::string notBasicProgramQuestion(std::string_view fileName);

// The request to name an untitled file before compiling (OK/Cancel).
inline constexpr std::string_view kUntitledCompileMessage =
    "BASIC Program must be given a name other than NO_NAME.BAS\r\n"
    "Before compilation may commence.";

// KALTOR_PL.EXE in appDir (which ends with a separator) on the source's short path (quoted
// here as quotedArgument does), waited for.
TCommandLine compilerCommand(std::string_view appDir, std::string_view sourceShortPath);
