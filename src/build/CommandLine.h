// A program start the build tools ask for: which program, with which parameter text, and
// whether the IDE waits for it (processing window messages meanwhile) or returns at once.
#pragma once

#include <string>

enum class LaunchMode
{
    Wait,     // silent when the start fails
    Detached, // a failed start reports "Problem Running " and the program
};

struct TCommandLine
{
    std::string program;
    std::string parameters;
    LaunchMode mode = LaunchMode::Wait;

    bool operator==(const TCommandLine&) const = default;
};

// The message of a detached start that failed.
inline std::string problemRunningMessage(const std::string& program)
{
    return "Problem Running " + program;
}
