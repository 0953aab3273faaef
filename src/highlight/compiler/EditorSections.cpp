// The editor sections that travel with a language: %%keys (the key map), %%autoreplace,
// %%templates and %%kwTables (keyword tables of the settings).
#include "highlight/CharSpecifier.h"
#include "highlight/compiler/CompilerErrors.h"
#include "highlight/compiler/ScriptCompiler.h"

#include "base/Exception.h"
#include "editor/keys/KeyNames.h"

#include <set>

namespace {

constexpr size_t kMaxShortText = 255;
// Far more than a keyboard offers; keeps binding, which searches the bound keys, cheap.
constexpr size_t kMaxKeyBindings = 4096;

std::string shortText(std::string text)
{
    if (text.size() > kMaxShortText)
        text.resize(kMaxShortText);
    return text;
}

} // namespace

// command ( binding | binding ... ) ['name']
bool TScriptCompiler::keyEntry()
{
    if (!at(tk::Number) && !at(tk::OpenParen))
        return false;
    const auto command = static_cast<int32_t>(expression());
    m_stop.section = "%%Keys - " + std::to_string(command);
    expect(tk::OpenParen, msg::OpenParenExpected);
    std::vector<std::pair<TShortCut, TShortCut>> keys;
    do {
        const TShortCut first = binding();
        TShortCut second = 0;
        if (accept(tk::Comma))
            second = keyCode();
        keys.emplace_back(first, second);
    } while (accept(tk::Bar));
    expect(tk::CloseParen, msg::CloseParenExpected);
    if (at(tk::String)) {
        const std::string name = stringValue();
        if (name.empty())
            fail(msg::BlankKeyName);
        m_keyMap.SetName(command, shortText(name));
    }
    if (m_keyMap.Keys().BindingCount() + keys.size() > kMaxKeyBindings)
        fail(msg::TooManyKeyBindings);
    for (const auto& [first, second] : keys) {
        try {
            m_keyMap.Bind(first, second, command);
        } catch (const Exception& error) {
            fail(error.Message());
        }
    }
    return true;
}

// [ modifiers ] key; the brackets may be left out.
TShortCut TScriptCompiler::binding()
{
    const TShortCut shiftState = modifiers();
    return static_cast<TShortCut>(shiftState | keyCode());
}

TShortCut TScriptCompiler::modifiers()
{
    const bool bracketed = accept(tk::OpenBracket);
    TShortCut shiftState = 0;
    for (;;) {
        if (accept(tk::Shift))
            shiftState |= vk::scShift;
        else if (accept(tk::Ctrl))
            shiftState |= vk::scCtrl;
        else if (accept(tk::Alt))
            shiftState |= vk::scAlt;
        else
            break;
        if (!bracketed && !at(tk::Comma))
            break;
        if (!bracketed || !at(tk::CloseBracket))
            accept(tk::Comma);
    }
    if (bracketed)
        expect(tk::CloseBracket, msg::CloseBracketExpected);
    return shiftState;
}

// A virtual-key code 0..255 or a one-character string, taken in upper case.
uint8_t TScriptCompiler::keyCode()
{
    if (at(tk::String)) {
        const std::string text = stringValue();
        if (text.size() != 1)
            fail(msg::SingleSpecifier);
        const auto c = static_cast<uint8_t>(text[0]);
        return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 32) : c;
    }
    if (!at(tk::Number) && !at(tk::OpenParen))
        fail(msg::KeyRequired);
    return static_cast<uint8_t>(byteValue());
}

void TScriptCompiler::syncKeyMap()
{
    if (!m_keysReplaced)
        return;
    const TKeyMapRecords records = m_keyMap.ToRecords();
    m_settings.keyMap.names.clear();
    m_settings.keyMap.bindings.clear();
    for (const auto& command : records.commands)
        m_settings.keyMap.names.push_back({command.number, command.name});
    for (const auto& binding : records.bindings)
        m_settings.keyMap.bindings.push_back({binding.first, binding.second, binding.command});
}

