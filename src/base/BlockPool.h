// Fixed-size blocks for small objects made and freed by the thousand on every keystroke (undo
// records and their stack entries). A freed block waits on the pool's free list for the next
// object, so their cost does not depend on what the general heap went through before: after a
// large document is closed, the heap's bins can hold a million stray chunks, and every small
// allocation then pays to sort them. Invariant: every block on the free list came from one of
// the pool's slabs and is Size bytes; slabs are kept for the life of the program (the undo log
// bounds how many blocks are in use). GUI thread only. Under AddressSanitizer the pool hands
// each object to the general heap, so misuse is still caught.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

template <size_t Size>
class TBlockPool
{
public:
    static void* allocate()
    {
#if defined(__SANITIZE_ADDRESS__)
        return ::operator new(Size);
#else
        TBlockPool& pool = instance();
        if (!pool.m_free)
            pool.grow();
        FreeBlock* block = pool.m_free;
        pool.m_free = block->next;
        return block;
#endif
    }
    static void release(void* pointer) noexcept
    {
        if (!pointer)
            return;
#if defined(__SANITIZE_ADDRESS__)
        ::operator delete(pointer);
#else
        auto* block = static_cast<FreeBlock*>(pointer);
        block->next = instance().m_free;
        instance().m_free = block;
#endif
    }

private:
    struct FreeBlock
    {
        FreeBlock* next;
    };
    static constexpr size_t kBlock = (Size < sizeof(FreeBlock) ? sizeof(FreeBlock) : Size + 15) & ~size_t(15);
    static constexpr size_t kBlocksPerSlab = 4096;

    static TBlockPool& instance()
    {
        static TBlockPool pool;
        return pool;
    }
    void grow()
    {
        auto* slab = static_cast<char*>(::operator new(kBlock * kBlocksPerSlab));
        m_slabs.push_back(slab);
        for (size_t i = kBlocksPerSlab; i-- > 0;) {
            auto* block = reinterpret_cast<FreeBlock*>(slab + i * kBlock);
            block->next = m_free;
            m_free = block;
        }
    }

    FreeBlock* m_free = nullptr;
    std::vector<char*> m_slabs;
};
