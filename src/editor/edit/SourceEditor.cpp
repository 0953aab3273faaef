// Selection and caret, the edit primitive and the undo recording of the editing core.
#include "editor/edit/SourceEditor.h"

#include "editor/edit/StoreUndoStack.h"
#include "editor/edit/WordChars.h"
#include "editor/text/SourceMemoErrors.h"
#include "editor/text/TextNormaliser.h"

#include "base/Stream.h"

#include <algorithm>

TSourceEditor::TSourceEditor(TTextStore& store, TEditorHost* host, TClipboard* clipboard)
    : m_store(&store), m_host(host ? host : &m_noHost), m_clipboard(clipboard)
{
    SetStore(store);
    RecordUndo(ukRecordOn, 0);
}

TSourceEditor::~TSourceEditor() = default;

void TSourceEditor::SetStore(TTextStore& store)
{
    m_store = &store;
    if (!store.UndoStack())
        store.SetUndoStack(std::make_unique<TStoreUndoStack>());
    m_selAnchor = 0;
    m_selCaret = 0;
    m_pastEol = false;
    m_caretColumn = 0;
    m_trackColumn = 0;
    m_verticalMove = false;
    m_changeFlags |= cfCaretMoved | cfTextChanged;
}

TStoreUndoStack* TSourceEditor::undoLog() const
{
    return dynamic_cast<TStoreUndoStack*>(m_store->UndoStack());
}

bool TSourceEditor::charStartsWord(char c) const
{
    return fn_CharStartsWord ? fn_CharStartsWord(c) : defaultCharStartsWord(c);
}

bool TSourceEditor::charIsInWord(char c) const
{
    return fn_CharIsInWord ? fn_CharIsInWord(c) : defaultCharIsInWord(c);
}

void TSourceEditor::SetInsertMode(bool insert)
{
    if (insert == m_insertMode)
        return;
    m_insertMode = insert;
    m_changeFlags |= cfInsertModeToggled;
    m_host->CaretShapeChanged();
}

// ---- Selection and caret ----------------------------------------------------------------

int TSourceEditor::columnOf(int64_t offset) const
{
    const TRowSpot spot = m_store->RowAt(offset);
    if (!spot.Row)
        return 0;
    return columnIn(*spot.Row, spot.Start, offset);
}

int TSourceEditor::columnIn(const TTextRow& row, int64_t rowStart, int64_t offset) const
{
    const int64_t inRow = std::clamp<int64_t>(offset - rowStart, 0, row.TextLength());
    return tabs().ColumnAfter(row.Text(), static_cast<int>(inRow));
}

bool TSourceEditor::atLineEnd(int64_t offset) const
{
    if (offset >= m_store->CharCount())
        return true;
    const TRowSpot spot = m_store->RowAt(offset);
    return spot.Row && spot.Row->Text()[offset - spot.Start] == kLineBreak;
}

int64_t TSourceEditor::lineEndColumn() const
{
    return columnOf(m_selCaret);
}

void TSourceEditor::caretTookColumn()
{
    m_pastEol = false;
    m_caretColumn = columnOf(m_selCaret);
    m_trackColumn = m_caretColumn;
}

void TSourceEditor::RowsRecut()
{
    if (m_pastEol && atLineEnd(m_selCaret) && m_caretColumn > columnOf(m_selCaret))
        return;
    const int track = m_trackColumn;
    const bool vertical = m_verticalMove;
    caretTookColumn();
    if (vertical)
        m_trackColumn = track; // an Up or Down run keeps aiming at its column
}

void TSourceEditor::placeCaret(int64_t offset, bool extend)
{
    m_selCaret = std::clamp<int64_t>(offset, 0, m_store->CharCount());
    if (!extend)
        m_selAnchor = m_selCaret;
    caretTookColumn();
    m_verticalMove = false;
    m_changeFlags |= cfCaretMoved;
}

void TSourceEditor::SetSelection(int64_t anchor, int64_t caret)
{
    const int64_t count = m_store->CharCount();
    if (anchor == -1) {
        anchor = 0;
        caret = count;
    }
    m_selAnchor = std::clamp<int64_t>(anchor, 0, count);
    placeCaret(caret, true);
}

