// Stored form of the settings block of a compiled parser.
#include "highlight/ParserFormat.h"

#include "base/Exception.h"

namespace {

void writeStyles(ByteWriter& out, const TSM_Settings& s)
{
    int32_t n = 0;
    for (const StyleRecord& style : s.styles)
        n += style.defined != 0;
    out.i32(n);
    for (int i = 0; i < 256; ++i) {
        const StyleRecord& style = s.styles[i];
        if (!style.defined)
            continue;
        out.u8(static_cast<uint8_t>(i));
        out.u8(style.fontStyle);
        out.i32(style.foreground);
        out.i32(style.background);
        out.u8(style.foregroundDefault);
        out.u8(style.backgroundDefault);
        out.u8(style.hotSpot);
        out.i32(style.defined);
    }
}

void readStyles(ByteReader& in, TSM_Settings& s)
{
    const size_t n = in.count(16);
    for (size_t k = 0; k < n; ++k) {
        StyleRecord& style = s.styles[in.u8()];
        style.fontStyle = in.u8();
        style.foreground = in.i32();
        style.background = in.i32();
        style.foregroundDefault = in.u8();
        style.backgroundDefault = in.u8();
        style.hotSpot = in.u8();
        style.defined = in.i32();
    }
}

void writeTokenStyles(ByteWriter& out, const TSM_Settings& s)
{
    int32_t n = 0;
    for (uint8_t style : s.tokenStyles)
        n += style != 0;
    out.i32(n);
    for (int token = 0; token < 256; ++token) {
        if (s.tokenStyles[token]) {
            out.u8(static_cast<uint8_t>(token));
            out.u8(s.tokenStyles[token]);
        }
    }
}

void readTokenStyles(ByteReader& in, TSM_Settings& s)
{
    const size_t n = in.count(2);
    for (size_t k = 0; k < n; ++k) {
        const uint8_t token = in.u8();
        s.tokenStyles[token] = in.u8();
    }
}

void writeEditableStyles(ByteWriter& out, const TSM_Settings& s)
{
    out.i32(static_cast<int32_t>(s.editableStyles.size()));
    for (const EditableStyle& style : s.editableStyles) {
        out.str32(style.name);
        out.u8(style.style);
    }
}

void readEditableStyles(ByteReader& in, TSM_Settings& s)
{
    const size_t n = in.count(5);
    if (n > TSM_Settings::kMaxEditableStyles)
        throw EReadError(Format("Too many editable styles (%zu)", n));
    for (size_t k = 0; k < n; ++k) {
        EditableStyle style;
        style.name = in.str32();
        style.style = in.u8();
        s.editableStyles.push_back(std::move(style));
    }
}

void readTabStops(ByteReader& in, TSM_Settings& s)
{
    for (int32_t& column : s.tabStops)
        column = in.i32();
    bool unused = false;
    int32_t previous = -1;
    for (int32_t column : s.tabStops) {
        if (column == -1) {
            unused = true;
            continue;
        }
        if (unused || column <= previous)
            throw EReadError("Invalid tab stop table");
        previous = column;
    }
}

void writeFont(ByteWriter& out, const FontSpec& font)
{
    out.str32(font.name);
    out.i32(font.size);
    out.u8(font.charset);
}

FontSpec readFont(ByteReader& in)
{
    FontSpec font;
    font.name = in.str32();
    font.size = in.i32();
    font.charset = in.u8();
    return font;
}

void writeKeywordTables(ByteWriter& out, const TSM_Settings& s)
{
    out.i32(static_cast<int32_t>(s.keywordTables.size()));
    for (const KeywordTableRecord& table : s.keywordTables) {
        out.set256(table.states);
        out.str32(table.terminators);
        out.i32(table.caseSensitive);
        out.i32(static_cast<int32_t>(table.words.size()));
        for (const auto& [word, value] : table.words) {
            out.str32(word);
            out.i32(value);
        }
    }
}

void readKeywordTables(ByteReader& in, TSM_Settings& s)
{
    const size_t n = in.count(ParserStateSet::kBytes + 12);
    if (n > TSM_Settings::kMaxKeywordTables)
        throw EReadError(Format("Too many keyword tables (%zu)", n));
    for (size_t k = 0; k < n; ++k) {
        KeywordTableRecord table;
        table.states = in.set256();
        table.terminators = in.str32();
        table.caseSensitive = in.i32();
        const size_t words = in.count(8);
        for (size_t w = 0; w < words; ++w) {
            std::string word = in.str32();
            const int32_t value = in.i32();
            table.words.emplace_back(std::move(word), value);
        }
        s.keywordTables.push_back(std::move(table));
    }
}

void writeTemplateList(ByteWriter& out, const TemplateList& list)
{
    out.i32(static_cast<int32_t>(list.entries.size()));
    for (const CodeTemplate& entry : list.entries) {
        out.str8(entry.name);
        out.str8(entry.description);
        out.str32(entry.text);
    }
    out.str32(list.hotKey);
    out.i32((list.enabled ? 1 : 0) & 0x7F);
}

TemplateList readTemplateList(ByteReader& in)
{
    TemplateList list;
    const size_t n = in.count(6);
    for (size_t k = 0; k < n; ++k) {
        CodeTemplate entry;
        entry.name = in.str8();
        entry.description = in.str8();
        entry.text = in.str32();
        list.entries.push_back(std::move(entry));
    }
    list.hotKey = in.str32();
    list.enabled = in.i32() != 0;
    return list;
}

void writeKeyMap(ByteWriter& out, const KeyMapRecords& map)
{
    out.i32(static_cast<int32_t>(map.names.size()));
    for (const KeyCommandName& name : map.names) {
        out.i32(name.command);
        out.str8(name.name);
    }
    out.i32(static_cast<int32_t>(map.bindings.size()));
    for (const KeyBindingRecord& binding : map.bindings) {
        out.u16(binding.first);
        out.u16(binding.second);
        out.i32(binding.command);
    }
}

KeyMapRecords readKeyMap(ByteReader& in)
{
    KeyMapRecords map;
    const size_t names = in.count(5);
    for (size_t k = 0; k < names; ++k) {
        KeyCommandName name;
        name.command = in.i32();
        name.name = in.str8();
        map.names.push_back(std::move(name));
    }
    const size_t bindings = in.count(8);
    for (size_t k = 0; k < bindings; ++k) {
        KeyBindingRecord binding;
        binding.first = in.u16();
        binding.second = in.u16();
        binding.command = in.i32();
        map.bindings.push_back(binding);
    }
    return map;
}

} // namespace

