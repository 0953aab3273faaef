// Drag and drop of the editor control: text dragged out of the selection, text and files
// dropped onto the control, and the right-margin line dragged to another column. What a drop
// does to the text is the editing core's business (TSourceEditor::DropText); this file maps
// pointer positions and Qt's drag events onto it.
#include "editor/widget/SourceMemo.h"

#include "platform/QtText.h"

#include <QTimer>
#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <cstdlib>

namespace {

// The widest right margin the dragged line sets; rows never hold more.
constexpr int kMaxRightMargin = 2047;
// How close to the right-margin line (in pixels) the pointer picks it up.
constexpr int kMarginGrip = 2;

// Text for other programs: line breaks as CR LF.
std::string withCrLf(const std::string& stored)
{
    std::string out;
    out.reserve(stored.size() + stored.size() / 16);
    for (const char c : stored) {
        out += c;
        if (c == '\r')
            out += '\n';
    }
    return out;
}

} // namespace

// ---- dragging text out --------------------------------------------------------------------------

// The character whose cell holds the pointer: a row's line break counts as the cell after its
// text; -1 past that or below the last row.
int64_t TSourceMemo::charUnderPointer(QPoint at) const
{
    if (at.x() < TextLeft() || at.y() < 0)
        return -1;
    const TRowSpot spot = m_store->RowByIndex(rowAtY(at.y()));
    if (!spot.Row || rowAtY(at.y()) >= m_store->RowCount())
        return -1;
    TDisplayLine line;
    layoutRow(line, *spot.Row);
    const int64_t column = line.ColumnUnder(at.x() - TextLeft() + scrolledWidth());
    if (column < line.Columns())
        return spot.Start + line.CharAtColumn(static_cast<int>(column));
    if (column == line.Columns() && spot.Row->EndsLine())
        return spot.Start + spot.Row->TextLength();
    return -1;
}

// Runs the drag of the selected text. A drop onto the control itself moves or copies the text
// there (dropText); a move into another program removes the text here afterwards.
void TSourceMemo::startTextDrag()
{
    m_dragArmed = false;
    const TSelectionPair selection = m_editor->Selection();
    const std::string text = withCrLf(m_store->GetText(selection.Start(), selection.End()));
    auto* mime = new QMimeData;
    mime->setText(cp1252ToQString(text));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const Qt::DropActions allowed = ReadOnly() ? Qt::CopyAction : (Qt::CopyAction | Qt::MoveAction);
    m_ownDrag = {selection.Start(), selection.End(), false};
    m_ownDragDropped = false;
    const QPointer<TSourceMemo> alive(this);
    Qt::DropAction result = Qt::IgnoreAction;
    if (m_dragExecutor) {
        result = m_dragExecutor(*drag, allowed);
        drag->deleteLater();
    } else {
        // exec deletes the drag object itself once the drag is over.
        result = drag->exec(allowed, ReadOnly() ? Qt::CopyAction : Qt::MoveAction);
    }
    if (!alive)
        return; // the control went away while the drag ran
    m_ownDrag = {};
    setDropOffset(-1);
    if (result == Qt::MoveAction && !m_ownDragDropped)
        m_editor->RemoveDraggedText(selection.Start(), selection.End(), text);
    m_editor->NotifyChange();
    viewport()->update();
}

// ---- dropping onto the control ------------------------------------------------------------------

// Files from the desktop go to the host, before any text the same data may carry.
bool TSourceMemo::acceptsFiles(const QMimeData& mime) const
{
    return mime.hasUrls() && (Options() & smoProcessDroppedFiles) && OnFilesDropped;
}

int64_t TSourceMemo::dropOffsetAt(QPoint at) const
{
    return CharFromPos(QPoint(std::max(at.x(), TextLeft()), at.y()));
}

