// The compiled-parser body: the settings block followed by the recognition tables, written and
// read as mirror images. Counts are computed before their entries are written and tables are
// visited in ascending index order, so writing what was read gives the same bytes. Reading
// follows every flag byte by byte and fails with EReadError (or ESourceMemo for a bad group)
// on truncated or inconsistent data, never reading or allocating past the body.
#pragma once

#include "highlight/ByteIO.h"
#include "highlight/ParserSettings.h"
#include "highlight/ParserTables.h"

#include <cstdint>
#include <vector>

constexpr uint16_t kParserStreamVersion = 51;
// Version 50 streams lack the gutter font; older ones cannot be read.
constexpr uint16_t kOldestParserStreamVersion = 50;

// Smallest stored sizes, used to bound counts before their entries are read.
constexpr size_t kStoredGroupBytes = ParserStateSet::kBytes + 4 + 1;
constexpr size_t kMinMatchPartBytes = 1 + kStoredGroupBytes + 1;
constexpr size_t kMinEndPartBytes = 3;
constexpr size_t kMinTokenRuleBytes = 2 * kMinMatchPartBytes + ParserStateSet::kBytes + kMinEndPartBytes + 1;
constexpr size_t kTokenEffectBytes = 3 * ParserStateSet::kBytes + 3;

void writeSettingsBlock(ByteWriter& out, const TSM_Settings& settings, uint16_t version);
void readSettingsBlock(ByteReader& in, TSM_Settings& settings, uint16_t version);

// A character group inline: set256, i32 range count (always 0), u8 negation flag.
void writeCharGroup(ByteWriter& out, const TSM_CharGroupManager& groups, uint16_t id);
uint16_t readCharGroup(ByteReader& in, TSM_CharGroupManager& groups);

// Rule records; groups are written inline and registered again on reading, so equal groups
// collapse to one id.
void writeMatchPart(ByteWriter& out, const TSM_CharGroupManager& groups, const MatchPart& part);
MatchPart readMatchPart(ByteReader& in, TSM_CharGroupManager& groups);
void writeEndPart(ByteWriter& out, const TSM_CharGroupManager& groups, const EndPart& part);
EndPart readEndPart(ByteReader& in, TSM_CharGroupManager& groups);
void writeTokenRule(ByteWriter& out, const TSM_CharGroupManager& groups, const TokenRule& rule);
TokenRule readTokenRule(ByteReader& in, TSM_CharGroupManager& groups);

std::vector<uint8_t> writeParserBody(const TParserTables& tables, const TSM_Settings& settings,
                                     uint16_t version = kParserStreamVersion);
// Resets both objects, then reads the body; returns the bytes consumed.
size_t readParserBody(const uint8_t* data, size_t size, TParserTables& tables, TSM_Settings& settings,
                      uint16_t version = kParserStreamVersion);
