#include "editor/edit/TabStops.h"

#include <algorithm>

int TTabStops::NextStop(int column) const
{
    const auto& stops = m_settings.TabColumns;
    const auto it = std::upper_bound(stops.begin(), stops.end(), column);
    if (it != stops.end())
        return *it;
    const int width = std::max(m_settings.TabDefault, 1);
    return column + width - column % width;
}

int TTabStops::ColumnAfter(const char* text, int count) const
{
    int column = 0;
    for (int i = 0; i < count; ++i)
        column = text[i] == '\t' ? NextStop(column) : column + 1;
    return column;
}

int TTabStops::OffsetAtColumn(const char* text, int length, int column, int& columnReached) const
{
    int at = 0;
    for (int i = 0; i < length; ++i) {
        const int next = text[i] == '\t' ? NextStop(at) : at + 1;
        if (next > column) {
            columnReached = at;
            return i;
        }
        at = next;
    }
    columnReached = at;
    return length;
}

std::string TTabStops::Fill(int from, int to, bool useTabs) const
{
    std::string fill;
    if (to <= from)
        return fill;
    int column = from;
    if (useTabs) {
        for (int next = NextStop(column); next <= to; next = NextStop(column)) {
            fill += '\t';
            column = next;
        }
    }
    fill.append(static_cast<size_t>(to - column), ' ');
    return fill;
}
