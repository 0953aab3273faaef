#include "build/CommandTemplate.h"

#include "build/BuildPaths.h"

#include <array>

namespace {

char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether text at position starts with word (upper case), ignoring letter case.
bool matchesAt(std::string_view text, size_t position, std::string_view word)
{
    if (text.size() - position < word.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (upperAscii(text[position + i]) != word[i])
            return false;
    }
    return true;
}

} // namespace

std::string ExpandCommandTemplate(std::string_view commandTemplate, std::string_view hexFile,
                                  std::string_view device)
{
    const std::array<std::pair<std::string_view, std::string>, 3> words = {{
        {"%FILENAME", ExtractFileName(hexFile)},
        {"%FULL", std::string(hexFile)},
        {"%PIC", deviceText(device)},
    }};
    std::string result;
    size_t i = 0;
    while (i < commandTemplate.size()) {
        bool replaced = false;
        for (const auto& [word, value] : words) {
            if (matchesAt(commandTemplate, i, word)) {
                result += value;
                i += word.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            result += commandTemplate[i++];
    }
    return result;
}

std::string userToolCaption(std::string_view name)
{
    return name.empty() ? std::string("Undefined") : std::string(name);
}
