// Character streams over the document and over a text buffer. TEdStream is how the
// highlighter and the regular-expression matcher read the rows without copying them: a cursor
// (row, offset in row, absolute position) that steps across rows. Both streams are read-only.
#pragma once

#include "base/Stream.h"
#include "editor/text/TextRow.h"

#include <cstdint>

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

// The row pointer is a cache of the absolute position: when the store has been edited since
// the stream last looked (its edit count moved), the row may be gone, so every operation first
// finds the row again from the position, clamped to the new length. A stream therefore
// survives being kept across edits and carries on at the same offset of the edited text.
class TEdStream : public TCustomEdStream
{
public:
    explicit TEdStream(TTextStore& store);

    char CurrentChar() const override;
    int64_t Position() const override;
    // Clamps to 0 .. document length; takes the length afresh from the store.
    void SetPosition(int64_t position) override;
    bool AtEnd() const override;
    void Next() override;
    void Prev() override;

    int64_t Read(void* buffer, int64_t count) override;
    // Fails with EStreamError "Cannot write to a read-only stream".
    int64_t Write(const void* buffer, int64_t count) override;
    // Origin End counts back from the document end (the sign of offset is ignored).
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override;

    // Positions the stream at offset in row, base being the document offset of the row start;
    // the row must be one of the store's rows as they are now.
    void StartAt(TTextRow* row, int offset, int64_t base);
    TTextRow* Row() const;
    int OffsetInRow() const;

private:
    // Finds the row again when the store changed since the row was found.
    void follow() const;
    void locate(int64_t position) const;
    void settle() const;

    TTextStore& m_store;
    // The cursor cache, rebuilt by the const readers after an edit.
    mutable TTextRow* m_row = nullptr; // row holding the position; null at the document end
    mutable int m_offset = 0;
    mutable int64_t m_position = 0;
    mutable int64_t m_length = 0;
    mutable uint64_t m_seenEdits = 0; // the store's edit count when m_row was found
};

// Wraps a NUL-terminated text without copying it; the text length is the size.
class TFastMemoryStream : public TReadOnlyMemoryStream
{
public:
    explicit TFastMemoryStream(const char* text);
};
