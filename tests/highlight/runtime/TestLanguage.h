// Languages built in code for the runtime tests and benchmarks, and helpers that tokenise a
// string or dump a store's token bytes in a readable form.
#pragma once

#include "highlight/ParserTables.h"
#include "highlight/runtime/SourceMemoParser.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class TTextStore;

namespace rtlang {

// Token numbers of the BASIC-like language.
enum : int
{
    tkDefault = 0,
    tkComment = 1,      // ' or REM to the end of the line
    tkBlockComment = 2, // /* ... */ over any number of lines
    tkIdentifier = 3,
    tkString = 4,
    tkNumber = 5,
    tkOperator = 7,
    tkMnemonic = 10, // identifiers inside ASM ... ENDASM
    tkKeyword = 12,
    tkHex = 13,
    tkBinary = 14,
    tkAsm = 20,
    tkEndAsm = 21,
    tkAsmOther = 22, // every other character inside ASM ... ENDASM
};
constexpr int kAsmState = 1;

uint16_t group(TParserTables& tables, std::string_view chars, bool negated = false);
MatchPart groupPart(uint16_t id, bool repeat = false);
MatchPart recognizerPart(int number, bool custom = false);
EndPart sequenceEnd(std::initializer_list<uint16_t> groups, bool include);
// A rule that takes exactly its first character.
TokenRule singleCharRule(TParserTables& tables, int token, const ParserStateSet& states);
// Puts rule under every character of chars in table.
void putRule(StartTable& table, std::string_view chars, const TokenRule& rule);
// An effect valid in states that changes nothing (or adds and removes when given).
TokenEffect effect(const ParserStateSet& valid, const ParserStateSet& add = {},
                   const ParserStateSet& remove = {}, uint8_t stackOps = 0, bool container = false);

// Letters, digits and '_' as one string.
std::string wordChars();

// The BASIC-like language: keywords (case-insensitive), comments, a block comment, strings,
// numbers, $hex and %binary handlers, operators, and an ASM ... ENDASM block with a start table
// of its own, bound to its state. extraKeywords adds generated keywords of token 12.
void buildBasicLanguage(TParserTables& tables, int extraKeywords = 0);
// A sample program touching every construct of the language, including a line longer than a
// row.
std::string basicSample();

struct Token
{
    int token = 0;
    int64_t length = 0;
    bool operator==(const Token&) const = default;
};
// Tokenises the whole text after ResetState(resetToken).
std::vector<Token> tokenize(TSourceMemoParser& parser, std::string_view text, int resetToken = 0);
// "{token}text" per token run, one row per line of the dump; CR shown as \r.
std::string dumpStore(const TTextStore& store);
// The token bytes of every row, concatenated (0xFF marks a row without bytes).
std::vector<uint8_t> storeBytes(const TTextStore& store);

} // namespace rtlang
