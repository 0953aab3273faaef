// How the assembler listing window starts MPASMWIN.EXE (in the include folder, waited for) to
// assemble its text again. Paths are given as they are and quoted here as quotedArgument does.
#pragma once

#include "build/CommandLine.h"

#include <string_view>

// Re-Assemble: the listing file with the assembler's default hex format.
TCommandLine reassembleCommand(std::string_view incDir, std::string_view listingPath);

// Re-Assemble as: the file the text was just saved to, as INHX8M. Assembling the file that was
// written (rather than the listing the window was opened on) is what makes the saved edits
// reach the HEX file.
TCommandLine reassembleAsCommand(std::string_view incDir, std::string_view savedPath);