void TSourceEditor::SetSelection(int64_t anchor, int64_t caret, const TTextRow* caretRow,
                                 int64_t caretRowStart)
{
    const int64_t count = m_store->CharCount();
    if (anchor < 0 || anchor > count || !caretRow || caret < caretRowStart ||
        caret >= caretRowStart + caretRow->Length || caret > count) {
        SetSelection(anchor, caret);
        return;
    }
    m_selAnchor = anchor;
    m_selCaret = caret;
    m_pastEol = false;
    m_caretColumn = columnIn(*caretRow, caretRowStart, caret);
    m_trackColumn = m_caretColumn;
    m_verticalMove = false;
    m_changeFlags |= cfCaretMoved;
}

int64_t TSourceEditor::SelStart() const
{
    return std::min(m_selAnchor, m_selCaret);
}

int64_t TSourceEditor::SelLength() const
{
    const TSelectionPair selection = Selection();
    int64_t length = selection.End() - selection.Start();
    // The line breaks selected are those of the rows from the start's row up to the end's: the
    // end's own row contributes none, as its break lies at or after the end. The index counts
    // them, so a whole-document selection costs what a short one does.
    if (m_store->LineStyle() == lsCRLF && length > 0)
        length += m_store->LineOfRow(m_store->RowAt(selection.End()).Index) -
                  m_store->LineOfRow(m_store->RowAt(selection.Start()).Index);
    return length;
}

void TSourceEditor::SetSelLength(int64_t length)
{
    const int64_t start = SelStart();
    SetSelection(start, start + std::max<int64_t>(length, 0));
}

std::string TSourceEditor::SelText() const
{
    const TSelectionPair selection = Selection();
    std::string text = m_store->GetText(selection.Start(), selection.End());
    if (m_store->LineStyle() != lsCRLF)
        return text;
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        out += c;
        if (c == kLineBreak)
            out += '\n';
    }
    return out;
}

int64_t TSourceEditor::CaretCol() const
{
    return static_cast<int64_t>(m_caretColumn) + 1;
}

int64_t TSourceEditor::CaretLine() const
{
    return m_store->RowAt(m_selCaret).Index + 1;
}

// ---- The edit primitive -------------------------------------------------------------------

std::string TSourceEditor::stored(std::string_view text) const
{
    std::string out(text.size(), '\0');
    TTextNormaliser normaliser;
    out.resize(normaliser.Feed(text.data(), text.size(), out.data()));
    return out;
}

// Returns the number of characters the store took in.
int64_t TSourceEditor::replaceRange(int64_t start, int64_t end, const std::string& text)
{
    m_store->DeleteRange(start, end);
    return m_store->InsertText(start, text);
}

void TSourceEditor::ReplaceSelection(std::string_view text)
{
    replaceSelectionWith(stored(text), ukText);
}

