// The message interface of the editor control: the standard edit-control messages and the
// control's own SM_* messages, answered by Perform through a table of small handlers.
// Parameters follow the Windows convention: wParam is an unsigned word, lParam a signed word
// that may carry a pointer; pointers never pass ownership unless a handler says so. The
// answer of a message that reports nothing is 0; a message the table does not know answers 0.
#pragma once

#include <cstdint>

class TSourceMemo;

using TWParam = uintptr_t;
using TLParam = intptr_t;
using TLResult = intptr_t;

// Standard messages, numbered as in the Windows edit control (EM_CANPASTE as in RichEdit).
constexpr uint32_t WM_SETREDRAW = 0x000B;
constexpr uint32_t WM_SETTEXT = 0x000C;
constexpr uint32_t WM_GETTEXT = 0x000D;
constexpr uint32_t WM_GETTEXTLENGTH = 0x000E;
constexpr uint32_t WM_GETDLGCODE = 0x0087;
constexpr uint32_t EM_GETSEL = 0x00B0;
constexpr uint32_t EM_SETSEL = 0x00B1;
constexpr uint32_t EM_LINESCROLL = 0x00B6;
constexpr uint32_t EM_SCROLLCARET = 0x00B7;
constexpr uint32_t EM_GETMODIFY = 0x00B8;
constexpr uint32_t EM_GETLINECOUNT = 0x00BA;
constexpr uint32_t EM_LINEINDEX = 0x00BB;
constexpr uint32_t EM_LINELENGTH = 0x00C1;
constexpr uint32_t EM_REPLACESEL = 0x00C2;
constexpr uint32_t EM_GETLINE = 0x00C4;
constexpr uint32_t EM_CANUNDO = 0x00C6;
constexpr uint32_t EM_UNDO = 0x00C7;
constexpr uint32_t EM_LINEFROMCHAR = 0x00C9;
constexpr uint32_t EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr uint32_t EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr uint32_t EM_POSFROMCHAR = 0x00D6;
constexpr uint32_t EM_CHARFROMPOS = 0x00D7;
constexpr uint32_t WM_DROPFILES = 0x0233;
constexpr uint32_t WM_CUT = 0x0300;
constexpr uint32_t WM_COPY = 0x0301;
constexpr uint32_t WM_PASTE = 0x0302;
constexpr uint32_t WM_UNDO = 0x0304;
constexpr uint32_t EM_CANPASTE = 0x0432;

// The control's own messages.
constexpr uint32_t SM_SELECTION = 0x0C00;
constexpr uint32_t SM_OPTIONS = 0x0C01;
constexpr uint32_t SM_REPLACESEL = 0x0C02;
constexpr uint32_t SM_LOCKPAINT = 0x0C05;
constexpr uint32_t SM_LOADSTREAM = 0x0C06;
constexpr uint32_t SM_SAVESTREAM = 0x0C07;
constexpr uint32_t SM_MODIFIED = 0x0C08;
constexpr uint32_t SM_TOPROW = 0x0C09;
constexpr uint32_t SM_LEFTCOL = 0x0C0A;
constexpr uint32_t SM_FIND = 0x0C0B;
constexpr uint32_t SM_GETSELTEXT = 0x0C0D;
constexpr uint32_t SM_CANREDO = 0x0C0E;
constexpr uint32_t SM_REDO = 0x0C0F;
constexpr uint32_t SM_INDENT = 0x0C10;
constexpr uint32_t SM_UNINDENT = 0x0C11;
constexpr uint32_t SM_APPLYSETTINGS = 0x0C12;
constexpr uint32_t SM_SETATTRS = 0x0C13;
constexpr uint32_t SM_GETATTRS = 0x0C14;
constexpr uint32_t SM_UNDOSTACK = 0x0C15;
constexpr uint32_t SM_TEXTSTORE = 0x0C18;
constexpr uint32_t SM_REPARSEFROM = 0x0C21;
constexpr uint32_t SM_IDSTRING = 0x0C40;

// wParam bits of the get-or-set messages: bit 0 sets (otherwise the value is read), bit 1
// asks the setter not to repaint (the next paint shows the change).
constexpr TWParam smSet = 1;
constexpr TWParam smNoRepaint = 2;

// Text formats of SM_SAVESTREAM and SM_GETSELTEXT (wParam).
constexpr TWParam smfText = 0; // line breaks as stored: CR
constexpr TWParam smfCRLF = 1;
constexpr TWParam smfRTF = 2;
constexpr TWParam smfHTML = 4;
constexpr TWParam smfLF = 8;

// WM_GETDLGCODE answers.
constexpr TLResult DLGC_WANTARROWS = 0x0001;
constexpr TLResult DLGC_WANTTAB = 0x0002;
constexpr TLResult DLGC_WANTCHARS = 0x0080;

// EM_CANPASTE formats (wParam); 0 asks for any text.
constexpr TWParam CF_TEXT = 1;

// SM_IDSTRING answers a pointer to this text.
inline constexpr const char* kSourceMemoIdString = "<TSourceMemo>:3.00.39";