// 'from' = 'to', or actionkeys = 'characters'
bool TScriptCompiler::autoReplaceEntry()
{
    m_stop.section = "%%AutoReplace";
    if (accept(tk::ActionKeys)) {
        expect(tk::Equals, msg::EqualsExpected);
        m_settings.triggers = shortText(stringValue(true));
        return true;
    }
    if (!at(tk::String))
        return false;
    CodeTemplate entry;
    entry.name = shortText(stringValue());
    expect(tk::Equals, msg::EqualsExpected);
    entry.text = stringValue();
    m_settings.autoReplace.entries.push_back(std::move(entry));
    return true;
}

// 'name' [ ( 'description' ) ] = 'expansion', or hotkey = ( [ modifiers ] key )
bool TScriptCompiler::templateEntry()
{
    m_stop.section = "%%Templates";
    if (accept(tk::HotKey)) {
        expect(tk::Equals, msg::EqualsExpected);
        expect(tk::OpenParen, msg::OpenParenExpected);
        const TShortCut key = binding();
        expect(tk::CloseParen, msg::CloseParenExpected);
        m_settings.templates.hotKey = shortCutToText(key);
        return true;
    }
    if (!at(tk::String))
        return false;
    CodeTemplate entry;
    entry.name = shortText(stringValue());
    if (accept(tk::OpenParen)) {
        entry.description = shortText(stringValue());
        expect(tk::CloseParen, msg::CloseParenExpected);
    }
    expect(tk::Equals, msg::EqualsExpected);
    entry.text = stringValue();
    m_settings.templates.entries.push_back(std::move(entry));
    return true;
}

// forstate [ states ] endswith 'terminators' ( value is 'word', 'word' ... value is ... )
bool TScriptCompiler::keywordTableEntry()
{
    if (!accept(tk::ForState))
        return false;
    m_stop.section = "%%kwTables";
    KeywordTableRecord table;
    table.states = stateSet();
    if (table.states.empty())
        table.states = {0};
    expect(tk::EndsWith, msg::SyntaxError);
    table.terminators = stringValue(true);
    if (!table.terminators.empty() && !parseCharSpecifiers(table.terminators))
        fail(msg::SingleSpecifier);
    table.caseSensitive = m_tables.caseSensitive ? 1 : 0;
    expect(tk::OpenParen, msg::OpenParenExpected);
    // The words of one table share its states, so a word written twice could never load.
    std::set<std::string> words;
    while (at(tk::Number) || at(tk::OpenParen)) {
        const auto value = static_cast<int32_t>(expression());
        expect(tk::Is, msg::SyntaxError);
        do {
            std::string word = stringValue(true);
            std::string key = word;
            if (!table.caseSensitive)
                for (char& c : key)
                    if (c >= 'A' && c <= 'Z')
                        c = static_cast<char>(c + ('a' - 'A'));
            if (!key.empty() && !words.insert(key).second)
                fail(Format(msg::DuplicateKeyword, key.c_str()));
            table.words.emplace_back(std::move(word), value);
        } while (accept(tk::Comma) && at(tk::String));
    }
    expect(tk::CloseParen, msg::CloseParenExpected);
    storeKeywordTable(std::move(table));
    return true;
}

// A table for the same states replaces the earlier one; overlapping but different states are
// ambiguous.
void TScriptCompiler::storeKeywordTable(KeywordTableRecord table)
{
    for (KeywordTableRecord& existing : m_settings.keywordTables) {
        if (!existing.states.intersects(table.states))
            continue;
        if (!(existing.states == table.states))
            throw EKeywords(msg::AmbiguousKeyTable);
        existing = std::move(table);
        return;
    }
    if (m_settings.keywordTables.size() >= TSM_Settings::kMaxKeywordTables)
        throw EKeywords(msg::TooManyKeyTables);
    m_settings.keywordTables.push_back(std::move(table));
}
