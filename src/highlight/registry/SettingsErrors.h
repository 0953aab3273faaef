// Errors raised while the settings of a language are read from or written to the per-user
// store. Every failure reaches the caller of LoadFromRegistry as one ESourceMemo naming the value.
#pragma once

#include "highlight/ParserErrors.h"

#include <string>
#include <string_view>

// A value that should hold a number holds something else.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

// Message 4133: a settings string whose prefix or version is wrong, or a style number out of
// range.
inline ESourceMemo invalidStyleString() { return ESourceMemo("Invalid data in style string"); }

// The signed decimal number text spells (an optional sign and at least one digit, nothing else,
// within 32 bits); otherwise EConvertError "'text' is not a valid integer value".
int32_t strToInt(std::string_view text);
