#include "editor/widget/SourceMemo.h"

#include "editor/keys/DefaultKeyMap.h"
#include "editor/marks/TemplateSettings.h"
#include "highlight/ParserSettings.h"
#include "editor/view/ScrollGeometry.h"
#include "highlight/runtime/HighlightPass.h"
#include "editor/widget/QtClipboard.h"
#include "editor/widget/SourceMemoStyles.h"
#include "platform/CodePage1252.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <utility>

TSourceMemo::TSourceMemo(QWidget* parent)
    : QAbstractScrollArea(parent), m_store(std::make_unique<TTextStore>()),
      m_clipboard(std::make_unique<TQtClipboard>()),
      m_editor(std::make_unique<TSourceEditor>(*m_store, this, m_clipboard.get())),
      m_keyMap(defaultKeyMap()), m_keys(*m_editor), m_expansion(std::make_unique<TKeyExpansion>(*m_editor, *this))
{
    setObjectName("SourceMemo");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    // Moves without a button pressed show the margin-drag cursor over the right-margin line.
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setAcceptDrops(true);
    m_exportStyles = std::make_unique<TSourceMemoStyles>(*this);
    m_ownSettings = std::make_unique<TSM_Settings>();
    m_font = QFont("Courier New", 10);
    m_font.setStyleHint(QFont::TypeWriter);
    m_editor->OnDataDrop = [this](uint32_t& flags) {
        if (OnDataDrop)
            OnDataDrop(this, flags);
    };
    m_keys.OnCommandRecognised = [this](int32_t& action) {
        if (OnCommandRecognised)
            OnCommandRecognised(this, action);
    };
    // The expansion tables are the active settings' own: changes go back there.
    m_expansion->Templates().OnChanged = [this] { TemplatesToSettings(m_expansion->Templates(), ActiveSettings()); };
    m_expansion->AutoReplace().OnChanged = [this] { AutoReplaceToSettings(m_expansion->AutoReplace(), ActiveSettings()); };
    m_caretBlink = new QTimer(this);
    connect(m_caretBlink, &QTimer::timeout, this, [this] {
        m_caretVisible = !m_caretVisible;
        viewport()->update(QRect(PosFromChar(m_editor->SelCaret()), QSize(m_charWidth + 2, m_lineHeight)));
    });
    m_dragScroll = new QTimer(this);
    m_dragScroll->setInterval(50);
    connect(m_dragScroll, &QTimer::timeout, this, &TSourceMemo::autoScroll);
    m_dropScroll = new QTimer(this);
    m_dropScroll->setInterval(80);
    connect(m_dropScroll, &QTimer::timeout, this, &TSourceMemo::dropScrollTick);
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, &TSourceMemo::updateScrollBars);
    attachEditor();
    attachPass();
    applyActiveSettings();
    setUpSearch();
    resize(185, 89);
}

TSourceMemo::~TSourceMemo()
{
    for (int slot = 1; slot <= ParserSlots; ++slot)
        SetParser(slot, nullptr);
    m_keys.Detach();
    detachStore();
}

void TSourceMemo::attachEditor()
{
    m_store->RegisterView(this);
    attachMarks(*m_store, true);
    m_store->OnTextChange = [this](int64_t position, int64_t length) { textChanged(position, length); };
    m_store->SetStyleSource(m_exportStyles.get());
}

void TSourceMemo::detachStore()
{
    attachMarks(*m_store, false);
    m_store->UnregisterView(this);
    m_store->OnTextChange = nullptr;
    if (m_store->StyleSource() == m_exportStyles.get())
        m_store->SetStyleSource(nullptr);
}

std::unique_ptr<TTextStore> TSourceMemo::ExchangeStore(std::unique_ptr<TTextStore> store)
{
    if (!store)
        store = std::make_unique<TTextStore>();
    detachStore();
    std::swap(store, m_store);
    attachEditor();
    attachPass();
    m_editor->SetStore(*m_store);
    m_topRow = 0;
    m_leftCol = 0;
    m_wrapDirtyStart = -1;
    reflowAll();
    updateScrollBars();
    invalidate();
    return store;
}

