// Connects a parser component to the script compiler, so that its CompileScript (and
// AutoScriptUpdate) compile the file named by Script.
#pragma once

#include "highlight/compiler/ScriptCompiler.h"

#include <memory>

class TSourceMemoParser;

// Sets parser.ScriptCompiler. Each compilation resets the parser's language and compiles the
// script into it; its errors pass to the caller of CompileScript, after the parser's keyword
// tries have been rebuilt from what was compiled. stop, when given, receives the position
// where each compilation stopped.
void installScriptCompiler(TSourceMemoParser& parser, std::shared_ptr<TScriptStop> stop = nullptr);
