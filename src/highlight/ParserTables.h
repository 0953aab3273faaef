// The recognition tables of one highlighting language, as the compiler builds them, the
// compiled-parser stream stores them and the parser runtime runs on them. Invariants (check()):
// every group id of every rule and keyword is below groups.count(); end sequences are at most 4
// long; a state owns a start table exactly when it is in statesWithTables; noStateTables is set
// exactly when statesWithTables is empty; keyword texts are 1..255 bytes.
#pragma once

#include "highlight/CharGroup.h"
#include "highlight/ParserRules.h"
#include "highlight/ParserStateSet.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A declared keyword, kept in declaration order; the runtime builds its trie from these.
struct KeywordEntry
{
    std::string text;     // as declared (folding is the trie's business)
    uint16_t terminator = 0; // group the character after the word must belong to
    ParserStateSet states;
    int32_t token = 0;    // 0..255
    bool operator==(const KeywordEntry&) const = default;
};

using StartTable = std::array<std::optional<TokenRule>, 256>;

class TParserTables
{
public:
    TParserTables();

    // Back to an empty language: no rules, start state and anchor set {0}, everything else
    // empty, no state tables.
    void reset();
    // Gives state its own start table (empty at first) and returns it.
    StartTable& stateTable(int state);
    const StartTable* findStateTable(int state) const { return m_stateTables[state & 255].get(); }
    // Refreshes noStateTables from statesWithTables, as after loading or compiling.
    void updateNoStateTables() { noStateTables = statesWithTables.empty(); }
    // Throws ESourceMemo naming the first broken invariant.
    void check() const;

    TSM_CharGroupManager groups;
    bool caseSensitive = false;
    std::vector<KeywordEntry> keywords;
    std::array<std::optional<HandlerRule>, 256> handlers;
    StartTable defaultStart;
    std::array<ParserStateSet, 256> contextStates; // empty entry: the start state
    std::array<std::optional<TokenEffect>, 256> effects;
    ParserStateSet statesWithTables;
    std::vector<RangeRule> stateRanges; // range list shared by all state start tables
    bool noStateTables = true;
    ParserStateSet anchorSet;
    ParserStateSet boundStates;
    ParserStateSet startState;
    bool customRecognizers = false;

private:
    std::array<std::unique_ptr<StartTable>, 256> m_stateTables;
};
