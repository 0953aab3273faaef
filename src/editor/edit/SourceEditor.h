// The editing core of the source editor control: the selection and caret, the one edit
// primitive (ReplaceSelection), typing, the 48 editing commands, the clipboard and undo/redo
// over the undo log of the store it edits.
// Invariants (check()): both selection ends lie in 0..CharCount; CaretColumn is the display
// column of SelCaret in its row unless PastEol, and then the caret stands at the end of a line
// and CaretColumn lies beyond that end; the store and its undo log hold their own invariants.
// The core never owns the store; a store without an undo log gets one when attached.
#pragma once

#include "editor/edit/CaretControl.h"
#include "editor/edit/Clipboard.h"
#include "editor/edit/EditorHost.h"
#include "editor/edit/EditorOptions.h"
#include "editor/edit/TabStops.h"
#include "editor/keys/KeyDownHandler.h"
#include "editor/text/TextStore.h"
#include "editor/undo/UndoRecord.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TStoreUndoStack;
class TStream;

// Reasons for the next change notification.
enum TChangeFlag : uint32_t
{
    cfCaretMoved = 1,
    cfTextChanged = 2,
    cfViewResized = 4,
    cfFontChanged = 8,
    cfInsertModeToggled = 16,
    cfOptionsChanged = 32,
    cfKeyHandled = 64,
};

// Source flags of a paste or drop; OnDataDrop may change them.
enum TDataSourceFlag : uint32_t
{
    dsText = 4,
    dsHtml = 256,
    dsPaste = 512,
    dsRawHtml = 1024,      // insert HTML data as it is
    dsHtmlFragment = 8192, // cut HTML data to its first tag, then to the marked fragment
    dsHtmlFromTag = 16384, // cut HTML data to its first tag
};

inline constexpr const char* kBadTransactionLogEntry = "Bad transaction log entry";
inline constexpr const char* kBadUndoStackState = "Bad do/undo stack state";
inline constexpr const char* kCannotAllocBuffer = "Cannot alloc memory for buffer!!";
// The longest line the caret may stand past the end of, in columns.
constexpr int kMaxCaretColumn = 2047;

// Dropped and dragged text.
// The undo group of a drop: the insertion and, when the editor's own text moves, its removal.
constexpr int32_t ugDrop = 26;

// Where dropped text comes from: another program (no range), or this editor's own range
// [Start, End), moved there unless copied.
struct TDropSource
{
    int64_t Start = -1;
    int64_t End = -1;
    bool Move = false;

    bool Own() const { return Start >= 0 && End > Start; }
};

// What a drop at an offset does: removes [RemoveStart, RemoveEnd) (nothing when equal), then
// inserts at InsertAt, an offset into the text as it is after the removal. A drop of the
// editor's own text inside its range (or, for a move, at either end) does nothing.
struct TDropPlan
{
    bool Ignored = false;
    int64_t RemoveStart = 0;
    int64_t RemoveEnd = 0;
    int64_t InsertAt = 0;
};
TDropPlan PlanDrop(int64_t at, const TDropSource& source);

class TSourceEditor : public TEditorCommandExecutor
{
public:
    explicit TSourceEditor(TTextStore& store, TEditorHost* host = nullptr,
                           TClipboard* clipboard = nullptr);
    ~TSourceEditor() override;
    TSourceEditor(const TSourceEditor&) = delete;
    TSourceEditor& operator=(const TSourceEditor&) = delete;

    // Shows another store (the caller keeps ownership); the caret goes to offset 0.
    void SetStore(TTextStore& store);
    // The rows were cut again (word wrap) without changing the text: the caret keeps its offset
    // and takes the column it now stands at, unless it stands past the end of a line.
    void RowsRecut();
    TTextStore& Store() const { return *m_store; }
    void SetHost(TEditorHost* host) { m_host = host ? host : &m_noHost; }
    TEditorHost& Host() const { return *m_host; }
    void SetClipboard(TClipboard* clipboard) { m_clipboard = clipboard; }

    TEditorSettings Settings;

