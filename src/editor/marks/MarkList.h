// The range marks of a document: spans [start, end) with a tag the host chose, ordered by
// start, kept in step with edits in O(log n + marks the edit touches).
// Edits move marks as follows. Inserting n characters at p: a mark starting at or after p
// moves by n; a mark with start < p < end grows by n at its end. Deleting [s, e): a mark ending
// at or before s stays; a mark lying wholly inside (s <= start, end <= e, not empty at s) is
// freed; a mark starting at or after e moves back by e - s; a mark starting inside and ending
// after e is cut to [s, end - (e - s)); a mark starting before s and ending inside ends at s, one
// ending after e loses e - s at its end. Every mark whose range changed is reported.
// Invariants (check()): those of the offset tree; Count() is the number of marks.
#pragma once

#include "editor/marks/OffsetTree.h"
#include "editor/text/StoreHooks.h"

#include <cstdint>
#include <string>
#include <vector>

class TMarkEvents;

class TMark : public TOffsetNode
{
public:
    int64_t Length() const { return End() - Start(); }

    int32_t Tag = 0;  // the host's
    int32_t Flag = 0; // the host's
};

class TMarkList : public TStoreShiftTarget
{
public:
    TMarkList() = default;
    // Frees the marks without reporting them: the document itself is going.
    ~TMarkList() override;
    TMarkList(const TMarkList&) = delete;
    TMarkList& operator=(const TMarkList&) = delete;

    // Where changes and freed marks are reported; null: nowhere.
    void SetEvents(TMarkEvents* events) { m_events = events; }
    TMarkEvents* Events() const { return m_events; }

    // A new mark over [start, start + length); negative values count as 0. The list owns it.
    TMark* AddMark(int64_t start, int64_t length, int32_t tag);
    // The first mark (by start) that shares a character with [start, start + length), or an
    // empty mark inside that range or at its start; for an empty range, a mark holding the
    // character at start or an empty mark there.
    bool FindMark(int64_t start, int64_t length, TMark*& mark) const;
    // Move one end; the other end follows when it would be passed, so start <= end holds.
    void SetMarkStart(TMark& mark, int64_t start);
    void SetMarkEnd(TMark& mark, int64_t end);
    TMark* FirstMark() const;
    TMark* NextMark(const TMark& mark) const;
    static int32_t MarkTag(const TMark& mark) { return mark.Tag; }
    // Reports the mark as freed, then frees it.
    void DeleteMark(TMark* mark);
    // Frees every mark, reporting each.
    void Clear();
    size_t Count() const { return m_tree.Size(); }

    // The marks painted on the characters [from, to): those sharing a character with it and
    // the empty ones inside it, in start order.
    std::vector<TMark*> MarksShownIn(int64_t from, int64_t to) const;

    void TextInserted(int64_t position, int64_t length) override;
    void TextDeleted(int64_t position, int64_t length) override;
    void TextCleared() override;

    std::string check() const { return m_tree.check(); }

private:
    std::vector<TMark*> from(TOffsetNode* first) const;
    void report(const std::vector<TMark*>& changed, const std::vector<TMark*>& freed);
    void repaint(int64_t from, int64_t to);

    TOffsetTree m_tree;
    TMarkEvents* m_events = nullptr;
    int m_reporting = 0;            // reports running; freed marks wait for the last to end
    std::vector<TMark*> m_deferred; // out of the tree, freed when no report runs
};
