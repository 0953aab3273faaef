// Runs a compiled program at one position of a character source: a backtracking interpreter
// with its own stack on the heap (no recursion, so no text can exhaust the thread's stack)
// and a work budget. Choice points sit on the stack with a trail of the registers they must
// restore (the element count, the group starts, the loop counters, the positions).
//
// Elements and positions: every matching atom records its start in Positions (a STAR or PLUS
// run records one position for the whole run); a sub-expression is one element, because its
// CLOSE sets the count back to just after the position its OPEN recorded; END records the end
// at entry PositionCount. Positions are recorded up to entry 254; later elements share the
// last entry, so a long match is still found and entry PositionCount is still its end.
//
// The budget: a search may take kBaseSteps plus StepsPerChar for every character it has moved
// over, and hold at most MaxStackEntries choice points and trail entries; past either it stops
// with ERegExpError reTooMuchWork. Linear searches stay far inside it; backtracking that grows
// faster than the text (nested repetitions such as (a+)+b) reaches it.
#pragma once

#include "editor/search/ReProgram.h"
#include "editor/search/TextSource.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

struct TMatchLimits
{
    int64_t BaseSteps = int64_t{1} << 24;
    int64_t StepsPerChar = 64;
    size_t MaxStackEntries = size_t{4} << 20;
    int64_t PollSteps = int64_t{1} << 18; // work between two calls of the poll
};

constexpr int kPositionEntries = 256;
constexpr int kLastRecordedEntry = 254;

class TReMatcher
{
public:
    TReMatcher() = default;
    void SetProgram(const TReProgram* program, int counters);

    // Starts the accounting of one search over the source behind reader. Poll, when set, is
    // called every PollSteps of work and may answer false to stop the search
    // (ERegExpError reSearchInterrupted); the source is invalidated after each call.
    void BeginSearch(const TMatchLimits& limits, const std::function<bool()>* poll);
    // The search has moved over `chars` characters in all: the allowance grows to match.
    void AllowFor(int64_t chars);
    // Tries the program at exactly position. On success Positions, PositionCount and MatchEnd
    // describe the match.
    bool MatchAt(TTextReader& reader, int64_t position);

    const std::array<int64_t, kPositionEntries>& Positions() const { return m_positions; }
    int PositionCount() const { return m_count; }
    int64_t MatchEnd() const { return m_end; }
    int64_t Steps() const { return m_steps; }

private:
    enum TFrameKind : uint32_t
    {
        fkChoice,   // resume at Node and Pos
        fkRun,      // a STAR or PLUS at Node whose run starts at Pos; Value characters taken
        fkCount,    // restore the element count to Value
        fkGroup,    // restore the start entry of group Node to Value
        fkCounter,  // restore counter Node to Value
        fkPosition, // restore Positions[Node] to Value
    };
    struct TFrame
    {
        TFrameKind Kind;
        uint32_t Node;
        int64_t Pos;
        int64_t Value;
    };

    void push(TFrameKind kind, size_t node, int64_t pos, int64_t value);
    void trail(TFrameKind kind, size_t slot, int64_t old)
    {
        if (m_choices > 0)
            push(kind, slot, 0, old);
    }
    void record(int64_t position);
    bool backtrack(TTextReader& reader, size_t& pc, int64_t& pos);
    bool startRun(TTextReader& reader, size_t& pc, int64_t& pos);
    int64_t runLength(TTextReader& reader, size_t node, int64_t pos);
    int64_t backOff(TTextReader& reader, size_t runNode, int64_t start, int64_t taken);
    bool exactly(TTextReader& reader, size_t node, int64_t& pos);
    void checkpoint(TTextReader& reader);

    const TReProgram* m_program = nullptr;
    std::array<int64_t, kPositionEntries> m_positions{};
    int m_count = 0;
    std::array<int, kMaxGroups + 1> m_groupStart{};
    std::vector<uint32_t> m_counters;
    std::vector<TFrame> m_stack;
    size_t m_choices = 0;
    int64_t m_end = 0;

    TMatchLimits m_limits;
    const std::function<bool()>* m_poll = nullptr; // the searcher's, which outlives the search
    int64_t m_steps = 0;
    int64_t m_allowance = 0;
    int64_t m_nextCheck = 0;
    int64_t m_nextPoll = 0;
};
