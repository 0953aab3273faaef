#include "editor/marks/MarkList.h"

#include "editor/marks/MarkEvents.h"

#include <algorithm>

namespace {

TMark* asMark(TOffsetNode* node)
{
    return static_cast<TMark*>(node);
}

} // namespace

TMarkList::~TMarkList()
{
    std::vector<TMark*> all = from(m_tree.First());
    m_tree.Clear();
    for (TMark* mark : all)
        delete mark;
    for (TMark* mark : m_deferred)
        delete mark;
}

TMark* TMarkList::AddMark(int64_t start, int64_t length, int32_t tag)
{
    start = std::max<int64_t>(start, 0);
    length = std::max<int64_t>(length, 0);
    auto* mark = new TMark;
    mark->Tag = tag;
    m_tree.Insert(*mark, start, start + length);
    repaint(start, start + length);
    return mark;
}

bool TMarkList::FindMark(int64_t start, int64_t length, TMark*& mark) const
{
    const int64_t end = start + std::max<int64_t>(length, 0);
    TMark* found = nullptr;
    // Marks sharing a character with the range (for an empty range: holding the one at start).
    m_tree.ForEachReaching(std::max(end, start + 1), start + 1, [&](TOffsetNode& node) {
        if (!found)
            found = asMark(&node);
    });
    // An empty mark at start shares no character but stands in the range.
    for (TOffsetNode* node = m_tree.LowerBound(start); node && node->Start() == start; node = TOffsetTree::Next(*node)) {
        if (node->End() == start) {
            if (!found || found->Start() > start)
                found = asMark(node);
            break;
        }
    }
    if (found)
        mark = found;
    return found != nullptr;
}

void TMarkList::SetMarkStart(TMark& mark, int64_t start)
{
    start = std::max<int64_t>(start, 0);
    const int64_t oldStart = mark.Start();
    const int64_t end = std::max(mark.End(), start);
    m_tree.Move(mark, start, end);
    repaint(std::min(oldStart, start), end);
}

void TMarkList::SetMarkEnd(TMark& mark, int64_t end)
{
    const int64_t oldEnd = mark.End();
    m_tree.SetEnd(mark, end);
    repaint(mark.Start(), std::max(oldEnd, mark.End()));
}

TMark* TMarkList::FirstMark() const
{
    return asMark(m_tree.First());
}

TMark* TMarkList::NextMark(const TMark& mark) const
{
    return mark.InTree() ? asMark(TOffsetTree::Next(mark)) : nullptr;
}

void TMarkList::DeleteMark(TMark* mark)
{
    if (!mark || !mark->InTree())
        return;
    m_tree.Remove(*mark);
    repaint(mark->Start(), mark->End());
    report({}, {mark});
}

void TMarkList::Clear()
{
    std::vector<TMark*> all = from(m_tree.First());
    if (all.empty())
        return;
    m_tree.Clear();
    repaint(all.front()->Start(), INT64_MAX);
    report({}, all);
}

std::vector<TMark*> TMarkList::MarksShownIn(int64_t from, int64_t to) const
{
    std::vector<TMark*> shown;
    m_tree.ForEachReaching(to, from, [&](TOffsetNode& node) {
        if (node.End() > from || node.Start() == node.End())
            shown.push_back(asMark(&node));
    });
    return shown;
}

std::vector<TMark*> TMarkList::from(TOffsetNode* first) const
{
    std::vector<TMark*> marks;
    for (TOffsetNode* node = first; node; node = TOffsetTree::Next(*node))
        marks.push_back(asMark(node));
    return marks;
}

void TMarkList::TextInserted(int64_t position, int64_t length)
{
    if (m_tree.Empty())
        return;
    std::vector<TMark*> grown;
    m_tree.ForEachReaching(position, position + 1, [&](TOffsetNode& node) { grown.push_back(asMark(&node)); });
    for (TMark* mark : grown)
        m_tree.SetEnd(*mark, mark->End() + length);
    const bool listening = m_events && m_events->WantsMarkChanges();
    TOffsetNode* firstMoved = listening ? m_tree.LowerBound(position) : nullptr;
    m_tree.ShiftFrom(position, length, TShiftFrom::AtOrAfter);
    if (!listening)
        return;
    std::vector<TMark*> changed = std::move(grown);
    const std::vector<TMark*> moved = from(firstMoved);
    changed.insert(changed.end(), moved.begin(), moved.end());
    report(changed, {});
}

void TMarkList::TextDeleted(int64_t position, int64_t length)
{
    if (m_tree.Empty() || length <= 0)
        return;
    const int64_t s = position;
    const int64_t e = position + length;
    std::vector<TMark*> changed;
    std::vector<TMark*> freed;
    // Marks from before the range that reach into it.
    m_tree.ForEachReaching(s, s + 1, [&](TOffsetNode& node) { changed.push_back(asMark(&node)); });
    for (TMark* mark : changed)
        m_tree.SetEnd(*mark, mark->End() >= e ? mark->End() - length : s);
    // Marks starting inside it: freed, or cut to what is left after it.
    std::vector<TMark*> inside;
    for (TOffsetNode* node = m_tree.LowerBound(s); node && node->Start() < e; node = TOffsetTree::Next(*node))
        inside.push_back(asMark(node));
    for (TMark* mark : inside) {
        if (mark->End() <= s)
            continue; // an empty mark at s: the characters after it went, it stays
        if (mark->End() <= e) {
            m_tree.Remove(*mark);
            freed.push_back(mark);
        } else {
            m_tree.Move(*mark, s, mark->End() - length);
            changed.push_back(mark);
        }
    }
    const bool listening = m_events && m_events->WantsMarkChanges();
    TOffsetNode* firstMoved = listening ? m_tree.LowerBound(e) : nullptr;
    m_tree.ShiftFrom(e, -length, TShiftFrom::AtOrAfter);
    if (listening) {
        const std::vector<TMark*> moved = from(firstMoved);
        changed.insert(changed.end(), moved.begin(), moved.end());
    } else {
        changed.clear();
    }
    report(changed, freed);
}

void TMarkList::TextCleared()
{
    Clear();
}

// Tells the events object, then frees the freed marks. A handler may delete marks, even ones
// still to be reported: those leave the tree at once and are freed when the outermost report
// is done, so no report ever reaches a freed mark.
void TMarkList::report(const std::vector<TMark*>& changed, const std::vector<TMark*>& freed)
{
    m_deferred.insert(m_deferred.end(), freed.begin(), freed.end());
    struct TReportScope
    {
        TMarkList& List;
        explicit TReportScope(TMarkList& list) : List(list) { ++List.m_reporting; }
        ~TReportScope()
        {
            if (--List.m_reporting > 0)
                return;
            for (TMark* mark : List.m_deferred)
                delete mark;
            List.m_deferred.clear();
        }
    } scope(*this);
    if (!m_events)
        return;
    for (TMark* mark : changed)
        if (mark->InTree())
            m_events->MarkChanged(*mark);
    for (TMark* mark : freed)
        m_events->MarkFreed(*mark);
}

void TMarkList::repaint(int64_t from, int64_t to)
{
    if (m_events)
        m_events->MarksChanged(from, to);
}
