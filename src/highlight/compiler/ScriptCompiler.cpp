#include "highlight/compiler/ScriptCompiler.h"

#include "base/Exception.h"
#include "highlight/CharSpecifier.h"
#include "highlight/compiler/CompilerErrors.h"

TScriptCompiler::TScriptCompiler(TParserTables& tables, TSM_Settings& settings)
    : m_tables(tables), m_settings(settings)
{
}

TScriptCompiler::~TScriptCompiler() = default;

void TScriptCompiler::compile(std::string_view script, TScannerOptions options)
{
    m_tables.reset();
    m_settings.reset();
    m_declaredWords.clear();
    m_ahead.clear();
    m_keysReplaced = m_autoReplaceCleared = m_templatesCleared = false;
    m_emptyGroup = -1;
    m_parenDepth = 0;
    m_stop = TScriptStop{options.fileName};
    m_scanner = std::make_unique<TSYM_Compiler>(script, std::move(options));
    try {
        advance();
        while (!at(tk::EndOfInput))
            section();
        finish();
    } catch (...) {
        syncKeyMap();
        m_stop.fileName = m_scanner->fileName();
        m_stop.line = m_scanner->line();
        m_stop.column = m_scanner->column();
        m_scanner.reset();
        throw;
    }
    syncKeyMap();
    m_stop.fileName = m_scanner->fileName();
    m_stop.line = m_scanner->line();
    m_stop.column = m_scanner->column();
    m_scanner.reset();
}

void TScriptCompiler::finish()
{
    for (ParserStateSet& entry : m_tables.contextStates)
        if (entry.empty())
            entry = m_tables.startState;
    m_tables.updateNoStateTables();
}

void TScriptCompiler::section()
{
    const int code = m_token.code;
    bool (TScriptCompiler::*entry)() = nullptr;
    switch (code) {
    case tk::Language:
        entry = &TScriptCompiler::languageEntry;
        break;
    case tk::Words:
        entry = &TScriptCompiler::wordEntry;
        break;
    case tk::Handlers:
        entry = &TScriptCompiler::handlerEntry;
        break;
    case tk::Tokens:
        entry = &TScriptCompiler::tokenEntry;
        break;
    case tk::Map:
        entry = &TScriptCompiler::mapEntry;
        break;
    case tk::Effects:
        entry = &TScriptCompiler::effectEntry;
        break;
    case tk::States:
    case tk::Containers:
        break;
    case tk::Keys:
        entry = &TScriptCompiler::keyEntry;
        break;
    case tk::AutoReplace:
        entry = &TScriptCompiler::autoReplaceEntry;
        break;
    case tk::Templates:
        entry = &TScriptCompiler::templateEntry;
        break;
    case tk::KwTables:
        entry = &TScriptCompiler::keywordTableEntry;
        break;
    default:
        fail(msg::SyntaxError);
    }
    advance();
    if (code == tk::Keys && !m_keysReplaced) {
        m_keyMap.Clear();
        m_keysReplaced = true;
    }
    if (code == tk::AutoReplace && !m_autoReplaceCleared) {
        m_settings.autoReplace.entries.clear();
        m_settings.triggers = TSM_Settings::kDefaultTriggers;
        m_autoReplaceCleared = true;
    }
    if (code == tk::Templates && !m_templatesCleared) {
        m_settings.templates.entries.clear();
        m_templatesCleared = true;
    }
    if (code == tk::States || code == tk::Containers) {
        while (stateEntry(code == tk::Containers)) {
        }
        return;
    }
    while ((this->*entry)()) {
    }
}

// --- Tokens --------------------------------------------------------------------------------

void TScriptCompiler::advance()
{
    if (!m_ahead.empty()) {
        m_token = std::move(m_ahead.front());
        m_ahead.pop_front();
    } else {
        m_token = m_scanner->next();
    }
}

const TScriptToken& TScriptCompiler::peek(size_t index)
{
    if (index == 0)
        return m_token;
    while (m_ahead.size() < index)
        m_ahead.push_back(m_scanner->next());
    return m_ahead[index - 1];
}

bool TScriptCompiler::accept(int code)
{
    if (!at(code))
        return false;
    advance();
    return true;
}

void TScriptCompiler::expect(int code, const char* message)
{
    if (!accept(code))
        fail(message);
}

void TScriptCompiler::fail(const std::string& message) const
{
    m_scanner->fail(message);
}

std::string TScriptCompiler::stringValue(bool raw)
{
    if (!at(tk::String))
        fail(msg::StringExpected);
    std::string text = raw ? m_token.raw : m_token.value;
    advance();
    return text;
}

