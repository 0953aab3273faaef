// NextToken and its pieces: the keyword match, handler runs, token rule runs, end conditions
// and the finish that applies token effects and tracks containers.
// Every loop here consumes at least one character per round or stops: a recognizer or custom
// event that accepts without consuming ends the token, so no table can hang the scan.
#include "highlight/runtime/SourceMemoParser.h"

#include "highlight/runtime/StandardRecognizers.h"
#include "highlight/runtime/StateSetOps.h"

#include <algorithm>

int TSourceMemoParser::NextToken(TParserEditor* editor, TParseCursor& in, int64_t& length)
{
    noteEditor(editor);
    const int64_t start = in.position();
    const bool startsAtEnd = in.atEnd();
    const uint8_t first = in.current();
    int token = 0;
    int keywordLength = 0;
    bool tableHit = false;
    bool found = m_keywords.match(in, m_current, token, keywordLength);
    if (!found && !m_tableKeywords.empty()) {
        in.setPosition(start);
        found = tableHit = m_tableKeywords.match(in, m_current, token, keywordLength);
    }
    bool accepted = true;
    if (found) {
        if (const auto& handler = m_tables.handlers[static_cast<size_t>(token)])
            accepted = runHandler(*handler, in, start, token);
    } else if (!startsAtEnd) {
        const auto& rule = (*m_startTable)[first];
        if (rule && setsMeet(rule->validStates, m_current))
            accepted = runRule(*rule, in, start, token);
    }
    if (!accepted) {
        in.setPosition(start);
        in.next();
        token = 0;
        tableHit = false;
    }
    finish(in, start, token, tableHit);
    length = in.position() > start ? in.position() - start : 1;
    return token;
}

bool TSourceMemoParser::callCustom(int parseId, TParseCursor& in, int64_t start, int& token)
{
    if (!OnCustomParse || Designing)
        return false;
    int kLength = static_cast<int>(std::min<int64_t>(in.position() - start, INT32_MAX));
    int kValue = token;
    if (!OnCustomParse(*this, parseId, in, kLength, kValue))
        return false;
    token = kValue & 255;
    return true;
}

// The keyword's text is consumed; the handler extends it.
bool TSourceMemoParser::runHandler(const HandlerRule& rule, TParseCursor& in, int64_t start,
                                   int& token)
{
    const MatchPart& body = rule.start;
    const bool endExists = rule.end.exists();
    if (endExists && !body.recognizer && !rule.end.recognizer && rule.end.length == 1)
        return runGroupHandler(rule, in);
    bool checkEnd = body.repeat && endExists;
    for (;;) {
        if (checkEnd && endHolds(rule.end, in, start, token))
            return true;
        checkEnd = endExists;
        if (in.atEnd())
            return true;
        if (body.recognizer && body.custom) {
            const int64_t before = in.position();
            if (!callCustom(body.number, in, start, token))
                return false;
            if (!endExists || in.position() <= before)
                return true;
            continue;
        }
        if (body.recognizer)
            return runStandardRecognizer(body.number, in); // the end is not consulted
        if (!inGroup(body.group, in.current()))
            return false;
        in.next();
        if (!endExists)
            return true; // exactly one body character
    }
}

// The common handler shape, a body group ended by one character of an end group (a comment to
// the line end, the digits of a number), as one loop over the characters: the same steps as
// the general run, without a call per character.
bool TSourceMemoParser::runGroupHandler(const HandlerRule& rule, TParseCursor& in)
{
    const uint16_t bodyId = rule.start.group;
    const uint16_t endId = rule.end.groups[0];
    if (bodyId >= m_groupMembers.size())
        throwInvalidSet(bodyId);
    if (endId >= m_groupMembers.size())
        throwInvalidSet(endId);
    const ParserStateSet& bodyChars = m_groupMembers[bodyId];
    const ParserStateSet& endChars = m_groupMembers[endId];
    bool checkEnd = rule.start.repeat != 0;
    for (;;) {
        if (in.atEnd())
            return true;
        const uint8_t c = in.current();
        if (checkEnd && endChars.contains(c)) {
            if (rule.end.include)
                in.next();
            return true;
        }
        checkEnd = true;
        if (!bodyChars.contains(c))
            return false;
        in.next();
    }
}

