#include "editor/marks/TemplateSettings.h"

#include "editor/keys/KeyNames.h"

namespace {

std::vector<TMacroEntry> entriesOf(const TemplateList& list)
{
    std::vector<TMacroEntry> entries;
    for (const CodeTemplate& item : list.entries)
        entries.push_back({item.name, item.description, item.text});
    return entries;
}

TemplateList listOf(const TMacroKeywords& table)
{
    TemplateList list;
    for (const TMacroEntry& entry : table.Entries())
        list.entries.push_back({entry.Name, entry.Description, entry.Text});
    list.hotKey = shortCutToText(table.Trigger);
    list.enabled = table.Enabled;
    return list;
}

// Replaces the table's entries and settings without raising OnChanged for each entry.
void fill(TMacroKeywords& table, const TemplateList& list)
{
    auto onChanged = std::move(table.OnChanged);
    table.OnChanged = nullptr;
    table.ClearEntries();
    for (TMacroEntry& entry : entriesOf(list))
        table.SetEntry(std::move(entry));
    table.Trigger = textToShortCut(list.hotKey);
    table.Enabled = list.enabled;
    table.OnChanged = std::move(onChanged);
}

bool sameAs(const TMacroKeywords& table, const TemplateList& list)
{
    return table.Entries() == entriesOf(list) && table.Trigger == textToShortCut(list.hotKey) &&
           table.Enabled == list.enabled;
}

} // namespace

void TemplatesFromSettings(const TSM_Settings& settings, TCodeTemplates& templates)
{
    if (!sameAs(templates, settings.templates))
        fill(templates, settings.templates);
}

void AutoReplaceFromSettings(const TSM_Settings& settings, TAutoReplace& autoReplace)
{
    if (sameAs(autoReplace, settings.autoReplace) && autoReplace.Triggers() == settings.triggers)
        return;
    fill(autoReplace, settings.autoReplace);
    auto onChanged = std::move(autoReplace.OnChanged);
    autoReplace.OnChanged = nullptr;
    autoReplace.SetTriggers(settings.triggers);
    autoReplace.OnChanged = std::move(onChanged);
}

void TemplatesToSettings(const TCodeTemplates& templates, TSM_Settings& settings)
{
    settings.templates = listOf(templates);
}

void AutoReplaceToSettings(const TAutoReplace& autoReplace, TSM_Settings& settings)
{
    settings.autoReplace = listOf(autoReplace);
    settings.triggers = autoReplace.Triggers();
}
