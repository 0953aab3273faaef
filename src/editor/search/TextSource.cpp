#include "editor/search/TextSource.h"

#include "editor/text/EdStream.h"
#include "editor/text/TextStore.h"

TEdStreamTextSource::TEdStreamTextSource(TEdStream& stream, const TTextStore& store)
    : m_stream(stream), m_store(store)
{
    Invalidate();
}

void TEdStreamTextSource::Refresh()
{
    if (m_seenEdits != m_store.EditCount())
        Invalidate();
}

TTextSpan TEdStreamTextSource::spanOf(const TTextRow* row, int64_t start)
{
    // Rows lie in slabs by size, so a scan hops about memory: ask for the row after this one
    // now, while this one is read.
#if defined(__GNUC__)
    if (row->Next)
        __builtin_prefetch(row->Next);
#endif
    m_row = row;
    m_rowStart = start;
    return {row->Text(), start, start + row->Length, row};
}

TTextSpan TEdStreamTextSource::SpanAt(int64_t position)
{
    if (m_row) {
        const int64_t end = m_rowStart + m_row->Length;
        if (position >= m_rowStart && position < end)
            return {m_row->Text(), m_rowStart, end, m_row};
        if (position >= end && m_row->Next && position < end + m_row->Next->Length)
            return spanOf(m_row->Next, end);
        if (position < m_rowStart && m_row->Prev && position >= m_rowStart - m_row->Prev->Length)
            return spanOf(m_row->Prev, m_rowStart - m_row->Prev->Length);
    }
    m_stream.SetPosition(position);
    const TTextRow* row = m_stream.Row();
    if (!row) {
        m_row = nullptr;
        return {};
    }
    return spanOf(row, m_stream.Position() - m_stream.OffsetInRow());
}

void TEdStreamTextSource::Keep(const TTextSpan& span)
{
    if (span.Row && m_seenEdits == m_store.EditCount()) {
        m_row = span.Row;
        m_rowStart = span.Start;
    }
}

void TEdStreamTextSource::Invalidate()
{
    // Row pointers may be stale (rows cut again, or an edit since the stream was last used),
    // so they are dropped unread; the next span is found through the store's index.
    m_row = nullptr;
    m_seenEdits = m_store.EditCount();
    m_length = m_store.CharCount();
}

// Moves the kept span to the row before or after it when that row holds position.
bool TTextReader::stepRow(int64_t position)
{
    const TTextRow* row = m_span.Row;
    if (position >= m_span.End && row->Next && position < m_span.End + row->Next->Length) {
        const TTextRow* next = row->Next;
#if defined(__GNUC__)
        if (next->Next)
            __builtin_prefetch(next->Next);
#endif
        m_span = {next->Text(), m_span.End, m_span.End + next->Length, next};
        return true;
    }
    if (position < m_span.Start && row->Prev && position >= m_span.Start - row->Prev->Length) {
        const TTextRow* prev = row->Prev;
        m_span = {prev->Text(), m_span.Start - prev->Length, m_span.Start, prev};
        return true;
    }
    return false;
}

int TTextReader::slowAt(int64_t position)
{
    if (position < 0 || position >= m_length)
        return -1;
    SpanAt(position);
    if (position < m_span.Start || position >= m_span.End)
        return -1;
    return static_cast<unsigned char>(m_span.Data[position - m_span.Start]);
}
