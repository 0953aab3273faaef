// The control's side of the document's annotations: numbered bookmarks with their events and
// the jump to one, the lists kept in the store shown, their events, and how they are painted
// (gutter images, the colours of breakpoint rows, OnDrawMark for each mark on a row).
#include "editor/widget/SourceMemo.h"

#include "editor/edit/TabStops.h"
#include "editor/marks/StoreMarks.h"

#include <QPainter>

#include <algorithm>

namespace {

// The offsets a caret can take in a row: up to its line break, or, when the line goes on in
// the next row, up to its last character.
int reachable(const TTextRow& row)
{
    return !row.EndsLine() && row.Next ? row.Length - 1 : row.TextLength();
}

} // namespace

// ---- numbered bookmarks -----------------------------------------------------------------------

void TSourceMemo::SetBookmark(int number, int64_t row, int column)
{
    TNumberedBookmarks::CheckIndex(number);
    flushReflow();
    if (row < 0) {
        row = m_store->RowAt(m_editor->SelCaret()).Index;
        column = static_cast<int>(m_editor->CaretCol());
    }
    TStoreBookmarks& bookmarks = EnsureBookmarks(*m_store, this);
    const TBookmarkChange change = bookmarks.Numbered.Set(*m_store, number, row, column, Options() & smoWordWrap);
    for (const int64_t changed : change.Rows) {
        const int y = static_cast<int>((changed - m_topRow) * m_lineHeight);
        invalidate(QRect(0, y, viewport()->width(), m_lineHeight));
    }
    for (const int cleared : change.Cleared)
        if (OnBookmarkClear)
            OnBookmarkClear(this, cleared);
    if (change.Set && OnBookmarkSet)
        OnBookmarkSet(this, number);
}

void TSourceMemo::GotoBookmark(int number)
{
    TNumberedBookmarks::CheckIndex(number);
    flushReflow();
    TStoreBookmarks* bookmarks = BookmarksOf(*m_store);
    TRowSpot row;
    int column = 0;
    if (!bookmarks || !bookmarks->Numbered.Get(*m_store, number, row, column))
        return;
    int reached = 0;
    const int offset = TTabStops(m_editor->Settings).OffsetAtColumn(row.Row->Text(), reachable(*row.Row), column - 1, reached);
    m_editor->SetSelection(row.Start + offset, row.Start + offset);
    SetTopRow(std::max<int64_t>(row.Index - VisibleRows() / 2, 0));
    invalidate();
}

bool TSourceMemo::GetBookmark(int number, int64_t& line, int& column)
{
    TNumberedBookmarks::CheckIndex(number);
    flushReflow();
    TStoreBookmarks* bookmarks = BookmarksOf(*m_store);
    TRowSpot row;
    if (!bookmarks || !bookmarks->Numbered.Get(*m_store, number, row, column))
        return false;
    line = row.Index + 1;
    return true;
}

// ---- the lists in the store ---------------------------------------------------------------------

TMarkList& TSourceMemo::Marks()
{
    return EnsureMarks(*m_store, this);
}

TSM_Breakpoints& TSourceMemo::Breakpoints()
{
    return EnsureBreakpoints(*m_store, this);
}

TSM_CodeBreak& TSourceMemo::CodeBreak()
{
    return EnsureCodeBreak(*m_store, this);
}

TCustomBookmarks& TSourceMemo::CustomBookmarks()
{
    return EnsureBookmarks(*m_store, this).Named;
}

void TSourceMemo::attachMarks(TTextStore& store, bool attach)
{
    if (attach)
        SetMarkEvents(store, this);
    else
        ReleaseMarkEvents(store, this);
}

void TSourceMemo::MarkChanged(TMark& mark)
{
    if (OnMarkChange)
        OnMarkChange(this, mark);
}

void TSourceMemo::MarkFreed(TMark& mark)
{
    if (OnMarkFree)
        OnMarkFree(this, mark);
}

void TSourceMemo::CustomBookmarkFreed(const std::string& name)
{
    if (OnCustomBookmarkFree)
        OnCustomBookmarkFree(this, name);
}

void TSourceMemo::BreakpointFreed(TSM_BreakpointData& breakpoint)
{
    if (OnBreakpointFree)
        OnBreakpointFree(this, breakpoint);
}