void TSourceEditor::InsertStream(TStream& stream)
{
    std::string bytes;
    char buffer[8192];
    for (int64_t n; (n = stream.Read(buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<size_t>(n));
    replaceSelectionWith(stored(bytes), ukStream);
}

// text is in stored form, so the log knows exactly how many characters the edit put in.
void TSourceEditor::replaceSelectionWith(std::string text, TUndoKind kind)
{
    // Replacing nothing by nothing changes nothing and leaves no undo step.
    if (text.empty() && m_selAnchor == m_selCaret && !m_pastEol)
        return;
    TGroupScope group(*this, ugReplaceSelection);
    if (m_pastEol && m_selAnchor == m_selCaret) {
        const bool smart = Settings.Has(smoUseTAB) && Settings.Has(smoSmartFill);
        text.insert(0, tabs().Fill(columnOf(m_selCaret), m_caretColumn, smart));
        m_pastEol = false;
    }
    TStoreUndoStack* log = undoLog();
    bool logged = m_recording && log && !log->ActionPending() && !m_undoRunning;
    if (logged)
        RecordUndo(kind, 1, text);
    const int64_t start = SelStart();
    int64_t inserted = 0;
    try {
        inserted = replaceRange(start, std::max(m_selAnchor, m_selCaret), text);
    } catch (...) {
        // The text changed in part: the log can no longer lead back to it.
        if (log)
            log->Clear();
        placeCaret(start, false);
        throw;
    }
    placeCaret(start + inserted, false);
    if (inserted != static_cast<int64_t>(text.size()) && log) {
        // The store stored the text differently from what the log holds; undoing it would
        // remove the wrong characters, so the history ends here.
        log->Clear();
        logged = false;
    }
    if (logged)
        RecordUndo(kind, 2);
    m_host->Rehighlight();
    m_changeFlags |= cfTextChanged | cfCaretMoved;
}

// ---- Undo recording -----------------------------------------------------------------------

void TSourceEditor::failTransaction()
{
    if (TStoreUndoStack* log = undoLog())
        log->Clear();
    m_host->Beep();
    throw ESourceMemo(kBadTransactionLogEntry);
}

void TSourceEditor::RecordUndo(TUndoKind kind, int phase, int64_t data)
{
    if (kind == ukRecordOn || kind == ukRecordOff) {
        m_recording = kind == ukRecordOn;
        return;
    }
    TStoreUndoStack* log = undoLog();
    if (!m_recording || !log)
        return;
    switch (kind) {
    case ukClear:
        log->Clear();
        break;
    case ukGroupOpen:
        log->BeginGroup(static_cast<int32_t>(data), Selection());
        break;
    case ukGroupClose:
        log->EndGroup(static_cast<int32_t>(data), Selection());
        break;
    case ukText:
    case ukStream:
        if (phase == 1)
            RecordUndo(kind, phase, std::string_view());
        else if (!log->EndAction(kind, Selection()))
            failTransaction();
        break;
    default:
        break;
    }
}

void TSourceEditor::RecordUndo(TUndoKind kind, int phase, std::string_view newText)
{
    TStoreUndoStack* log = undoLog();
    if (!m_recording || !log)
        return;
    if ((kind != ukText && kind != ukStream) || phase != 1) {
        RecordUndo(kind, phase, int64_t{0});
        return;
    }
    const TSelectionPair selection = Selection();
    std::string removed = m_store->GetText(selection.Start(), selection.End());
    if (!log->BeginAction(kind, selection, std::move(removed), std::string(newText)))
        failTransaction();
}

void TSourceEditor::beginGroup(int32_t id)
{
    if (!m_undoRunning)
        RecordUndo(ukGroupOpen, 0, id);
}

void TSourceEditor::endGroup(int32_t id)
{
    if (m_undoRunning)
        return;
    try {
        RecordUndo(ukGroupClose, 0, id);
    } catch (...) {
        // Out of memory while closing: a half-logged group would corrupt every later step.
        if (TStoreUndoStack* log = undoLog())
            log->Clear();
    }
}

bool TSourceEditor::Modified() const
{
    const TStoreUndoStack* log = undoLog();
    return log && log->Modified();
}

void TSourceEditor::SetModified(bool modified)
{
    if (!modified)
        RecordUndo(ukClear, 0);
}

bool TSourceEditor::CanUndo() const
{
    const TStoreUndoStack* log = undoLog();
    return log && log->CanUndo();
}

bool TSourceEditor::CanRedo() const
{
    const TStoreUndoStack* log = undoLog();
    return log && log->CanRedo();
}

void TSourceEditor::NotifyChange()
{
    if (m_changeFlags == 0)
        return;
    const uint32_t flags = m_changeFlags;
    m_changeFlags = 0;
    m_host->Changed(flags);
}

std::string TSourceEditor::check() const
{
    std::string error = m_store->check();
    if (!error.empty())
        return "store: " + error;
    if (const TStoreUndoStack* log = undoLog()) {
        error = log->check();
        if (!error.empty())
            return "undo log: " + error;
    }
    const int64_t count = m_store->CharCount();
    if (m_selAnchor < 0 || m_selAnchor > count || m_selCaret < 0 || m_selCaret > count)
        return "selection outside the document";
    if (m_pastEol) {
        if (!atLineEnd(m_selCaret))
            return "caret past the line end but not at a line end";
        if (m_caretColumn <= columnOf(m_selCaret))
            return "caret column past the line end is not beyond it";
    } else if (m_caretColumn != columnOf(m_selCaret)) {
        return "caret column differs from the caret's place";
    }
    return {};
}
