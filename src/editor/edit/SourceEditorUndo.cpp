// Undo and redo: walking the log back and forward one step (a group or a lone action) and
// applying its records with recording off. A log that does not have the expected shape is
// cleared, with a beep, rather than applied.
#include "editor/edit/SourceEditor.h"

#include "editor/edit/StoreUndoStack.h"
#include "editor/text/SourceMemoErrors.h"

namespace {

const TUndoRecord& expect(const TUndoRecord& record, int32_t kind)
{
    if (record.Kind != kind)
        throw ESourceMemo(kBadUndoStackState);
    return record;
}

// A text record or a stream record: the text an action removed or inserted.
std::string expectText(const TUndoRecord& record)
{
    if (record.Kind != ukText && record.Kind != ukStream)
        throw ESourceMemo(kBadUndoStackState);
    return record.Content();
}

void expectMarker(const TUndoRecord& record, int64_t kindOrGroup, int32_t phase)
{
    if (!record.IsMarker() || record.A != kindOrGroup || record.Data != phase)
        throw ESourceMemo(kBadUndoStackState);
}

} // namespace

void TSourceEditor::Undo()
{
    if (!Settings.ReadOnly && CanUndo())
        runUndoStep(false);
}

void TSourceEditor::Redo()
{
    if (!Settings.ReadOnly && CanRedo())
        runUndoStep(true);
}

void TSourceEditor::runUndoStep(bool redo)
{
    TStoreUndoStack& log = *undoLog();
    RecordUndo(ukRecordOff, 0);
    m_undoRunning = true;
    try {
        const TUndoRecord& marker = redo ? log.ReadForwardRecord() : log.ReadBackRecord();
        if (!marker.IsMarker())
            throw ESourceMemo(kBadUndoStackState);
        const bool group = marker.A >= kFirstGroupId;
        if (group && marker.Data != (redo ? gpOpen : gpClose))
            throw ESourceMemo(kBadUndoStackState);
        if (group)
            redo ? redoGroup(log, marker.A) : undoGroup(log, marker.A);
        else
            redo ? redoAction(log, marker.A) : undoAction(log, marker.A);
    } catch (const std::exception&) {
        log.Clear();
        m_host->Beep();
    }
    m_undoRunning = false;
    RecordUndo(ukRecordOn, 0);
    m_changeFlags |= cfTextChanged | cfCaretMoved;
    m_host->Rehighlight();
    m_host->ScrollCaretIntoView();
    NotifyChange();
}

void TSourceEditor::undoGroup(TStoreUndoStack& log, int64_t id)
{
    expect(log.ReadBackRecord(), ukSelection);
    expectMarker(log.ReadBackRecord(), id, gpClose);
    for (;;) {
        const TUndoRecord& record = log.ReadBackRecord();
        if (record.IsGroupMarker(gpOpen) && record.A == id)
            break;
        if (!record.IsActionMarker())
            throw ESourceMemo(kBadUndoStackState);
        undoAction(log, record.A);
    }
    const TSelectionPair before = expect(log.ReadBackRecord(), ukSelection).AsSelection();
    expectMarker(log.ReadBackRecord(), id, gpOpen);
    if (id == ugIndent || id == ugUnindent)
        m_host->DropPendingRehighlight();
    SetSelection(before.Anchor, before.Caret);
}

void TSourceEditor::undoAction(TStoreUndoStack& log, int64_t kind)
{
    if (kind == ukIndent || kind == ukUnindent) {
        const TUndoRecord& edit = expect(log.ReadBackRecord(), static_cast<int32_t>(kind));
        expectMarker(log.ReadBackRecord(), kind, 0);
        const std::string bytes = edit.Content();
        if (kind == ukIndent)
            m_store->DeleteRange(edit.A, edit.A + static_cast<int64_t>(bytes.size()));
        else
            m_store->InsertText(edit.A, bytes);
        return;
    }
    if (kind != ukText && kind != ukStream)
        throw ESourceMemo(kBadUndoStackState);
    expect(log.ReadBackRecord(), ukSelection);
    const std::string inserted = expectText(log.ReadBackRecord());
    const std::string removed = expectText(log.ReadBackRecord());
    const TSelectionPair before = expect(log.ReadBackRecord(), ukSelection).AsSelection();
    expectMarker(log.ReadBackRecord(), kind, 0);
    const int64_t start = before.Start();
    replaceRange(start, start + static_cast<int64_t>(inserted.size()), removed);
    SetSelection(before.Anchor, before.Caret);
}

void TSourceEditor::redoGroup(TStoreUndoStack& log, int64_t id)
{
    expect(log.ReadForwardRecord(), ukSelection);
    expectMarker(log.ReadForwardRecord(), id, gpOpen);
    for (;;) {
        const TUndoRecord& record = log.ReadForwardRecord();
        if (record.IsGroupMarker(gpClose) && record.A == id)
            break;
        if (!record.IsActionMarker())
            throw ESourceMemo(kBadUndoStackState);
        redoAction(log, record.A);
    }
    const TSelectionPair after = expect(log.ReadForwardRecord(), ukSelection).AsSelection();
    expectMarker(log.ReadForwardRecord(), id, gpClose);
    SetSelection(after.Anchor, after.Caret);
}

void TSourceEditor::redoAction(TStoreUndoStack& log, int64_t kind)
{
    if (kind == ukIndent || kind == ukUnindent) {
        const TUndoRecord& edit = expect(log.ReadForwardRecord(), static_cast<int32_t>(kind));
        expectMarker(log.ReadForwardRecord(), kind, 0);
        const std::string bytes = edit.Content();
        if (kind == ukIndent)
            m_store->InsertText(edit.A, bytes);
        else
            m_store->DeleteRange(edit.A, edit.A + static_cast<int64_t>(bytes.size()));
        return;
    }
    if (kind != ukText && kind != ukStream)
        throw ESourceMemo(kBadUndoStackState);
    const TSelectionPair before = expect(log.ReadForwardRecord(), ukSelection).AsSelection();
    const std::string removed = expectText(log.ReadForwardRecord());
    const std::string inserted = expectText(log.ReadForwardRecord());
    const TSelectionPair after = expect(log.ReadForwardRecord(), ukSelection).AsSelection();
    expectMarker(log.ReadForwardRecord(), kind, 0);
    const int64_t start = before.Start();
    replaceRange(start, start + static_cast<int64_t>(removed.size()), inserted);
    SetSelection(after.Anchor, after.Caret);
}
