// The message handlers of the editor control and the table Perform dispatches through. Each
// handler is a thin translation onto the control's public API, so the host, the Lines adapter
// and the keyboard reach one implementation of every operation.
#include "editor/widget/SourceMemoMessages.h"

#include "editor/edit/StoreUndoStack.h"
#include "editor/widget/QtClipboard.h"
#include "editor/widget/SourceMemo.h"
#include "editor/widget/SourceMemoProperties.h"

#include "base/Stream.h"

#include <QScrollBar>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using THandler = TLResult (*)(TSourceMemo&, TWParam, TLParam);

bool isSet(TWParam wParam)
{
    return (wParam & smSet) != 0;
}

template <typename T> T* pointerIn(TLParam lParam)
{
    return reinterpret_cast<T*>(lParam);
}

// ---- text helpers ------------------------------------------------------------------------

// Stored text (line breaks as CR) written in a plain format: CR, CR LF or LF line ends.
std::string plainText(const std::string& stored, TWParam format)
{
    if (format == smfText)
        return stored;
    std::string out;
    out.reserve(stored.size() + stored.size() / 16);
    for (const char c : stored) {
        if (c != kLineBreak)
            out += c;
        else if (format == smfLF)
            out += '\n';
        else
            out += "\r\n";
    }
    return out;
}

// The characters between two offsets in one of the message formats.
std::string formattedRange(TSourceMemo& memo, int64_t start, int64_t end, TWParam format)
{
    if (format == smfRTF || format == smfHTML) {
        TMemoryStream stream;
        memo.Store().WriteRange(stream, start, end, format == smfRTF ? sfRTF : sfHTML);
        return stream.AsString();
    }
    const TWParam plain = (format == smfCRLF || format == smfLF) ? format : smfText;
    return plainText(memo.Store().GetText(start, end), plain);
}

std::string formattedSelection(TSourceMemo& memo, TWParam format)
{
    const TSelectionPair selection = memo.Editor().Selection();
    return formattedRange(memo, selection.Start(), selection.End(), format);
}

// The whole document with line breaks in the store's line-end style.
std::string documentText(TSourceMemo& memo)
{
    const TWParam style = memo.Store().LineStyle() == lsCRLF ? smfCRLF : smfText;
    return plainText(memo.Store().GetText(), style);
}

int64_t documentTextLength(TSourceMemo& memo)
{
    const TTextStore& store = memo.Store();
    return store.CharCount() + (store.LineStyle() == lsCRLF ? store.LineCount() - 1 : 0);
}

// ---- painting state ------------------------------------------------------------------------

TLResult setRedraw(TSourceMemo& memo, TWParam wParam, TLParam)
{
    memo.SetRedraw(wParam != 0);
    return 0;
}

TLResult lockPaint(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    if (isSet(wParam))
        memo.SetPaintLock(lParam != 0);
    return memo.PaintLocked() ? 1 : 0;
}

// ---- whole text ------------------------------------------------------------------------------

TLResult setText(TSourceMemo& memo, TWParam, TLParam lParam)
{
    const char* text = pointerIn<const char>(lParam);
    TReadOnlyMemoryStream stream(text ? text : "",
                                 text ? static_cast<int64_t>(std::strlen(text)) : 0);
    memo.Store().LoadFromStream(stream);
    return 1;
}

