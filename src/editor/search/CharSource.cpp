#include "editor/search/CharSource.h"

#include "editor/text/EdStream.h"

TEdStreamCharSource::TEdStreamCharSource(TEdStream& stream)
    : m_stream(stream), m_length(0)
{
    Invalidate();
}

TTextSpan TEdStreamCharSource::SpanAt(int64_t position)
{
    TTextRow* row = m_stream.Row();
    if (row) {
        const int64_t start = m_stream.Position() - m_stream.OffsetInRow();
        if (position >= start && position < start + row->Length)
            return {row->Text(), start, start + row->Length};
        TTextRow* next = row->Next;
        if (next && position >= start + row->Length && position < start + row->Length + next->Length) {
            m_stream.StartAt(next, static_cast<int>(position - start - row->Length), start + row->Length);
            return {next->Text(), start + row->Length, start + row->Length + next->Length};
        }
        TTextRow* prev = row->Prev;
        if (prev && position < start && position >= start - prev->Length) {
            m_stream.StartAt(prev, static_cast<int>(position - (start - prev->Length)), start - prev->Length);
            return {prev->Text(), start - prev->Length, start};
        }
    }
    m_stream.SetPosition(position);
    row = m_stream.Row();
    if (!row)
        return {};
    const int64_t start = m_stream.Position() - m_stream.OffsetInRow();
    return {row->Text(), start, start + row->Length};
}

void TEdStreamCharSource::Invalidate()
{
    // The stream's row pointer may be stale (rows cut again, or an edit since the stream was
    // last used), so it is dropped unread; the next span is found through the store's index.
    // StartAt also takes the document length afresh.
    m_stream.StartAt(nullptr, 0, 0);
    m_length = m_stream.Size();
}

int TCharReader::slowAt(int64_t position)
{
    if (position < 0 || position >= m_length)
        return -1;
    m_span = m_source->SpanAt(position);
    if (position < m_span.Start || position >= m_span.End)
        return -1;
    return static_cast<unsigned char>(m_span.Data[position - m_span.Start]);
}
