// The rule records of a parser's tables. Group ids refer to the parser's TSM_CharGroupManager.
// Flags are kept as the bytes they were read as (any non-zero value is "set"), so tables read
// from a stream write back the same bytes. A recognizer number 10..20 without the custom flag
// names a standard recognizer; any other number without it names nothing and must be treated
// as a recognizer that rejects (a token rule whose start is a standard recognizer carries
// meaningless body and end parts).
#pragma once

#include "highlight/ParserStateSet.h"

#include <array>
#include <cstdint>

constexpr int kFirstStandardRecognizer = 10;
constexpr int kLastStandardRecognizer = 20;

struct MatchPart
{
    uint8_t repeat = 0;     // '?' was given: the end is tested before the first body character
    uint16_t group = 0;     // the part's character group
    uint8_t recognizer = 0; // the part names a recognizer instead of the group
    uint8_t custom = 0;     // the recognizer is the application's custom parse event
    int32_t number = 0;     // recognizer number, or the custom parse id

    bool namesStandardRecognizer() const
    {
        return recognizer && !custom && number >= kFirstStandardRecognizer && number <= kLastStandardRecognizer;
    }
    bool operator==(const MatchPart&) const = default;
};

struct EndPart
{
    static constexpr int kMaxSequence = 4;

    uint8_t include = 0;    // a matched end sequence belongs to the token
    uint8_t recognizer = 0; // the end is a recognizer rather than a sequence of groups
    uint8_t length = 0;     // sequence length 0..4 (used when recognizer is 0)
    std::array<uint16_t, kMaxSequence> groups{};
    uint8_t custom = 0;     // used when recognizer is set
    int32_t number = 0;

    // An end condition exists when it names a recognizer or a non-empty sequence.
    bool exists() const { return recognizer != 0 || length > 0; }
    bool operator==(const EndPart&) const = default;
};

struct HandlerRule
{
    MatchPart start;
    EndPart end;
    bool operator==(const HandlerRule&) const = default;
};

struct TokenRule
{
    MatchPart start;
    ParserStateSet validStates;
    MatchPart body;
    EndPart end;
    uint8_t token = 0;
    bool operator==(const TokenRule&) const = default;
};

// Stack operation bits of a TokenEffect.
enum TokenStackOps : uint8_t {
    soPushBefore = 1,
    soPopBefore = 2,
    soPushAfter = 4,
    soPopAfter = 8,
};

struct TokenEffect
{
    ParserStateSet validStates;
    ParserStateSet addStates;
    ParserStateSet removeStates;
    uint8_t container = 0;
    uint8_t unchanged = 1; // the token changes no state
    uint8_t stackOps = 0;  // TokenStackOps bits
    bool operator==(const TokenEffect&) const = default;
};

// A rule for a range of first characters in the state start tables. We never create these,
// but stored parsers may carry them.
struct RangeRule
{
    uint16_t low = 0;
    uint16_t high = 0;
    TokenRule rule;
    bool operator==(const RangeRule&) const = default;
};
