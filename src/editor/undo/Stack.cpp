#include "editor/undo/Stack.h"

TStack::TStack(TFreeHandler freeHandler) : m_free(std::move(freeHandler)) {}

TStack::~TStack()
{
    DiscardAll();
}

void* TStack::unlinkNewest()
{
    TStackEntry* entry = m_newest;
    if (m_current == entry) {
        m_current = entry->Older;
        --m_count;
    }
    m_newest = entry->Older;
    if (m_newest)
        m_newest->Newer = nullptr;
    else
        m_oldest = nullptr;
    m_memory -= kEntryOverhead + entry->Size;
    --m_entries;
    void* record = entry->Record;
    delete entry;
    return record;
}

void TStack::discardNewest()
{
    void* record = unlinkNewest();
    if (m_free)
        m_free(record);
}

void TStack::discardOldest()
{
    TStackEntry* entry = m_oldest;
    if (!entry)
        return;
    // Entries at or before the current one are counted; removing one of them shortens the
    // count, and removing the current entry itself leaves nothing to undo.
    if (m_current) {
        --m_count;
        if (m_current == entry)
            m_current = nullptr;
    }
    m_oldest = entry->Newer;
    if (m_oldest)
        m_oldest->Older = nullptr;
    else
        m_newest = nullptr;
    m_memory -= kEntryOverhead + entry->Size;
    --m_entries;
    void* record = entry->Record;
    delete entry;
    if (m_free)
        m_free(record);
}

void TStack::Push(void* record, int64_t size)
{
    // The undone entries go newest first, so the oldest of them is freed last.
    while (m_newest != m_current)
        discardNewest();
    auto* entry = new TStackEntry{record, size, m_newest, nullptr, ++m_lastSerial};
    if (m_newest)
        m_newest->Newer = entry;
    else
        m_oldest = entry;
    m_newest = entry;
    m_current = entry;
    m_memory += kEntryOverhead + size;
    ++m_entries;
    ++m_count;
}

void* TStack::Pop()
{
    if (!m_newest)
        throw EStackError(kStackUnderflow);
    return unlinkNewest();
}

void* TStack::ReadBack()
{
    if (!m_current)
        throw EStackError(kStackUnderflow);
    void* record = m_current->Record;
    m_current = m_current->Older;
    if (m_count > 0)
        --m_count;
    return record;
}

void* TStack::ReadForward()
{
    TStackEntry* next = m_current ? m_current->Newer : m_oldest;
    if (!next)
        throw EStackError(kStackUnderflow);
    m_current = next;
    ++m_count;
    return next->Record;
}

void TStack::DiscardAll()
{
    while (m_newest)
        discardNewest();
    m_count = 0;
    m_current = nullptr;
}

std::string TStack::check() const
{
    int64_t entries = 0;
    int64_t memory = 0;
    int64_t count = 0;
    bool currentSeen = m_current == nullptr;
    const TStackEntry* older = nullptr;
    for (const TStackEntry* e = m_oldest; e; older = e, e = e->Newer) {
        if (e->Older != older)
            return "entry links disagree";
        if (e->Size < 0)
            return "negative payload size";
        ++entries;
        memory += kEntryOverhead + e->Size;
        if (!currentSeen)
            ++count;
        if (e == m_current)
            currentSeen = true;
    }
    if (older != m_newest)
        return "newest entry is not the end of the chain";
    if (!currentSeen)
        return "current entry is not in the chain";
    if (entries != m_entries)
        return "entry count differs from the chain";
    if (memory != m_memory)
        return "memory differs from the entries";
    if (count != m_count)
        return "count differs from the current entry's place";
    return {};
}
