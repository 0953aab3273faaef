#include "editor/view/DisplayLine.h"

#include "editor/edit/TabStops.h"

#include <algorithm>
#include <cmath>

TGlyphAdvances TGlyphAdvances::Grid(double cellWidth)
{
    TGlyphAdvances grid;
    grid.CellWidth = cellWidth;
    for (auto& face : grid.Advance)
        face.fill(cellWidth);
    return grid;
}

void TDisplayLine::Layout(const char* text, int length, const uint8_t* attrs, const TTabStops& stops)
{
    Text.clear();
    Tokens.clear();
    X.clear();
    ColumnOfChar.resize(static_cast<size_t>(length) + 1);
    m_tabAt.assign(static_cast<size_t>(length), false);
    for (int i = 0; i < length; ++i) {
        const int column = static_cast<int>(Text.size());
        ColumnOfChar[static_cast<size_t>(i)] = column;
        const uint8_t token = attrs ? attrs[i] : 0;
        if (text[i] == '\t') {
            const int blanks = stops.NextStop(column) - column;
            Text.append(static_cast<size_t>(blanks), ' ');
            Tokens.insert(Tokens.end(), static_cast<size_t>(blanks), token);
            m_tabAt[static_cast<size_t>(i)] = true;
        } else {
            Text.push_back(text[i]);
            Tokens.push_back(token);
        }
    }
    ColumnOfChar[static_cast<size_t>(length)] = static_cast<int>(Text.size());
}

void TDisplayLine::Place(const TGlyphAdvances& advances, const std::array<uint8_t, 256>& faceOfToken)
{
    m_cellWidth = advances.CellWidth > 0 ? advances.CellWidth : 1;
    X.resize(Text.size() + 1);
    double x = 0;
    for (int i = 0; i < CharCount(); ++i) {
        const int first = ColumnOfChar[static_cast<size_t>(i)];
        const int end = ColumnOfChar[static_cast<size_t>(i) + 1];
        const auto& face = advances.Advance[faceOfToken[Tokens[static_cast<size_t>(first)]] & 7];
        X[static_cast<size_t>(first)] = x;
        if (!m_tabAt[static_cast<size_t>(i)]) {
            x += face[static_cast<uint8_t>(Text[static_cast<size_t>(first)])];
            continue;
        }
        // The TAB's blanks share the room up to its stop evenly.
        const double stop = std::max(end * m_cellWidth, x + face[' ']);
        for (int column = first + 1; column < end; ++column)
            X[static_cast<size_t>(column)] = x + (stop - x) * (column - first) / (end - first);
        x = stop;
    }
    X[Text.size()] = x;
}

int TDisplayLine::CharAtColumn(int column) const
{
    if (column < 0)
        return 0;
    // The last character whose first column is at or before column.
    const auto after = std::upper_bound(ColumnOfChar.begin(), ColumnOfChar.end() - 1, column);
    return static_cast<int>(after - ColumnOfChar.begin()) - 1 + (column >= Columns() ? 1 : 0);
}

double TDisplayLine::XOfColumn(int column) const
{
    if (column <= 0)
        return 0;
    if (column <= Columns())
        return X[static_cast<size_t>(column)];
    return X.back() + (column - Columns()) * m_cellWidth;
}

int TDisplayLine::ColumnNearest(double x) const
{
    if (x >= X.back())
        return Columns() + static_cast<int>(std::lround((x - X.back()) / m_cellWidth));
    const auto above = std::upper_bound(X.begin(), X.end(), x);
    if (above == X.begin())
        return 0;
    const auto column = static_cast<int>(above - X.begin());
    return x - X[static_cast<size_t>(column) - 1] < *above - x ? column - 1 : column;
}

int TDisplayLine::ColumnUnder(double x) const
{
    if (x >= X.back())
        return Columns() + static_cast<int>(std::floor((x - X.back()) / m_cellWidth));
    const auto above = std::upper_bound(X.begin(), X.end(), x);
    return std::max(static_cast<int>(above - X.begin()) - 1, 0);
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
    if (!X.empty()) {
        if (X.size() != Text.size() + 1 || X.front() != 0)
            return "column edges do not span the text";
        if (!std::is_sorted(X.begin(), X.end()))
            return "column edges decrease";
    }
    return {};
}
