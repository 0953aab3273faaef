// The key-down hook of the editor: code templates first, then auto-correct. A table reacts when
// it is enabled, the document is not read-only, nothing is selected and the key is its trigger
// (the templates' hot key with its shift state, or one of the auto-correct keys). It then looks
// backwards from the caret for the longest name ending there and replaces the name by the
// entry's text in one undo step (group 18): with the templates' settings, continuation lines
// of the text are indented to the column where the name starts, and the first "|" is taken out
// and marks where the caret goes. Auto-correct replaces only at word edges: a name ending in a
// word character must not be followed by one, and when the name or its replacement starts a
// word the character before the name must not be a word character. When the hot key finds no
// template, the word ending at the caret is selected and the host shows the templates to pick
// from.
#pragma once

#include "editor/keys/KeyDownHandler.h"
#include "editor/marks/MacroKeywords.h"

#include <string>

class TEdStream;
class TSourceEditor;

// What expanding needs from the control: its two events and the pick list.
class TExpansionHost
{
public:
    virtual ~TExpansionHost() = default;
    // A template fires; the handler may change the text that replaces its name.
    virtual void TemplateFired(const std::string& name, std::string& replacement) { (void)name, (void)replacement; }
    // An auto-correct entry fires; stream stands at the name in the document. The handler may
    // change the replacement or refuse it.
    virtual void AutoReplaceFired(TEdStream& stream, const std::string& item, std::string& replaceWith,
                                  bool& canReplace)
    {
        (void)stream, (void)item, (void)replaceWith, (void)canReplace;
    }
    // Shows the templates to choose from under the caret; word (lower case) is the selected
    // word before the caret. A choice comes back through TKeyExpansion::ExpandChoice.
    virtual void ShowTemplateList(const std::string& word) { (void)word; }
};

class TKeyExpansion : public TKeyExpansionHook
{
public:
    TKeyExpansion(TSourceEditor& editor, TExpansionHost& host) : m_editor(&editor), m_host(host) {}

    TCodeTemplates& Templates() { return m_templates; }
    TAutoReplace& AutoReplace() { return m_autoReplace; }

    bool ExpandCodeTemplate(uint16_t key, TShortCut shiftState) override;
    bool AutoCorrect(uint16_t key, TShortCut shiftState) override;
    // The entry picked from the list replaces the selection (the word before the caret).
    void ExpandChoice(const TMacroEntry& entry);

private:
    bool mayExpand(const TMacroKeywords& table) const;
    bool atWordEdges(const TMacroEntry& entry, const std::string& text, int64_t nameStart, int64_t nameEnd) const;
    void replaceName(const TMacroKeywords& table, std::string text, int64_t nameStart, int64_t nameEnd);

    TSourceEditor* m_editor;
    TExpansionHost& m_host;
    TCodeTemplates m_templates;
    TAutoReplace m_autoReplace;
};
