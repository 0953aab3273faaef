// The compiled parser streams of the two built-in languages: ZENBASIC for source files and the
// assembler language of the listing window. The build compiles their scripts and embeds the
// streams, so no script is read when the program runs.
#pragma once

#include <cstdint>
#include <span>

std::span<const uint8_t> zenBasicParserStream();
std::span<const uint8_t> assemblerParserStream();
