// Painting of the editor control: only the rows inside the damaged area are laid out and drawn,
// found through the store's index from the top row, so the cost never depends on the size of
// the document.
#include "editor/widget/SourceMemo.h"

#include "editor/marks/Breakpoints.h"
#include "editor/view/GutterCell.h"
#include "platform/QtText.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace {

const QColor silver(0xC0, 0xC0, 0xC0);

// A bookmark image: a small numbered flag, drawn rather than loaded.
void drawBookmark(QPainter& painter, QRect cell, int number)
{
    const QRect flag(cell.left() + 2, cell.top() + (cell.height() - 12) / 2, 12, 12);
    painter.setPen(QColor(0, 0, 128));
    painter.setBrush(QColor(0, 160, 160));
    painter.drawRect(flag.adjusted(0, 0, -1, -1));
    QFont font = painter.font();
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(flag, Qt::AlignCenter, QString::number(number));
}

// The glyph beside a row that continues the line above: a small hooked arrow.
void drawWrapGlyph(QPainter& painter, QRect cell)
{
    const int x = cell.left() + 4;
    const int y = cell.top() + cell.height() / 2;
    painter.setPen(QPen(QColor(0, 0, 128), 1));
    painter.drawLine(x, y - 4, x, y);
    painter.drawLine(x, y, x + 7, y);
    painter.drawLine(x + 7, y, x + 5, y - 2);
    painter.drawLine(x + 7, y, x + 5, y + 2);
}

// Marks for blanks, TABs and line ends when every character is shown.
void drawSpaceMark(QPainter& painter, int x, int y, int width, int lineHeight, QColor colour)
{
    const int cx = x + width / 2;
    const int cy = y + lineHeight / 2 - lineHeight / 4 + lineHeight / 4;
    painter.fillRect(QRect(cx, cy - lineHeight / 4, 1, 1), colour);
}

void drawTabMark(QPainter& painter, QRect box, QColor colour)
{
    const int y = box.center().y();
    painter.setPen(colour);
    painter.drawLine(box.left() + 1, y, box.right() - 1, y);
    painter.drawLine(box.right() - 1, y, box.right() - 3, y - 2);
    painter.drawLine(box.right() - 1, y, box.right() - 3, y + 2);
}

void drawLineEndMark(QPainter& painter, QRect box, QColor colour, bool wrapped)
{
    painter.setPen(colour);
    const int x = box.left() + 2;
    const int y = box.center().y();
    if (wrapped) {
        painter.drawLine(x, y, x + 5, y);
        painter.drawLine(x + 5, y, x + 5, y + 3);
        return;
    }
    // A pilcrow-like mark: a stem and a filled bowl.
    painter.drawLine(x + 3, box.top() + 3, x + 3, box.bottom() - 3);
    painter.drawLine(x + 5, box.top() + 3, x + 5, box.bottom() - 3);
    painter.fillRect(QRect(x, box.top() + 3, 4, 4), colour);
}

} // namespace

void TSourceMemo::paintEvent(QPaintEvent* event)
{
    flushReflow();
    highlightVisibleRows();
    QPainter painter(viewport());
    const QRect area = event->rect();
    const int firstVisible = area.top() / m_lineHeight;
    const int lastVisible = area.bottom() / m_lineHeight;
    m_rowsPainted = 0;
    TRowSpot spot = m_store->RowByIndex(m_topRow + firstVisible);
    if (m_topRow + firstVisible >= m_store->RowCount())
        spot = {};
    // Lines, not rows, are numbered: a line cut into several rows by word wrap counts once.
    int64_t lineNumber = spot.Row ? m_store->LineOfRow(spot.Index) + 1 : 0;
    for (int i = firstVisible; i <= lastVisible; ++i) {
        const int y = i * m_lineHeight;
        paintRow(painter, spot, y, lineNumber);
        if (spot.Row) {
            lineNumber += spot.Row->EndsLine() ? 1 : 0;
            spot.Start += spot.Row->Length;
            spot.Index += 1;
            spot.Row = spot.Row->Next;
            ++m_rowsPainted;
        }
    }
    if (hasFocus() && m_caretVisible)
        paintCaret(painter);
    const TSelectionPair painted = m_editor->Selection();
    m_paintedSelStart = std::min(painted.Anchor, painted.Caret);
    m_paintedSelEnd = std::max(painted.Anchor, painted.Caret);
    paintMouseFeedback(painter);
}

