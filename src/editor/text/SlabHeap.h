// Blocks cut from large slabs in size classes of a fixed granularity; a freed block waits on
// its class's free list for the next block of that class. Invariants: a block is never larger
// than its class, every block on a free list holds the link to the next one in its first 8
// bytes (so blocks are at least 8 bytes), and slabs live until Reset or the heap's death.
// Compared with malloc per block this saves the allocator's header and rounding (8 to 24 bytes
// a block), most of the cost of filling a large document and nearly all of the cost of
// closing one, whose slabs go back at once.
// Under AddressSanitizer the unused parts of slabs and freed blocks are poisoned, so touching
// memory outside a live block is caught as with one heap block each.
#pragma once

#include <cstddef>
#include <vector>

class TSlabHeap
{
public:
    // Blocks are multiples of granularity bytes (1 or a power of two up to 16), and start at a
    // multiple of it within a slab.
    explicit TSlabHeap(size_t granularity);
    ~TSlabHeap();
    TSlabHeap(const TSlabHeap&) = delete;
    TSlabHeap& operator=(const TSlabHeap&) = delete;

    // A block of at least bytes (>= 8) bytes, all of it poisoned. Throws std::bad_alloc.
    void* Allocate(size_t bytes);
    // Returns a block allocated with the same byte count.
    void Free(void* block, size_t bytes);
    // Returns every block at once.
    void Reset();
    // Bytes of the slabs, in use or not.
    size_t SlabBytes() const;

    // The byte count a block of this size really takes.
    size_t Rounded(size_t bytes) const { return (bytes + m_granularity - 1) & ~(m_granularity - 1); }

private:
    std::vector<void*> m_freeLists; // per class: a singly linked list through the blocks
    std::vector<char*> m_slabs;
    std::vector<size_t> m_slabSizes;
    char* m_next = nullptr;
    char* m_end = nullptr;
    size_t m_slabBytes = 4096;
    size_t m_granularity;
};

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define ZBX_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define ZBX_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
constexpr size_t kSlabRedZone = 16; // callers ask for this many poisoned bytes after a block
#else
#define ZBX_POISON(address, size) ((void)(address), (void)(size))
#define ZBX_UNPOISON(address, size) ((void)(address), (void)(size))
constexpr size_t kSlabRedZone = 0;
#endif