void TSourceMemo::LoadFromFile(const std::string& fileName)
{
    m_store->LoadFromFile(fileName);
}

// ---- properties --------------------------------------------------------------------------------

void TSourceMemo::SetGutter(int pixels)
{
    const bool accepted = pixels == 0 || (pixels >= DefaultGutter && pixels <= viewport()->width() / 5);
    if (!accepted || pixels == m_gutter)
        return;
    m_gutter = pixels;
    ActiveSettings().gutterWidth = pixels;
    if (m_wrapAtColumn == 0)
        reflowAll();
    updateScrollBars();
    invalidate();
}

void TSourceMemo::SetMargin(int pixels)
{
    if (pixels < 0 || pixels > m_charWidth || pixels == m_margin)
        return;
    m_margin = pixels;
    ActiveSettings().marginWidth = pixels;
    if (m_wrapAtColumn == 0)
        reflowAll();
    invalidate();
}

void TSourceMemo::SetRightMargin(int column)
{
    m_rightMargin = std::max(column, 0);
    ActiveSettings().rightMargin = m_rightMargin;
    invalidate();
}

void TSourceMemo::SetOptions(uint32_t options)
{
    const uint32_t changed = options ^ m_editor->Settings.Options;
    // Word wrap has no horizontal scrolling: switching it resets the first column.
    if (changed & smoWordWrap)
        m_leftCol = 0;
    m_editor->Settings.Options = options;
    ActiveSettings().options = static_cast<int32_t>(options);
    if (changed & smoSyntaxHighlight)
        highlightingSwitched();
    if (changed & (smoWordWrap | smoWrapOverride | smoShowGutter))
        reflowAll();
    updateScrollBars();
    invalidate();
}

void TSourceMemo::SetReadOnly(bool readOnly)
{
    m_editor->Settings.ReadOnly = readOnly;
    Changed(cfOptionsChanged);
}

void TSourceMemo::ApplySettings()
{
    applyParserSettings(); // styles, settings, metrics, re-flow, re-highlight, repaint
}

void TSourceMemo::SetHideSelection(bool hide)
{
    m_hideSelection = hide;
    invalidate();
}