// Sends one message to the control and returns its answer. Handler contracts, by message
// (wParam; lParam -> answer):
//   WM_SETREDRAW      (0 suspends painting, else resumes and repaints everything; -) -> 0
//   WM_SETTEXT        (-; const char* NUL-terminated text, null for none) -> 1. Replaces the
//                     whole document through the loader (the undo log is cleared).
//   WM_GETTEXT        (buffer size in bytes; char* buffer) -> bytes copied. Copies at most
//                     size-1 bytes of the text (line breaks in the store's style) and a NUL.
//   WM_GETTEXTLENGTH  (-; -) -> length of that text
//   WM_GETDLGCODE     (-; -) -> DLGC_WANTCHARS | DLGC_WANTARROWS, | DLGC_WANTTAB with WantTab
//   EM_GETSEL         (int64_t* anchor or null; int64_t* caret or null) -> anchor in the low
//                     32 bits, caret in the high 32 bits (each clamped to 0x7FFFFFFF)
//   EM_SETSEL         (anchor; caret) -> 0. (0, -1) selects all; a caret of -1 means the
//                     document end; an anchor of -1 keeps the caret and drops the selection.
//   EM_LINESCROLL     (columns; rows) -> 1
//   EM_SCROLLCARET    (-; -) -> 1
//   EM_GETMODIFY      (-; -) -> the modified flag
//   EM_GETLINECOUNT   (-; -) -> RowCount, at least 1
//   EM_LINEINDEX      (row, -1 for the caret's row; -) -> its start offset; -1 past the end
//   EM_LINELENGTH     (offset; -) -> length of the row holding it, CR not counted
//   EM_REPLACESEL     (-; const char* text or null) -> 0
//   EM_GETLINE        (row; char* buffer whose first 16-bit word holds its size) -> bytes
//                     copied (no NUL is added); 0 past the last row
//   EM_CANUNDO, EM_UNDO, WM_UNDO, EM_EMPTYUNDOBUFFER (-; -) -> the undo state, 1, 1, 0
//   EM_LINEFROMCHAR   (offset, -1 for the caret; -) -> row index
//   EM_GETFIRSTVISIBLELINE (-; -) -> TopRow
//   EM_POSFROMCHAR    (offset; QPoint* receiving the point, or null) -> x in the low 16 bits
//                     and y in the high 16 bits (signed); -1 for an offset past the end
//   EM_CHARFROMPOS    (-; x in the low 16 bits, y in the next 16, signed) -> the offset, or
//                     -1 outside the text area
//   EM_CANPASTE       (0 or CF_TEXT; -) -> whether text is on the clipboard
//   WM_CUT, WM_COPY, WM_PASTE (-; -) -> 0
//   WM_DROPFILES      (const QStringList* names; const QPoint* drop point or null) -> 0.
//                     Raises OnFilesDropped (point -1, -1 when null) with
//                     smoProcessDroppedFiles set; the caller keeps both objects.
//   SM_SELECTION      (get/set bits; TSelectionPair* read or written) -> 1. Setting clamps
//                     to 0..CharCount; an anchor of -1 selects everything.
//   SM_OPTIONS        (get/set bits; the new word) -> the option word after the call
//   SM_REPLACESEL     (-; const char* NUL-terminated text, null deletes) -> 0
//   SM_LOCKPAINT      (get/set bits; nonzero locks) -> the lock after the call; clearing it
//                     repaints everything
//   SM_LOADSTREAM     (-; TStream* read from its position to its end) -> 0
//   SM_SAVESTREAM     (format; TStream* written) -> bytes written; the selection is written
//   SM_MODIFIED       (get/set bits; the flag) -> the flag after the call
//   SM_TOPROW, SM_LEFTCOL (get/set bits; the value) -> the value after the call
//   SM_FIND           (search flags, sr*; const char* NUL-terminated text) -> the match start,
//                     or -1 when nothing was found (or the control's find dialog was shown, or
//                     the expression did not compile: its error was shown)
//   SM_GETSELTEXT     (format; std::string* receiving the selection) -> its length. A string
//                     rather than a raw buffer, so that no selection can overrun the caller.
//   SM_CANREDO, SM_REDO (-; -) -> the redo state, 1
//   SM_INDENT         (step, 0 for IndentStep, at most 255; bit 0 allows TABs) -> 0
//   SM_UNINDENT       (step, 0 for IndentStep, at most 255; -) -> 0
//   SM_APPLYSETTINGS  (-; -) -> 0
//   SM_SETATTRS, SM_GETATTRS (first row in the low 32 bits, last row in the high 32 bits, 0
//                     for the whole document; std::vector<uint8_t>* token bytes) -> bytes
//                     copied. Rows are taken in order with every stored byte (CR included);
//                     GETATTRS resizes the vector, SETATTRS copies what the vector holds.
//   SM_UNDOSTACK      (get: TStoreUndo** receiving the log, which the store keeps; set:
//                     std::unique_ptr<TStoreUndo>* exchanged with the store's log, null
//                     giving the store a fresh log) -> 1; 0 when the given log is not a
//                     TStoreUndoStack (then nothing changes)
//   SM_TEXTSTORE      (0: TTextStore** receiving the shown store, which the control keeps;
//                     1: std::unique_ptr<TTextStore>* exchanged with the shown store: the
//                     control takes the given store and hands back the one it showed; a
//                     null store is replaced by a new empty one) -> 1; other wParam -> 0
//   SM_REPARSEFROM    (get/set bits; row, clamped to the document, negative for none) ->
//                     the row the next highlighting pass starts at after the call, -1 for
//                     none. Exchanging stores forgets it.
//   SM_IDSTRING       (-; -) -> const char* kSourceMemoIdString
// Exceptions of the operations (ESourceMemo, stream errors) pass to the caller.
TLResult Perform(TSourceMemo& memo, uint32_t message, TWParam wParam = 0, TLParam lParam = 0);

// Whether Perform has a handler for the message.
bool IsSourceMemoMessage(uint32_t message);
