// The two arguments that only ask about the program: "--help" and "--version" as the first
// argument print their text and end the program at once, before anything else starts (a
// running copy is not asked to come to the front). Any other first argument is a file to open.
#pragma once

#include <optional>
#include <ostream>

// The exit code when the first argument was an information request (its text written to
// output), else nothing.
std::optional<int> answerInformationArguments(int argc, const char* const* argv, std::ostream& output);
