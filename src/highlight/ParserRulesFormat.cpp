// Stored form of character groups and rule records.
#include "highlight/ParserFormat.h"

#include "base/Exception.h"

void writeCharGroup(ByteWriter& out, const TSM_CharGroupManager& groups, uint16_t id)
{
    const TSM_CharGroup& group = groups.group(id);
    out.set256(group.chars());
    out.i32(static_cast<int32_t>(group.ranges().size()));
    for (const CharRange& range : group.ranges()) {
        out.u16(range.low);
        out.u16(range.high);
    }
    out.u8(group.negated() ? 1 : 0);
}

// We never create character ranges, so a stored group with ranges is not ours.
uint16_t readCharGroup(ByteReader& in, TSM_CharGroupManager& groups)
{
    const ParserStateSet chars = in.set256();
    const int32_t ranges = in.i32();
    if (ranges != 0)
        throw EReadError(Format("Unsupported character range count %d", ranges));
    const uint8_t negated = in.u8();
    return groups.registerGroup(TSM_CharGroup(chars, negated != 0));
}

void writeMatchPart(ByteWriter& out, const TSM_CharGroupManager& groups, const MatchPart& part)
{
    out.u8(part.repeat);
    writeCharGroup(out, groups, part.group);
    out.u8(part.recognizer);
    if (part.recognizer) {
        out.u8(part.custom);
        out.i32(part.number);
    }
}

MatchPart readMatchPart(ByteReader& in, TSM_CharGroupManager& groups)
{
    MatchPart part;
    part.repeat = in.u8();
    part.group = readCharGroup(in, groups);
    part.recognizer = in.u8();
    if (part.recognizer) {
        part.custom = in.u8();
        part.number = in.i32();
    }
    return part;
}

void writeEndPart(ByteWriter& out, const TSM_CharGroupManager& groups, const EndPart& part)
{
    out.u8(part.include);
    out.u8(part.recognizer);
    if (part.recognizer) {
        out.u8(part.custom);
        out.i32(part.number);
        return;
    }
    if (part.length > EndPart::kMaxSequence)
        throw EWriteError(Format("End sequence of %d characters", part.length));
    out.u8(part.length);
    for (int i = 0; i < part.length; ++i)
        writeCharGroup(out, groups, part.groups[i]);
}

EndPart readEndPart(ByteReader& in, TSM_CharGroupManager& groups)
{
    EndPart part;
    part.include = in.u8();
    part.recognizer = in.u8();
    if (part.recognizer) {
        part.custom = in.u8();
        part.number = in.i32();
        return part;
    }
    part.length = in.u8();
    if (part.length > EndPart::kMaxSequence)
        throw EReadError(Format("Invalid end sequence length %d", part.length));
    for (int i = 0; i < part.length; ++i)
        part.groups[i] = readCharGroup(in, groups);
    return part;
}

void writeTokenRule(ByteWriter& out, const TSM_CharGroupManager& groups, const TokenRule& rule)
{
    writeMatchPart(out, groups, rule.start);
    out.set256(rule.validStates);
    writeMatchPart(out, groups, rule.body);
    writeEndPart(out, groups, rule.end);
    out.u8(rule.token);
}

TokenRule readTokenRule(ByteReader& in, TSM_CharGroupManager& groups)
{
    TokenRule rule;
    rule.start = readMatchPart(in, groups);
    rule.validStates = in.set256();
    rule.body = readMatchPart(in, groups);
    rule.end = readEndPart(in, groups);
    rule.token = in.u8();
    return rule;
}
