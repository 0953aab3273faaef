// Text dropped onto the editor, from another program or dragged within the editor itself, and
// text dragged out of it and moved away.
#include "editor/edit/SourceEditor.h"

#include <algorithm>

TDropPlan PlanDrop(int64_t at, const TDropSource& source)
{
    TDropPlan plan;
    plan.InsertAt = at;
    if (!source.Own())
        return plan;
    const bool inside = at > source.Start && at < source.End;
    // Moving a range to either of its own ends would only leave a needless undo step.
    const bool atEdge = at == source.Start || at == source.End;
    if (inside || (source.Move && atEdge)) {
        plan.Ignored = true;
        return plan;
    }
    if (!source.Move)
        return plan;
    plan.RemoveStart = source.Start;
    plan.RemoveEnd = source.End;
    if (at > source.End)
        plan.InsertAt = at - (source.End - source.Start);
    return plan;
}

bool TSourceEditor::AcceptsDrop(int64_t at, const TDropSource& source) const
{
    return !Settings.ReadOnly && !PlanDrop(at, source).Ignored;
}

bool TSourceEditor::DropText(std::string_view text, int64_t at, const TDropSource& source)
{
    if (Settings.ReadOnly)
        return false;
    const std::string data = stored(text);
    if (data.empty())
        return false;
    at = std::clamp<int64_t>(at, 0, m_store->CharCount());
    TDropSource from = source;
    // A range that no longer holds the dragged text says nothing about it: the drop is then
    // taken as text from elsewhere and nothing is removed.
    if (from.Own() &&
        (from.End > m_store->CharCount() || m_store->GetText(from.Start, from.End) != data))
        from = TDropSource{};
    const TDropPlan plan = PlanDrop(at, from);
    if (plan.Ignored)
        return false;
    uint32_t flags = dsText;
    if (OnDataDrop)
        OnDataDrop(flags);
    if ((flags & dsText) == 0)
        return false;
    TGroupScope group(*this, ugDrop);
    if (plan.RemoveEnd > plan.RemoveStart) {
        SetSelection(plan.RemoveStart, plan.RemoveEnd);
        replaceSelectionWith(std::string(), ukText);
    }
    SetSelection(plan.InsertAt, plan.InsertAt);
    replaceSelectionWith(data, ukText);
    SetSelection(plan.InsertAt, m_selCaret);
    m_host->ScrollCaretIntoView();
    return true;
}

bool TSourceEditor::RemoveDraggedText(int64_t start, int64_t end, std::string_view text)
{
    if (Settings.ReadOnly || start < 0 || end <= start || end > m_store->CharCount())
        return false;
    if (m_store->GetText(start, end) != stored(text))
        return false;
    TGroupScope group(*this, ugDrop);
    SetSelection(start, end);
    replaceSelectionWith(std::string(), ukText);
    return true;
}