void TSourceMemo::paintRow(QPainter& painter, const TRowSpot& spot, int y, int64_t lineNumber)
{
    const int width = viewport()->width();
    const TTokenStyle& plain = m_styles[0];
    TBreakpointStyle breakpoint;
    m_rowColours.Active = breakpointStyleOf(spot, breakpoint);
    if (m_rowColours.Active) {
        m_rowColours.Text = colorFromColorRef(static_cast<int32_t>(breakpoint.Text));
        m_rowColours.Back = colorFromColorRef(static_cast<int32_t>(breakpoint.Background));
    }
    painter.fillRect(QRect(TextLeft(), y, width - TextLeft(), m_lineHeight),
                     m_rowColours.Active ? m_rowColours.Back : plain.Background);
    paintGutter(painter, spot, y, lineNumber);
    if (m_margin > 0) {
        const int left = (Options() & smoShowGutter) ? m_gutter : 0;
        painter.fillRect(QRect(left, y, m_margin, m_lineHeight), m_marginColor);
    }
    TLineDrawData line;
    if (spot.Row && OnDrawLine) {
        line.Text = std::string_view(spot.Row->Text(), static_cast<size_t>(spot.Row->TextLength()));
        line.Canvas = &painter;
        line.Rect = QRect(TextLeft(), y, width - TextLeft(), m_lineHeight);
        line.RowStart = spot.Start;
        line.FirstColumn = m_leftCol;
        line.Length = spot.Row->TextLength();
        painter.save();
        OnDrawLine(this, line);
        painter.restore();
    }
    if (spot.Row && !line.Handled) {
        TSelectionPair selection = m_editor->Selection();
        if (m_hideSelection && !hasFocus() && !m_templateList)
            selection = {};
        paintRuns(painter, spot, y, std::min(selection.Anchor, selection.Caret),
                  std::max(selection.Anchor, selection.Caret));
    }
    if ((Options() & smoWordWrap) && (Options() & smoShowWrapColumn) && m_wrapAtColumn >= 1) {
        const int x = TextLeft() + static_cast<int>((m_wrapAtColumn - m_leftCol) * m_charWidth);
        if (x >= TextLeft() && x < width) {
            painter.setPen(QPen(silver, 1, Qt::DotLine));
            painter.drawLine(x, y, x, y + m_lineHeight - 1);
        }
    }
    if (m_showFocusLine && spot.Row && spot.Index == m_store->RowAt(m_editor->SelCaret()).Index) {
        painter.setPen(inverseOf(plain.Background));
        painter.drawLine(TextLeft(), y, width, y);
        painter.drawLine(TextLeft(), y + m_lineHeight - 1, width, y + m_lineHeight - 1);
    }
    if (Options() & smoShowRMargin) {
        const int x = TextLeft() + static_cast<int>((m_rightMargin - m_leftCol) * m_charWidth);
        if (x >= TextLeft() && x < width) {
            painter.setPen(silver);
            painter.drawLine(x, y, x, y + m_lineHeight - 1);
        }
    }
    paintMarks(painter, spot, y);
    m_rowColours.Active = false;
}

