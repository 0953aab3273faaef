// The heap of one store's rows: each row is its own block, cut from a slab heap in size
// classes of 8 bytes; token bytes are runs (or plain bytes when runs are no shorter) in the
// row's own 8-byte field when they fit, else in a block of a second slab heap of 1-byte
// classes; extras and track objects, which few rows have, sit in a table keyed by row.
// Invariants: a live row's block belongs to the class of its current Length (rows change
// length in place only within their class); a row's token block has exactly the size of its
// encoding; a row is in the extras table exactly when it has kHasExtras, and then its entry
// differs from the defaults (-1, -1, no track). Memory of deleted rows is reused by later rows;
// slabs are kept until the store clears or dies.
// A row block holding its token bytes too was rejected: highlighting would then move rows,
// and every holder of a row pointer (views, passes, track objects) would have to follow.
#pragma once

#include "editor/text/SlabHeap.h"
#include "editor/text/TextRow.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>

// What the store keeps for a row beside it.
struct TRowExtras
{
    int32_t Extra1 = -1;
    int32_t Extra2 = -1;
    TRowTrack* Track = nullptr; // owned by the row
};

class TRowArena
{
public:
    TRowArena();
    ~TRowArena();
    TRowArena(const TRowArena&) = delete;
    TRowArena& operator=(const TRowArena&) = delete;

    // A fresh row holding a copy of length bytes (0..2047). Throws std::bad_alloc.
    TTextRow* Create(const char* text, int length);
    // Frees the row's token bytes, extras and track object and returns its block.
    void Destroy(TTextRow* row);
    // True when a row of oldLength bytes can hold newLength bytes without a new block.
    static bool FitsInPlace(int oldLength, int newLength);
    // Bracket a change of Length inside the row's block (memory checkers see the new size).
    static void PrepareResize(TTextRow* row, int newLength);
    static void FinishResize(TTextRow* row);
    // Returns every block at once and frees every track object.
    void Reset();

    // Gives the row these Length token bytes. Throws std::bad_alloc (the row keeps none then).
    void SetAttrs(TTextRow* row, const uint8_t* tokens);
    void DropAttrs(TTextRow* row);

    // The row's extras and track object; the defaults when it has none.
    const TRowExtras& Extras(const TTextRow* row) const;
    void SetExtras(TTextRow* row, int32_t extra1, int32_t extra2);
    // Attaches a track object to the row, which owns it from then on and points it at
    // itself; a track object the row had before is freed.
    void SetTrack(TTextRow* row, TRowTrack* track);
    // Detaches the row's track object without freeing it; null when none.
    TRowTrack* TakeTrack(TTextRow* row);
    // Rows with extras or a track object.
    size_t ExtrasCount() const { return m_extras.size(); }

    // Bytes of the slabs of both heaps.
    size_t SlabBytes() const { return m_rows.SlabBytes() + m_tokens.SlabBytes(); }

private:
    static size_t blockBytes(int length);
    static size_t tokenBytes(const TTextRow* row);
    void store(TTextRow* row, const TRowExtras& extras);

    TSlabHeap m_rows{8};
    TSlabHeap m_tokens{1};
    std::unordered_map<const TTextRow*, TRowExtras> m_extras;
};
