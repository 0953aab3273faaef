// TScriptCompiler: compiles a parser script into a language's recognition tables and settings,
// section by section, reading tokens from the TSYM_Compiler scanner. Compilation stops at the
// first error, leaving the tables with what was compiled so far; the position where the scanner
// stopped is recorded either way. On success every empty context-state entry holds the start
// state and the no-state-tables flag is current.
#pragma once

#include "editor/keys/KeyboardActionController.h"
#include "highlight/ParserSettings.h"
#include "highlight/ParserTables.h"
#include "highlight/compiler/ScriptScanner.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Where compilation stopped, for the designer's report and the build's error line.
struct TScriptStop
{
    std::string fileName;
    int line = 1;
    int column = 1;
    std::string section; // "%%Language - Name", "%%Tokens - 5", ...
};

class TScriptCompiler
{
public:
    TScriptCompiler(TParserTables& tables, TSM_Settings& settings);
    ~TScriptCompiler();

    // Resets the tables and settings to an empty language and compiles script into them.
    // Throws ESYM_COMP_ERROR for scanner and grammar faults, ESourceMemo for range and
    // context-state faults, EKeywords for keyword-table faults and Exception for a bad
    // character range.
    void compile(std::string_view script, TScannerOptions options);
    const TScriptStop& stop() const { return m_stop; }

private:
    // Tokens (ScriptCompiler.cpp).
    void advance();
    // The current token (index 0) or the index-th token after it.
    const TScriptToken& peek(size_t index);
    bool at(int code) const { return m_token.code == code; }
    bool accept(int code);
    void expect(int code, const char* message);
    [[noreturn]] void fail(const std::string& message) const;
    std::string stringValue(bool raw = false);
    int64_t expression();
    int64_t term();
    int byteValue();
    int rangeValue(int low, int high);
    ParserStateSet stateSet();
    ParserStateSet setOrValue();
    std::vector<uint16_t> specifiers(const std::string& raw);
    uint16_t singleSpecifier(const std::string& raw);
    uint16_t emptyGroup();
    TokenEffect& effectFor(int token, const ParserStateSet& valid);
    void section();
    void finish();

    // %%language (LanguageSection.cpp).
    bool languageEntry();
    void editableStyles();
    void contextStates();
    int32_t colorWithFlag(uint8_t& derived);
    uint8_t fontStyles(const char* openMessage, const char* closeMessage);

    // %%words, %%handlers, %%tokens (RuleSections.cpp).
    bool wordEntry();
    bool handlerEntry();
    bool tokenEntry();
    void tokenRule(int state);
    MatchPart customPart();
    MatchPart recognizerPart(int64_t number);
    EndPart endPart(bool allowRecognizer);
    bool numberStartsBody();
    void installRule(const TokenRule& rule, const ParserStateSet& firstChars, int state);

    // %%map, %%effects, %%states, %%containers (EffectSections.cpp).
    bool mapEntry();
    bool effectEntry();
    bool stateEntry(bool container);
    void stateChanges(TokenEffect& effect);
    uint8_t stackOperation(bool before);

    // %%keys, %%autoreplace, %%templates, %%kwTables (EditorSections.cpp).
    bool keyEntry();
    TShortCut binding();
    uint8_t keyCode();
    TShortCut modifiers();
    bool autoReplaceEntry();
    bool templateEntry();
    bool keywordTableEntry();
    void storeKeywordTable(KeywordTableRecord table);
    void syncKeyMap();

    TParserTables& m_tables;
    TSM_Settings& m_settings;
    std::unique_ptr<TSYM_Compiler> m_scanner;
    TScriptToken m_token;
    std::deque<TScriptToken> m_ahead;
    TScriptStop m_stop;
    std::map<std::string, std::vector<ParserStateSet>> m_declaredWords;
    TKeyboardActionContoller m_keyMap;
    bool m_keysReplaced = false;
    bool m_autoReplaceCleared = false;
    bool m_templatesCleared = false;
    int m_emptyGroup = -1;
    static constexpr int kMaxParenDepth = 64;
    int m_parenDepth = 0;
};

// Compiles script into fresh tables and settings; throws as TScriptCompiler::compile does.
// where, when given, receives the stop position.
void compileParserScript(std::string_view script, TScannerOptions options, TParserTables& tables,
                         TSM_Settings& settings, TScriptStop* where = nullptr);

// Fuzzing entry: compiles the bytes as a script (includes find nothing); returns normally
// whether the script compiles or raises one of the compiler's own errors.
void compileScriptBytes(const uint8_t* data, size_t size);
