#include "build/CommandTemplate.h"

#include "build/BuildPaths.h"
#include "build/WindowsCommandLine.h"

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

// Whether the double quote at position of text is literal (escaped by an odd run of
// backslashes) rather than one that opens or closes a quoted part.
bool escapedQuote(std::string_view text, size_t position)
{
    size_t backslashes = 0;
    while (position > backslashes && text[position - backslashes - 1] == '\\')
        ++backslashes;
    return backslashes % 2 == 1;
}

} // namespace

std::string ExpandCommandTemplate(std::string_view commandTemplate, std::string_view hexFile,
                                  std::string_view device)
{
    struct Word
    {
        std::string_view name;
        std::string value;
        bool isPath;
    };
    const std::array<Word, 3> words = {{
        {"%FILENAME", ExtractFileName(hexFile), true},
        {"%FULL", std::string(hexFile), true},
        {"%PIC", deviceText(device), false},
    }};
    std::string result;
    bool quoted = false; // inside a quoted part the template itself opened
    size_t i = 0;
    while (i < commandTemplate.size()) {
        const Word* found = nullptr;
        for (const Word& word : words) {
            if (matchesAt(commandTemplate, i, word.name)) {
                found = &word;
                break;
            }
        }
        if (!found) {
            if (commandTemplate[i] == '"' && !escapedQuote(commandTemplate, i))
                quoted = !quoted;
            result += commandTemplate[i++];
            continue;
        }
        i += found->name.size();
        if (!found->isPath)
            result += found->value;
        else if (quoted)
            result += escapedInsideQuotes(found->value, i < commandTemplate.size() && commandTemplate[i] == '"');
        else
            result += quotedArgument(found->value);
    }
    return result;
}

std::string userToolCaption(std::string_view name)
{
    return name.empty() ? std::string("Undefined") : std::string(name);
}
