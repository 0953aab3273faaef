#include "editor/text/SlabHeap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

// Slabs start small, so that the many small stores of a session stay small, and double up
// to this size for large files.
constexpr size_t kLargestSlab = size_t(1) << 20;
// From this size on slabs are mapped with their pages present: one request to the kernel
// instead of a page fault every 4 KB, which is most of the cost of filling a large file.
constexpr size_t kMappedSlab = size_t(1) << 16;

char* newSlab(size_t bytes)
{
#if defined(__linux__) && defined(MAP_POPULATE)
    if (bytes >= kMappedSlab) {
        void* slab = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        return slab == MAP_FAILED ? nullptr : static_cast<char*>(slab);
    }
#endif
    return static_cast<char*>(std::malloc(bytes));
}

void freeSlab(char* slab, size_t bytes)
{
#if defined(__linux__) && defined(MAP_POPULATE)
    if (bytes >= kMappedSlab) {
        ::munmap(slab, bytes);
        return;
    }
#endif
    (void)bytes;
    std::free(slab);
}

} // namespace

TSlabHeap::TSlabHeap(size_t granularity) : m_granularity(std::clamp<size_t>(granularity, 1, 16)) {}

TSlabHeap::~TSlabHeap()
{
    Reset();
}

void* TSlabHeap::Allocate(size_t bytes)
{
    bytes = Rounded(std::max<size_t>(bytes, sizeof(void*)));
    const size_t sizeClass = bytes / m_granularity;
    if (sizeClass < m_freeLists.size() && m_freeLists[sizeClass]) {
        void* block = m_freeLists[sizeClass];
        ZBX_UNPOISON(block, sizeof(void*));
        std::memcpy(&m_freeLists[sizeClass], block, sizeof(void*));
        ZBX_POISON(block, sizeof(void*));
        return block;
    }
    if (static_cast<size_t>(m_end - m_next) < bytes) {
        m_slabBytes = std::min(m_slabBytes * 2, kLargestSlab);
        const size_t slabBytes = std::max(m_slabBytes, bytes);
        m_slabs.reserve(m_slabs.size() + 1);
        m_slabSizes.reserve(m_slabSizes.size() + 1);
        char* slab = newSlab(slabBytes);
        if (!slab)
            throw std::bad_alloc();
        ZBX_POISON(slab, slabBytes);
        m_slabs.push_back(slab);
        m_slabSizes.push_back(slabBytes);
        m_next = slab;
        m_end = slab + slabBytes;
    }
    void* block = m_next;
    m_next += bytes;
    return block;
}

void TSlabHeap::Free(void* block, size_t bytes)
{
    if (!block)
        return;
    bytes = Rounded(std::max<size_t>(bytes, sizeof(void*)));
    const size_t sizeClass = bytes / m_granularity;
    if (sizeClass >= m_freeLists.size())
        m_freeLists.resize(sizeClass + 1, nullptr);
    ZBX_POISON(block, bytes);
    ZBX_UNPOISON(block, sizeof(void*));
    std::memcpy(block, &m_freeLists[sizeClass], sizeof(void*));
    ZBX_POISON(block, sizeof(void*)); // only the heap reads the link
    m_freeLists[sizeClass] = block;
}

void TSlabHeap::Reset()
{
    for (size_t i = 0; i < m_slabs.size(); ++i) {
        ZBX_UNPOISON(m_slabs[i], m_slabSizes[i]);
        freeSlab(m_slabs[i], m_slabSizes[i]);
    }
    m_slabs.clear();
    m_slabSizes.clear();
    m_freeLists.clear();
    m_next = nullptr;
    m_end = nullptr;
    m_slabBytes = 4096;
}

size_t TSlabHeap::SlabBytes() const
{
    size_t total = 0;
    for (const size_t bytes : m_slabSizes)
        total += bytes;
    return total;
}
