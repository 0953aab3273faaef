// The Lines adapter: list operations translated into selections and replacements sent to the
// control.
#include "editor/widget/SourceMemoStrings.h"

#include "editor/widget/SourceMemo.h"
#include "editor/widget/SourceMemoMessages.h"

#include <algorithm>
#include <cstring>
#include <vector>

std::string AdjustLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        // A CR LF or LF CR pair is one line break.
        const char partner = c == '\r' ? '\n' : '\r';
        if (i + 1 < text.size() && text[i + 1] == partner)
            ++i;
        out += "\r\n";
    }
    return out;
}

TTextStore& TSourceMemoStrings::store() const
{
    TTextStore* shown = nullptr;
    Perform(m_memo, SM_TEXTSTORE, 0, reinterpret_cast<TLParam>(&shown));
    return *shown;
}

bool TSourceMemoStrings::WholeLines() const
{
    return m_mode == TLinesMode::WholeLines && (Perform(m_memo, SM_OPTIONS) & smoWordWrap) != 0;
}

// Lines that have a row: the empty line after a final line break is no item.
int64_t TSourceMemoStrings::lineCount() const
{
    const TTextRow* last = store().LastRow();
    return store().LineCount() - (last && last->EndsLine() ? 1 : 0);
}

int64_t TSourceMemoStrings::Count() const
{
    if (store().CharCount() == 0)
        return 0;
    if (WholeLines())
        return lineCount();
    return static_cast<int64_t>(Perform(m_memo, EM_GETLINECOUNT));
}

bool TSourceMemoStrings::rowSpan(int64_t i, TItemSpan& span) const
{
    const int64_t rows = store().RowCount();
    if (i < 0 || i >= rows)
        return false;
    span.Start = static_cast<int64_t>(Perform(m_memo, EM_LINEINDEX, static_cast<TWParam>(i)));
    span.TextEnd = span.Start + static_cast<int64_t>(Perform(m_memo, EM_LINELENGTH,
                                                             static_cast<TWParam>(span.Start)));
    span.End =
        i + 1 < rows
            ? static_cast<int64_t>(Perform(m_memo, EM_LINEINDEX, static_cast<TWParam>(i + 1)))
            : store().CharCount();
    return true;
}

bool TSourceMemoStrings::lineSpan(int64_t i, TItemSpan& span) const
{
    if (i < 0 || i >= lineCount())
        return false;
    const TRowSpot first = store().LineStart(i);
    span.Start = first.Start;
    span.End = first.Start;
    const TTextRow* row = first.Row;
    for (; row; row = row->Next) {
        span.End += row->Length;
        if (!row->Next || !row->Next->IsContinuation())
            break;
    }
    span.TextEnd = span.End - (row && row->EndsLine() ? 1 : 0);
    return true;
}

bool TSourceMemoStrings::spanOf(int64_t i, TItemSpan& span) const
{
    return WholeLines() ? lineSpan(i, span) : rowSpan(i, span);
}

std::string TSourceMemoStrings::Get(int64_t i) const
{
    if (!WholeLines()) {
        if (i < 0 || i >= store().RowCount())
            return {};
        std::vector<char> buffer(kMaxItemLength);
        const uint16_t capacity = kMaxItemLength;
        std::memcpy(buffer.data(), &capacity, sizeof capacity);
        const auto count = Perform(m_memo, EM_GETLINE, static_cast<TWParam>(i),
                                   reinterpret_cast<TLParam>(buffer.data()));
        return {buffer.data(), static_cast<size_t>(count)};
    }
    TItemSpan span;
    if (!lineSpan(i, span))
        return {};
    TSelectionPair saved;
    Perform(m_memo, SM_SELECTION, 0, reinterpret_cast<TLParam>(&saved));
    TSelectionPair line{span.Start, std::min<int64_t>(span.TextEnd, span.Start + kMaxItemLength)};
    Perform(m_memo, SM_SELECTION, smSet | smNoRepaint, reinterpret_cast<TLParam>(&line));
    std::string text;
    Perform(m_memo, SM_GETSELTEXT, smfText, reinterpret_cast<TLParam>(&text));
    Perform(m_memo, SM_SELECTION, smSet | smNoRepaint, reinterpret_cast<TLParam>(&saved));
    return text;
}

