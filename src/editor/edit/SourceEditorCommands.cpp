// The editing commands of the key map: caret moves (Shift keeps the anchor), deletions, the
// mode toggle, scrolling, and the dispatch to clipboard, block and undo operations.
#include "editor/edit/SourceEditor.h"

#include "editor/edit/TextCursor.h"
#include "editor/keys/KeyCommands.h"

#include <algorithm>

void TSourceEditor::ExecuteCommand(int32_t command, bool shiftDown)
{
    if (!isEditorCommand(command))
        return;
    switch (command) {
    case cmdCursorLeft: moveLeft(shiftDown); break;
    case cmdCursorRight: moveRight(shiftDown); break;
    case cmdLineStart: moveLineStart(shiftDown); break;
    case cmdLineEnd: moveLineEnd(shiftDown); break;
    case cmdUpOneLine: moveRows(-1, shiftDown); break;
    case cmdDownOneLine: moveRows(1, shiftDown); break;
    case cmdUpOnePage: movePage(-1, shiftDown); break;
    case cmdDownOnePage: movePage(1, shiftDown); break;
    case cmdWordBefore: placeCaret(WordBefore(m_selCaret), shiftDown); break;
    case cmdWordAfter: placeCaret(WordAfter(m_selCaret), shiftDown); break;
    case cmdDocumentStart: placeCaret(0, shiftDown); break;
    case cmdDocumentEnd: placeCaret(m_store->CharCount(), shiftDown); break;
    case cmdCopy: CopyToClipboard(); break;
    case cmdToggleInsertMode: SetInsertMode(!m_insertMode); break;
    case cmdPrintSelection: m_host->PrintSelectionCommand(); break;
    case cmdScrollUp: scrollLine(-1); break;
    case cmdScrollDown: scrollLine(1); break;
    default:
        if (command >= cmdSetBookmark0 && command < cmdSetBookmark0 + 10)
            m_host->SetBookmark(command - cmdSetBookmark0);
        else if (command >= cmdGotoBookmark0 && command < cmdGotoBookmark0 + 10)
            m_host->GotoBookmark(command - cmdGotoBookmark0);
        else if (!runTextCommand(command, shiftDown))
            return;
        break;
    }
    m_host->ScrollCaretIntoView();
    NotifyChange();
}

// The commands that change text; none of them runs in read-only mode.
bool TSourceEditor::runTextCommand(int32_t command, bool shiftDown)
{
    (void)shiftDown;
    if (Settings.ReadOnly)
        return false;
    switch (command) {
    case cmdCut: CutToClipboard(); return true;
    case cmdPaste: PasteFromClipboard(); return true;
    case cmdDeleteChar: deleteChar(); return true;
    case cmdDeletePrevChar: deletePrevChar(); return true;
    case cmdIndentBlock: IndentBlock(0, false); return true;
    case cmdUnindentBlock: UnindentBlock(0); return true;
    case cmdDeleteLine: deleteLine(); return true;
    case cmdUndo: Undo(); return true;
    case cmdRedo: Redo(); return true;
    case cmdDeletePrevWord: deleteWord(cmdWordBefore, ugDeletePrevWord); return true;
    case cmdDeleteNextWord: deleteWord(cmdWordAfter, ugDeleteNextWord); return true;
    default: return false;
    }
}

// ---- Caret moves ----------------------------------------------------------------------------

void TSourceEditor::moveLeft(bool extend)
{
    if (m_pastEol) {
        const int end = static_cast<int>(lineEndColumn());
        --m_caretColumn;
        if (m_caretColumn <= end) {
            m_caretColumn = end;
            m_pastEol = false;
        }
        m_trackColumn = m_caretColumn;
        if (!extend)
            m_selAnchor = m_selCaret;
        m_verticalMove = false;
        m_changeFlags |= cfCaretMoved;
        return;
    }
    if (m_selCaret > 0)
        placeCaret(m_selCaret - 1, extend);
}

void TSourceEditor::moveRight(bool extend)
{
    if (Settings.Has(smoCaretAfterEOL) && atLineEnd(m_selCaret)) {
        if (m_caretColumn < kMaxCaretColumn) {
            ++m_caretColumn;
            m_pastEol = m_caretColumn > lineEndColumn();
        }
        m_trackColumn = m_caretColumn;
        if (!extend)
            m_selAnchor = m_selCaret;
        m_verticalMove = false;
        m_changeFlags |= cfCaretMoved;
        return;
    }
    if (m_selCaret < m_store->CharCount())
        placeCaret(m_selCaret + 1, extend);
}

// The caret offsets a row offers: up to its line break, or, when the line goes on in the next
// row, up to its last character (the offset after it is the next row's start).
int TSourceEditor::reachableLength(const TTextRow& row)
{
    const bool continues = !row.EndsLine() && row.Next;
    return continues ? row.Length - 1 : row.TextLength();
}

void TSourceEditor::moveLineStart(bool extend)
{
    const TRowSpot spot = m_store->RowAt(m_selCaret);
    if (spot.Row)
        placeCaret(spot.Start, extend);
}

void TSourceEditor::moveLineEnd(bool extend)
{
    const TRowSpot spot = m_store->RowAt(m_selCaret);
    if (!spot.Row)
        return;
    int end = reachableLength(*spot.Row);
    while (end > 0 && (spot.Row->Text()[end - 1] == ' ' || spot.Row->Text()[end - 1] == '\t'))
        --end;
    placeCaret(spot.Start + end, extend);
}

