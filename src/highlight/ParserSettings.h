// TSM_Settings: the editor settings that travel with a highlighting language (options, margins,
// colours, styles, fonts, tab stops, keyword tables, code templates, auto-replace list, key
// map), as plain data. The key map is kept as the records it is stored as; the key map classes
// convert from and to them. Invariants (check()): at most 50 editable styles and 21 keyword
// tables; tab stops ascend and every unused entry (-1) follows the used ones; texts stored with
// a one-byte length are at most 255 bytes.
#pragma once

#include "highlight/ParserStateSet.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Colours: 0x00BBGGRR, or 0x80000000 plus a system colour index.
using TColorValue = int32_t;
constexpr TColorValue kSystemColor = static_cast<TColorValue>(0x80000000u);
constexpr TColorValue clWindow = kSystemColor | 5;
constexpr TColorValue clBtnFace = kSystemColor | 15;
constexpr TColorValue clHighlight = kSystemColor | 13;
constexpr TColorValue clHighlightText = kSystemColor | 14;
constexpr TColorValue clWindowText = kSystemColor | 8;
constexpr TColorValue clBlack = 0;
constexpr TColorValue clWhite = 0xFFFFFF;

// Font style bits.
enum FontStyleBits : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct StyleRecord
{
    uint8_t fontStyle = 0; // FontStyleBits
    TColorValue foreground = clBlack;
    TColorValue background = clWhite;
    uint8_t foregroundDefault = 0; // use the editor's default foreground
    uint8_t backgroundDefault = 0;
    uint8_t hotSpot = 0;
    int32_t defined = 0; // non-zero once the style has been given
    bool operator==(const StyleRecord&) const = default;
};

struct EditableStyle
{
    std::string name; // at most 25 characters
    uint8_t style = 0;
    bool operator==(const EditableStyle&) const = default;
};

struct FontSpec
{
    std::string name;
    int32_t size = 10;
    uint8_t charset = 1;
    bool operator==(const FontSpec&) const = default;
};

struct GutterFontSpec
{
    FontSpec font{"MS Sans Serif", 8, 1};
    TColorValue color = clWindowText;
    uint8_t style = 0; // FontStyleBits
    bool operator==(const GutterFontSpec&) const = default;
};

struct KeywordTableRecord
{
    ParserStateSet states;
    std::string terminators;
    int32_t caseSensitive = 0;
    std::vector<std::pair<std::string, int32_t>> words;
    bool operator==(const KeywordTableRecord&) const = default;
};

struct CodeTemplate
{
    std::string name;        // at most 255 bytes
    std::string description; // at most 255 bytes
    std::string text;
    bool operator==(const CodeTemplate&) const = default;
};

// A code-template list; the auto-replace list has the same form (name = word, text =
// replacement).
struct TemplateList
{
    std::vector<CodeTemplate> entries;
    std::string hotKey = "Ctrl+J"; // key text, converted by the key map's text reader
    bool enabled = true;
    bool operator==(const TemplateList&) const = default;
};

struct KeyCommandName
{
    int32_t command = 0;
    std::string name; // at most 255 bytes
    bool operator==(const KeyCommandName&) const = default;
};

struct KeyBindingRecord
{
    uint16_t first = 0;  // shortcut: virtual key | 0x2000 shift | 0x4000 ctrl | 0x8000 alt
    uint16_t second = 0; // 0 for a single key
    int32_t command = 0;
    bool operator==(const KeyBindingRecord&) const = default;
};

struct KeyMapRecords
{
    std::vector<KeyCommandName> names;
    std::vector<KeyBindingRecord> bindings; // in the key store's depth-first order
    bool operator==(const KeyMapRecords&) const = default;
};

// The editor's default key map: the 48 command descriptions and their default keys.
KeyMapRecords defaultKeyMapRecords();

class TSM_Settings
{
public:
    static constexpr size_t kMaxEditableStyles = 50;
    static constexpr size_t kMaxKeywordTables = 21;
    static constexpr size_t kTabStops = 32;
    static constexpr int32_t kDefaultOptions = 0x3FFDBF0;
    static constexpr const char* kDefaultTriggers = ";,:.=()[]\\{Return}\\{Tab}\\{Space}";

    TSM_Settings() { reset(); }
    void reset();
    // Throws ESourceMemo naming the first broken invariant.
    void check() const;
    bool operator==(const TSM_Settings&) const = default;

    std::string exampleText;
    std::string languageName;
    std::string wrapOverride;
    int32_t options = 0;
    int32_t marginWidth = 0;
    int32_t rightMargin = 0;
    int32_t wordWrapColumn = 0;
    int32_t gutterWidth = 0;
    int32_t indentStep = 0;
    TColorValue marginColor = 0;
    TColorValue gutterColor = 0;
    TColorValue selTextColor = 0;
    TColorValue selTextBack = 0;
    int32_t tabDefault = 0;
    std::array<StyleRecord, 256> styles;
    std::array<uint8_t, 256> tokenStyles{}; // token number -> style number
    std::vector<EditableStyle> editableStyles;
    std::array<int32_t, kTabStops> tabStops{}; // 0-based columns, unused entries -1
    FontSpec font;
    // Use a colour derived from the editor's colours instead of the given one.
    uint8_t marginColorDerived = 0;
    uint8_t selTextColorDerived = 0;
    uint8_t selTextBackDerived = 0;
    uint8_t gutterColorDerived = 0;
    std::vector<KeywordTableRecord> keywordTables;
    TemplateList autoReplace;
    std::string triggers;
    TemplateList templates;
    KeyMapRecords keyMap;
    GutterFontSpec gutterFont;
};