// What a drop at offset would do: its own text moves unless Ctrl is held; text from elsewhere
// is taken as the source offers it. The host's OnOLEDragOver has the last word.
Qt::DropAction TSourceMemo::dropEffectAt(const QDropEvent& event, int64_t offset)
{
    const Qt::DropActions possible = event.possibleActions();
    Qt::DropAction effect = Qt::IgnoreAction;
    if (m_ownDrag.Own()) {
        const bool copy = (event.modifiers() & Qt::ControlModifier) || !(possible & Qt::MoveAction);
        effect = copy ? Qt::CopyAction : Qt::MoveAction;
    } else if (event.proposedAction() == Qt::CopyAction ||
               event.proposedAction() == Qt::MoveAction) {
        effect = event.proposedAction();
    } else if (possible & Qt::CopyAction) {
        effect = Qt::CopyAction;
    }
    if (!(possible & effect) || !event.mimeData()->hasText() || offset < 0 ||
        !m_editor->AcceptsDrop(offset, dropSource(effect)))
        effect = Qt::IgnoreAction;
    if (OnOLEDragOver)
        OnOLEDragOver(this, event.mimeData(), event.position().toPoint(), effect);
    if (!(possible & effect))
        return Qt::IgnoreAction; // the source cannot do what the hook asked
    return effect;
}

TDropSource TSourceMemo::dropSource(Qt::DropAction effect) const
{
    if (!m_ownDrag.Own())
        return {};
    return {m_ownDrag.Start, m_ownDrag.End, effect == Qt::MoveAction};
}

void TSourceMemo::setDropOffset(int64_t offset)
{
    if (offset == m_dropOffset)
        return;
    const QSize bar(3, m_lineHeight);
    if (m_dropOffset >= 0)
        viewport()->update(QRect(PosFromChar(m_dropOffset), bar));
    m_dropOffset = offset;
    if (m_dropOffset >= 0)
        viewport()->update(QRect(PosFromChar(m_dropOffset), bar));
}

void TSourceMemo::dragEnterEvent(QDragEnterEvent* event)
{
    if (acceptsFiles(*event->mimeData())) {
        event->acceptProposedAction();
        return;
    }
    // Entering over a place that refuses the drop (such as the dragged selection itself) must
    // still let the drag go on to places that take it: the enter is accepted for any text.
    dragMoveEvent(event);
    if (event->mimeData()->hasText() && !ReadOnly())
        event->accept();
}

void TSourceMemo::scrollForDrop(QPoint at)
{
    m_dropAt = at;
    const int edge = std::max(m_lineHeight / 2, 4);
    m_dropStep = at.y() < edge ? -1 : at.y() >= viewport()->height() - edge ? 1 : 0;
    if (m_dropStep == 0)
        m_dropScroll->stop();
    else if (!m_dropScroll->isActive())
        m_dropScroll->start();
}

void TSourceMemo::dropScrollTick()
{
    const int64_t before = m_topRow;
    SetTopRow(m_topRow + m_dropStep);
    if (m_topRow == before) {
        m_dropScroll->stop();
        return;
    }
    if (m_dropOffset >= 0)
        setDropOffset(dropOffsetAt(m_dropAt)); // the bar stays under the pointer
}

void TSourceMemo::dragMoveEvent(QDragMoveEvent* event)
{
    if (acceptsFiles(*event->mimeData())) {
        event->acceptProposedAction();
        return;
    }
    scrollForDrop(event->position().toPoint());
    const int64_t offset = dropOffsetAt(event->position().toPoint());
    const Qt::DropAction effect = dropEffectAt(*event, offset);
    if (effect == Qt::IgnoreAction) {
        setDropOffset(-1);
        event->ignore();
        return;
    }
    setDropOffset(offset);
    event->setDropAction(effect);
    event->accept();
}

void TSourceMemo::dragLeaveEvent(QDragLeaveEvent* event)
{
    m_dropScroll->stop();
    setDropOffset(-1);
    event->accept();
}

void TSourceMemo::dropEvent(QDropEvent* event)
{
    m_dropScroll->stop();
    setDropOffset(-1);
    if (!acceptsFiles(*event->mimeData())) {
        dropText(*event);
        return;
    }
    QStringList names;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            names.append(url.toLocalFile());
    }
    if (names.isEmpty())
        return;
    event->acceptProposedAction();
    OnFilesDropped(this, names, event->position().toPoint());
}