    // Selection and caret.
    int64_t SelAnchor() const { return m_selAnchor; }
    int64_t SelCaret() const { return m_selCaret; }
    TSelectionPair Selection() const { return {m_selAnchor, m_selCaret}; }
    int CaretColumn() const { return m_caretColumn; }
    bool PastEol() const { return m_pastEol; }
    int TrackColumn() const { return m_trackColumn; }
    bool VerticalMove() const { return m_verticalMove; }
    bool InsertMode() const { return m_insertMode; }
    void SetInsertMode(bool insert);
    uint32_t ChangeFlags() const { return m_changeFlags; }

    // Sets both ends, clamped to 0..CharCount; an anchor of -1 selects the whole document.
    void SetSelection(int64_t anchor, int64_t caret);
    // The same for a caller that holds the row the caret lies in (caretRow, which starts at
    // offset caretRowStart, as a search does that has just read it): the caret's column is
    // taken from that row instead of a lookup in the row index. A row that does not hold the
    // caret is ignored.
    void SetSelection(int64_t anchor, int64_t caret, const TTextRow* caretRow,
                      int64_t caretRowStart);
    void SelectAll() { SetSelection(-1, 0); }
    int64_t SelStart() const;
    void SetSelStart(int64_t start) { SetSelection(start, start); }
    // Counts a selected line break as the saved text does: two with lsCRLF, one with lsLF.
    int64_t SelLength() const;
    // Selects length stored characters (a line break is one) from SelStart.
    void SetSelLength(int64_t length);
    // The selected text with line breaks as CR LF (lsCRLF) or CR (lsLF).
    std::string SelText() const;
    void SetSelText(std::string_view text) { ReplaceSelection(text); }

    // The caret for the status bar: 1-based display column (past the line end the remembered
    // column) and 1-based row.
    int64_t CaretCol() const;
    int64_t CaretLine() const;
    const TSM_CaretControl& CaretControl() const { return m_caretControl; }
    TSM_CaretControl& CaretControl() { return m_caretControl; }

    // The edit primitive: replaces the selection by text (normalised; empty deletes), logs
    // the change and leaves the caret after the new text.
    void ReplaceSelection(std::string_view text);
    // Inserts the rest of the stream at the selection, logged as a stream action.
    void InsertStream(TStream& stream);

    // A typed character after the key map passed its key on.
    void KeyPress(char character);
    // Runs editing command 0..47; others do nothing.
    void ExecuteCommand(int32_t command, bool shiftDown) override;

    // Block indent and un-indent of the selected lines; step 0 means IndentStep.
    void IndentBlock(int step, bool allowTabs);
    void UnindentBlock(int step);

    // Whether a paste would find data: text or HTML on the clipboard, and not read-only.
    bool CanPaste() const;
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    // True while the log holds an undo step. Setting False clears the log; True does nothing.
    bool Modified() const;
    void SetModified(bool modified);

    // The undo log commands: 1 (text, phase 1 with newText and 2), 2 and 3 (open and close
    // group data), 4 (stream), 6 and 7 (recording on and off), 8 (clear).
    void RecordUndo(TUndoKind kind, int phase, int64_t data = 0);
    void RecordUndo(TUndoKind kind, int phase, std::string_view newText);
    bool Recording() const { return m_recording; }

    // Word navigation targets.
    int64_t WordBefore(int64_t offset) const;
    int64_t WordAfter(int64_t offset) const;
    std::function<bool(char)> fn_CharStartsWord;
    std::function<bool(char)> fn_CharIsInWord;
    // The word-character tests in force: the two above when assigned, else the defaults.
    bool CharStartsWord(char c) const { return charStartsWord(c); }
    bool CharIsInWord(char c) const { return charIsInWord(c); }

    std::function<void(uint32_t& sourceFlags)> OnDataDrop;

