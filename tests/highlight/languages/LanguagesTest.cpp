// The built-in languages as the build compiled and embedded them: their settings, styles, key
// map and keyword lists, and how they colour text.
#include "highlight/languages/Languages.h"
#include "base/Stream.h"
#include "editor/keys/DefaultKeyMap.h"
#include "highlight/runtime/SourceMemoParser.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

std::unique_ptr<TSourceMemoParser> load(std::span<const uint8_t> stream)
{
    auto parser = std::make_unique<TSourceMemoParser>();
    TReadOnlyMemoryStream in(stream.data(), static_cast<int64_t>(stream.size()));
    parser->LoadParser(in);
    return parser;
}

TSourceMemoParser& zenBasic()
{
    static const std::unique_ptr<TSourceMemoParser> parser = load(zenBasicParserStream());
    return *parser;
}

TSourceMemoParser& assembler()
{
    static const std::unique_ptr<TSourceMemoParser> parser = load(assemblerParserStream());
    return *parser;
}

// The text as "run:token" items, one per token; runs of token 0 made of blanks are left out.
std::vector<std::string> tokens(TSourceMemoParser& parser, std::string_view text)
{
    TStringCharSource source(text);
    TParseCursor in(source);
    parser.ResetState(0);
    std::vector<std::string> out;
    while (!in.atEnd()) {
        const int64_t start = in.position();
        int64_t length = 0;
        const int token = parser.NextToken(nullptr, in, length);
        const std::string run(text.substr(static_cast<size_t>(start), static_cast<size_t>(length)));
        if (token == 0 && run.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        out.push_back(run + ":" + std::to_string(token));
    }
    EXPECT_EQ(parser.check(), "");
    return out;
}

using Runs = std::vector<std::string>;

std::map<int, size_t> keywordCounts(const TSourceMemoParser& parser)
{
    std::map<int, size_t> counts;
    for (const KeywordEntry& entry : parser.Tables().keywords)
        ++counts[entry.token];
    return counts;
}

// The first and last keyword declared for token.
std::pair<std::string, std::string> ends(const TSourceMemoParser& parser, int token)
{
    std::vector<std::string> words;
    for (const KeywordEntry& entry : parser.Tables().keywords)
        if (entry.token == token)
            words.push_back(entry.text);
    return words.empty() ? std::pair<std::string, std::string>{}
                         : std::pair{words.front(), words.back()};
}

TEST(ZenBasicLanguage, Settings)
{
    const TSM_Settings& s = zenBasic().Settings();
    EXPECT_EQ(s.languageName, "ZENBASIC");
    EXPECT_FALSE(zenBasic().Tables().caseSensitive);
    EXPECT_EQ(s.options, 67099632);
    EXPECT_EQ(s.marginWidth, 2);
    EXPECT_EQ(s.rightMargin, 80);
    EXPECT_EQ(s.wordWrapColumn, 0);
    EXPECT_EQ(s.gutterWidth, 34);
    EXPECT_EQ(s.indentStep, 8);
    EXPECT_EQ(s.marginColor, 16777215);
    EXPECT_EQ(static_cast<uint32_t>(s.gutterColor), 0x8000000Fu);
    EXPECT_EQ(s.selTextColor, 16777215);
    EXPECT_EQ(s.selTextBack, 6824960);
    EXPECT_EQ(s.marginColorDerived + s.selTextColorDerived + s.selTextBackDerived +
                  s.gutterColorDerived,
              0);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(s.tabStops[static_cast<size_t>(i)], i < 15 ? 4 + 4 * i : -1) << i;
    EXPECT_EQ(s.tabDefault, 4);
    EXPECT_EQ(s.wrapOverride, ">|:");
    EXPECT_EQ(s.font, (FontSpec{"Courier New", 10, 0}));
    EXPECT_EQ(s.gutterFont.font, (FontSpec{"MS Sans Serif", 8, 1}));
    EXPECT_EQ(static_cast<uint32_t>(s.gutterFont.color), 0x80000008u);
    EXPECT_EQ(s.gutterFont.style, 0);
    EXPECT_TRUE(s.keywordTables.empty());
    EXPECT_TRUE(s.autoReplace.entries.empty());
    EXPECT_TRUE(s.templates.entries.empty());
    EXPECT_EQ(s.templates.hotKey, "Ctrl+J");
    EXPECT_EQ(s.triggers, ";,:.=()[]\\{Return}\\{Tab}\\{Space}");
    const TParserTables& t = zenBasic().Tables();
    EXPECT_EQ(t.anchorSet, ParserStateSet{0});
    EXPECT_TRUE(t.boundStates.empty());
    EXPECT_EQ(t.startState, ParserStateSet{0});
    EXPECT_TRUE(t.noStateTables);
    EXPECT_FALSE(t.customRecognizers);
    for (const auto& effect : t.effects)
        if (effect) {
            EXPECT_EQ(effect->validStates, ParserStateSet{0});
            EXPECT_EQ(effect->unchanged, 1);
            EXPECT_EQ(effect->container, 0);
        }
}

TEST(ZenBasicLanguage, StylesEditableStylesAndTokenMap)
{
    const TSM_Settings& s = zenBasic().Settings();
    struct Style
    {
        int number;
        bool bold;
        int32_t foreground;
    };
    const int32_t black = 0, blue = 16711680, red = 255, navy = 8388608, green = 32768,
                  maroon = 128, olive = 32896;
    const Style styles[] = {
        {0, false, black},   {3, false, black},  {4, false, blue},   {5, false, red},
        {6, false, navy},    {7, false, black},  {8, false, green},  {9, false, blue},
        {10, true, navy},    {11, true, maroon}, {12, true, black},  {13, false, red},
        {14, false, red},    {15, true, red},    {16, true, olive},  {17, true, green},
        {18, false, maroon}, {19, false, black}, {20, true, maroon}, {21, true, maroon},
        {22, true, black},   {23, false, black}, {24, true, navy},   {25, true, navy},
        {26, false, black},  {27, false, black}, {28, false, black}, {29, false, black},
        {30, true, navy},    {31, true, navy},   {32, false, green}};
    int defined = 0;
    for (const StyleRecord& record : s.styles)
        defined += record.defined ? 1 : 0;
    EXPECT_EQ(defined, 31);
    for (const Style& style : styles) {
        const StyleRecord& r = s.styles[static_cast<size_t>(style.number)];
        EXPECT_EQ(r.defined, 1) << style.number;
        EXPECT_EQ(r.fontStyle, style.bold ? fsBold : 0) << style.number;
        EXPECT_EQ(r.foreground, style.foreground) << style.number;
        EXPECT_EQ(r.background, 16777215) << style.number;
        EXPECT_EQ(r.foregroundDefault + r.backgroundDefault + r.hotSpot, 0) << style.number;
    }
    const std::vector<EditableStyle> editable = {{"Baudrade Constant", 31},
                                                 {"Binary Value", 14},
                                                 {"Comment", 6},
                                                 {"Device Name", 25},
                                                 {"Fuse Settings", 32},
                                                 {"Glcd Scroll Commands", 28},
                                                 {"Hardware Register", 8},
                                                 {"Hex Value", 13},
                                                 {"I2C Macro Names", 24},
                                                 {"LCD Controls", 21},
                                                 {"PICmicro type", 25},
                                                 {"Pprint Commands", 27},
                                                 {"Pseudo Mnemonic", 30},
                                                 {"Red LED", 15},
                                                 {"Special Mnemonic", 26},
                                                 {"Special Reserved", 19},
                                                 {"String Handling Macros", 29},
                                                 {"Declare Keywords", 11},
                                                 {"Green LED", 17},
                                                 {"IO Pin Assignments", 20},
                                                 {"Macro Params", 18},
                                                 {"Modifiers", 22},
                                                 {"Yellow LED", 16},
                                                 {"Assembler Mnemonic", 10},
                                                 {"Default", 0},
                                                 {"Identifier", 3},
                                                 {"Keyword", 12},
                                                 {"Number", 5},
                                                 {"Operator", 7},
                                                 {"Quoted String", 4}};
    EXPECT_EQ(s.editableStyles, editable);
    for (int token = 0; token < 256; ++token) {
        int expected = token >= 3 && token <= 32 ? token : 0;
        if (token == 1 || token == 2)
            expected = 6;
        if (token == 7)
            expected = 11;
        if (token == 13)
            expected = 5;
        EXPECT_EQ(s.tokenStyles[static_cast<size_t>(token)], expected) << token;
    }
}

TEST(ZenBasicLanguage, KeywordListsInDeclarationOrder)
{
    const std::map<int, size_t> expected = {
        {1, 3},    {8, 1153}, {10, 141}, {11, 165}, {12, 213}, {13, 2},  {14, 1},   {15, 34},
        {16, 27},  {17, 27},  {18, 256}, {19, 58},  {20, 17},  {21, 14}, {22, 220}, {24, 10},
        {25, 161}, {27, 19},  {28, 34},  {29, 37},  {30, 41},  {31, 48}, {32, 211}};
    EXPECT_EQ(keywordCounts(zenBasic()), expected);
    EXPECT_EQ(zenBasic().Tables().keywords.size(), 2892u);
    EXPECT_EQ(ends(zenBasic(), 1), (std::pair<std::string, std::string>{"'", "REM"}));
    EXPECT_EQ(ends(zenBasic(), 8), (std::pair<std::string, std::string>{"144ms", "FSR2"}));
    EXPECT_EQ(ends(zenBasic(), 10),
              (std::pair<std::string, std::string>{"SYSTEM_RESTORE", "XORWF"}));
    EXPECT_EQ(ends(zenBasic(), 13), (std::pair<std::string, std::string>{"$", "0x"}));
    EXPECT_EQ(ends(zenBasic(), 25), (std::pair<std::string, std::string>{"12c508", "18F8720"}));
    EXPECT_EQ(ends(zenBasic(), 32), (std::pair<std::string, std::string>{"ADCS2", "XT_OSC_1"}));
    // Only the comment, number and brace keywords may be followed by any character.
    const TParserTables& t = zenBasic().Tables();
    for (const KeywordEntry& entry : t.keywords) {
        const TSM_CharGroup& group = t.groups.group(entry.terminator);
        const bool anything = entry.text == "'" || entry.text == ";" || entry.text == "$" ||
                              entry.text == "0x" || entry.text == "%" || entry.text == "{" ||
                              entry.text == "}";
        if (anything) {
            EXPECT_TRUE(group.chars().empty() && !group.negated()) << entry.text;
        } else {
            EXPECT_TRUE(group.negated()) << entry.text;
            EXPECT_TRUE(group.matches(' ') && group.matches('\r') && !group.matches('a') &&
                        !group.matches('_'))
                << entry.text;
        }
    }
}

TEST(ZenBasicLanguage, KeyMapIsTheEditorsDefault)
{
    const KeyMapRecords& map = zenBasic().Settings().keyMap;
    const TKeyMapRecords defaults = defaultKeyMap().ToRecords();
    ASSERT_EQ(map.names.size(), 48u);
    ASSERT_EQ(map.names.size(), defaults.commands.size());
    for (size_t i = 0; i < map.names.size(); ++i) {
        EXPECT_EQ(map.names[i].command, static_cast<int32_t>(i));
        EXPECT_EQ(map.names[i].name, defaults.commands[i].name);
    }
    EXPECT_EQ(map.names[0].name, "Cursor left");
    EXPECT_EQ(map.names[47].name, "Scroll display down one line");
    ASSERT_EQ(map.bindings.size(), defaults.bindings.size());
    for (size_t i = 0; i < map.bindings.size(); ++i) {
        EXPECT_EQ(map.bindings[i].first, defaults.bindings[i].first) << i;
        EXPECT_EQ(map.bindings[i].second, defaults.bindings[i].second) << i;
        EXPECT_EQ(map.bindings[i].command, defaults.bindings[i].command) << i;
    }
    auto commandOf = [&map](TShortCut first, TShortCut second) {
        for (const KeyBindingRecord& binding : map.bindings)
            if (binding.first == first && binding.second == second)
                return binding.command;
        return -1;
    };
    EXPECT_EQ(commandOf(0x4000 | 'K', '7'), 27);
    EXPECT_EQ(commandOf(0x4000 | 'Q', '3'), 33);
    EXPECT_EQ(commandOf(0x6000 | 'Z', 0), 42);
    EXPECT_EQ(commandOf(0x4000 | 8, 0), 43);
    EXPECT_EQ(commandOf(0x4000 | 40, 0), 47);
}

TEST(ZenBasicLanguage, ColoursTheExampleTextLineByLine)
{
    const std::string& example = zenBasic().Settings().exampleText;
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = example.find('\r', start)) != std::string::npos;
         start = end + 1)
        lines.push_back(example.substr(start, end - start + 1));
    ASSERT_EQ(lines.size(), 12u);
    const std::vector<Runs> expected = {
        {"' Comment Line:1"},
        {"Device:12", "=:0", "18F452:25"},
        {"PRINT:12", "AT:12", "1:5", ",:0", "2:5", ",:0", "\"Hello World\":4", ",:0", "Bin8:22",
         "Var:12"},
        {"DECLARE:12", "RSOUT_PIN:11", "PORTA:8", ".:0", "1:5"},
        {"Wreg_Byte:30", "Var1:3"},
        {"Movlw:10", "10:5"},
        {"HBUSIN:12", "MACRO:11", "Varin:18", ",:0", "Bitin:18", ",:0", "Byteout:18"},
        {"SHIN:12", "CLK:20", ",:0", "DTA:20", ",:0", "MSBPRE:10", ",:0", "[:0", "Var1:3", "]:0"},
        {"VAR1:3", "=:0", "%11010010:14"},
        {"VAR2:3", "=:0", "$1020:13"},
        {"PPRINT:27", "\"Hello World\":4"},
        {"LED:15", "=:0", "1:5"},
    };
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(tokens(zenBasic(), lines[i]), expected[i]) << lines[i];
}

