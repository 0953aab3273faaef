// One record of the undo log. Records come in fixed patterns: an action is marker(k),
// selection before, text removed, text inserted, selection after, marker(k) for a text or
// stream replacement (kinds 1 and 4), and marker(k), edit, marker(k) for a block indent or
// un-indent line (kinds 10 and 9); a group is framed by marker(id, open), selection,
// marker(id, open) and marker(id, close), selection, marker(id, close).
#pragma once

#include "base/BlockPool.h"
#include "base/Stream.h"

#include <cstdint>
#include <memory>
#include <string>

// Record kinds and the commands of RecordUndo. Action kinds are below 13, group ids 13 or more.
enum TUndoKind : int32_t
{
    ukSelection = 0, // A anchor, B caret
    ukText = 1,      // Text: a copy of the text, null for no text
    ukGroupOpen = 2,
    ukGroupClose = 3,
    ukStream = 4, // Stream: a memory stream holding the text
    ukMarker = 5, // A the action kind or group id, Data the group phase
    ukRecordOn = 6,
    ukRecordOff = 7,
    ukClear = 8,
    ukUnindent = 9, // A position, Data count, Text the removed bytes
    ukIndent = 10,  // A position, Data count, Text the inserted fill
};

// Group phases carried in a marker's Data.
constexpr int32_t gpOpen = 2;
constexpr int32_t gpClose = 3;
constexpr int32_t kFirstGroupId = 13;

// Undo groups: one undo step each.
enum TUndoGroup : int32_t
{
    ugTyping = 14, // a typed character, with the auto-indent fill after ENTER
    ugDelete = 15, // delete character, backspace
    ugPaste = 16,
    ugCut = 17,
    ugExpansion = 18, // a code template or auto-correct entry replacing its name
    ugIndent = 19,
    ugUnindent = 20,
    ugDeletePrevWord = 21,
    ugDeleteNextWord = 22,
    ugReplaceSelection = 24,
    ugLineJoin = 25, // ENTER in line-join mode
};

struct TSelectionPair
{
    int64_t Anchor = 0;
    int64_t Caret = 0;
    bool operator==(const TSelectionPair&) const = default;
    int64_t Start() const { return Anchor < Caret ? Anchor : Caret; }
    int64_t End() const { return Anchor < Caret ? Caret : Anchor; }
};

struct TUndoRecord
{
    static void* operator new(size_t size) { return size == sizeof(TUndoRecord) ? TBlockPool<sizeof(TUndoRecord)>::allocate() : ::operator new(size); }
    static void operator delete(void* pointer, size_t size) noexcept
    {
        if (size == sizeof(TUndoRecord))
            TBlockPool<sizeof(TUndoRecord)>::release(pointer);
        else
            ::operator delete(pointer);
    }

    int32_t Data = 0;
    int32_t Kind = 0;
    int64_t A = 0;
    int64_t B = 0;
    std::unique_ptr<std::string> Text;
    std::unique_ptr<TMemoryStream> Stream;

    static std::unique_ptr<TUndoRecord> Marker(int32_t kindOrGroup, int32_t phase = 0);
    static std::unique_ptr<TUndoRecord> Selection(TSelectionPair selection);
    // A kind-1 record; an empty text is stored as no text.
    static std::unique_ptr<TUndoRecord> TextCopy(const std::string& text);
    static std::unique_ptr<TUndoRecord> StreamCopy(const std::string& text);
    static std::unique_ptr<TUndoRecord> LineEdit(int32_t kind, int64_t position,
                                                 const std::string& bytes);

    bool IsMarker() const { return Kind == ukMarker; }
    bool IsGroupMarker(int32_t phase) const
    {
        return Kind == ukMarker && A >= kFirstGroupId && Data == phase;
    }
    bool IsActionMarker() const { return Kind == ukMarker && A < kFirstGroupId; }
    TSelectionPair AsSelection() const { return {A, B}; }
    // The text of a kind-1, kind-4, kind-9 or kind-10 record (empty for no text).
    std::string Content() const;
    // Bytes charged to the log besides the entry itself.
    int64_t PayloadSize() const;
};
