// Keyboard and mouse of the editor control. Keys go through the key map first; what it passes
// on is typed. The mouse places the caret, selects by dragging (scrolling when the pointer
// leaves the text), by double click (a word) and by triple click (a row); a press on the
// selection arms a drag of its text and a press on the right-margin line drags that line
// (both in SourceMemoDrag.cpp).
#include "editor/widget/SourceMemo.h"

#include "editor/edit/WordChars.h"

#include "platform/KeyEventMapping.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleHints>
#include <QTimer>
#include <QWheelEvent>

namespace {

// Whether the key map would act on shortcut: a bound or prefix first key, or any key while it
// waits for a second key. Such keys must reach the control before menu shortcuts take them.
bool keyMapWants(const TKeyStore& keys, TShortCut shortcut)
{
    if (keys.State())
        return true;
    for (const TKeyNode* node = keys.Root(); node; node = node->Sibling) {
        if (node->Shortcut == shortcut)
            return true;
    }
    return false;
}

} // namespace

bool TSourceMemo::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const TShortCut shortcut = shortCutOf(*key);
        const TCodeTemplates& templates = m_expansion->Templates();
        const bool hotKey = templates.Enabled && shortcut == templates.Trigger;
        if (shortcut && !(shortcut & vk::scAlt) && (hotKey || keyMapWants(m_keyMap.Keys(), shortcut))) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool TSourceMemo::focusNextPrevChild(bool next)
{
    // With WantTab the TAB key is typed rather than used to leave the control.
    return m_wantTab ? false : QAbstractScrollArea::focusNextPrevChild(next);
}

void TSourceMemo::keyPressEvent(QKeyEvent* event)
{
    if (m_marginDragX >= 0 && event->key() == Qt::Key_Escape) {
        endMarginDrag(false);
        return;
    }
    const TShortCut shortcut = shortCutOf(*event);
    uint16_t key = shortcut & vk::scKeyMask;
    const TShortCut shiftState = shortcut & ModifierBits;
    if (key) {
        if (m_keys.KeyDown(key, shiftState) != TKeyDownResult::PassedOn) {
            m_caretVisible = true;
            m_editor->NotifyChange();
            viewport()->update();
            return;
        }
    }
    if (searchKey(*event))
        return;
    const QString text = event->text();
    const bool printable = !text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!printable || !m_keys.AcceptKeyPress()) {
        event->ignore(); // Alt+letter reaches the main window's menus
        return;
    }
    for (const char c : qStringToCp1252(text))
        m_editor->KeyPress(c);
    m_caretVisible = true;
    m_editor->NotifyChange();
}

void TSourceMemo::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    applyTemplates(ActiveSettings()); // another control may have changed the shared tables
    m_keys.Attach(m_keyMap, m_expansion.get());
    m_caretVisible = true;
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0)
        m_caretBlink->start(flash / 2);
    viewport()->update();
}

void TSourceMemo::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    cancelMouseModes();
    m_keys.Detach();
    m_caretBlink->stop();
    m_caretVisible = false;
    viewport()->update();
}

// A press within the double-click time of the previous one counts on: 1, 2, 3, then 1 again.
void TSourceMemo::countClick()
{
    const bool quick = m_lastClick.isValid() && m_lastClick.elapsed() < QApplication::doubleClickInterval();
    m_clickCount = quick ? m_clickCount % 3 + 1 : 1;
    m_lastClick.start();
}

void TSourceMemo::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    countClick();
    const int64_t row = rowAtY(at.y());
    const bool gutter = (Options() & smoShowGutter) && at.x() < m_gutter;
    if (gutter) {
        // A press beside a wrapped row reports the number of the line's first row.
        int64_t lineRow = row;
        if ((Options() & smoWordWrap) && row < m_store->RowCount())
            lineRow = m_store->LineStart(m_store->LineOfRow(row)).Index;
        if (OnGutterClick)
            OnGutterClick(this, lineRow + 1);
        return;
    }
    if (at.x() < TextLeft()) { // the margin strip selects its row
        const TRowSpot spot = m_store->RowByIndex(row);
        if (spot.Row)
            m_editor->SetSelection(spot.Start, spot.Start + spot.Row->Length);
        m_editor->NotifyChange();
        viewport()->update();
        return;
    }
    if (nearRightMargin(at)) {
        beginMarginDrag(at);
        return;
    }
    if (clickLink(*event))
        return;
    pressInText(*event, row);
    m_lastClickRow = row;
    m_caretVisible = true;
    m_editor->NotifyChange();
    viewport()->update();
}

