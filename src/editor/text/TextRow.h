// One row of the document: a header followed, in the same heap block, by the row's bytes.
// Invariants: 1 <= Length <= 2047 for every row in a store; Text()[Length] is NUL; only the
// last row of a line ends in CR (13); no row holds an LF byte; Attrs, when present, has Length
// bytes. Keeping the text in the header's block halves the allocations of a large document
// and keeps a 40-byte line near 100 bytes of heap.
#pragma once

#include <cstddef>
#include <cstdint>

struct TTextRow;

// Row flags.
constexpr uint32_t rfRepaint = 1;    // the row must be repainted
constexpr uint32_t rfReparse = 2;    // the row must be highlighted again
constexpr uint32_t rfHasTab = 4;     // the row holds a TAB byte
constexpr uint32_t rfPassStart = 16; // a highlighting pass starts or must check here

// RowBits: bits 0..9 are bookmarks 0..9; this bit marks a row that continues the line of
// the row before it.
constexpr uint16_t rbContinuation = 4096;
constexpr uint16_t rbBookmarkMask = 0x03FF;

constexpr int kMaxRowLength = 2047;
constexpr char kLineBreak = 13;

// An object that follows a line through edits. The row owns it; the store moves it to the
// row that replaces its row and keeps Row pointing at the owner.
class TRowTrack
{
public:
    virtual ~TRowTrack() = default;
    TTextRow* Row = nullptr;
};

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#endif
struct TTextRow
{
    TTextRow* Next = nullptr;
    TTextRow* Prev = nullptr;
    uint8_t* Attrs = nullptr; // one token byte per character, null until highlighted
    TRowTrack* Track = nullptr;
    uint32_t Flags = 0;
    int32_t Extra1 = -1;
    int32_t Extra2 = -1;
    uint16_t Length = 0;
    uint16_t RowBits = 0;
    uint16_t MarkBits = 0;
    char m_text[]; // Length bytes and a NUL; lives in the header's block

    TTextRow() = default;
    TTextRow(const TTextRow&) = delete;
    TTextRow& operator=(const TTextRow&) = delete;

    char* Text() { return m_text; }
    const char* Text() const { return m_text; }
    bool EndsLine() const { return Length > 0 && m_text[Length - 1] == kLineBreak; }
    bool IsContinuation() const { return (RowBits & rbContinuation) != 0; }
    // Length without the trailing CR.
    int TextLength() const { return EndsLine() ? Length - 1 : Length; }

    // Rows are made and freed by the store's TRowArena.
    // Changes the text inside the row's own block; TRowArena::FitsInPlace(Length, newLength)
    // must hold. Token bytes are dropped (the row must be highlighted again).
    void ReplaceTextInPlace(const char* text, int newLength);
    // Token bytes for every character, allocated (zeroed) on first use.
    uint8_t* EnsureAttrs();
    void DropAttrs();
    // Recomputes rfHasTab from the bytes.
    void UpdateTabFlag();
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
