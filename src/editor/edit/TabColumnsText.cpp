#include "editor/edit/TabColumnsText.h"

#include "editor/text/SourceMemoErrors.h"

namespace {

bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == ',';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A token of digits as a 1-based column; anything else is not a column value.
int columnOfToken(std::string_view token)
{
    if (token.empty() || !isDigit(token.front()))
        throw ESourceMemo(kTabColumnExpected);
    int value = 0;
    for (const char c : token) {
        if (!isDigit(c))
            throw ESourceMemo(kTabColumnExpected);
        value = value * 10 + (c - '0');
        if (value > kMaxTabColumn)
            throw ESourceMemo(kTabColumnExpected);
    }
    return value;
}

std::vector<std::string_view> tokensOf(std::string_view text)
{
    std::vector<std::string_view> tokens;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isSeparator(text[at]))
            ++at;
        const size_t start = at;
        while (at < text.size() && !isSeparator(text[at]))
            ++at;
        if (at > start)
            tokens.push_back(text.substr(start, at - start));
    }
    return tokens;
}

} // namespace

std::vector<int> ParseTabColumns(std::string_view text)
{
    std::vector<int> stops;
    for (const std::string_view token : tokensOf(text)) {
        if (static_cast<int>(stops.size()) == kMaxTabStops)
            throw ESourceMemo(kTooManyTabStops + std::to_string(kMaxTabStops));
        const int column = columnOfToken(token);
        if (column <= 1)
            throw ESourceMemo(kTabColumnTooSmall);
        const int stop = column - 1;
        if (!stops.empty() && stop <= stops.back())
            throw ESourceMemo(kTabColumnsOrder);
        stops.push_back(stop);
    }
    return stops;
}

std::string FormatTabColumns(const std::vector<int>& stops)
{
    std::string text;
    for (const int stop : stops) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(stop + 1);
    }
    return text;
}

void CheckTabDefault(int width)
{
    if (width < 1)
        throw ESourceMemo(kIllegalTabDefault);
}