void TSourceMemo::pressInText(const QMouseEvent& event, int64_t row)
{
    const QPoint at = event.position().toPoint();
    const int64_t offset = CharFromPos(at);
    if (m_clickCount == 3 && row == m_lastClickRow) {
        if (OnTripleClick) {
            OnTripleClick(this, at, offset);
            return;
        }
        const TRowSpot spot = m_store->RowByIndex(row);
        if (spot.Row)
            m_editor->SetSelection(spot.Start, spot.Start + spot.Row->Length);
    } else if (event.modifiers() & Qt::ShiftModifier) {
        const TSelectionPair selection = m_editor->Selection();
        const int64_t start = selection.Start();
        const int64_t end = std::max(selection.Anchor, selection.Caret);
        if (offset > start)
            m_editor->SetSelection(start, offset);
        else
            m_editor->SetSelection(end, offset);
        m_selecting = true;
    } else if (pressArmsDrag(event)) {
        m_dragArmed = true;
        m_dragPressAt = at;
    } else {
        m_editor->SetSelection(offset, offset);
        m_selecting = true;
    }
}

// A single press on a selected character (or selected line break) may become a drag of the
// selection; the caret stays until the button comes up without a drag.
bool TSourceMemo::pressArmsDrag(const QMouseEvent& event) const
{
    if (!(Options() & smoOLEDragSource) || m_clickCount != 1 ||
        event.type() != QEvent::MouseButtonPress)
        return false;
    const TSelectionPair selection = m_editor->Selection();
    const int64_t under = charUnderPointer(event.position().toPoint());
    return under >= 0 && under >= selection.Start() && under < selection.End();
}

void TSourceMemo::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton)) {
        // The button came up where the control did not see it: whatever it started ends.
        cancelMouseModes();
        hover(at);
        return;
    }
    if (m_marginDragX >= 0) {
        moveMarginDrag(at);
        return;
    }
    if (m_dragArmed) {
        if ((at - m_dragPressAt).manhattanLength() >= QApplication::startDragDistance())
            startTextDrag();
        return;
    }
    if (!m_selecting)
        return;
    if (at.y() < 0 || at.y() >= viewport()->height()) {
        if (!m_dragScroll->isActive())
            m_dragScroll->start();
        return;
    }
    m_dragScroll->stop();
    const int64_t offset = offsetInRow(m_store->RowByIndex(rowAtY(at.y())), at.x());
    const int64_t target = rowAtY(at.y()) >= m_store->RowCount() ? m_store->CharCount() : offset;
    m_editor->SetSelection(m_editor->SelAnchor(), target);
    m_editor->NotifyChange();
    viewport()->update();
}

// Keeps selecting while the pointer is above or below the text.
void TSourceMemo::autoScroll()
{
    const QPoint at = viewport()->mapFromGlobal(QCursor::pos());
    const int64_t step = at.y() < 0 ? -1 : 1;
    SetTopRow(m_topRow + step);
    const int64_t row = step < 0 ? m_topRow : std::min(m_topRow + VisibleRows() - 1, m_store->RowCount());
    const int64_t target = row >= m_store->RowCount() ? m_store->CharCount()
                                                      : offsetInRow(m_store->RowByIndex(row), at.x());
    m_editor->SetSelection(m_editor->SelAnchor(), target);
    m_editor->NotifyChange();
    viewport()->update();
}

void TSourceMemo::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_marginDragX >= 0) {
        moveMarginDrag(event->position().toPoint());
        endMarginDrag(true);
        return;
    }
    if (m_dragArmed) {
        // Pressed on the selection and let go without dragging: a plain click.
        m_dragArmed = false;
        const int64_t offset = CharFromPos(m_dragPressAt);
        m_editor->SetSelection(offset, offset);
        m_editor->NotifyChange();
        viewport()->update();
    }
    m_selecting = false;
    m_dragScroll->stop();
}

void TSourceMemo::cancelMouseModes()
{
    if (m_marginDragX >= 0)
        endMarginDrag(false);
    m_dragArmed = false;
    m_selecting = false;
    m_dragScroll->stop();
}

void TSourceMemo::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !(Options() & smoWordSelect) || m_marginDragX >= 0)
        return;
    const int64_t offset = CharFromPos(event->position().toPoint());
    if (offset < 0)
        return;
    const TRowSpot spot = m_store->RowAt(offset);
    if (!spot.Row)
        return;
    const auto& wordTest = m_editor->fn_CharIsInWord;
    auto inWord = [&wordTest](char c) { return wordTest ? wordTest(c) : defaultCharIsInWord(c); };
    const char* text = spot.Row->Text();
    int start = static_cast<int>(offset - spot.Start);
    int end = start;
    while (start > 0 && inWord(text[start - 1]))
        --start;
    while (end < spot.Row->TextLength() && inWord(text[end]))
        ++end;
    if (end > start) {
        m_editor->SetSelection(spot.Start + start, spot.Start + end);
        m_selecting = false;
        m_editor->NotifyChange();
        viewport()->update();
    }
}

void TSourceMemo::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0) {
        event->ignore();
        return;
    }
    SetTopRow(m_topRow - notches * QApplication::wheelScrollLines());
    event->accept();
}
