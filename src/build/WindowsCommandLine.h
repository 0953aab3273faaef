// Splitting a parameters string into program arguments the way a Windows program's start-up
// code does, so that parameter texts written for Windows programs ("D:\W\A.HEX -p18F452",
// "\"C:\My Files\A.HEX\"") reach our children with the same arguments.
// Rules: blanks (space, tab) separate arguments outside quotes; a double quote starts or ends a
// quoted part; inside quotes two double quotes give one literal quote; 2n backslashes before a
// quote give n backslashes and the quote acts, 2n+1 give n backslashes and a literal quote;
// backslashes elsewhere are literal (so Windows paths pass unchanged).
#pragma once

#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> splitWindowsCommandLine(std::string_view parameters);

// The path (or any text) as one argument of a parameters string, read back whole by the
// splitting above: unchanged when it holds no blank, tab or double quote and is not empty,
// else in double quotes, with its quotes escaped as \" and the backslashes before them (and
// at its end) doubled. Every path the IDE hands to a program goes through here.
std::string quotedArgument(std::string_view path);
// The path for a place between double quotes that the surrounding text opens and closes
// (a template holding "%FULL"): quotes escaped, backslashes before them doubled, and trailing
// backslashes doubled when closingQuoteFollows.
std::string escapedInsideQuotes(std::string_view path, bool closingQuoteFollows);
