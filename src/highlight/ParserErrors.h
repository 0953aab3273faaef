// Errors of the highlighting parsers. ESourceMemo and EKeywords are the editor control's error
// classes (one definition for the whole program); the parsers add their own load error.
#pragma once

#include "editor/text/SourceMemoErrors.h"

// A compiled parser that cannot be loaded (a stream of an older version).
class ESourceMemoParserError : public ESourceMemo
{
public:
    using ESourceMemo::ESourceMemo;
};
