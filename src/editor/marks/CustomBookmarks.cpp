#include "editor/marks/CustomBookmarks.h"

#include "editor/marks/MarkEvents.h"

#include <algorithm>
#include <cctype>

bool TCustomBookmarks::TCaseBlindLess::operator()(const std::string& a, const std::string& b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

TCustomBookmarks::~TCustomBookmarks()
{
    m_tree.Clear();
}

void TCustomBookmarks::Set(const std::string& name, int64_t position)
{
    position = std::max<int64_t>(position, 0);
    auto found = m_byName.find(name);
    if (found != m_byName.end()) {
        m_tree.Move(*found->second, position, position);
        return;
    }
    auto entry = std::make_unique<TCustomBookmark>();
    entry->Name = name;
    m_tree.Insert(*entry, position, position);
    m_byName.emplace(name, std::move(entry));
}

bool TCustomBookmarks::Find(const std::string& name, int64_t& position) const
{
    const auto found = m_byName.find(name);
    if (found == m_byName.end())
        return false;
    position = found->second->Position();
    return true;
}

bool TCustomBookmarks::Delete(const std::string& name)
{
    const auto found = m_byName.find(name);
    if (found == m_byName.end())
        return false;
    discard({found->second.get()});
    return true;
}

void TCustomBookmarks::Clear()
{
    std::vector<TCustomBookmark*> all;
    for (const TCustomBookmark* entry = First(); entry; entry = Next(*entry))
        all.push_back(const_cast<TCustomBookmark*>(entry));
    discard(all);
}

std::vector<std::string> TCustomBookmarks::Names() const
{
    std::vector<std::string> names;
    for (const auto& [name, entry] : m_byName)
        names.push_back(name);
    return names;
}

const TCustomBookmark* TCustomBookmarks::First() const
{
    return static_cast<const TCustomBookmark*>(m_tree.First());
}

const TCustomBookmark* TCustomBookmarks::Next(const TCustomBookmark& entry) const
{
    return entry.InTree() ? static_cast<const TCustomBookmark*>(TOffsetTree::Next(entry)) : nullptr;
}

void TCustomBookmarks::TextInserted(int64_t position, int64_t length)
{
    m_tree.ShiftFrom(position, length, TShiftFrom::AtOrAfter);
}

void TCustomBookmarks::TextDeleted(int64_t position, int64_t length)
{
    const int64_t end = position + length;
    std::vector<TCustomBookmark*> inside;
    for (TOffsetNode* node = m_tree.LowerBound(position + 1); node && node->Start() < end; node = TOffsetTree::Next(*node))
        inside.push_back(static_cast<TCustomBookmark*>(node));
    m_tree.ShiftFrom(end, -length, TShiftFrom::AtOrAfter);
    discard(inside);
}

// Takes the entries out of the tree, reports their names, then frees them.
void TCustomBookmarks::discard(const std::vector<TCustomBookmark*>& entries)
{
    std::vector<std::unique_ptr<TCustomBookmark>> freed;
    for (TCustomBookmark* entry : entries) {
        m_tree.Remove(*entry);
        auto found = m_byName.find(entry->Name);
        freed.push_back(std::move(found->second));
        m_byName.erase(found);
    }
    if (m_events)
        for (const auto& entry : freed)
            m_events->CustomBookmarkFreed(entry->Name);
}

std::string TCustomBookmarks::check() const
{
    if (m_tree.Size() != m_byName.size())
        return "name list and position chain differ in size";
    for (const auto& [name, entry] : m_byName)
        if (!entry->InTree() || entry->Name != name)
            return "a named entry is not in the position chain";
    return m_tree.check();
}
