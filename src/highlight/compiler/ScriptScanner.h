// TSYM_Compiler: the scanner and preprocessor of parser scripts. It reads a stack of inputs (the
// script, expanded macros, included files), drops blanks and comments, runs the directives
// (#define, #ifdef, #ifndef, #else, #endif, #include), replaces macros and hands out reserved
// words, string literals, numbers and the end of input. Invariants: the outermost input is the
// script and is never popped; an input's position never passes its end; the conditional stack
// holds, per open conditional, the skipping flag that was in force before it. Every input is
// bounded: includes nest at most kMaxIncludeDepth deep and hold at most kMaxIncluded bytes, macro
// text expanded in one compilation is at most kMaxExpansion bytes, so no script makes the
// scanner hang or grow without bound.
#pragma once

#include "highlight/compiler/ScriptTokens.h"
#include "highlight/compiler/WordStore.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Reads a whole file, or answers nothing when it cannot be opened.
using TIncludeReader = std::function<std::optional<std::string>(const std::string& path)>;

struct TScannerOptions
{
    std::string fileName;                 // the script's name, for reports
    std::string folder;                   // the script's folder; <name> includes are found here
    std::vector<std::string> includeDirs; // searched after the script's folder
    TIncludeReader reader;                // null: read files from disk
};

class TSYM_Compiler
{
public:
    static constexpr int kMaxIncludeDepth = 16;
    static constexpr size_t kMaxExpansion = 1u << 20;
    static constexpr size_t kMaxInputDepth = 256; // macros expanding inside macros
    static constexpr size_t kMaxIncluded = 16u << 20; // bytes of all included files together

    TSYM_Compiler(std::string_view script, TScannerOptions options);

    // The next token; the end of the script gives ScriptTokenCode::EndOfInput again and again.
    TScriptToken next();

    // 1-based position of the scanner in the file being read.
    int line() const { return m_line; }
    int column() const { return m_column; }
    const std::string& fileName() const { return m_fileName; }
    // Raises ESYM_COMP_ERROR with the scanner's position.
    [[noreturn]] void fail(const std::string& message) const;

    TWordStore& macros() { return m_macros; }
    const TWordStore& reservedWords() const { return m_reserved; }
    bool skipping() const { return m_skipping; }
    size_t conditionalDepth() const { return m_conditions.size(); }
    // Throws std::logic_error naming the first broken invariant.
    void check() const;

private:
    struct Input
    {
        std::shared_ptr<const std::string> text;
        size_t pos = 0;
        std::string macro;    // lower-case name of the macro being expanded; empty otherwise
        bool file = false;    // the script or an included file: positions are counted
        std::string fileName; // for a file: its name
        int resumeLine = 1;   // for an included file: where the including file continues
        int resumeColumn = 1;
    };

    Input& input() { return m_inputs.back(); }
    const Input& input() const { return m_inputs.back(); }
    bool atEnd() const { return input().pos >= input().text->size(); }
    uint8_t peek(size_t ahead = 0) const;
    uint8_t take();
    bool popInput();

    void skipBlanksAndComments();
    bool directive();
    std::string readWord();
    void skipLineBlanks();
    std::string restOfLine();
    void defineMacro();
    void conditional(bool wantDefined);
    void elseBranch();
    void endBranch();
    void include();
    std::optional<std::string> resolveInclude(const std::string& name, bool angled) const;
    bool expandMacro(const std::string& word);
    void skipToken();
    TScriptToken readToken();
    TScriptToken readString();
    TScriptToken readNumber();
    void readEscape(TScriptToken& token);

    TScannerOptions m_options;
    std::vector<Input> m_inputs;
    std::vector<bool> m_conditions;
    bool m_skipping = false;
    int m_line = 1;
    int m_column = 1;
    std::string m_fileName;
    size_t m_expanded = 0;
    size_t m_included = 0;
    int m_includeDepth = 0;
    TWordStore m_macros;
    TWordStore m_reserved;
};

// Line ends as the scanner counts them: CR LF and a lone LF become CR.
std::string normaliseLineEnds(std::string_view text);
