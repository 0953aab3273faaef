// Typing: characters in insert and overwrite mode, ENTER with auto-indent, and TAB with tab
// stops, smart fill and tab-to-column.
#include "editor/edit/SourceEditor.h"

#include <algorithm>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The leading spaces and TABs of a row, or 0 when it starts with anything else.
int leadingBlanks(const TTextRow& row)
{
    int count = 0;
    while (count < row.TextLength() && isBlank(row.Text()[count]))
        ++count;
    return count;
}

bool holdsText(const TTextRow& row)
{
    return leadingBlanks(row) < row.TextLength();
}

} // namespace

void TSourceEditor::KeyPress(char character)
{
    if (Settings.ReadOnly)
        return;
    if (character == '\r' && !Settings.WantReturns)
        return;
    if (character == '\n') {
        if (Settings.WantReturns)
            return;
        character = '\r';
    }
    const auto byte = static_cast<unsigned char>(character);
    if (character == '\t') {
        typeTab();
    } else if (byte == 13 || (byte >= 32 && byte != 127)) {
        typeCharacter(character);
    } else {
        return;
    }
    m_host->ScrollCaretIntoView();
    NotifyChange();
}

void TSourceEditor::typeCharacter(char character)
{
    TGroupScope group(*this, ugTyping);
    const bool enter = character == kLineBreak;
    if (!m_insertMode && !enter && m_selAnchor == m_selCaret && !m_pastEol &&
        !atLineEnd(m_selCaret))
        m_selCaret = m_selAnchor + 1; // overwriting never removes a line break
    const int indent = enter && Settings.Has(smoAutoIndent) ? autoIndentColumn() : -1;
    ReplaceSelection(std::string_view(&character, 1));
    if (indent < 0)
        return;
    int column = indent;
    const TRowSpot caretRow = m_store->RowAt(m_selCaret);
    if (caretRow.Index == 0)
        return;
    if (column == 0)
        column = indentOfRowsAbove(caretRow.Index - 1);
    if (column > 0) {
        const bool smart = Settings.Has(smoUseTAB) && Settings.Has(smoSmartFill);
        ReplaceSelection(tabs().Fill(0, column, smart));
    }
}

// The display column of the indent of the row the line break goes into: its leading blanks,
// but no more than the caret's offset in the row.
int TSourceEditor::autoIndentColumn() const
{
    const int64_t at = SelStart();
    const TRowSpot spot = m_store->RowAt(at);
    if (!spot.Row)
        return 0;
    const int blanks = std::min<int64_t>(leadingBlanks(*spot.Row), at - spot.Start);
    return tabs().ColumnAfter(spot.Row->Text(), blanks);
}

// The indent column of the nearest row at or above rowIndex that holds more than blanks.
int TSourceEditor::indentOfRowsAbove(int64_t rowIndex) const
{
    const TRowSpot spot = m_store->RowByIndex(rowIndex);
    for (const TTextRow* row = spot.Row; row; row = row->Prev) {
        if (holdsText(*row))
            return tabs().ColumnAfter(row->Text(), leadingBlanks(*row));
    }
    return 0;
}

void TSourceEditor::typeTab()
{
    if (Settings.Has(smoUseTAB) &&
        (!Settings.Has(smoTabToColumn) || Settings.Has(smoWordWrap))) {
        typeCharacter('\t');
        return;
    }
    TGroupScope group(*this, ugTyping);
    const int from = m_caretColumn;
    int target = tabs().NextStop(from);
    if (Settings.Has(smoTabToColumn))
        target = tabToColumnTarget(from);
    const bool smart = Settings.Has(smoUseTAB) && Settings.Has(smoSmartFill);
    // Past the line end the edit itself fills the gap up to the caret first.
    ReplaceSelection(tabs().Fill(from, target, smart));
}

// The column a TAB at column reaches with tab-to-column: in the nearest row above that reaches
// beyond column, the rest of the word at column and the blanks after it are skipped.
int TSourceEditor::tabToColumnTarget(int column) const
{
    const TTabStops stops = tabs();
    const TRowSpot caretRow = m_store->RowAt(m_selCaret);
    const TTextRow* row = caretRow.Row ? caretRow.Row->Prev : m_store->LastRow();
    for (; row; row = row->Prev) {
        const int length = row->TextLength();
        if (stops.ColumnAfter(row->Text(), length) <= column)
            continue;
        int reached = 0;
        int at = stops.OffsetAtColumn(row->Text(), length, column, reached);
        while (at < length && !isBlank(row->Text()[at]))
            ++at;
        while (at < length && isBlank(row->Text()[at]))
            ++at;
        const int target = stops.ColumnAfter(row->Text(), at);
        return target > column ? target : stops.NextStop(column);
    }
    return stops.NextStop(column);
}
