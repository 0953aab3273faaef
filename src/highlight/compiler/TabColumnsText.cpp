#include "highlight/compiler/TabColumnsText.h"

#include "base/Exception.h"
#include "highlight/ParserErrors.h"

std::array<int32_t, 32> parseTabColumns(std::string_view text)
{
    std::array<int32_t, 32> columns;
    columns.fill(-1);
    size_t count = 0;
    int64_t previous = 0;
    size_t pos = 0;
    for (;;) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == ','))
            ++pos;
        if (pos >= text.size())
            return columns;
        if (text[pos] < '0' || text[pos] > '9')
            throw ESourceMemo("Tab stop column value expected");
        int64_t column = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            column = column * 10 + (text[pos++] - '0');
            if (column > 0xFFFF)
                column = 0xFFFF; // beyond any line; keeps the arithmetic small
        }
        if (column <= 1)
            throw ESourceMemo("Tab column must be > 1");
        if (column <= previous)
            throw ESourceMemo("Tab columns must be in order and unique");
        if (count == columns.size())
            throw ESourceMemo(Format("Too many tab stops - maximum of %zu", columns.size()));
        columns[count++] = static_cast<int32_t>(column - 1);
        previous = column;
    }
}
