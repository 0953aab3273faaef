// Character streams over the document and over a text buffer. TEdStream is how the
// highlighter and the regular-expression matcher read the rows without copying them: a cursor
// (row, offset in row, absolute position) that steps across rows. Both streams are read-only.
#pragma once

#include "base/Stream.h"
#include "editor/text/TextRow.h"

class TTextStore;

// The cursor operations the parsers use on top of TStream.
class TCustomEdStream : public TStream
{
public:
    virtual char CurrentChar() const = 0; // 0 at the end
    virtual int64_t Position() const = 0;
    virtual void SetPosition(int64_t position) = 0;
    virtual bool AtEnd() const = 0;
    virtual void Next() = 0;
    virtual void Prev() = 0;
};

// An edit of the store leaves the stream's row pointer stale: position it again (SetPosition
// or StartAt) before reading after the text changed.
class TEdStream : public TCustomEdStream
{
public:
    explicit TEdStream(TTextStore& store);

    char CurrentChar() const override;
    int64_t Position() const override { return m_position; }
    // Clamps to 0 .. document length; takes the length afresh from the store.
    void SetPosition(int64_t position) override;
    bool AtEnd() const override { return m_position >= m_length; }
    void Next() override;
    void Prev() override;

    int64_t Read(void* buffer, int64_t count) override;
    // Fails with EStreamError "Cannot write to a read-only stream".
    int64_t Write(const void* buffer, int64_t count) override;
    // Origin End counts back from the document end (the sign of offset is ignored).
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override { return m_length; }

    // Positions the stream at offset in row, base being the document offset of the row start.
    void StartAt(TTextRow* row, int offset, int64_t base);
    TTextRow* Row() const { return m_row; }
    int OffsetInRow() const { return m_offset; }

private:
    void settle();

    TTextStore& m_store;
    TTextRow* m_row = nullptr; // row holding the position; null at the document end
    int m_offset = 0;
    int64_t m_position = 0;
    int64_t m_length = 0;
};

// Wraps a NUL-terminated text without copying it; the text length is the size.
class TFastMemoryStream : public TReadOnlyMemoryStream
{
public:
    explicit TFastMemoryStream(const char* text);
};
