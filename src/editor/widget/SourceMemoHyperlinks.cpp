// Hyperlink tokens: characters whose token's style carries the hot-spot flag. The pointer over
// one takes HyperCursor and raises OnHyperlinkHover as it arrives; Ctrl with a left press on one
// raises OnHyperlinkClick with the link's text and token instead of placing the caret.
#include "editor/widget/SourceMemo.h"

#include <QMouseEvent>

TSourceMemo::THyperSpan TSourceMemo::hyperlinkAt(QPoint at) const
{
    const int64_t offset = charUnderPointer(at);
    if (offset < 0)
        return {};
    const TRowSpot spot = m_store->RowAt(offset);
    uint8_t tokens[kMaxRowLength];
    if (!spot.Row || !shownTokens(*spot.Row, tokens))
        return {};
    const int inRow = static_cast<int>(offset - spot.Start);
    if (inRow >= spot.Row->TextLength())
        return {};
    const uint8_t token = tokens[inRow];
    if (!m_styles[token].HotSpot)
        return {};
    // The link is the run of that token around the pointer, within the row.
    int first = inRow;
    int end = inRow + 1;
    while (first > 0 && tokens[first - 1] == token)
        --first;
    while (end < spot.Row->TextLength() && tokens[end] == token)
        ++end;
    return {spot.Start + first, spot.Start + end, token};
}

// The pointer moved with no button down: the cursor follows what lies under it.
void TSourceMemo::hoverLink(QPoint at)
{
    const THyperSpan link = hyperlinkAt(at);
    const bool over = link.Start >= 0;
    if (over == m_overLink)
        return;
    m_overLink = over;
    viewport()->setCursor(over ? HyperCursor : Qt::IBeamCursor);
    if (over && OnHyperlinkHover)
        OnHyperlinkHover(this);
}

bool TSourceMemo::clickLink(const QMouseEvent& event)
{
    if (!OnHyperlinkClick || !(event.modifiers() & Qt::ControlModifier))
        return false;
    const THyperSpan link = hyperlinkAt(event.position().toPoint());
    if (link.Start < 0)
        return false;
    OnHyperlinkClick(this, m_store->GetText(link.Start, link.End), link.Token);
    return true;
}
