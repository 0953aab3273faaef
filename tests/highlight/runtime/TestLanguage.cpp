#include "TestLanguage.h"

#include "editor/text/TextStore.h"
#include "highlight/runtime/ParseCursor.h"
#include "highlight/runtime/StandardRecognizers.h"

namespace rtlang {

uint16_t group(TParserTables& tables, std::string_view chars, bool negated)
{
    ParserStateSet set;
    for (unsigned char c : chars)
        set.insert(c);
    return tables.groups.registerGroup(TSM_CharGroup(set, negated));
}

MatchPart groupPart(uint16_t id, bool repeat)
{
    MatchPart part;
    part.group = id;
    part.repeat = repeat ? 1 : 0;
    return part;
}

MatchPart recognizerPart(int number, bool custom)
{
    MatchPart part;
    part.recognizer = 1;
    part.custom = custom ? 1 : 0;
    part.number = number;
    return part;
}

EndPart sequenceEnd(std::initializer_list<uint16_t> groups, bool include)
{
    EndPart end;
    end.include = include ? 1 : 0;
    for (uint16_t id : groups)
        end.groups[end.length++] = id;
    return end;
}

TokenRule singleCharRule(TParserTables& tables, int token, const ParserStateSet& states)
{
    TokenRule rule;
    rule.start = groupPart(group(tables, ""));
    rule.validStates = states;
    rule.body = groupPart(group(tables, ""), true); // the empty end holds at once
    rule.token = static_cast<uint8_t>(token);
    return rule;
}

void putRule(StartTable& table, std::string_view chars, const TokenRule& rule)
{
    for (unsigned char c : chars)
        table[c] = rule;
}

TokenEffect effect(const ParserStateSet& valid, const ParserStateSet& add,
                   const ParserStateSet& remove, uint8_t stackOps, bool container)
{
    TokenEffect e;
    e.validStates = valid;
    e.addStates = add;
    e.removeStates = remove;
    e.unchanged = add.empty() && remove.empty() ? 1 : 0;
    e.stackOps = stackOps;
    e.container = container ? 1 : 0;
    return e;
}

std::string wordChars()
{
    return "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
}

namespace {

const char* const kKeywords[] = {"PRINT",   "IF",     "THEN",      "ELSE",   "ENDIF",   "GOTO",
                                 "GOSUB",   "RETURN", "FOR",       "TO",     "STEP",    "NEXT",
                                 "DIM",     "AS",     "BYTE",      "WORD",   "HIGH",    "LOW",
                                 "DELAYMS", "PPRINT", "PPRINT_AT", "DEVICE", "DECLARE", "WHILE",
                                 "WEND",    "SYMBOL", "INCLUDE",   "END"};

// Generated keywords for the benchmark language: prefix + stem, all distinct.
std::vector<std::string> extraWords(int count)
{
    static const char* const prefixes[] = {"H",    "S",   "P",   "LCD", "I2C", "SER", "PORT",
                                           "TMR",  "ADC", "EE",  "USB", "CAN", "SPI", "PWM",
                                           "GLCD", "KEY", "BIT", "NIB", "FLT", "STR"};
    static const char* const stems[] = {"IN",   "OUT",  "READ", "WRITE", "INIT", "SET",
                                        "CLR",  "ON",   "OFF",  "DATA",  "MODE", "PIN",
                                        "BAUD", "PULL", "SCAN", "PEEK",  "POKE", "LOAD",
                                        "SAVE", "TEST", "CAL",  "SYNC",  "WAIT"};
    std::vector<std::string> words;
    for (const char* stem : stems)
        for (const char* prefix : prefixes)
            if (static_cast<int>(words.size()) < count)
                words.push_back(std::string(prefix) + stem + "X");
    return words;
}

void addBasicKeywords(TParserTables& t, int extraKeywords)
{
    const uint16_t notWord = group(t, wordChars(), true);
    const uint16_t any = group(t, "");
    for (const char* word : kKeywords)
        t.keywords.push_back({word, notWord, {0}, tkKeyword});
    for (const std::string& word : extraWords(extraKeywords))
        t.keywords.push_back({word, notWord, {0}, tkKeyword});
    t.keywords.push_back({"REM", notWord, {0}, tkComment});
    t.keywords.push_back({"'", any, {0, kAsmState}, tkComment});
    t.keywords.push_back({"/*", any, {0}, tkBlockComment});
    t.keywords.push_back({"$", any, {0}, tkHex});
    t.keywords.push_back({"%", any, {0}, tkBinary});
    t.keywords.push_back({"ASM", notWord, {0}, tkAsm});
    t.keywords.push_back({"ENDASM", notWord, {kAsmState}, tkEndAsm});
}

void addBasicHandlers(TParserTables& t)
{
    const uint16_t cr = group(t, "\r");
    t.handlers[tkComment] =
        HandlerRule{groupPart(group(t, "\r", true), true), sequenceEnd({cr}, false)};
    t.handlers[tkBlockComment] = HandlerRule{groupPart(group(t, "", true), true),
                                             sequenceEnd({group(t, "*"), group(t, "/")}, true)};
    const std::string hexDigits = "0123456789abcdefABCDEF";
    t.handlers[tkHex] = HandlerRule{groupPart(group(t, hexDigits + "xX")),
                                    sequenceEnd({group(t, hexDigits, true)}, false)};
    t.handlers[tkBinary] =
        HandlerRule{groupPart(group(t, "01")), sequenceEnd({group(t, "01", true)}, false)};
}

void addBasicRules(TParserTables& t)
{
    const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
    TokenRule identifier;
    identifier.start = recognizerPart(srIdentifier);
    identifier.validStates = {0};
    identifier.token = tkIdentifier;
    putRule(t.defaultStart, letters, identifier);
    TokenRule string = identifier;
    string.start = recognizerPart(srCString);
    string.token = tkString;
    putRule(t.defaultStart, "\"", string);
    TokenRule number = identifier;
    number.start = recognizerPart(srNumberOrFp);
    number.validStates = {0, kAsmState};
    number.token = tkNumber;
    putRule(t.defaultStart, "0123456789", number);
    putRule(t.defaultStart, "+-*/=<>(),:", singleCharRule(t, tkOperator, {0}));

    StartTable& asmTable = t.stateTable(kAsmState);
    for (int c = 1; c < 256; ++c)
        asmTable[static_cast<size_t>(c)] = singleCharRule(t, tkAsmOther, {kAsmState});
    TokenRule mnemonic = identifier;
    mnemonic.validStates = {kAsmState};
    mnemonic.token = tkMnemonic;
    putRule(asmTable, letters, mnemonic);
    putRule(asmTable, "0123456789", number);
}

void addBasicEffects(TParserTables& t)
{
    for (int token :
         {tkBlockComment, tkIdentifier, tkString, tkOperator, tkKeyword, tkHex, tkBinary})
        t.effects[static_cast<size_t>(token)] = effect({0});
    for (int token : {tkComment, tkNumber})
        t.effects[static_cast<size_t>(token)] = effect({0, kAsmState});
    for (int token : {tkMnemonic, tkAsmOther})
        t.effects[static_cast<size_t>(token)] = effect({kAsmState});
    t.effects[tkAsm] = effect({0}, {kAsmState}, {0});
    t.effects[tkEndAsm] = effect({kAsmState}, {0}, {kAsmState});
    for (int token : {tkAsm, tkMnemonic, tkAsmOther})
        t.contextStates[static_cast<size_t>(token)] = {kAsmState};
    t.boundStates = {kAsmState};
}

} // namespace

void buildBasicLanguage(TParserTables& tables, int extraKeywords)
{
    tables.reset();
    tables.caseSensitive = false;
    addBasicKeywords(tables, extraKeywords);
    addBasicHandlers(tables);
    addBasicRules(tables);
    addBasicEffects(tables);
}

std::string basicSample()
{
    std::string text = "' A sample program\r"
                       "DEVICE = 16F84\r"
                       "DIM counter AS BYTE\r"
                       "DIM flags AS WORD ' two bytes\r"
                       "\r"
                       "start:\r"
                       "    FOR counter = 0 TO 10 STEP 2\r"
                       "        PRINT \"Count: \", counter, \" done\"\r"
                       "        PPRINT_AT 1, 2, \"x\\\"y\"\r"
                       "    NEXT\r"
                       "    flags = $1F + %1010 - 3.25e2\r"
                       "    IF flags > $FF THEN GOTO start ELSE GOSUB work\r"
                       "/* a block comment\r"
                       "   over three lines PRINT \"not a string\r"
                       "   ends here */ DELAYMS 100\r"
                       "ASM\r"
                       "    movlw 10 ; load\r"
                       "    movwf PORTB, f\r"
                       "\r"
                       "    ' comment inside\r"
                       "ENDASM\r"
                       "work: REM the work routine\r"
                       "    RETURN\r"
                       "REMARK = 1\r"
                       "print \"lower case keyword\"\r"
                       "    x = $ + % + 1.\r";
    text += "' long line: ";
    for (int i = 0; i < 450; ++i)
        text += "word" + std::to_string(i % 10) + " ";
    text += "\r";
    text += "y = \"a string that is not closed\r";
    text += "END\r";
    return text;
}

std::vector<Token> tokenize(TSourceMemoParser& parser, std::string_view text, int resetToken)
{
    TStringCharSource source(text);
    TParseCursor in(source);
    parser.ResetState(resetToken);
    std::vector<Token> tokens;
    while (!in.atEnd()) {
        int64_t length = 0;
        const int token = parser.NextToken(nullptr, in, length);
        tokens.push_back({token, length});
    }
    return tokens;
}

std::string dumpStore(const TTextStore& store)
{
    std::string out;
    for (const TTextRow* row = store.FirstRow(); row; row = row->Next) {
        int previous = -1;
        uint8_t tokens[kMaxRowLength];
        row->CopyAttrs(tokens);
        for (int i = 0; i < row->Length; ++i) {
            const int token = row->HasAttrs() ? tokens[i] : -1;
            if (token != previous)
                out += "{" + std::to_string(token) + "}";
            previous = token;
            const char c = row->Text()[i];
            out += c == '\r' ? std::string("\\r") : std::string(1, c);
        }
        out += "\n";
    }
    return out;
}

std::vector<uint8_t> storeBytes(const TTextStore& store)
{
    std::vector<uint8_t> bytes;
    for (const TTextRow* row = store.FirstRow(); row; row = row->Next) {
        if (!row->HasAttrs()) {
            bytes.insert(bytes.end(), static_cast<size_t>(row->Length), 0xFF);
            continue;
        }
        bytes.resize(bytes.size() + row->Length);
        row->CopyAttrs(bytes.data() + bytes.size() - row->Length);
    }
    return bytes;
}

} // namespace rtlang
