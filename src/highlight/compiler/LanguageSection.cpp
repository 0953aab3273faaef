// The %%language section: the language's name, settings and state declarations.
#include "highlight/compiler/CompilerErrors.h"
#include "highlight/compiler/ScriptCompiler.h"
#include "highlight/compiler/TabColumnsText.h"

#include "base/Exception.h"

namespace {

constexpr size_t kMaxNameLength = 35;
constexpr size_t kMaxStyleNameLength = 25;

int32_t low32(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// The label of an entry in reports of where compilation stopped.
std::string entryName(int code)
{
    switch (code) {
    case tk::Name:
        return "Name";
    case tk::Case:
        return "Case";
    case tk::Options:
        return "Options";
    case tk::ExampleText:
        return "ExampleText";
    case tk::Anchor:
        return "Anchor";
    case tk::StartState:
        return "StartState";
    case tk::ContextStates:
        return "ContextStates";
    case tk::BoundStates:
        return "BoundStates";
    case tk::TabColumns:
        return "TabColumns";
    default:
        return "Settings";
    }
}

} // namespace

// Entries that take '=' and one value; the table keeps languageEntry small.
bool TScriptCompiler::languageEntry()
{
    const int code = m_token.code;
    switch (code) {
    case tk::Name:
    case tk::Case:
    case tk::Options:
    case tk::ExampleText:
    case tk::WordWrapColumn:
    case tk::Gutter:
    case tk::Anchor:
    case tk::IndentStep:
    case tk::WrapOverride:
    case tk::StartState:
    case tk::SelTextColor:
    case tk::SelTextBack:
    case tk::RightMargin:
    case tk::FontName:
    case tk::FontSize:
    case tk::FontCharset:
    case tk::TabColumns:
    case tk::TabDefault:
    case tk::ContextStates:
    case tk::BoundStates:
    case tk::GutterColor:
    case tk::MarginColor:
    case tk::MarginWidth:
    case tk::GutterFontName:
    case tk::GutterFontSize:
    case tk::GutterFontColor:
    case tk::GutterFontStyle:
        break;
    case tk::EditableStyles:
        m_stop.section = "%%Language - EditableStyles";
        advance();
        editableStyles();
        return true;
    default:
        return false;
    }
    m_stop.section = "%%Language - " + entryName(code);
    advance();
    expect(tk::Equals, msg::EqualsExpected);
    TSM_Settings& s = m_settings;
    switch (code) {
    case tk::Name:
        s.languageName = stringValue().substr(0, kMaxNameLength);
        break;
    case tk::Case:
        m_tables.caseSensitive = expression() != 0;
        break;
    case tk::Options:
        s.options = low32(expression());
        break;
    case tk::ExampleText:
        s.exampleText = stringValue();
        break;
    case tk::WordWrapColumn:
        s.wordWrapColumn = low32(expression());
        break;
    case tk::Gutter:
        s.gutterWidth = low32(expression());
        break;
    case tk::Anchor:
        m_tables.anchorSet = setOrValue();
        if (m_tables.anchorSet.empty())
            m_tables.anchorSet = {0};
        break;
    case tk::IndentStep:
        s.indentStep = rangeValue(0, 20);
        break;
    case tk::WrapOverride:
        s.wrapOverride = stringValue().substr(0, kMaxNameLength);
        break;
    case tk::StartState:
        m_tables.startState = setOrValue();
        break;
    case tk::SelTextColor:
        s.selTextColor = colorWithFlag(s.selTextColorDerived);
        break;
    case tk::SelTextBack:
        s.selTextBack = colorWithFlag(s.selTextBackDerived);
        break;
    case tk::RightMargin:
        s.rightMargin = low32(expression());
        break;
    case tk::FontName:
        s.font.name = stringValue();
        break;
    case tk::FontSize:
        s.font.size = low32(expression());
        break;
    case tk::FontCharset:
        s.font.charset = static_cast<uint8_t>(rangeValue(0, 255));
        break;
    case tk::TabColumns:
        s.tabStops = parseTabColumns(stringValue(true));
        break;
    case tk::TabDefault:
        s.tabDefault = rangeValue(1, 0x7FFFFFFF);
        break;
    case tk::ContextStates:
        contextStates();
        break;
    case tk::BoundStates:
        m_tables.boundStates = setOrValue();
        break;
    case tk::GutterColor:
        s.gutterColor = colorWithFlag(s.gutterColorDerived);
        break;
    case tk::MarginColor:
        s.marginColor = colorWithFlag(s.marginColorDerived);
        break;
    case tk::MarginWidth:
        s.marginWidth = low32(expression());
        break;
    case tk::GutterFontName:
        s.gutterFont.font.name = stringValue();
        break;
    case tk::GutterFontSize:
        s.gutterFont.font.size = low32(expression());
        break;
    case tk::GutterFontColor:
        s.gutterFont.color = low32(expression());
        break;
    default:
        s.gutterFont.style = fontStyles(msg::BadFontStyle, msg::BadFontStyle);
        break;
    }
    return true;
}

// ( 'name', style ) repeated with ','; at most 50 in all.
void TScriptCompiler::editableStyles()
{
    do {
        expect(tk::OpenParen, msg::OpenParenExpected);
        const std::string name = stringValue().substr(0, kMaxStyleNameLength);
        expect(tk::Comma, msg::CommaExpected);
        const int64_t style = expression();
        if (style < 0 || style > 255)
            fail(msg::ValueNot8Bit);
        expect(tk::CloseParen, msg::CloseParenExpected);
        if (m_settings.editableStyles.size() >= TSM_Settings::kMaxEditableStyles)
            fail(msg::TooManyEditableStyles);
        m_settings.editableStyles.push_back({name, static_cast<uint8_t>(style)});
    } while (accept(tk::Comma));
}

// ( tokens [states] ) repeated with ','. Afterwards every token without an entry restarts in
// the start state declared so far.
void TScriptCompiler::contextStates()
{
    do {
        expect(tk::OpenParen, msg::OpenParenExpected);
        std::vector<int> tokens;
        while (at(tk::Number) || at(tk::OpenParen)) {
            tokens.push_back(rangeValue(0, 255));
            accept(tk::Comma);
        }
        const ParserStateSet states = at(tk::OpenBracket) ? stateSet() : ParserStateSet{};
        expect(tk::CloseParen, msg::CloseParenExpected);
        for (int token : tokens) {
            ParserStateSet& entry = m_tables.contextStates[static_cast<size_t>(token)];
            if (!entry.empty())
                throw ESourceMemo(Format(msg::ContextRespecified, token));
            entry = states;
        }
    } while (accept(tk::Comma));
    for (ParserStateSet& entry : m_tables.contextStates)
        if (entry.empty())
            entry = m_tables.startState;
}

// [*] colour: the asterisk asks for a colour derived from the editor's own.
int32_t TScriptCompiler::colorWithFlag(uint8_t& derived)
{
    derived = 0;
    if (accept(tk::OpenBracket)) {
        expect(tk::Star, msg::SyntaxError);
        expect(tk::CloseBracket, msg::CloseBracketExpected);
        derived = 1;
    }
    return low32(expression());
}

// [ bit numbers ]: 0 bold, 1 italic, 2 underline, 3 strike-out; numbers above 7 are ignored.
uint8_t TScriptCompiler::fontStyles(const char* openMessage, const char* closeMessage)
{
    expect(tk::OpenBracket, openMessage);
    uint8_t styles = 0;
    while (!accept(tk::CloseBracket)) {
        if (!at(tk::Number) && !at(tk::OpenParen)) {
            if (at(tk::EndOfInput))
                fail(closeMessage);
            fail(msg::BadFontStyle);
        }
        const int64_t bit = expression();
        if (bit >= 0 && bit <= 7)
            styles = static_cast<uint8_t>(styles | (1u << bit));
        accept(tk::Comma);
    }
    return styles;
}
