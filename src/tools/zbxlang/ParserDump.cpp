#include "ParserDump.h"

#include "editor/keys/KeyNames.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

std::string hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + static_cast<char>(c);
        else if (c < 32 || c > 126) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", c);
            out += code;
        } else
            out += static_cast<char>(c);
    }
    return out + "\"";
}

std::string charText(int c)
{
    if (c > 32 && c < 127 && c != '-' && c != ']' && c != '\\' && c != '^')
        return std::string(1, static_cast<char>(c));
    char code[8];
    std::snprintf(code, sizeof code, "\\x%02X", c);
    return code;
}

// Members as ranges: [A-Za-z_], negated groups with a leading ^.
std::string setText(const ParserStateSet& set, bool asChars)
{
    std::string out;
    for (int c = 0; c < 256; ++c) {
        if (!set.contains(c))
            continue;
        int end = c;
        while (end + 1 < 256 && set.contains(end + 1))
            ++end;
        if (!out.empty() && !asChars)
            out += ",";
        out += asChars ? charText(c) : std::to_string(c);
        if (end > c)
            out += "-" + (asChars ? charText(end) : std::to_string(end));
        c = end;
    }
    return "[" + out + "]";
}

std::string groupText(const TParserTables& t, uint16_t id)
{
    const TSM_CharGroup& group = t.groups.group(id);
    std::string text = setText(group.chars(), true);
    return group.negated() ? "[^" + text.substr(1) : text;
}

std::string matchText(const TParserTables& t, const MatchPart& part)
{
    std::string text = part.repeat ? "? " : "";
    if (part.recognizer)
        return text + (part.custom ? "match(" : "recognizer(") + std::to_string(part.number) + ")";
    return text + groupText(t, part.group);
}

std::string endText(const TParserTables& t, const EndPart& end)
{
    if (!end.exists())
        return "none";
    std::string text;
    if (end.recognizer)
        text = (end.custom ? "match(" : "recognizer(") + std::to_string(end.number) + ")";
    for (int i = 0; !end.recognizer && i < end.length; ++i)
        text += groupText(t, end.groups[static_cast<size_t>(i)]);
    return text + (end.include ? " included" : " not included");
}

void dumpSettings(std::ostream& out, const TSM_Settings& s)
{
    out << "[settings]\n";
    out << "name " << quoted(s.languageName) << "\n";
    out << "example text " << quoted(s.exampleText) << "\n";
    out << "wrap override " << quoted(s.wrapOverride) << "\n";
    out << "options " << s.options << " margin width " << s.marginWidth << " right margin "
        << s.rightMargin << " word wrap column " << s.wordWrapColumn << " gutter " << s.gutterWidth
        << " indent step " << s.indentStep << " tab default " << s.tabDefault << "\n";
    out << "colours margin " << hex(static_cast<uint32_t>(s.marginColor)) << " gutter "
        << hex(static_cast<uint32_t>(s.gutterColor)) << " selected text "
        << hex(static_cast<uint32_t>(s.selTextColor)) << " selected background "
        << hex(static_cast<uint32_t>(s.selTextBack)) << " derived " << int(s.marginColorDerived)
        << int(s.selTextColorDerived) << int(s.selTextBackDerived) << int(s.gutterColorDerived)
        << "\n";
    out << "tab stops";
    for (int32_t column : s.tabStops)
        if (column >= 0)
            out << " " << column;
    out << "\nfont " << quoted(s.font.name) << " " << s.font.size << " charset "
        << int(s.font.charset) << "\n";
    out << "gutter font " << quoted(s.gutterFont.font.name) << " " << s.gutterFont.font.size
        << " charset " << int(s.gutterFont.font.charset) << " colour "
        << hex(static_cast<uint32_t>(s.gutterFont.color)) << " style " << int(s.gutterFont.style)
        << "\n";
    out << "triggers " << quoted(s.triggers) << "\n";
    for (const auto* list : {&s.autoReplace, &s.templates}) {
        out << (list == &s.templates ? "templates" : "auto-replace") << " hot key "
            << quoted(list->hotKey) << (list->enabled ? " enabled" : " disabled") << "\n";
        for (const CodeTemplate& entry : list->entries)
            out << "  " << quoted(entry.name) << " (" << quoted(entry.description)
                << ") = " << quoted(entry.text) << "\n";
    }
    for (const KeywordTableRecord& table : s.keywordTables) {
        out << "keyword table states " << setText(table.states, false) << " ends with "
            << quoted(table.terminators) << " case " << table.caseSensitive << "\n";
        for (const auto& [word, value] : table.words)
            out << "  " << quoted(word) << " " << value << "\n";
    }
}

