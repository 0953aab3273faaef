#include "highlight/ParserTables.h"

#include "base/Exception.h"
#include "highlight/ParserErrors.h"

TParserTables::TParserTables() { reset(); }

void TParserTables::reset()
{
    groups.clear();
    caseSensitive = false;
    keywords.clear();
    handlers.fill(std::nullopt);
    defaultStart.fill(std::nullopt);
    contextStates.fill(ParserStateSet{});
    effects.fill(std::nullopt);
    statesWithTables = {};
    stateRanges.clear();
    for (auto& table : m_stateTables)
        table.reset();
    noStateTables = true;
    anchorSet = {0};
    boundStates = {};
    startState = {0};
    customRecognizers = false;
}

StartTable& TParserTables::stateTable(int state)
{
    auto& table = m_stateTables[state & 255];
    if (!table)
        table = std::make_unique<StartTable>();
    statesWithTables.insert(state & 255);
    noStateTables = false;
    return *table;
}

namespace {

void require(bool condition, const char* what)
{
    if (!condition)
        throw ESourceMemo(Format("Parser tables broken: %s", what));
}

void checkGroup(const TParserTables& t, uint16_t id) { require(id < t.groups.count(), "group id out of range"); }

void checkMatch(const TParserTables& t, const MatchPart& part) { checkGroup(t, part.group); }

void checkEnd(const TParserTables& t, const EndPart& end)
{
    require(end.length <= EndPart::kMaxSequence, "end sequence longer than 4");
    if (!end.recognizer)
        for (int i = 0; i < end.length; ++i)
            checkGroup(t, end.groups[i]);
}

void checkRule(const TParserTables& t, const TokenRule& rule)
{
    checkMatch(t, rule.start);
    checkMatch(t, rule.body);
    checkEnd(t, rule.end);
}

void checkStartTable(const TParserTables& t, const StartTable& table)
{
    for (const auto& rule : table)
        if (rule)
            checkRule(t, *rule);
}

} // namespace

void TParserTables::check() const
{
    require(groups.check(), "group manager");
    for (const KeywordEntry& entry : keywords) {
        require(!entry.text.empty() && entry.text.size() <= 255, "keyword length");
        require(entry.token >= 0 && entry.token <= 255, "keyword token");
        checkGroup(*this, entry.terminator);
    }
    for (const auto& handler : handlers)
        if (handler) {
            checkMatch(*this, handler->start);
            checkEnd(*this, handler->end);
        }
    checkStartTable(*this, defaultStart);
    for (int state = 0; state < 256; ++state) {
        require(statesWithTables.contains(state) == (m_stateTables[state] != nullptr), "state table ownership");
        if (m_stateTables[state])
            checkStartTable(*this, *m_stateTables[state]);
    }
    for (const RangeRule& range : stateRanges)
        checkRule(*this, range.rule);
    require(noStateTables == statesWithTables.empty(), "no-state-tables flag");
}
