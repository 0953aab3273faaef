#include "platform/FileDialogs.h"

#include <algorithm>

namespace {

class TCancellingFileDialogs : public TFileDialogs
{
public:
    std::optional<std::string> run(const TFileDialogRequest&) override { return std::nullopt; }
};

TCancellingFileDialogs cancellingDialogs;
TFileDialogs* installed = nullptr;

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string withCase(std::string text, int (*convert)(int))
{
    for (char& c : text)
        c = static_cast<char>(convert(static_cast<unsigned char>(c)));
    return text;
}

void addOnce(std::vector<std::string>& list, const std::string& item)
{
    if (std::find(list.begin(), list.end(), item) == list.end())
        list.push_back(item);
}

} // namespace

TFileDialogs& fileDialogs()
{
    return installed ? *installed : cancellingDialogs;
}

TFileDialogs* setFileDialogs(TFileDialogs* dialogs)
{
    TFileDialogs* previous = installed;
    installed = dialogs;
    return previous;
}

std::vector<TFileFilter> parseWindowsFilter(const std::string& filter)
{
    std::vector<TFileFilter> filters;
    if (filter.empty())
        return filters;
    const std::vector<std::string> parts = split(filter, '|');
    for (size_t i = 0; i < parts.size(); i += 2) {
        TFileFilter entry;
        entry.description = trimmed(parts[i]);
        if (i + 1 < parts.size()) {
            for (const std::string& pattern : split(parts[i + 1], ';')) {
                if (!trimmed(pattern).empty())
                    entry.patterns.push_back(trimmed(pattern));
            }
        }
        if (entry.patterns.empty())
            entry.patterns.emplace_back("*");
        if (entry.description.empty())
            entry.description = entry.patterns.front();
        filters.push_back(std::move(entry));
    }
    return filters;
}

std::string qtFilterString(const std::vector<TFileFilter>& filters)
{
    std::string result;
    for (const TFileFilter& filter : filters) {
        std::vector<std::string> patterns;
        for (const std::string& pattern : filter.patterns) {
            if (pattern == "*.*" || pattern == "*") {
                addOnce(patterns, "*");
                continue;
            }
            addOnce(patterns, pattern);
            addOnce(patterns, withCase(pattern, ::tolower));
            addOnce(patterns, withCase(pattern, ::toupper));
        }
        std::string joined;
        for (const std::string& pattern : patterns)
            joined += (joined.empty() ? "" : " ") + pattern;
        // Qt reads the patterns from the last parentheses, so they must not appear in the text.
        std::string description = filter.description;
        std::replace(description.begin(), description.end(), '(', '[');
        std::replace(description.begin(), description.end(), ')', ']');
        result += (result.empty() ? "" : ";;") + description + " (" + joined + ")";
    }
    return result;
}
