// The recognition sections: %%words (the keyword list), %%handlers (what follows a keyword)
// and %%tokens (rules chosen by a token's first character).
#include "highlight/compiler/CompilerErrors.h"
#include "highlight/compiler/ScriptCompiler.h"

#include <functional>
#include <optional>

namespace {

std::string foldCase(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return text;
}

void insertRange(ParserStateSet& set, int low, int high)
{
    for (int c = low; c <= high; ++c)
        set.insert(c);
}

// The characters a standard recognizer can start with; a rule naming it as its start is put
// under each of them.
ParserStateSet recognizerFirstChars(int number)
{
    ParserStateSet set;
    switch (number) {
    case 10:
        insertRange(set, 'A', 'Z');
        insertRange(set, 'a', 'z');
        set.insert('_');
        break;
    case 15:
        set.insert('+');
        set.insert('-');
        [[fallthrough]];
    case 11:
        insertRange(set, '0', '9');
        set.insert('.');
        break;
    case 16:
        insertRange(set, '0', '9');
        break;
    case 17:
        insertRange(set, 'A', 'Z');
        insertRange(set, 'a', 'z');
        insertRange(set, '0', '9');
        for (char c : std::string("~.@-_"))
            set.insert(static_cast<uint8_t>(c));
        break;
    case 13:
    case 18:
        set.insert('"');
        break;
    case 19:
        set.insert('/');
        break;
    default:
        set.insert('\'');
        break; // 12, 14, 20
    }
    return set;
}

ParserStateSet membersOf(const TSM_CharGroup& group)
{
    ParserStateSet set;
    for (int c = 0; c < 256; ++c)
        if (group.matches(static_cast<uint8_t>(c)))
            set.insert(c);
    return set;
}

bool isStandardRecognizer(int64_t number)
{
    return number >= kFirstStandardRecognizer && number <= kLastStandardRecognizer;
}

// Follows the token grammar of %%tokens ahead of the compiler without compiling anything, to
// tell whether a reading of the coming tokens can be completed. Token i is the compiler's
// current token for i == 0 and the i-th token ahead of it otherwise. Each question looks at
// most kDepth entries ahead and answers "can go on" beyond that.
class RuleLookahead
{
public:
    static constexpr int kDepth = 8;
    using Peek = std::function<const TScriptToken&(size_t)>;

    explicit RuleLookahead(Peek peek) : m_peek(std::move(peek)) {}

    // A body (body [?] end include) at i, then what may follow a rule.
    bool bodyFollows(size_t i)
    {
        const std::optional<size_t> end = body(i);
        return end && afterRule(*end, kDepth);
    }

    // Entries (or the end of the section) can start at i.
    bool entriesFollow(size_t i, int depth)
    {
        if (depth <= 0)
            return true;
        const int c = code(i);
        if (c == tk::CloseParen || c == tk::InState || endsSection(c))
            return true;
        const std::optional<Value> token = expression(i);
        if (!token || token->value < 0 || token->value > 255)
            return false;
        if (code(token->next) == tk::String) {
            const size_t tail = token->next + 1;
            const std::optional<size_t> end = body(tail);
            return (end && afterRule(*end, depth - 1)) || afterRule(tail, depth - 1);
        }
        const std::optional<Value> start = expression(token->next);
        return start && isStandardRecognizer(start->value) && afterRule(start->next, depth - 1);
    }

private:
    struct Value
    {
        int64_t value = 0;
        size_t next = 0;
    };

    int code(size_t i) { return m_peek(i).code; }

    static bool endsSection(int c)
    {
        switch (c) {
        case tk::Language:
        case tk::Words:
        case tk::Handlers:
        case tk::Tokens:
        case tk::Map:
        case tk::Effects:
        case tk::States:
        case tk::Containers:
        case tk::Keys:
        case tk::AutoReplace:
        case tk::Templates:
        case tk::KwTables:
        case tk::EndOfInput:
            return true;
        default:
            return false;
        }
    }

    // Evaluated as the compiler evaluates expressions.
    std::optional<Value> expression(size_t i, int depth = 0)
    {
        std::optional<Value> left = term(i, depth);
        while (left) {
            const int op = code(left->next);
            if (op != tk::Plus && op != tk::Minus && op != tk::Or)
                break;
            const std::optional<Value> right = term(left->next + 1, depth);
            if (!right)
                return std::nullopt;
            const auto a = static_cast<uint32_t>(left->value);
            const auto b = static_cast<uint32_t>(right->value);
            const uint32_t r = op == tk::Plus ? a + b : op == tk::Minus ? a - b : a | b;
            left = Value{static_cast<int32_t>(r), right->next};
        }
        return left;
    }

