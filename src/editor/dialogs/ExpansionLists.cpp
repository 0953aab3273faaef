#include "editor/dialogs/ExpansionLists.h"

#include "editor/dialogs/ListOrder.h"

#include <algorithm>

namespace {

bool nameBefore(const CodeTemplate& a, const CodeTemplate& b)
{
    return lessIgnoringCase(a.name, b.name);
}

} // namespace

int findExpansion(const std::vector<CodeTemplate>& entries, std::string_view name)
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (equalIgnoringCase(entries[i].name, name))
            return static_cast<int>(i);
    return -1;
}

void putExpansion(std::vector<CodeTemplate>& entries, CodeTemplate entry)
{
    if (entry.name.empty())
        return;
    const int found = findExpansion(entries, entry.name);
    if (found >= 0) {
        entries[static_cast<size_t>(found)] = std::move(entry);
        return;
    }
    const auto place = std::upper_bound(entries.begin(), entries.end(), entry, nameBefore);
    entries.insert(place, std::move(entry));
}

void removeExpansion(std::vector<CodeTemplate>& entries, std::string_view name)
{
    const int found = findExpansion(entries, name);
    if (found >= 0)
        entries.erase(entries.begin() + found);
}

void sortExpansions(std::vector<CodeTemplate>& entries)
{
    std::stable_sort(entries.begin(), entries.end(), nameBefore);
}

std::string autoCorrectItemText(const CodeTemplate& entry)
{
    return entry.text.empty() ? entry.name : entry.name + "\t" + entry.text;
}

std::string templateItemText(const CodeTemplate& entry)
{
    return entry.name + "\t" + entry.description;
}

TAutoCorrectButtons autoCorrectButtons(const std::vector<CodeTemplate>& entries, std::string_view replace,
                                       std::string_view with)
{
    TAutoCorrectButtons buttons;
    if (replace.empty())
        return buttons;
    buttons.match = findExpansion(entries, replace);
    if (buttons.match < 0) {
        buttons.addEnabled = true;
        return buttons;
    }
    buttons.secondEnabled = true;
    const bool same = entries[static_cast<size_t>(buttons.match)].text == with;
    buttons.second = same ? TSecondAction::Delete : TSecondAction::Replace;
    return buttons;
}

TTemplateButtons templateButtons(const std::vector<CodeTemplate>& entries, std::string_view name)
{
    TTemplateButtons buttons;
    if (name.empty())
        return buttons;
    buttons.match = findExpansion(entries, name);
    buttons.addEnabled = buttons.match < 0;
    buttons.replaceEnabled = buttons.match >= 0;
    return buttons;
}

TShortCut templateHotKeyOf(TShortCut pressed)
{
    const TShortCut key = pressed & vk::scKeyMask;
    return key ? static_cast<TShortCut>(key | vk::scAlt) : 0;
}
