#include "highlight/registry/TabColumnsText.h"

#include "highlight/ParserErrors.h"

#include <algorithm>
#include <cstdint>

namespace {

// A column token: digits only, within 32 bits.
int32_t columnOf(std::string_view token)
{
    int64_t value = 0;
    for (const char c : token) {
        if (c < '0' || c > '9' || value > INT32_MAX / 10)
            throw ESourceMemo("Tab stop column value expected");
        value = value * 10 + (c - '0');
    }
    if (value > INT32_MAX)
        throw ESourceMemo("Tab stop column value expected");
    return static_cast<int32_t>(value);
}

} // namespace

std::string tabColumnsText(const TTabStopTable& table)
{
    std::string text;
    for (const int32_t column : table) {
        if (column < 1 || column == INT32_MAX)
            continue;
        if (!text.empty())
            text += ' ';
        text += std::to_string(int64_t(column) + 1);
    }
    return text;
}

TTabStopTable readTabColumnsText(std::string_view text)
{
    TTabStopTable table;
    table.fill(-1);
    size_t used = 0;
    size_t start = 0;
    while (start < text.size()) {
        if (text[start] == ' ') {
            ++start;
            continue;
        }
        const size_t end = std::min(text.find(' ', start), text.size());
        const int32_t column = columnOf(text.substr(start, end - start));
        start = end;
        if (column <= 1)
            throw ESourceMemo("Tab column must be > 1");
        if (used > 0 && column - 1 <= table[used - 1])
            throw ESourceMemo("Tab columns must be in order and unique");
        if (used == table.size())
            throw ESourceMemo("Too many tab stops - maximum of " + std::to_string(table.size()));
        table[used++] = column - 1;
    }
    return table;
}
