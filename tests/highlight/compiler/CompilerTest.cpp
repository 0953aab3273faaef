// The script sections: what each entry puts into the tables and settings, and one case per
// grammar error message.
#include "CompileHelpers.h"

#include "editor/keys/KeyNames.h"

#include <gtest/gtest.h>

namespace {

std::string errorOf(const std::string& script)
{
    return detailOf(compileText(script)->error);
}

TEST(LanguageSection, SetsEverySetting)
{
    const auto c = compileText(R"(
%%language
name = 'A language whose name is longer than thirty-five'
case = __sensitive
options = __OPT_WORDWRAP or __OPT_AUTOINDENT
exampletext = 'x\ny'
wordwrapcolumn = 70  gutter = 20 + 2  rightmargin = 100 - 20  marginwidth = (1 + 1) + 1
anchor = [3 4]  indentstep = 3  wrapoverride = '<>'  startstate = 2  boundstates = [5, 6]
seltextcolor = [*] clRed  seltextback = clBlue  guttercolor = [*] 7  margincolor = clAqua
fontname = 'Fixedsys'  fontsize = 12  fontcharset = OEM_CHARSET
tabcolumns = '9 17,25'  tabdefault = 8
GutterFontName = 'Small'  GutterFontSize = 7  GutterFontColor = clGreen  GutterFontStyle = [fsBold fsStrikeout 9]
)");
    ASSERT_EQ(c->error, "");
    const TSM_Settings& s = c->settings;
    EXPECT_EQ(s.languageName, "A language whose name is longer tha");
    EXPECT_TRUE(c->tables.caseSensitive);
    EXPECT_EQ(s.options, 3072);
    EXPECT_EQ(s.exampleText, "x\ry");
    EXPECT_EQ(s.wordWrapColumn, 70);
    EXPECT_EQ(s.gutterWidth, 22);
    EXPECT_EQ(s.rightMargin, 80);
    EXPECT_EQ(s.marginWidth, 3);
    EXPECT_EQ(c->tables.anchorSet, (ParserStateSet{3, 4}));
    EXPECT_EQ(s.indentStep, 3);
    EXPECT_EQ(s.wrapOverride, "<>");
    EXPECT_EQ(c->tables.startState, ParserStateSet{2});
    EXPECT_EQ(c->tables.boundStates, (ParserStateSet{5, 6}));
    EXPECT_EQ(s.selTextColor, 255);
    EXPECT_EQ(s.selTextColorDerived, 1);
    EXPECT_EQ(s.selTextBack, 16711680);
    EXPECT_EQ(s.selTextBackDerived, 0);
    EXPECT_EQ(s.gutterColor, 7);
    EXPECT_EQ(s.gutterColorDerived, 1);
    EXPECT_EQ(s.marginColor, 16776960);
    EXPECT_EQ(s.font, (FontSpec{"Fixedsys", 12, 255}));
    EXPECT_EQ(s.tabStops[0], 8);
    EXPECT_EQ(s.tabStops[1], 16);
    EXPECT_EQ(s.tabStops[2], 24);
    EXPECT_EQ(s.tabStops[3], -1);
    EXPECT_EQ(s.tabDefault, 8);
    EXPECT_EQ(s.gutterFont.font.name, "Small");
    EXPECT_EQ(s.gutterFont.font.size, 7);
    EXPECT_EQ(s.gutterFont.color, 32768);
    EXPECT_EQ(s.gutterFont.style, fsBold | fsStrikeOut);
    // Every token without a context entry restarts in the start state.
    EXPECT_EQ(c->tables.contextStates[77], ParserStateSet{2});
}

TEST(LanguageSection, EmptyAnchorMeansTokenZero)
{
    EXPECT_EQ(compileText("%%language anchor = []")->tables.anchorSet, ParserStateSet{0});
}

TEST(LanguageSection, EditableStylesKeepTheirOrderAndLimit)
{
    const auto c = compileText(
        "%%language editablestyles ('Zeta', 9), ('An editable style name that is long', 1)");
    ASSERT_EQ(c->error, "");
    ASSERT_EQ(c->settings.editableStyles.size(), 2u);
    EXPECT_EQ(c->settings.editableStyles[0], (EditableStyle{"Zeta", 9}));
    EXPECT_EQ(c->settings.editableStyles[1].name, "An editable style name th");
    std::string many = "%%language editablestyles ('s', 0)";
    for (int i = 1; i < 50; ++i)
        many += ", ('s', 1)";
    EXPECT_EQ(compileText(many)->settings.editableStyles.size(), 50u);
    EXPECT_EQ(errorOf(many + ", ('s', 2)"), "Too many editable styles");
    EXPECT_EQ(errorOf("%%language editablestyles ('s', 256)"), "Value must be 0..255");
    EXPECT_EQ(errorOf("%%language editablestyles 's'"), "'(' expected");
    EXPECT_EQ(errorOf("%%language editablestyles ('s' 1)"), "',' expected");
    EXPECT_EQ(errorOf("%%language editablestyles ('s', 1"), "')' expected");
    EXPECT_EQ(errorOf("%%language editablestyles (1, 1)"), "String value expected");
}

TEST(LanguageSection, ContextStatesAndTheirRespecification)
{
    const auto c = compileText("%%language startstate = 7 contextstates = (1 2, 3 [4 5]), (9)");
    ASSERT_EQ(c->error, "");
    EXPECT_EQ(c->tables.contextStates[1], (ParserStateSet{4, 5}));
    EXPECT_EQ(c->tables.contextStates[3], (ParserStateSet{4, 5}));
    EXPECT_EQ(c->tables.contextStates[9], ParserStateSet{7});
    EXPECT_EQ(c->tables.contextStates[200], ParserStateSet{7});
    const auto twice = compileText("%%language contextstates = (1 [2]), (1 [3])");
    EXPECT_EQ(twice->error, "Token value 1 re-specified in ContextState");
    // Raised without a position; the compiler still records where it stopped.
    EXPECT_EQ(twice->stop.line, 1);
    EXPECT_GT(twice->stop.column, 30);
}

TEST(LanguageSection, RangeAndValueErrors)
{
    EXPECT_EQ(errorOf("%%language anchor = [1 256]"), "Range error, value outwith 0 .. 255");
    EXPECT_EQ(errorOf("%%language indentstep = 21"), "Range error, value outwith 0 .. 20");
    EXPECT_EQ(errorOf("%%language name 'x'"), "'=' expected");
    EXPECT_EQ(errorOf("%%language gutter = 'x'"), "Expression expected");
    EXPECT_EQ(errorOf("%%language gutter = (1 + 2"), "Expression expected");
    EXPECT_EQ(errorOf("%%language GutterFontStyle = [fsBold 'x']"), "Bad font style specifier");
    EXPECT_EQ(errorOf("%%language GutterFontStyle = 1"), "Bad font style specifier");
    EXPECT_EQ(errorOf("%%language tabcolumns = '9 9'"), "Tab columns must be in order and unique");
    EXPECT_EQ(errorOf("%%language tabcolumns = '1'"), "Tab column must be > 1");
    EXPECT_EQ(errorOf("%%language tabcolumns = 'x'"), "Tab stop column value expected");
    std::string stops;
    for (int i = 2; i < 35; ++i)
        stops += std::to_string(i) + " ";
    EXPECT_EQ(errorOf("%%language tabcolumns = '" + stops + "'"),
              "Too many tab stops - maximum of 32");
    EXPECT_EQ(errorOf("1"), "Script syntax error");
    // Deep parentheses are refused instead of exhausting the stack.
    EXPECT_EQ(errorOf("%%language gutter = " + std::string(100000, '(')), "Expression expected");
    EXPECT_EQ(compileText("%%language gutter = " + std::string(60, '(') + "1" + std::string(60, ')'))
                  ->settings.gutterWidth,
              1);
}

TEST(WordsSection, AddsKeywordsAndExtendsTheirEffects)
{
    const auto c = compileText(R"(
%%words
'Print' '[^a-z]' 12
'rem' '[]' 1 [2 3]
'rem' '[]' 1 [4]
)");
    ASSERT_EQ(c->error, "");
    ASSERT_EQ(c->tables.keywords.size(), 3u);
    const KeywordEntry& print = c->tables.keywords[0];
    EXPECT_EQ(print.text, "Print");
    EXPECT_EQ(print.token, 12);
    EXPECT_EQ(print.states, ParserStateSet{0});
    const TSM_CharGroup& followers = c->tables.groups.group(print.terminator);
    EXPECT_TRUE(followers.negated());
    EXPECT_TRUE(followers.chars().contains('q'));
    EXPECT_FALSE(followers.chars().contains('A'));
    EXPECT_TRUE(c->tables.groups.group(c->tables.keywords[1].terminator).chars().empty());
    ASSERT_TRUE(c->tables.effects[1].has_value());
    EXPECT_EQ(c->tables.effects[1]->validStates, (ParserStateSet{0, 2, 3, 4}));
    EXPECT_EQ(c->tables.effects[1]->unchanged, 1);
}

TEST(WordsSection, DuplicatesAreFoldedByTheCaseFlagInForce)
{
    EXPECT_EQ(errorOf("%%words 'print' '[]' 1 'PRINT' '[]' 2"), "Duplicate entry in %%word table");
    EXPECT_EQ(errorOf("%%language case = 1 %%words 'print' '[]' 1 'PRINT' '[]' 2"), "");
    EXPECT_EQ(errorOf("%%words 'a' '[]' 1 [1 2] 'a' '[]' 2 [3]"), "");
    EXPECT_EQ(errorOf("%%words 'a' '[]' 1 [1 2] 'a' '[]' 2 [2]"),
              "Duplicate entry in %%word table");
    EXPECT_EQ(errorOf("%%words 'a' 'xy' 1"), "Single character specifier expected");
    EXPECT_EQ(errorOf("%%words 'a' '' 1"), "Single character specifier expected");
    EXPECT_EQ(errorOf("%%words 'a' '[a' 1"), "Single character specifier expected");
    EXPECT_EQ(errorOf("%%words 'a' '[z-a]' 1"),
              "Characters not in correct order for range specifier");
    EXPECT_EQ(errorOf("%%words 'a' '[]' 256"), "Value must be 0..255");
    EXPECT_EQ(errorOf("%%words 'a' 1"), "String value expected");
}

TEST(HandlersSection, BuildsStartAndEndParts)
{
    const auto c = compileText(R"(
%%handler
1 '[^\n]' ? '\n' 0
13 '[0-9a-fA-F]' '[^0-9a-fA-F]' _discard_
%%handlers
20 '\*' ? '*/' _use_
21 match(7)
22 __STD_NUMBER
23 'x' match(3) 1
)");
    ASSERT_EQ(c->error, "");
    const auto& t = c->tables;
    const HandlerRule& comment = *t.handlers[1];
    EXPECT_EQ(comment.start.repeat, 1);
    EXPECT_TRUE(t.groups.group(comment.start.group).negated());
    EXPECT_EQ(comment.end.length, 1);
    EXPECT_EQ(comment.end.include, 0);
    EXPECT_TRUE(t.groups.group(comment.end.groups[0]).chars().contains(13));
    EXPECT_EQ(t.handlers[13]->start.repeat, 0);
    EXPECT_EQ(t.handlers[20]->end.length, 2);
    EXPECT_EQ(t.handlers[20]->end.include, 1);
    EXPECT_EQ(t.handlers[21]->start.custom, 1);
    EXPECT_EQ(t.handlers[21]->start.number, 7);
    EXPECT_FALSE(t.handlers[21]->end.exists());
    EXPECT_TRUE(t.handlers[22]->start.namesStandardRecognizer());
    EXPECT_EQ(t.handlers[23]->end.custom, 1);
    EXPECT_EQ(t.handlers[23]->end.number, 3);
    EXPECT_TRUE(t.customRecognizers);
    // Handlers make no effects.
    EXPECT_FALSE(t.effects[1].has_value());
}

TEST(HandlersSection, Errors)
{
    EXPECT_EQ(errorOf("%%handlers 1 'a' 1 'b'"), "Duplicate entry in %%handler table");
    EXPECT_EQ(errorOf("%%handlers 1 'a' 'abcde' 0"), "Maximum of 4 character specifier allowed");
    EXPECT_EQ(errorOf("%%handlers 1 21"), "Script syntax error");
    EXPECT_EQ(errorOf("%%handlers 1 'a' 'b'"), "Expression expected");
}

TEST(TokensSection, RecognizerRulesCoverTheirFirstCharacters)
{
    const auto c =
        compileText("%%tokens 3 __STD_IDENTIFIER 5 __STD_NUMBER_OR_FP [2] 4 __STD_C_STRING");
    ASSERT_EQ(c->error, "");
    const auto& table = c->tables.defaultStart;
    for (int ch : {'A', 'z', '_'})
        EXPECT_EQ(table[ch]->token, 3);
    for (int ch : {'0', '9', '.'})
        EXPECT_EQ(table[ch]->token, 5);
    EXPECT_EQ(table['"']->token, 4);
    EXPECT_FALSE(table['$'].has_value());
    EXPECT_TRUE(table['a']->start.namesStandardRecognizer());
    EXPECT_EQ(table['a']->start.number, 10);
    EXPECT_EQ(table['1']->validStates, (ParserStateSet{0, 2}));
    EXPECT_EQ(c->tables.effects[5]->validStates, (ParserStateSet{0, 2}));
    EXPECT_TRUE(c->tables.noStateTables);
}

TEST(TokensSection, StringStartsWithBodiesAndEnds)
{
    const auto c = compileText(R"(
%%tokens
6 '/' '[^]' ? '*/' 1
7 '[+\-]'
8 '#' __STD_NUMBER ? ' ' 0
9 '@' match(4) [3]
10 '!' '[a-z]' __STD_IDENTIFIER 1
30 '%' 31 '&'
)");
    ASSERT_EQ(c->error, "");
    const auto& table = c->tables.defaultStart;
    EXPECT_EQ(table['/']->body.repeat, 1);
    EXPECT_EQ(table['/']->end.length, 2);
    EXPECT_EQ(table['/']->end.include, 1);
    // A start alone makes a one-character token: the empty end holds before any body.
    EXPECT_EQ(table['+']->token, 7);
    EXPECT_EQ(table['-']->token, 7);
    EXPECT_EQ(table['-']->body.repeat, 1);
    EXPECT_FALSE(table['-']->end.exists());
    EXPECT_EQ(table['#']->body.number, 16);
    EXPECT_EQ(table['@']->body.custom, 1);
    EXPECT_EQ(table['@']->validStates, (ParserStateSet{0, 3}));
    EXPECT_EQ(table['!']->end.recognizer, 1);
    EXPECT_EQ(table['!']->end.number, 10);
    // A number after a lone start is the next entry's token, not a body.
    EXPECT_EQ(table['%']->token, 30);
    EXPECT_EQ(table['&']->token, 31);
}

// Regression: after a string start, a number 10..20 followed by a string was always read as
// a body recognizer, so a start-only rule followed by an entry for token 10..20 was mis-read
// (or a valid script refused). The grammar now decides, and a truly ambiguous script is refused.
TEST(TokensSection, AStartOnlyRuleBeforeAnEntryForToken10To20IsNotReadAsABody)
{
    const auto c = compileText("%%tokens 7 '+' 12 '#' 3 __STD_IDENTIFIER");
    ASSERT_EQ(c->error, "");
    const auto& table = c->tables.defaultStart;
    EXPECT_EQ(table['+']->token, 7);
    EXPECT_FALSE(table['+']->end.exists());
    EXPECT_EQ(table['#']->token, 12);
    EXPECT_EQ(table['x']->token, 3);
    // A body recognizer is still a body when only that reading goes on.
    const auto body = compileText("%%tokens 7 '+' 12 '#' 0 3 __STD_IDENTIFIER");
    ASSERT_EQ(body->error, "");
    EXPECT_EQ(body->tables.defaultStart['+']->body.number, 12);
    EXPECT_FALSE(body->tables.defaultStart['#'].has_value());
    // Two rules 7 and 14, or two rules 7 and 12: refused where it arises; states settle it.
    const auto both = compileText("%%tokens\n7 '+' 12 '#' 13 14 15");
    EXPECT_EQ(both->error, "** ERROR near line 2, Column 22: Script syntax error");
    const auto settled = compileText("%%tokens 7 '+' [] 12 '#' 13 14 15");
    ASSERT_EQ(settled->error, "");
    EXPECT_EQ(settled->tables.defaultStart['#']->end.number, 14);
}

TEST(TokensSection, InStateTablesAndAmbiguity)
{
    const auto c = compileText("%%tokens 3 'a' InState 4 ( 5 'a' 6 'b' [7] ) InState 4 ( 8 'c' )");
    ASSERT_EQ(c->error, "");
    const StartTable* table = c->tables.findStateTable(4);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ((*table)['a']->token, 5);
    EXPECT_EQ((*table)['a']->validStates, ParserStateSet{4});
    EXPECT_EQ((*table)['b']->validStates, (ParserStateSet{4, 7}));
    EXPECT_EQ((*table)['c']->token, 8);
    EXPECT_EQ(c->tables.effects[5]->validStates, ParserStateSet{4});
    EXPECT_FALSE(c->tables.noStateTables);
    EXPECT_TRUE(c->tables.statesWithTables.contains(4));
    EXPECT_EQ(errorOf("%%tokens 3 '[a-c]' 4 '[c-e]'"), "Ambigious start set in %%token table");
    EXPECT_EQ(errorOf("%%tokens 3 __STD_IDENTIFIER 4 'q'"), "Ambigious start set in %%token table");
    EXPECT_EQ(errorOf("%%tokens InState 1 ( 3 'a' 4 'a' )"),
              "Ambigious start set in %%token table");
    EXPECT_EQ(errorOf("%%tokens 3 'a' InState 1 ( 4 'a' )"), "");
    EXPECT_EQ(errorOf("%%tokens 3 9"), "Script syntax error");
    EXPECT_EQ(errorOf("%%tokens InState 1 ( 3 'a' "), "')' expected");
}

TEST(MapAndEffects, StylesAndTheirDuplicates)
{
    const auto c = compileText(R"(
%%map 1 6 13 5
%%effects
0 [] 0 16777215
0 [] 0 16777215
5 [fsBold, fsItalic] clRed * clWhite 'HotSpot'
6 [] 1 2 *
)");
    ASSERT_EQ(c->error, "");
    EXPECT_EQ(c->settings.tokenStyles[1], 6);
    EXPECT_EQ(c->settings.tokenStyles[13], 5);
    const StyleRecord& five = c->settings.styles[5];
    EXPECT_EQ(five.fontStyle, fsBold | fsItalic);
    EXPECT_EQ(five.foreground, 255);
    EXPECT_EQ(five.foregroundDefault, 1);
    EXPECT_EQ(five.hotSpot, 1);
    EXPECT_EQ(five.defined, 1);
    EXPECT_EQ(c->settings.styles[6].backgroundDefault, 1);
    EXPECT_EQ(c->settings.styles[6].hotSpot, 0);
    EXPECT_EQ(errorOf("%%effects 5 [] 0 0 5 [] 0 0"), "Duplicate %%effect entry");
    EXPECT_EQ(errorOf("%%effects 5 0 0"), "'[' expected");
    EXPECT_EQ(errorOf("%%effects 5 [fsBold"), "']' expected");
    EXPECT_EQ(errorOf("%%effects 5 [fsBold 'x'] 0 0"), "Bad font style specifier");
    EXPECT_EQ(errorOf("%%map 1 300"), "Value must be 0..255");
}

TEST(StatesAndContainers, ChangesAndStackOperations)
{
    const auto c = compileText(R"(
%%states
1 push ( + [2 3] - 4 )
2 ( + 5 ) pop
3 pop ( )
4 push ( + 1 ) pop
5 ( + 1 - 1 )
%%containers
6 ( + 9 )
)");
    ASSERT_EQ(c->error, "");
    const auto& e = c->tables.effects;
    EXPECT_EQ(e[1]->addStates, (ParserStateSet{2, 3}));
    EXPECT_EQ(e[1]->removeStates, ParserStateSet{4});
    EXPECT_EQ(e[1]->unchanged, 0);
    EXPECT_EQ(e[1]->stackOps, soPushBefore);
    EXPECT_EQ(e[1]->validStates, ParserStateSet{0});
    // A pop after the change drops the change.
    EXPECT_EQ(e[2]->stackOps, soPopAfter);
    EXPECT_TRUE(e[2]->addStates.empty());
    EXPECT_EQ(e[2]->unchanged, 1);
    EXPECT_EQ(e[3]->stackOps, soPopBefore);
    EXPECT_EQ(e[3]->unchanged, 1);
    EXPECT_EQ(e[4]->stackOps, soPopAfter); // the last one written
    EXPECT_EQ(e[5]->unchanged, 0);
    EXPECT_EQ(e[6]->container, 1);
    EXPECT_EQ(e[6]->addStates, ParserStateSet{9});
    EXPECT_EQ(errorOf("%%states 1 + 2"), "'(' expected");
    EXPECT_EQ(errorOf("%%states 1 ( + 2"), "')' expected");
    EXPECT_EQ(errorOf("%%states 1 ( + 256 )"), "Range error, value outwith 0 .. 255");
}

TEST(KeysSection, ReplacesTheKeyMap)
{
    const auto c = compileText(R"(
%%keys
caCUT ( [ctrl] 'x' | [shift] DELETE ) 'Cut'
caUNDO ( [ctrl, alt] 'K', 'u' )
7 ( F1 )
)");
    ASSERT_EQ(c->error, "");
    const KeyMapRecords& map = c->settings.keyMap;
    ASSERT_EQ(map.names.size(), 1u);
    EXPECT_EQ(map.names[0], (KeyCommandName{12, "Cut"}));
    ASSERT_EQ(map.bindings.size(), 4u);
    EXPECT_EQ(map.bindings[0], (KeyBindingRecord{0x4000 | 'X', 0, 12}));
    EXPECT_EQ(map.bindings[1], (KeyBindingRecord{0x2000 | 46, 0, 12}));
    // Single keys come first, then the second keys of each prefix.
    EXPECT_EQ(map.bindings[2], (KeyBindingRecord{112, 0, 7}));
    EXPECT_EQ(map.bindings[3], (KeyBindingRecord{0x4000 | 0x8000 | 'K', 'U', 41}));
    EXPECT_EQ(errorOf("%%keys 1 ( ) 'x'"), "Key specification required");
    EXPECT_EQ(errorOf("%%keys 1 ( 'ab' )"), "Single character specifier expected");
    EXPECT_EQ(errorOf("%%keys 1 ( 'a' ) ''"), "Key function name cannot be blank");
    EXPECT_EQ(errorOf("%%keys 1 ( 300 )"), "Value must be 0..255");
    EXPECT_NE(errorOf("%%keys 1 ( 'a' ) 2 ( 'a' )"), "");
}

TEST(KeysSection, BindingsAreBounded)
{
    std::string script = "%%keys 1 (";
    for (int prefix = 0; prefix < 17; ++prefix)
        for (int key = 0; key < 256; ++key)
            script += (prefix || key ? " | [ctrl] " : " [ctrl] ") + std::to_string(prefix + 'A') + ", " +
                      std::to_string(key);
    EXPECT_EQ(errorOf(script + " )"), "Too many key bindings");
}

TEST(AutoReplaceAndTemplates, ListsAndKeys)
{
    const auto c = compileText(R"(
%%autoreplace
'teh' = 'the'
actionkeys = ';,\{Return}'
%%templates
'if' ( 'If block' ) = 'IF THEN\nENDIF'
'for' = 'FOR'
hotkey = ( [ctrl, shift] 'T' )
)");
    ASSERT_EQ(c->error, "");
    const TSM_Settings& s = c->settings;
    ASSERT_EQ(s.autoReplace.entries.size(), 1u);
    EXPECT_EQ(s.autoReplace.entries[0].name, "teh");
    EXPECT_EQ(s.autoReplace.entries[0].text, "the");
    EXPECT_EQ(s.triggers, ";,\\{Return}");
    ASSERT_EQ(s.templates.entries.size(), 2u);
    EXPECT_EQ(s.templates.entries[0], (CodeTemplate{"if", "If block", "IF THEN\rENDIF"}));
    EXPECT_EQ(s.templates.entries[1].description, "");
    EXPECT_EQ(textToShortCut(s.templates.hotKey), 0x6000 | 'T');
    EXPECT_EQ(s.autoReplace.hotKey, "Ctrl+J");
    EXPECT_EQ(errorOf("%%templates 'x' 'y'"), "'=' expected");
}

TEST(KeywordTables, ReplaceEqualStatesAndRefuseOverlaps)
{
    const auto c = compileText(R"(
%%kwTables
forstate [] endswith '[^a-z]' ( 5 is 'one', 'two' 6 is 'three' )
forstate [1 2] endswith '' ( 7 is 'x\y' )
forstate [0] endswith ' ' ( 8 is 'four' )
)");
    ASSERT_EQ(c->error, "");
    const auto& tables = c->settings.keywordTables;
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0].states, ParserStateSet{0});
    EXPECT_EQ(tables[0].terminators, " ");
    ASSERT_EQ(tables[0].words.size(), 1u);
    EXPECT_EQ(tables[0].words[0], (std::pair<std::string, int32_t>{"four", 8}));
    EXPECT_EQ(tables[1].words[0].first, "x\\y"); // raw text
    EXPECT_EQ(errorOf("%%kwTables forstate [0] endswith '' ( ) forstate [0 1] endswith '' ( )"),
              "Ambigious key table state definition");
    std::string many = "%%kwTables";
    for (int i = 0; i < 21; ++i)
        many += " forstate [" + std::to_string(i) + "] endswith '' ( )";
    EXPECT_EQ(compileText(many)->settings.keywordTables.size(), 21u);
    EXPECT_EQ(errorOf(many + " forstate [30] endswith '' ( )"), "Too many keyword tables declared");
    EXPECT_EQ(errorOf("%%kwTables forstate [0] ( )"), "Script syntax error");
}

