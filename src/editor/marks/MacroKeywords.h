// The two expansion tables of the editor's settings. TMacroKeywords holds entries (name,
// description, text) found by TReversedKeywords from the caret backwards, and how the table reacts:
// enabled, its trigger key, and whether an expansion indents its continuation lines, places the
// caret at a marker, offers a pick list when nothing is found and swallows the trigger key.
// TCodeTemplates fires on a hot key and does all four; TAutoReplace fires on its trigger keys
// (parsed from a trigger text) and does none, so the delimiter typed is still typed.
// Names compare without regard to case. Invariants (check()): every entry is reachable through
// the trie under its name; no two entries have the same name; names are 1..255 bytes.
#pragma once

#include "editor/marks/ReversedKeywords.h"
#include "platform/VirtualKeys.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TStream;
class TTextStore;

struct TMacroEntry
{
    std::string Name;        // 1..255 bytes
    std::string Description; // at most 255 bytes
    std::string Text;
    bool operator==(const TMacroEntry&) const = default;
};

class TMacroKeywords : public TReversedKeywords
{
public:
    const char* ClassName() const override { return "TMacroKeywords"; }

    bool Enabled = true;
    TShortCut Trigger = vk::shortCut('J', vk::scCtrl);
    bool IndentExpansions = false;
    bool CaretMarker = false;
    bool Popup = false;
    bool SwallowKey = false;

    const std::vector<TMacroEntry>& Entries() const { return m_entries; }
    // Adds the entry or replaces the one of the same name. A name longer than 255 bytes is cut
    // (the stored form holds no more); an empty one is ignored.
    void SetEntry(TMacroEntry entry);
    bool RemoveEntry(std::string_view name);
    void ClearEntries();
    const TMacroEntry* Find(std::string_view name) const;
    // The entry whose name is the longest ending at offset end of the store; its length in
    // length. Null when none ends there.
    const TMacroEntry* LongestBefore(TTextStore& store, int64_t end, size_t& length) const;

    // Copies entries and settings from a table of the same class; "Cannot assign %s to %s"
    // (ESourceMemo) for any other.
    virtual void Assign(const TSM_Base& source);

    // Raised after every change of the entries (the control writes them back to its settings).
    std::function<void()> OnChanged;

    std::string check() const;

protected:
    void changed();
    void rebuild();

    std::vector<TMacroEntry> m_entries;
};

class TCodeTemplates : public TMacroKeywords
{
public:
    TCodeTemplates();
    const char* ClassName() const override { return "TCodeTemplates"; }

    void AddTemplate(const std::string& name, const std::string& description, const std::string& text);
    bool DeleteTemplate(std::string_view name) { return RemoveEntry(name); }

    // Stored form: i32 n, then n times str8 name, u8 length and the description, i32 length
    // and the text; then str32 of the trigger as key text ("Ctrl+J") and i32 of the enabled
    // flag masked with 0x7F. Loading replaces entries, trigger and flag; damaged bytes throw
    // (EReadError when they end early, EKeywords "Invalid template data" for a negative count)
    // and leave the table as it was. Memory grows only with the bytes actually read.
    virtual void SaveToStream(TStream& stream) const;
    virtual void LoadFromStream(TStream& stream);

protected:
    struct TStoredList
    {
        std::vector<TMacroEntry> Entries;
        TShortCut Trigger = 0;
        bool Enabled = true;
    };
    static TStoredList readList(TStream& stream);
    void takeList(TStoredList list);
};

class TAutoReplace : public TCodeTemplates
{
public:
    static constexpr const char* kDefaultTriggers = ";,:.=()[]\\{Return}\\{Tab}\\{Space}";

    TAutoReplace();
    const char* ClassName() const override { return "TAutoReplace"; }

    void AddReplacement(const std::string& word, const std::string& replacement);
    // The trigger text and the keys parsed from it (see TriggerKeys.h); a text longer than 255
    // bytes is cut.
    void SetTriggers(std::string_view text);
    const std::string& Triggers() const { return m_triggers; }
    const std::vector<int>& TriggerKeys() const { return m_triggerKeys; }
    // Whether a key-down fires the table: key 0..255 with Shift and Ctrl as in shiftState.
    bool IsTrigger(uint16_t key, TShortCut shiftState) const;
    // The initial trigger text and no entries.
    void Reset();

    // The template list's form followed by str8 of the trigger text, which loading parses.
    void SaveToStream(TStream& stream) const override;
    void LoadFromStream(TStream& stream) override;
    void Assign(const TSM_Base& source) override;

private:
    std::string m_triggers;
    std::vector<int> m_triggerKeys;
};