void TSourceMemo::paintGutter(QPainter& painter, const TRowSpot& spot, int y, int64_t lineNumber)
{
    if (!(Options() & smoShowGutter) || m_gutter <= 0)
        return;
    const QRect cell(0, y, m_gutter, m_lineHeight);
    painter.fillRect(cell, m_gutterColor);
    if (m_gutter > 9) {
        painter.setPen(Qt::white);
        painter.drawLine(m_gutter - 2, y, m_gutter - 2, y + m_lineHeight - 1);
    }
    if (!spot.Row)
        return;
    TBreakpointStyle breakpoint;
    const int image = breakpointStyleOf(spot, breakpoint) ? breakpoint.Image : -1;
    const TGutterCell content = GutterCellOf(*spot.Row, lineNumber, Options() & smoLineNumbers, image);
    switch (content.What) {
    case TGutterCell::Bookmark:
        drawBookmark(painter, cell, static_cast<int>(content.Value));
        // A mark or breakpoint beside the bookmark, where the gutter has room for both.
        if (content.Image >= 0 && m_gutter >= 2 * 17)
            paintGutterImage(painter, cell.adjusted(16, 0, 0, 0), content.Image);
        break;
    case TGutterCell::Mark:
        paintGutterImage(painter, cell, static_cast<int>(content.Value));
        break;
    case TGutterCell::LineNumber:
        painter.setFont(m_gutterFont);
        painter.setPen(m_gutterTextColor);
        painter.drawText(QRect(2, y, m_gutter - 4, m_lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::number(content.Value));
        break;
    case TGutterCell::Empty:
        if (spot.Row->IsContinuation() && (Options() & smoShowWrapGlyph))
            drawWrapGlyph(painter, cell);
        break;
    }
}

// The row's characters in runs of equal token byte and selection state.
void TSourceMemo::paintRuns(QPainter& painter, const TRowSpot& spot, int y, int64_t selStart, int64_t selEnd)
{
    const TTextRow& row = *spot.Row;
    m_line.Layout(row.Text(), row.TextLength(), shownTokens(row), TTabStops(m_editor->Settings));
    const int columns = m_line.Columns();
    const int visibleCols = (viewport()->width() - TextLeft()) / m_charWidth + 2;
    const int firstCol = static_cast<int>(std::min<int64_t>(m_leftCol, columns));
    const int lastCol = std::min(columns, firstCol + visibleCols);
    auto selectedAt = [&](int column) {
        const int64_t offset = spot.Start + m_line.CharAtColumn(column);
        return offset >= selStart && offset < selEnd;
    };
    painter.save();
    painter.setClipRect(QRect(TextLeft(), y, viewport()->width() - TextLeft(), m_lineHeight));
    for (int column = firstCol; column < lastCol;) {
        const uint8_t token = m_line.Tokens[static_cast<size_t>(column)];
        const bool selected = selectedAt(column);
        int end = column + 1;
        while (end < lastCol && m_line.Tokens[static_cast<size_t>(end)] == token && selectedAt(end) == selected)
            ++end;
        const TTokenStyle& style = m_styles[token];
        const int x = TextLeft() + (column - static_cast<int>(m_leftCol)) * m_charWidth;
        const QRect box(x, y, (end - column) * m_charWidth, m_lineHeight);
        const QColor back = m_rowColours.Active ? m_rowColours.Back : style.Background;
        painter.fillRect(box, selected ? m_selBack : back);
        painter.setFont(m_styleFonts[static_cast<size_t>(style.Bold | (style.Italic << 1) | (style.Underline << 2))]);
        painter.setPen(selected ? m_selText : m_rowColours.Active ? m_rowColours.Text : style.Foreground);
        const std::string_view bytes(m_line.Text.data() + column, static_cast<size_t>(end - column));
        painter.drawText(x, y + m_ascent, cp1252ToQString(bytes));
        if (Options() & smoShowAllChars)
            paintBlankMarks(painter, spot, column, end, y, selected ? m_selBack : back);
        column = end;
    }
    // A selected line break shows as one selected cell after the text.
    const int64_t breakOffset = spot.Start + row.TextLength();
    const QRect endCell(TextLeft() + static_cast<int>((columns - m_leftCol) * m_charWidth), y, m_charWidth,
                        m_lineHeight);
    if (row.EndsLine() && breakOffset >= selStart && breakOffset < selEnd)
        painter.fillRect(endCell, m_selBack);
    const bool continues = !row.EndsLine() && row.Next && row.Next->IsContinuation();
    if ((Options() & smoShowAllChars) && (row.EndsLine() || continues))
        drawLineEndMark(painter, endCell, inverseOf(m_styles[0].Background), continues);
    painter.restore();
}

// Blanks and TABs of columns [first, end) marked in the inverse of their background.
void TSourceMemo::paintBlankMarks(QPainter& painter, const TRowSpot& spot, int first, int end, int y, QColor background)
{
    const QColor mark = inverseOf(background);
    const TTextRow& row = *spot.Row;
    for (int column = first; column < end;) {
        const int character = m_line.CharAtColumn(column);
        const int next = m_line.ColumnOfChar[static_cast<size_t>(character) + 1];
        const int x = TextLeft() + (column - static_cast<int>(m_leftCol)) * m_charWidth;
        if (row.Text()[character] == ' ')
            drawSpaceMark(painter, x, y, m_charWidth, m_lineHeight, mark);
        else if (row.Text()[character] == '\t')
            drawTabMark(painter, QRect(x, y, (next - column) * m_charWidth, m_lineHeight), mark);
        column = next;
    }
}

QColor TSourceMemo::inverseOf(QColor background)
{
    return QColor(background.rgb() ^ 0xFFFFFF);
}

void TSourceMemo::paintCaret(QPainter& painter)
{
    const QPoint at = PosFromChar(m_editor->SelCaret());
    if (at.x() < TextLeft() || at.y() < 0 || at.y() >= viewport()->height())
        return;
    int width = 2;
    if (!m_editor->InsertMode() && (Options() & smoBlockOverwriteCursor))
        width = m_charWidth;
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(QRect(at.x(), at.y(), width, m_lineHeight), Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