// Regression: a word written twice in one table compiled, and then loading the language
// threw "Duplicate keyword" and emptied it.
TEST(KeywordTables, AWordTwiceInOneTableIsReportedWhereItIsWritten)
{
    const auto c = compileText("%%kwTables\nforstate [] endswith '' (\n5 is 'one', 'two'\n6 is 'One' )");
    EXPECT_EQ(c->error, "** ERROR near line 4, Column 13: Duplicate keyword - 'one'");
    EXPECT_EQ(errorOf("%%language case = 1 %%kwTables forstate [] endswith '' ( 5 is 'a', 'A' )"), "");
}

TEST(Compiler, ErrorsCarryThePositionWhereTheScannerStopped)
{
    const auto c = compileText("%%language\r\n  name = 'ok'\r\n  case = 'x'\r\n");
    EXPECT_EQ(c->error, "** ERROR near line 3, Column 13: Expression expected");
    EXPECT_EQ(c->stop.line, 3);
    EXPECT_EQ(c->stop.column, 13);
    // What was compiled before the error stays.
    EXPECT_EQ(c->settings.languageName, "ok");
}

TEST(Compiler, ErrorsInsideAnIncludedFileNameThatFile)
{
    const auto c =
        compileText("%%language\n#include <bad.inc>\n", {{"lib/bad.inc", "\n\n gutter = ?"}});
    EXPECT_EQ(c->error, "** ERROR near line 3, Column 12: Expression expected");
    EXPECT_EQ(c->stop.fileName, "bad.inc");
}

} // namespace
