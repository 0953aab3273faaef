// Errors of the parser script compiler and the texts of its messages. Scanner and grammar
// faults are ESYM_COMP_ERROR with the text "** ERROR near line L, Column C: message"; range,
// context-state and keyword-table faults keep their own classes and carry no position (the
// compiler records where it stopped instead).
#pragma once

#include "highlight/ParserErrors.h"

class ESYM_COMP_ERROR : public ESourceMemo
{
public:
    ESYM_COMP_ERROR(int line, int column, const std::string& message);
    int line() const { return m_line; }
    int column() const { return m_column; }
    // The message without the position prefix.
    const std::string& detail() const { return m_detail; }

private:
    int m_line;
    int m_column;
    std::string m_detail;
};

namespace msg {
// Grammar.
inline constexpr const char* EqualsExpected = "'=' expected";
inline constexpr const char* OpenParenExpected = "'(' expected";
inline constexpr const char* CloseParenExpected = "')' expected";
inline constexpr const char* CommaExpected = "',' expected";
inline constexpr const char* OpenBracketExpected = "'[' expected";
inline constexpr const char* CloseBracketExpected = "']' expected";
inline constexpr const char* StringExpected = "String value expected";
inline constexpr const char* SyntaxError = "Script syntax error";
inline constexpr const char* ExpressionExpected = "Expression expected";
inline constexpr const char* TooManyEditableStyles = "Too many editable styles";
inline constexpr const char* ValueNot8Bit = "Value must be 0..255";
inline constexpr const char* DuplicateWord = "Duplicate entry in %%word table";
inline constexpr const char* DuplicateKeyword = "Duplicate keyword - '%s'";
inline constexpr const char* SingleSpecifier = "Single character specifier expected";
inline constexpr const char* MaxFourSpecifiers = "Maximum of 4 character specifier allowed";
inline constexpr const char* DuplicateHandler = "Duplicate entry in %%handler table";
inline constexpr const char* AmbiguousStart = "Ambigious start set in %%token table";
inline constexpr const char* DuplicateEffect = "Duplicate %%effect entry";
inline constexpr const char* BadFontStyle = "Bad font style specifier";
inline constexpr const char* BlankKeyName = "Key function name cannot be blank";
inline constexpr const char* KeyRequired = "Key specification required";
// Scanner.
inline constexpr const char* MacroNameExpected = "Macro name expected";
inline constexpr const char* IfdefNameExpected = "Macro name expected after #ifdef";
inline constexpr const char* RecursiveMacro = "Recursive expansion of macro '%s'";
inline constexpr const char* UnknownCharacter = "Unknown character in input stream: #$%.2x";
inline constexpr const char* IncludeUnterminated = "#include filename missing terminating %s";
inline constexpr const char* IncludeNotEnclosed =
    "#include filename not enclosed in \"...\" or <...>";
inline constexpr const char* IncludeNotFound = "Unable to open #include file %s%s%s";
inline constexpr const char* IdentifierWord = "Identifier";
inline constexpr const char* UnknownWord = "Unknown";
// Limits of our own that keep any input bounded.
inline constexpr const char* IncludeTooDeep = "#include nested too deeply";
inline constexpr const char* ExpansionTooLarge = "Macro expansion too large";
inline constexpr const char* UnterminatedString = "String literal not terminated";
inline constexpr const char* TooManyKeyBindings = "Too many key bindings";
inline constexpr const char* ConditionalUnbalanced = "#else or #endif without #ifdef";
// Raised without a position.
inline constexpr const char* RangeError = "Range error, value outwith %d .. %d";
inline constexpr const char* ContextRespecified = "Token value %d re-specified in ContextState";
inline constexpr const char* AmbiguousKeyTable = "Ambigious key table state definition";
inline constexpr const char* TooManyKeyTables = "Too many keyword tables declared";
} // namespace msg