    std::optional<Value> term(size_t i, int depth)
    {
        if (code(i) == tk::Number)
            return Value{m_peek(i).number, i + 1};
        if (code(i) != tk::OpenParen || depth >= 64)
            return std::nullopt;
        const std::optional<Value> inner = expression(i + 1, depth + 1);
        if (!inner || code(inner->next) != tk::CloseParen)
            return std::nullopt;
        return Value{inner->value, inner->next + 1};
    }

    std::optional<size_t> recognizer(size_t i)
    {
        const std::optional<Value> v = expression(i);
        if (!v || !isStandardRecognizer(v->value))
            return std::nullopt;
        return v->next;
    }

    // match ( n )
    std::optional<size_t> custom(size_t i)
    {
        if (code(i) != tk::Match || code(i + 1) != tk::OpenParen)
            return std::nullopt;
        const std::optional<Value> v = expression(i + 2);
        if (!v || code(v->next) != tk::CloseParen)
            return std::nullopt;
        return v->next + 1;
    }

    std::optional<size_t> body(size_t i)
    {
        if (code(i) == tk::Match)
            return custom(i); // nothing but the states follows a custom body
        std::optional<size_t> at = code(i) == tk::String ? std::optional<size_t>(i + 1) : recognizer(i);
        if (!at)
            return std::nullopt;
        if (code(*at) == tk::Question)
            ++*at;
        if (code(*at) == tk::String)
            at = *at + 1;
        else if (code(*at) == tk::Match)
            at = custom(*at);
        else
            at = recognizer(*at);
        if (!at)
            return std::nullopt;
        const std::optional<Value> include = expression(*at);
        return include ? std::optional<size_t>(include->next) : std::nullopt;
    }

    // Optional states, then the next entries.
    bool afterRule(size_t i, int depth)
    {
        if (code(i) == tk::OpenBracket) {
            size_t at = i + 1;
            for (;;) {
                if (code(at) == tk::CloseBracket)
                    return entriesFollow(at + 1, depth);
                const std::optional<Value> v = expression(at);
                if (!v || v->value < 0 || v->value > 255 || v->next - i > kMaxSetTokens)
                    return false;
                at = code(v->next) == tk::Comma ? v->next + 1 : v->next;
            }
        }
        return entriesFollow(i, depth);
    }

    static constexpr size_t kMaxSetTokens = 4096;
    Peek m_peek;
};

} // namespace

// 'keyword' 'terminator' token [states]
bool TScriptCompiler::wordEntry()
{
    if (!at(tk::String))
        return false;
    m_stop.section = "%%Words";
    const std::string word = stringValue();
    if (word.empty() || word.size() > 255)
        fail(msg::StringExpected);
    const uint16_t terminator = singleSpecifier(stringValue(true));
    const int token = byteValue();
    const ParserStateSet states = at(tk::OpenBracket) ? stateSet() : ParserStateSet{0};
    std::vector<ParserStateSet>& declared =
        m_declaredWords[m_tables.caseSensitive ? word : foldCase(word)];
    for (const ParserStateSet& other : declared)
        if (other.intersects(states))
            fail(msg::DuplicateWord);
    // Sets of one word are disjoint, so a word keeps at most 256 of them; an empty set can
    // clash with nothing and is not kept.
    if (!states.empty())
        declared.push_back(states);
    m_tables.keywords.push_back(KeywordEntry{word, terminator, states, token});
    effectFor(token, {0}).validStates |= states;
    return true;
}

// token start [?] [end include]
bool TScriptCompiler::handlerEntry()
{
    if (!at(tk::Number) && !at(tk::OpenParen))
        return false;
    const int token = byteValue();
    m_stop.section = "%%Handlers - " + std::to_string(token);
    if (m_tables.handlers[static_cast<size_t>(token)])
        fail(msg::DuplicateHandler);
    HandlerRule rule;
    if (at(tk::Match)) {
        rule.start = customPart();
        m_tables.handlers[static_cast<size_t>(token)] = rule;
        return true;
    }
    if (at(tk::String)) {
        rule.start.group = singleSpecifier(stringValue(true));
    } else {
        const int64_t number = expression();
        if (!isStandardRecognizer(number))
            fail(msg::SyntaxError);
        rule.start = recognizerPart(number);
    }
    if (accept(tk::Question))
        rule.start.repeat = 1;
    if (at(tk::String) || at(tk::Match))
        rule.end = endPart(false);
    m_tables.handlers[static_cast<size_t>(token)] = rule;
    return true;
}

// token start [body [?] end include] [states], or InState n ( entries )
bool TScriptCompiler::tokenEntry()
{
    if (accept(tk::InState)) {
        const int state = byteValue();
        m_tables.stateTable(state);
        expect(tk::OpenParen, msg::OpenParenExpected);
        while (at(tk::Number) || at(tk::OpenParen))
            tokenRule(state);
        expect(tk::CloseParen, msg::CloseParenExpected);
        return true;
    }
    if (!at(tk::Number) && !at(tk::OpenParen))
        return false;
    tokenRule(-1);
    return true;
}

