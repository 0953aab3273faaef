// The undo log of one document: a TStack of TUndoRecord entries with a memory limit, the open
// group and the pending action. Group and action state live here, not in the control, so they
// travel with the document when a control switches documents.
// Invariants (check()): the stack's own; from the oldest entry the records form whole steps
// (a group, or an action outside any group), except that the newest step may be the open
// group still being logged; the current entry ends a step; Memory stays within the limit
// unless the newest step alone exceeds it.
#pragma once

#include "editor/undo/Stack.h"
#include "editor/undo/UndoRecord.h"

#include <cstdint>
#include <memory>
#include <string>

class TUndoStack : public TStack
{
public:
    explicit TUndoStack(int64_t memoryLimit = -1);

    // Bytes the log may hold (16 per entry plus payloads); -1 for no limit. Setting it trims.
    int64_t MemoryLimit() const { return m_memoryLimit; }
    void SetMemoryLimit(int64_t limit);

    // Opens group id with the selection before it, unless a group is already open (a nested
    // begin joins the outer group). Returns whether this call opened it. The group's opening
    // records are logged with its first action, so a group that changed nothing leaves no
    // trace and does not discard the steps that could be redone.
    bool BeginGroup(int32_t id, TSelectionPair selection);
    // Closes the open group when id is its id; otherwise nothing happens.
    void EndGroup(int32_t id, TSelectionPair selection);
    bool GroupOpen() const { return m_groupOpen; }
    int32_t GroupId() const { return m_groupId; }

    // Phase 1 of a replacement: remembers the action until EndAction. False (nothing changes)
    // when an action is already pending. A stream action (kind 4) keeps its text in a stream.
    bool BeginAction(int32_t kind, TSelectionPair before, std::string removed,
                     std::string inserted);
    // Phase 2: logs the six records of the pending action and trims the log. False when no
    // action of this kind is pending.
    bool EndAction(int32_t kind, TSelectionPair after);
    bool ActionPending() const { return m_pending != nullptr; }
    // Logs a block indent (kind 10) or un-indent (kind 9) of one line: the bytes inserted or
    // removed at position.
    void LogLineEdit(int32_t kind, int64_t position, const std::string& bytes);

    // Discards every entry and the pending action. An open group stays open and logs its
    // opening records again with its next action.
    void Clear();

    // True while an undo step exists or steps were dropped to fit the memory limit (then the
    // document can no longer be brought back to its unmodified text).
    bool Modified() const { return Count() > 0 || m_stepsDropped; }

    const TUndoRecord& ReadBackRecord() { return *static_cast<TUndoRecord*>(ReadBack()); }
    const TUndoRecord& ReadForwardRecord() { return *static_cast<TUndoRecord*>(ReadForward()); }

    std::string check() const;

private:
    struct TPendingAction
    {
        int32_t Kind = 0;
        TSelectionPair Before;
        std::string Removed;
        std::string Inserted;
    };

    void push(std::unique_ptr<TUndoRecord> record);
    void pushGroupFrame(int32_t phase, TSelectionPair selection);
    void openGroupInLog();
    void trim();
    bool dropOldestStep();
    static const TUndoRecord& recordOf(const TStackEntry* entry);
    static const TStackEntry* actionEnd(const TStackEntry* entry);
    static const TStackEntry* groupEnd(const TStackEntry* entry);
    static const TStackEntry* stepEnd(const TStackEntry* entry);

    int64_t m_memoryLimit;
    bool m_groupOpen = false;
    bool m_groupLogged = false; // the open group's opening records are in the log
    int32_t m_groupId = 0;
    TSelectionPair m_groupSelection;
    std::unique_ptr<TPendingAction> m_pending;
    bool m_stepsDropped = false;
};