void TSourceMemo::dropText(QDropEvent& event)
{
    const int64_t offset = dropOffsetAt(event.position().toPoint());
    const Qt::DropAction effect = dropEffectAt(event, offset);
    if (effect == Qt::IgnoreAction || !m_editor->DropText(qStringToCp1252(event.mimeData()->text()),
                                                          offset, dropSource(effect))) {
        event.ignore();
        return;
    }
    if (m_ownDrag.Own())
        m_ownDragDropped = true;
    event.setDropAction(effect);
    event.accept();
    setFocus(Qt::OtherFocusReason);
    m_editor->NotifyChange();
    viewport()->update();
}

// ---- the right-margin line ----------------------------------------------------------------------

int TSourceMemo::rightMarginX() const
{
    return TextLeft() + static_cast<int>((m_rightMargin - m_leftCol) * m_charWidth);
}

bool TSourceMemo::nearRightMargin(QPoint at) const
{
    if (!(Options() & smoShowRMargin) || at.x() < TextLeft())
        return false;
    const int x = rightMarginX();
    const bool visible = x >= TextLeft() && x < viewport()->width();
    return visible && std::abs(at.x() - x) <= kMarginGrip;
}

void TSourceMemo::hover(QPoint at)
{
    const bool over = nearRightMargin(at);
    if (over == m_overMargin) {
        if (!over)
            hoverLink(at);
        return;
    }
    m_overMargin = over;
    m_overLink = false;
    viewport()->setCursor(over ? Qt::SplitHCursor : Qt::IBeamCursor);
    if (!over)
        hoverLink(at);
}

void TSourceMemo::beginMarginDrag(QPoint at)
{
    m_selecting = false;
    m_dragArmed = false;
    m_overMargin = true;
    viewport()->setCursor(Qt::SplitHCursor);
    m_marginDragX = std::clamp(at.x(), TextLeft(), std::max(viewport()->width() - 1, TextLeft()));
    viewport()->update(QRect(m_marginDragX, 0, 1, viewport()->height()));
}

void TSourceMemo::moveMarginDrag(QPoint at)
{
    const int x = std::clamp(at.x(), TextLeft(), std::max(viewport()->width() - 1, TextLeft()));
    if (x == m_marginDragX)
        return;
    const int height = viewport()->height();
    viewport()->update(QRect(m_marginDragX, 0, 1, height));
    m_marginDragX = x;
    viewport()->update(QRect(m_marginDragX, 0, 1, height));
}

// Ends the drag; keep sets the right margin to the column nearest the line.
void TSourceMemo::endMarginDrag(bool keep)
{
    const int x = m_marginDragX;
    m_marginDragX = -1;
    viewport()->update(QRect(x, 0, 1, viewport()->height()));
    if (!keep)
        return;
    const int64_t column = m_leftCol + (x - TextLeft() + m_charWidth / 2) / m_charWidth;
    const int margin = static_cast<int>(std::clamp<int64_t>(column, 1, kMaxRightMargin));
    if (margin == m_rightMargin)
        return;
    SetRightMargin(margin);
    Changed(cfOptionsChanged);
}

// ---- feedback -----------------------------------------------------------------------------------

void TSourceMemo::paintMouseFeedback(QPainter& painter)
{
    if (m_dropOffset < 0 && m_marginDragX < 0)
        return;
    painter.save();
    painter.setClipRect(
        QRect(TextLeft(), 0, viewport()->width() - TextLeft(), viewport()->height()));
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    if (m_dropOffset >= 0)
        painter.fillRect(QRect(PosFromChar(m_dropOffset), QSize(2, m_lineHeight)), Qt::white);
    if (m_marginDragX >= 0)
        painter.fillRect(QRect(m_marginDragX, 0, 1, viewport()->height()), Qt::white);
    painter.restore();
}
