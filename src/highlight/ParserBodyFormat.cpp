// Stored form of the recognition tables and of the whole body.
#include "highlight/ParserFormat.h"

#include "base/Exception.h"

namespace {

template <typename Slots> int32_t filledSlots(const Slots& slots)
{
    int32_t n = 0;
    for (const auto& slot : slots)
        n += slot.has_value();
    return n;
}

uint8_t readToken(ByteReader& in)
{
    const int32_t token = in.i32();
    if (token < 0 || token > 255)
        throw EReadError(Format("Invalid token number %d", token));
    return static_cast<uint8_t>(token);
}

void writeKeywords(ByteWriter& out, const TParserTables& t)
{
    out.i32(t.caseSensitive ? 1 : 0);
    out.i32(static_cast<int32_t>(t.keywords.size()));
    for (const KeywordEntry& entry : t.keywords) {
        if (entry.text.empty())
            throw EWriteError("Empty keyword");
        out.str8(entry.text);
        writeCharGroup(out, t.groups, entry.terminator);
        out.set256(entry.states);
        out.i32(entry.token);
    }
    out.u8(0);
}

// Entries run to an empty keyword; the stored count is for information only.
void readKeywords(ByteReader& in, TParserTables& t)
{
    t.caseSensitive = in.i32() != 0;
    in.i32();
    for (;;) {
        std::string text = in.str8();
        if (text.empty())
            break;
        KeywordEntry entry;
        entry.text = std::move(text);
        entry.terminator = readCharGroup(in, t.groups);
        entry.states = in.set256();
        entry.token = readToken(in);
        t.keywords.push_back(std::move(entry));
    }
}

void writeHandlers(ByteWriter& out, const TParserTables& t)
{
    out.i32(filledSlots(t.handlers));
    for (int token = 0; token < 256; ++token) {
        if (!t.handlers[token])
            continue;
        out.u8(static_cast<uint8_t>(token));
        writeMatchPart(out, t.groups, t.handlers[token]->start);
        writeEndPart(out, t.groups, t.handlers[token]->end);
    }
}

void readHandlers(ByteReader& in, TParserTables& t)
{
    const size_t n = in.count(1 + kMinMatchPartBytes + kMinEndPartBytes);
    for (size_t k = 0; k < n; ++k) {
        const uint8_t token = in.u8();
        HandlerRule rule;
        rule.start = readMatchPart(in, t.groups);
        rule.end = readEndPart(in, t.groups);
        t.handlers[token] = rule;
    }
}

void writeStartTable(ByteWriter& out, const TParserTables& t, const StartTable& table)
{
    out.i32(filledSlots(table));
    for (int ch = 0; ch < 256; ++ch) {
        if (table[ch]) {
            out.u8(static_cast<uint8_t>(ch));
            writeTokenRule(out, t.groups, *table[ch]);
        }
    }
}

void readStartTable(ByteReader& in, TParserTables& t, StartTable& table)
{
    const size_t n = in.count(1 + kMinTokenRuleBytes);
    for (size_t k = 0; k < n; ++k) {
        const uint8_t ch = in.u8();
        table[ch] = readTokenRule(in, t.groups);
    }
}

// An empty entry already stands for the start state and reads back as empty, so only entries
// that are set and differ from the start state are written.
bool storedContext(const TParserTables& t, const ParserStateSet& set) { return !set.empty() && set != t.startState; }

void writeContextStates(ByteWriter& out, const TParserTables& t)
{
    int32_t n = 0;
    for (const ParserStateSet& set : t.contextStates)
        n += storedContext(t, set);
    out.i32(n);
    for (int token = 0; token < 256; ++token) {
        if (storedContext(t, t.contextStates[token])) {
            out.u8(static_cast<uint8_t>(token));
            out.set256(t.contextStates[token]);
        }
    }
}

void readContextStates(ByteReader& in, TParserTables& t)
{
    const size_t n = in.count(1 + ParserStateSet::kBytes);
    for (size_t k = 0; k < n; ++k) {
        const uint8_t token = in.u8();
        t.contextStates[token] = in.set256();
    }
}

void writeEffects(ByteWriter& out, const TParserTables& t)
{
    out.i32(filledSlots(t.effects));
    for (int token = 0; token < 256; ++token) {
        if (!t.effects[token])
            continue;
        const TokenEffect& effect = *t.effects[token];
        out.u8(static_cast<uint8_t>(token));
        out.set256(effect.validStates);
        out.set256(effect.addStates);
        out.set256(effect.removeStates);
        out.u8(effect.container);
        out.u8(effect.unchanged);
        out.u8(effect.stackOps);
    }
}

void readEffects(ByteReader& in, TParserTables& t)
{
    const size_t n = in.count(1 + kTokenEffectBytes);
    for (size_t k = 0; k < n; ++k) {
        const uint8_t token = in.u8();
        TokenEffect effect;
        effect.validStates = in.set256();
        effect.addStates = in.set256();
        effect.removeStates = in.set256();
        effect.container = in.u8();
        effect.unchanged = in.u8();
        effect.stackOps = in.u8();
        t.effects[token] = effect;
    }
}

void writeRanges(ByteWriter& out, const TParserTables& t)
{
    out.i32(static_cast<int32_t>(t.stateRanges.size()));
    for (const RangeRule& range : t.stateRanges) {
        out.u16(range.low);
        out.u16(range.high);
        writeTokenRule(out, t.groups, range.rule);
    }
}

// The range list follows every state's table; the last copy is the one kept.
void readRanges(ByteReader& in, TParserTables& t)
{
    const size_t n = in.count(4 + kMinTokenRuleBytes);
    t.stateRanges.clear();
    for (size_t k = 0; k < n; ++k) {
        RangeRule range;
        range.low = in.u16();
        range.high = in.u16();
        range.rule = readTokenRule(in, t.groups);
        t.stateRanges.push_back(range);
    }
}

void writeStateTables(ByteWriter& out, const TParserTables& t)
{
    int32_t n = 0;
    for (int state = 0; state < 256; ++state)
        n += t.statesWithTables.contains(state);
    out.i32(n);
    for (int state = 0; state < 256; ++state) {
        if (!t.statesWithTables.contains(state))
            continue;
        out.u8(static_cast<uint8_t>(state));
        const StartTable* table = t.findStateTable(state);
        if (table)
            writeStartTable(out, t, *table);
        else
            out.i32(0);
        writeRanges(out, t);
    }
}

void readStateTables(ByteReader& in, TParserTables& t)
{
    const size_t n = in.count(1 + 4 + 4);
    for (size_t k = 0; k < n; ++k) {
        const uint8_t state = in.u8();
        readStartTable(in, t, t.stateTable(state));
        readRanges(in, t);
    }
}

} // namespace

