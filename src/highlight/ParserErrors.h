// Errors of the editor control and its highlighting parsers, caught by area.
// FIXME: ESourceMemo is the editor control's error class too; it belongs in a header shared by
// the editor and the highlighting engine once both exist.
#pragma once

#include "base/Exception.h"

class ESourceMemo : public Exception
{
public:
    using Exception::Exception;
};

// A compiled parser that cannot be loaded (a stream of an older version).
class ESourceMemoParserError : public ESourceMemo
{
public:
    using ESourceMemo::ESourceMemo;
};

// Keyword list faults, such as a duplicate keyword.
class EKeywords : public Exception
{
public:
    using Exception::Exception;
};
