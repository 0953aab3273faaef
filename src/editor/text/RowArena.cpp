#include "editor/text/RowArena.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
// Under AddressSanitizer the unused parts of slabs and freed blocks are poisoned, so reading or
// writing past a row is caught as it would be with one heap block per row.
#define ZBX_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define ZBX_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
constexpr size_t kRedZone = 16; // poisoned bytes after every block
#else
constexpr size_t kRedZone = 0;
#define ZBX_POISON(address, size) ((void)(address), (void)(size))
#define ZBX_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace {

// Bytes of a row that may be touched: the header and the text with its NUL.
size_t usedBytes(int length)
{
    return std::max(offsetof(TTextRow, m_text) + static_cast<size_t>(length) + 1, sizeof(TTextRow));
}

// Slabs start small, so that the many small stores of a session stay small, and double up
// to this size for large files.
constexpr size_t kLargestSlab = size_t(1) << 20;
// From this size on slabs are mapped with their pages present: one request to the kernel
// instead of a page fault every 4 KB, which is most of the cost of loading a large file.
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

TRowArena::~TRowArena()
{
    Reset();
}

size_t TRowArena::blockBytes(int length)
{
    const size_t raw = offsetof(TTextRow, m_text) + static_cast<size_t>(length) + 1;
    return std::max((raw + 7) & ~size_t(7), (sizeof(TTextRow) + 7) & ~size_t(7)) + kRedZone;
}

bool TRowArena::FitsInPlace(int oldLength, int newLength)
{
    return blockBytes(oldLength) == blockBytes(newLength);
}

void* TRowArena::allocate(size_t bytes)
{
    const size_t sizeClass = bytes / 8;
    if (sizeClass < m_freeLists.size() && m_freeLists[sizeClass]) {
        void* block = m_freeLists[sizeClass];
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

TTextRow* TRowArena::Create(const char* text, int length)
{
    void* block = allocate(blockBytes(length));
    ZBX_UNPOISON(block, usedBytes(length));
    auto* row = new (block) TTextRow;
    row->Length = static_cast<uint16_t>(length);
    if (length > 0)
        std::memcpy(row->m_text, text, static_cast<size_t>(length));
    row->m_text[length] = 0;
    return row;
}

void TRowArena::PrepareResize(TTextRow* row, int newLength)
{
    const int length = row->Length;
    ZBX_POISON(row, blockBytes(length));
    ZBX_UNPOISON(row, usedBytes(std::max(newLength, length)));
}

void TRowArena::FinishResize(TTextRow* row)
{
    const int length = row->Length;
    ZBX_POISON(row, blockBytes(length));
    ZBX_UNPOISON(row, usedBytes(length));
}

void TRowArena::ReleaseRowResources(TTextRow* row)
{
    delete[] row->Attrs;
    row->Attrs = nullptr;
    delete row->Track;
    row->Track = nullptr;
}

void TRowArena::Destroy(TTextRow* row)
{
    if (!row)
        return;
    ReleaseRowResources(row);
    const size_t sizeClass = blockBytes(row->Length) / 8;
    row->~TTextRow();
    if (sizeClass >= m_freeLists.size())
        m_freeLists.resize(sizeClass + 1, nullptr);
    void* block = row;
    ZBX_POISON(block, sizeClass * 8);
    ZBX_UNPOISON(block, sizeof(void*));
    std::memcpy(block, &m_freeLists[sizeClass], sizeof(void*)); // the link stays readable
    m_freeLists[sizeClass] = block;
}

void TRowArena::Reset()
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
