// Windows command-line splitting for the parameters handed to external programs.
#include "build/WindowsCommandLine.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Scans one argument from position i (which is not a blank) and returns it; i ends after it.
std::string scanArgument(std::string_view text, size_t& i)
{
    std::string argument;
    bool quoted = false;
    while (i < text.size() && (quoted || !isBlank(text[i]))) {
        const char c = text[i];
        if (c == '\\') {
            size_t count = 0;
            while (i < text.size() && text[i] == '\\') {
                ++count;
                ++i;
            }
            if (i < text.size() && text[i] == '"') {
                argument.append(count / 2, '\\');
                if (count % 2 == 1) {
                    argument += '"';
                    ++i;
                }
            } else {
                argument.append(count, '\\');
            }
        } else if (c == '"') {
            if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
                argument += '"';
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
        } else {
            argument += c;
            ++i;
        }
    }
    return argument;
}

} // namespace

std::vector<std::string> splitWindowsCommandLine(std::string_view parameters)
{
    std::vector<std::string> arguments;
    size_t i = 0;
    while (true) {
        while (i < parameters.size() && isBlank(parameters[i]))
            ++i;
        if (i >= parameters.size())
            break;
        arguments.push_back(scanArgument(parameters, i));
    }
    return arguments;
}

std::string escapedInsideQuotes(std::string_view path, bool closingQuoteFollows)
{
    std::string escaped;
    size_t backslashes = 0;
    for (const char c : path) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        escaped.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        escaped += c;
    }
    escaped.append(closingQuoteFollows ? 2 * backslashes : backslashes, '\\');
    return escaped;
}

std::string quotedArgument(std::string_view path)
{
    if (!path.empty() && path.find_first_of(" \t\"") == std::string_view::npos)
        return std::string(path);
    return "\"" + escapedInsideQuotes(path, true) + "\"";
}
