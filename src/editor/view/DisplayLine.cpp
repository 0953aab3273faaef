#include "editor/view/DisplayLine.h"

#include "editor/edit/TabStops.h"

#include <algorithm>

void TDisplayLine::Layout(const char* text, int length, const uint8_t* attrs, const TTabStops& stops)
{
    Text.clear();
    Tokens.clear();
    ColumnOfChar.resize(static_cast<size_t>(length) + 1);
    for (int i = 0; i < length; ++i) {
        const int column = static_cast<int>(Text.size());
        ColumnOfChar[static_cast<size_t>(i)] = column;
        const uint8_t token = attrs ? attrs[i] : 0;
        if (text[i] == '\t') {
            const int blanks = stops.NextStop(column) - column;
            Text.append(static_cast<size_t>(blanks), ' ');
            Tokens.insert(Tokens.end(), static_cast<size_t>(blanks), token);
        } else {
            Text.push_back(text[i]);
            Tokens.push_back(token);
        }
    }
    ColumnOfChar[static_cast<size_t>(length)] = static_cast<int>(Text.size());
}

int TDisplayLine::CharAtColumn(int column) const
{
    if (column < 0)
        return 0;
    // The last character whose first column is at or before column.
    const auto after = std::upper_bound(ColumnOfChar.begin(), ColumnOfChar.end() - 1, column);
    return static_cast<int>(after - ColumnOfChar.begin()) - 1 + (column >= Columns() ? 1 : 0);
}

std::string TDisplayLine::check() const
{
    if (Text.size() != Tokens.size())
        return "text and tokens differ in size";
    if (ColumnOfChar.empty() || ColumnOfChar.front() != 0 || ColumnOfChar.back() != Columns())
        return "column map does not span the text";
    for (size_t i = 1; i < ColumnOfChar.size(); ++i) {
        if (ColumnOfChar[i] <= ColumnOfChar[i - 1])
            return "column map not strictly increasing";
    }
    return {};
}