void dumpStyles(std::ostream& out, const TSM_Settings& s)
{
    out << "[styles]\n";
    for (size_t i = 0; i < s.styles.size(); ++i) {
        const StyleRecord& r = s.styles[i];
        if (!r.defined)
            continue;
        out << i << ": font style " << int(r.fontStyle) << " foreground "
            << hex(static_cast<uint32_t>(r.foreground)) << (r.foregroundDefault ? "*" : "")
            << " background " << hex(static_cast<uint32_t>(r.background))
            << (r.backgroundDefault ? "*" : "") << (r.hotSpot ? " hotspot" : "") << "\n";
    }
    out << "[editable styles]\n";
    for (const EditableStyle& style : s.editableStyles)
        out << quoted(style.name) << " " << int(style.style) << "\n";
    out << "[token map]\n";
    for (size_t token = 0; token < 256; ++token)
        if (s.tokenStyles[token])
            out << token << " -> " << int(s.tokenStyles[token]) << "\n";
}

void dumpKeywords(std::ostream& out, const TParserTables& t)
{
    out << "[keywords] case " << (t.caseSensitive ? "sensitive" : "insensitive") << ", "
        << t.keywords.size() << " in all\n";
    std::map<int, std::vector<const KeywordEntry*>> byToken;
    for (const KeywordEntry& entry : t.keywords)
        byToken[entry.token].push_back(&entry);
    for (const auto& [token, entries] : byToken) {
        out << "token " << token << " (" << entries.size() << " words):";
        for (const KeywordEntry* entry : entries) {
            out << " " << quoted(entry->text);
            if (!(entry->states == ParserStateSet{0}))
                out << setText(entry->states, false);
        }
        out << "\n  followed by";
        std::map<std::string, int> terminators;
        for (const KeywordEntry* entry : entries)
            ++terminators[groupText(t, entry->terminator)];
        for (const auto& [group, count] : terminators)
            out << " " << group << " (" << count << ")";
        out << "\n";
    }
}

void dumpStartTable(std::ostream& out, const TParserTables& t, const StartTable& table)
{
    for (int c = 0; c < 256; ++c) {
        if (!table[static_cast<size_t>(c)])
            continue;
        int end = c;
        while (end + 1 < 256 &&
               table[static_cast<size_t>(end + 1)] == table[static_cast<size_t>(c)])
            ++end;
        const TokenRule& rule = *table[static_cast<size_t>(c)];
        out << charText(c) << (end > c ? "-" + charText(end) : "") << ": token " << int(rule.token)
            << " start " << matchText(t, rule.start) << " states "
            << setText(rule.validStates, false);
        if (!rule.start.recognizer)
            out << " body " << matchText(t, rule.body) << " end " << endText(t, rule.end);
        out << "\n";
        c = end;
    }
}

void dumpRules(std::ostream& out, const TParserTables& t)
{
    out << "[handlers]\n";
    for (size_t token = 0; token < 256; ++token)
        if (const auto& rule = t.handlers[token])
            out << token << ": body " << matchText(t, rule->start) << " end "
                << endText(t, rule->end) << "\n";
    out << "[start rules]\n";
    dumpStartTable(out, t, t.defaultStart);
    for (int state = 0; state < 256; ++state)
        if (const StartTable* table = t.findStateTable(state)) {
            out << "[start rules in state " << state << "]\n";
            dumpStartTable(out, t, *table);
        }
    out << "[effects]\n";
    for (size_t token = 0; token < 256; ++token)
        if (const auto& e = t.effects[token])
            out << token << ": valid " << setText(e->validStates, false) << " add "
                << setText(e->addStates, false) << " remove " << setText(e->removeStates, false)
                << (e->container ? " container" : "") << (e->unchanged ? " unchanged" : "")
                << " stack " << int(e->stackOps) << "\n";
    out << "[states]\nanchor " << setText(t.anchorSet, false) << " bound "
        << setText(t.boundStates, false) << " start " << setText(t.startState, false)
        << " custom recognizers " << (t.customRecognizers ? 1 : 0) << "\n";
    for (size_t token = 0; token < 256; ++token)
        if (!(t.contextStates[token] == t.startState) && !t.contextStates[token].empty())
            out << "context " << token << " " << setText(t.contextStates[token], false) << "\n";
}

void dumpKeyMap(std::ostream& out, const TSM_Settings& s)
{
    out << "[key map] " << s.keyMap.names.size() << " commands, " << s.keyMap.bindings.size()
        << " bindings\n";
    for (const KeyCommandName& name : s.keyMap.names)
        out << name.command << " " << quoted(name.name) << "\n";
    for (const KeyBindingRecord& binding : s.keyMap.bindings) {
        out << shortCutToText(binding.first);
        if (binding.second)
            out << ", " << shortCutToText(binding.second);
        out << " -> " << binding.command << "\n";
    }
}

} // namespace

void dumpParser(std::ostream& out, const TParserTables& tables, const TSM_Settings& settings)
{
    dumpSettings(out, settings);
    dumpStyles(out, settings);
    dumpKeywords(out, tables);
    dumpRules(out, tables);
    dumpKeyMap(out, settings);
}
