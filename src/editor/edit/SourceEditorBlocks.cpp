// Block indent and un-indent of the selected lines. Each line's change is logged on its own
// with the exact bytes inserted or removed, so undo restores TABs and byte 160 as they were.
#include "editor/edit/SourceEditor.h"

#include "editor/edit/StoreUndoStack.h"

#include <algorithm>

// The start offsets of the lines from the selection start's line to the selection end's line,
// without the last one when the selection ends exactly at its start. Lines, not rows: the rows
// of a split or wrapped line belong to the line of the row before them.
std::vector<int64_t> TSourceEditor::selectedLineStarts() const
{
    std::vector<int64_t> starts;
    const TSelectionPair selection = Selection();
    TRowSpot spot = m_store->RowAt(selection.Start());
    if (!spot.Row)
        return starts;
    TTextRow* row = spot.Row;
    int64_t start = spot.Start;
    while (row->IsContinuation() && row->Prev) {
        row = row->Prev;
        start -= row->Length;
    }
    for (bool lineStart = true; row; start += row->Length, row = row->Next) {
        if (lineStart) {
            if (start >= selection.End() && !starts.empty())
                break;
            starts.push_back(start);
        }
        lineStart = row->EndsLine();
    }
    return starts;
}

// Selects from the first line's start to the old end moved by delta, keeping the direction.
void TSourceEditor::reselectLines(int64_t firstLine, int64_t end, int64_t delta, bool caretFirst)
{
    const int64_t newEnd = std::max(firstLine, end + delta);
    if (caretFirst)
        SetSelection(newEnd, firstLine);
    else
        SetSelection(firstLine, newEnd);
}

void TSourceEditor::IndentBlock(int step, bool allowTabs)
{
    if (Settings.ReadOnly || m_selAnchor == m_selCaret)
        return;
    if (step <= 0)
        step = Settings.IndentStep;
    const std::string fill(static_cast<size_t>(step),
                           allowTabs && Settings.Has(smoUseTAB) ? '\t' : ' ');
    const std::vector<int64_t> lines = selectedLineStarts();
    if (lines.empty())
        return;
    const TSelectionPair selection = Selection();
    TGroupScope group(*this, ugIndent);
    TStoreUndoStack* log = m_recording && !m_undoRunning ? undoLog() : nullptr;
    // From the last line up, so the positions still to come are not moved by the insertions.
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        m_store->InsertText(*it, fill);
        if (log)
            log->LogLineEdit(ukIndent, *it, fill);
    }
    const auto inserted = static_cast<int64_t>(lines.size() * fill.size());
    reselectLines(lines.front(), selection.End(), inserted, m_selCaret < m_selAnchor);
    m_changeFlags |= cfTextChanged;
    m_host->Rehighlight();
    m_host->ScrollCaretIntoView();
}

void TSourceEditor::UnindentBlock(int step)
{
    if (Settings.ReadOnly || m_selAnchor == m_selCaret)
        return;
    if (step <= 0)
        step = Settings.IndentStep;
    const std::vector<int64_t> lines = selectedLineStarts();
    if (lines.empty())
        return;
    const TSelectionPair selection = Selection();
    TGroupScope group(*this, ugUnindent);
    TStoreUndoStack* log = m_recording && !m_undoRunning ? undoLog() : nullptr;
    int64_t removedBeforeEnd = 0;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        const std::string head = m_store->GetText(*it, *it + step);
        size_t count = 0;
        while (count < head.size() &&
               (head[count] == ' ' || head[count] == '\t' || head[count] == '\xA0'))
            ++count;
        if (count == 0)
            continue;
        m_store->DeleteRange(*it, *it + static_cast<int64_t>(count));
        if (log)
            log->LogLineEdit(ukUnindent, *it, head.substr(0, count));
        removedBeforeEnd += std::clamp<int64_t>(selection.End() - *it, 0, static_cast<int64_t>(count));
    }
    reselectLines(lines.front(), selection.End(), -removedBeforeEnd, m_selCaret < m_selAnchor);
    m_changeFlags |= cfTextChanged;
    m_host->Rehighlight();
    m_host->ScrollCaretIntoView();
}
