// Display columns of row text: TAB characters expand to the next tab stop, every other byte
// takes one column. Tab stops are the explicit columns, then every TabDefault columns.
#pragma once

#include "editor/edit/EditorOptions.h"

#include <string>

class TTabStops
{
public:
    explicit TTabStops(const TEditorSettings& settings) : m_settings(settings) {}

    // The first tab stop after column.
    int NextStop(int column) const;
    // The display column reached after count bytes of text (count excludes a trailing CR).
    int ColumnAfter(const char* text, int count) const;
    // The offset of the byte whose span holds column in text of length bytes; length when the
    // column lies at or past the end. columnReached receives that byte's start column.
    int OffsetAtColumn(const char* text, int length, int column, int& columnReached) const;
    // Blanks that lead from column from to column to: with useTabs, one TAB per tab stop
    // reached up to to, then spaces; otherwise to - from spaces.
    std::string Fill(int from, int to, bool useTabs) const;

private:
    const TEditorSettings& m_settings;
};
