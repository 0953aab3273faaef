// The heap of one store's rows: each row is its own block, cut from large slabs in size
// classes of 8 bytes, and a freed block waits on its class's free list for the next row of that
// size. Invariant: a live row's block belongs to the class of its current Length (rows change
// length in place only within their class). Compared with one malloc per row this saves the
// allocator's per-block header and rounding (about 12 bytes a row), most of the cost of
// loading, and nearly all of the cost of closing a large file, whose slabs go back at once.
// Slabs are kept until the store clears or dies; memory of deleted rows is reused by later rows.
#pragma once

#include "editor/text/TextRow.h"

#include <cstddef>
#include <vector>

class TRowArena
{
public:
    TRowArena() = default;
    ~TRowArena();
    TRowArena(const TRowArena&) = delete;
    TRowArena& operator=(const TRowArena&) = delete;

    // A fresh row holding a copy of length bytes (0..2047). Throws std::bad_alloc.
    TTextRow* Create(const char* text, int length);
    // Frees the row's token bytes and track object and returns its block.
    void Destroy(TTextRow* row);
    // True when a row of oldLength bytes can hold newLength bytes without a new block.
    static bool FitsInPlace(int oldLength, int newLength);
    // Bracket a change of Length inside the row's block (memory checkers see the new size).
    static void PrepareResize(TTextRow* row, int newLength);
    static void FinishResize(TTextRow* row);
    // Returns every block at once; the caller has already released the rows' token bytes and
    // track objects (ReleaseRowResources).
    void Reset();
    static void ReleaseRowResources(TTextRow* row);

private:
    static size_t blockBytes(int length);
    void* allocate(size_t bytes);

    std::vector<void*> m_freeLists; // per class: a singly linked list through the blocks
    std::vector<char*> m_slabs;
    std::vector<size_t> m_slabSizes;
    char* m_next = nullptr;
    char* m_end = nullptr;
    size_t m_slabBytes = 4096;
};
