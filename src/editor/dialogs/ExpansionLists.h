// The lists of the properties dialog's Auto correct and Code templates pages: each keeps its
// entries sorted by name (without regard to case), one entry per name, and is the settings'
// own list, so the settings are up to date after every change.
#pragma once

#include "highlight/ParserSettings.h"
#include "platform/VirtualKeys.h"

#include <string>
#include <string_view>
#include <vector>

// The code templates' hot key when the settings name none.
inline constexpr TShortCut kDefaultTemplateHotKey = vk::shortCut('A', vk::scAlt);

// The index of the entry named name, or -1.
int findExpansion(const std::vector<CodeTemplate>& entries, std::string_view name);
// Adds the entry at its sorted place, or replaces the entry of that name. An empty name is
// ignored.
void putExpansion(std::vector<CodeTemplate>& entries, CodeTemplate entry);
void removeExpansion(std::vector<CodeTemplate>& entries, std::string_view name);
void sortExpansions(std::vector<CodeTemplate>& entries);

// List texts: "teh" TAB "the" (the word alone without a replacement), and "name" TAB
// "description".
std::string autoCorrectItemText(const CodeTemplate& entry);
std::string templateItemText(const CodeTemplate& entry);

// The Auto correct page's buttons for the Replace and With texts: "Add" for a word not yet in
// the list; for a listed word the second button, which replaces its text when With differs and
// deletes the entry otherwise.
enum class TSecondAction { Replace, Delete };
struct TAutoCorrectButtons
{
    bool addEnabled = false;
    bool secondEnabled = false;
    TSecondAction second = TSecondAction::Delete;
    int match = -1; // the listed entry of that word
};
TAutoCorrectButtons autoCorrectButtons(const std::vector<CodeTemplate>& entries, std::string_view replace,
                                       std::string_view with);

// The Code templates page's buttons: "Add" for a name not yet in the list, "Replace" for one
// that is.
struct TTemplateButtons
{
    bool addEnabled = false;
    bool replaceEnabled = false;
    int match = -1;
};
TTemplateButtons templateButtons(const std::vector<CodeTemplate>& entries, std::string_view name);

// The hot key field takes plain keys with Alt only: whatever modifiers were held, the key is
// stored with Alt alone. None stays none.
TShortCut templateHotKeyOf(TShortCut pressed);
