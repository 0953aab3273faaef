// The display and state sections: %%map (token to style), %%effects (styles), %%states and
// %%containers (how tokens change the parser's state set).
#include "highlight/compiler/CompilerErrors.h"
#include "highlight/compiler/ScriptCompiler.h"

// token style
bool TScriptCompiler::mapEntry()
{
    if (!at(tk::Number) && !at(tk::OpenParen))
        return false;
    m_stop.section = "%%Map";
    const int token = byteValue();
    m_settings.tokenStyles[static_cast<size_t>(token)] = static_cast<uint8_t>(byteValue());
    return true;
}

// style [ fontstyles ] foreground [*] background [*] ['hotspot']
bool TScriptCompiler::effectEntry()
{
    if (!at(tk::Number) && !at(tk::OpenParen))
        return false;
    const int style = byteValue();
    m_stop.section = "%%Effects - " + std::to_string(style);
    StyleRecord& record = m_settings.styles[static_cast<size_t>(style)];
    if (style != 0 && record.defined)
        fail(msg::DuplicateEffect);
    StyleRecord parsed;
    parsed.fontStyle = fontStyles(msg::OpenBracketExpected, msg::CloseBracketExpected);
    parsed.foreground = static_cast<int32_t>(static_cast<uint32_t>(expression()));
    parsed.foregroundDefault = accept(tk::Star) ? 1 : 0;
    parsed.background = static_cast<int32_t>(static_cast<uint32_t>(expression()));
    parsed.backgroundDefault = accept(tk::Star) ? 1 : 0;
    if (at(tk::String)) {
        std::string word = m_token.value;
        for (char& c : word)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
        if (word == "hotspot") {
            parsed.hotSpot = 1;
            advance();
        }
    }
    parsed.defined = 1;
    record = parsed;
    return true;
}

// token [push|pop] ( changes ) [push|pop]; a container entry is token ( changes ).
bool TScriptCompiler::stateEntry(bool container)
{
    if (!at(tk::Number) && !at(tk::OpenParen))
        return false;
    const int token = byteValue();
    m_stop.section = (container ? "%%Containers - " : "%%States - ") + std::to_string(token);
    TokenEffect& effect = effectFor(token, {0});
    const uint8_t before = container ? 0 : stackOperation(true);
    expect(tk::OpenParen, msg::OpenParenExpected);
    stateChanges(effect);
    expect(tk::CloseParen, msg::CloseParenExpected);
    const uint8_t after = container ? 0 : stackOperation(false);
    if (after == soPopAfter) {
        effect.addStates = {};
        effect.removeStates = {};
        effect.unchanged = 1;
    }
    if (container)
        effect.container = 1;
    else
        effect.stackOps = after ? after : before;
    return true;
}

// + set-or-value adds states, - set-or-value removes them. A single value is one term, so
// "+ 1 - 2" adds 1 and removes 2.
void TScriptCompiler::stateChanges(TokenEffect& effect)
{
    for (;;) {
        const bool add = at(tk::Plus);
        if (!add && !at(tk::Minus))
            return;
        advance();
        ParserStateSet states;
        if (at(tk::OpenBracket)) {
            states = stateSet();
        } else {
            const int64_t value = term();
            if (value < 0 || value > 255)
                throw ESourceMemo(Format(msg::RangeError, 0, 255));
            states.insert(static_cast<int>(value));
        }
        (add ? effect.addStates : effect.removeStates) |= states;
        effect.unchanged = effect.addStates.empty() && effect.removeStates.empty() ? 1 : 0;
    }
}

uint8_t TScriptCompiler::stackOperation(bool before)
{
    if (accept(tk::Push))
        return before ? soPushBefore : soPushAfter;
    if (accept(tk::Pop))
        return before ? soPopBefore : soPopAfter;
    return 0;
}
