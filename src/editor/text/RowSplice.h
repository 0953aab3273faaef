// Replaces a run of rows of a store by rows built from bytes already in stored form. Bytes are
// cut into rows at every CR and after 2047 bytes; the first new row takes over the bookmarks,
// marks, extras and track object of the first replaced row; the continuation bit of every new
// row and of the row after them follows from the row before. Until Finish() the replaced rows
// stay alive (callers pass their prefix and suffix straight from them), and a splice that is
// destroyed unfinished (an exception) removes what it added, leaving the store as it was.
#pragma once

#include "editor/text/StoreHooks.h"
#include "editor/text/TextRow.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TTextNormaliser;
class TTextStore;
struct TRowSpot;

class TRowSplice
{
public:
    // Replaces count rows starting with first (count 0: inserts before the row at
    // first.Index, first.Row unused).
    TRowSplice(TTextStore& store, const TRowSpot& first, int64_t count);
    ~TRowSplice();
    TRowSplice(const TRowSplice&) = delete;
    TRowSplice& operator=(const TRowSplice&) = delete;

    // Adds bytes already in stored form.
    void Add(const char* bytes, size_t n);
    // Adds raw bytes, normalising them with normaliser's state as they go; a plain line goes
    // from the input straight into its row. Loading a file runs through here.
    void AddRaw(const char* bytes, size_t n, TTextNormaliser& normaliser);
    // Adds one row exactly as given: 1..2047 bytes of which only the last may be CR, its token
    // bytes (null: none) and its flags (rfHasTab is worked out here); returns it. Re-cutting
    // rows for word wrap runs through here.
    TTextRow* AddRow(const char* bytes, int n, const uint8_t* attrs, uint32_t flags);
    TRowChange Finish();

private:
    enum class Tabs { Unknown, Present, Absent };
    TTextRow* emit(const char* bytes, int length, Tabs tabs = Tabs::Unknown);
    void appendPending(const char* bytes, size_t n, bool hasTab);
    void emitPending();
    void commit();
    void rollback();

    TTextStore& m_store;
    TTextRow* m_old = nullptr;     // first replaced row
    TTextRow* m_oldLast = nullptr; // last replaced row
    int64_t m_oldCount;
    TTextRow* m_before;            // the row the new rows follow
    int64_t m_startIndex;
    int64_t m_committed = 0;       // new rows already linked and indexed
    TTextRow* m_firstNew = nullptr;
    TTextRow* m_lastCommitted = nullptr;
    std::vector<TTextRow*> m_batch;
    char m_pending[kMaxRowLength];
    int m_pendingLength = 0;
    bool m_pendingTab = false;
    bool m_finished = false;
};