void TSourceMemo::SetScrollBars(TScrollStyle bars)
{
    m_scrollBars = bars;
    const bool across = bars == ssHorizontal || bars == ssBoth;
    const bool down = bars == ssVertical || bars == ssBoth;
    setHorizontalScrollBarPolicy(across ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(down ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    updateScrollBars();
}

void TSourceMemo::SetBorderStyle(TBorderStyle style)
{
    m_borderStyle = style;
    setFrameShape(style == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

void TSourceMemo::SetPaintLock(bool locked)
{
    m_paintLock = locked;
    viewport()->setUpdatesEnabled(!PaintingOff());
    if (!PaintingOff()) {
        updateScrollBars();
        viewport()->update();
    }
}

void TSourceMemo::SetRedraw(bool on)
{
    m_redrawOff = !on;
    viewport()->setUpdatesEnabled(!PaintingOff());
    if (!PaintingOff()) {
        updateScrollBars();
        viewport()->update();
    }
}

void TSourceMemo::invalidate(const QRect& area)
{
    if (m_repaintSuppressed)
        return;
    if (area.isNull())
        viewport()->update();
    else
        viewport()->update(area);
}


void TSourceMemo::SetTokenStyles(const std::array<TTokenStyle, 256>& styles)
{
    setStyles(styles);
    invalidate();
}

void TSourceMemo::setStyles(const std::array<TTokenStyle, 256>& styles)
{
    m_styles = styles;
    for (size_t token = 0; token < styles.size(); ++token)
        m_faceOfToken[token] = static_cast<uint8_t>(styles[token].Bold | (styles[token].Italic << 1) |
                                                    (styles[token].Underline << 2));
}

void TSourceMemo::rebuildMetrics()
{
    measureFonts(m_font);
    reflowAll();
    updateScrollBars();
    invalidate();
}

// Metrics are taken in bold italic so the widest style fits; a fixed-pitch face is measured
// again in its normal style for the width.
void TSourceMemo::measureFonts(const QFont& font)
{
    QFont boldItalic = font;
    boldItalic.setBold(true);
    boldItalic.setItalic(true);
    const QFontMetrics metrics(boldItalic);
    m_lineHeight = metrics.height() + metrics.leading() + 1;
    m_ascent = metrics.ascent();
    m_charWidth = metrics.averageCharWidth();
    const bool fixedPitch = metrics.horizontalAdvance('i') == metrics.horizontalAdvance('W');
    if (fixedPitch)
        m_charWidth = qRound(QFontMetricsF(font).horizontalAdvance('W'));
    if (m_charWidth <= 0)
        m_charWidth = 7;
    if (m_lineHeight <= 1)
        m_lineHeight = 17;
    // A fixed-pitch face is drawn on a grid of m_charWidth columns, whatever its fractional
    // advance or its bold advance; any other face at its own advances.
    m_advances = TGlyphAdvances::Grid(m_charWidth);
    m_fixedPitch = fixedPitch;
    QChar characters[256];
    for (int byte = 0; byte < 256; ++byte)
        characters[byte] = QChar(static_cast<char16_t>(cp1252ToUnicode(static_cast<uint8_t>(byte))));
    for (size_t face = 0; face < m_styleFonts.size(); ++face) {
        QFont styled = font;
        styled.setBold(face & 1);
        styled.setItalic(face & 2);
        styled.setUnderline(face & 4);
        m_styleFonts[face] = styled;
        m_rawFonts[face] = QRawFont::fromFont(styled);
        int count = 256;
        if (!m_rawFonts[face].glyphIndexesForChars(characters, 256, m_glyphOfByte[face].data(), &count))
            m_glyphOfByte[face].fill(0);
        if (fixedPitch)
            continue;
        const QList<quint32> glyphs(m_glyphOfByte[face].begin(), m_glyphOfByte[face].end());
        const QList<QPointF> advances = m_rawFonts[face].advancesForGlyphIndexes(glyphs);
        for (int byte = 0; byte < 256 && byte < advances.size(); ++byte)
            m_advances.Advance[face][static_cast<size_t>(byte)] = advances[byte].x();
    }
}

// ---- geometry ---------------------------------------------------------------------------------

int TSourceMemo::TextLeft() const
{
    return m_margin + ((Options() & smoShowGutter) ? m_gutter : 0);
}

int64_t TSourceMemo::VisibleRows() const
{
    return std::max(viewport()->height() / m_lineHeight, 1);
}

void TSourceMemo::SetTopRow(int64_t row)
{
    const int64_t top = std::clamp<int64_t>(row, 0, std::max<int64_t>(m_store->RowCount() - 1, 0));
    if (top == m_topRow)
        return;
    m_topRow = top;
    m_store->TopRowChanged();
    updateScrollBars();
    invalidate();
}

void TSourceMemo::SetLeftCol(int64_t column)
{
    const int visibleCols = std::max((viewport()->width() - TextLeft()) / m_charWidth, 1);
    const int64_t most = (Options() & smoWordWrap) ? 0 : std::max<int64_t>(m_store->LongestRow() - visibleCols + 1, 0);
    column = std::clamp<int64_t>(column, 0, most);
    if (column == m_leftCol)
        return;
    m_leftCol = column;
    updateScrollBars();
    invalidate();
}

int64_t TSourceMemo::rowAtY(int y) const
{
    return m_topRow + std::max(y, 0) / m_lineHeight;
}

void TSourceMemo::layoutRow(TDisplayLine& line, const TTextRow& row) const
{
    layoutText(line, row, 0, row.TextLength());
}

void TSourceMemo::layoutText(TDisplayLine& line, const TTextRow& row, int first, int count) const
{
    uint8_t buffer[kMaxRowLength];
    const uint8_t* tokens = shownTokens(row, buffer);
    line.Layout(row.Text() + first, count, tokens ? tokens + first : nullptr, TTabStops(m_editor->Settings));
    line.Place(m_advances, m_faceOfToken);
}

QPoint TSourceMemo::PosFromChar(int64_t offset) const
{
    const TRowSpot spot = m_store->RowAt(offset);
    const bool pastEol = offset == m_editor->SelCaret() && m_editor->PastEol();
    double x = pastEol ? static_cast<double>(m_editor->CaretColumn()) * m_charWidth : 0;
    if (spot.Row) {
        TDisplayLine line;
        layoutRow(line, *spot.Row);
        const int inRow = static_cast<int>(std::min<int64_t>(offset - spot.Start, line.CharCount()));
        x = line.XOfColumn(pastEol ? m_editor->CaretColumn() : line.ColumnOfChar[static_cast<size_t>(inRow)]);
    }
    return {TextLeft() + static_cast<int>(std::lround(x - scrolledWidth())),
            static_cast<int>((spot.Index - m_topRow) * m_lineHeight)};
}

int64_t TSourceMemo::offsetInRow(const TRowSpot& spot, int x) const
{
    if (!spot.Row)
        return m_store->CharCount();
    TDisplayLine line;
    layoutRow(line, *spot.Row);
    // The nearer edge of the character under the pointer. When the line goes on in the next
    // row, the offset after this row's last character belongs to that row.
    const int column = line.ColumnNearest(x - TextLeft() + scrolledWidth());
    const bool continues = !spot.Row->EndsLine() && spot.Row->Next;
    const int last = continues ? spot.Row->Length - 1 : line.CharCount();
    return spot.Start + std::min(line.CharAtColumn(column), last);
}

int64_t TSourceMemo::CharFromPos(QPoint point) const
{
    if (point.x() < TextLeft() || point.y() < 0 || point.y() >= viewport()->height())
        return -1;
    const int64_t row = rowAtY(point.y());
    if (row >= m_store->RowCount())
        return m_store->CharCount();
    return offsetInRow(m_store->RowByIndex(row), point.x());
}

// ---- scrolling --------------------------------------------------------------------------------

void TSourceMemo::updateScrollBars()
{
    if (PaintingOff())
        return;
    const TVerticalScroll vertical = VerticalScroll(m_store->RowCount(), VisibleRows(), m_topRow);
    // The bars' signals stay connected so that the scroll area shows or hides a bar as its
    // range changes; the view's own position is not taken back from the bars meanwhile.
    const bool wasSetting = std::exchange(m_settingBars, true);
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, vertical.Maximum);
    bar->setPageStep(vertical.ViewPage);
    bar->setValue(vertical.Position);

    const int visibleCols = std::max((viewport()->width() - TextLeft()) / m_charWidth, 1);
    QScrollBar* across = horizontalScrollBar();
    const bool scrolls = !(Options() & smoWordWrap) && (m_scrollBars == ssHorizontal || m_scrollBars == ssBoth);
    across->setRange(0, scrolls ? std::max(m_store->LongestRow() - visibleCols + 1, 0) : 0);
    across->setPageStep(visibleCols);
    across->setValue(static_cast<int>(m_leftCol));
    m_settingBars = wasSetting;
}

void TSourceMemo::scrollContentsBy(int, int)
{
    if (m_settingBars)
        return;
    const int64_t top = TopRowForThumb(m_store->RowCount(), verticalScrollBar()->value());
    if (top != m_topRow) {
        m_topRow = top;
        m_store->TopRowChanged();
    }
    m_leftCol = horizontalScrollBar()->value();
    // The range follows the top row (a short document scrolled back to its top needs no bar),
    // but not under a dragged thumb, which would jump.
    if (!verticalScrollBar()->isSliderDown())
        updateScrollBars();
    viewport()->update();
}

void TSourceMemo::scrollToColumn(int64_t column)
{
    const int visibleCols = std::max((viewport()->width() - TextLeft()) / m_charWidth, 1);
    if (column < m_leftCol)
        m_leftCol = std::max<int64_t>(column - visibleCols / 4, 0);
    else if (column >= m_leftCol + visibleCols)
        m_leftCol = column - visibleCols * 3 / 4;
}

void TSourceMemo::ScrollCaretIntoView()
{
    flushReflow();
    const int64_t caret = m_editor->SelCaret();
    const TRowSpot spot = m_store->RowAt(caret);
    const int64_t row = spot.Index;
    const int64_t visible = VisibleRows();
    const int64_t oldTop = m_topRow;
    const int64_t oldLeft = m_leftCol;
    if (row < m_topRow)
        m_topRow = row;
    else if (row >= m_topRow + visible)
        m_topRow = row - visible + 1;
    m_topRow = std::clamp<int64_t>(m_topRow, 0, std::max<int64_t>(m_store->RowCount() - 1, 0));
    if (m_topRow != oldTop)
        m_store->TopRowChanged();
    // Columns of the scroll are cells: a proportional row is scrolled by where the caret stands.
    if (!(Options() & smoWordWrap))
        scrollToColumn(static_cast<int64_t>(std::floor((PosFromChar(caret).x() - TextLeft()) / double(m_charWidth))) +
                       m_leftCol);
    updateScrollBars();
    if (m_topRow != oldTop || m_leftCol != oldLeft) {
        invalidate();
        return;
    }
    // The view stays: only the rows of the selection and caret as painted and as they are now.
    const TSelectionPair now = m_editor->Selection();
    invalidateOffsets(std::min({now.Anchor, now.Caret, m_paintedSelStart}),
                      std::max({now.Anchor, now.Caret, m_paintedSelEnd}));
}

void TSourceMemo::invalidateOffsets(int64_t from, int64_t to)
{
    const int64_t first = m_store->RowAt(std::max<int64_t>(from, 0)).Index - m_topRow;
    const int64_t last = m_store->RowAt(std::max<int64_t>(to, 0)).Index - m_topRow;
    const int64_t visible = VisibleRows();
    if (last < 0 || first > visible)
        return;
    const int top = static_cast<int>(std::max<int64_t>(first, 0) * m_lineHeight);
    const int bottom = static_cast<int>((std::min(last, visible) + 1) * m_lineHeight);
    invalidate(QRect(0, top, viewport()->width(), bottom - top));
}

void TSourceMemo::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    // Many sizes may follow while a window is dragged; the rows are cut for the last one.
    if ((Options() & smoWordWrap) && m_wrapAtColumn == 0 && event->size().width() != event->oldSize().width())
        m_reflowAllPending = true;
    updateScrollBars();
    Changed(cfViewResized);
}

// ---- the store and the editing core ---------------------------------------------------------

void TSourceMemo::textChanged(int64_t position, int64_t length)
{
    noteWrapEdit(position, length);
    if (OnTextChange)
        OnTextChange(this, position, length);
}

void TSourceMemo::RowsChanged(const TRowChange& change)
{
    m_pendingRow = m_pendingRow < 0 ? change.FirstIndex : std::min(m_pendingRow, change.FirstIndex);
    const int64_t onScreen = change.FirstIndex - m_topRow;
    if (change.RowDelta == 0 && change.First && change.First->Next == change.After) {
        // One row changed in its place: the rows around it stay as painted.
        const int y = static_cast<int>(onScreen * m_lineHeight);
        invalidate(QRect(0, y, viewport()->width(), m_lineHeight));
        return;
    }
    // Rows from the first changed one down may have moved; rows above stay as painted.
    const int y = static_cast<int>(std::max<int64_t>(onScreen - 1, 0) * m_lineHeight);
    invalidate(QRect(0, y, viewport()->width(), viewport()->height() - y));
}

void TSourceMemo::DocumentCleared()
{
    m_topRow = 0;
    m_leftCol = 0;
    invalidate();
}

void TSourceMemo::DocumentLoaded()
{
    m_topRow = 0;
    m_leftCol = 0;
    m_wrapDirtyStart = -1;
    reflowAll();
    m_editor->SetSelection(0, 0);
    updateScrollBars();
    invalidate();
}

void TSourceMemo::FileNameUsed(const std::string& fileName)
{
    if (Options() & smoTitleAsFilename)
        m_title = fileName;
}

void TSourceMemo::CaretShapeChanged()
{
    invalidate();
}

void TSourceMemo::Beep()
{
    QApplication::beep();
}

void TSourceMemo::Changed(uint32_t changeFlags)
{
    flushReflow();
    if (changeFlags & (cfTextChanged | cfCaretMoved))
        updateScrollBars();
    if (OnChange)
        OnChange(this);
}
