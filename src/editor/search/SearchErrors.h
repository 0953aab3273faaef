// Errors of the regular-expression engine and the searches. Compile errors are not thrown:
// TREParser keeps their string number and position. Errors found while matching (no program,
// a budget or stack limit reached, the text changed under the search) are thrown as
// ERegExpError, whose message is the text shown to the user.
#pragma once

#include "editor/text/SourceMemoErrors.h"

#include <string>

// String numbers of the engine's messages; MessageOf gives their texts.
enum TRegExpMessage : int
{
    reNoErrors = 4246,
    reNotFound = 4247,
    reInvalidParameter = 4248,
    reOutOfMemory = 4249,
    reTooManySubExpressions = 4250,
    reUnmatchedParenthesis = 4251,
    reInvalidRepeat = 4252,
    reNestedRepeat = 4253,
    reInvalidRange = 4254,
    reUnmatchedBracket = 4255,
    reHexDigitExpected = 4256,
    reUnexpectedEnd = 4257,
    reQuoteExpected = 4258,
    reIndexRange = 4259,
    reInternalError = 4260,
    // A search stopped because matching needed more work or memory than its budget allows.
    reTooMuchWork = 4261,
    // A search stopped because the document changed while it ran.
    reSearchInterrupted = 4262,
};

// The text of a message number; "Internal error" for a number outside the table.
const char* MessageOf(int id);

class ERegExpError : public ESourceMemo
{
public:
    explicit ERegExpError(int id) : ESourceMemo(MessageOf(id)), m_id(id) {}
    int Id() const { return m_id; }

private:
    int m_id;
};
