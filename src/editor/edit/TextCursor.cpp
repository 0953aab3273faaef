#include "editor/edit/TextCursor.h"

TTextCursor::TTextCursor(TTextStore& store, int64_t offset)
    : m_charCount(store.CharCount()), m_offset(offset < 0 ? 0 : offset)
{
    if (m_offset > m_charCount)
        m_offset = m_charCount;
    const TRowSpot spot = store.RowAt(m_offset);
    m_row = spot.Row;
    m_rowStart = spot.Start;
    if (!m_row) {
        m_row = store.LastRow();
        m_rowStart = m_row ? m_charCount - m_row->Length : 0;
    }
    settle();
}

// Moves to the row that holds the offset; at the document end the last row stays.
void TTextCursor::settle()
{
    while (m_row && m_offset >= m_rowStart + m_row->Length && m_row->Next) {
        m_rowStart += m_row->Length;
        m_row = m_row->Next;
    }
    while (m_row && m_offset < m_rowStart && m_row->Prev) {
        m_row = m_row->Prev;
        m_rowStart -= m_row->Length;
    }
}

char TTextCursor::Char() const
{
    if (!m_row || AtEnd())
        return 0;
    return m_row->Text()[m_offset - m_rowStart];
}

char TTextCursor::PrevChar() const
{
    if (!m_row || AtStart())
        return 0;
    if (m_offset > m_rowStart)
        return m_row->Text()[m_offset - 1 - m_rowStart];
    const TTextRow* prev = m_row->Prev;
    return prev ? prev->Text()[prev->Length - 1] : 0;
}

void TTextCursor::Next()
{
    if (AtEnd())
        return;
    ++m_offset;
    settle();
}

void TTextCursor::Prev()
{
    if (AtStart())
        return;
    --m_offset;
    settle();
}
