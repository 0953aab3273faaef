// The character cursor the tokeniser reads: a position in a text made of chunks (the rows of a
// document, or one plain string). Invariants: while not at the end, the current chunk holds the
// position (0 <= offset < chunk length); at the end the cursor holds an empty chunk and the
// current character is 0. Stepping inside a chunk is inline and costs no virtual call; only
// crossing into another chunk asks the source. A per-character virtual stream was rejected:
// it halved the tokeniser's speed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A run of characters of the text: its bytes, its length and the position of its first byte.
struct TTextChunk
{
    const char* text = nullptr;
    int length = 0;
    int64_t start = 0;
    const void* handle = nullptr; // the source's own reference (a row)

    bool valid() const { return text != nullptr && length > 0; }
};

// Where the chunks come from. Chunks are never empty and tile the text in order.
class TCharSource
{
public:
    virtual ~TCharSource() = default;
    virtual int64_t length() const = 0;
    // The chunk holding position (0 <= position < length()).
    virtual TTextChunk chunkAt(int64_t position) = 0;
    // The chunk after or before chunk; an invalid chunk when there is none.
    virtual TTextChunk nextChunk(const TTextChunk& chunk) = 0;
    virtual TTextChunk previousChunk(const TTextChunk& chunk) = 0;
};

// A plain string as one chunk; the string must outlive the source.
class TStringCharSource : public TCharSource
{
public:
    explicit TStringCharSource(std::string_view text) : m_text(text) {}
    int64_t length() const override { return static_cast<int64_t>(m_text.size()); }
    TTextChunk chunkAt(int64_t position) override;
    TTextChunk nextChunk(const TTextChunk&) override { return {}; }
    TTextChunk previousChunk(const TTextChunk&) override { return {}; }

private:
    std::string_view m_text;
};

class TParseCursor
{
public:
    // Starts at position 0 of the source, which must outlive the cursor.
    explicit TParseCursor(TCharSource& source);

    uint8_t current() const
    {
        return m_offset < m_length ? static_cast<uint8_t>(m_text[m_offset]) : 0;
    }
    int64_t position() const { return m_start + m_offset; }
    bool atEnd() const { return m_offset >= m_length; }
    int64_t textLength() const { return m_end; }

    // Does nothing at the end.
    void next()
    {
        if (++m_offset >= m_length)
            enterNextChunk();
    }
    // Does nothing at position 0.
    void previous()
    {
        if (m_offset > 0 && m_offset < m_length)
            --m_offset;
        else
            stepBackSlow();
    }
    // Clamped to 0 .. textLength().
    void setPosition(int64_t position)
    {
        if (position >= m_start && position < m_start + m_length)
            m_offset = static_cast<int>(position - m_start); // inside the current chunk
        else
            setPositionSlow(position);
    }
    // Starts at offset inside a chunk the caller already holds (no lookup).
    void startAt(const TTextChunk& chunk, int offset);
    // The source's text length may have changed (an edit); the cursor goes to position.
    void refresh(int64_t position);
    const TTextChunk& chunk() const { return m_chunk; }
    // Debug builds and tests: the invariants hold.
    bool check() const;

private:
    void setPositionSlow(int64_t position);
    void enterNextChunk();
    void stepBackSlow();
    void enterChunk(const TTextChunk& chunk, int offset);
    void enterEnd();

    TCharSource& m_source;
    TTextChunk m_chunk;
    // The chunk left by the last step forwards: recognizers that look one character past a row
    // end and step back return to it without asking the source.
    TTextChunk m_previous;
    const char* m_text = "";
    int m_length = 0;
    int m_offset = 0;
    int64_t m_start = 0;
    int64_t m_end = 0;
};