    // Dropped and dragged text.
    // Whether text dropped at offset at would be taken: never in read-only mode nor where
    // PlanDrop ignores the drop.
    bool AcceptsDrop(int64_t at, const TDropSource& source) const;
    // Inserts dropped text (any line breaks) at offset at as one undo step and selects it;
    // a move of the editor's own text removes its source range in the same step. OnDataDrop
    // sees the source flags first (dsText) and refuses the drop by clearing dsText. A move whose
    // source range no longer holds the dropped text becomes a copy, so nothing is lost.
    // Returns whether the text changed.
    bool DropText(std::string_view text, int64_t at, const TDropSource& source);
    // Removes [start, end) after its text was dragged to another program and moved there, as one
    // undo step; nothing happens when the range no longer holds that text or in read-only mode.
    bool RemoveDraggedText(int64_t start, int64_t end, std::string_view text);

    // Raises the change notification when a change flag is set, then clears the flags.
    void NotifyChange();

    std::string check() const;

private:
    friend class TGroupScope;

    TStoreUndoStack* undoLog() const;
    TTabStops tabs() const { return TTabStops(Settings); }
    bool charStartsWord(char c) const;
    bool charIsInWord(char c) const;

    // Selection and caret helpers (SourceEditor.cpp).
    int columnOf(int64_t offset) const;
    int columnIn(const TTextRow& row, int64_t rowStart, int64_t offset) const;
    bool atLineEnd(int64_t offset) const;
    int64_t lineEndColumn() const;
    void placeCaret(int64_t offset, bool extend);
    static int reachableLength(const TTextRow& row);
    void caretTookColumn();
    std::string stored(std::string_view text) const;
    void replaceSelectionWith(std::string text, TUndoKind kind);
    int64_t replaceRange(int64_t start, int64_t end, const std::string& text);
    void failTransaction();
    void beginGroup(int32_t id);
    void endGroup(int32_t id);

    // Typing (SourceEditorTyping.cpp).
    void typeCharacter(char character);
    void typeTab();
    int tabToColumnTarget(int column) const;
    int autoIndentColumn() const;
    int indentOfRowsAbove(int64_t rowIndex) const;

    // Commands (SourceEditorCommands.cpp).
    void moveLeft(bool extend);
    void moveRight(bool extend);
    void moveLineStart(bool extend);
    void moveLineEnd(bool extend);
    void moveRows(int64_t rows, bool extend);
    void movePage(int direction, bool extend);
    void scrollLine(int direction);
    void deleteChar();
    void deletePrevChar();
    void deleteLine();
    void deleteWord(int32_t moveCommand, int32_t group);
    bool runTextCommand(int32_t command, bool shiftDown);
    int64_t lastRowIndex() const;

    // Blocks (SourceEditorBlocks.cpp).
    std::vector<int64_t> selectedLineStarts() const;
    void reselectLines(int64_t firstLine, int64_t end, int64_t delta, bool caretFirst);

    // Undo and redo (SourceEditorUndo.cpp).
    void runUndoStep(bool redo);
    void undoGroup(TStoreUndoStack& log, int64_t id);
    void undoAction(TStoreUndoStack& log, int64_t kind);
    void redoGroup(TStoreUndoStack& log, int64_t id);
    void redoAction(TStoreUndoStack& log, int64_t kind);

    TTextStore* m_store;
    TEditorHost m_noHost;
    TEditorHost* m_host;
    TClipboard* m_clipboard;
    int64_t m_selAnchor = 0;
    int64_t m_selCaret = 0;
    int m_caretColumn = 0;
    bool m_pastEol = false;
    int m_trackColumn = 0;
    bool m_verticalMove = false;
    bool m_insertMode = true;
    uint32_t m_changeFlags = 0;
    bool m_recording = true;
    bool m_undoRunning = false;
    TSM_CaretControl m_caretControl{*this};
};

// Keeps an undo group open for a scope: opens it unless one is open or undo is running, and
// closes it (when it opened it) with the selection at the end of the scope.
class TGroupScope
{
public:
    TGroupScope(TSourceEditor& editor, int32_t id) : m_editor(editor), m_id(id)
    {
        m_editor.beginGroup(id);
    }
    ~TGroupScope() { m_editor.endGroup(m_id); }
    TGroupScope(const TGroupScope&) = delete;
    TGroupScope& operator=(const TGroupScope&) = delete;

private:
    TSourceEditor& m_editor;
    int32_t m_id;
};
