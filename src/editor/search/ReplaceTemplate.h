// Replacement templates of regular-expression replace: the text put in place of a match.
//   %n (1 to 255)   the document text from entry n-1 to entry n of the match's positions
//                   (nothing when the match has fewer elements)
//   %%              "%"; % before any other character gives that character, at the end "%"
//   \\ \n \r \t \b \f \s   a backslash, CR, LF, TAB, backspace, form feed, a blank
//   \0 .. \7        octal, up to three digits; a value of 256 or more ends the expansion
//   \x              one or two hex digits; none ends the expansion
// Every other character, and a backslash before any other character, stays as it is.
#pragma once

#include "editor/search/TextSource.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class TREParser;

// Expands templateText against the last match of parser, reading matched text from source.
std::string ExpandReplacement(std::string_view templateText, const TREParser& parser,
                              TTextSource& source);
