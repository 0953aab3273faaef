// Re-cutting rows without changing the text: word wrap moves row boundaries, nothing else.
#include "editor/text/TextStore.h"

#include "editor/text/RowSplice.h"

#include <cstring>
#include <stdexcept>

TRowChange TTextStore::RecutRows(const TRowSpot& first, int64_t count, const std::vector<int>& lengths)
{
    if (!first.Row || count <= 0 || lengths.empty())
        return {};
    // Join the rows' bytes and token bytes; what the old rows carried is merged onto the line.
    std::string text;
    std::vector<uint8_t> attrs;
    bool anyAttrs = false;
    uint32_t passFlags = 0;
    uint16_t bookmarks = 0;
    uint16_t marks = 0;
    const TTextRow* row = first.Row;
    for (int64_t i = 0; i < count && row; ++i, row = row->Next) {
        text.append(row->Text(), row->Length);
        if (row->Attrs) {
            anyAttrs = true;
            attrs.insert(attrs.end(), row->Attrs, row->Attrs + row->Length);
        } else {
            attrs.insert(attrs.end(), row->Length, 0);
            passFlags |= rfReparse;
        }
        passFlags |= row->Flags & (rfReparse | rfPassStart);
        bookmarks |= row->RowBits & rbBookmarkMask;
        marks |= row->MarkBits;
    }
    size_t cut = 0;
    for (const int length : lengths) {
        if (length < 1 || length > kMaxRowLength || cut + static_cast<size_t>(length) > text.size() ||
            std::memchr(text.data() + cut, kLineBreak, static_cast<size_t>(length) - 1))
            throw std::logic_error("row lengths do not fit the rows being re-cut");
        cut += static_cast<size_t>(length);
    }
    if (cut != text.size())
        throw std::logic_error("row lengths do not cover the rows being re-cut");

    TRowSplice splice(*this, first, count);
    size_t at = 0;
    for (const int length : lengths) {
        splice.AddRow(text.data() + at, length, anyAttrs ? attrs.data() + at : nullptr, rfRepaint | passFlags);
        at += static_cast<size_t>(length);
    }
    const TRowChange change = splice.Finish();
    if (change.First) {
        change.First->RowBits |= bookmarks;
        change.First->MarkBits = marks;
    }
    m_cursorValid = false;
    return change;
}
