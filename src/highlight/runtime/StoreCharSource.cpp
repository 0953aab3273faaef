#include "highlight/runtime/StoreCharSource.h"

#include "editor/text/TextStore.h"

TStoreCharSource::TStoreCharSource(TTextStore& store) : m_store(store), m_stream(store) {}

int64_t TStoreCharSource::length() const
{
    return m_store.CharCount();
}

TTextChunk TStoreCharSource::rowChunk(const TTextRow* row, int64_t start)
{
    if (!row || row->Length == 0)
        return {};
    return {row->Text(), row->Length, start, row};
}

TTextChunk TStoreCharSource::chunkAt(int64_t position)
{
    if (position < 0 || position >= m_store.CharCount())
        return {};
    m_stream.SetPosition(position);
    const TTextRow* row = m_stream.Row();
    if (!row)
        return {};
    return rowChunk(row, position - m_stream.OffsetInRow());
}

TTextChunk TStoreCharSource::nextChunk(const TTextChunk& chunk)
{
    const TTextRow* row = rowOf(chunk);
    if (!row || !row->Next)
        return {};
    return rowChunk(row->Next, chunk.start + chunk.length);
}

TTextChunk TStoreCharSource::previousChunk(const TTextChunk& chunk)
{
    const TTextRow* row = rowOf(chunk);
    if (!row || !row->Prev)
        return {};
    return rowChunk(row->Prev, chunk.start - row->Prev->Length);
}