void TSourceMemoStrings::replaceRange(int64_t start, int64_t end, std::string_view text)
{
    TSelectionPair range{start, end};
    Perform(m_memo, SM_SELECTION, smSet, reinterpret_cast<TLParam>(&range));
    const std::string terminated(text);
    Perform(m_memo, SM_REPLACESEL, 0, reinterpret_cast<TLParam>(terminated.c_str()));
}

void TSourceMemoStrings::Put(int64_t i, std::string_view s)
{
    TItemSpan span;
    if (spanOf(i, span))
        replaceRange(span.Start, span.TextEnd, s);
}

void TSourceMemoStrings::Insert(int64_t i, std::string_view s)
{
    const int64_t count = Count();
    if (i < 0 || i > count)
        return;
    TItemSpan span;
    if (i < count && spanOf(i, span)) {
        replaceRange(span.Start, span.Start, std::string(s) + "\r\n");
    } else if (count == 0) {
        // The first item of an empty list: no line break before it.
        replaceRange(0, store().CharCount(), s);
    } else if (spanOf(count - 1, span)) {
        // After the text of the last item, so a final line break stays at the end.
        replaceRange(span.TextEnd, span.TextEnd, "\r\n" + std::string(s));
    }
}

void TSourceMemoStrings::AddStrings(const std::vector<std::string>& strings)
{
    if (strings.empty())
        return;
    std::string joined;
    for (size_t k = 0; k < strings.size(); ++k) {
        if (k > 0)
            joined += "\r\n";
        joined += strings[k];
    }
    Add(joined);
}

void TSourceMemoStrings::Delete(int64_t i)
{
    TItemSpan span;
    if (spanOf(i, span))
        replaceRange(span.Start, span.End, {});
}

void TSourceMemoStrings::Clear()
{
    Perform(m_memo, WM_SETTEXT, 0, 0);
}

std::string TSourceMemoStrings::GetTextStr() const
{
    const auto length = static_cast<size_t>(Perform(m_memo, WM_GETTEXTLENGTH));
    std::vector<char> buffer(length + 1);
    const auto copied =
        Perform(m_memo, WM_GETTEXT, buffer.size(), reinterpret_cast<TLParam>(buffer.data()));
    return {buffer.data(), static_cast<size_t>(copied)};
}

void TSourceMemoStrings::SetTextStr(std::string_view s)
{
    const std::string text = AdjustLineBreaks(s);
    std::string current = GetTextStr();
    if (store().LineStyle() == lsLF)
        current = AdjustLineBreaks(current);
    if (current.size() == text.size() && current == text)
        return;
    Perform(m_memo, WM_SETTEXT, 0, reinterpret_cast<TLParam>(text.c_str()));
}

void TSourceMemoStrings::setUpdateState(bool updating)
{
    Perform(m_memo, WM_SETREDRAW, updating ? 0 : 1);
}

void TSourceMemoStrings::BeginUpdate()
{
    if (m_updateCount++ == 0)
        setUpdateState(true);
}

void TSourceMemoStrings::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0)
        setUpdateState(false);
}

void TSourceMemoStrings::LoadFromStream(TStream& stream)
{
    BeginUpdate();
    try {
        store().LoadFromStream(stream);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TSourceMemoStrings::LoadFromFile(const std::string& fileName)
{
    m_memo.LoadFromFile(fileName);
}

void TSourceMemoStrings::SaveToStream(TStream& stream)
{
    store().SaveToStream(&stream);
}

void TSourceMemoStrings::SaveToFile(const std::string& fileName)
{
    store().SaveToFile(fileName);
}
