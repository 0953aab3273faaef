#include "ide/search/GotoLineRange.h"

#include <algorithm>
#include <charconv>

TGotoLineRange TGotoLineRange::ForLines(int64_t lineCount)
{
    return {1, std::max<int64_t>(lineCount, 0) + 1};
}

std::optional<int64_t> TGotoLineRange::Accept(std::string_view text) const
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    if (value < Minimum || value > Maximum)
        return std::nullopt;
    return value;
}

std::string TGotoLineRange::Warning() const
{
    return "Value must be between " + std::to_string(Minimum) + " and " + std::to_string(Maximum);
}

int64_t centredTopRow(int64_t row, int clientHeight, int lineHeight)
{
    const int visible = lineHeight > 0 ? clientHeight / lineHeight : 0;
    return std::max<int64_t>(row - visible / 2, 0);
}