void writeSettingsBlock(ByteWriter& out, const TSM_Settings& s, uint16_t version)
{
    out.str32(s.exampleText);
    out.str32(s.languageName);
    out.str32(s.wrapOverride);
    for (int32_t v : {s.options, s.marginWidth, s.rightMargin, s.wordWrapColumn, s.gutterWidth, s.indentStep,
                      s.marginColor, s.gutterColor, s.selTextColor, s.selTextBack, s.tabDefault})
        out.i32(v);
    writeStyles(out, s);
    writeTokenStyles(out, s);
    writeEditableStyles(out, s);
    for (int32_t column : s.tabStops)
        out.i32(column);
    writeFont(out, s.font);
    for (uint8_t flag : {s.marginColorDerived, s.selTextColorDerived, s.selTextBackDerived, s.gutterColorDerived})
        out.u8(flag);
    writeKeywordTables(out, s);
    writeTemplateList(out, s.autoReplace);
    out.str8(s.triggers);
    writeTemplateList(out, s.templates);
    writeKeyMap(out, s.keyMap);
    if (version > 50) {
        writeFont(out, s.gutterFont.font);
        out.i32(s.gutterFont.color);
        out.u8(s.gutterFont.style);
    }
}

void readSettingsBlock(ByteReader& in, TSM_Settings& s, uint16_t version)
{
    s.exampleText = in.str32();
    s.languageName = in.str32();
    s.wrapOverride = in.str32();
    for (int32_t* v : {&s.options, &s.marginWidth, &s.rightMargin, &s.wordWrapColumn, &s.gutterWidth, &s.indentStep,
                       &s.marginColor, &s.gutterColor, &s.selTextColor, &s.selTextBack, &s.tabDefault})
        *v = in.i32();
    readStyles(in, s);
    readTokenStyles(in, s);
    readEditableStyles(in, s);
    readTabStops(in, s);
    s.font = readFont(in);
    for (uint8_t* flag : {&s.marginColorDerived, &s.selTextColorDerived, &s.selTextBackDerived, &s.gutterColorDerived})
        *flag = in.u8();
    readKeywordTables(in, s);
    s.autoReplace = readTemplateList(in);
    s.triggers = in.str8();
    s.templates = readTemplateList(in);
    s.keyMap = readKeyMap(in);
    if (version > 50) {
        s.gutterFont.font = readFont(in);
        s.gutterFont.color = in.i32();
        s.gutterFont.style = in.u8();
    }
}
