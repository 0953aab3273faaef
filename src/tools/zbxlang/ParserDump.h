// A compiled language as readable text: settings, styles, token map, keyword lists per token in
// declaration order, handlers, start rules, effects and key map. Used by `zbxlang dump` to
// review what a script compiles to.
#pragma once

#include "highlight/ParserSettings.h"
#include "highlight/ParserTables.h"

#include <ostream>

void dumpParser(std::ostream& out, const TParserTables& tables, const TSM_Settings& settings);
