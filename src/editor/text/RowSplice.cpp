#include "editor/text/RowSplice.h"

#include "editor/text/TextNormaliser.h"
#include "editor/text/TextStore.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool isLineBreak(unsigned char c)
{
    return c == '\r' || c == '\n';
}

// The first index in [from, end) holding a byte below 32 other than TAB, or end; notes in tab
// whether a TAB came before it.
size_t scanPlain(const char* in, size_t from, size_t end, bool& tab)
{
    size_t i = from;
#if defined(__SSE2__)
    const __m128i limit = _mm_set1_epi8(31);
    const __m128i tabs = _mm_set1_epi8('\t');
    while (i + 16 <= end) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const int control = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(block, limit), limit));
        const int tabMask = _mm_movemask_epi8(_mm_cmpeq_epi8(block, tabs));
        const int special = control & ~tabMask;
        if (special != 0) {
            const int at = __builtin_ctz(static_cast<unsigned>(special));
            tab = tab || (tabMask & ((1 << at) - 1)) != 0;
            return i + static_cast<size_t>(at);
        }
        tab = tab || tabMask != 0;
        i += 16;
    }
#endif
    for (; i < end; ++i) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (c == '\t')
            tab = true;
        else if (c < 32)
            return i;
    }
    return end;
}

} // namespace

TRowSplice::TRowSplice(TTextStore& store, const TRowSpot& first, int64_t count)
    : m_store(store), m_oldCount(count), m_startIndex(first.Index)
{
    if (count > 0) {
        m_old = first.Row;
        m_oldLast = m_old;
        for (int64_t i = 1; i < count; ++i)
            m_oldLast = m_oldLast->Next;
        m_before = m_old->Prev;
    } else {
        TRowSpot before;
        m_before = store.m_index.FindIndex(first.Index - 1, before) ? before.Row : nullptr;
    }
    // Small splices (typing, re-cutting one line) are the common case: the batch grows as rows
    // come instead of reserving a whole commit's worth up front.
    m_batch.reserve(8);
}

TRowSplice::~TRowSplice()
{
    if (!m_finished)
        rollback();
}

void TRowSplice::Add(const char* bytes, size_t n)
{
    while (n > 0) {
        const size_t room = static_cast<size_t>(kMaxRowLength - m_pendingLength);
        size_t take = std::min(n, room);
        const void* cr = std::memchr(bytes, kLineBreak, take);
        if (cr)
            take = static_cast<size_t>(static_cast<const char*>(cr) - bytes) + 1;
        const bool rowComplete = cr || m_pendingLength + take == kMaxRowLength;
        if (rowComplete && m_pendingLength == 0)
            emit(bytes, static_cast<int>(take)); // a whole row straight from the input
        else
            appendPending(bytes, take, std::memchr(bytes, '\t', take) != nullptr);
        bytes += take;
        n -= take;
    }
}

void TRowSplice::appendPending(const char* bytes, size_t n, bool hasTab)
{
    std::memcpy(m_pending + m_pendingLength, bytes, n);
    m_pendingLength += static_cast<int>(n);
    m_pendingTab = m_pendingTab || hasTab;
    if (m_pendingLength == kMaxRowLength || (n > 0 && bytes[n - 1] == kLineBreak))
        emitPending();
}

void TRowSplice::emitPending()
{
    emit(m_pending, m_pendingLength, m_pendingTab ? Tabs::Present : Tabs::Absent);
    m_pendingLength = 0;
    m_pendingTab = false;
}

void TRowSplice::AddRaw(const char* bytes, size_t n, TTextNormaliser& normaliser)
{
    size_t i = 0;
    while (i < n) {
        if (normaliser.SkipsPairedBreak(bytes[i])) {
            ++i;
            continue;
        }
        const size_t end = std::min(n, i + static_cast<size_t>(kMaxRowLength - m_pendingLength));
        bool tab = false;
        const size_t stop = scanPlain(bytes, i, end, tab);
        if (stop == end) {
            appendPending(bytes + i, end - i, tab);
            normaliser.Saw(bytes[end - 1]);
            i = end;
            continue;
        }
        const auto c = static_cast<unsigned char>(bytes[stop]);
        if (isLineBreak(c) && m_pendingLength == 0) {
            emit(bytes + i, static_cast<int>(stop - i + 1), tab ? Tabs::Present : Tabs::Absent); // the line as it came
        } else {
            const char stored = isLineBreak(c) ? kLineBreak : '.';
            std::memcpy(m_pending + m_pendingLength, bytes + i, stop - i);
            m_pendingLength += static_cast<int>(stop - i);
            appendPending(&stored, 1, tab);
        }
        normaliser.Saw(static_cast<char>(c));
        i = stop + 1;
    }
}