TEST(ZenBasicLanguage, RecognitionEdgeCases)
{
    EXPECT_EQ(tokens(zenBasic(), "REM this\r"), (Runs{"REM this:1"}));
    EXPECT_EQ(tokens(zenBasic(), "REMARK\r"), (Runs{"REMARK:3"}));
    EXPECT_EQ(tokens(zenBasic(), "; note\r'\r"), (Runs{"; note:1", "':1"}));
    EXPECT_EQ(tokens(zenBasic(), "$1F,\r"), (Runs{"$1F:13", ",:0"}));
    EXPECT_EQ(tokens(zenBasic(), "$,\r"), (Runs{"$:0", ",:0"}));
    EXPECT_EQ(tokens(zenBasic(), "0x1f+\r"), (Runs{"0x1f:13", "+:0"}));
    EXPECT_EQ(tokens(zenBasic(), "%1012\r"), (Runs{"%101:14", "2:5"}));
    EXPECT_EQ(tokens(zenBasic(), "\"Hello\rx\r"), (Runs{"\"Hello:4", "x:3"}));
    EXPECT_EQ(tokens(zenBasic(), "print PRINT Print printer\r"),
              (Runs{"print:12", "PRINT:12", "Print:12", "printer:3"}));
    EXPECT_EQ(tokens(zenBasic(), "ON DEBUG chr$(1) {x}\r"),
              (Runs{"ON DEBUG:12", "chr$:12", "(:0", "1:5", "):0", "{:12", "x:3", "}:12"}));
    EXPECT_EQ(tokens(zenBasic(), "TBLRD*+ 1.5e3\r"), (Runs{"TBLRD*+:10", "1.5e3:5"}));
}

