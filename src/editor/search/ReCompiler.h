// The regular-expression compiler: two passes over the same grammar, the first adding up the
// program's size, the second emitting into a buffer of exactly that size.
//   expression = branch { "|" branch }
//   branch     = BRANCH node, then pieces up to "|", ")" or the end (none: a NOTHING node)
//   piece      = atom [ "*" | "+" | "?" | "{" counts "}" ]
//   atom       = literal | "quoted" | "." | [set] | [^set] | \d \w \s \D \W \S | ^ | $ | (
//   expression )
// Each expression ends in END (top level) or CLOSE n, and every branch's tail is linked to it.
// A simple atom (one character wide) under * or + becomes STAR or PLUS in front of it; other
// loops are built from BRANCH and BACK nodes, counted ones from CSET, CLOOP, CINC and BACK.
// A loop whose body can match the empty string is refused, so matching always ends.
#pragma once

#include "editor/search/ReProgram.h"

#include <string_view>

struct TReCompileResult
{
    bool Ok = false;
    int ErrorId = 0;  // a TRegExpMessage; reNoErrors when Ok
    int ErrorPos = 0; // 1-based position in the expression as given; 0 when Ok
    TReProgram Program;
    int Groups = 0;   // sub-expressions 1..Groups
    int Counters = 0; // counted loops
};

// Compiles an expression ("||" included). Never throws for any input.
TReCompileResult CompileExpression(std::string_view expression);