TTextRow* TRowSplice::AddRow(const char* bytes, int n, const uint8_t* attrs, uint32_t flags)
{
    if (m_pendingLength > 0)
        emitPending();
    TTextRow* row = emit(bytes, n);
    row->Flags = flags | (row->Flags & rfHasTab);
    if (attrs)
        m_store.m_arena.SetAttrs(row, attrs);
    return row;
}

TTextRow* TRowSplice::emit(const char* bytes, int length, Tabs tabs)
{
    TTextRow* row = m_store.m_arena.Create(bytes, length);
    TTextRow* prev = !m_batch.empty() ? m_batch.back() : m_lastCommitted ? m_lastCommitted : m_before;
    if (!m_firstNew) {
        m_firstNew = row;
        if (m_old) {
            row->RowBits = m_old->RowBits & ~rbContinuation;
            row->MarkBits = m_old->MarkBits;
            const TRowExtras& extras = m_store.m_arena.Extras(m_old);
            if (extras.Extra1 != -1 || extras.Extra2 != -1)
                m_store.m_arena.SetExtras(row, extras.Extra1, extras.Extra2);
        }
    }
    if (prev && !prev->EndsLine())
        row->RowBits |= rbContinuation;
    // A line that came with an LF ends in CR like any other.
    if (length > 0 && row->Text()[length - 1] == '\n')
        row->Text()[length - 1] = kLineBreak;
    row->Flags = rfRepaint | rfReparse;
    if (tabs == Tabs::Unknown)
        row->UpdateTabFlag();
    else if (tabs == Tabs::Present)
        row->Flags |= rfHasTab;
    m_batch.push_back(row);
    if (m_batch.size() >= static_cast<size_t>(std::max(1, m_store.m_capacities.CommitRows)))
        commit();
    return row;
}

void TRowSplice::commit()
{
    if (m_batch.empty())
        return;
    for (size_t i = 1; i < m_batch.size(); ++i) {
        m_batch[i - 1]->Next = m_batch[i];
        m_batch[i]->Prev = m_batch[i - 1];
    }
    const auto count = static_cast<int64_t>(m_batch.size());
    m_store.m_index.Insert(m_startIndex + m_committed, m_batch.data(), count);
    m_store.linkAfter(m_lastCommitted ? m_lastCommitted : m_before, m_batch.front(),
                      m_batch.back());
    for (TTextRow* row : m_batch)
        m_store.rowAdded(row->Length);
    m_committed += count;
    m_lastCommitted = m_batch.back();
    m_batch.clear();
}

TRowChange TRowSplice::Finish()
{
    if (m_pendingLength > 0)
        emitPending();
    commit();
    m_finished = true;
    if (m_oldCount > 0) {
        m_store.m_index.Remove(m_startIndex + m_committed, m_oldCount);
        m_store.unlink(m_old, m_oldLast);
        if (m_firstNew && m_store.m_arena.Extras(m_old).Track)
            m_store.m_arena.SetTrack(m_firstNew, m_store.m_arena.TakeTrack(m_old));
        for (TTextRow* row = m_old; row;) {
            TTextRow* next = row->Next;
            m_store.rowRemoved(row->Length);
            m_store.m_arena.Destroy(row);
            row = next;
        }
    }
    TTextRow* last = m_lastCommitted ? m_lastCommitted : m_before;
    TTextRow* after = last ? last->Next : m_store.m_first;
    m_store.fixContinuation(after);
    return {m_before, m_firstNew, after, m_startIndex, m_committed - m_oldCount};
}

void TRowSplice::rollback()
{
    for (TTextRow* row : m_batch)
        m_store.m_arena.Destroy(row);
    m_batch.clear();
    if (m_committed == 0)
        return;
    m_store.m_index.Remove(m_startIndex, m_committed);
    m_store.unlink(m_firstNew, m_lastCommitted);
    for (TTextRow* row = m_firstNew; row;) {
        TTextRow* next = row->Next;
        m_store.rowRemoved(row->Length);
        m_store.m_arena.Destroy(row);
        row = next;
    }
}
