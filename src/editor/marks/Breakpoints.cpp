#include "editor/marks/Breakpoints.h"

#include "editor/marks/MarkEvents.h"
#include "editor/text/TextStore.h"

#include <algorithm>

namespace {

TSM_BreakpointData* asBreakpoint(TOffsetNode* node)
{
    return static_cast<TSM_BreakpointData*>(node);
}

} // namespace

void TSM_BreakpointData::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (Owner)
        Owner->stateChanged(*this);
    else if (OnStateChange)
        OnStateChange(*this);
}

TSM_Breakpoints::TSM_Breakpoints(TTextStore& store) : m_store(store) {}

TSM_Breakpoints::~TSM_Breakpoints()
{
    std::vector<TSM_BreakpointData*> all;
    for (TSM_BreakpointData* bp = First(); bp; bp = Next(*bp))
        all.push_back(bp);
    m_tree.Clear();
    for (TSM_BreakpointData* bp : all)
        delete bp;
}

int64_t TSM_Breakpoints::lineStartOf(int64_t position) const
{
    const TRowSpot spot = m_store.RowAt(position);
    return m_store.LineStart(m_store.LineOfRow(spot.Index)).Start;
}

TSM_BreakpointData* TSM_Breakpoints::Add(int64_t position, int32_t line, const std::string& condition)
{
    const int64_t start = lineStartOf(std::clamp<int64_t>(position, 0, m_store.CharCount()));
    auto* bp = new TSM_BreakpointData;
    bp->Line = line;
    bp->Condition = condition;
    bp->Owner = this;
    m_tree.Insert(*bp, start, start);
    repaint(start, start + 1);
    return bp;
}

void TSM_Breakpoints::Remove(TSM_BreakpointData* breakpoint)
{
    if (!breakpoint || !breakpoint->InTree() || breakpoint->Owner != this)
        return;
    discard({breakpoint});
}

void TSM_Breakpoints::Clear()
{
    std::vector<TSM_BreakpointData*> all;
    for (TSM_BreakpointData* bp = First(); bp; bp = Next(*bp))
        all.push_back(bp);
    discard(std::move(all));
}

TSM_BreakpointData* TSM_Breakpoints::First() const
{
    return asBreakpoint(m_tree.First());
}

TSM_BreakpointData* TSM_Breakpoints::Next(const TSM_BreakpointData& breakpoint) const
{
    return breakpoint.InTree() ? asBreakpoint(TOffsetTree::Next(breakpoint)) : nullptr;
}

TSM_BreakpointData* TSM_Breakpoints::BreakpointAt(int64_t position) const
{
    TOffsetNode* node = m_tree.LowerBound(position);
    return node && node->Start() == position ? asBreakpoint(node) : nullptr;
}

bool TSM_Breakpoints::GetBreakpointStyle(int64_t position, TBreakpointStyle& style) const
{
    const TSM_BreakpointData* bp = BreakpointAt(position);
    if (!bp)
        return false;
    if (bp->Enabled())
        style = {EnabledImage, EnabledText, EnabledBackground};
    else
        style = {DisabledImage, DisabledText, DisabledBackground};
    return true;
}

void TSM_Breakpoints::TextDeleting(int64_t start, int64_t end)
{
    m_doomed.clear();
    for (TOffsetNode* node = m_tree.LowerBound(start); node && node->Start() < end; node = TOffsetTree::Next(*node)) {
        // The line's end, its line break included: where the next line starts.
        const int64_t line = m_store.LineOfRow(m_store.RowAt(node->Start()).Index);
        const int64_t lineEnd = line + 1 < m_store.LineCount() ? m_store.LineStart(line + 1).Start : m_store.CharCount();
        if (lineEnd <= end)
            m_doomed.push_back(asBreakpoint(node));
    }
}

void TSM_Breakpoints::TextInserted(int64_t position, int64_t length)
{
    // A breakpoint at the insertion point keeps its place, like the row bits of the line.
    m_tree.ShiftFrom(position, length, TShiftFrom::After);
}

