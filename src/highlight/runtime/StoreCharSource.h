// The rows of a text store as chunks for the tokeniser: one chunk per row, the chunk handle
// being the row. Lookups by position go through the store's TEdStream (O(log n)); moving to the
// next or previous row follows the row chain. Valid until the next edit of the store.
#pragma once

#include "editor/text/EdStream.h"
#include "highlight/runtime/ParseCursor.h"

class TTextStore;

class TStoreCharSource : public TCharSource
{
public:
    explicit TStoreCharSource(TTextStore& store);

    int64_t length() const override;
    TTextChunk chunkAt(int64_t position) override;
    TTextChunk nextChunk(const TTextChunk& chunk) override;
    TTextChunk previousChunk(const TTextChunk& chunk) override;

    // The chunk of a row whose first character is at start.
    static TTextChunk rowChunk(const TTextRow* row, int64_t start);
    static TTextRow* rowOf(const TTextChunk& chunk)
    {
        return static_cast<TTextRow*>(const_cast<void*>(chunk.handle));
    }

private:
    TTextStore& m_store;
    TEdStream m_stream;
};