// Values wrap as 32-bit integers do; only their low 32 bits are ever stored.
int64_t TScriptCompiler::expression()
{
    int64_t value = term();
    for (;;) {
        const auto left = static_cast<uint32_t>(value);
        if (accept(tk::Plus))
            value = static_cast<int32_t>(left + static_cast<uint32_t>(term()));
        else if (accept(tk::Minus))
            value = static_cast<int32_t>(left - static_cast<uint32_t>(term()));
        else if (accept(tk::Or))
            value = static_cast<int32_t>(left | static_cast<uint32_t>(term()));
        else
            return value;
    }
}

int64_t TScriptCompiler::term()
{
    if (at(tk::Number)) {
        const int64_t value = m_token.number;
        advance();
        return value;
    }
    // Parentheses nest on the call stack, so their depth is bounded.
    if (!accept(tk::OpenParen) || m_parenDepth >= kMaxParenDepth)
        fail(msg::ExpressionExpected);
    ++m_parenDepth;
    const int64_t value = expression();
    --m_parenDepth;
    if (!accept(tk::CloseParen))
        fail(msg::ExpressionExpected);
    return value;
}

int TScriptCompiler::byteValue()
{
    const int64_t value = expression();
    if (value < 0 || value > 255)
        fail(msg::ValueNot8Bit);
    return static_cast<int>(value);
}

int TScriptCompiler::rangeValue(int low, int high)
{
    const int64_t value = expression();
    if (value < low || value > high)
        throw ESourceMemo(Format(msg::RangeError, low, high));
    return static_cast<int>(value);
}

ParserStateSet TScriptCompiler::stateSet()
{
    expect(tk::OpenBracket, msg::OpenBracketExpected);
    ParserStateSet set;
    while (!accept(tk::CloseBracket)) {
        if (!at(tk::Number) && !at(tk::OpenParen))
            fail(msg::CloseBracketExpected);
        set.insert(rangeValue(0, 255));
        accept(tk::Comma);
    }
    return set;
}

ParserStateSet TScriptCompiler::setOrValue()
{
    if (at(tk::OpenBracket))
        return stateSet();
    return ParserStateSet{rangeValue(0, 255)};
}

std::vector<uint16_t> TScriptCompiler::specifiers(const std::string& raw)
{
    std::optional<std::vector<TSM_CharGroup>> groups = parseCharSpecifiers(raw);
    if (!groups || groups->empty())
        fail(msg::SingleSpecifier);
    std::vector<uint16_t> ids;
    for (const TSM_CharGroup& group : *groups)
        ids.push_back(m_tables.groups.registerGroup(group));
    return ids;
}

uint16_t TScriptCompiler::singleSpecifier(const std::string& raw)
{
    const std::vector<uint16_t> ids = specifiers(raw);
    if (ids.size() != 1)
        fail(msg::SingleSpecifier);
    return ids.front();
}

// Parts that name a recognizer still carry a group; they get the empty one.
uint16_t TScriptCompiler::emptyGroup()
{
    if (m_emptyGroup < 0)
        m_emptyGroup = m_tables.groups.registerGroup(TSM_CharGroup());
    return static_cast<uint16_t>(m_emptyGroup);
}

// A token's effect, created on first use valid in the given states and changing nothing.
TokenEffect& TScriptCompiler::effectFor(int token, const ParserStateSet& valid)
{
    std::optional<TokenEffect>& effect = m_tables.effects[static_cast<size_t>(token & 255)];
    if (!effect) {
        effect = TokenEffect{};
        effect->validStates = valid;
    }
    return *effect;
}

void compileParserScript(std::string_view script, TScannerOptions options, TParserTables& tables,
                         TSM_Settings& settings, TScriptStop* where)
{
    TScriptCompiler compiler(tables, settings);
    try {
        compiler.compile(script, std::move(options));
    } catch (...) {
        if (where)
            *where = compiler.stop();
        throw;
    }
    if (where)
        *where = compiler.stop();
}

void compileScriptBytes(const uint8_t* data, size_t size)
{
    TParserTables tables;
    TSM_Settings settings;
    TScannerOptions options;
    options.reader = [](const std::string&) { return std::optional<std::string>(); };
    try {
        compileParserScript(std::string_view(reinterpret_cast<const char*>(data), size), options,
                            tables, settings);
    } catch (const Exception&) {
        return;
    }
    tables.check();
    settings.check();
}