void TScriptCompiler::tokenRule(int state)
{
    TokenRule rule;
    rule.token = static_cast<uint8_t>(byteValue());
    m_stop.section = "%%Tokens - " + std::to_string(rule.token);
    rule.body.group = emptyGroup();
    ParserStateSet firstChars;
    if (at(tk::String)) {
        rule.start.group = singleSpecifier(stringValue(true));
        firstChars = membersOf(m_tables.groups.group(rule.start.group));
        if (at(tk::String) || at(tk::Match) ||
            ((at(tk::Number) || at(tk::OpenParen)) && numberStartsBody())) {
            bool custom = at(tk::Match);
            if (custom)
                rule.body = customPart();
            else if (at(tk::String))
                rule.body.group = singleSpecifier(stringValue(true));
            else
                rule.body = recognizerPart(expression());
            if (!custom) {
                rule.body.repeat = accept(tk::Question) ? 1 : 0;
                rule.end = endPart(true);
            }
        } else {
            // A start alone is a one-character token: the empty end holds at once.
            rule.body.repeat = 1;
        }
    } else {
        const int64_t number = expression();
        if (!isStandardRecognizer(number))
            fail(msg::SyntaxError);
        firstChars = recognizerFirstChars(static_cast<int>(number));
        rule.start = recognizerPart(number);
        rule.start.group = m_tables.groups.registerGroup(TSM_CharGroup(firstChars, false));
    }
    const ParserStateSet given = at(tk::OpenBracket) ? stateSet() : ParserStateSet{};
    rule.validStates = given | ParserStateSet{state < 0 ? 0 : state};
    installRule(rule, firstChars, state);
    effectFor(rule.token, rule.validStates).validStates |= rule.validStates;
}

// After a string start, a number (or an expression) is either the rule's body recognizer or the
// token of the next entry. The grammar decides: each reading is followed ahead through the
// tokens, and the one that can go on is taken. When both can, the script is ambiguous and is
// refused at this place; writing the states of a start-only rule ("[]") settles it.
bool TScriptCompiler::numberStartsBody()
{
    RuleLookahead ahead([this](size_t i) -> const TScriptToken& { return peek(i); });
    const bool asBody = ahead.bodyFollows(0);
    const bool asEntry = ahead.entriesFollow(0, RuleLookahead::kDepth);
    if (asBody && asEntry)
        fail(msg::SyntaxError);
    return asBody;
}

void TScriptCompiler::installRule(const TokenRule& rule, const ParserStateSet& firstChars,
                                  int state)
{
    StartTable& table = state < 0 ? m_tables.defaultStart : m_tables.stateTable(state);
    for (int c = 0; c < 256; ++c)
        if (firstChars.contains(c) && table[static_cast<size_t>(c)])
            fail(msg::AmbiguousStart);
    for (int c = 0; c < 256; ++c)
        if (firstChars.contains(c))
            table[static_cast<size_t>(c)] = rule;
}

// match ( n ): the application's custom recognizer n.
MatchPart TScriptCompiler::customPart()
{
    expect(tk::Match, msg::SyntaxError);
    expect(tk::OpenParen, msg::OpenParenExpected);
    MatchPart part;
    part.number = static_cast<int32_t>(expression());
    expect(tk::CloseParen, msg::CloseParenExpected);
    part.group = emptyGroup();
    part.recognizer = 1;
    part.custom = 1;
    m_tables.customRecognizers = true;
    return part;
}

MatchPart TScriptCompiler::recognizerPart(int64_t number)
{
    if (!isStandardRecognizer(number))
        fail(msg::SyntaxError);
    MatchPart part;
    part.group = emptyGroup();
    part.recognizer = 1;
    part.number = static_cast<int32_t>(number);
    return part;
}

// A sequence of 1 to 4 specifiers, match(n) or (where allowed) a standard recognizer, then
// the include expression.
EndPart TScriptCompiler::endPart(bool allowRecognizer)
{
    EndPart end;
    if (at(tk::Match)) {
        const MatchPart custom = customPart();
        end.recognizer = 1;
        end.custom = 1;
        end.number = custom.number;
    } else if (at(tk::String)) {
        const std::vector<uint16_t> ids = specifiers(stringValue(true));
        if (ids.size() > EndPart::kMaxSequence)
            fail(msg::MaxFourSpecifiers);
        end.length = static_cast<uint8_t>(ids.size());
        for (size_t i = 0; i < ids.size(); ++i)
            end.groups[i] = ids[i];
    } else if (allowRecognizer && (at(tk::Number) || at(tk::OpenParen))) {
        const MatchPart recognizer = recognizerPart(expression());
        end.recognizer = 1;
        end.number = recognizer.number;
    } else {
        fail(msg::StringExpected);
    }
    end.include = expression() != 0 ? 1 : 0;
    return end;
}
