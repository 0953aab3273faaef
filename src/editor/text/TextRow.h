// One row of the document: a header followed, in the same heap block, by the row's bytes.
// Invariants: 1 <= Length <= 2047 for every row in a store; Text()[Length] is NUL; only the
// last row of a line ends in CR (13); no row holds an LF byte; token bytes, when present, are
// Length bytes. Keeping the text in the header's block halves the allocations of a large
// document; keeping the token bytes as runs, and the rarely used extras and track object in
// a table beside the rows (TRowArena), keeps a highlighted 40-byte line near 100 bytes.
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
    // Internal to the row and its TRowArena (data members share one access level so that the
    // header keeps a standard layout): how m_tokens holds the token bytes: not at all, as runs (TokenRuns.h) or as they are, in
    // the field itself when they fit in its 8 bytes, else in a block of the arena's token heap.
    union {
        uint8_t* Block;
        uint8_t Inline[8];
    } m_tokens{nullptr};
    uint32_t Flags = 0;
    uint16_t Length = 0;
    uint16_t RowBits = 0;
    uint16_t MarkBits = 0;

    TTextRow() = default;
    TTextRow(const TTextRow&) = delete;
    TTextRow& operator=(const TTextRow&) = delete;

    char* Text() { return m_text; }
    const char* Text() const { return m_text; }
    bool EndsLine() const { return Length > 0 && m_text[Length - 1] == kLineBreak; }
    bool IsContinuation() const { return (RowBits & rbContinuation) != 0; }
    // Length without the trailing CR.
    int TextLength() const { return EndsLine() ? Length - 1 : Length; }

    // Token bytes: one token number per character, none until the row is highlighted. They
    // are set and dropped through the store (TTextStore::SetAttrs), whose heap holds them.
    bool HasAttrs() const { return (m_keep & kTokenForm) != 0; }
    // Writes the Length token bytes to out; zeros when the row has none.
    void CopyAttrs(uint8_t* out) const;
    // The token of character index (0..Length-1); 0 when the row has none.
    uint8_t AttrAt(int index) const;
    // Whether the row has token bytes and they are these Length bytes.
    bool AttrsEqual(const uint8_t* tokens) const;

    // Rows are made and freed by the store's TRowArena.
    // Changes the text inside the row's own block; TRowArena::FitsInPlace(Length, newLength)
    // must hold and the row must have no token bytes (the arena drops them first).
    void ReplaceTextInPlace(const char* text, int newLength);
    // Recomputes rfHasTab from the bytes.
    void UpdateTabFlag();

    // Bits of m_keep.
    static constexpr uint8_t kTokenForm = 3;
    static constexpr uint8_t kTokenRuns = 1;
    static constexpr uint8_t kTokenBytes = 2;
    static constexpr uint8_t kTokensInline = 4;
    // The arena keeps extras or a track object for the row.
    static constexpr uint8_t kHasExtras = 8;

    const uint8_t* tokenData() const { return (m_keep & kTokensInline) ? m_tokens.Inline : m_tokens.Block; }

    uint8_t m_keep = 0; // internal to the row and its arena

    char m_text[]; // Length bytes and a NUL; lives in the header's block
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
