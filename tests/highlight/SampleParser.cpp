#include "SampleParser.h"

#include <random>

namespace {

uint16_t groupOf(TParserTables& t, const std::string& chars, bool negated = false)
{
    ParserStateSet set;
    for (unsigned char c : chars)
        set.insert(c);
    return t.groups.registerGroup(TSM_CharGroup(set, negated));
}

MatchPart groupPart(uint16_t group, uint8_t repeat = 0)
{
    MatchPart part;
    part.group = group;
    part.repeat = repeat;
    return part;
}

MatchPart recognizerPart(uint16_t group, int32_t number, uint8_t custom = 0)
{
    MatchPart part;
    part.group = group;
    part.recognizer = 1;
    part.custom = custom;
    part.number = number;
    return part;
}

EndPart sequenceEnd(std::initializer_list<uint16_t> groups, uint8_t include)
{
    EndPart end;
    end.include = include;
    for (uint16_t g : groups)
        end.groups[end.length++] = g;
    return end;
}

void addKeywords(TParserTables& t)
{
    const uint16_t notWord = groupOf(t, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_", true);
    const char* words[] = {"PRINT", "PPRINT", "PPRINT_AT", "GOTO", "DIM", "IF", "THEN", "ENDIF", "DECLARE"};
    int32_t token = 1;
    for (const char* w : words)
        t.keywords.push_back({w, notWord, {0}, token++});
    t.keywords.push_back({"ASM", notWord, {0}, 20});
    t.keywords.push_back({"ENDASM", notWord, {1}, 21});
    t.keywords.push_back({"'", groupOf(t, ""), {0, 1}, 30});
}

void addRules(TParserTables& t)
{
    const uint16_t letters = groupOf(t, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_");
    const uint16_t digits = groupOf(t, "0123456789");
    const uint16_t hex = groupOf(t, "0123456789abcdefABCDEF");
    const uint16_t notCr = groupOf(t, "\r", true);
    const uint16_t cr = groupOf(t, "\r");
    const uint16_t quote = groupOf(t, "\"");
    t.handlers[30] = HandlerRule{groupPart(notCr, 1), sequenceEnd({cr}, 0)};
    t.handlers[5] = HandlerRule{recognizerPart(letters, 7, 1), EndPart{}};
    EndPart customEnd;
    customEnd.recognizer = 1;
    customEnd.custom = 1;
    customEnd.number = 99;
    t.handlers[6] = HandlerRule{groupPart(digits), customEnd};
    for (char c = 'a'; c <= 'z'; ++c) {
        t.defaultStart[uint8_t(c)] = TokenRule{recognizerPart(letters, 10), {0}, MatchPart{}, EndPart{}, 40};
        t.defaultStart[uint8_t(c - 32)] = t.defaultStart[uint8_t(c)];
    }
    for (char c = '0'; c <= '9'; ++c)
        t.defaultStart[uint8_t(c)] = TokenRule{recognizerPart(digits, 11), {0}, MatchPart{}, EndPart{}, 41};
    t.defaultStart['$'] = TokenRule{groupPart(groupOf(t, "$")), {0}, groupPart(hex), EndPart{}, 42};
    t.defaultStart['"'] = TokenRule{groupPart(quote), {0}, groupPart(notCr, 1), sequenceEnd({quote}, 1), 43};
    t.defaultStart['<'] = TokenRule{groupPart(groupOf(t, "<")), {0, 1}, groupPart(groupOf(t, "<>=")),
                                    sequenceEnd({groupOf(t, "-"), groupOf(t, "-"), groupOf(t, ">"), cr}, 0), 44};
    t.customRecognizers = true;
}

void addStates(TParserTables& t, bool withStateTables)
{
    t.contextStates[20] = {1};
    t.contextStates[21] = {0};
    for (int token = 0; token < 256; ++token)
        if (t.contextStates[token].empty())
            t.contextStates[token] = t.startState;
    TokenEffect asmOn;
    asmOn.validStates = {0};
    asmOn.addStates = {1};
    asmOn.removeStates = {0};
    asmOn.unchanged = 0;
    asmOn.stackOps = soPushBefore;
    t.effects[20] = asmOn;
    TokenEffect asmOff;
    asmOff.validStates = {1};
    asmOff.stackOps = soPopAfter;
    t.effects[21] = asmOff;
    TokenEffect container;
    container.validStates = {0, 1, 2};
    container.container = 1;
    t.effects[43] = container;
    t.anchorSet = {0, 30};
    t.boundStates = {1};
    if (withStateTables) {
        StartTable& asmTable = t.stateTable(1);
        const uint16_t letters = groupOf(t, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
        for (char c = 'a'; c <= 'z'; ++c)
            asmTable[uint8_t(c)] = TokenRule{recognizerPart(letters, 10), {1}, MatchPart{}, EndPart{}, 50};
        t.stateTable(7); // a state with a table and no rules
    }
    t.updateNoStateTables();
}

} // namespace

void buildSampleTables(TParserTables& tables, bool withStateTables)
{
    tables.reset();
    tables.caseSensitive = false;
    addKeywords(tables);
    addRules(tables);
    addStates(tables, withStateTables);
}

void buildSampleSettings(TSM_Settings& s)
{
    s.reset();
    s.exampleText = "' Comment Line\rDevice = 18F452\rPRINT AT 1,2,\"Hello World\"\r";
    s.languageName = "ZENBASIC";
    s.wrapOverride = ">|:";
    s.options = 67099632;
    s.indentStep = 8;
    s.selTextColor = clWhite;
    s.selTextBack = 6824960;
    for (int i = 0; i < 15; ++i)
        s.tabStops[i] = 4 + 4 * i;
    s.font = {"Courier New", 10, 0};
    s.styles[0] = {0, clBlack, clWhite, 0, 0, 0, 1};
    s.styles[1] = {fsBold, 0x800000, clWhite, 0, 1, 0, 1};
    s.styles[7] = {fsItalic | fsUnderline, 0x008000, clBtnFace, 1, 0, 1, 1};
    s.styles[255] = {fsStrikeOut, 255, 0, 0, 0, 0, -1};
    s.tokenStyles[1] = 1;
    s.tokenStyles[30] = 7;
    s.tokenStyles[255] = 255;
    s.editableStyles = {{"Keywords", 1}, {"Comments", 7}, {"Strange style with a name", 255}};
    s.marginColorDerived = 1;
    s.gutterColorDerived = 1;
    KeywordTableRecord registers;
    registers.states = {0, 1};
    registers.terminators = " ,\r";
    registers.caseSensitive = 0;
    registers.words = {{"wreg", 60}, {"status", 61}, {"porta", 62}};
    s.keywordTables.push_back(registers);
    s.autoReplace.entries = {{"teh", "", "the"}, {"pritn", "", "PRINT"}};
    s.autoReplace.enabled = false;
    s.triggers = ";,\\{Space}";
    s.templates.entries = {{"ifb", "if block", "IF | THEN\r\nENDIF"}, {"for", "for loop", "FOR I = 1 TO 10\r\nNEXT"}};
    s.templates.hotKey = "Alt+A";
    s.keyMap.bindings.push_back({0x4000 | 'M', 0, 44});
    s.gutterFont = {{"MS Sans Serif", 8, 1}, static_cast<TColorValue>(0x80000008), fsBold | fsStrikeOut};
}

std::string basicLikeText(size_t size, uint32_t seed)
{
    static const char* const lines[] = {
        "    PRINT AT 1,2,\"Hello World\", Bin8 Var1\r\n", "' Comment Line about the ports\r\n",
        "    VAR1 = %11010010\r\n", "    HBUSIN MACRO Varin,Bitin,Byteout\r\n", "    DECLARE RSOUT_PIN PORTA.1\r\n",
        "Loop:\r\n", "    IF Counter > 10 THEN GOTO Done\r\n", "    Counter = Counter + 1\r\n",
        "    SHIN CLK,DTA,MSBPRE,[Var1]\r\n", "    Movlw 10\r\n", "    LED = 1 : DELAYMS 500\r\n"};
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < size) {
        text += lines[random() % std::size(lines)];
        if (random() % 5 == 0)
            text += "    VAR" + std::to_string(random() % 100) + " = $" + std::to_string(random() % 9999) + "\r\n";
    }
    text.resize(size);
    return text;
}

std::vector<uint8_t> randomBytes(size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(size);
    for (auto& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}
