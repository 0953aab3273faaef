// Word-wide operations on 256-member sets for the tokeniser's inner loops: a ParserStateSet is
// 32 bytes, so meeting two sets is four 64-bit ANDs instead of 32 byte tests.
#pragma once

#include "highlight/ParserStateSet.h"

#include <cstdint>
#include <cstring>

inline bool setsMeet(const ParserStateSet& a, const ParserStateSet& b)
{
    uint64_t x[4];
    uint64_t y[4];
    std::memcpy(x, a.bytes().data(), sizeof x);
    std::memcpy(y, b.bytes().data(), sizeof y);
    return ((x[0] & y[0]) | (x[1] & y[1]) | (x[2] & y[2]) | (x[3] & y[3])) != 0;
}

inline ParserStateSet complementOf(const ParserStateSet& set)
{
    ParserStateSet out;
    for (int i = 0; i < ParserStateSet::kBytes; ++i)
        out.bytes()[i] = static_cast<uint8_t>(~set.bytes()[i]);
    return out;
}

inline ParserStateSet allMembers()
{
    return complementOf(ParserStateSet{});
}