TLResult getText(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    char* buffer = pointerIn<char>(lParam);
    if (!buffer || wParam == 0)
        return 0;
    const std::string text = documentText(memo);
    const size_t count = std::min<size_t>(text.size(), wParam - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<TLResult>(count);
}

TLResult getTextLength(TSourceMemo& memo, TWParam, TLParam)
{
    return static_cast<TLResult>(documentTextLength(memo));
}

TLResult getDlgCode(TSourceMemo& memo, TWParam, TLParam)
{
    return DLGC_WANTCHARS | DLGC_WANTARROWS | (memo.WantTab() ? DLGC_WANTTAB : 0);
}

// ---- selection ---------------------------------------------------------------------------------

TLResult getSel(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    const TSelectionPair selection = memo.Editor().Selection();
    if (auto* anchor = reinterpret_cast<int64_t*>(wParam))
        *anchor = selection.Anchor;
    if (auto* caret = pointerIn<int64_t>(lParam))
        *caret = selection.Caret;
    constexpr int64_t most = std::numeric_limits<int32_t>::max();
    const auto low = static_cast<uint64_t>(std::min(selection.Anchor, most));
    const auto high = static_cast<uint64_t>(std::min(selection.Caret, most));
    return static_cast<TLResult>(low | (high << 32));
}

TLResult setSel(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    TSourceEditor& editor = memo.Editor();
    const auto anchor = static_cast<int64_t>(static_cast<intptr_t>(wParam));
    if (anchor == 0 && lParam == -1)
        editor.SelectAll();
    else if (anchor == -1)
        editor.SetSelection(editor.SelCaret(), editor.SelCaret());
    else
        editor.SetSelection(anchor, lParam == -1 ? memo.Store().CharCount() : lParam);
    editor.NotifyChange();
    memo.viewport()->update();
    return 0;
}

TLResult selection(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    auto* pair = pointerIn<TSelectionPair>(lParam);
    if (!pair)
        return 0;
    if (!isSet(wParam)) {
        *pair = memo.Editor().Selection();
        return 1;
    }
    memo.Editor().SetSelection(pair->Anchor, pair->Caret);
    memo.Editor().NotifyChange();
    if (!memo.RepaintSuppressed())
        memo.viewport()->update();
    return 1;
}

TLResult getSelText(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    auto* out = pointerIn<std::string>(lParam);
    if (!out)
        return 0;
    *out = formattedSelection(memo, wParam);
    return static_cast<TLResult>(out->size());
}

// ---- rows
// ----------------------------------------------------------------------------------------

TLResult getLineCount(TSourceMemo& memo, TWParam, TLParam)
{
    return static_cast<TLResult>(std::max<int64_t>(memo.Store().RowCount(), 1));
}

int64_t caretRow(TSourceMemo& memo)
{
    return memo.Store().RowAt(memo.Editor().SelCaret()).Index;
}

// The row after the last one exists only as the empty line after a final line break, or as
// the single row of an empty document.
bool hasTrailingEmptyRow(const TTextStore& store)
{
    return store.RowCount() == 0 || store.LastRow()->EndsLine();
}

TLResult lineIndex(TSourceMemo& memo, TWParam wParam, TLParam)
{
    TTextStore& store = memo.Store();
    const auto requested = static_cast<int64_t>(static_cast<intptr_t>(wParam));
    const int64_t row = requested == -1 ? caretRow(memo) : requested;
    if (row < 0 || row > store.RowCount())
        return -1;
    if (row == store.RowCount())
        return hasTrailingEmptyRow(store) ? static_cast<TLResult>(store.CharCount()) : -1;
    return static_cast<TLResult>(store.RowByIndex(row).Start);
}

TLResult lineLength(TSourceMemo& memo, TWParam wParam, TLParam)
{
    const TRowSpot spot = memo.Store().RowAt(static_cast<int64_t>(static_cast<intptr_t>(wParam)));
    return spot.Row ? spot.Row->TextLength() : 0;
}

TLResult lineFromChar(TSourceMemo& memo, TWParam wParam, TLParam)
{
    const auto offset = static_cast<int64_t>(static_cast<intptr_t>(wParam));
    if (offset == -1)
        return static_cast<TLResult>(caretRow(memo));
    return static_cast<TLResult>(memo.Store().RowAt(offset).Index);
}

TLResult getLine(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    char* buffer = pointerIn<char>(lParam);
    TTextStore& store = memo.Store();
    if (!buffer || wParam >= static_cast<TWParam>(store.RowCount()))
        return 0;
    uint16_t capacity = 0;
    std::memcpy(&capacity, buffer, sizeof capacity);
    const TRowSpot spot = store.RowByIndex(static_cast<int64_t>(wParam));
    const size_t count = std::min<size_t>(spot.Row->TextLength(), capacity);
    std::memcpy(buffer, spot.Row->Text(), count);
    return static_cast<TLResult>(count);
}

// ---- editing ---------------------------------------------------------------------------------

TLResult replaceSel(TSourceMemo& memo, TWParam, TLParam lParam)
{
    const char* text = pointerIn<const char>(lParam);
    memo.Editor().ReplaceSelection(text ? std::string_view(text) : std::string_view());
    memo.Editor().NotifyChange();
    return 0;
}

TLResult loadStream(TSourceMemo& memo, TWParam, TLParam lParam)
{
    if (auto* stream = pointerIn<TStream>(lParam)) {
        memo.Editor().InsertStream(*stream);
        memo.Editor().NotifyChange();
    }
    return 0;
}

TLResult saveStream(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    auto* stream = pointerIn<TStream>(lParam);
    if (!stream)
        return 0;
    const std::string bytes = formattedSelection(memo, wParam);
    stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return static_cast<TLResult>(bytes.size());
}

// Steps are bytes, as IndentStep is; a larger request is cut to 255 columns per line.
int indentStep(TWParam wParam)
{
    return static_cast<int>(std::min<TWParam>(wParam, 255));
}

TLResult indent(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    memo.Editor().IndentBlock(indentStep(wParam), (lParam & 1) != 0);
    memo.Editor().NotifyChange();
    return 0;
}

TLResult unindent(TSourceMemo& memo, TWParam wParam, TLParam)
{
    memo.Editor().UnindentBlock(indentStep(wParam));
    memo.Editor().NotifyChange();
    return 0;
}

TLResult cut(TSourceMemo& memo, TWParam, TLParam)
{
    memo.Editor().CutToClipboard();
    memo.Editor().NotifyChange();
    return 0;
}

TLResult copy(TSourceMemo& memo, TWParam, TLParam)
{
    memo.Editor().CopyToClipboard();
    return 0;
}

TLResult paste(TSourceMemo& memo, TWParam, TLParam)
{
    memo.Editor().PasteFromClipboard();
    memo.Editor().NotifyChange();
    memo.viewport()->update();
    return 0;
}

TLResult canPaste(TSourceMemo&, TWParam wParam, TLParam)
{
    if (wParam != 0 && wParam != CF_TEXT)
        return 0;
    return TQtClipboard().HasFormat(TClipFormat::Text) ? 1 : 0;
}

// ---- undo
// ----------------------------------------------------------------------------------------

TLResult canUndo(TSourceMemo& memo, TWParam, TLParam)
{
    return memo.Editor().CanUndo() ? 1 : 0;
}

TLResult undo(TSourceMemo& memo, TWParam, TLParam)
{
    memo.Editor().Undo();
    memo.Editor().NotifyChange();
    return 1;
}

TLResult canRedo(TSourceMemo& memo, TWParam, TLParam)
{
    return memo.Editor().CanRedo() ? 1 : 0;
}

TLResult redo(TSourceMemo& memo, TWParam, TLParam)
{
    memo.Editor().Redo();
    memo.Editor().NotifyChange();
    return 1;
}

TLResult emptyUndoBuffer(TSourceMemo& memo, TWParam, TLParam)
{
    memo.Editor().RecordUndo(ukClear, 0);
    return 0;
}

TLResult getModify(TSourceMemo& memo, TWParam, TLParam)
{
    return memo.Editor().Modified() ? 1 : 0;
}

TLResult modified(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    if (isSet(wParam))
        memo.Editor().SetModified(lParam != 0);
    return memo.Editor().Modified() ? 1 : 0;
}

TLResult undoStack(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    if (!lParam)
        return 0;
    TTextStore& store = memo.Store();
    if (!isSet(wParam)) {
        *pointerIn<TStoreUndo*>(lParam) = store.UndoStack();
        return 1;
    }
    auto& exchanged = *pointerIn<std::unique_ptr<TStoreUndo>>(lParam);
    // The editing core logs only into a TStoreUndoStack; another kind of log is refused and
    // stays with the caller.
    if (exchanged && !dynamic_cast<TStoreUndoStack*>(exchanged.get()))
        return 0;
    std::unique_ptr<TStoreUndo> previous = store.ReleaseUndoStack();
    store.SetUndoStack(exchanged ? std::move(exchanged) : std::make_unique<TStoreUndoStack>());
    exchanged = std::move(previous);
    return 1;
}

// ---- view
// ------------------------------------------------------------------------------------------

TLResult lineScroll(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    const auto columns = static_cast<int64_t>(static_cast<intptr_t>(wParam));
    if (columns != 0)
        memo.SetLeftCol(memo.LeftCol() + columns);
    if (lParam != 0)
        memo.SetTopRow(std::max<int64_t>(memo.TopRow() + lParam, 0));
    return 1;
}

TLResult scrollCaret(TSourceMemo& memo, TWParam, TLParam)
{
    memo.ScrollCaretIntoView();
    return 1;
}

TLResult firstVisibleLine(TSourceMemo& memo, TWParam, TLParam)
{
    return static_cast<TLResult>(memo.TopRow());
}

TLResult topRow(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    if (isSet(wParam))
        memo.SetTopRow(std::max<TLParam>(lParam, 0));
    return static_cast<TLResult>(memo.TopRow());
}

TLResult leftCol(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    if (isSet(wParam))
        memo.SetLeftCol(lParam);
    return static_cast<TLResult>(memo.LeftCol());
}

TLResult posFromChar(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    const auto offset = static_cast<int64_t>(static_cast<intptr_t>(wParam));
    if (offset < 0 || offset > memo.Store().CharCount())
        return -1;
    const QPoint point = memo.PosFromChar(offset);
    if (auto* out = pointerIn<QPoint>(lParam))
        *out = point;
    const auto x =
        static_cast<uint16_t>(static_cast<int16_t>(std::clamp(point.x(), -32768, 32767)));
    const auto y =
        static_cast<uint16_t>(static_cast<int16_t>(std::clamp(point.y(), -32768, 32767)));
    return static_cast<TLResult>(static_cast<uint32_t>(x) | (static_cast<uint32_t>(y) << 16));
}

TLResult charFromPos(TSourceMemo& memo, TWParam, TLParam lParam)
{
    const auto bits = static_cast<uint32_t>(lParam);
    const QPoint point(static_cast<int16_t>(bits & 0xFFFF), static_cast<int16_t>(bits >> 16));
    return static_cast<TLResult>(memo.CharFromPos(point));
}

TLResult options(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    if (isSet(wParam)) {
        memo.SetOptions(static_cast<uint32_t>(lParam));
    }
    return static_cast<TLResult>(memo.Options());
}

TLResult applySettings(TSourceMemo& memo, TWParam, TLParam)
{
    memo.ApplySettings();
    return 0;
}

TLResult reparseFrom(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    if (isSet(wParam))
        memo.SetReparseFrom(lParam);
    return static_cast<TLResult>(memo.ReparseFrom());
}

// ---- token bytes -------------------------------------------------------------------------------

struct TRowSpan
{
    int64_t First = 0;
    int64_t Last = -1;
};

TRowSpan attrRows(const TTextStore& store, TWParam wParam)
{
    const int64_t last = store.RowCount() - 1;
    if (wParam == 0)
        return {0, last};
    const auto bits = static_cast<uint64_t>(wParam);
    const auto first = static_cast<int64_t>(bits & 0xFFFFFFFFu);
    return {first, std::min<int64_t>(static_cast<int64_t>(bits >> 32), last)};
}

TLResult getAttrs(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    auto* out = pointerIn<std::vector<uint8_t>>(lParam);
    if (!out)
        return 0;
    out->clear();
    const TRowSpan span = attrRows(memo.Store(), wParam);
    if (span.First > span.Last)
        return 0;
    const TTextRow* row = memo.Store().RowByIndex(span.First).Row;
    for (int64_t index = span.First; row && index <= span.Last; ++index, row = row->Next) {
        out->resize(out->size() + row->Length);
        row->CopyAttrs(out->data() + out->size() - row->Length);
    }
    return static_cast<TLResult>(out->size());
}

TLResult setAttrs(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    const auto* in = pointerIn<const std::vector<uint8_t>>(lParam);
    if (!in)
        return 0;
    const TRowSpan span = attrRows(memo.Store(), wParam);
    if (span.First > span.Last)
        return 0;
    size_t used = 0;
    TTextRow* row = memo.Store().RowByIndex(span.First).Row;
    for (int64_t index = span.First; row && index <= span.Last && used < in->size();
         ++index, row = row->Next) {
        const size_t count = std::min<size_t>(row->Length, in->size() - used);
        uint8_t tokens[kMaxRowLength];
        row->CopyAttrs(tokens); // a short tail keeps the row's other bytes
        std::memcpy(tokens, in->data() + used, count);
        memo.Store().SetAttrs(row, tokens);
        used += count;
        row->Flags |= rfReparse | rfRepaint;
    }
    memo.viewport()->update();
    return static_cast<TLResult>(used);
}

// ---- stores -------------------------------------------------------------------------------------

TLResult textStore(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    if (!lParam)
        return 0;
    if (wParam == 0) {
        *pointerIn<TTextStore*>(lParam) = &memo.Store();
        return 1;
    }
    if (wParam != 1)
        return 0;
    auto& exchanged = *pointerIn<std::unique_ptr<TTextStore>>(lParam);
    exchanged = memo.ExchangeStore(std::move(exchanged));
    return 1;
}

TLResult dropFiles(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    const auto* names = reinterpret_cast<const QStringList*>(wParam);
    if (!names || !(memo.Options() & smoProcessDroppedFiles) || !memo.OnFilesDropped)
        return 0;
    const auto* at = pointerIn<const QPoint>(lParam);
    memo.OnFilesDropped(&memo, *names, at ? *at : QPoint(-1, -1));
    return 0;
}

TLResult find(TSourceMemo& memo, TWParam wParam, TLParam lParam)
{
    const char* text = pointerIn<const char>(lParam);
    int64_t position = -1;
    if (!memo.FindText(text ? text : "", static_cast<uint16_t>(wParam), position))
        return -1;
    return static_cast<TLResult>(position);
}

TLResult idString(TSourceMemo&, TWParam, TLParam)
{
    return reinterpret_cast<TLResult>(kSourceMemoIdString);
}

// ---- the table -------------------------------------------------------------------------------

struct TMessageEntry
{
    uint32_t Message;
    THandler Handler;
    bool GetOrSet = false; // wParam carries the set and no-repaint bits
};

// Sorted by message number for the binary search.
constexpr std::array kHandlers{
    TMessageEntry{WM_SETREDRAW, setRedraw},
    TMessageEntry{WM_SETTEXT, setText},
    TMessageEntry{WM_GETTEXT, getText},
    TMessageEntry{WM_GETTEXTLENGTH, getTextLength},
    TMessageEntry{WM_GETDLGCODE, getDlgCode},
    TMessageEntry{EM_GETSEL, getSel},
    TMessageEntry{EM_SETSEL, setSel},
    TMessageEntry{EM_LINESCROLL, lineScroll},
    TMessageEntry{EM_SCROLLCARET, scrollCaret},
    TMessageEntry{EM_GETMODIFY, getModify},
    TMessageEntry{EM_GETLINECOUNT, getLineCount},
    TMessageEntry{EM_LINEINDEX, lineIndex},
    TMessageEntry{EM_LINELENGTH, lineLength},
    TMessageEntry{EM_REPLACESEL, replaceSel},
    TMessageEntry{EM_GETLINE, getLine},
    TMessageEntry{EM_CANUNDO, canUndo},
    TMessageEntry{EM_UNDO, undo},
    TMessageEntry{EM_LINEFROMCHAR, lineFromChar},
    TMessageEntry{EM_EMPTYUNDOBUFFER, emptyUndoBuffer},
    TMessageEntry{EM_GETFIRSTVISIBLELINE, firstVisibleLine},
    TMessageEntry{EM_POSFROMCHAR, posFromChar},
    TMessageEntry{EM_CHARFROMPOS, charFromPos},
    TMessageEntry{WM_DROPFILES, dropFiles},
    TMessageEntry{WM_CUT, cut},
    TMessageEntry{WM_COPY, copy},
    TMessageEntry{WM_PASTE, paste},
    TMessageEntry{WM_UNDO, undo},
    TMessageEntry{EM_CANPASTE, canPaste},
    TMessageEntry{SM_SELECTION, selection, true},
    TMessageEntry{SM_OPTIONS, options, true},
    TMessageEntry{SM_REPLACESEL, replaceSel},
    TMessageEntry{SM_LOCKPAINT, lockPaint, true},
    TMessageEntry{SM_LOADSTREAM, loadStream},
    TMessageEntry{SM_SAVESTREAM, saveStream},
    TMessageEntry{SM_MODIFIED, modified, true},
    TMessageEntry{SM_TOPROW, topRow, true},
    TMessageEntry{SM_LEFTCOL, leftCol, true},
    TMessageEntry{SM_FIND, find},
    TMessageEntry{SM_GETSELTEXT, getSelText},
    TMessageEntry{SM_CANREDO, canRedo},
    TMessageEntry{SM_REDO, redo},
    TMessageEntry{SM_INDENT, indent},
    TMessageEntry{SM_UNINDENT, unindent},
    TMessageEntry{SM_APPLYSETTINGS, applySettings},
    TMessageEntry{SM_SETATTRS, setAttrs},
    TMessageEntry{SM_GETATTRS, getAttrs},
    TMessageEntry{SM_UNDOSTACK, undoStack, true},
    TMessageEntry{SM_TEXTSTORE, textStore},
    TMessageEntry{SM_REPARSEFROM, reparseFrom, true},
    TMessageEntry{SM_IDSTRING, idString},
};

static_assert(std::is_sorted(kHandlers.begin(), kHandlers.end(),
                             [](const TMessageEntry& a, const TMessageEntry& b) {
                                 return a.Message < b.Message;
                             }));

const TMessageEntry* entryFor(uint32_t message)
{
    const auto* entry =
        std::lower_bound(kHandlers.begin(), kHandlers.end(), message,
                         [](const TMessageEntry& e, uint32_t m) { return e.Message < m; });
    return entry != kHandlers.end() && entry->Message == message ? entry : nullptr;
}

// Holds back repaints for the duration of a setter sent with the no-repaint bit.
class TRepaintHold
{
public:
    TRepaintHold(TSourceMemo& memo, bool hold) : m_memo(memo), m_was(memo.RepaintSuppressed())
    {
        if (hold)
            memo.SetRepaintSuppressed(true);
    }
    ~TRepaintHold() { m_memo.SetRepaintSuppressed(m_was); }
    TRepaintHold(const TRepaintHold&) = delete;
    TRepaintHold& operator=(const TRepaintHold&) = delete;

private:
    TSourceMemo& m_memo;
    bool m_was;
};

} // namespace

TLResult Perform(TSourceMemo& memo, uint32_t message, TWParam wParam, TLParam lParam)
{
    const TMessageEntry* entry = entryFor(message);
    if (!entry)
        return 0;
    const TRepaintHold hold(memo, entry->GetOrSet && isSet(wParam) && (wParam & smNoRepaint));
    return entry->Handler(memo, wParam, lParam);
}

bool IsSourceMemoMessage(uint32_t message)
{
    return entryFor(message) != nullptr;
}
