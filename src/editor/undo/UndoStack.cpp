#include "editor/undo/UndoStack.h"

TUndoStack::TUndoStack(int64_t memoryLimit)
    : TStack([](void* record) { delete static_cast<TUndoRecord*>(record); }),
      m_memoryLimit(memoryLimit)
{
}

void TUndoStack::SetMemoryLimit(int64_t limit)
{
    m_memoryLimit = limit < 0 ? -1 : limit;
    trim();
}

void TUndoStack::push(std::unique_ptr<TUndoRecord> record)
{
    const int64_t size = record->PayloadSize();
    Push(record.get(), size);
    record.release();
}

void TUndoStack::pushGroupFrame(int32_t phase, TSelectionPair selection)
{
    push(TUndoRecord::Marker(m_groupId, phase));
    push(TUndoRecord::Selection(selection));
    push(TUndoRecord::Marker(m_groupId, phase));
}

void TUndoStack::openGroupInLog()
{
    if (m_groupOpen && !m_groupLogged) {
        pushGroupFrame(gpOpen, m_groupSelection);
        m_groupLogged = true;
    }
}

bool TUndoStack::BeginGroup(int32_t id, TSelectionPair selection)
{
    if (m_groupOpen)
        return false;
    m_groupOpen = true;
    m_groupLogged = false;
    m_groupId = id;
    m_groupSelection = selection;
    return true;
}

void TUndoStack::EndGroup(int32_t id, TSelectionPair selection)
{
    if (!m_groupOpen || id != m_groupId)
        return;
    if (m_groupLogged)
        pushGroupFrame(gpClose, selection);
    m_groupOpen = false;
    m_groupLogged = false;
    trim();
}

bool TUndoStack::BeginAction(int32_t kind, TSelectionPair before, std::string removed,
                             std::string inserted)
{
    if (m_pending)
        return false;
    m_pending = std::make_unique<TPendingAction>(
        TPendingAction{kind, before, std::move(removed), std::move(inserted)});
    return true;
}

bool TUndoStack::EndAction(int32_t kind, TSelectionPair after)
{
    if (!m_pending || m_pending->Kind != kind)
        return false;
    const std::unique_ptr<TPendingAction> action = std::move(m_pending);
    openGroupInLog();
    push(TUndoRecord::Marker(kind));
    push(TUndoRecord::Selection(action->Before));
    push(TUndoRecord::TextCopy(action->Removed));
    push(kind == ukStream ? TUndoRecord::StreamCopy(action->Inserted)
                          : TUndoRecord::TextCopy(action->Inserted));
    push(TUndoRecord::Selection(after));
    push(TUndoRecord::Marker(kind));
    trim();
    return true;
}

void TUndoStack::LogLineEdit(int32_t kind, int64_t position, const std::string& bytes)
{
    openGroupInLog();
    push(TUndoRecord::Marker(kind));
    push(TUndoRecord::LineEdit(kind, position, bytes));
    push(TUndoRecord::Marker(kind));
    trim();
}

void TUndoStack::Clear()
{
    DiscardAll();
    m_pending.reset();
    m_groupLogged = false;
    m_stepsDropped = false;
}

const TUndoRecord& TUndoStack::recordOf(const TStackEntry* entry)
{
    return *static_cast<const TUndoRecord*>(entry->Record);
}

// The closing marker of the action whose opening marker is entry; null when the action is
// incomplete or malformed.
const TStackEntry* TUndoStack::actionEnd(const TStackEntry* entry)
{
    const int64_t kind = recordOf(entry).A;
    const int inner = (kind == ukUnindent || kind == ukIndent) ? 1 : 4;
    const TStackEntry* e = entry->Newer;
    for (int i = 0; i < inner; ++i, e = e->Newer) {
        if (!e || recordOf(e).IsMarker())
            return nullptr;
    }
    if (!e || !recordOf(e).IsActionMarker() || recordOf(e).A != kind)
        return nullptr;
    return e;
}

// The last closing marker of the group whose first opening marker is entry; null when the
// group is still open or malformed.
const TStackEntry* TUndoStack::groupEnd(const TStackEntry* entry)
{
    const int64_t id = recordOf(entry).A;
    const TStackEntry* e = entry->Newer ? entry->Newer->Newer : nullptr;
    if (!e || !recordOf(e).IsGroupMarker(gpOpen) || recordOf(e).A != id)
        return nullptr;
    for (e = e->Newer; e;) {
        const TUndoRecord& record = recordOf(e);
        if (record.IsGroupMarker(gpClose) && record.A == id) {
            const TStackEntry* last = e->Newer ? e->Newer->Newer : nullptr;
            if (!last || !recordOf(last).IsGroupMarker(gpClose) || recordOf(last).A != id)
                return nullptr;
            return last;
        }
        if (!record.IsActionMarker())
            return nullptr;
        const TStackEntry* end = actionEnd(e);
        if (!end)
            return nullptr;
        e = end->Newer;
    }
    return nullptr;
}

const TStackEntry* TUndoStack::stepEnd(const TStackEntry* entry)
{
    if (!entry)
        return nullptr;
    const TUndoRecord& record = recordOf(entry);
    if (record.IsGroupMarker(gpOpen))
        return groupEnd(entry);
    if (record.IsActionMarker())
        return actionEnd(entry);
    return nullptr;
}

// Drops the oldest whole step when that leaves at least the newest step and keeps every
// step that can be redone; returns whether it dropped one.
bool TUndoStack::dropOldestStep()
{
    const TStackEntry* end = stepEnd(Oldest());
    if (!end || end == Newest() || !Current())
        return false;
    for (const TStackEntry* e = Oldest(); e != end; e = e->Newer) {
        if (e == Current())
            return false;
    }
    while (Oldest() != end)
        discardOldest();
    discardOldest();
    m_stepsDropped = true;
    return true;
}

void TUndoStack::trim()
{
    while (m_memoryLimit >= 0 && Memory() > m_memoryLimit && dropOldestStep()) {
    }
}

std::string TUndoStack::check() const
{
    std::string error = TStack::check();
    if (!error.empty())
        return error;
    bool currentAtBoundary = Current() == nullptr;
    int64_t steps = 0;
    const TStackEntry* e = Oldest();
    while (e) {
        const TStackEntry* end = stepEnd(e);
        if (!end) {
            const TUndoRecord& record = recordOf(e);
            const bool openGroup = m_groupOpen && m_groupLogged &&
                                   record.IsGroupMarker(gpOpen) && record.A == m_groupId;
            if (!openGroup)
                return "log does not consist of whole steps";
            if (Current() == Newest())
                currentAtBoundary = true;
            break;
        }
        ++steps;
        if (end == Current())
            currentAtBoundary = true;
        e = end->Newer;
    }
    if (!currentAtBoundary)
        return "current entry is inside a step";
    if (m_groupLogged && !m_groupOpen)
        return "group logged but not open";
    if (m_memoryLimit >= 0 && Memory() > m_memoryLimit && steps > 1 && Current() == Newest() &&
        !m_groupLogged)
        return "log exceeds its memory limit";
    return {};
}
