// Reads the characters of a store one at a time in either direction without a lookup per
// character: it keeps the row it stands in and walks the row links. Valid until the next edit.
#pragma once

#include "editor/text/TextStore.h"

#include <cstdint>

class TTextCursor
{
public:
    TTextCursor(TTextStore& store, int64_t offset);

    int64_t Offset() const { return m_offset; }
    bool AtStart() const { return m_offset <= 0; }
    bool AtEnd() const { return m_offset >= m_charCount; }
    // The character at the offset; 0 at the end.
    char Char() const;
    // The character before the offset; 0 at the start.
    char PrevChar() const;
    void Next();
    void Prev();

private:
    void settle();

    int64_t m_charCount;
    int64_t m_offset;
    TTextRow* m_row = nullptr;
    int64_t m_rowStart = 0;
};