// One body step of a token rule: a custom recognizer, a standard recognizer or one character
// of the body group.
bool TSourceMemoParser::bodyStep(const MatchPart& body, TParseCursor& in, int64_t start,
                                 int& kValue, bool& custom)
{
    custom = body.recognizer && body.custom;
    if (custom)
        return callCustom(body.number, in, start, kValue);
    if (body.recognizer)
        return runStandardRecognizer(body.number, in);
    if (!inGroup(body.group, in.current()))
        return false;
    in.next();
    return true;
}

// The first character is consumed and counted; the rule decides the rest.
bool TSourceMemoParser::runRule(const TokenRule& rule, TParseCursor& in, int64_t start, int& token)
{
    token = rule.token;
    if (rule.start.recognizer && !rule.start.custom) {
        in.previous();
        return runStandardRecognizer(rule.start.number, in);
    }
    bool checkEnd = rule.body.repeat;
    for (;;) {
        if (checkEnd && endHolds(rule.end, in, start, token))
            return true;
        checkEnd = true;
        const int64_t before = in.position();
        int kValue = token;
        bool custom = false;
        if (!bodyStep(rule.body, in, start, kValue, custom))
            return false;
        if (in.atEnd())
            return true;
        if (custom) {
            token = kValue;
            return true;
        }
        if (in.position() <= before)
            return true;
    }
}

bool TSourceMemoParser::endHolds(const EndPart& end, TParseCursor& in, int64_t start, int token)
{
    if (end.recognizer) {
        if (end.custom)
            return callCustom(end.number, in, start, token); // token is a copy: ends do not retype
        return runStandardRecognizer(end.number, in);
    }
    const int64_t mark = in.position();
    const int length = std::min<int>(end.length, EndPart::kMaxSequence);
    for (int i = 0; i < length; ++i) {
        if (in.atEnd() || !inGroup(end.groups[static_cast<size_t>(i)], in.current())) {
            in.setPosition(mark);
            return false;
        }
        in.next();
    }
    if (!end.include)
        in.setPosition(mark);
    return true;
}

void TSourceMemoParser::applyEffect(const TokenEffect& effect)
{
    const uint8_t ops = effect.stackOps;
    if (ops & soPopBefore)
        m_stack.pop(m_current);
    else if (ops & soPushBefore)
        m_stack.push(m_current);
    if (!effect.unchanged)
        m_current = (m_current | effect.addStates) - effect.removeStates;
    if (ops & soPopAfter)
        m_stack.pop(m_current);
    else if (ops & soPushAfter)
        m_stack.push(m_current);
    if (ops || !effect.unchanged)
        selectStartTable();
}

void TSourceMemoParser::finish(TParseCursor& in, int64_t start, int& token, bool tableHit)
{
    const bool wasContainer = m_inContainer;
    const TokenEffect* effect = m_tables.effects[static_cast<size_t>(token)]
                                    ? &*m_tables.effects[static_cast<size_t>(token)]
                                    : nullptr;
    if (!wasContainer)
        m_savedStates = m_current;
    const bool forbidden = effect && !tableHit && !setsMeet(effect->validStates, m_current);
    if (forbidden || in.position() <= start) {
        in.setPosition(start);
        in.next();
        token = 0;
        effect = nullptr;
    } else if (effect) {
        applyEffect(*effect);
    }
    const int64_t position = in.position();
    if (wasContainer) {
        if (position >= m_containerEnd || in.atEnd()) {
            m_current = m_savedStates;
            selectStartTable();
        }
        m_inContainer = position < m_containerEnd && !in.atEnd();
    } else {
        m_inContainer = effect && effect->container;
        if (m_inContainer) {
            m_containerEnd = position;
            m_containerToken = token;
        }
    }
    m_busy = m_inContainer;
}
