// A stack of records that keeps undone entries for redo: a doubly linked chain from the oldest
// to the newest entry with a current entry (the newest one not undone).
// Invariants (check()): the links agree in both directions; Count is the number of entries
// from the oldest up to and including the current one; Memory is the sum over all entries of
// 16 bytes plus the payload size; EntryCount is the length of the chain.
#pragma once

#include "base/BlockPool.h"
#include "base/Exception.h"

#include <cstdint>
#include <functional>
#include <string>

// Reading or popping beyond either end of a stack.
class EStackError : public Exception
{
public:
    using Exception::Exception;
};

inline constexpr const char* kStackUnderflow = "Stack underflow";

struct TStackEntry
{
    static void* operator new(size_t) { return TBlockPool<sizeof(TStackEntry)>::allocate(); }
    static void operator delete(void* pointer) noexcept { TBlockPool<sizeof(TStackEntry)>::release(pointer); }

    void* Record = nullptr;
    int64_t Size = 0; // payload bytes charged for the record
    TStackEntry* Older = nullptr;
    TStackEntry* Newer = nullptr;
    // Unique among all entries a stack ever held: an entry's address may be reused after it is
    // freed, its serial never is, so "the same top entry as at the last save" can be trusted.
    uint64_t Serial = 0;
};

class TStack
{
public:
    // Every entry charges this many bytes besides its payload.
    static constexpr int64_t kEntryOverhead = 16;

    // Called with the record of every entry that is discarded (not for Pop, which hands the
    // record back to its caller).
    using TFreeHandler = std::function<void(void* record)>;

    explicit TStack(TFreeHandler freeHandler);
    virtual ~TStack();
    TStack(const TStack&) = delete;
    TStack& operator=(const TStack&) = delete;

    // Discards the undone entries (newer than the current one) through the free handler, then
    // adds the record as the newest and current entry.
    void Push(void* record, int64_t size);
    // Removes the newest entry and returns its record; EStackError when empty.
    void* Pop();
    // Returns the current entry's record and makes the next older entry current.
    void* ReadBack();
    // Makes the next newer entry current and returns its record.
    void* ReadForward();
    bool CanRedo() const { return m_current != m_newest; }
    bool CanUndo() const { return m_current != nullptr; }

    // Discards every entry through the free handler.
    void DiscardAll();

    int64_t Count() const { return m_count; }
    int64_t EntryCount() const { return m_entries; }
    int64_t Memory() const { return m_memory; }
    const TStackEntry* Oldest() const { return m_oldest; }
    const TStackEntry* Newest() const { return m_newest; }
    // Null when every entry has been read back (or the stack is empty).
    const TStackEntry* Current() const { return m_current; }
    // The serial of the current entry, 0 when none.
    uint64_t CurrentSerial() const { return m_current ? m_current->Serial : 0; }

    // Empty when every invariant holds, else a description of the first broken one.
    std::string check() const;

protected:
    // Discards the oldest entry through the free handler.
    void discardOldest();

private:
    void* unlinkNewest();
    void discardNewest();

    TFreeHandler m_free;
    TStackEntry* m_oldest = nullptr;
    TStackEntry* m_newest = nullptr;
    TStackEntry* m_current = nullptr;
    int64_t m_memory = 0;
    int64_t m_count = 0;
    uint64_t m_lastSerial = 0;
    int64_t m_entries = 0;
};
