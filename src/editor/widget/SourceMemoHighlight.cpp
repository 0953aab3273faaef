// Highlighting in the editor control: the active parser's token styles, and the pass that
// keeps the rows' token bytes current. An edit re-highlights from its first changed row over at
// most a view's worth of rows; painting completes any visible row still waiting, so a large
// document is coloured as it is shown and never all at once.
#include "editor/widget/SourceMemo.h"

#include "highlight/ParserSettings.h"
#include "highlight/runtime/HighlightPass.h"
#include "highlight/runtime/SourceMemoParser.h"

TSourceMemoParser* TSourceMemo::Parser(int slot) const
{
    return slot >= 1 && slot <= ParserSlots ? m_parsers[static_cast<size_t>(slot - 1)] : nullptr;
}

void TSourceMemo::SetParser(int slot, TSourceMemoParser* parser)
{
    if (slot < 1 || slot > ParserSlots)
        return;
    TSourceMemoParser*& held = m_parsers[static_cast<size_t>(slot - 1)];
    if (held == parser)
        return;
    if (held && std::count(m_parsers.begin(), m_parsers.end(), held) == 1)
        held->DetachEditor(this);
    held = parser;
    if (parser)
        parser->AttachEditor(this);
    if (slot == m_activeParser)
        applyParserSettings();
}

void TSourceMemo::SetActiveParser(int slot)
{
    if (slot < 1 || slot > ParserSlots || slot == m_activeParser)
        return;
    m_activeParser = slot;
    applyParserSettings();
}

void TSourceMemo::ParserChanged(TCustomSourceMemoParser& parser)
{
    if (&parser == ActiveParserObject())
        applyParserSettings();
}

void TSourceMemo::ParserDestroyed(TCustomSourceMemoParser& parser)
{
    for (auto& held : m_parsers) {
        if (held == &parser)
            held = nullptr;
    }
    applyParserSettings();
}

// Token styles from the active settings: each token maps to a style; a style not given, or a
// colour marked as the default, falls back to the default style's colours.
std::array<TTokenStyle, 256> TSourceMemo::tokenStylesOf(const TSM_Settings& settings)
{
    std::array<TTokenStyle, 256> styles{};
    const StyleRecord& plain = settings.styles[0];
    const QColor plainForeground = colorFromColorRef(plain.foreground);
    const QColor plainBackground = colorFromColorRef(plain.background);
    for (size_t token = 0; token < styles.size(); ++token) {
        const StyleRecord& record = settings.styles[settings.tokenStyles[token]];
        const StyleRecord& used = record.defined ? record : plain;
        TTokenStyle& style = styles[token];
        style.Foreground = used.foregroundDefault ? plainForeground : colorFromColorRef(used.foreground);
        style.Background = used.backgroundDefault ? plainBackground : colorFromColorRef(used.background);
        style.Bold = used.fontStyle & fsBold;
        style.Italic = used.fontStyle & fsItalic;
        style.Underline = used.fontStyle & fsUnderline;
        style.HotSpot = used.hotSpot != 0;
    }
    return styles;
}

void TSourceMemo::applyParserSettings()
{
    const std::array<TTokenStyle, 256> styles = tokenStylesOf(ActiveSettings());
    setStyles(styles);
    attachPass();
    applyActiveSettings();
    // Every row is coloured again by the new language as it is shown.
    for (TTextRow* row = m_store->FirstRow(); row && ActiveParserObject(); row = row->Next)
        row->Flags |= rfReparse;
    invalidate();
}

void TSourceMemo::attachPass()
{
    if (!m_pass || &m_pass->store() != m_store.get())
        m_pass = std::make_unique<THighlightPass>(*m_store);
    m_pass->setParser(ActiveParserObject());
    m_pass->Editor = this;
    m_pass->OnTokenSeen = [this](int& token, int64_t end, int64_t start) {
        if (OnTokenSeen)
            OnTokenSeen(this, token, end, start);
    };
    m_pendingRow = -1;
}

void TSourceMemo::runPass(int64_t fromRow, int64_t rowLimit)
{
    if (!m_pass || !ActiveParserObject() || !(Options() & smoSyntaxHighlight))
        return;
    m_pass->RowLimit = std::max<int64_t>(rowLimit, 1);
    const THighlightStats stats = m_pass->highlightFrom(fromRow);
    if (stats.rowsChanged > 0) {
        const int y = static_cast<int>(std::max<int64_t>(fromRow - 1 - m_topRow, 0) * m_lineHeight);
        const int height = static_cast<int>((stats.rowsTokenised + 2) * m_lineHeight);
        invalidate(QRect(0, y, viewport()->width(), height));
    }
}

const uint8_t* TSourceMemo::shownTokens(const TTextRow& row, uint8_t* buffer) const
{
    if (!(Options() & smoSyntaxHighlight) || !row.HasAttrs())
        return nullptr;
    row.CopyAttrs(buffer);
    return buffer;
}

// Rows edited while highlighting was off lost their token bytes and the others kept bytes that
// may no longer fit what was typed around them, so switching it on forgets every row's bytes:
// the rows are coloured afresh as they are shown, exactly as after loading.
void TSourceMemo::highlightingSwitched()
{
    m_pendingRow = -1;
    if (!(Options() & smoSyntaxHighlight))
        return;
    for (TTextRow* row = m_store->FirstRow(); row; row = row->Next) {
        m_store->DropAttrs(row);
        row->Flags |= rfReparse | rfRepaint;
    }
}

void TSourceMemo::SetReparseFrom(int64_t row)
{
    m_pendingRow = row < 0 ? -1 : std::min(row, m_store->RowCount() - 1);
}

void TSourceMemo::Rehighlight()
{
    flushReflow();
    if (m_pendingRow < 0 || m_replacingAll) // a replace-all colours once, when it is done
        return;
    const int64_t from = m_pendingRow;
    m_pendingRow = -1;
    runPass(from, VisibleRows() + 2);
}

void TSourceMemo::HighlightRange(int64_t start, int64_t end)
{
    if (!m_pass || !ActiveParserObject() || !(Options() & smoSyntaxHighlight))
        return;
    const int64_t last = m_store->RowAt(end).Index;
    TRowSpot spot = m_store->RowAt(start);
    for (; spot.Row && spot.Index <= last; spot.Index += 1, spot.Row = spot.Row->Next) {
        if (!spot.Row->HasAttrs() || (spot.Row->Flags & (rfReparse | rfPassStart)))
            runPass(spot.Index, last - spot.Index + 3);
    }
}

// Colours the rows about to be painted that have no current token bytes. A pass ends at the
// first row that comes out as it was, and rows after it may still wait (all of them do after
// the settings were applied again), so every row shown is looked at. An empty row has no
// bytes to colour.
void TSourceMemo::highlightVisibleRows()
{
    if (!m_pass || !ActiveParserObject() || !(Options() & smoSyntaxHighlight))
        return;
    const int64_t last = m_topRow + VisibleRows();
    TRowSpot spot = m_store->RowByIndex(m_topRow);
    for (; spot.Row && spot.Index <= last; spot.Index += 1, spot.Row = spot.Row->Next) {
        if (spot.Row->Length > 0 && (!spot.Row->HasAttrs() || (spot.Row->Flags & (rfReparse | rfPassStart))))
            runPass(spot.Index, last - spot.Index + 3);
    }
}
