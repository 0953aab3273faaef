// A small BASIC-like language built in code, touching every table and settings item, for the
// format tests, the seed corpora and the benchmarks.
#pragma once

#include "highlight/ParserSettings.h"
#include "highlight/ParserTables.h"

#include <cstdint>
#include <string>
#include <vector>

// Fills tables with keywords, handlers, start rules, context states, effects and, when
// withStateTables is set, a start table of its own for state 1.
void buildSampleTables(TParserTables& tables, bool withStateTables = true);
// Changes every settings item away from its default.
void buildSampleSettings(TSM_Settings& settings);

// Text that looks like BASIC source: lines of statements, comments, strings and numbers.
std::string basicLikeText(size_t size, uint32_t seed);
std::vector<uint8_t> randomBytes(size_t size, uint32_t seed);
