// Re-cutting rows without changing the text: word wrap moves row boundaries, nothing else.
#include "editor/text/TextStore.h"

#include "editor/text/RowSplice.h"

#include <cstring>
#include <stdexcept>

namespace {

// What the rows of one line carry that must survive their re-cutting.
struct TLineBelongings
{
    TRowTrack* Track = nullptr;
    int32_t Extra1 = -1;
    int32_t Extra2 = -1;
    uint16_t Bookmarks = 0;
    uint16_t Marks = 0;
};

void checkLengths(const std::string& text, const std::vector<int>& lengths)
{
    size_t cut = 0;
    for (const int length : lengths) {
        if (length < 1 || length > kMaxRowLength || cut + static_cast<size_t>(length) > text.size() ||
            std::memchr(text.data() + cut, kLineBreak, static_cast<size_t>(length) - 1))
            throw std::logic_error("row lengths do not fit the rows being re-cut");
        cut += static_cast<size_t>(length);
    }
    if (cut != text.size())
        throw std::logic_error("row lengths do not cover the rows being re-cut");
}

} // namespace

TRowChange TTextStore::RecutRows(const TRowSpot& first, int64_t count, const std::vector<int>& lengths)
{
    if (!first.Row || count <= 0 || lengths.empty())
        return {};
    ++m_editCount;
    // Join the rows' bytes and token bytes and gather what each line carries. A line here is
    // the run of rows up to one ending in CR, or to the end of the range.
    std::string text;
    std::vector<uint8_t> attrs;
    std::vector<TLineBelongings> lines;
    bool anyAttrs = false;
    uint32_t passFlags = 0;
    bool lineStarts = true;
    TTextRow* row = first.Row;
    for (int64_t i = 0; i < count && row; ++i, row = row->Next) {
        if (lineStarts)
            lines.push_back({Track(row), Extra1(row), Extra2(row), 0, 0});
        lineStarts = row->EndsLine();
        lines.back().Bookmarks |= row->RowBits & rbBookmarkMask;
        lines.back().Marks |= row->MarkBits;
        text.append(row->Text(), row->Length);
        attrs.resize(attrs.size() + row->Length);
        row->CopyAttrs(attrs.data() + attrs.size() - row->Length);
        if (row->HasAttrs())
            anyAttrs = true;
        else
            passFlags |= rfReparse;
        passFlags |= row->Flags & (rfReparse | rfPassStart);
    }
    checkLengths(text, lengths);

    // Track objects leave their rows for the splice and go to the new rows once it stands; a
    // failed splice leaves the old rows, which get them back.
    std::vector<TTextRow*> oldLineRows;
    row = first.Row;
    for (size_t line = 0; line < lines.size(); ++line) {
        oldLineRows.push_back(row);
        m_arena.TakeTrack(row);
        while (!row->EndsLine() && row->Next && line + 1 < lines.size())
            row = row->Next;
        row = row->Next;
    }
    std::vector<TTextRow*> newLineRows;
    TRowChange change;
    try {
        TRowSplice splice(*this, first, count);
        size_t at = 0;
        bool newLine = true;
        for (const int length : lengths) {
            TTextRow* made = splice.AddRow(text.data() + at, length, anyAttrs ? attrs.data() + at : nullptr,
                                           rfRepaint | passFlags);
            if (newLine)
                newLineRows.push_back(made);
            newLine = made->EndsLine();
            at += static_cast<size_t>(length);
        }
        change = splice.Finish();
    } catch (...) {
        for (size_t line = 0; line < lines.size(); ++line)
            m_arena.SetTrack(oldLineRows[line], lines[line].Track);
        throw;
    }
    for (size_t line = 0; line < lines.size() && line < newLineRows.size(); ++line) {
        TTextRow* head = newLineRows[line];
        const TLineBelongings& kept = lines[line];
        m_arena.SetTrack(head, kept.Track);
        m_arena.SetExtras(head, kept.Extra1, kept.Extra2);
        head->RowBits |= kept.Bookmarks;
        head->MarkBits = kept.Marks;
    }
    m_cursorValid = false;
    return change;
}
