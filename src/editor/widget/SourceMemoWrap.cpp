// Word wrap in the editor control: the store's rows are cut to the wrap width when word wrap is
// on and joined back when it is off. Edits note the characters they touched and the lines
// holding them are re-flowed before the view next uses its rows; changes of width, font, tab
// stops or the wrap settings re-flow the whole document, which a store remembers (FlowKey) so
// showing it again under the same layout costs nothing.
#include "editor/widget/SourceMemo.h"

#include "editor/edit/TabStops.h"
#include "highlight/ParserSettings.h"

#include <QStyle>

#include <functional>

namespace {

// A number standing for everything that decides where rows are cut.
int64_t flowKeyOf(const TWrapRule& rule, const TEditorSettings& settings)
{
    if (!rule.WordWrap)
        return TTextStore::kFlowStoreCut;
    if (rule.WordBreakProc)
        return TTextStore::kFlowUnknown; // the host's rule may answer differently each time
    std::string layout = std::to_string(rule.WrapWidth) + '/' + std::to_string(rule.CharWidth) + '/' +
                         std::to_string(settings.TabDefault) + '/';
    for (const int column : settings.TabColumns)
        layout += std::to_string(column) + ',';
    if (rule.UseOverride)
        layout += '/' + rule.OverrideChars;
    if (rule.Advances)
        for (const double advance : *rule.Advances)
            layout += std::to_string(advance) + ',';
    return static_cast<int64_t>(std::hash<std::string>{}(layout) >> 2) + 1;
}

} // namespace

void TSourceMemo::SetWrapAtColumn(int column)
{
    column = std::clamp(column, 0, 0xFFFF);
    if (column == m_wrapAtColumn)
        return;
    m_wrapAtColumn = column;
    ActiveSettings().wordWrapColumn = column;
    reflowAll();
    invalidate();
}

void TSourceMemo::SetWrapOverride(const std::string& characters)
{
    if (characters == m_wrapOverride)
        return;
    m_wrapOverride = characters;
    ActiveSettings().wrapOverride = characters;
    reflowAll();
}

TWrapRule TSourceMemo::wrapRule(const TTabStops& tabs) const
{
    TWrapRule rule;
    rule.WordWrap = Options() & smoWordWrap;
    rule.CharWidth = m_charWidth;
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    rule.WrapWidth = WrapWidthFor(m_wrapAtColumn, m_charWidth, width(), TextLeft(), scrollBar);
    rule.UseOverride = Options() & smoWrapOverride;
    rule.OverrideChars = m_wrapOverride;
    rule.Tabs = &tabs;
    if (!m_fixedPitch)
        rule.Advances = &m_advances.Advance[m_faceOfToken[0]];
    rule.WordBreakProc = OnWordBreakProc;
    return rule;
}

void TSourceMemo::ReflowRows(int64_t firstRow, int64_t lastRow)
{
    const TTabStops tabs(m_editor->Settings);
    const TWrapRule rule = wrapRule(tabs);
    const int64_t oldTopRow = m_topRow;
    const TRowSpot top = m_store->RowByIndex(m_topRow);
    const int64_t topOffset = top.Row ? top.Start : 0;
    const TReflowResult result = Reflow(*m_store, firstRow, lastRow, rule);
    if (firstRow < 0)
        m_store->FlowKey = flowKeyOf(rule, m_editor->Settings);
    if (result.LinesRecut == 0)
        return;
    // Row indices past the re-flowed lines moved by the rows gained or lost.
    const int64_t moved = result.RowsAfter - result.RowsBefore;
    if (m_pendingRow >= result.FirstRow + result.RowsBefore)
        m_pendingRow += moved;
    else if (m_pendingRow > result.FirstRow)
        m_pendingRow = result.FirstRow;
    m_topRow = std::clamp<int64_t>(m_store->RowAt(topOffset).Index, 0, std::max<int64_t>(m_store->RowCount() - 1, 0));
    m_store->TopRowChanged();
    m_editor->RowsRecut();
    updateScrollBars();
    if (m_topRow != oldTopRow || moved != 0) {
        invalidate(); // rows below moved, or the view did
        return;
    }
    // The same number of rows, cut differently: only those rows change on screen.
    invalidate(QRect(0, static_cast<int>((result.FirstRow - m_topRow) * m_lineHeight), viewport()->width(),
                     static_cast<int>(result.RowsAfter * m_lineHeight)));
}

// The whole document, unless the store is already cut for this layout.
void TSourceMemo::reflowAll()
{
    m_reflowAllPending = false;
    m_wrapDirtyStart = -1;
    const TTabStops tabs(m_editor->Settings);
    const int64_t key = flowKeyOf(wrapRule(tabs), m_editor->Settings);
    if (key != TTextStore::kFlowUnknown && key == m_store->FlowKey)
        return;
    ReflowRows(-1, -1);
}

void TSourceMemo::TabStopsChanged()
{
    reflowAll();
    invalidate();
}

// Keeps the union of the characters edited since the last re-flow, in current offsets.
void TSourceMemo::noteWrapEdit(int64_t position, int64_t length)
{
    if (!(Options() & smoWordWrap))
        return;
    const auto shifted = [&](int64_t offset) {
        if (length >= 0)
            return offset >= position ? offset + length : offset;
        return offset <= position ? offset : std::max(offset + length, position);
    };
    const int64_t end = position + std::max<int64_t>(length, 0);
    if (m_wrapDirtyStart < 0) {
        m_wrapDirtyStart = position;
        m_wrapDirtyEnd = end;
        return;
    }
    m_wrapDirtyStart = std::min(shifted(m_wrapDirtyStart), position);
    m_wrapDirtyEnd = std::max(shifted(m_wrapDirtyEnd), end);
}

// Re-flows what edits or a width change left waiting: from the row before the first edited
// character to the row after the last.
void TSourceMemo::flushReflow()
{
    if (m_reflowAllPending) {
        reflowAll();
        return;
    }
    if (m_wrapDirtyStart < 0)
        return;
    const int64_t start = std::clamp<int64_t>(m_wrapDirtyStart, 0, m_store->CharCount());
    const int64_t end = std::clamp<int64_t>(m_wrapDirtyEnd, start, m_store->CharCount());
    m_wrapDirtyStart = -1;
    if (!(Options() & smoWordWrap) || m_store->RowCount() == 0)
        return;
    const int64_t first = std::max<int64_t>(m_store->RowAt(start).Index - 1, 0);
    const int64_t last = m_store->RowAt(end).Index + 1;
    ReflowRows(first, last);
}
