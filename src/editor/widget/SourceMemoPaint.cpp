// Painting of the editor control: only the rows inside the damaged area are laid out and drawn,
// found through the store's index from the top row, so the cost never depends on the size of
// the document.
#include "editor/widget/SourceMemo.h"

#include "editor/marks/Breakpoints.h"
#include "editor/view/GutterCell.h"
#include "platform/QtText.h"

#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

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
        TRunPlacement place;
        place.Left = TextLeft() - scrolledWidth();
        place.Clip = QRect(TextLeft(), y, width - TextLeft(), m_lineHeight);
        place.SelStart = std::min(selection.Anchor, selection.Caret);
        place.SelEnd = std::max(selection.Anchor, selection.Caret);
        place.ShowMarks = Options() & smoShowAllChars;
        paintRuns(painter, *spot.Row, 0, spot.Row->TextLength(), spot.Start, y, place);
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

// Characters [first, first + count) of a row in runs of equal token byte and selection state,
// laid out from place.Left as a line of their own. The screen paints whole rows; a printed
// row is a piece of one.
void TSourceMemo::paintRuns(QPainter& painter, const TTextRow& row, int first, int count, int64_t start, int y,
                            const TRunPlacement& place)
{
    layoutText(m_line, row, first, count);
    const int columns = m_line.Columns();
    const double left = place.Left; // the device x of the piece's start
    const auto screenX = [&](int column) { return static_cast<int>(std::lround(left + m_line.XOfColumn(column))); };
    const int firstCol = std::min(m_line.ColumnUnder(place.Clip.left() - left), columns);
    const int lastCol = std::min(columns, m_line.ColumnUnder(place.Clip.left() + place.Clip.width() - left) + 1);
    auto selectedAt = [&](int column) {
        const int64_t offset = start + m_line.CharAtColumn(column);
        return offset >= place.SelStart && offset < place.SelEnd;
    };
    painter.save();
    painter.setClipRect(place.Clip);
    for (int column = firstCol; column < lastCol;) {
        const uint8_t token = m_line.Tokens[static_cast<size_t>(column)];
        const bool selected = selectedAt(column);
        int end = column + 1;
        while (end < lastCol && m_line.Tokens[static_cast<size_t>(end)] == token && selectedAt(end) == selected)
            ++end;
        const TTokenStyle& style = m_styles[token];
        const QRect box(screenX(column), y, screenX(end) - screenX(column), m_lineHeight);
        const QColor back = m_rowColours.Active ? m_rowColours.Back : style.Background;
        if (!place.Transparent || selected)
            painter.fillRect(box, selected ? m_selBack : back);
        painter.setPen(selected ? m_selText : m_rowColours.Active ? m_rowColours.Text : style.Foreground);
        drawGlyphs(painter, m_faceOfToken[token], column, end, left + m_line.XOfColumn(column), y + m_ascent,
                   style.Underline);
        if (place.ShowMarks)
            paintBlankMarks(painter, row.Text() + first, left, column, end, y, selected ? m_selBack : back);
        column = end;
    }
    // A selected line break shows as one selected cell after the text.
    const bool rowEnd = first + count >= row.TextLength();
    const int64_t breakOffset = start + count;
    const QRect endCell(screenX(columns), y, m_charWidth, m_lineHeight);
    if (rowEnd && row.EndsLine() && breakOffset >= place.SelStart && breakOffset < place.SelEnd)
        painter.fillRect(endCell, m_selBack);
    const bool continues = !row.EndsLine() && row.Next && row.Next->IsContinuation();
    if (place.ShowMarks && rowEnd && (row.EndsLine() || continues))
        drawLineEndMark(painter, endCell, inverseOf(m_styles[0].Background), continues);
    painter.restore();
}

void TSourceMemo::drawGlyphs(QPainter& painter, int face, int first, int end, double x, int baseline, bool underline)
{
    const auto& glyphOf = m_glyphOfByte[static_cast<size_t>(face)];
    const double start = m_line.XOfColumn(first);
    m_runGlyphs.clear();
    m_runPositions.clear();
    for (int column = first; column < end; ++column) {
        m_runGlyphs.push_back(glyphOf[static_cast<uint8_t>(m_line.Text[static_cast<size_t>(column)])]);
        m_runPositions.push_back(QPointF(m_line.XOfColumn(column) - start, 0));
    }
    QGlyphRun run;
    run.setRawFont(m_rawFonts[static_cast<size_t>(face)]);
    run.setGlyphIndexes(m_runGlyphs);
    run.setPositions(m_runPositions);
    run.setUnderline(underline);
    painter.drawGlyphRun(QPointF(x, baseline), run);
}

// Blanks and TABs of columns [first, end) marked in the inverse of their background; text is
// the laid-out piece's first byte and left the x of its start.
void TSourceMemo::paintBlankMarks(QPainter& painter, const char* text, double left, int first, int end, int y,
                                  QColor background)
{
    const QColor mark = inverseOf(background);
    for (int column = first; column < end;) {
        const int character = m_line.CharAtColumn(column);
        const int next = m_line.ColumnOfChar[static_cast<size_t>(character) + 1];
        const int x = static_cast<int>(std::lround(left + m_line.XOfColumn(column)));
        const int width = static_cast<int>(std::lround(left + m_line.XOfColumn(next))) - x;
        if (text[character] == ' ')
            drawSpaceMark(painter, x, y, width, m_lineHeight, mark);
        else if (text[character] == '\t')
            drawTabMark(painter, QRect(x, y, width, m_lineHeight), mark);
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
    if (!m_editor->InsertMode() && (Options() & smoBlockOverwriteCursor)) {
        // As wide as the character under the caret; a cell past the end of the row.
        const int64_t caret = m_editor->SelCaret();
        const TRowSpot spot = m_store->RowAt(caret);
        width = m_charWidth;
        if (spot.Row && !m_editor->PastEol() && caret - spot.Start < spot.Row->TextLength())
            width = std::max(PosFromChar(caret + 1).x() - at.x(), 1);
    }
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(QRect(at.x(), at.y(), width, m_lineHeight), Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