std::vector<uint8_t> writeParserBody(const TParserTables& tables, const TSM_Settings& settings, uint16_t version)
{
    ByteWriter out;
    writeSettingsBlock(out, settings, version);
    writeKeywords(out, tables);
    writeHandlers(out, tables);
    writeStartTable(out, tables, tables.defaultStart);
    writeContextStates(out, tables);
    writeEffects(out, tables);
    writeStateTables(out, tables);
    out.set256(tables.anchorSet);
    out.set256(tables.boundStates);
    out.set256(tables.startState);
    out.u8(tables.customRecognizers ? 1 : 0);
    return std::move(out.data());
}

size_t readParserBody(const uint8_t* data, size_t size, TParserTables& tables, TSM_Settings& settings,
                      uint16_t version)
{
    tables.reset();
    settings.reset();
    ByteReader in(data, size);
    readSettingsBlock(in, settings, version);
    readKeywords(in, tables);
    readHandlers(in, tables);
    readStartTable(in, tables, tables.defaultStart);
    readContextStates(in, tables);
    readEffects(in, tables);
    readStateTables(in, tables);
    tables.anchorSet = in.set256();
    tables.boundStates = in.set256();
    tables.startState = in.set256();
    tables.customRecognizers = in.u8() != 0;
    tables.updateNoStateTables();
    return in.position();
}
