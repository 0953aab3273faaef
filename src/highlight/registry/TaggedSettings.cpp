// The tagged body of a settings string: one table lists every field with its writer and reader,
// in the order the fields are written.
#include "highlight/registry/SettingsErrors.h"
#include "highlight/registry/SettingsStringForms.h"
#include "highlight/registry/StyleEntries.h"
#include "highlight/registry/TabColumnsText.h"

#include <array>

namespace {

using Settings = TSM_Settings;

struct TField
{
    std::string_view tag;
    std::string (*write)(const Settings&);
    void (*read)(std::string_view value, Settings&);
};

std::string number(int32_t value) { return std::to_string(value); }
std::string flag(uint8_t value) { return value ? "1" : "0"; }
uint8_t flagOf(std::string_view value) { return strToInt(value) != 0; }
uint8_t byteOf(std::string_view value) { return static_cast<uint8_t>(strToInt(value)); }

// Gutter font style letters, written in this order.
constexpr std::array<std::pair<char, uint8_t>, 4> kGutterStyleLetters{
    {{'I', fsItalic}, {'B', fsBold}, {'U', fsUnderline}, {'S', fsStrikeOut}}};

std::string gutterStyleText(uint8_t style)
{
    std::string text;
    for (const auto& [letter, bit] : kGutterStyleLetters)
        if (style & bit)
            text += letter;
    return text;
}

uint8_t gutterStyleOf(std::string_view text)
{
    uint8_t style = 0;
    for (const char c : text)
        for (const auto& [letter, bit] : kGutterStyleLetters)
            if (c == letter || c == letter - 'A' + 'a')
                style |= bit;
    return style;
}

void readStyles(std::string_view value, Settings& s)
{
    TSettingsCursor in(value);
    readStyleEntries(in, s.styles);
}

// Lambdas without captures convert to the plain function pointers of TField.
const TField kFields[] = {
    {"OPT", [](const Settings& s) { return number(s.options); },
     [](std::string_view v, Settings& s) { s.options = strToInt(v); }},
    {"GWD", [](const Settings& s) { return number(s.gutterWidth); },
     [](std::string_view v, Settings& s) { s.gutterWidth = strToInt(v); }},
    {"GCL", [](const Settings& s) { return number(s.gutterColor); },
     [](std::string_view v, Settings& s) { s.gutterColor = strToInt(v); }},
    {"WRC", [](const Settings& s) { return number(s.wordWrapColumn); },
     [](std::string_view v, Settings& s) { s.wordWrapColumn = strToInt(v); }},
    {"IDS", [](const Settings& s) { return number(s.indentStep); },
     [](std::string_view v, Settings& s) { s.indentStep = strToInt(v); }},
    {"WRO", [](const Settings& s) { return s.wrapOverride; },
     [](std::string_view v, Settings& s) { s.wrapOverride = v; }},
    {"FON", [](const Settings& s) { return s.font.name; },
     [](std::string_view v, Settings& s) { s.font.name = v; }},
    {"FOS", [](const Settings& s) { return number(s.font.size); },
     [](std::string_view v, Settings& s) { s.font.size = strToInt(v); }},
    {"STC", [](const Settings& s) { return number(s.selTextColor); },
     [](std::string_view v, Settings& s) { s.selTextColor = strToInt(v); }},
    {"STB", [](const Settings& s) { return number(s.selTextBack); },
     [](std::string_view v, Settings& s) { s.selTextBack = strToInt(v); }},
    {"TBC", [](const Settings& s) { return tabColumnsText(s.tabStops); },
     [](std::string_view v, Settings& s) { s.tabStops = readTabColumnsText(v); }},
    {"TBD", [](const Settings& s) { return number(s.tabDefault); },
     [](std::string_view v, Settings& s) { s.tabDefault = checkedTabDefault(strToInt(v)); }},
    {"EFF", [](const Settings& s) { return styleEntriesText(s.styles); }, readStyles},
    {"GDF", [](const Settings& s) { return flag(s.gutterColorDerived); },
     [](std::string_view v, Settings& s) { s.gutterColorDerived = flagOf(v); }},
    {"MDF", [](const Settings& s) { return flag(s.marginColorDerived); },
     [](std::string_view v, Settings& s) { s.marginColorDerived = flagOf(v); }},
    {"SDF", [](const Settings& s) { return flag(s.selTextColorDerived); },
     [](std::string_view v, Settings& s) { s.selTextColorDerived = flagOf(v); }},
    {"BDF", [](const Settings& s) { return flag(s.selTextBackDerived); },
     [](std::string_view v, Settings& s) { s.selTextBackDerived = flagOf(v); }},
    {"FOC", [](const Settings& s) { return number(s.font.charset); },
     [](std::string_view v, Settings& s) { s.font.charset = byteOf(v); }},
    {"RMG", [](const Settings& s) { return number(s.rightMargin); },
     [](std::string_view v, Settings& s) { s.rightMargin = strToInt(v); }},
    {"LNN", [](const Settings& s) { return s.gutterFont.font.name; },
     [](std::string_view v, Settings& s) { s.gutterFont.font.name = v; }},
    {"LNS", [](const Settings& s) { return number(s.gutterFont.font.size); },
     [](std::string_view v, Settings& s) { s.gutterFont.font.size = strToInt(v); }},
    {"LNC", [](const Settings& s) { return number(s.gutterFont.color); },
     [](std::string_view v, Settings& s) { s.gutterFont.color = strToInt(v); }},
    {"LNT", [](const Settings& s) { return number(s.gutterFont.font.charset); },
     [](std::string_view v, Settings& s) { s.gutterFont.font.charset = byteOf(v); }},
    {"LNE", [](const Settings& s) { return gutterStyleText(s.gutterFont.style); },
     [](std::string_view v, Settings& s) { s.gutterFont.style = gutterStyleOf(v); }},
};

const TField* fieldOf(std::string_view tag)
{
    for (const TField& field : kFields)
        if (field.tag == tag)
            return &field;
    return nullptr;
}

} // namespace

int32_t checkedTabDefault(int32_t width)
{
    if (width <= 0)
        throw ESourceMemo("=Illegal default tab stop value, must be > 0");
    return width;
}

std::string taggedSettingsFields(const TSM_Settings& settings)
{
    std::string text;
    for (const TField& field : kFields) {
        const std::string value = field.write(settings);
        text.append(field.tag).append("#").append(std::to_string(value.size())).append("#");
        text += value;
    }
    return text;
}

void readTaggedSettings(TSettingsCursor& in, TSM_Settings& settings)
{
    for (;;) {
        const std::string_view tag = in.alphanumerics(4);
        size_t length = 0;
        if (!in.skipIf('#') || !in.count(length) || !in.skipIf('#'))
            return;
        const std::string_view value = in.take(length);
        const TField* field = fieldOf(tag);
        if (field == nullptr)
            return;
        field->read(value, settings);
    }
}