// The index of the last row the caret can reach: the empty line after a final line break
// counts as a row.
int64_t TSourceEditor::lastRowIndex() const
{
    const TTextRow* last = m_store->LastRow();
    if (!last)
        return 0;
    return last->EndsLine() ? m_store->RowCount() : m_store->RowCount() - 1;
}

void TSourceEditor::moveRows(int64_t rows, bool extend)
{
    const int64_t from = m_store->RowAt(m_selCaret).Index;
    const int64_t to = std::clamp<int64_t>(from + rows, 0, lastRowIndex());
    if (to == from)
        return;
    const int column = Settings.Has(smoColumnTrack) ? m_trackColumn : m_caretColumn;
    int64_t offset = m_store->CharCount();
    int reached = 0;
    bool pastEnd = false;
    if (to < m_store->RowCount()) {
        const TRowSpot spot = m_store->RowByIndex(to);
        const int length = reachableLength(*spot.Row);
        offset = spot.Start + tabs().OffsetAtColumn(spot.Row->Text(), length, column, reached);
        pastEnd = reached < column;
    } else {
        pastEnd = column > 0;
    }
    m_selCaret = offset;
    if (!extend)
        m_selAnchor = m_selCaret;
    m_caretColumn = columnOf(offset);
    m_pastEol = false;
    if (pastEnd && Settings.Has(smoCaretAfterEOL) && atLineEnd(offset) &&
        column > m_caretColumn) {
        m_caretColumn = std::min(column, kMaxCaretColumn);
        m_pastEol = true;
    }
    m_verticalMove = true;
    m_changeFlags |= cfCaretMoved;
}

void TSourceEditor::movePage(int direction, bool extend)
{
    const int64_t rows = std::max<int64_t>(m_host->VisibleRows(), 1);
    const int64_t top = m_host->TopRow() + direction * rows;
    m_host->SetTopRow(std::clamp<int64_t>(top, 0, std::max<int64_t>(lastRowIndex(), 0)));
    moveRows(direction * rows, extend);
}

void TSourceEditor::scrollLine(int direction)
{
    const int64_t oldTop = m_host->TopRow();
    const int64_t top = std::clamp<int64_t>(oldTop + direction, 0, std::max<int64_t>(lastRowIndex(), 0));
    if (top == oldTop)
        return;
    m_host->SetTopRow(top);
    const int64_t row = m_store->RowAt(m_selCaret).Index;
    const int64_t visible = std::max<int64_t>(m_host->VisibleRows(), 1);
    if (row < top || row >= top + visible)
        moveRows(direction, false);
}

// ---- Words -------------------------------------------------------------------------------

int64_t TSourceEditor::WordBefore(int64_t offset) const
{
    TTextCursor cursor(*m_store, offset);
    while (!cursor.AtStart()) {
        while (!cursor.AtStart() && !charIsInWord(cursor.PrevChar()))
            cursor.Prev();
        if (cursor.AtStart())
            break;
        while (!cursor.AtStart() && charIsInWord(cursor.PrevChar()))
            cursor.Prev();
        // The run may begin with inner characters (digits, "-", "'"): the word starts at its
        // first word-start character.
        TTextCursor word = cursor;
        while (word.Offset() < offset && charIsInWord(word.Char()) && !charStartsWord(word.Char()))
            word.Next();
        if (word.Offset() < offset && charStartsWord(word.Char()))
            return word.Offset();
    }
    return 0;
}

int64_t TSourceEditor::WordAfter(int64_t offset) const
{
    TTextCursor cursor(*m_store, offset);
    while (!cursor.AtEnd() && charIsInWord(cursor.Char()))
        cursor.Next();
    while (!cursor.AtEnd() && !charStartsWord(cursor.Char()))
        cursor.Next();
    return cursor.AtEnd() ? offset : cursor.Offset();
}

// ---- Deletions -----------------------------------------------------------------------------

void TSourceEditor::deleteChar()
{
    TGroupScope group(*this, ugDelete);
    if (m_selAnchor == m_selCaret) {
        if (m_selCaret >= m_store->CharCount())
            return;
        // Past the line end the gap is filled first, so the next line joins at the caret.
        if (m_pastEol)
            ReplaceSelection({});
        m_selCaret = m_selAnchor + 1;
    }
    ReplaceSelection({});
}

void TSourceEditor::deletePrevChar()
{
    if (m_pastEol) {
        moveLeft(false);
        return;
    }
    TGroupScope group(*this, ugDelete);
    if (m_selAnchor == m_selCaret) {
        if (m_selCaret == 0)
            return;
        m_selCaret = m_selAnchor - 1;
    }
    ReplaceSelection({});
}

void TSourceEditor::deleteLine()
{
    if (m_selAnchor == m_selCaret) {
        const TRowSpot spot = m_store->RowAt(m_selCaret);
        if (!spot.Row)
            return;
        m_selAnchor = spot.Start;
        m_selCaret = spot.Start + spot.Row->Length;
    }
    ReplaceSelection({});
}

void TSourceEditor::deleteWord(int32_t moveCommand, int32_t group)
{
    const int64_t target = moveCommand == cmdWordBefore ? WordBefore(m_selCaret) : WordAfter(m_selCaret);
    if (target == m_selCaret)
        return;
    TGroupScope scope(*this, group);
    placeCaret(target, true);
    deleteChar();
}