void TSourceMemo::BreakpointStateChanged(TSM_BreakpointData& breakpoint)
{
    if (OnBreakpointStateChange)
        OnBreakpointStateChange(this, breakpoint);
}

void TSourceMemo::MarksChanged(int64_t from, int64_t to)
{
    if (PaintingOff())
        return;
    invalidateOffsets(from, std::min(to, m_store->CharCount()));
}

// ---- painting -----------------------------------------------------------------------------------

// The execution point wins over a breakpoint. Every row of the line shows the line's look.
bool TSourceMemo::breakpointStyleOf(const TRowSpot& spot, TBreakpointStyle& style) const
{
    const TSM_CodeBreak* point = CodeBreakOf(*m_store);
    const TSM_Breakpoints* breakpoints = BreakpointsOf(*m_store);
    const bool none = (!point || point->Count() == 0) && (!breakpoints || breakpoints->Count() == 0);
    if (!spot.Row || none)
        return false;
    const int64_t lineStart =
        spot.Row->IsContinuation() ? m_store->LineStart(m_store->LineOfRow(spot.Index)).Start : spot.Start;
    return (point && point->GetBreakpointStyle(lineStart, style)) ||
           (breakpoints && breakpoints->GetBreakpointStyle(lineStart, style));
}

// Gutter images, 15 by 16 pixels: 11 an enabled breakpoint (a red disc), 12 a disabled one or
// the execution point (an arrow); any other number a disc in one of four colours.
void TSourceMemo::paintGutterImage(QPainter& painter, QRect cell, int image) const
{
    const int size = std::min(12, cell.height() - 2);
    const QRect disc(cell.left() + 3, cell.top() + (cell.height() - size) / 2, size, size);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (image == TSM_Breakpoints::kEnabledImage) {
        painter.setPen(QPen(QColor(128, 0, 0), 1));
        painter.setBrush(QColor(230, 0, 0));
        painter.drawEllipse(disc);
    } else if (image == TSM_Breakpoints::kDisabledImage) {
        const QPoint mid(disc.left(), disc.center().y());
        const QPolygon arrow({mid + QPoint(0, -2), mid + QPoint(6, -2), mid + QPoint(6, -5), mid + QPoint(11, 0),
                              mid + QPoint(6, 5), mid + QPoint(6, 2), mid + QPoint(0, 2)});
        painter.setPen(QPen(QColor(0, 64, 0), 1));
        painter.setBrush(QColor(255, 220, 0));
        painter.drawPolygon(arrow);
    } else {
        static const QColor colours[] = {Qt::red, QColor(0, 128, 0), Qt::blue, QColor(128, 0, 128)};
        painter.setPen(Qt::NoPen);
        painter.setBrush(colours[image % 4]);
        painter.drawEllipse(disc);
    }
    painter.restore();
}

// OnDrawMark for each mark on the row, with the rectangle of the mark's part of the row (an
// empty mark gets one pixel), clipped to the text area.
void TSourceMemo::paintMarks(QPainter& painter, const TRowSpot& spot, int y)
{
    const TMarkList* marks = MarksOf(*m_store);
    if (!OnDrawMark || !spot.Row || !marks || marks->Count() == 0)
        return;
    const std::vector<TMark*> shown = marks->MarksShownIn(spot.Start, spot.Start + spot.Row->Length);
    if (shown.empty())
        return;
    TDisplayLine line;
    line.Layout(spot.Row->Text(), spot.Row->TextLength(), nullptr, TTabStops(m_editor->Settings));
    auto xOf = [&](int64_t offset) {
        const auto inRow = static_cast<int>(std::clamp<int64_t>(offset - spot.Start, 0, line.CharCount()));
        const int column = line.ColumnOfChar[static_cast<size_t>(inRow)];
        return TextLeft() + static_cast<int>((column - m_leftCol) * m_charWidth);
    };
    for (TMark* mark : shown) {
        const int left = xOf(mark->Start());
        // A mark holding the line break reaches one cell past the text.
        const int64_t end = mark->End();
        int right = xOf(end);
        if (end > spot.Start + spot.Row->TextLength())
            right += m_charWidth;
        painter.save();
        painter.setClipRect(QRect(TextLeft(), y, viewport()->width() - TextLeft(), m_lineHeight));
        OnDrawMark(this, &painter, QRect(left, y, std::max(right - left, 1), m_lineHeight), *mark);
        painter.restore();
    }
}