TEST(AssemblerLanguage, DiffersFromZenBasicWhereItShould)
{
    const TSM_Settings& s = assembler().Settings();
    EXPECT_EQ(s.languageName, "ZENBASIC");
    EXPECT_EQ(s.options, 43075601);
    EXPECT_EQ(s.tabDefault, 8);
    EXPECT_EQ(s.tabStops[0], -1);
    EXPECT_EQ(s.exampleText, "");
    EXPECT_TRUE(s.editableStyles.empty());
    EXPECT_EQ(s.indentStep, 8);
    int defined = 0;
    for (size_t style = 0; style < 256; ++style) {
        const bool wanted =
            style == 0 || (style >= 3 && style <= 14) || (style >= 18 && style <= 23);
        EXPECT_EQ(s.styles[style].defined != 0, wanted) << style;
        defined += wanted ? 1 : 0;
        if (wanted && style != 10) {
            EXPECT_EQ(s.styles[style], zenBasic().Settings().styles[style]) << style;
        }
    }
    EXPECT_EQ(defined, 19);
    EXPECT_EQ(s.styles[10].fontStyle, 0);
    EXPECT_EQ(s.styles[10].foreground, 0);
    for (size_t token = 0; token < 256; ++token)
        EXPECT_EQ(s.tokenStyles[token], token <= 23 ? zenBasic().Settings().tokenStyles[token] : 0)
            << token;
    EXPECT_EQ(s.keyMap, zenBasic().Settings().keyMap);
    EXPECT_EQ(keywordCounts(assembler()),
              (std::map<int, size_t>{{0, 41}, {1, 1}, {8, 267}, {10, 77}, {12, 2}, {18, 61}}));
    EXPECT_EQ(ends(assembler(), 0), (std::pair<std::string, std::string>{"CLR@F", "b@vr4"}));
    EXPECT_EQ(ends(assembler(), 18), (std::pair<std::string, std::string>{"NUMIN", "STRCAT"}));
    const TParserTables& a = assembler().Tables();
    const TParserTables& z = zenBasic().Tables();
    for (size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(a.handlers[i].has_value(), z.handlers[i].has_value()) << i;
        EXPECT_EQ(a.defaultStart[i].has_value(), z.defaultStart[i].has_value()) << i;
    }
}

TEST(AssemblerLanguage, ColoursAListing)
{
    EXPECT_EQ(tokens(assembler(), "\tMOV@WF PortB ; set\r"),
              (Runs{"MOV@WF:0", "PortB:8", "; set:1"}));
    // The listing has no hexadecimal prefixes of its own.
    EXPECT_EQ(tokens(assembler(), "movlw 0x10\r"), (Runs{"movlw:10", "0:5", "x10:3"}));
    EXPECT_EQ(tokens(assembler(), "NUMIN1 sleep label\r"),
              (Runs{"NUMIN1:18", "sleep:12", "label:3"}));
}

} // namespace