void TSM_Breakpoints::TextDeleted(int64_t position, int64_t length)
{
    const int64_t end = position + length;
    std::vector<TSM_BreakpointData*> touched;
    for (TOffsetNode* node = m_tree.LowerBound(position); node && node->Start() <= end; node = TOffsetTree::Next(*node))
        touched.push_back(asBreakpoint(node));
    m_tree.ShiftFrom(end, -length, TShiftFrom::After);
    if (touched.empty()) {
        m_doomed.clear();
        return;
    }
    const int64_t lineStart = lineStartOf(position);
    std::vector<TSM_BreakpointData*> doomed;
    doomed.swap(m_doomed);
    for (TSM_BreakpointData* bp : touched) {
        if (std::find(doomed.begin(), doomed.end(), bp) != doomed.end())
            lineDeleted(*bp, lineStart);
        else
            m_tree.Move(*bp, lineStart, lineStart);
    }
}

void TSM_Breakpoints::TextCleared()
{
    m_doomed.clear();
    std::vector<TSM_BreakpointData*> all;
    for (TSM_BreakpointData* bp = First(); bp; bp = Next(*bp))
        all.push_back(bp);
    for (TSM_BreakpointData* bp : all)
        lineDeleted(*bp, 0);
}

void TSM_Breakpoints::lineDeleted(TSM_BreakpointData& breakpoint, int64_t lineStart)
{
    (void)lineStart;
    discard({&breakpoint});
}

// Takes the breakpoints out, reports each, then frees them. A handler that removes another
// breakpoint frees that one itself; one already taken out is left alone.
void TSM_Breakpoints::discard(std::vector<TSM_BreakpointData*> breakpoints)
{
    for (TSM_BreakpointData* bp : breakpoints) {
        repaint(bp->Start(), bp->Start() + 1);
        m_tree.Remove(*bp);
    }
    struct TFreeScope
    {
        std::vector<TSM_BreakpointData*>& Freed;
        ~TFreeScope()
        {
            for (TSM_BreakpointData* bp : Freed)
                delete bp;
        }
    } scope{breakpoints};
    if (m_events)
        for (TSM_BreakpointData* bp : breakpoints)
            m_events->BreakpointFreed(*bp);
}

void TSM_Breakpoints::stateChanged(TSM_BreakpointData& breakpoint)
{
    repaint(breakpoint.Start(), breakpoint.Start() + 1);
    if (m_events)
        m_events->BreakpointStateChanged(breakpoint);
    if (breakpoint.OnStateChange)
        breakpoint.OnStateChange(breakpoint);
}

void TSM_Breakpoints::repaint(int64_t from, int64_t to)
{
    if (m_events)
        m_events->MarksChanged(from, to);
}

std::string TSM_Breakpoints::check() const
{
    for (const TSM_BreakpointData* bp = First(); bp; bp = Next(*bp))
        if (bp->Owner != this)
            return "a breakpoint names another owner";
    return m_tree.check();
}

// ---- the execution point ----------------------------------------------------------------------

TSM_CodeBreak::TSM_CodeBreak(TTextStore& store) : TSM_Breakpoints(store) {}

TSM_BreakpointData& TSM_CodeBreak::SetPoint(int64_t position, int32_t line)
{
    TSM_BreakpointData* point = Point();
    if (!point) {
        point = Add(position, line);
    } else {
        const int64_t start = lineStartOf(std::clamp<int64_t>(position, 0, m_store.CharCount()));
        repaint(point->Start(), point->Start() + 1);
        m_tree.Move(*point, start, start);
        point->Line = line;
        repaint(start, start + 1);
    }
    point->SetEnabled(true);
    return *point;
}

bool TSM_CodeBreak::GetBreakpointStyle(int64_t position, TBreakpointStyle& style) const
{
    const TSM_BreakpointData* point = BreakpointAt(position);
    if (!point || !point->Enabled())
        return false;
    style = {PointImage, PointText, PointBackground};
    return true;
}

void TSM_CodeBreak::lineDeleted(TSM_BreakpointData& breakpoint, int64_t lineStart)
{
    m_tree.Move(breakpoint, lineStart, lineStart);
    breakpoint.SetEnabled(false);
}
