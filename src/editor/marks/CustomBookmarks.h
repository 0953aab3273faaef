// The named bookmarks of a document: each name (compared without regard to case) stands at a
// position. The names are kept sorted; the offset tree is the chain of entries in position
// order, so edits move them in O(log n + entries the edit frees). Inserting n characters at p
// adds n to every position at or after p; deleting [s, e) frees the entries strictly inside
// (s < position < e) and moves those at or after e back by e - s. Every entry discarded, by an
// edit, Delete or Clear, is reported with its name.
// Invariants (check()): those of the offset tree; the tree and the name list hold the same
// entries.
#pragma once

#include "editor/marks/OffsetTree.h"
#include "editor/text/StoreHooks.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class TMarkEvents;

class TCustomBookmark : public TOffsetNode
{
public:
    int64_t Position() const { return Start(); }
    std::string Name;
};

class TCustomBookmarks : public TStoreShiftTarget
{
public:
    TCustomBookmarks() = default;
    // Frees the entries without reporting them: the document itself is going.
    ~TCustomBookmarks() override;
    TCustomBookmarks(const TCustomBookmarks&) = delete;
    TCustomBookmarks& operator=(const TCustomBookmarks&) = delete;

    void SetEvents(TMarkEvents* events) { m_events = events; }
    TMarkEvents* Events() const { return m_events; }

    // Adds the name at position (at least 0), or moves it there.
    void Set(const std::string& name, int64_t position);
    bool Find(const std::string& name, int64_t& position) const;
    // Frees the entry; false when there is none of that name.
    bool Delete(const std::string& name);
    void Clear();
    size_t Count() const { return m_byName.size(); }
    // The names in sorted order, and the entries in position order.
    std::vector<std::string> Names() const;
    const TCustomBookmark* First() const;
    const TCustomBookmark* Next(const TCustomBookmark& entry) const;

    void TextInserted(int64_t position, int64_t length) override;
    void TextDeleted(int64_t position, int64_t length) override;
    void TextCleared() override { Clear(); }

    std::string check() const;

private:
    struct TCaseBlindLess
    {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    void discard(const std::vector<TCustomBookmark*>& entries);

    TOffsetTree m_tree;
    std::map<std::string, std::unique_ptr<TCustomBookmark>, TCaseBlindLess> m_byName;
    TMarkEvents* m_events = nullptr;
};
